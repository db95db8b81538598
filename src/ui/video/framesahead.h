// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class SubtitleDocument;

// The times the film pane is likely to be asked for after this selection,
// most likely first: the starts of the next and previous corrections, by
// subtitle number as the edits window lists them, and of the rows around
// the selection. A start is the corrected row's, as the pane shows it, or
// the subtitle's as read before a correction. The selection's own start
// is not among them.
QList<qint64> framesAhead(const SubtitleDocument &document, int originalRow, int correctedRow);
