// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/labelledtablemodel.h"
#include "engine/editrecord.h"

#include <vector>

class LangDoc;

// The edits window's records: the ordinal ("0012"), the kind of correction
// and whether the subtitle was restored as read, in the order the
// correction run made them. A restored record stays, its kind struck
// through. A record takes 8 bytes; its texts are made when a view asks.
class EditRecordModel : public LabelledTableModel
{
    Q_OBJECT

public:
    enum Column { OrdinalColumn, KindColumn, StateColumn, ColumnCount };
    // The ordinal as an int, so "10000" sorts after "9999"; the text of the
    // other columns.
    static constexpr int OrdinalRole = Qt::UserRole + 1;

    explicit EditRecordModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The kinds are worded in the language active now; retranslate words
    // them again after a language switch.
    void setRecords(const std::vector<EditRecord> &records, const LangDoc &lang);
    void retranslate(const LangDoc &lang);
    void clear();

    // A record of every kind: each change, with and without bought time and a moved start.
    static std::vector<EditRecord> everyKind();

    // The row of the record for ordinal; -1 when the subtitle has none.
    int rowOfOrdinal(int ordinal) const;
    std::vector<int> ordinals() const;

    bool isRestored(int ordinal) const;
    void setRestored(const std::vector<int> &ordinals, bool restored);
    // Records whose start the run moved and that are not restored.
    qint64 movedCount() const { return m_movedCount; }

private:
    struct Entry
    {
        qint32 ordinal;
        EditRecord::Change change;
        bool timeBought;
        bool startMoved;
        bool restored = false;
    };
    void wordKinds(const LangDoc &lang);
    const QString &kindText(const Entry &entry) const;

    std::vector<Entry> m_entries;
    // Every kind worded once: by change, time bought, start moved.
    QString m_kindTexts[3][2][2];
    std::vector<int> m_rowByOrdinal; // -1 where no record
    QString m_restoredText;
    qint64 m_movedCount = 0;
};
