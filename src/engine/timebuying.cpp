// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timebuying.h"

#include "document/timecode.h"
#include "engine/readingspeed.h"

#include <algorithm>

namespace {
// 1 ms gives exactly 0.001, so the default gap computes as it always has.
double secondsOf(qint32 milliseconds)
{
    return double(milliseconds) / 1000.0;
}
} // namespace

void correctOverlap(double currentEndSeconds, double &nextStartSeconds, double &nextEndSeconds,
                    qint32 minGapMs)
{
    // A start closer than the gap by a whole millisecond or more moves. At
    // 1 ms the bound is exactly 0, which is "end >= next start" whatever the
    // digits read; above it, a tenth of a microsecond absorbs the binary
    // error of times in thousandths.
    const double boundSeconds = secondsOf(minGapMs - 1);
    if (nextStartSeconds - currentEndSeconds > boundSeconds + std::min(boundSeconds, 1e-7))
        return;
    const double movedStart = Round3(currentEndSeconds + secondsOf(minGapMs));
    // Compared as written, to the millisecond.
    const qint64 readStartMs = SecondsToMilliseconds(nextStartSeconds);
    const qint64 endMs = SecondsToMilliseconds(nextEndSeconds);
    if (endMs >= readStartMs && SecondsToMilliseconds(movedStart) >= endMs)
        nextEndSeconds = Round3(movedStart + double(endMs - readStartMs) / 1000.0);
    nextStartSeconds = movedStart;
}

double secondPartStart(double firstEndSeconds, double endSeconds, qint32 minGapMs)
{
    const double start = firstEndSeconds + secondsOf(minGapMs);
    return start > endSeconds ? std::max(endSeconds, firstEndSeconds + 0.001) : start;
}

bool buyTime(SubtitleTiming &timing, qint64 textLength, qint32 lettersPerSecond, qint32 minGapMs)
{
    // Every formula is evaluated left to right in doubles, so results match
    // to the thousandth on every platform.
    const double gap = secondsOf(minGapMs);
    double &start = timing.startSeconds;
    double &end = timing.endSeconds;
    // The same measure the lists show as too fast.
    const ReadingSpeed speed = readingSpeed(textLength, start, end, lettersPerSecond);
    if (!speed.isTooFast())
        return false;
    const double required = speed.requiredSeconds;

    bool bought = false;
    double missing = Round3(required - (end - start));
    if (Round3(timing.nextStartSeconds - end) > gap) {
        bought = true;
        const double available = Round3(timing.nextStartSeconds - end - gap);
        if (available >= missing) {
            end = Round3(end + missing);
            missing = 0.0;
        } else {
            end = Round3(timing.nextStartSeconds - gap);
            missing = Round3(missing - available);
        }
    }
    if (missing > 0.0 && Round3(start - timing.previousEndSeconds) > gap) {
        bought = true;
        const double available = Round3(start - timing.previousEndSeconds - gap);
        if (available >= missing)
            start = Round3(start - missing);
        else
            start = Round3(timing.previousEndSeconds + gap);
    }
    return bought;
}
