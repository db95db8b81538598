// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timebuying.h"

#include "document/timecode.h"

namespace {
// The smallest gap kept between subtitles, also added to a span because
// the end time counts as shown.
constexpr double Thousandth = 0.001;
} // namespace

double correctOverlap(double currentEndSeconds, double nextStartSeconds)
{
    return currentEndSeconds >= nextStartSeconds ? Round3(currentEndSeconds + Thousandth) : nextStartSeconds;
}

bool buyTime(SubtitleTiming &timing, qint64 textLength, qint32 lettersPerSecond)
{
    // Every formula is evaluated left to right in doubles, so results match
    // to the thousandth on every platform.
    double &start = timing.startSeconds;
    double &end = timing.endSeconds;
    const double shown = Round3(end - start + Thousandth);
    const double required = Round3(double(textLength) / double(lettersPerSecond));
    if (!(required > shown))
        return false;

    bool bought = false;
    double missing = Round3(required - (end - start));
    if (Round3(timing.nextStartSeconds - end) > Thousandth) {
        bought = true;
        const double available = Round3(timing.nextStartSeconds - end - Thousandth);
        if (available >= missing) {
            end = Round3(end + missing);
            missing = 0.0;
        } else {
            end = Round3(timing.nextStartSeconds - Thousandth);
            missing = Round3(missing - available);
        }
    }
    if (missing > 0.0 && Round3(start - timing.previousEndSeconds) > Thousandth) {
        bought = true;
        const double available = Round3(start - timing.previousEndSeconds - Thousandth);
        if (available >= missing)
            start = Round3(start - missing);
        else
            start = Round3(timing.previousEndSeconds + Thousandth);
    }
    return bought;
}
