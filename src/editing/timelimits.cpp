// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/timelimits.h"

namespace {

// The rule's range, widened to take in where the time is now.
TimeRange around(qint64 nowMs, qint64 earliestMs, qint64 latestMs)
{
    return {std::min(nowMs, earliestMs), std::max(nowMs, latestMs)};
}

} // namespace

TimeLimits timeLimitsOf(const SubtitleRows &rows, int row, qint64 minimumDurationMs, qint64 minGapMs)
{
    const qint64 startMs = rows.startMs(row);
    const qint64 endMs = rows.endMs(row);
    const qint64 earliestStartMs = row > 0 ? std::max<qint64>(0, rows.endMs(row - 1) + minGapMs) : 0;
    const qint64 latestEndMs =
        row + 1 < rows.size() ? std::min(LargestTimeMs, rows.startMs(row + 1) - minGapMs) : LargestTimeMs;
    TimeLimits limits;
    limits.start = around(startMs, earliestStartMs, endMs - minimumDurationMs);
    limits.end = around(endMs, startMs + minimumDurationMs, latestEndMs);
    limits.movedStart = {startMs + std::min<qint64>(0, earliestStartMs - startMs),
                         startMs + std::max<qint64>(0, latestEndMs - std::max(startMs, endMs))};
    return limits;
}

TimeRange boundaryLimitsOf(const SubtitleRows &rows, int row, qint64 minimumDurationMs)
{
    const qint64 endMs = rows.endMs(row);
    const qint64 gapMs = rows.startMs(row + 1) - endMs;
    return around(endMs, rows.startMs(row) + minimumDurationMs,
                  std::min(rows.endMs(row + 1) - minimumDurationMs, LargestTimeMs) - gapMs);
}
