// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/shots/framethumbnail.h"

#include <QtGlobal>

#include <array>
#include <deque>
#include <vector>

// Finds hard cuts in a stream of frames given one at a time, in the order
// they are shown. A frame starts a new shot when it differs from the one
// before far more than its neighbours differ from theirs (so fast motion
// and fades, which change every frame a little, are not cuts), and no
// frame of the few before it resembles one of the few after it (so a
// flash, after which the shot comes back, is not one either). Differences
// add how the picture's parts differ, after following each over a small
// shift and evening out brightness and contrast, to how far its brightness
// and colours moved as a whole.
class ShotDetector
{
public:
    ShotDetector();

    // The next frame, starting at seconds.
    void addFrame(const FrameThumbnail &thumbnail, double seconds);
    // No more frames: the last ones are decided.
    void finish();

    // The start of the first frame of each new shot, ascending; complete
    // after finish().
    const std::vector<double> &cutSeconds() const { return m_cutSeconds; }
    qint64 frames() const { return m_frames; }

private:
    // A thumbnail with its mean taken out and its contrast evened, with a
    // border copied out from its edges so that shifts never leave it.
    struct Frame
    {
        std::vector<float> padded;
        // Shares of the pixels at or below each level.
        std::array<float, FrameThumbnail::levels> greyBelow{};
        std::array<float, FrameThumbnail::levels> blueBelow{};
        std::array<float, FrameThumbnail::levels> redBelow{};
        bool hasColour = false;
        double seconds = 0;
    };

    static Frame prepare(const FrameThumbnail &thumbnail, double seconds);
    // How unlike two frames are, 0 for the same picture; a cut between
    // unrelated pictures scores about 1.
    static float difference(const Frame &before, const Frame &after);
    const Frame &frameAt(qint64 index) const;
    void decide(qint64 candidate);

    std::deque<Frame> m_recent;   // the last frames, frame m_frames - 1 last
    std::vector<float> m_scores;  // m_scores[k]: difference of frame k from k - 1; 0 for frame 0
    std::vector<double> m_cutSeconds;
    qint64 m_frames = 0;
    qint64 m_decided = 0; // frames before this one are decided
};
