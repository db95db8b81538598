// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/rows/subtitlerows.h"

#include "document/rows/hugepages.h"
#include "document/timecode.h"
#include "document/unicodetext.h"

#include <algorithm>

namespace {

qint64 millisecondsOf(const QString &timeText)
{
    const std::optional<double> seconds = TimeTextToSeconds(timeText);
    return seconds ? SecondsToMilliseconds(*seconds) : 0;
}

} // namespace

SubtitleRows::SubtitleRows() : m_texts(std::make_shared<TextBlocks>()) {}

SubtitleRows::SubtitleRows(std::span<const SubtitleRow> rows) : SubtitleRows()
{
    reserve(qsizetype(rows.size()));
    for (const SubtitleRow &row : rows)
        append(row);
}

SubtitleRows SubtitleRows::sharingTextsOf(const SubtitleRows &source)
{
    SubtitleRows rows;
    rows.m_sharedTexts = source.m_texts;
    return rows;
}

SubtitleRows SubtitleRows::emptyLike() const
{
    SubtitleRows rows;
    rows.m_texts = m_texts;
    rows.m_sharedTexts = m_sharedTexts;
    return rows;
}

void SubtitleRows::reserve(qsizetype rows)
{
    const bool fresh = m_entries.capacity() < std::size_t(rows);
    m_entries.reserve(std::size_t(rows));
    m_numbers.reserve(std::size_t(rows));
    // Not written yet, so huge pages can still back them.
    if (fresh) {
        adviseHugePages(m_entries.data() + m_entries.size(), qsizetype((m_entries.capacity() - m_entries.size()) * sizeof(Entry)));
        adviseHugePages(m_numbers.data() + m_numbers.size(), qsizetype((m_numbers.capacity() - m_numbers.size()) * sizeof(qint32)));
    }
}

QByteArrayView SubtitleRows::textUtf8(qsizetype index) const
{
    const Entry &entry = m_entries[std::size_t(index)];
    if (entry.text & Shared)
        return m_sharedTexts->view(entry.text & ~Shared, entry.textBytes);
    return m_texts->view(entry.text, entry.textBytes);
}

QString SubtitleRows::text(qsizetype index) const
{
    return utf8ToQString(textUtf8(index));
}

SubtitleRow SubtitleRows::row(qsizetype index) const
{
    const Entry &entry = m_entries[std::size_t(index)];
    return {number(index), MillisecondsToTimeText(entry.startMs), MillisecondsToTimeText(entry.endMs), text(index),
            entry.tag};
}

std::vector<SubtitleRow> SubtitleRows::toVector() const
{
    std::vector<SubtitleRow> rows;
    rows.reserve(m_entries.size());
    for (qsizetype i = 0; i < size(); ++i)
        rows.push_back(row(i));
    return rows;
}

SubtitleRows::Entry SubtitleRows::entryFor(const SubtitleRow &row)
{
    const QByteArray utf8 = row.text.toUtf8();
    return {millisecondsOf(row.startText), millisecondsOf(row.endText), m_texts->append(utf8),
            quint32(utf8.size()), row.tag};
}

void SubtitleRows::append(const SubtitleRow &row)
{
    m_entries.push_back(entryFor(row));
    m_numbers.push_back(row.number);
}

void SubtitleRows::append(int number, qint64 startMs, qint64 endMs, QByteArrayView utf8Text, int tag)
{
    m_entries.push_back({startMs, endMs, m_texts->append(utf8Text), quint32(utf8Text.size()), tag});
    m_numbers.push_back(number);
}

void SubtitleRows::append(int number, qint64 startMs, qint64 endMs, std::u32string_view text, int tag)
{
    TextBlocks::Place place;
    char *out = m_texts->reserve(4 * qsizetype(text.size()), place);
    const auto bytes = qsizetype(writeUtf8(text, out) - out);
    m_texts->commit(bytes);
    m_entries.push_back({startMs, endMs, place, quint32(bytes), tag});
    m_numbers.push_back(number);
}

void SubtitleRows::appendSharingText(int number, qint64 startMs, qint64 endMs, const SubtitleRows &source,
                                     qsizetype sourceIndex, int tag)
{
    Q_ASSERT(source.m_texts == m_sharedTexts);
    const Entry &shared = source.m_entries[std::size_t(sourceIndex)];
    Q_ASSERT(!(shared.text & Shared));
    m_entries.push_back({startMs, endMs, shared.text | Shared, shared.textBytes, tag});
    m_numbers.push_back(number);
}

void SubtitleRows::appendRowOf(const SubtitleRows &other, qsizetype index)
{
    Q_ASSERT(other.m_texts == m_texts && other.m_sharedTexts == m_sharedTexts);
    m_entries.push_back(other.m_entries[std::size_t(index)]);
    m_numbers.push_back(other.m_numbers[std::size_t(index)]);
}

void SubtitleRows::replace(qsizetype position, qsizetype count, std::span<const SubtitleRow> rows)
{
    const auto newCount = qsizetype(rows.size());
    if (newCount > count) {
        const std::size_t more = std::size_t(newCount - count);
        m_entries.insert(m_entries.begin() + position + count, more, Entry{});
        m_numbers.insert(m_numbers.begin() + position + count, more, 0);
    } else if (newCount < count) {
        erase(position + newCount, count - newCount);
    }
    for (qsizetype i = 0; i < newCount; ++i) {
        m_entries[std::size_t(position + i)] = entryFor(rows[std::size_t(i)]);
        m_numbers[std::size_t(position + i)] = rows[std::size_t(i)].number;
    }
}

void SubtitleRows::erase(qsizetype position, qsizetype count)
{
    m_entries.erase(m_entries.begin() + position, m_entries.begin() + position + count);
    m_numbers.erase(m_numbers.begin() + position, m_numbers.begin() + position + count);
}

void SubtitleRows::setText(qsizetype index, const QString &text)
{
    // The old text stays in its block: nothing in it ever moves.
    const QByteArray utf8 = text.toUtf8();
    Entry &entry = m_entries[std::size_t(index)];
    entry.text = m_texts->append(utf8);
    entry.textBytes = quint32(utf8.size());
}

void SubtitleRows::renumberFrom(qsizetype position)
{
    for (std::size_t i = std::size_t(std::max<qsizetype>(position, 0)); i < m_numbers.size(); ++i)
        m_numbers[i] = qint32(i + 1);
}
