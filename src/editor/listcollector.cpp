// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/listcollector.h"

#include "document/timecode.h"
#include "engine/readingspeed.h"

#include <algorithm>

namespace {

// Whether utf8 (valid) spells text, without converting either.
bool sameText(QByteArrayView utf8, std::u32string_view text)
{
    const auto *in = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = in + utf8.size();
    for (const char32_t c : text) {
        if (in == end)
            return false;
        const unsigned lead = *in;
        char32_t decoded;
        if (lead < 0x80) {
            decoded = lead;
            in += 1;
        } else if (lead < 0xE0) {
            if (end - in < 2)
                return false;
            decoded = char32_t((lead & 0x1F) << 6 | (in[1] & 0x3F));
            in += 2;
        } else if (lead < 0xF0) {
            if (end - in < 3)
                return false;
            decoded = char32_t((lead & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F));
            in += 3;
        } else {
            if (end - in < 4)
                return false;
            decoded = char32_t((lead & 0x07) << 18 | (in[1] & 0x3F) << 12 | (in[2] & 0x3F) << 6 | (in[3] & 0x3F));
            in += 4;
        }
        if (decoded != c)
            return false;
    }
    return in == end;
}

} // namespace

ListCollector::ListCollector(const SubtitleRows &held, qsizetype expectedRows, bool heldIsAsRead,
                             std::function<void(qsizetype)> textDone, qint32 lettersPerSecond)
    : m_held(held), m_expectedRows(expectedRows), m_heldIsAsRead(heldIsAsRead), m_textDone(std::move(textDone)),
      m_lettersPerSecond(lettersPerSecond), m_corrected(SubtitleRows::sharingTextsOf(held))
{
    // Room for a split in every fourth subtitle; more only makes it grow.
    m_corrected.reserve(expectedRows + expectedRows / 4);
}

void ListCollector::startReadRows(qsizetype heldRows)
{
    // Into the held list's blocks, so the rows kept from it cost no copy of
    // their texts and the corrected rows may share texts with both.
    m_read = m_held.emptyLike();
    m_read->reserve(std::max(m_expectedRows, heldRows));
    for (qsizetype i = 0; i < heldRows; ++i)
        m_read->appendRowOf(m_held, i);
}

void ListCollector::addSubtitleAsRead(const SubtitleAsRead &subtitle)
{
    ++m_readCount;
    if (m_heldIsAsRead)
        return;
    const qint64 startMs = SecondsToMilliseconds(subtitle.startSeconds);
    const qint64 endMs = SecondsToMilliseconds(subtitle.endSeconds);
    const qsizetype index = subtitle.ordinal - 1;
    if (!m_read) {
        if (index < m_held.size() && m_held.startMs(index) == startMs && m_held.endMs(index) == endMs
            && sameText(m_held.textUtf8(index), subtitle.text))
            return;
        startReadRows(index);
    }
    m_read->append(subtitle.ordinal, startMs, endMs, subtitle.text, 0);
}

void ListCollector::addSubtitle(const CorrectedSubtitle &subtitle)
{
    const qint64 startMs = SecondsToMilliseconds(subtitle.startSeconds);
    const qint64 endMs = SecondsToMilliseconds(subtitle.endSeconds);
    // As the list measures its rows (times as shown), so the counts agree.
    m_tooFastCount += readingSpeed(readingLength(subtitle.text), MillisecondsToSeconds(startMs),
                                   MillisecondsToSeconds(endMs), m_lettersPerSecond)
                          .isTooFast();
    if (subtitle.textAsRead)
        m_corrected.appendSharingText(subtitle.number, startMs, endMs, m_read ? *m_read : m_held,
                                      subtitle.ordinal - 1, subtitle.ordinal);
    else
        m_corrected.append(subtitle.number, startMs, endMs, subtitle.text, subtitle.ordinal);
}

std::optional<SubtitleRows> ListCollector::takeRowsAsRead()
{
    // The file may also have lost subtitles at its end.
    if (!m_read && m_readCount < m_held.size())
        startReadRows(m_readCount);
    return std::move(m_read);
}
