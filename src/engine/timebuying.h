// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Times in seconds of the subtitle being corrected and of its neighbours.
struct SubtitleTiming
{
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    double previousEndSeconds = 0.0; // end of the subtitle handled before
    double nextStartSeconds = 0.0;   // start of the one after, overlap-corrected
};

// Lengthens a subtitle shown too briefly for textLength characters read at
// lettersPerSecond: first into the free gap after it, then into the gap
// before it, always leaving minGapMs milliseconds between subtitles.
// Returns whether any time was taken.
bool buyTime(SubtitleTiming &timing, qint64 textLength, qint32 lettersPerSecond, qint32 minGapMs);

// Moves the next subtitle to start minGapMs milliseconds after the current
// one ends when it starts closer than that. When the move would put its
// start at or past its own end (a subtitle inside the one before, or out of
// order), it moves whole and keeps its duration: a subtitle ending before it
// starts is dropped by players. One that already ended before its start as
// read keeps its end.
void correctOverlap(double currentEndSeconds, double &nextStartSeconds, double &nextEndSeconds,
                    qint32 minGapMs);

// Where the second part of a split starts: minGapMs milliseconds after the
// first ends, but not after the subtitle's end.
double secondPartStart(double firstEndSeconds, double endSeconds, qint32 minGapMs);

// The time after the last subtitle of a file: 23:59:59,999.
inline constexpr double EndOfInputSeconds = 86399.999;
