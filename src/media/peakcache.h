// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediasource.h"
#include "media/peaks.h"

#include <QString>

#include <optional>

// Peaks kept on disk between sessions, one file per video and audio stream,
// so a film opened again draws at once. A file is trusted only when it is
// whole and was made from the video exactly as it is now (path, size,
// modification time, stream); anything else reads as absent.
class PeakCache
{
public:
    explicit PeakCache(QString folder);

    // The user's cache folder for peaks: quillmend/peaks in the generic cache
    // location (~/.cache on Linux).
    static QString defaultFolder();
    const QString &folder() const { return m_folder; }

    // The file that holds, or would hold, the peaks of source.
    QString fileFor(const MediaSource &source) const;
    std::optional<Peaks> load(const MediaSource &source) const;
    // Replaces whole or not at all; errorText says why not.
    bool store(const Peaks &peaks, QString *errorText = nullptr) const;

private:
    QString m_folder;
};
