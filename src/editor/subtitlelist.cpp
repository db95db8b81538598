// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/subtitlelist.h"

#include "document/timecode.h"
#include "document/unicodetext.h"
#include "engine/editrecord.h"
#include "engine/readingspeed.h"

SubtitleList::SubtitleList(QObject *parent) : QObject(parent) {}

ReadingSpeed SubtitleList::readingSpeedOf(int row) const
{
    return readingSpeed(readingLength(m_rows.textUtf8(row), m_format), MillisecondsToSeconds(m_rows.startMs(row)),
                        MillisecondsToSeconds(m_rows.endMs(row)), m_lettersPerSecond);
}

int SubtitleList::findTag(int tag, int from) const
{
    for (qsizetype i = qMax(0, from); i < m_rows.size(); ++i) {
        if (m_rows.tag(i) == tag)
            return int(i);
    }
    return -1;
}

int SubtitleList::rowShownAt(qint64 ms, qint64 frameMs) const
{
    int shown = -1;
    qint64 shownStartMs = 0;
    forEachRowMeeting(ms, ms + std::max<qint64>(1, frameMs), [&](int row) {
        const qint64 startMs = m_rows.startMs(row);
        const qint64 endMs = m_rows.endMs(row);
        if (endMs <= ms || endMs <= startMs)
            return;
        if (shown < 0 || startMs >= shownStartMs) {
            shown = row;
            shownStartMs = startMs;
        }
    });
    return shown;
}

SubtitleList::BlockSpan SubtitleList::spanOf(qsizetype block) const
{
    const qsizetype first = block * BlockRows;
    const qsizetype last = std::min(first + BlockRows, m_rows.size());
    BlockSpan span{m_rows.startMs(first), shownUntilMs(m_rows.startMs(first), m_rows.endMs(first))};
    for (qsizetype row = first + 1; row < last; ++row) {
        const qint64 startMs = m_rows.startMs(row);
        span.startMs = std::min(span.startMs, startMs);
        span.endMs = std::max(span.endMs, shownUntilMs(startMs, m_rows.endMs(row)));
    }
    return span;
}

void SubtitleList::updateSpans() const
{
    const qsizetype blocks = (m_rows.size() + BlockRows - 1) / BlockRows;
    m_spans.resize(std::size_t(blocks));
    for (qsizetype block = std::min(m_spansValid, blocks); block < blocks; ++block)
        m_spans[std::size_t(block)] = spanOf(block);
    m_spansValid = blocks;
}

void SubtitleList::timesChangedIn(int row)
{
    // One row's times: only its block's span changes.
    if (const qsizetype block = row / BlockRows; block < m_spansValid)
        m_spans[std::size_t(block)] = spanOf(block);
}

void SubtitleList::forgetSpansFrom(int row)
{
    m_spansValid = std::min<qsizetype>(m_spansValid, std::max(0, row) / BlockRows);
}

std::vector<SubtitleRow> SubtitleList::runRows(int ordinal) const
{
    std::vector<SubtitleRow> rows;
    if (const auto kept = m_runRowsAt.find(ordinal); kept != m_runRowsAt.end()) {
        for (int i = kept->second.first; i < kept->second.first + kept->second.second; ++i)
            rows.push_back(m_runRows.row(i));
        return rows;
    }
    for (qsizetype i = ordinalRange(m_rows, ordinal).first; i < m_rows.size() && m_rows.tag(i) <= ordinal; ++i) {
        if (m_rows.tag(i) == ordinal)
            rows.push_back(m_rows.row(i));
    }
    return rows;
}

void SubtitleList::setLettersPerSecond(qint32 lettersPerSecond)
{
    if (m_lettersPerSecond == lettersPerSecond)
        return;
    m_lettersPerSecond = lettersPerSecond;
    m_tooFastCount.reset();
    emit speedsChanged();
    emit changed();
}

void SubtitleList::setSubtitleFormat(SubtitleFormat format)
{
    if (m_format == format)
        return;
    m_format = format;
    m_tooFastCount.reset();
    emit speedsChanged();
    emit changed();
}

bool SubtitleList::isTooFast(int row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    return readingSpeedOf(row).isTooFast();
}

int SubtitleList::findTooFast(int from, bool up) const
{
    const int step = up ? -1 : 1;
    for (int row = from + step; row >= 0 && row < rowCount(); row += step) {
        if (isTooFast(row))
            return row;
    }
    return -1;
}

