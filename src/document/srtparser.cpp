// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtparser.h"

#include "document/subtitleparser.h"
#include "document/timecode.h"
#include "document/unicodetext.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' '; });
}

std::string_view trimmedBlanks(const char *begin, const char *end)
{
    while (begin != end && *begin == ' ')
        ++begin;
    while (end != begin && end[-1] == ' ')
        --end;
    return std::string_view(begin, size_t(end - begin));
}

// A subtitle number, or nothing: what may stand right before a time line
// without being dialogue.
bool isNumberLine(QByteArrayView line)
{
    const std::string_view trimmed = trimmedBlanks(line.data(), line.data() + line.size());
    return std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Where "-->" starts when it makes this a time line, else nullptr. The
// first occurrence must start within the first 16 characters; 16 code points
// span at most 64 bytes, so the search never needs to go further.
const char *timeLineArrow(QByteArrayView line)
{
    const char *begin = line.data();
    const char *end = begin + std::min<qsizetype>(line.size(), 64 + 2);
    // Look for the '>', rarer in text than '-'.
    const char *arrow = nullptr;
    for (const char *from = begin + 2; from < end && !arrow;) {
        const auto *greater = static_cast<const char *>(std::memchr(from, '>', size_t(end - from)));
        if (!greater)
            return nullptr;
        if (greater[-1] == '-' && greater[-2] == '-')
            arrow = greater - 2;
        from = greater + 1;
    }
    if (!arrow)
        return nullptr;
    int codePoints = 0;
    for (const char *p = begin; p != arrow; ++p) {
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++codePoints;
    }
    return codePoints < 16 ? arrow : nullptr;
}

// The first CR or LF in [p, end), or end.
const char *findLineEnd(const char *p, const char *end)
{
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (hits)
            return p + __builtin_ctz(unsigned(hits));
        p += 16;
    }
#endif
    while (p != end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

} // namespace

SrtParser::SrtParser(QByteArrayView utf8, bool lenientTimes, bool keepUtf8)
    : m_data(utf8), m_lenientTimes(lenientTimes), m_keepUtf8(keepUtf8)
{
}

bool SrtParser::nextLine(QByteArrayView &line)
{
    const qsizetype size = m_data.size();
    if (m_position >= size)
        return false;
    const char *data = m_data.data();
    const qsizetype lineEnd = findLineEnd(data + m_position, data + size) - data;
    line = m_data.sliced(m_position, lineEnd - m_position);
    if (lineEnd == size)
        m_position = size;
    else if (data[lineEnd] == '\r' && lineEnd + 1 < size && data[lineEnd + 1] == '\n')
        m_position = lineEnd + 2;
    else
        m_position = lineEnd + 1;
    ++m_lineNumber;
    return true;
}

void SrtParser::commit(QByteArrayView line)
{
    if (m_keepUtf8) {
        if (!m_pendingUtf8.empty())
            m_pendingUtf8.append("\r\n");
        m_pendingUtf8.append(line.data(), std::size_t(line.size()));
        return;
    }
    if (!m_pending.empty())
        m_pending.append(U"\r\n");
    appendUtf8(m_pending, line);
}

void SrtParser::finishEntry(SrtEntry &entry)
{
    entry.startSeconds = m_start;
    entry.endSeconds = m_end;
    // Hand the text over and take the old buffer back, keeping its capacity.
    entry.text.swap(m_pending);
    m_pending.clear();
    entry.utf8Text.swap(m_pendingUtf8);
    m_pendingUtf8.clear();
}

bool SrtParser::next(SrtEntry &entry)
{
    if (m_finished)
        return false;
    QByteArrayView line;
    while (nextLine(line)) {
        m_previousLine = m_currentLine;
        m_currentLine = line;
        const char *arrow = timeLineArrow(line);
        if (!arrow) {
            if (!isBlank(m_previousLine))
                commit(m_previousLine);
            continue;
        }
        if (!isNumberLine(m_previousLine))
            commit(m_previousLine);
        const std::string_view startText = trimmedBlanks(line.data(), arrow);
        const std::string_view endText = trimmedBlanks(arrow + 3, line.data() + line.size());
        auto start = TimeTextToSeconds(startText);
        auto end = TimeTextToSeconds(endText);
        if (!start || !end) {
            const auto lenientStart = start ? start : lenientTimeTextToSeconds(startText);
            const auto lenientEnd = end ? end : lenientTimeTextToSeconds(endText);
            const bool lenientReads = lenientStart && lenientEnd;
            if (!lenientReads || !m_lenientTimes) {
                ReadError error;
                error.kind = ReadError::Kind::BadTimeLine;
                error.lineNumber = m_lineNumber;
                error.line = utf8ToQString(line);
                error.lenientTimesWouldRead = lenientReads;
                m_error = error;
                m_finished = true;
                return false;
            }
            start = lenientStart;
            end = lenientEnd;
            ++m_lenientTimeLines;
        }
        finishEntry(entry);
        m_start = *start;
        m_end = *end;
        m_sawTimeLine = true;
        // The time line itself must never become a committed text line.
        m_currentLine = QByteArrayView();
        return true;
    }

    // The last line has no line after it to commit it.
    m_finished = true;
    if (!isBlank(m_currentLine))
        commit(m_currentLine);
    if (!m_sawTimeLine && !(m_pending.empty() && m_pendingUtf8.empty())) {
        ReadError error;
        error.kind = ReadError::Kind::NoTimeLine;
        m_error = error;
        return false;
    }
    finishEntry(entry);
    return true;
}

qsizetype expectedSubtitleRows(QByteArrayView utf8)
{
    return utf8.size() / 40 + 16;
}

bool readSubtitleRows(QByteArrayView utf8, SubtitleRows &rows, ReadError &error, bool lenientTimes,
                      const std::function<void(qsizetype)> &textDone)
{
    rows = SubtitleRows();
    rows.reserve(expectedSubtitleRows(utf8));
    SubtitleParser parser(utf8, lenientTimes, true);
    SrtEntry entry;
    qsizetype told = 0;
    while (parser.next(entry)) {
        if (textDone && parser.position() - told >= TextDoneStep)
            textDone(told = parser.position());
        if (entry.utf8Text.empty())
            continue;
        rows.append(int(rows.size() + 1), SecondsToMilliseconds(entry.startSeconds),
                    SecondsToMilliseconds(entry.endSeconds), QByteArrayView(entry.utf8Text), 0);
    }
    if (parser.error()) {
        error = *parser.error();
        return false;
    }
    return true;
}

bool readSubtitleRows(QByteArrayView utf8, std::vector<SubtitleRow> &rows, ReadError &error, bool lenientTimes)
{
    SubtitleRows compact;
    const bool read = readSubtitleRows(utf8, compact, error, lenientTimes);
    rows = compact.toVector();
    return read;
}
