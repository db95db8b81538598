// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/shots/detectedshots.h"
#include "media/shots/videoscanner.h"

#include <QString>

#include <optional>

class PeakDecoder;

// Finds a film's shot changes from the packets a PeakDecoder reads for the
// sound's peaks, so that the file is read once for both.
class ShotChangePass
{
public:
    // decoder: opened, not yet decoding; it must outlive its decode().
    explicit ShotChangePass(PeakDecoder &decoder);
    ShotChangePass(const ShotChangePass &) = delete;
    ShotChangePass &operator=(const ShotChangePass &) = delete;

    // The film has a picture whose decoder opened.
    bool isAttached() const { return m_attached; }
    // After the decoder's decode() read the whole file: the shot changes,
    // or nothing when no picture came through.
    std::optional<DetectedShots> finish(const QString &path);

private:
    VideoScanner m_scanner;
    bool m_attached = false;
};
