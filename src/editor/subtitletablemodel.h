// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitlerow.h"
#include "editing/rowoperations.h"
#include "editor/labelledtablemodel.h"
#include "settings/settings.h"

#include <optional>
#include <vector>

class LangDoc;
struct EditRecord;
struct Message;

// The subtitles of one list as a table: number, start, end, text and
// reading speed. The rows are plain values, so a file of 100,000 subtitles
// stays instant. Rows whose subtitle still reads too fast, or hides before
// it shows, are marked; in the corrected list the number cell also marks
// the kind of correction the row's record tells.
class SubtitleTableModel : public LabelledTableModel
{
    Q_OBJECT

public:
    // The reading speed is the fifth column, so the first four keep their
    // numbers (and their captions in language files); views move it into place.
    enum Column { NumberColumn, StartColumn, EndColumn, TextColumn, CpsColumn, ColumnCount };
    // The row's tag (the ordinal of the subtitle as read) as an int.
    static constexpr int TagRole = Qt::UserRole + 1;
    // Whether the row's text needs more time than it is shown (bool).
    static constexpr int TooFastRole = Qt::UserRole + 2;

    explicit SubtitleTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Tooltips and marks in this language; English without one. The
    // document must outlive the model.
    void setLanguage(const LangDoc *lang);
    // The reading speed the marks measure against, LettersFor1Min.
    void setLettersPerSecond(qint32 lettersPerSecond);

    void setRows(std::vector<SubtitleRow> rows);
    void clear();
    const std::vector<SubtitleRow> &rows() const { return m_rows; }
    const SubtitleRow &row(int index) const { return m_rows.at(std::size_t(index)); }

    // One row's parts; times in milliseconds, -1 when a time cannot be read.
    qint64 startMs(int index) const;
    qint64 endMs(int index) const;
    QString text(int index) const { return row(index).text; }
    int tag(int index) const { return row(index).tag; }
    int number(int index) const { return row(index).number; }

    void setText(int index, const QString &text);
    void setStartText(int index, const QString &startText);
    void setEndText(int index, const QString &endText);

    // Inserts row at position and numbers it and every row after it by
    // their position (1-based).
    void insertSubtitle(int position, SubtitleRow row);
    // Removes the row at position; the rows after it are numbered by their
    // new position. Nothing when there is no such row.
    std::optional<SubtitleRow> removeSubtitle(int position);
    // The rows of each ordinal replaced by others (see replaceOrdinalRows),
    // their number cells marked restored or not.
    std::vector<OrdinalReplacement> replaceOrdinals(std::vector<OrdinalRows> replacements, bool restored);
    void undoReplacements(std::vector<OrdinalReplacement> replacements, bool restored);

    // The first row at or after from whose tag is tag; -1 when none.
    int findTag(int tag, int from = 0) const;

    // The corrected list's records, one per ordinal, which mark the number
    // cells; none by default.
    void setRecordMarks(const std::vector<EditRecord> &records);
    // The subtitles as read, which a moved start's tooltip quotes; must
    // outlive this model.
    void setOriginalRows(const SubtitleTableModel *original) { m_original = original; }

    bool isTooFast(int index) const;
    // The nearest row after from (before it when up) that is still too
    // fast; -1 when none. from may be -1, or the row count when up.
    int findTooFast(int from, bool up) const;
    // Kept up to date through every change, so a status can show it at once.
    qint64 tooFastCount() const { return m_tooFastCount; }

private:
    // Bits of a record's mark, by ordinal.
    enum MarkBit : quint8 { Recorded = 1, ReBroken = 2, Split = 4, TimeBought = 8, Restored = 16, StartMoved = 32 };

    QString word(const Message &message) const;
    QVariant numberData(const SubtitleRow &subtitle, int role) const;
    QVariant cpsData(const SubtitleRow &subtitle, int role) const;
    QVariant endData(const SubtitleRow &subtitle, int role) const;
    quint8 markOf(int ordinal) const;
    void markRestored(const std::vector<int> &ordinals, bool restored);
    // Rows [first, first + oldCount) become newCount rows by apply(); the
    // rows after them are renumbered.
    template<typename Apply>
    void changeRows(int first, int oldCount, int newCount, Apply apply);
    void emitNumbersChangedFrom(int position);
    void emitRowChanged(int index, Column column);
    qint64 countTooFast(int first, int count) const;
    void recountTooFast();

    std::vector<SubtitleRow> m_rows;
    std::vector<quint8> m_marks; // by ordinal
    const LangDoc *m_lang = nullptr;
    const SubtitleTableModel *m_original = nullptr;
    qint64 m_tooFastCount = 0;
    qint32 m_lettersPerSecond = Settings().LettersFor1Min;
};
