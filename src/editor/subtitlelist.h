// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"
#include "document/subtitleformat.h"
#include "document/subtitlerow.h"
#include "editing/rowoperations.h"
#include "engine/readingspeed.h"
#include "settings/settings.h"

#include <QObject>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

struct EditRecord;

// One list of subtitles the document holds, as read or as corrected: the
// rows (kept compact, see SubtitleRows), the marks of the corrections that
// made them, the run's own rows of every ordinal changed since, and how
// many rows are still too fast to read. Every change is said before and
// after it happens, as a table model must hear it, and once more as
// changed() for views that simply redraw.
class SubtitleList : public QObject
{
    Q_OBJECT

public:
    // Bits of an ordinal's mark, from its edit record.
    enum Mark : quint8 {
        Recorded = 1,
        ReBroken = 2,
        Split = 4,
        TimeBought = 8,
        Restored = 16,
        StartMoved = 32,
    };
    // Rows are indexed for time queries in blocks of this many.
    static constexpr int BlockRows = 128;

    explicit SubtitleList(QObject *parent = nullptr);

    int rowCount() const { return int(m_rows.size()); }
    const SubtitleRows &compactRows() const { return m_rows; }
    // Every row as a value, for the few callers that want them all.
    std::vector<SubtitleRow> rows() const { return m_rows.toVector(); }
    SubtitleRow row(int index) const { return m_rows.row(index); }
    // One row's parts; times in milliseconds, text lines joined by CR LF.
    int number(int row) const { return m_rows.number(row); }
    qint64 startMs(int row) const { return m_rows.startMs(row); }
    qint64 endMs(int row) const { return m_rows.endMs(row); }
    QString text(int row) const { return m_rows.text(row); }
    // The ordinal as read; 0 for rows inserted by hand.
    int tag(int row) const { return m_rows.tag(row); }
    // The first row at or after from whose tag is tag; -1 when none.
    int findTag(int tag, int from = 0) const;

    // Calls visit(row) for every row, in list order, whose time meets
    // [fromMs, toMs): it starts before toMs and ends after fromMs. A row
    // that ends before it starts counts as lasting 1 ms from its start.
    template <typename Visit>
    void forEachRowMeeting(qint64 fromMs, qint64 toMs, Visit visit) const;
    // The row whose subtitle is on screen during the frame shown from ms
    // for frameMs: of the rows shown then (a row that ends before it starts
    // never is), the one that started last, the later row at a tie; -1
    // when none.
    int rowShownAt(qint64 ms, qint64 frameMs) const;

    // The mark of ordinal's record (Mark bits); 0 without one.
    quint8 markOf(int ordinal) const { return quint8(rawMark(ordinal) & ~RunRowsKept); }
    // The rows the run made for ordinal, as they were before any change.
    std::vector<SubtitleRow> runRows(int ordinal) const;

    // The reading speed the too-fast rows are measured against, LettersFor1Min.
    qint32 lettersPerSecond() const { return m_lettersPerSecond; }
    void setLettersPerSecond(qint32 lettersPerSecond);
    // How texts are measured: a WebVTT cue's as its viewer sees it.
    void setSubtitleFormat(SubtitleFormat format);
    ReadingSpeed readingSpeedOf(int row) const;
    bool isTooFast(int row) const;
    // The nearest row after from (before it when up) that is still too
    // fast; -1 when none. from may be -1, or the row count when up.
    int findTooFast(int from, bool up) const;
    // Counted when first asked, then kept up to date through every change,
    // so a status can show it at once; a list nobody asks never counts.
    qint64 tooFastCount() const;

    void setRows(const std::vector<SubtitleRow> &rows);
    // tooFastCount: how many of rows are still too fast at the reading
    // speed set now, when the caller has counted them already.
    void setRows(SubtitleRows rows, std::optional<qint64> tooFastCount = std::nullopt);
    // Said as new rows are (selections and scroll places go), the rows
    // staying as they are.
    void resetViews();
    void clear();

