// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/listcollector.h"

#include "document/timecode.h"
#include "engine/cuetext.h"
#include "engine/readingspeed.h"

#include <algorithm>

ListCollector::ListCollector(const SubtitleRows &held, qsizetype expectedRows, bool heldIsAsRead,
                             std::function<void(qsizetype)> textDone, qint32 lettersPerSecond,
                             SubtitleFormat format)
    : m_held(held), m_expectedRows(expectedRows), m_heldIsAsRead(heldIsAsRead), m_textDone(std::move(textDone)),
      m_lettersPerSecond(lettersPerSecond), m_format(format), m_corrected(SubtitleRows::sharingTextsOf(held))
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
            && m_held.textUtf8(index) == subtitle.utf8Text)
            return;
        startReadRows(index);
    }
    m_read->append(subtitle.ordinal, startMs, endMs, subtitle.utf8Text, 0);
}

void ListCollector::addSubtitle(const CorrectedSubtitle &subtitle)
{
    const qint64 startMs = SecondsToMilliseconds(subtitle.startSeconds);
    const qint64 endMs = SecondsToMilliseconds(subtitle.endSeconds);
    // As the list measures its rows (times as shown), so the counts agree.
    qint64 characters = 0;
    if (m_format == SubtitleFormat::WebVtt)
        characters = subtitle.textAsRead ? cueReadingLength(subtitle.utf8Text) : cueReadingLength(subtitle.text);
    else
        characters = subtitle.textAsRead ? readingLength(subtitle.utf8Text) : readingLength(subtitle.text);
    m_tooFastCount +=
        readingSpeed(characters, MillisecondsToSeconds(startMs), MillisecondsToSeconds(endMs), m_lettersPerSecond)
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
