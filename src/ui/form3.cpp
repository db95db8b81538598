// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form3.h"

#include "ui/editrecordmodel.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

Form3::Form3(QWidget *parent)
    : QWidget(parent, Qt::Window), m_records(new EditRecordModel(this)), m_sorted(new QSortFilterProxyModel(this)),
      m_list(new QTableView(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edits done"));

    m_sorted->setSourceModel(m_records);
    m_sorted->setSortRole(EditRecordModel::OrdinalRole);
    m_sorted->setDynamicSortFilter(false);

    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setModel(m_sorted);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->setAlternatingRowColors(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);

    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this, &Form3::sortByColumn);
    connect(m_list, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { activateViewRow(index.row()); });
}

void Form3::setRecords(const std::vector<EditRecord> &records, const LangDoc &lang)
{
    m_records->setRecords(records, lang);
    sortOff();
}

void Form3::clearRecords()
{
    m_records->clear();
    m_viewOrdinals.clear();
}

void Form3::sortOff()
{
    m_sorted->sort(-1);
    m_list->horizontalHeader()->setSortIndicatorShown(false);
    const std::vector<int> ordinals = m_records->ordinals();
    m_viewOrdinals = QList<int>(ordinals.begin(), ordinals.end());
}

void Form3::sortByColumn(int column)
{
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sorted->sort(column, m_sortOrder);
    m_list->horizontalHeader()->setSortIndicatorShown(true);
    m_list->horizontalHeader()->setSortIndicator(column, m_sortOrder);
    refreshViewOrdinals();
}

void Form3::refreshViewOrdinals()
{
    m_viewOrdinals.clear();
    const int rows = m_sorted->rowCount();
    m_viewOrdinals.reserve(rows);
    for (int row = 0; row < rows; ++row)
        m_viewOrdinals << m_sorted->index(row, 0).data(EditRecordModel::OrdinalRole).toInt();
}

void Form3::selectViewRow(int viewRow)
{
    const QModelIndex index = m_sorted->index(viewRow, 0);
    if (!index.isValid())
        return;
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void Form3::selectOrdinal(int ordinal)
{
    const int row = m_records->rowOfOrdinal(ordinal);
    if (row < 0)
        return;
    selectViewRow(m_sorted->mapFromSource(m_records->index(row, 0)).row());
}

void Form3::activateViewRow(int viewRow)
{
    const QModelIndex index = m_sorted->index(viewRow, 0);
    if (index.isValid())
        emit recordActivated(index.data(EditRecordModel::OrdinalRole).toInt());
}

void Form3::showWindow()
{
    m_editsWindowShown = true;
    show();
}

void Form3::closeForGood()
{
    m_closingForGood = true;
    close();
}

void Form3::closeEvent(QCloseEvent *event)
{
    if (m_closingForGood) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
    m_editsWindowShown = false;
}