    void setText(int row, const QString &text);
    void setStartMs(int row, qint64 startMs);
    void setEndMs(int row, qint64 endMs);
    // Inserts row at position and numbers it and every row after it by
    // their position (1-based).
    void insertSubtitle(int position, SubtitleRow row);
    // Removes the row at position; the rows after it are numbered by their
    // new position. Nothing when there is no such row.
    std::optional<SubtitleRow> removeSubtitle(int position);
    // The rows of each ordinal replaced by others (see replaceOrdinalRows),
    // their marks restored or not.
    std::vector<OrdinalReplacement> replaceOrdinals(std::vector<OrdinalRows> replacements, bool restored);
    void undoReplacements(std::vector<OrdinalReplacement> replacements, bool restored);

    // The corrected list's records, one per ordinal, which mark its rows;
    // none by default. The rows held now are the run's: the first change to
    // a recorded ordinal's rows keeps a copy of them for runRows.
    void setRecordMarks(const std::vector<EditRecord> &records);

signals:
    void aboutToReset();
    void wasReset();
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted(int first, int last);
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved(int first, int last);
    // Times or text of rows first to last changed, and their reading speed with them.
    void rowsChanged(int first, int last);
    // The numbers of the rows from first on changed.
    void numbersChanged(int first);
    void marksChanged();
    void speedsChanged();
    // After each change above, once.
    void changed();

private:
    static constexpr quint8 RunRowsKept = 64;
    // The earliest start and the latest end of a block's rows.
    struct BlockSpan
    {
        qint64 startMs;
        qint64 endMs;
    };

    static qint64 shownUntilMs(qint64 startMs, qint64 endMs) { return std::max(endMs, startMs + 1); }
    quint8 rawMark(int ordinal) const
    {
        return ordinal > 0 && std::size_t(ordinal) < m_marks.size() ? m_marks[std::size_t(ordinal)] : 0;
    }
    // Copy on write: called before anything changes rows of ordinal.
    void keepRunRows(int ordinal);
    void markRestored(const std::vector<int> &ordinals, bool restored);
    // Rows [first, first + oldCount) become newCount rows by apply(); the
    // rows after them are renumbered.
    template <typename Apply>
    void changeRows(int first, int oldCount, int newCount, Apply apply);
    // Many rows change at once by apply(): one reset instead of a signal a row.
    template <typename Apply>
    void resetRows(Apply apply);
    void emitNumbersChangedFrom(int position);
    void rowChanged(int row);
    qint64 countTooFast(int first, int count) const;
    // Rows [first, first + count) leave the count (sign -1) or join it (+1).
    void countTooFastIn(int first, int count, int sign);
    void forgetSpansFrom(int row);
    void timesChangedIn(int row);
    BlockSpan spanOf(qsizetype block) const;
    void updateSpans() const;

    SubtitleRows m_rows;
    std::vector<quint8> m_marks; // by ordinal
    // The run's rows of the ordinals changed since, in m_rows' blocks, and
    // where each ordinal's stand in it (first, count).
    SubtitleRows m_runRows;
    std::unordered_map<int, std::pair<int, int>> m_runRowsAt;
    mutable std::optional<qint64> m_tooFastCount;
    qint32 m_lettersPerSecond = Settings().LettersFor1Min;
    SubtitleFormat m_format = SubtitleFormat::SubRip;
    // By block of BlockRows rows; those from m_spansValid on are stale.
    mutable std::vector<BlockSpan> m_spans;
    mutable qsizetype m_spansValid = 0;
};

template <typename Visit>
void SubtitleList::forEachRowMeeting(qint64 fromMs, qint64 toMs, Visit visit) const
{
    updateSpans();
    for (std::size_t block = 0; block < m_spans.size(); ++block) {
        if (m_spans[block].startMs >= toMs || m_spans[block].endMs <= fromMs)
            continue;
        const int first = int(block) * BlockRows;
        const int last = std::min(first + BlockRows, rowCount());
        for (int row = first; row < last; ++row) {
            const qint64 startMs = m_rows.startMs(row);
            if (startMs < toMs && shownUntilMs(startMs, m_rows.endMs(row)) > fromMs)
                visit(row);
        }
    }
}
