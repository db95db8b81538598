// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/rowoperations.h"

#include "document/timecode.h"

#include <algorithm>
#include <limits>

void renumberFrom(SubtitleRows &rows, int position)
{
    rows.renumberFrom(position);
}

int insertSubtitleRow(SubtitleRows &rows, int position, const SubtitleRow &row)
{
    position = std::clamp(position, 0, int(rows.size()));
    rows.insert(position, row);
    return position;
}

SubtitleRow removeSubtitleRow(SubtitleRows &rows, int position)
{
    SubtitleRow removed = rows.row(position);
    rows.erase(position);
    return removed;
}

NewRowPlace newRowPlace(const SubtitleRows &rows, int selected, bool below)
{
    const int count = int(rows.size());
    const bool hasSelection = selected >= 0 && selected < count;
    NewRowPlace place;
    place.position = below ? (hasSelection ? selected + 1 : count) : (hasSelection ? selected : 0);
    place.timeText = SecondsToTimeText(0.0);
    const int neighbour = below ? place.position - 1 : place.position;
    if (neighbour < 0 || neighbour >= count)
        return place;
    const double seconds = MillisecondsToSeconds(below ? rows.endMs(neighbour) : rows.startMs(neighbour));
    place.timeText = SecondsToTimeText(std::max(0.0, Round3(seconds + (below ? 0.001 : -0.001))));
    return place;
}

OrdinalRange ordinalRange(const SubtitleRows &rows, int ordinal)
{
    OrdinalRange range;
    int last = -1;
    int insertAt = -1;
    for (int i = 0; i < int(rows.size()); ++i) {
        const int tag = rows.tag(i);
        if (tag == ordinal) {
            if (range.count == 0)
                range.first = i;
            else if (last != i - 1)
                range.contiguous = false;
            last = i;
            ++range.count;
        } else if (tag > ordinal && insertAt < 0) {
            insertAt = i;
            if (range.count > 0)
                break; // ordinals ascend: no more rows of this one
        }
    }
    if (range.count == 0)
        range.first = insertAt < 0 ? int(rows.size()) : insertAt;
    return range;
}

namespace {

std::vector<SubtitleRow> &tagged(OrdinalRows &replacement)
{
    for (SubtitleRow &row : replacement.rows)
        row.tag = replacement.ordinal;
    return replacement.rows;
}

} // namespace

std::vector<OrdinalReplacement> replaceOrdinalRows(SubtitleRows &rows, std::vector<OrdinalRows> replacements)
{
    std::vector<OrdinalReplacement> done(replacements.size());
    if (replacements.size() == 1) {
        // In place: a restore near the top of a long list moves the rows
        // below once instead of copying the whole list.
        OrdinalRows &only = replacements.front();
        const OrdinalRange range = ordinalRange(rows, only.ordinal);
        if (range.contiguous) {
            OrdinalReplacement &replacement = done.front();
            replacement.ordinal = only.ordinal;
            replacement.position = range.first;
            replacement.count = int(only.rows.size());
            replacement.taken.reserve(std::size_t(range.count));
            for (int i = range.first; i < range.first + range.count; ++i)
                replacement.taken.emplace_back(i, rows.row(i));
            rows.replace(range.first, range.count, tagged(only));
            return done;
        }
    }

    std::size_t added = 0;
    for (std::size_t k = 0; k < replacements.size(); ++k) {
        done[k].ordinal = replacements[k].ordinal;
        done[k].position = -1;
        added += replacements[k].rows.size();
    }

    SubtitleRows out = rows.emptyLike();
    out.reserve(rows.size() + qsizetype(added));
    const auto place = [&](std::size_t k) {
        if (done[k].position >= 0)
            return;
        done[k].position = int(out.size());
        done[k].count = int(replacements[k].rows.size());
        for (const SubtitleRow &row : tagged(replacements[k]))
            out.append(row);
    };

    std::size_t next = 0;
    for (int i = 0; i < int(rows.size()); ++i) {
        const int tag = rows.tag(i);
        if (tag > 0) {
            while (next < replacements.size() && replacements[next].ordinal < tag)
                place(next++);
            if (next < replacements.size() && replacements[next].ordinal == tag) {
                place(next);
                done[next].taken.emplace_back(i, rows.row(i));
                continue;
            }
        }
        out.appendRowOf(rows, i);
    }
    while (next < replacements.size())
        place(next++);

    rows = std::move(out);
    return done;
}

bool OrdinalReplacement::tookContiguous() const
{
    for (std::size_t i = 0; i < taken.size(); ++i) {
        if (taken[i].first != position + int(i))
            return false;
    }
    return true;
}

void undoReplacements(SubtitleRows &rows, std::vector<OrdinalReplacement> replacements)
{
    if (replacements.size() == 1) {
        const OrdinalReplacement &only = replacements.front();
        if (only.tookContiguous()) {
            std::vector<SubtitleRow> putBack;
            putBack.reserve(only.taken.size());
            for (const auto &taken : only.taken)
                putBack.push_back(taken.second);
            rows.replace(only.position, only.count, putBack);
            return;
        }
    }

    std::vector<std::pair<int, SubtitleRow>> taken;
    std::vector<std::pair<int, int>> putIn; // position, count
    putIn.reserve(replacements.size());
    for (OrdinalReplacement &replacement : replacements) {
        putIn.emplace_back(replacement.position, replacement.count);
        for (auto &row : replacement.taken)
            taken.push_back(std::move(row));
    }
    std::sort(putIn.begin(), putIn.end());
    std::stable_sort(taken.begin(), taken.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    SubtitleRows out = rows.emptyLike();
    out.reserve(rows.size() + qsizetype(taken.size()));
    std::size_t nextTaken = 0;
    const auto putBackDue = [&] {
        while (nextTaken < taken.size() && taken[nextTaken].first <= int(out.size()))
            out.append(taken[nextTaken++].second);
    };
    std::size_t nextRange = 0;
    for (int i = 0; i < int(rows.size()); ++i) {
        while (nextRange < putIn.size() && putIn[nextRange].first + putIn[nextRange].second <= i)
            ++nextRange;
        if (nextRange < putIn.size() && i >= putIn[nextRange].first)
            continue; // a row the replacement put in
        putBackDue();
        out.appendRowOf(rows, i);
    }
    putBackDue();
    while (nextTaken < taken.size())
        out.append(taken[nextTaken++].second);
    rows = std::move(out);
}

int firstRowChanged(const std::vector<OrdinalReplacement> &replacements)
{
    int first = std::numeric_limits<int>::max();
    for (const OrdinalReplacement &replacement : replacements) {
        first = std::min(first, replacement.position);
        if (!replacement.taken.empty())
            first = std::min(first, replacement.taken.front().first);
    }
    return first;
}
