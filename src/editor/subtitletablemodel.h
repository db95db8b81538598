// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"
#include "document/subtitleformat.h"
#include "document/subtitlerow.h"
#include "editing/rowoperations.h"
#include "editor/labelledtablemodel.h"
#include "settings/settings.h"

#include <optional>
#include <unordered_map>
#include <vector>

class LangDoc;
struct EditRecord;
struct Message;

// The subtitles of one list as a table: number, start, end, text and
// reading speed. The rows are kept compact (SubtitleRows) and made into
// texts only for the cells a view shows, so a file of a million subtitles
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
    // How the texts are measured: WebVTT cues as their viewer sees them.
    void setSubtitleFormat(SubtitleFormat format);

    void setRows(const std::vector<SubtitleRow> &rows);
    // tooFastCount: how many of rows are still too fast at the reading
    // speed set now, when the caller has counted them already.
    void setRows(SubtitleRows rows, std::optional<qint64> tooFastCount = std::nullopt);
    // The views start over as with new rows (selections and scroll places
    // go), the rows staying as they are.
    void resetViews();
    void clear();
    const SubtitleRows &compactRows() const { return m_rows; }
    // Every row as a value, for the few callers that want them all.
    std::vector<SubtitleRow> rows() const { return m_rows.toVector(); }
    SubtitleRow row(int index) const { return m_rows.row(index); }

    // One row's parts, straight from the compact rows; times in
    // milliseconds, text lines joined by CR LF.
    int number(int row) const { return m_rows.number(row); }
    qint64 startMs(int row) const { return m_rows.startMs(row); }
    qint64 endMs(int row) const { return m_rows.endMs(row); }
    QString text(int row) const { return m_rows.text(row); }
    // The ordinal as read; 0 for rows inserted by hand.
    int tag(int row) const { return m_rows.tag(row); }

    void setText(int index, const QString &text);
    void setStartMs(int index, qint64 startMs);
    void setEndMs(int index, qint64 endMs);

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
    // cells; none by default. The rows held now are the run's: the first
    // change to a recorded ordinal's rows keeps a copy of them for runRows.
    void setRecordMarks(const std::vector<EditRecord> &records);
    // The rows the run made for ordinal, as they were before any change.
    std::vector<SubtitleRow> runRows(int ordinal) const;
    // The subtitles as read, which a moved start's tooltip quotes; must
    // outlive this model.
    void setOriginalRows(const SubtitleTableModel *original) { m_original = original; }

    bool isTooFast(int index) const;
    // The nearest row after from (before it when up) that is still too
    // fast; -1 when none. from may be -1, or the row count when up.
    int findTooFast(int from, bool up) const;
    // Counted when first asked, then kept up to date through every change,
    // so a status can show it at once; a list nobody asks never counts.
    qint64 tooFastCount() const;

private:
    // Bits of a record's mark, by ordinal.
    enum MarkBit : quint8 {
        Recorded = 1,
        ReBroken = 2,
        Split = 4,
        TimeBought = 8,
        Restored = 16,
        StartMoved = 32,
        RunRowsKept = 64,
    };

    QString word(const Message &message) const;
    QVariant numberData(int row, int role) const;
    QVariant cpsData(int row, int role) const;
    QVariant endData(int row, int role) const;
    quint8 markOf(int ordinal) const;
    // Copy on write: called before anything changes rows of ordinal.
    void keepRunRows(int ordinal);
    void markRestored(const std::vector<int> &ordinals, bool restored);
    // Rows [first, first + oldCount) become newCount rows by apply(); the
    // rows after them are renumbered.
    template<typename Apply>
    void changeRows(int first, int oldCount, int newCount, Apply apply);
    void emitNumbersChangedFrom(int position);
    void emitRowChanged(int index, Column column);
    qint64 countTooFast(int first, int count) const;
    // Rows [first, first + count) leave the count (sign -1) or join it (+1).
    void countTooFastIn(int first, int count, int sign);
    void forgetTooFastCount();

    SubtitleRows m_rows;
    std::vector<quint8> m_marks; // by ordinal
    // The run's rows of the ordinals changed since, in m_rows' blocks, and
    // where each ordinal's stand in it (first, count).
    SubtitleRows m_runRows;
    std::unordered_map<int, std::pair<int, int>> m_runRowsAt;
    const LangDoc *m_lang = nullptr;
    const SubtitleTableModel *m_original = nullptr;
    mutable std::optional<qint64> m_tooFastCount;
    qint32 m_lettersPerSecond = Settings().LettersFor1Min;
    SubtitleFormat m_format = SubtitleFormat::SubRip;
};
