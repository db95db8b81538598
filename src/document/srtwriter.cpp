// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtwriter.h"

#include "document/textencoder.h"
#include "document/timecode.h"
#include "document/unicodetext.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// Number, time line and separators of one row, at most.
constexpr qsizetype RowFrameBytes = 16 + 2 * MaxTimeTextLength + 16;

char *append(char *out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

// The number and the time line of a row, each followed by CR LF.
char *rowHead(char *out, int number, qint64 startMs, qint64 endMs)
{
    out = std::to_chars(out, out + 16, number).ptr;
    out = append(out, "\r\n");
    out += writeMillisecondsText(startMs, out);
    out = append(out, " --> ");
    out += writeMillisecondsText(endMs, out);
    return append(out, "\r\n");
}

} // namespace

SrtWriter::SrtWriter(const FileEncoding &encoding, qsizetype expectedBytes)
{
    m_buffer.resize(std::max<qsizetype>(expectedBytes, 4096));
    if (encoding.kind == FileEncoding::Kind::Utf8 && encoding.hasBom)
        advanceTo(append(reserve(3), "\xEF\xBB\xBF"));
}

char *SrtWriter::reserve(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size())
        m_buffer.resize(std::max(m_buffer.size() * 2, m_used + bytes)); // new bytes stay uninitialized
    return m_buffer.data() + m_used;
}

void SrtWriter::writeRow(int number, double startSeconds, double endSeconds, std::u32string_view text)
{
    char *p = reserve(RowFrameBytes + 4 * qsizetype(text.size()) + 4);
    p = rowHead(p, number, SecondsToMilliseconds(startSeconds), SecondsToMilliseconds(endSeconds));
    p = writeUtf8(text, p);
    advanceTo(append(p, "\r\n\r\n"));
    ++m_rowCount;
}

void SrtWriter::writeRow(int number, double startSeconds, double endSeconds, QByteArrayView utf8Text)
{
    char *p = reserve(RowFrameBytes + utf8Text.size());
    p = rowHead(p, number, SecondsToMilliseconds(startSeconds), SecondsToMilliseconds(endSeconds));
    p = append(p, utf8Text);
    advanceTo(append(p, "\r\n\r\n"));
    ++m_rowCount;
}

void SrtWriter::writeRow(const SubtitleRow &row)
{
    const QByteArray start = row.startText.toUtf8();
    const QByteArray end = row.endText.toUtf8();
    const QByteArray text = row.text.toUtf8();
    char *p = reserve(RowFrameBytes + start.size() + end.size() + text.size());
    p = std::to_chars(p, p + 16, row.number).ptr;
    p = append(p, "\r\n");
    p = append(p, start);
    p = append(p, " --> ");
    p = append(p, end);
    p = append(p, "\r\n");
    p = append(p, text);
    advanceTo(append(p, "\r\n\r\n"));
    ++m_rowCount;
}

void SrtWriter::writeRow(const SubtitleRows &rows, qsizetype index)
{
    const QByteArrayView text = rows.textUtf8(index);
    char *p = reserve(RowFrameBytes + text.size());
    p = rowHead(p, rows.number(index), rows.startMs(index), rows.endMs(index));
    p = append(p, text);
    advanceTo(append(p, "\r\n\r\n"));
    ++m_rowCount;
}

QByteArray SrtWriter::take()
{
    m_buffer.truncate(m_used);
    m_used = 0;
    return std::exchange(m_buffer, QByteArray());
}

bool encodeSubtitleFile(std::span<const SubtitleRow> rows, const FileEncoding &encoding,
                        QByteArray &fileBytes, QString &badCharacter)
{
    SrtWriter writer(encoding);
    for (const SubtitleRow &row : rows)
        writer.writeRow(row);
    return encodeForFile(writer.take(), encoding, fileBytes, badCharacter);
}

bool encodeSubtitleFile(const SubtitleRows &rows, const FileEncoding &encoding, QByteArray &fileBytes,
                        QString &badCharacter)
{
    // Sized once, as growing a buffer of 100 MB copies it: a number of up to
    // ten digits, two times of up to 99 hours and the separators take 47
    // bytes a row at most.
    qsizetype expectedBytes = 3;
    for (qsizetype i = 0; i < rows.size(); ++i)
        expectedBytes += 47 + rows.textUtf8(i).size();
    SrtWriter writer(encoding, expectedBytes);
    for (qsizetype i = 0; i < rows.size(); ++i)
        writer.writeRow(rows, i);
    return encodeForFile(writer.take(), encoding, fileBytes, badCharacter);
}
