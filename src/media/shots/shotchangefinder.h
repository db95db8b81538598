// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/shots/detectedshots.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>

// Reads a film once through and finds its shot changes and frame rate.
// Plain and synchronous, for the command line and for a worker thread,
// which stops it with the cancel flag.
class ShotChangeFinder
{
public:
    // fraction of the file done, 0 to 1, called on the finding thread.
    using Progress = std::function<void(double fraction)>;

    // cancelled, when given, is read often, also while opening.
    explicit ShotChangeFinder(const std::atomic_bool *cancelled = nullptr);

    // The cuts of path's first video stream; a sound file gives none and
    // hasPicture false. error says why nothing came (Kind::Cancelled too).
    std::optional<DetectedShots> find(const QString &path, MediaError &error, const Progress &progress = {}) const;
    // The same through the cache in cacheFolder (none when empty): read from
    // it when it holds the file as it is now, else found and stored there.
    std::optional<DetectedShots> findCached(const QString &path, const QString &cacheFolder, MediaError &error,
                                            const Progress &progress = {}, bool *fromCache = nullptr) const;

private:
    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }

    const std::atomic_bool *m_cancelled;
};
