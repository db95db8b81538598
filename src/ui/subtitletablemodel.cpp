// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitletablemodel.h"

namespace {

// A subtitle's lines shown on one table line.
QString oneLine(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
    return shown;
}

} // namespace

SubtitleTableModel::SubtitleTableModel(QObject *parent)
    : LabelledTableModel(
          {QStringLiteral("A/A"), QStringLiteral("Show"), QStringLiteral("Hide"), QStringLiteral("Text")}, parent)
{
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SubtitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SubtitleTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SubtitleRow &subtitle = m_rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(subtitle.number);
        case StartColumn:
            return subtitle.startText;
        case EndColumn:
            return subtitle.endText;
        case TextColumn:
            return oneLine(subtitle.text);
        }
        break;
    case Qt::EditRole:
        if (index.column() == TextColumn)
            return subtitle.text;
        return data(index, Qt::DisplayRole);
    case Qt::ToolTipRole:
        if (index.column() == TextColumn && subtitle.text.contains(u'\n'))
            return QString(subtitle.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        break;
    case TagRole:
        return subtitle.tag;
    }
    return {};
}

void SubtitleTableModel::setRows(std::vector<SubtitleRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void SubtitleTableModel::clear()
{
    setRows({});
}

void SubtitleTableModel::setText(int index, const QString &text)
{
    m_rows.at(std::size_t(index)).text = text;
    emitRowChanged(index, TextColumn);
}

void SubtitleTableModel::setStartText(int index, const QString &startText)
{
    m_rows.at(std::size_t(index)).startText = startText;
    emitRowChanged(index, StartColumn);
}

void SubtitleTableModel::setEndText(int index, const QString &endText)
{
    m_rows.at(std::size_t(index)).endText = endText;
    emitRowChanged(index, EndColumn);
}

void SubtitleTableModel::insertSubtitle(int position, SubtitleRow row)
{
    position = qBound(0, position, rowCount());
    beginInsertRows({}, position, position);
    m_rows.insert(m_rows.begin() + position, std::move(row));
    endInsertRows();
    renumberFrom(position);
}

void SubtitleTableModel::removeSubtitle(int position)
{
    if (position < 0 || position >= rowCount())
        return;
    beginRemoveRows({}, position, position);
    m_rows.erase(m_rows.begin() + position);
    endRemoveRows();
    renumberFrom(position);
}

int SubtitleTableModel::findTag(int tag, int from) const
{
    for (std::size_t i = std::size_t(qMax(0, from)); i < m_rows.size(); ++i) {
        if (m_rows[i].tag == tag)
            return int(i);
    }
    return -1;
}

void SubtitleTableModel::renumberFrom(int position)
{
    if (position >= rowCount())
        return;
    for (std::size_t i = std::size_t(position); i < m_rows.size(); ++i)
        m_rows[i].number = int(i) + 1;
    emit dataChanged(index(position, NumberColumn), index(rowCount() - 1, NumberColumn), {Qt::DisplayRole});
}

void SubtitleTableModel::emitRowChanged(int row, Column column)
{
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}
