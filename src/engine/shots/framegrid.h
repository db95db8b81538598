// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Faster frames are shorter than a millisecond: no written times tell them apart.
inline constexpr double MaxFramesPerSecond = 1000;

// The places a correction may write a time: the starts of a film's frames,
// each as the first millisecond at or after it, or every millisecond when
// the frame rate is unknown. Places are numbered: frame k, or millisecond k.
class FrameGrid
{
public:
    // Every millisecond.
    FrameGrid() = default;
    // Frame k starts at firstFrameSeconds + k / framesPerSecond; a rate of 0
    // or less, above MaxFramesPerSecond, or not a number, gives every millisecond.
    FrameGrid(double framesPerSecond, double firstFrameSeconds);

    bool hasFrames() const { return m_framesPerSecond > 0; }
    // Frames per second as used; a rate given to three decimals (23.976,
    // 29.97) is the 1000/1001 rate it stands for.
    double framesPerSecond() const { return m_framesPerSecond; }

    // The first place that starts at or after milliseconds. A subtitle is on
    // screen from the place its start gives to the one before the place its
    // end gives, so gaps and distances to cuts are counted between these.
    qint64 placeFrom(qint64 milliseconds) const;
    // The place whose start is nearest milliseconds; the later at a tie.
    qint64 nearestPlace(qint64 milliseconds) const;
    // The place nearest seconds, for a cut given as a time.
    qint64 nearestPlace(double seconds) const;
    // The first millisecond at or after the start of place.
    qint64 startOf(qint64 place) const;
    // How many places n frames are: n, or without frames n at 24 a second
    // in milliseconds.
    qint64 frames(qint32 n) const;
    // How many frames places are, the other way round.
    qint64 framesIn(qint64 places) const;

private:
    // The last place that starts at or before milliseconds.
    qint64 placeAt(qint64 milliseconds) const;

    double m_framesPerSecond = 0;
    double m_firstFrameSeconds = 0;
};

// The rate a rate given to two or three decimals stands for: 23.976 and
// 23.98 are 24000/1001; anything else is itself.
double normalFrameRate(double framesPerSecond);
