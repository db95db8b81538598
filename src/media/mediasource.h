// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A video file as it was when its sound was decoded: enough to tell that a
// stored result still belongs to the file on disk.
struct MediaSource
{
    QString path;           // absolute
    qint64 size = 0;        // bytes
    qint64 modifiedMs = 0;  // last modification, ms since the epoch (UTC)
    int streamIndex = -1;   // the audio stream asked for; -1: the first

    // The file at path as it is now; nothing when it is not there.
    static std::optional<MediaSource> of(const QString &path, int streamIndex = -1);

    friend bool operator==(const MediaSource &, const MediaSource &) = default;
};
