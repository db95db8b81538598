// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitleformat.h"
#include "document/textencoding.h"
#include "engine/editrecord.h"
#include "engine/shotchanges.h"
#include "engine/weakwords.h"
#include "settings/settingproblem.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

class LangDoc;
class Prompter;
struct Settings;

// How an unattended correction writes its result.
struct FileCorrectionOptions
{
    QString outputPath; // empty: over the file itself, with the auto backup rule
    bool dryRun = false;
    QString encoding; // read and write in this encoding; empty: the Encoding setting
    std::optional<ShotChanges> shotChanges; // the film's, for ShotChanges
};

// What happened to one file.
struct FileCorrectionReport
{
    QString file;
    bool ok = false;
    bool corrected = false; // the run completed, so the figures below mean something
    QString error;          // when not ok, in the run's language
    QList<SettingProblem> settingProblems; // the settings were at fault, not the file
    FileEncoding encoding;
    SubtitleFormat format = SubtitleFormat::SubRip;
    qint64 subtitlesIn = 0;
    qint64 subtitlesOut = 0;
    CorrectionCounters counters;
    std::vector<EditRecord> records;
    QString summary;
    std::vector<qint64> tooFast; // numbers of the written subtitles still too fast to read, ascending
    std::vector<qint64> moved;   // numbers of the written subtitles whose start the run moved, ascending
    std::optional<QString> language; // with GuidelineBreaks; empty when not told
    qint32 minGapMs = 1;
    qint64 lenientTimeLines = 0;        // time lines read only by the LenientTimes variants
    bool lenientTimesWouldRead = false; // refused for a time line those variants read
    // Given shot changes: the cuts used, the frame rate (0: none known), and
    // the numbers of the written subtitles with a time a shot-change rule chose, ascending.
    bool shotChangesGiven = false;
    qint64 shotChanges = 0;
    double frameRate = 0;
    std::vector<qint64> shotChange;
};

// Reads, corrects and saves one subtitle file (SRT or WebVTT, written back
// in its own format) without a window, as the unattended run does: saved over the file with the CreateBakFileAuto
// backup rule, or to options.outputPath without a backup. A file that
// cannot be read, corrected or written is left exactly as it was.
// weakWords serve GuidelineBreaks.
FileCorrectionReport correctFile(const QString &path, const FileCorrectionOptions &options, const Settings &settings,
                                 const LangDoc &lang, Prompter &prompter, const WeakWordLists &weakWords = {});
