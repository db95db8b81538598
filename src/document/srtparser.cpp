// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtparser.h"

#include "document/timecode.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <string_view>

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
    const qsizetype searched = std::min<qsizetype>(line.size(), 64 + 2);
    const void *hit = memmem(line.data(), size_t(searched), "-->", 3);
    if (!hit)
        return nullptr;
    const char *arrow = static_cast<const char *>(hit);
    int codePoints = 0;
    for (const char *p = line.data(); p != arrow; ++p) {
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++codePoints;
    }
    return codePoints < 16 ? arrow : nullptr;
}

} // namespace

void appendUtf8(std::u32string &text, QByteArrayView utf8)
{
    const size_t oldSize = text.size();
    text.resize(oldSize + size_t(utf8.size()));
    char32_t *out = text.data() + oldSize;
    const auto *in = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = in + utf8.size();
    while (in != end) {
        const unsigned lead = *in;
        if (lead < 0x80) {
            *out++ = lead;
            ++in;
        } else if (lead < 0xE0) {
            *out++ = char32_t((lead & 0x1F) << 6 | (in[1] & 0x3F));
            in += 2;
        } else if (lead < 0xF0) {
            *out++ = char32_t((lead & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F));
            in += 3;
        } else {
            *out++ = char32_t((lead & 0x07) << 18 | (in[1] & 0x3F) << 12 | (in[2] & 0x3F) << 6 | (in[3] & 0x3F));
            in += 4;
        }
    }
    text.resize(size_t(out - text.data()));
}

void appendUtf32(QByteArray &utf8, std::u32string_view text)
{
    const qsizetype oldSize = utf8.size();
    utf8.resize(oldSize + qsizetype(text.size()) * 4);
    auto *out = reinterpret_cast<unsigned char *>(utf8.data()) + oldSize;
    for (const char32_t c : text) {
        if (c < 0x80) {
            *out++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | c >> 6);
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out++ = static_cast<unsigned char>(0xE0 | c >> 12);
            *out++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<unsigned char>(0xF0 | c >> 18);
            *out++ = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    utf8.resize(qsizetype(out - reinterpret_cast<unsigned char *>(utf8.data())));
}

SrtParser::SrtParser(QByteArrayView utf8) : m_data(utf8) {}

bool SrtParser::nextLine(QByteArrayView &line)
{
    const qsizetype size = m_data.size();
    if (m_position >= size)
        return false;
    const char *data = m_data.data();
    auto find = [&](char c) {
        const void *hit = std::memchr(data + m_position, c, size_t(size - m_position));
        return hit ? qsizetype(static_cast<const char *>(hit) - data) : size;
    };
    if (m_nextLf < m_position)
        m_nextLf = find('\n');
    if (m_nextCr < m_position)
        m_nextCr = find('\r');
    const qsizetype lineEnd = std::min(m_nextLf, m_nextCr);
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
    if (!m_pending.empty())
        m_pending.append(U"\r\n");
    appendUtf8(m_pending, line);
}

void SrtParser::finishEntry(SrtEntry &entry)
{
    entry.startSeconds = m_start;
    entry.endSeconds = m_end;
    entry.timeLineNumber = m_timeLineNumber;
    // Hand the text over and take the old buffer back, keeping its capacity.
    entry.text.swap(m_pending);
    m_pending.clear();
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
        const auto start = TimeTextToSeconds(trimmedBlanks(line.data(), arrow));
        const auto end = TimeTextToSeconds(trimmedBlanks(arrow + 3, line.data() + line.size()));
        if (!start || !end) {
            ReadError error;
            error.kind = ReadError::Kind::BadTimeLine;
            error.lineNumber = m_lineNumber;
            error.line = QString::fromUtf8(line);
            m_error = error;
            m_finished = true;
            return false;
        }
        finishEntry(entry);
        m_start = *start;
        m_end = *end;
        m_timeLineNumber = m_lineNumber;
        m_sawTimeLine = true;
        // The time line itself must never become a committed text line.
        m_currentLine = QByteArrayView();
        return true;
    }

    // The last line has no line after it to commit it.
    m_finished = true;
    if (!isBlank(m_currentLine))
        commit(m_currentLine);
    if (!m_sawTimeLine && !m_pending.empty()) {
        ReadError error;
        error.kind = ReadError::Kind::NoTimeLine;
        m_error = error;
        return false;
    }
    finishEntry(entry);
    return true;
}

bool readSubtitleRows(QByteArrayView utf8, std::vector<SubtitleRow> &rows, ReadError &error)
{
    rows.clear();
    SrtParser parser(utf8);
    SrtEntry entry;
    while (parser.next(entry)) {
        if (entry.text.empty())
            continue;
        rows.push_back({int(rows.size() + 1), SecondsToTimeText(entry.startSeconds),
                        SecondsToTimeText(entry.endSeconds),
                        QString::fromUcs4(entry.text.data(), qsizetype(entry.text.size())), 0});
    }
    if (parser.error()) {
        error = *parser.error();
        return false;
    }
    return true;
}
