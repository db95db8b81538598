// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/framesahead.h"

#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"

#include <algorithm>

namespace {

// The first corrected row of ordinal, looked for from row on, forward or
// back: the rows run in ordinal order, rows inserted by hand (ordinal 0)
// aside, so the search stops where the ordinals pass it.
int correctedRowOf(const SubtitleList &corrected, int ordinal, int from, bool forward)
{
    const int count = corrected.rowCount();
    int found = -1;
    for (int row = std::clamp(from, 0, count - 1); row >= 0 && row < count; row += forward ? 1 : -1) {
        const int tag = corrected.tag(row);
        if (tag == ordinal) {
            found = row;
            if (forward)
                break;
        } else if (tag != 0 && (forward ? tag > ordinal : tag < ordinal)) {
            break;
        }
    }
    return found;
}

} // namespace

QList<qint64> framesAhead(const SubtitleDocument &document, int originalRow, int correctedRow)
{
    const SubtitleList &original = document.originalList();
    const SubtitleList &corrected = document.correctedList();
    const int selectedOrdinal = originalRow >= 0 ? originalRow + 1 : correctedRow >= 0 ? corrected.tag(correctedRow) : 0;
    const auto startOf = [&](int ordinal, bool forward) -> qint64 {
        if (corrected.rowCount() > 0) {
            const int row = correctedRowOf(corrected, ordinal, correctedRow >= 0 ? correctedRow : 0,
                                           forward || correctedRow < 0);
            return row >= 0 ? corrected.startMs(row) : -1;
        }
        return ordinal >= 1 && ordinal <= original.rowCount() ? original.startMs(ordinal - 1) : -1;
    };

    std::vector<int> ordinals = document.records().ordinals();
    if (!std::is_sorted(ordinals.begin(), ordinals.end()))
        std::sort(ordinals.begin(), ordinals.end());
    const auto after = std::upper_bound(ordinals.begin(), ordinals.end(), selectedOrdinal);
    const auto before = std::lower_bound(ordinals.begin(), ordinals.end(), selectedOrdinal);
    const auto next = [&](qsizetype n) { return after + n < ordinals.end() ? startOf(after[n], true) : -1; };
    const auto previous = [&](qsizetype n) {
        return before - ordinals.begin() > n ? startOf(before[-1 - n], false) : -1;
    };

    const SubtitleList &list = correctedRow >= 0 || corrected.rowCount() > 0 ? corrected : original;
    const int row = correctedRow >= 0 ? correctedRow : corrected.rowCount() > 0 ? -1 : originalRow;
    const auto around = [&](int offset) {
        return row >= 0 && row + offset >= 0 && row + offset < list.rowCount() ? list.startMs(row + offset) : -1;
    };

    // Stepping on through the corrections needs the nearest ones first, and
    // a lead of a few in either direction so decoding keeps ahead of the
    // keys; the rows around come after, for the arrow keys.
    const qint64 shownMs = row >= 0 ? list.startMs(row) : -1;
    QList<qint64> times;
    for (const qint64 ms : {next(0), previous(0), next(1), previous(1), next(2), previous(2), next(3), around(1),
                            around(-1), around(2), around(-2)}) {
        if (ms >= 0 && ms != shownMs && !times.contains(ms))
            times << ms;
    }
    return times;
}
