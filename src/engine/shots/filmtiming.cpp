// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/filmtiming.h"

#include "document/timecode.h"
#include "engine/readingspeed.h"
#include "engine/timebuying.h"
#include "settings/settings.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this no time reads back (SecondsToMilliseconds stops there too).
constexpr double LastCutSeconds = 1e12;

qint64 milliseconds(double seconds)
{
    return SecondsToMilliseconds(seconds);
}

double seconds(qint64 milliseconds)
{
    return MillisecondsToSeconds(milliseconds);
}

} // namespace

std::optional<FilmTiming> FilmTiming::forRun(const Settings &settings, const ShotChanges &shots)
{
    if (!settings.ShotChanges)
        return std::nullopt;
    FilmTiming timing;
    timing.m_grid = FrameGrid(shots.frameRate, shots.firstFrameSeconds);
    const FrameGrid &grid = timing.m_grid;
    for (const double cut : shots.cutSeconds) {
        if (std::isfinite(cut) && cut <= LastCutSeconds && grid.nearestPlace(cut) > 0)
            timing.m_cuts.push_back(grid.nearestPlace(cut));
    }
    if (timing.m_cuts.empty())
        return std::nullopt;
    // Two times in one frame are one cut.
    std::sort(timing.m_cuts.begin(), timing.m_cuts.end());
    timing.m_cuts.erase(std::unique(timing.m_cuts.begin(), timing.m_cuts.end()), timing.m_cuts.end());

    if (!grid.hasFrames())
        timing.m_minGap = settings.MinGapMs;
    else if (settings.MinGapFrames > 0)
        timing.m_minGap = settings.MinGapFrames;
    else // the whole frames that hold MinGapMs, a frame at least
        timing.m_minGap =
            std::max<qint64>(1, qint64(std::ceil(settings.MinGapMs * grid.framesPerSecond() / 1000.0 - 1e-9)));
    // An end kept before a cut still keeps the gap from a subtitle starting on it.
    timing.m_shotGap = std::max(grid.frames(settings.ShotGapFrames), timing.m_minGap);
    timing.m_snap = grid.frames(settings.ShotSnapFrames);
    return timing;
}

double FilmTiming::cutSeconds(qint64 cut) const
{
    return seconds(m_grid.startOf(cut));
}

void FilmTiming::correctOverlap(double currentEndSeconds, double &nextStartSeconds, double &nextEndSeconds) const
{
    const qint64 earliest = m_grid.placeFrom(milliseconds(currentEndSeconds)) + m_minGap;
    const qint64 readStart = milliseconds(nextStartSeconds);
    if (m_grid.placeFrom(readStart) >= earliest)
        return;
    const qint64 moved = m_grid.startOf(earliest);
    const qint64 end = milliseconds(nextEndSeconds);
    // Its duration at least, ending on a frame.
    if (end >= readStart && moved >= end)
        nextEndSeconds = seconds(m_grid.startOf(m_grid.placeFrom(moved + end - readStart)));
    nextStartSeconds = seconds(moved);
}

FilmTiming::Span FilmTiming::lengthened(Span span, qint64 previousEnd, qint64 nextStart, qint64 required,
                                        bool atCuts) const
{
    const FrameGrid &grid = m_grid;
    qint64 missing = required - (span.end - span.start);
    // Into the gap after, up to the next subtitle's gap or the next cut's.
    qint64 last = grid.placeFrom(nextStart) - m_minGap;
    const qint64 endPlace = grid.placeFrom(span.end);
    const auto cutAfter = std::lower_bound(m_cuts.begin(), m_cuts.end(), endPlace);
    if (atCuts && cutAfter != m_cuts.end() && *cutAfter - m_shotGap <= last) {
        last = *cutAfter - m_shotGap;
        span.endCut = *cutAfter;
    }
    if (grid.startOf(last) > span.end) {
        qint64 place = std::min(grid.placeFrom(span.end + missing), last);
        // An end this close before the cut goes to the gap before it.
        if (span.endCut && *span.endCut - place <= m_snap)
            place = last;
        missing -= grid.startOf(place) - span.end;
        span.end = grid.startOf(place);
    }
    if (missing <= 0)
        return span;
    // Then into the gap before, down to the previous subtitle's gap or the cut.
    qint64 first = grid.placeFrom(previousEnd) + m_minGap;
    const qint64 startPlace = grid.placeFrom(span.start);
    const auto cutBefore = std::upper_bound(m_cuts.begin(), m_cuts.end(), startPlace);
    if (atCuts && cutBefore != m_cuts.begin() && *std::prev(cutBefore) >= first) {
        first = *std::prev(cutBefore);
        span.startCut = first;
    }
    if (grid.startOf(first) < span.start) {
        // The last place at or before the time wanted gives all of it.
        qint64 place = std::max(grid.placeFrom(span.start - missing + 1) - 1, first);
        if (span.startCut && place - *span.startCut <= m_snap)
            place = first;
        span.start = grid.startOf(place);
    }
    return span;
}

