// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/readerror.h"
#include "document/subtitlerow.h"
#include "engine/editrecord.h"
#include "engine/shotchanges.h"
#include "engine/shots/shotchangetime.h"
#include "engine/weakwords.h"
#include "settings/settingproblem.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

class LangDoc;
struct Settings;

// A corrected subtitle on its way out of the run.
struct CorrectedSubtitle
{
    qint32 number = 0; // output number: 1, 2, 3 ... a split takes two
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    std::u32string_view text; // empty when textAsRead
    qint32 ordinal = 0; // of the subtitle as read; both halves of a split share it
    // The run left the text as read: it comes as the UTF-8 it was read in,
    // undecoded, which is most subtitles.
    bool textAsRead = false;
    QByteArrayView utf8Text;
};

// A subtitle with text as the run read it, before any correction.
struct SubtitleAsRead
{
    qint32 ordinal = 0; // 1, 2, 3 ... in file order
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    QByteArrayView utf8Text;
};

// Receives the corrected subtitles in order. The window keeps them as rows;
// the command line writes them straight into the new file's bytes.
class CorrectionSink
{
public:
    virtual ~CorrectionSink() = default;
    // Each subtitle as read, just before the rows made of it; a sink that
    // lists the subtitles as read too needs no second pass over the file.
    virtual void addSubtitleAsRead(const SubtitleAsRead &) {}
    virtual void addSubtitle(const CorrectedSubtitle &subtitle) = 0;
    // Now and then: the run will not look at the text before offset again,
    // so a sink that owns the text may release it.
    virtual void textDoneBefore(qsizetype) {}
};

// Keeps the corrected subtitles as rows, tagged with their ordinals.
class RowCollector : public CorrectionSink
{
public:
    std::vector<SubtitleRow> rows;
    void addSubtitle(const CorrectedSubtitle &subtitle) override;
};

// A subtitle whose start the overlap correction (or MinGapMs) moved, with
// no record of its own for it: the reviewer still gets to see and undo it.
struct MovedStart
{
    qint32 ordinal = 0;        // of the subtitle as read
    qint32 number = 0;         // its first written row
    double readStartSeconds = 0.0;
    double startSeconds = 0.0; // as written
};

struct CorrectionResult
{
    bool ok = false;
    QString errorText;                  // when not ok, in the run's language
    std::optional<ReadError> readError; // when the text itself was at fault
    QList<SettingProblem> settingProblems; // when the settings were at fault; nothing was read
    CorrectionCounters counters;
    std::vector<EditRecord> records; // one per re-broken, split or retimed subtitle
    std::vector<MovedStart> moved;   // ascending, apart from records and counters
    qint64 subtitlesIn = 0;          // subtitles with text, as read
    qint64 subtitlesOut = 0;         // subtitles written out
    QString summary;

    // With GuidelineBreaks only: the language whose weak words were kept off
    // line ends, empty when none clearly led.
    std::optional<QString> language;
    qint64 lenientTimeLines = 0; // time lines read only by the LenientTimes variants

    // With ShotChanges and the film's cuts: every written subtitle with a
    // time a shot-change rule chose, by number; the cuts used; the frame
    // rate used (0: none known, times in whole milliseconds).
    std::vector<ShotChangeTime> shotChangeTimes;
    qint64 shotChanges = 0;
    double frameRate = 0;
};

// The correction run over a whole SRT or WebVTT text (UTF-8, no byte-order
// mark; WebVTT by its signature):
// every subtitle is tested, joined and re-broken, retimed and, if need be,
// split, as settings say, and handed to sink in order. On failure (invalid
// settings, a time line that is no time) the sink may have seen part of the
// output, which the caller must throw away: a failed run changes nothing.
// The settings are checked here, once per correction.
// weakWords are the lists the subtitles' language is told by, for
// GuidelineBreaks; without them that rule is skipped. shotChanges are the
// film's, for ShotChanges; without cuts that setting changes nothing.
CorrectionResult runCorrection(QByteArrayView utf8, const Settings &settings, const LangDoc &lang,
                               CorrectionSink &sink, const WeakWordLists &weakWords = {},
                               const ShotChanges &shotChanges = {});
