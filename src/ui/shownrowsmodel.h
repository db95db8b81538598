// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractProxyModel>

#include <vector>

// A flat table shown through a view as it is, or some of its rows only
// (ascending), or all of them in another order. Showing every row in its
// own order takes no memory and no work per row, unlike a sort-filter
// proxy, which maps each of a million rows whatever it shows. Changing what
// is shown keeps the selection on the rows still shown, as a sort-filter
// proxy's invalidate() or sort() does.
class ShownRowsModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit ShownRowsModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    bool showsAll() const { return m_showsAll; }
    // Every row in the source's order.
    void showAll();
    // Only the source rows for which acceptsRow() holds, ascending; rows
    // inserted into the source later are shown when they are accepted.
    void showAccepted();
    // The rows shown now, stably sorted by the role's data in column, as a
    // sort-filter proxy sorts.
    void sortBy(int column, Qt::SortOrder order, int role);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

protected:
    // Whether showAccepted() shows sourceRow.
    virtual bool acceptsRow(int sourceRow) const;

private:
    // The rows shown become rows (ascending when accepted is true), as one
    // change of layout.
    void show(std::vector<int> rows, bool accepted, bool all);
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);
    void sourceRowsAboutToBeInserted(int first, int last);
    void sourceRowsInserted(int first, int last);
    // Ends a reset begun because a sorted order cannot take the change.
    void endResetShowingAll();
    void sourceRowsAboutToBeRemoved(int first, int last);
    void sourceRowsRemoved(int first, int last);
    void sourceAboutToBeReset();
    void sourceReset();
    // The proxy rows of the shown source rows in [first, last], a subset
    // being ascending: [begin, end).
    std::pair<int, int> shownBetween(int first, int last) const;

    bool m_showsAll = true;
    bool m_accepted = false;       // m_rows are the accepted rows, ascending
    std::vector<int> m_rows;        // source row of each shown row
    std::vector<int> m_shownRowOf;  // of a sorted order: shown row of each source row
    bool m_removing = false;
};
