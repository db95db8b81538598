// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class LangDoc;

// One correction, as the edits window lists it.
struct EditRecord
{
    enum class Change : quint8 { None, Edit, Split };

    qint32 ordinal = 0; // 1-based, of the subtitle as read
    Change change = Change::None;
    bool timeBought = false;
    // The overlap correction moved its start; only the window's records
    // carry it (the run reports those apart, see MovedStart).
    bool startMoved = false;
    // A shot-change rule chose one of its times (see ShotChangeTime).
    bool shotChange = false;

    // "Split", "Edit", "Split - Time edit", "Edit - Time edit" or "Time edit",
    // then " - Moved" (or "Moved" alone) when the start moved, in the
    // language of lang; then " - Shot change" (or "Shot change" alone).
    QString kindText(const LangDoc &lang) const;
    // The ordinal with at least four digits: "0007".
    QString ordinalText() const;

    friend bool operator==(const EditRecord &, const EditRecord &) = default;
};

// The counts of one correction run.
struct CorrectionCounters
{
    qint32 edits = 0;          // re-broken or split subtitles, splits included
    qint32 splits = 0;         // subtitles split in two
    qint32 timeEdits = 0;      // re-broken, not split, with time bought
    qint32 splitTimeEdits = 0; // split, with time bought
    qint32 longLinesLeft = 0;  // broken with a second line still too long
    qint32 timeOnlyEdits = 0;  // text untouched, time bought

    friend bool operator==(const CorrectionCounters &, const CorrectionCounters &) = default;
};

// "Edits: 12 (with 3 time) (2 "long" lines still exist) - 5 time - 1 splits
// (with 0 time edit)", in the language of lang.
QString correctionSummary(const CorrectionCounters &counters, const LangDoc &lang);
