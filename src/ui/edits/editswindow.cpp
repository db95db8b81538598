// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edits/editswindow.h"

#include "editor/editrecordmodel.h"
#include "ui/shownrowsmodel.h"
#include "ui/subtitles/subtitlelistview.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

EditsWindow::EditsWindow(EditRecordModel &records, QWidget *parent)
    : QWidget(parent, Qt::Window), m_records(&records), m_sorted(new ShownRowsModel(this)),
      m_list(nullptr), m_restoreAction(new QAction(QStringLiteral("Restore original"), this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edits done"));

    m_sorted->setSourceModel(m_records);

    m_list = new SubtitleListView(QStringLiteral("ListView1"), m_sorted, this);
    // Several records may be restored in one step.
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->horizontalHeader()->setSectionsClickable(true);

    m_restoreAction->setObjectName(QStringLiteral("mnuRestoreOriginal"));
    m_restoreAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_restoreAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_restoreAction);
    connect(m_restoreAction, &QAction::triggered, this, [this] {
        if (const QList<int> ordinals = selectedOrdinals(); !ordinals.isEmpty())
            emit restoreRequested(ordinals);
    });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        QMenu menu(this);
        menu.addAction(m_restoreAction);
        menu.exec(m_list->viewport()->mapToGlobal(position));
    });
    connect(m_records, &QAbstractItemModel::modelReset, this, &EditsWindow::sortOff);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);

    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this, &EditsWindow::sortByColumn);
    connect(m_list, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { activateViewRow(index.row()); });
}

QList<int> EditsWindow::selectedOrdinals() const
{
    QList<int> ordinals;
    for (const QModelIndex &row : m_list->selectionModel()->selectedRows())
        ordinals << row.data(EditRecordModel::OrdinalRole).toInt();
    std::sort(ordinals.begin(), ordinals.end());
    return ordinals;
}

void EditsWindow::fitKindColumn(const LangDoc &lang)
{
    const QFontMetrics metrics = m_list->fontMetrics();
    QHeaderView *header = m_list->horizontalHeader();
    int widest = metrics.horizontalAdvance(m_records->headerData(EditRecordModel::KindColumn, Qt::Horizontal).toString());
    for (const EditRecord &record : EditRecordModel::everyKind())
        widest = std::max(widest, metrics.horizontalAdvance(record.kindText(lang)));
    // The cell's own margins and the sort arrow's room.
    header->resizeSection(EditRecordModel::KindColumn,
                          widest + 2 * m_list->style()->pixelMetric(QStyle::PM_HeaderMargin) + 16);
}

void EditsWindow::sortOff()
{
    m_sorted->showAll();
    m_list->horizontalHeader()->setSortIndicatorShown(false);
    m_viewOrdinalsStale = true;
}

void EditsWindow::sortByColumn(int column)
{
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sorted->sortBy(column, m_sortOrder, EditRecordModel::OrdinalRole);
    m_list->horizontalHeader()->setSortIndicatorShown(true);
    m_list->horizontalHeader()->setSortIndicator(column, m_sortOrder);
    m_viewOrdinalsStale = true;
}

const QList<int> &EditsWindow::ordinalsInViewOrder() const
{
    if (std::exchange(m_viewOrdinalsStale, false)) {
        const std::vector<int> ordinals = m_records->ordinals();
        m_viewOrdinals.clear();
        m_viewOrdinals.reserve(m_sorted->rowCount());
        for (int row = 0; row < m_sorted->rowCount(); ++row)
            m_viewOrdinals << ordinals[std::size_t(m_sorted->mapToSource(m_sorted->index(row, 0)).row())];
    }
    return m_viewOrdinals;
}

void EditsWindow::selectViewRow(int viewRow)
{
    const QModelIndex index = m_sorted->index(viewRow, 0);
    if (!index.isValid())
        return;
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void EditsWindow::selectOrdinal(int ordinal)
{
    const int row = m_records->rowOfOrdinal(ordinal);
    if (row < 0)
        return;
    const QModelIndex shown = m_sorted->mapFromSource(m_records->index(row, 0));
    // Several records selected for one restore stay selected for the next.
    if (m_list->selectionModel()->isRowSelected(shown.row(), {}))
        return;
    selectViewRow(shown.row());
}

void EditsWindow::activateViewRow(int viewRow)
{
    const QModelIndex index = m_sorted->index(viewRow, 0);
    if (index.isValid())
        emit recordActivated(index.data(EditRecordModel::OrdinalRole).toInt());
}

void EditsWindow::showWindow()
{
    m_editsWindowShown = true;
    show();
    // Asked for, it comes to the front, also over a maximised main window.
    raise();
    activateWindow();
}

void EditsWindow::closeForGood()
{
    m_closingForGood = true;
    close();
}

void EditsWindow::closeEvent(QCloseEvent *event)
{
    if (m_closingForGood) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
    m_editsWindowShown = false;
}
