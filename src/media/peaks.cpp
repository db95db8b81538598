// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peaks.h"

#include <algorithm>

Peaks::Bin Peaks::extremes(qint64 fromMs, qint64 toMs) const
{
    const qint64 count = qint64(bins.size());
    const qint64 first = std::clamp<qint64>(fromMs / binMs, 0, count);
    // A range that ends inside a bin includes that bin.
    const qint64 last = std::clamp<qint64>((toMs + binMs - 1) / binMs, first, count);
    Bin result;
    for (qint64 i = first; i < last; ++i) {
        result.minimum = std::min(result.minimum, bins[size_t(i)].minimum);
        result.maximum = std::max(result.maximum, bins[size_t(i)].maximum);
    }
    return result;
}