qint64 SubtitleList::countTooFast(int first, int count) const
{
    qint64 tooFast = 0;
    for (int row = first; row < first + count; ++row)
        tooFast += isTooFast(row) ? 1 : 0;
    return tooFast;
}

void SubtitleList::countTooFastIn(int first, int count, int sign)
{
    if (m_tooFastCount)
        *m_tooFastCount += sign * countTooFast(first, count);
}

qint64 SubtitleList::tooFastCount() const
{
    if (!m_tooFastCount)
        m_tooFastCount = countTooFast(0, rowCount());
    return *m_tooFastCount;
}

void SubtitleList::setRows(const std::vector<SubtitleRow> &rows)
{
    setRows(SubtitleRows(rows));
}

void SubtitleList::setRows(SubtitleRows rows, std::optional<qint64> tooFastCount)
{
    emit aboutToReset();
    m_rows = std::move(rows);
    m_runRows = m_rows.emptyLike();
    m_runRowsAt.clear();
    for (quint8 &mark : m_marks)
        mark &= quint8(~RunRowsKept);
    m_tooFastCount = tooFastCount;
    m_spansValid = 0;
    emit wasReset();
    emit changed();
}

void SubtitleList::resetViews()
{
    emit aboutToReset();
    emit wasReset();
    emit changed();
}

void SubtitleList::clear()
{
    m_marks.clear();
    setRows(SubtitleRows());
}

void SubtitleList::rowChanged(int row)
{
    emit rowsChanged(row, row);
    emit changed();
}

void SubtitleList::setText(int row, const QString &text)
{
    keepRunRows(m_rows.tag(row));
    countTooFastIn(row, 1, -1);
    m_rows.setText(row, text);
    countTooFastIn(row, 1, 1);
    rowChanged(row);
}

void SubtitleList::setStartMs(int row, qint64 startMs)
{
    keepRunRows(m_rows.tag(row));
    countTooFastIn(row, 1, -1);
    m_rows.setStartMs(row, startMs);
    countTooFastIn(row, 1, 1);
    timesChangedIn(row);
    rowChanged(row);
}

void SubtitleList::setEndMs(int row, qint64 endMs)
{
    keepRunRows(m_rows.tag(row));
    countTooFastIn(row, 1, -1);
    m_rows.setEndMs(row, endMs);
    countTooFastIn(row, 1, 1);
    timesChangedIn(row);
    rowChanged(row);
}

void SubtitleList::insertSubtitle(int position, SubtitleRow row)
{
    position = std::clamp(position, 0, rowCount());
    emit rowsAboutToBeInserted(position, position);
    insertSubtitleRow(m_rows, position, row);
    countTooFastIn(position, 1, 1);
    forgetSpansFrom(position);
    emit rowsInserted(position, position);
    renumberFrom(m_rows, position);
    emitNumbersChangedFrom(position);
    emit changed();
}

std::optional<SubtitleRow> SubtitleList::removeSubtitle(int position)
{
    if (position < 0 || position >= rowCount())
        return std::nullopt;
    keepRunRows(m_rows.tag(position));
    countTooFastIn(position, 1, -1);
    emit rowsAboutToBeRemoved(position, position);
    SubtitleRow removed = removeSubtitleRow(m_rows, position);
    forgetSpansFrom(position);
    emit rowsRemoved(position, position);
    renumberFrom(m_rows, position);
    emitNumbersChangedFrom(position);
    emit changed();
    return removed;
}

template <typename Apply>
void SubtitleList::changeRows(int first, int oldCount, int newCount, Apply apply)
{
    const int common = std::min(oldCount, newCount);
    countTooFastIn(first, oldCount, -1);
    forgetSpansFrom(first);
    if (newCount > oldCount) {
        emit rowsAboutToBeInserted(first + oldCount, first + newCount - 1);
        apply();
        emit rowsInserted(first + oldCount, first + newCount - 1);
    } else if (newCount < oldCount) {
        emit rowsAboutToBeRemoved(first + newCount, first + oldCount - 1);
        apply();
        emit rowsRemoved(first + newCount, first + oldCount - 1);
    } else {
        apply();
    }
    countTooFastIn(first, newCount, 1);
    // The rows put in still carry the numbers they had elsewhere.
    renumberFrom(m_rows, first);
    if (common > 0)
        emit rowsChanged(first, first + common - 1);
    if (newCount != oldCount)
        emitNumbersChangedFrom(first + common);
    emit changed();
}