bool FilmTiming::buyTime(SubtitleTiming &timing, qint64 textLength, qint32 lettersPerSecond,
                         ShotChoices &choices) const
{
    const ReadingSpeed speed = readingSpeed(textLength, timing.startSeconds, timing.endSeconds, lettersPerSecond);
    if (!speed.isTooFast())
        return false;
    const qint64 required = std::llround(speed.requiredSeconds * 1000.0);
    const Span read{milliseconds(timing.startSeconds), milliseconds(timing.endSeconds), {}, {}};
    const qint64 previousEnd = milliseconds(timing.previousEndSeconds);
    const qint64 nextStart = milliseconds(timing.nextStartSeconds);
    const Span placed = lengthened(read, previousEnd, nextStart, required, true);
    const Span without = lengthened(read, previousEnd, nextStart, required, false);
    if (placed.start != without.start || placed.end != without.end) {
        choices.startWithoutRuleSeconds = seconds(without.start);
        choices.endWithoutRuleSeconds = seconds(without.end);
        if (placed.end != without.end)
            choices.endCut = placed.endCut;
        // A start moved further only because the end could not go on is no choice of its own.
        if (placed.start != without.start && placed.startCut && placed.start == m_grid.startOf(*placed.startCut))
            choices.startCut = placed.startCut;
    }
    if (placed.start != read.start)
        timing.startSeconds = seconds(placed.start);
    if (placed.end != read.end)
        timing.endSeconds = seconds(placed.end);
    return placed.start != read.start || placed.end != read.end;
}

SplitTimes FilmTiming::splitTimes(double startSeconds, double endSeconds, double proportionalFirstEndSeconds,
                                  ShotChoices &choices) const
{
    const FrameGrid &grid = m_grid;
    const qint64 start = milliseconds(startSeconds);
    const qint64 end = milliseconds(endSeconds);
    qint64 place = grid.nearestPlace(milliseconds(proportionalFirstEndSeconds));
    if (grid.startOf(place) <= start)
        place = grid.placeFrom(start + 1);
    const qint64 firstEnd = grid.startOf(place);
    qint64 secondStart = grid.startOf(place + m_minGap);
    if (secondStart > end)
        secondStart = std::max(end, firstEnd + 1);
    choices.firstEndSeconds = choices.firstEndWithoutRuleSeconds = seconds(firstEnd);
    choices.secondStartSeconds = choices.secondStartWithoutRuleSeconds = seconds(secondStart);

    // The nearest cut within reach that leaves both parts on screen; the
    // first part ends before any cut just before it too.
    std::optional<qint64> cut;
    qint64 cutFirstEnd = 0;
    for (auto it = std::lower_bound(m_cuts.begin(), m_cuts.end(), place - m_snap);
         it != m_cuts.end() && *it <= place + m_snap; ++it) {
        // The earliest cut within the gap before this one, and so on back.
        qint64 edge = *it;
        for (auto earlier = std::upper_bound(m_cuts.begin(), m_cuts.end(), edge - m_shotGap); *earlier < edge;
             earlier = std::upper_bound(m_cuts.begin(), m_cuts.end(), edge - m_shotGap))
            edge = *earlier;
        const qint64 before = edge - m_shotGap;
        const bool inside = grid.startOf(before) > start && grid.startOf(*it) < end;
        if (inside && (!cut || std::abs(*it - place) < std::abs(*cut - place))) {
            cut = *it;
            cutFirstEnd = before;
        }
    }
    if (cut) {
        choices.splitCut = cut;
        choices.firstEndSeconds = seconds(grid.startOf(cutFirstEnd));
        choices.secondStartSeconds = seconds(grid.startOf(*cut));
    }
    return {choices.firstEndSeconds, choices.secondStartSeconds};
}

bool FilmTiming::record(const ShotChoices &choices, qint32 ordinal, qint32 firstNumber, bool split,
                        double firstStartSeconds, double endSeconds, std::vector<ShotChangeTime> &times) const
{
    using Rule = ShotChangeTime::Rule;
    const std::size_t before = times.size();
    const auto add = [&](ShotChangeTime time) {
        if (time.startRule != Rule::None || time.endRule != Rule::None)
            times.push_back(time);
    };
    ShotChangeTime first{ordinal, firstNumber};
    first.startSeconds = firstStartSeconds;
    first.startWithoutRuleSeconds = choices.startWithoutRuleSeconds.value_or(firstStartSeconds);
    if (choices.startCut) {
        first.startRule = Rule::Kept;
        first.startCutSeconds = cutSeconds(*choices.startCut);
    }
    ShotChangeTime last = split ? ShotChangeTime{ordinal, firstNumber + 1} : first;
    last.endSeconds = endSeconds;
    last.endWithoutRuleSeconds = choices.endWithoutRuleSeconds.value_or(endSeconds);
    if (choices.endCut) {
        last.endRule = Rule::Kept;
        last.endCutSeconds = cutSeconds(*choices.endCut);
        last.framesBeforeCut = m_grid.framesIn(*choices.endCut - m_grid.placeFrom(milliseconds(endSeconds)));
    }
    if (split) {
        first.endSeconds = choices.firstEndSeconds;
        first.endWithoutRuleSeconds = choices.firstEndWithoutRuleSeconds;
        last.startSeconds = choices.secondStartSeconds;
        last.startWithoutRuleSeconds = choices.secondStartWithoutRuleSeconds;
        if (choices.splitCut) {
            first.endRule = last.startRule = Rule::Split;
            first.endCutSeconds = last.startCutSeconds = cutSeconds(*choices.splitCut);
        }
        add(first);
    }
    add(last);
    return times.size() > before;
}
