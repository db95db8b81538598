// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/textblocks.h"
#include "document/subtitlerow.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <span>
#include <string_view>
#include <vector>

// The rows of one list, held compactly: times as whole milliseconds,
// formatted only when shown or saved, and texts as UTF-8 in large shared
// blocks, so a row costs 36 bytes and no allocation of its own. A list of
// corrected rows may point at the texts of the rows as read instead of
// copying the ones the correction left alone. SubtitleRow is the value a
// row is handed in and out as.
class SubtitleRows
{
public:
    SubtitleRows();
    // Times that cannot be read count as 00:00:00,000.
    explicit SubtitleRows(std::span<const SubtitleRow> rows);

    // An empty list whose rows may take their texts from source's rows
    // without a copy (appendSharingText); source's texts stay alive with it.
    static SubtitleRows sharingTextsOf(const SubtitleRows &source);
    // An empty list that writes into the same blocks, so rows move between
    // the two without their texts (appendRowOf).
    SubtitleRows emptyLike() const;

    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    void reserve(qsizetype rows);

    qint64 startMs(qsizetype index) const { return m_entries[std::size_t(index)].startMs; }
    qint64 endMs(qsizetype index) const { return m_entries[std::size_t(index)].endMs; }
    int tag(qsizetype index) const { return m_entries[std::size_t(index)].tag; }
    int number(qsizetype index) const { return m_numbers[std::size_t(index)]; }
    QByteArrayView textUtf8(qsizetype index) const;
    QString text(qsizetype index) const;
    SubtitleRow row(qsizetype index) const;
    std::vector<SubtitleRow> toVector() const;

    void append(const SubtitleRow &row);
    void append(int number, qint64 startMs, qint64 endMs, QByteArrayView utf8Text, int tag);
    void append(int number, qint64 startMs, qint64 endMs, std::u32string_view text, int tag);
    // A row with the text of source's row sourceIndex; source must be the
    // list this one was made sharingTextsOf.
    void appendSharingText(int number, qint64 startMs, qint64 endMs, const SubtitleRows &source,
                           qsizetype sourceIndex, int tag);
    // other's row index as it stands; other shares this list's blocks
    // (emptyLike), so its text is not copied.
    void appendRowOf(const SubtitleRows &other, qsizetype index);

    void insert(qsizetype position, const SubtitleRow &row) { replace(position, 0, {&row, 1}); }
    void erase(qsizetype position, qsizetype count = 1);
    // The count rows at position become rows, moving the rows after them
    // at most once.
    void replace(qsizetype position, qsizetype count, std::span<const SubtitleRow> rows);

    void setText(qsizetype index, const QString &text);
    void setStartMs(qsizetype index, qint64 startMs) { m_entries[std::size_t(index)].startMs = startMs; }
    void setEndMs(qsizetype index, qint64 endMs) { m_entries[std::size_t(index)].endMs = endMs; }
    void setTag(qsizetype index, int tag) { m_entries[std::size_t(index)].tag = tag; }
    // Numbers every row from position on by its place in the list (1-based).
    void renumberFrom(qsizetype position);

private:
    // Set in Entry::text when the text stands in m_sharedTexts.
    static constexpr TextBlocks::Place Shared = TextBlocks::Place(1) << 63;

    struct Entry
    {
        qint64 startMs = 0;
        qint64 endMs = 0;
        TextBlocks::Place text = 0;
        quint32 textBytes = 0;
        qint32 tag = 0;
    };

    Entry entryFor(const SubtitleRow &row);

    std::vector<Entry> m_entries;
    std::vector<qint32> m_numbers; // apart: most code never reads them
    std::shared_ptr<TextBlocks> m_texts;
    std::shared_ptr<const TextBlocks> m_sharedTexts; // another list's, read only
};
