// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediasource.h"
#include "media/shots/detectedshots.h"

#include <QString>

#include <optional>

// Shot changes kept on disk between sessions, in the peaks' folder, one
// file per video, so a film opened again has its cuts at once. A file is
// trusted only when it is whole, was written by this detector, and was made
// from the video exactly as it is now (path, size, modification time);
// anything else reads as absent.
class ShotCache
{
public:
    // folder: PeakCache::defaultFolder() in the window and the command line.
    explicit ShotCache(QString folder);

    // The file that holds, or would hold, the shot changes of the video at path.
    QString fileFor(const QString &path) const;
    std::optional<DetectedShots> load(const MediaSource &source) const;
    // Replaces whole or not at all; errorText says why not.
    bool store(const DetectedShots &shots, QString *errorText = nullptr) const;

private:
    QString m_folder;
};
