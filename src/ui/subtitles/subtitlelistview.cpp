// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/subtitlelistview.h"

#include <QHeaderView>
#include <QScrollBar>

SubtitleListView::SubtitleListView(const QString &objectName, QAbstractItemModel *shown, QWidget *parent)
    : QTableView(parent)
{
    setObjectName(objectName);
    setModel(shown);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // By the pixel, so partner rows of two lists can stand at one height
    // even where one list is scrolled to its end.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int SubtitleListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SubtitleListView::selectRow(int row)
{
    const QModelIndex index = model()->index(row, 0);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clear();
}

void SubtitleListView::showColumnAt(int logicalColumn, int visualPlace)
{
    QHeaderView *header = horizontalHeader();
    header->moveSection(header->visualIndex(logicalColumn), visualPlace);
}

void SubtitleListView::settle()
{
    // The scroll range follows a change of rows only at the next layout.
    executeDelayedItemsLayout();
    updateGeometries();
}

int SubtitleListView::rowTop(int row)
{
    settle();
    return rowViewportPosition(row);
}

void SubtitleListView::showRowAt(int row, int top)
{
    settle();
    verticalScrollBar()->setValue(verticalHeader()->sectionPosition(row) - top);
    scrollTo(model()->index(row, 0));
}

void SubtitleListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const int horizontal = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(horizontal);
}
