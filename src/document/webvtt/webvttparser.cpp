// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/webvtt/webvttparser.h"

#include "document/subtitleformat.h"
#include "document/timecode.h"
#include "document/unicodetext.h"
#include "document/webvtt/webvtttime.h"

#include <algorithm>
#include <string_view>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\f';
}

bool isTimeCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == ':' || c == '.';
}

bool hasArrow(QByteArrayView line)
{
    return line.contains("-->");
}

// Digits before the first of two or more colons: the hours of a time the
// LenientTimes variants read.
qint8 lenientHourDigits(std::string_view text)
{
    const size_t first = text.find(':');
    if (first == std::string_view::npos || text.find(':', first + 1) == std::string_view::npos)
        return 0;
    size_t begin = 0;
    while (begin < first && text[begin] == ' ')
        ++begin;
    return qint8(std::min<size_t>(first - begin, 8));
}

struct ReadTime
{
    double seconds = 0.0;
    qint8 hourDigits = 0;
    bool strict = false;
    bool lenient = false;
};

// The time in line[begin, end); a time followed by settings without a blank
// ("00:02.000align:start") ends where its characters do, moving end.
ReadTime readTime(QByteArrayView line, qsizetype begin, qsizetype &end)
{
    ReadTime time;
    const std::string_view text(line.data() + begin, size_t(end - begin));
    if (const auto strict = webVttTimeToSeconds(text)) {
        time = {strict->seconds, qint8(std::min(strict->hourDigits, 8)), true, false};
        return time;
    }
    qsizetype timeEnd = begin;
    while (timeEnd < end && isTimeCharacter(line[timeEnd]))
        ++timeEnd;
    if (timeEnd < end) {
        if (const auto strict = webVttTimeToSeconds(text.substr(0, size_t(timeEnd - begin)))) {
            end = timeEnd;
            return {strict->seconds, qint8(std::min(strict->hourDigits, 8)), true, false};
        }
    }
    if (const auto lenient = lenientTimeTextToSeconds(text))
        time = {*lenient, lenientHourDigits(text), false, true};
    return time;
}

} // namespace

WebVttParser::WebVttParser(QByteArrayView utf8, bool lenientTimes, bool keepUtf8)
    : m_data(utf8), m_lenientTimes(lenientTimes), m_keepUtf8(keepUtf8)
{
}

bool WebVttParser::takeLine(Line &line)
{
    if (m_heldLine) {
        line = *m_heldLine;
        m_heldLine.reset();
        return true;
    }
    const qsizetype size = m_data.size();
    if (m_position >= size)
        return false;
    const char *data = m_data.data();
    const char *end = std::find_if(data + m_position, data + size, [](char c) { return c == '\r' || c == '\n'; });
    const qsizetype lineEnd = end - data;
    line = {m_data.sliced(m_position, lineEnd - m_position), m_position, ++m_lineNumber};
    if (lineEnd == size)
        m_position = size;
    else if (data[lineEnd] == '\r' && lineEnd + 1 < size && data[lineEnd + 1] == '\n')
        m_position = lineEnd + 2;
    else
        m_position = lineEnd + 1;
    return true;
}

void WebVttParser::putBack(const Line &line)
{
    m_heldLine = line;
}

bool WebVttParser::fail(ReadError::Kind kind, const Line &line, bool lenientWouldRead)
{
    ReadError error;
    error.kind = kind;
    error.lineNumber = line.number;
    error.line = utf8ToQString(line.text);
    error.lenientTimesWouldRead = lenientWouldRead;
    m_error = error;
    m_finished = true;
    return false;
}

bool WebVttParser::readHeader()
{
    m_headerRead = true;
    Line line;
    if (!takeLine(line) || !hasWebVttSignature(line.text))
        return fail(ReadError::Kind::NoWebVttSignature, line);
    // The header runs to a blank line; a time line ends it too.
    while (takeLine(line) && !line.text.isEmpty()) {
        if (hasArrow(line.text)) {
            putBack(line);
            break;
        }
    }
    return true;
}

