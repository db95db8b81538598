// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>

// Where the next or previous edit command moves in the edits list.
// ordinalsInViewOrder are the records' ordinals as the list shows them
// (the user may have sorted it); selectedOrdinal is the 1-based position of
// the subtitle selected in the original list, if any. The answer is an
// index into ordinalsInViewOrder, or nothing at either end of the list.
//
// When the selected subtitle has a record, the move goes to its neighbour.
// When it has none, the nearest records around it count: next lands on the
// first record after it and previous on the one before that. With nothing
// selected, previous goes to the record before the last one and next to
// the first record shown.
std::optional<qsizetype> LocateNextSubEdit(const QList<int> &ordinalsInViewOrder, std::optional<int> selectedOrdinal,
                                           bool locationUp);
