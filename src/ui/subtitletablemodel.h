// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitlerow.h"

#include "ui/labelledtablemodel.h"


#include <vector>

// The subtitles of one list as a table: number, start, end and text. The
// rows are plain values, so a file of 100,000 subtitles stays instant.
class SubtitleTableModel : public LabelledTableModel
{
    Q_OBJECT

public:
    enum Column { NumberColumn, StartColumn, EndColumn, TextColumn, ColumnCount };
    // The row's tag (the ordinal of the subtitle as read) as an int.
    static constexpr int TagRole = Qt::UserRole + 1;

    explicit SubtitleTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void setRows(std::vector<SubtitleRow> rows);
    void clear();
    const std::vector<SubtitleRow> &rows() const { return m_rows; }
    const SubtitleRow &row(int index) const { return m_rows.at(std::size_t(index)); }

    void setText(int index, const QString &text);
    void setStartText(int index, const QString &startText);
    void setEndText(int index, const QString &endText);

    // Inserts row at position and numbers it and every row after it by
    // their position (1-based).
    void insertSubtitle(int position, SubtitleRow row);
    // Removes the row at position; the rows after it are numbered by their
    // new position.
    void removeSubtitle(int position);

    // The first row at or after from whose tag is tag; -1 when none.
    int findTag(int tag, int from = 0) const;

private:
    void renumberFrom(int position);
    void emitRowChanged(int index, Column column);

    std::vector<SubtitleRow> m_rows;
};
