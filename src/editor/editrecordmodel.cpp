// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"

#include "lang/form1messages.h"

#include <QFont>

#include <algorithm>
#include <utility>

EditRecordModel::EditRecordModel(QObject *parent)
    : LabelledTableModel({QStringLiteral("A/A"), QStringLiteral("Jobs done"), QString()}, parent)
{
}

int EditRecordModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int EditRecordModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EditRecordModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry &entry = m_entries[std::size_t(index.row())];
    const auto shown = [&]() -> QString {
        switch (index.column()) {
        case OrdinalColumn:
            return EditRecord{entry.ordinal}.ordinalText();
        case KindColumn:
            return kindText(entry);
        default:
            return entry.restored ? m_restoredText : QString();
        }
    };
    switch (role) {
    case Qt::DisplayRole:
        return shown();
    case OrdinalRole:
        return index.column() == OrdinalColumn ? QVariant(entry.ordinal) : QVariant(shown());
    case Qt::FontRole:
        if (entry.restored && index.column() == KindColumn) {
            QFont struck;
            struck.setStrikeOut(true);
            return struck;
        }
        break;
    }
    return {};
}

std::vector<EditRecord> EditRecordModel::everyKind()
{
    std::vector<EditRecord> records;
    for (const auto change : {EditRecord::Change::None, EditRecord::Change::Edit, EditRecord::Change::Split}) {
        for (const bool timeBought : {false, true}) {
            for (const bool startMoved : {false, true}) {
                EditRecord &record = records.emplace_back();
                record.change = change;
                record.timeBought = timeBought;
                record.startMoved = startMoved;
            }
        }
    }
    return records;
}

void EditRecordModel::wordKinds(const LangDoc &lang)
{
    m_restoredText = GetLangText(lang, Form1Msg::Restored);
    for (const EditRecord &record : everyKind())
        m_kindTexts[int(record.change)][record.timeBought][record.startMoved] = record.kindText(lang);
}

const QString &EditRecordModel::kindText(const Entry &entry) const
{
    return m_kindTexts[int(entry.change)][entry.timeBought][entry.startMoved];
}

void EditRecordModel::retranslate(const LangDoc &lang)
{
    wordKinds(lang);
    if (!m_entries.empty())
        emit dataChanged(index(0, KindColumn), index(int(m_entries.size()) - 1, StateColumn));
}

void EditRecordModel::setRecords(const std::vector<EditRecord> &records, const LangDoc &lang)
{
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(records.size());
    int largest = 0;
    m_movedCount = 0;
    for (const EditRecord &record : records) {
        m_entries.push_back({record.ordinal, record.change, record.timeBought, record.startMoved});
        largest = std::max(largest, record.ordinal);
        m_movedCount += record.startMoved ? 1 : 0;
    }
    wordKinds(lang);
    m_rowByOrdinal.assign(std::size_t(largest) + 1, -1);
    for (std::size_t row = m_entries.size(); row-- > 0;) {
        if (m_entries[row].ordinal > 0)
            m_rowByOrdinal[std::size_t(m_entries[row].ordinal)] = int(row); // the first record wins
    }
    endResetModel();
}

void EditRecordModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_rowByOrdinal.clear();
    m_movedCount = 0;
    endResetModel();
}

int EditRecordModel::rowOfOrdinal(int ordinal) const
{
    if (ordinal <= 0 || std::size_t(ordinal) >= m_rowByOrdinal.size())
        return -1;
    return m_rowByOrdinal[std::size_t(ordinal)];
}

std::vector<int> EditRecordModel::ordinals() const
{
    std::vector<int> result;
    result.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        result.push_back(entry.ordinal);
    return result;
}

bool EditRecordModel::isRestored(int ordinal) const
{
    const int row = rowOfOrdinal(ordinal);
    return row >= 0 && m_entries[std::size_t(row)].restored;
}

void EditRecordModel::setRestored(const std::vector<int> &ordinals, bool restored)
{
    for (int ordinal : ordinals) {
        const int row = rowOfOrdinal(ordinal);
        if (row < 0 || m_entries[std::size_t(row)].restored == restored)
            continue;
        m_entries[std::size_t(row)].restored = restored;
        if (m_entries[std::size_t(row)].startMoved)
            m_movedCount += restored ? -1 : 1;
        emit dataChanged(index(row, KindColumn), index(row, StateColumn));
    }
}
