// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shownrowsmodel.h"

#include <algorithm>
#include <utility>

namespace {

// As a sort-filter proxy compares by default: numbers as numbers, anything
// else as case-sensitive text, no value before every value.
bool variantLess(const QVariant &left, const QVariant &right)
{
    if (!left.isValid())
        return false;
    if (!right.isValid())
        return true;
    const int type = left.typeId();
    if (type == right.typeId() && (type == QMetaType::Int || type == QMetaType::LongLong))
        return left.toLongLong() < right.toLongLong();
    return left.toString().compare(right.toString(), Qt::CaseSensitive) < 0;
}

} // namespace

ShownRowsModel::ShownRowsModel(QObject *parent) : QAbstractProxyModel(parent) {}

void ShownRowsModel::setSourceModel(QAbstractItemModel *source)
{
    if (source == sourceModel())
        return;
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    m_showsAll = true;
    m_accepted = false;
    m_rows.clear();
    m_shownRowOf.clear();
    if (source) {
        connect(source, &QAbstractItemModel::dataChanged, this, &ShownRowsModel::sourceDataChanged);
        connect(source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex &, int first, int last) { sourceRowsAboutToBeInserted(first, last); });
        connect(source, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) { sourceRowsInserted(first, last); });
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex &, int first, int last) { sourceRowsAboutToBeRemoved(first, last); });
        connect(source, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) { sourceRowsRemoved(first, last); });
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, &ShownRowsModel::sourceAboutToBeReset);
        connect(source, &QAbstractItemModel::modelReset, this, &ShownRowsModel::sourceReset);
        // The lists never move rows or change columns; should a source do
        // so, everything starts over.
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, &ShownRowsModel::sourceAboutToBeReset);
        connect(source, &QAbstractItemModel::layoutChanged, this, &ShownRowsModel::sourceReset);
        connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, &ShownRowsModel::sourceAboutToBeReset);
        connect(source, &QAbstractItemModel::rowsMoved, this, &ShownRowsModel::sourceReset);
        connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, &ShownRowsModel::sourceAboutToBeReset);
        connect(source, &QAbstractItemModel::columnsInserted, this, &ShownRowsModel::sourceReset);
        connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, &ShownRowsModel::sourceAboutToBeReset);
        connect(source, &QAbstractItemModel::columnsRemoved, this, &ShownRowsModel::sourceReset);
    }
    endResetModel();
}

bool ShownRowsModel::acceptsRow(int) const
{
    return true;
}

void ShownRowsModel::showAll()
{
    if (!m_showsAll)
        show({}, false, true);
}

void ShownRowsModel::showAccepted()
{
    std::vector<int> rows;
    const int count = sourceModel() ? sourceModel()->rowCount() : 0;
    for (int row = 0; row < count; ++row) {
        if (acceptsRow(row))
            rows.push_back(row);
    }
    show(std::move(rows), true, false);
}

void ShownRowsModel::sortBy(int column, Qt::SortOrder order, int role)
{
    if (!sourceModel())
        return;
    // Each key fetched once, not once a comparison.
    std::vector<std::pair<QVariant, int>> keyed;
    keyed.reserve(std::size_t(rowCount()));
    for (int row = 0; row < rowCount(); ++row) {
        const int sourceRow = m_showsAll ? row : m_rows[std::size_t(row)];
        keyed.emplace_back(sourceModel()->index(sourceRow, column).data(role), sourceRow);
    }
    // Stable, from the order shown now, as a sort-filter proxy sorts.
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto &a, const auto &b) {
        return order == Qt::AscendingOrder ? variantLess(a.first, b.first) : variantLess(b.first, a.first);
    });
    std::vector<int> rows;
    rows.reserve(keyed.size());
    for (const auto &key : keyed)
        rows.push_back(key.second);
    show(std::move(rows), false, false);
}

void ShownRowsModel::show(std::vector<int> rows, bool accepted, bool all)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList sources;
    sources.reserve(before.size());
    for (const QModelIndex &index : before)
        sources << mapToSource(index);
    m_showsAll = all;
    m_accepted = accepted;
    m_rows = std::move(rows);
    m_shownRowOf.clear();
    if (!all && !accepted) {
        m_shownRowOf.assign(std::size_t(sourceModel()->rowCount()), -1);
        for (std::size_t row = 0; row < m_rows.size(); ++row)
            m_shownRowOf[std::size_t(m_rows[row])] = int(row);
    }
    QModelIndexList after;
    after.reserve(sources.size());
    for (const QModelIndex &source : std::as_const(sources))
        after << mapFromSource(source);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex ShownRowsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex ShownRowsModel::parent(const QModelIndex &) const
{
    return {};
}

int ShownRowsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !sourceModel())
        return 0;
    return m_showsAll ? sourceModel()->rowCount() : int(m_rows.size());
}

int ShownRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

bool ShownRowsModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0 && columnCount(parent) > 0;
}

QModelIndex ShownRowsModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return {};
    const int row = m_showsAll ? proxyIndex.row() : m_rows[std::size_t(proxyIndex.row())];
    return sourceModel()->index(row, proxyIndex.column());
}

QModelIndex ShownRowsModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const int row = sourceIndex.row();
    if (m_showsAll)
        return index(row, sourceIndex.column());
    if (m_accepted) {
        const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), row);
        return found != m_rows.end() && *found == row ? index(int(found - m_rows.begin()), sourceIndex.column())
                                                       : QModelIndex();
    }
    return std::size_t(row) < m_shownRowOf.size() ? index(m_shownRowOf[std::size_t(row)], sourceIndex.column())
                                                   : QModelIndex();
}

std::pair<int, int> ShownRowsModel::shownBetween(int first, int last) const
{
    const auto begin = std::lower_bound(m_rows.begin(), m_rows.end(), first);
    const auto end = std::upper_bound(begin, m_rows.end(), last);
    return {int(begin - m_rows.begin()), int(end - m_rows.begin())};
}

void ShownRowsModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                       const QList<int> &roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    int first = topLeft.row();
    int last = bottomRight.row();
    if (m_accepted) {
        std::tie(first, last) = shownBetween(first, last);
        --last;
    } else if (!m_showsAll) {
        if (first == last)
            first = last = m_shownRowOf[std::size_t(first)];
        else
            std::tie(first, last) = std::pair(0, int(m_rows.size()) - 1);
    }
    if (first >= 0 && first <= last)
        emit dataChanged(index(first, topLeft.column()), index(last, bottomRight.column()), roles);
}

void ShownRowsModel::sourceRowsAboutToBeInserted(int first, int last)
{
    if (m_showsAll)
        beginInsertRows({}, first, last);
    else if (!m_accepted)
        beginResetModel(); // a sorted order does not take new rows
}

void ShownRowsModel::sourceRowsInserted(int first, int last)
{
    if (m_showsAll) {
        endInsertRows();
        return;
    }
    if (!m_accepted) {
        endResetShowingAll();
        return;
    }
    const int count = last - first + 1;
    for (int &row : m_rows) {
        if (row >= first)
            row += count;
    }
    std::vector<int> joining;
    for (int row = first; row <= last; ++row) {
        if (acceptsRow(row))
            joining.push_back(row);
    }
    if (joining.empty())
        return;
    const int at = shownBetween(first, last).first;
    beginInsertRows({}, at, at + int(joining.size()) - 1);
    m_rows.insert(m_rows.begin() + at, joining.begin(), joining.end());
    endInsertRows();
}

void ShownRowsModel::endResetShowingAll()
{
    m_showsAll = true;
    m_rows.clear();
    m_shownRowOf.clear();
    endResetModel();
}

void ShownRowsModel::sourceRowsAboutToBeRemoved(int first, int last)
{
    if (m_showsAll) {
        beginRemoveRows({}, first, last);
    } else if (!m_accepted) {
        beginResetModel();
    } else if (const auto [begin, end] = shownBetween(first, last); begin < end) {
        beginRemoveRows({}, begin, end - 1);
        m_removing = true;
    }
}

void ShownRowsModel::sourceRowsRemoved(int first, int last)
{
    if (m_showsAll) {
        endRemoveRows();
        return;
    }
    if (!m_accepted) {
        endResetShowingAll();
        return;
    }
    const auto [begin, end] = shownBetween(first, last);
    m_rows.erase(m_rows.begin() + begin, m_rows.begin() + end);
    const int count = last - first + 1;
    for (int &row : m_rows) {
        if (row > last)
            row -= count;
    }
    if (std::exchange(m_removing, false))
        endRemoveRows();
}

void ShownRowsModel::sourceAboutToBeReset()
{
    beginResetModel();
}

void ShownRowsModel::sourceReset()
{
    // Accepted rows are told again from the new rows; an order is lost.
    m_rows.clear();
    m_shownRowOf.clear();
    if (m_accepted) {
        const int count = sourceModel()->rowCount();
        for (int row = 0; row < count; ++row) {
            if (acceptsRow(row))
                m_rows.push_back(row);
        }
    } else {
        m_showsAll = true;
    }
    endResetModel();
}
