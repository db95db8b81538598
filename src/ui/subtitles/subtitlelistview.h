// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

// A list of rows as every list of the program shows them: whole rows
// selected, no editing in place, fixed row heights (so a list of 100,000
// subtitles stays instant) and headers left-aligned.
class SubtitleListView : public QTableView
{
    Q_OBJECT

public:
    SubtitleListView(const QString &objectName, QAbstractItemModel *shown, QWidget *parent = nullptr);

    // The first selected row as shown; -1 when none.
    int selectedRow() const;
    // Selects row alone and makes it current, without scrolling; none when
    // row is not shown.
    void selectRow(int row);
    // Moves the logical column into the shown place, so stored numbers and
    // language captions keep naming the same column.
    void showColumnAt(int logicalColumn, int visualPlace);
    // Where row stands in the visible rows, in pixels from their top, once
    // the list has caught up with the rows just added or removed.
    int rowTop(int row);
    // Scrolls so that row stands top pixels from the top, as near as the
    // list's ends allow, and is in sight.
    void showRowAt(int row, int top);

    // Rows scroll into view; the columns stay where the user put them, so a
    // click on a long text never hides the numbers.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    void settle();
};
