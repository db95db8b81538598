// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/editnavigation.h"

#include <algorithm>

std::optional<qsizetype> LocateNextSubEdit(const QList<int> &ordinals, std::optional<int> selected, bool locationUp)
{
    if (ordinals.isEmpty())
        return std::nullopt;

    // The reference record and whether the selection sits exactly on it.
    qsizetype reference = -1;
    bool onReference = false;
    bool afterAll = false;
    // Nothing selected yet (a file just corrected): next is the first record.
    if (!selected && !locationUp)
        return 0;
    if (selected) {
        reference = ordinals.indexOf(*selected);
        onReference = reference >= 0;
    }
    if (reference < 0) {
        // The first record after the selection in ordinal order, whatever
        // order the list shows; failing that, the last record.
        std::optional<int> nextOrdinal;
        int largest = ordinals.first();
        for (int ordinal : ordinals) {
            largest = std::max(largest, ordinal);
            if (selected && ordinal > *selected && (!nextOrdinal || ordinal < *nextOrdinal))
                nextOrdinal = ordinal;
        }
        if (nextOrdinal) {
            reference = ordinals.indexOf(*nextOrdinal);
        } else {
            reference = ordinals.indexOf(largest);
            onReference = !selected; // nothing selected: the last record stands in for it
            afterAll = selected.has_value();
        }
    }

    if (locationUp) {
        if (afterAll)
            return reference; // the selection lies beyond every record
        if (reference == 0)
            return std::nullopt;
        return reference - 1;
    }
    if (afterAll)
        return std::nullopt;
    if (!onReference)
        return reference; // the nearest record after the selection
    if (reference == ordinals.size() - 1)
        return std::nullopt;
    return reference + 1;
}
