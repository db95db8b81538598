// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"

#include <QtGlobal>

#include <algorithm>

// The largest time a time box holds: 99:59:59,999.
inline constexpr qint64 LargestTimeMs = 100LL * 3600 * 1000 - 1;

// The times from earliestMs to latestMs, both included.
struct TimeRange
{
    qint64 earliestMs = 0;
    qint64 latestMs = 0;

    bool contains(qint64 ms) const { return ms >= earliestMs && ms <= latestMs; }
    qint64 clamp(qint64 ms) const { return std::clamp(ms, earliestMs, latestMs); }
    friend bool operator==(const TimeRange &, const TimeRange &) = default;
};

// Where a row's times may go when changed by hand: a start at least
// minimumDurationMs (a frame) before its end and an end as long after its
// start, neither closer than minGapMs to the rows before and after it, none
// before 0 or past LargestTimeMs. A limit never shuts out where a time
// stands now (a file may come with overlaps): such a time may stay, or move
// toward what the rules allow.
struct TimeLimits
{
    TimeRange start;
    TimeRange end;
    // The start when both times move together, keeping the duration.
    TimeRange movedStart;
};
TimeLimits timeLimitsOf(const SubtitleRows &rows, int row, qint64 minimumDurationMs, qint64 minGapMs);

// Where row's end may go when the next row's start moves with it, the gap
// between them kept: neither row shorter than minimumDurationMs.
TimeRange boundaryLimitsOf(const SubtitleRows &rows, int row, qint64 minimumDurationMs);