WebVttParser::Timing WebVttParser::readTimeLine(const Line &line, WebVttCueLayout &layout)
{
    const QByteArrayView text = line.text;
    const qsizetype size = text.size();
    const qsizetype arrow = text.indexOf("-->");
    qsizetype startBegin = 0;
    while (startBegin < arrow && isSpace(text[startBegin]))
        ++startBegin;
    qsizetype startEnd = arrow;
    while (startEnd > startBegin && isSpace(text[startEnd - 1]))
        --startEnd;
    qsizetype endBegin = arrow + 3;
    while (endBegin < size && isSpace(text[endBegin]))
        ++endBegin;
    qsizetype endEnd = endBegin;
    while (endEnd < size && !isSpace(text[endEnd]))
        ++endEnd;

    const ReadTime start = readTime(text, startBegin, startEnd);
    const ReadTime end = readTime(text, endBegin, endEnd);
    Timing timing;
    const bool strict = start.strict && end.strict;
    const bool lenientReads = (start.strict || start.lenient) && (end.strict || end.lenient);
    timing.read = strict || (lenientReads && m_lenientTimes);
    timing.lenient = timing.read && !strict;
    timing.lenientWouldRead = lenientReads;
    timing.startSeconds = start.seconds;
    timing.endSeconds = end.seconds;
    layout.startBegin = line.begin + startBegin;
    layout.startEnd = line.begin + startEnd;
    layout.endBegin = line.begin + endBegin;
    layout.endEnd = line.begin + endEnd;
    layout.startHourDigits = start.hourDigits;
    layout.endHourDigits = end.hourDigits;
    layout.startLenient = !start.strict;
    layout.endLenient = !end.strict;
    return timing;
}

bool WebVttParser::readCue(const Line &timeLine, qsizetype blockBegin, SrtEntry &entry)
{
    m_layout = WebVttCueLayout{};
    m_layout.blockBegin = blockBegin;
    const Timing timing = readTimeLine(timeLine, m_layout);
    if (!timing.read)
        return fail(ReadError::Kind::BadTimeLine, timeLine, timing.lenientWouldRead);
    m_lenientTimeLines += timing.lenient ? 1 : 0;
    m_layout.textBegin = m_position;
    m_layout.blockEnd = timeLine.begin + timeLine.text.size();

    entry.startSeconds = timing.startSeconds;
    entry.endSeconds = timing.endSeconds;
    entry.text.clear();
    entry.utf8Text.clear();
    Line line;
    while (takeLine(line) && !line.text.isEmpty()) {
        if (hasArrow(line.text)) {
            // A time line starts the next cue; anything else with an arrow
            // in a cue's text would be lost by every reader.
            WebVttCueLayout next;
            const Timing nextTiming = readTimeLine(line, next);
            if (!nextTiming.read)
                return fail(nextTiming.lenientWouldRead ? ReadError::Kind::BadTimeLine
                                                        : ReadError::Kind::ArrowInCueText,
                            line, nextTiming.lenientWouldRead);
            putBack(line);
            break;
        }
        if (m_keepUtf8) {
            if (!entry.utf8Text.empty())
                entry.utf8Text.append("\r\n");
            entry.utf8Text.append(line.text.data(), size_t(line.text.size()));
        } else {
            if (!entry.text.empty())
                entry.text.append(U"\r\n");
            appendUtf8(entry.text, line.text);
        }
        m_layout.blockEnd = line.begin + line.text.size();
    }
    return true;
}

bool WebVttParser::next(SrtEntry &entry)
{
    if (m_finished || (!m_headerRead && !readHeader()))
        return false;
    Line line;
    while (takeLine(line)) {
        if (line.text.isEmpty())
            continue;
        if (hasArrow(line.text))
            return readCue(line, line.begin, entry);
        Line second;
        if (takeLine(second)) {
            if (hasArrow(second.text))
                return readCue(second, line.begin, entry);
            putBack(second);
        }
        // A block of another kind (NOTE, STYLE, REGION ...) runs to a blank
        // line; a line with an arrow starts a cue.
        while (takeLine(line) && !line.text.isEmpty()) {
            if (hasArrow(line.text)) {
                putBack(line);
                break;
            }
        }
    }
    m_finished = true;
    return false;
}
