// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"
#include "engine/shots/framegrid.h"
#include "engine/shots/shotchangetime.h"

#include <QtGlobal>

#include <optional>
#include <vector>

struct Settings;
struct SubtitleTiming;

// What the shot-change rules chose for one subtitle as read, gathered while
// it is corrected; places are FrameGrid's.
struct ShotChoices
{
    std::optional<qint64> startCut; // the start was kept on this cut
    std::optional<qint64> endCut;   // the end was kept before this cut
    std::optional<double> startWithoutRuleSeconds;
    std::optional<double> endWithoutRuleSeconds;
    std::optional<qint64> splitCut; // the split was made at this cut
    double firstEndSeconds = 0;     // the split as written, and as without the cut
    double secondStartSeconds = 0;
    double firstEndWithoutRuleSeconds = 0;
    double secondStartWithoutRuleSeconds = 0;
};

// Where a split's first part ends and its second starts.
struct SplitTimes
{
    double firstEndSeconds = 0;
    double secondStartSeconds = 0;
};

// The times a correction writes in a film with known shot changes: on the
// frame grid, whole frames apart, and clear of the cuts. Every time is
// computed in whole milliseconds.
class FilmTiming
{
public:
    // The rules for a run: none unless ShotChanges is on and a cut lies
    // after the first frame (a cut at or before it starts no new shot).
    static std::optional<FilmTiming> forRun(const Settings &settings, const ShotChanges &shots);

    qint64 cutCount() const { return qint64(m_cuts.size()); }
    double framesPerSecond() const { return m_grid.framesPerSecond(); }

    // correctOverlap() on the grid: the next subtitle moved to the gap after
    // the current end when it starts closer than that, whole when its start
    // would reach its end.
    void correctOverlap(double currentEndSeconds, double &nextStartSeconds, double &nextEndSeconds) const;
    // Lengthens a subtitle too fast to read, as buyTime() does, on the grid
    // and without crossing a cut; true when a time changed.
    bool buyTime(SubtitleTiming &timing, qint64 textLength, qint32 lettersPerSecond, ShotChoices &choices) const;
    // The two parts of a subtitle of start and end split at proportionalFirstEndSeconds.
    SplitTimes splitTimes(double startSeconds, double endSeconds, double proportionalFirstEndSeconds,
                          ShotChoices &choices) const;
    // Adds to times the written subtitles of one as read that a rule chose a
    // time of: firstStart and end as written, numbered from firstNumber.
    // True when it added any.
    bool record(const ShotChoices &choices, qint32 ordinal, qint32 firstNumber, bool split,
                double firstStartSeconds, double endSeconds, std::vector<ShotChangeTime> &times) const;

private:
    struct Span
    {
        qint64 start = 0;
        qint64 end = 0;
        std::optional<qint64> startCut;
        std::optional<qint64> endCut;
    };
    Span lengthened(Span span, qint64 previousEnd, qint64 nextStart, qint64 required, bool atCuts) const;
    double cutSeconds(qint64 cut) const;

    FrameGrid m_grid;
    std::vector<qint64> m_cuts; // places, ascending
    qint64 m_minGap = 1;        // places between subtitles
    qint64 m_shotGap = 1;       // places between an end and the next cut
    qint64 m_snap = 0;          // places within which a time goes to a cut
};
