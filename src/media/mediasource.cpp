// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediasource.h"

#include <QDateTime>
#include <QFileInfo>

std::optional<MediaSource> MediaSource::of(const QString &path, int streamIndex)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return MediaSource{info.absoluteFilePath(), info.size(),
                       info.lastModified().toMSecsSinceEpoch(), streamIndex};
}
