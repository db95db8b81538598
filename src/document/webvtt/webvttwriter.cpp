// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/webvtt/webvttwriter.h"

#include "document/rows/subtitlerows.h"
#include "document/webvtt/webvttlayout.h"
#include "document/webvtt/webvtttime.h"

#include <algorithm>

namespace {

bool onlyLineEnds(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// Splits text into lines at CR LF, CR or LF; each() hears every line.
template<typename Each>
void forEachLine(QByteArrayView text, Each each)
{
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        each(text.sliced(begin, i - begin));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
}

// Whether the row's text is the cue's as read, whatever ends their lines.
bool sameText(QByteArrayView rowText, QByteArrayView asRead)
{
    std::vector<QByteArrayView> lines;
    forEachLine(rowText, [&](QByteArrayView line) { lines.push_back(line); });
    std::size_t at = 0;
    bool same = true;
    forEachLine(asRead, [&](QByteArrayView line) { same = same && at < lines.size() && lines[at++] == line; });
    return same && at == lines.size();
}

} // namespace

WebVttWriter::WebVttWriter(std::shared_ptr<const WebVttLayout> layout, const FileEncoding &encoding)
    : m_layout(std::move(layout))
{
    if (encoding.hasBom)
        m_buffer.append("\xEF\xBB\xBF");
    append(m_layout->gapBefore(1));
}

void WebVttWriter::append(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    m_buffer.append(bytes);
    int count = 0;
    qsizetype i = bytes.size();
    for (; i > 0 && count < 2; ++count) {
        if (bytes[i - 1] == '\n')
            i -= i >= 2 && bytes[i - 2] == '\r' ? 2 : 1;
        else if (bytes[i - 1] == '\r')
            --i;
        else
            break;
    }
    m_lineEndsAtEnd = i == 0 ? std::min(2, m_lineEndsAtEnd + count) : count;
}

void WebVttWriter::writeGapsUpTo(qsizetype ordinal)
{
    for (qsizetype k = m_gapsWritten + 1; k <= ordinal; ++k) {
        const QByteArrayView gap = m_layout->gapBefore(k);
        // A cue that is gone takes its last line end and the blank lines
        // after it along; a block that holds more stays.
        if (k - 1 == m_lastCue || !onlyLineEnds(gap)) {
            append(gap);
            m_atGapOf = k;
        }
    }
    m_gapsWritten = std::max(m_gapsWritten, ordinal);
}

void WebVttWriter::separate()
{
    for (int missing = 2 - m_lineEndsAtEnd; missing > 0; --missing)
        append(m_layout->lineEnd());
}

void WebVttWriter::writeTime(qint64 milliseconds, int hourDigits)
{
    char time[MaxWebVttTimeLength];
    append(QByteArrayView(time, writeWebVttTime(milliseconds, hourDigits, time)));
}

void WebVttWriter::writeText(QByteArrayView utf8Text, QByteArrayView lineEnd)
{
    bool first = true;
    forEachLine(utf8Text, [&](QByteArrayView line) {
        if (line.isEmpty())
            return;
        if (!first)
            append(lineEnd);
        first = false;
        for (qsizetype arrow; (arrow = line.indexOf("-->")) >= 0; line = line.sliced(arrow + 3)) {
            append(line.first(arrow));
            append("--&gt;");
        }
        append(line);
    });
}

void WebVttWriter::writeRow(int tag, qint64 startMs, qint64 endMs, QByteArrayView utf8Text)
{
    ++m_rowCount;
    const WebVttLayout &layout = *m_layout;
    const QByteArrayView source = layout.text();
    const auto between = [&](qsizetype begin, qsizetype end) { append(source.sliced(begin, end - begin)); };
    if (tag > m_lastCue && tag <= layout.cueCount()) {
        writeGapsUpTo(tag);
        if (m_atGapOf != tag)
            separate();
        const WebVttCueLayout &cue = layout.cue(tag);
        between(cue.blockBegin, cue.startBegin);
        if (startMs == layout.startMs(tag) && !cue.startLenient)
            between(cue.startBegin, cue.startEnd);
        else
            writeTime(startMs, cue.startHourDigits);
        between(cue.startEnd, cue.endBegin);
        if (endMs == layout.endMs(tag) && !cue.endLenient)
            between(cue.endBegin, cue.endEnd);
        else
            writeTime(endMs, cue.endHourDigits);
        between(cue.endEnd, cue.textBegin);
        const QByteArrayView asRead = source.sliced(cue.textBegin, cue.blockEnd - cue.textBegin);
        if (sameText(utf8Text, asRead))
            append(asRead);
        else
            writeText(utf8Text, layout.lineEndOf(tag));
        m_lastCue = tag;
        m_atGapOf = 0;
        m_hourDigits = cue.startHourDigits;
        return;
    }

    separate();
    if (tag > 0 && tag <= layout.cueCount()) {
        const WebVttCueLayout &cue = layout.cue(tag);
        writeTime(startMs, cue.startHourDigits);
        between(cue.startEnd, cue.endBegin);
        writeTime(endMs, cue.endHourDigits);
        between(cue.endEnd, cue.textBegin);
        writeText(utf8Text, layout.lineEndOf(tag));
    } else {
        writeTime(startMs, m_hourDigits);
        append(" --> ");
        writeTime(endMs, m_hourDigits);
        append(layout.lineEnd());
        writeText(utf8Text, layout.lineEnd());
    }
    m_atGapOf = 0;
}

void WebVttWriter::finish()
{
    const qsizetype end = m_layout->cueCount() + 1;
    if (end == 1)
        return; // the header was all there is
    writeGapsUpTo(end - 1);
    const QByteArrayView last = m_layout->gapBefore(end);
    // The file's last line end, even after a cue that is gone.
    if (m_lastCue == end - 1 || !onlyLineEnds(last) || m_lineEndsAtEnd == 0)
        append(last);
}

QByteArray webVttFileBytes(const SubtitleRows &rows, std::shared_ptr<const WebVttLayout> layout,
                           const FileEncoding &encoding)
{
    WebVttWriter writer(std::move(layout), encoding);
    for (qsizetype i = 0; i < rows.size(); ++i)
        writer.writeRow(rows.tag(i), rows.startMs(i), rows.endMs(i), rows.textUtf8(i));
    writer.finish();
    return writer.take();
}
