// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/rowoperations.h"

#include "document/timecode.h"

#include <algorithm>
#include <limits>

void renumberFrom(std::vector<SubtitleRow> &rows, int position)
{
    for (std::size_t i = std::size_t(std::max(position, 0)); i < rows.size(); ++i)
        rows[i].number = int(i) + 1;
}

int insertSubtitleRow(std::vector<SubtitleRow> &rows, int position, SubtitleRow row)
{
    position = std::clamp(position, 0, int(rows.size()));
    rows.insert(rows.begin() + position, std::move(row));
    return position;
}

SubtitleRow removeSubtitleRow(std::vector<SubtitleRow> &rows, int position)
{
    SubtitleRow removed = std::move(rows.at(std::size_t(position)));
    rows.erase(rows.begin() + position);
    return removed;
}

NewRowPlace newRowPlace(const std::vector<SubtitleRow> &rows, int selected, bool below)
{
    const int count = int(rows.size());
    const bool hasSelection = selected >= 0 && selected < count;
    NewRowPlace place;
    place.position = below ? (hasSelection ? selected + 1 : count) : (hasSelection ? selected : 0);
    place.timeText = SecondsToTimeText(0.0);
    const int neighbour = below ? place.position - 1 : place.position;
    if (neighbour < 0 || neighbour >= count)
        return place;
    const SubtitleRow &near = rows[std::size_t(neighbour)];
    const QString &nearText = below ? near.endText : near.startText;
    if (const std::optional<double> seconds = TimeTextToSeconds(nearText))
        place.timeText = SecondsToTimeText(std::max(0.0, Round3(*seconds + (below ? 0.001 : -0.001))));
    else
        place.timeText = nearText;
    return place;
}

OrdinalRange ordinalRange(const std::vector<SubtitleRow> &rows, int ordinal)
{
    OrdinalRange range;
    int last = -1;
    int insertAt = -1;
    for (int i = 0; i < int(rows.size()); ++i) {
        const int tag = rows[std::size_t(i)].tag;
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

std::vector<OrdinalReplacement> replaceOrdinalRows(std::vector<SubtitleRow> &rows,
                                                   std::vector<OrdinalRows> replacements)
{
    std::vector<OrdinalReplacement> done(replacements.size());
    std::size_t added = 0;
    for (std::size_t k = 0; k < replacements.size(); ++k) {
        done[k].ordinal = replacements[k].ordinal;
        done[k].position = -1;
        added += replacements[k].rows.size();
    }

    std::vector<SubtitleRow> out;
    out.reserve(rows.size() + added);
    const auto place = [&](std::size_t k) {
        if (done[k].position >= 0)
            return;
        done[k].position = int(out.size());
        done[k].count = int(replacements[k].rows.size());
        for (SubtitleRow &row : replacements[k].rows) {
            row.tag = replacements[k].ordinal;
            out.push_back(std::move(row));
        }
    };

    std::size_t next = 0;
    for (int i = 0; i < int(rows.size()); ++i) {
        SubtitleRow &row = rows[std::size_t(i)];
        if (row.tag > 0) {
            while (next < replacements.size() && replacements[next].ordinal < row.tag)
                place(next++);
            if (next < replacements.size() && replacements[next].ordinal == row.tag) {
                place(next);
                done[next].taken.emplace_back(i, std::move(row));
                continue;
            }
        }
        out.push_back(std::move(row));
    }
    while (next < replacements.size())
        place(next++);

    rows = std::move(out);
    return done;
}

void undoReplacements(std::vector<SubtitleRow> &rows, std::vector<OrdinalReplacement> replacements)
{
    std::vector<std::pair<int, SubtitleRow>> taken;
    std::vector<std::pair<int, int>> putIn; // position, count
    for (OrdinalReplacement &replacement : replacements) {
        putIn.emplace_back(replacement.position, replacement.count);
        for (auto &row : replacement.taken)
            taken.push_back(std::move(row));
    }
    std::sort(putIn.begin(), putIn.end());
    std::stable_sort(taken.begin(), taken.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    std::vector<SubtitleRow> out;
    out.reserve(rows.size() + taken.size());
    std::size_t nextTaken = 0;
    const auto putBackDue = [&] {
        while (nextTaken < taken.size() && taken[nextTaken].first <= int(out.size()))
            out.push_back(std::move(taken[nextTaken++].second));
    };
    std::size_t nextRange = 0;
    for (int i = 0; i < int(rows.size()); ++i) {
        while (nextRange < putIn.size() && putIn[nextRange].first + putIn[nextRange].second <= i)
            ++nextRange;
        if (nextRange < putIn.size() && i >= putIn[nextRange].first)
            continue; // a row the replacement put in
        putBackDue();
        out.push_back(std::move(rows[std::size_t(i)]));
    }
    putBackDue();
    while (nextTaken < taken.size())
        out.push_back(std::move(taken[nextTaken++].second));
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
