// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"
#include "document/subtitlerow.h"

#include <QString>

#include <utility>
#include <vector>

// What the corrected list's commands do to its rows, as plain functions.
// Rows that move keep their numbers until renumberFrom, which a model calls
// once its views have seen them move; then numbers run 1, 2, 3 ... again.

// Numbers every row from position on by its place in the list.
void renumberFrom(SubtitleRows &rows, int position);

// Inserts row at position, clamped to the list; returns where it went.
int insertSubtitleRow(SubtitleRows &rows, int position, const SubtitleRow &row);
// Takes out the row at position, which must exist.
SubtitleRow removeSubtitleRow(SubtitleRows &rows, int position);

// Where a new row goes and the time it starts and ends at: above the
// selected row 1 ms before its start, or below it 1 ms after its end; with
// nothing selected (-1), at the top or the bottom, timed from the row there.
// Never before 00:00:00,000.
struct NewRowPlace
{
    int position = 0;
    QString timeText;
};
NewRowPlace newRowPlace(const SubtitleRows &rows, int selected, bool below);

// The rows that belong to one ordinal (tag). Corrected rows keep their
// ordinals ascending; rows inserted by hand (tag 0) may stand between two
// halves of a split, which makes them not contiguous.
struct OrdinalRange
{
    int first = 0; // the first such row, or where one would go when none
    int count = 0;
    bool contiguous = true;
};
OrdinalRange ordinalRange(const SubtitleRows &rows, int ordinal);

// Rows to put in place of the rows of one ordinal.
struct OrdinalRows
{
    int ordinal = 0;
    std::vector<SubtitleRow> rows;
};

// What replacing an ordinal's rows took out, and where the new rows stand,
// which is all it takes to go back.
struct OrdinalReplacement
{
    int ordinal = 0;
    int position = 0; // of the first row put in
    int count = 0;    // rows put in
    std::vector<std::pair<int, SubtitleRow>> taken; // index each had, ascending

    // The rows taken out stood together from position on, so going back is one replacement in place.
    bool tookContiguous() const;
};

// Replaces, in one pass, the rows of each ordinal by the rows given for it
// (tagged with it), where the first of its old rows stood; an ordinal with
// no rows left gets them where its place in ordinal order is. The
// replacements must be in ascending ordinal order. One subtitle whose rows
// stand together is replaced in place; many take one pass over the list.
std::vector<OrdinalReplacement> replaceOrdinalRows(SubtitleRows &rows, std::vector<OrdinalRows> replacements);
// Puts back exactly what replaceOrdinalRows took out, where it was.
void undoReplacements(SubtitleRows &rows, std::vector<OrdinalReplacement> replacements);
// The first row whose number a replacement, or its undoing, makes wrong.
int firstRowChanged(const std::vector<OrdinalReplacement> &replacements);