template <typename Apply>
void SubtitleList::resetRows(Apply apply)
{
    emit aboutToReset();
    renumberFrom(m_rows, apply());
    m_tooFastCount.reset();
    m_spansValid = 0;
    emit wasReset();
    emit changed();
}

std::vector<OrdinalReplacement> SubtitleList::replaceOrdinals(std::vector<OrdinalRows> replacements, bool restored)
{
    std::vector<int> ordinals;
    ordinals.reserve(replacements.size());
    for (const OrdinalRows &replacement : replacements) {
        ordinals.push_back(replacement.ordinal);
        keepRunRows(replacement.ordinal);
    }
    markRestored(ordinals, restored);
    std::vector<OrdinalReplacement> done;
    if (replacements.size() == 1) {
        // One subtitle: the views keep their selection and scroll place.
        const OrdinalRange range = ordinalRange(m_rows, replacements.front().ordinal);
        if (range.contiguous) {
            const int newCount = int(replacements.front().rows.size());
            changeRows(range.first, range.count, newCount,
                       [&] { done = replaceOrdinalRows(m_rows, std::move(replacements)); });
            return done;
        }
    }
    // Many at once: one pass and one reset instead of a signal per subtitle.
    resetRows([&] {
        done = replaceOrdinalRows(m_rows, std::move(replacements));
        return firstRowChanged(done);
    });
    return done;
}

void SubtitleList::undoReplacements(std::vector<OrdinalReplacement> replacements, bool restored)
{
    std::vector<int> ordinals;
    ordinals.reserve(replacements.size());
    for (const OrdinalReplacement &replacement : replacements)
        ordinals.push_back(replacement.ordinal);
    markRestored(ordinals, restored);
    if (replacements.size() == 1) {
        const OrdinalReplacement &only = replacements.front();
        if (only.tookContiguous()) {
            const int first = only.position;
            const int oldCount = only.count;
            const int newCount = int(only.taken.size());
            changeRows(first, oldCount, newCount, [&] { ::undoReplacements(m_rows, std::move(replacements)); });
            return;
        }
    }
    const int firstChanged = firstRowChanged(replacements);
    resetRows([&] {
        ::undoReplacements(m_rows, std::move(replacements));
        return firstChanged;
    });
}

void SubtitleList::setRecordMarks(const std::vector<EditRecord> &records)
{
    m_runRows = m_rows.emptyLike();
    m_runRowsAt.clear();
    qint32 largest = 0;
    for (const EditRecord &record : records)
        largest = std::max(largest, record.ordinal);
    m_marks.assign(std::size_t(largest) + 1, 0);
    for (const EditRecord &record : records) {
        if (record.ordinal <= 0)
            continue;
        quint8 &mark = m_marks[std::size_t(record.ordinal)];
        mark = Recorded;
        if (record.change == EditRecord::Change::Split)
            mark |= Split;
        else if (record.change == EditRecord::Change::Edit)
            mark |= ReBroken;
        if (record.timeBought)
            mark |= TimeBought;
        if (record.startMoved)
            mark |= StartMoved;
    }
    emit marksChanged();
    emit changed();
}

void SubtitleList::markRestored(const std::vector<int> &ordinals, bool restored)
{
    // No signal of its own: the rows of these ordinals are replaced right
    // after, which says so.
    for (int ordinal : ordinals) {
        if (!rawMark(ordinal))
            continue;
        quint8 &mark = m_marks[std::size_t(ordinal)];
        mark = restored ? quint8(mark | Restored) : quint8(mark & ~Restored);
    }
}

void SubtitleList::keepRunRows(int ordinal)
{
    const quint8 mark = rawMark(ordinal);
    if (!(mark & Recorded) || (mark & RunRowsKept))
        return;
    m_marks[std::size_t(ordinal)] = quint8(mark | RunRowsKept);
    // Untouched so far, so the rows with this tag are the run's, in order;
    // rows inserted by hand between two halves carry tag 0.
    const int first = int(m_runRows.size());
    for (qsizetype i = ordinalRange(m_rows, ordinal).first; i < m_rows.size() && m_rows.tag(i) <= ordinal; ++i) {
        if (m_rows.tag(i) == ordinal)
            m_runRows.appendRowOf(m_rows, i);
    }
    m_runRowsAt[ordinal] = {first, int(m_runRows.size()) - first};
}

void SubtitleList::emitNumbersChangedFrom(int position)
{
    if (position < rowCount())
        emit numbersChanged(position);
}
