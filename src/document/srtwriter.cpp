// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtwriter.h"

#include "document/srtparser.h"
#include "document/subtitlefile.h"
#include "document/timecode.h"

#include <charconv>

SrtWriter::SrtWriter(QByteArray &out, const FileEncoding &encoding) : m_out(out)
{
    if (encoding.kind == FileEncoding::Kind::Utf8 && encoding.hasBom)
        m_out.append("\xEF\xBB\xBF");
}

void SrtWriter::writeRow(int number, double startSeconds, double endSeconds, std::u32string_view text)
{
    // Number, times and separators go through one small stack buffer.
    char line[16 + 2 * MaxTimeTextLength + 16];
    char *p = std::to_chars(line, line + 16, number).ptr;
    *p++ = '\r';
    *p++ = '\n';
    p += writeTimeText(startSeconds, p);
    for (char c : {' ', '-', '-', '>', ' '})
        *p++ = c;
    p += writeTimeText(endSeconds, p);
    *p++ = '\r';
    *p++ = '\n';
    m_out.append(line, p - line);
    appendUtf32(m_out, text);
    m_out.append("\r\n\r\n", 4);
    ++m_rowCount;
}

void SrtWriter::writeRow(const SubtitleRow &row)
{
    m_out.append(QByteArray::number(row.number));
    m_out.append("\r\n", 2);
    m_out.append(row.startText.toUtf8());
    m_out.append(" --> ", 5);
    m_out.append(row.endText.toUtf8());
    m_out.append("\r\n", 2);
    m_out.append(row.text.toUtf8());
    m_out.append("\r\n\r\n", 4);
    ++m_rowCount;
}

bool encodeSubtitleFile(std::span<const SubtitleRow> rows, const FileEncoding &encoding,
                        QByteArray &fileBytes, QString &badCharacter)
{
    QByteArray utf8;
    SrtWriter writer(utf8, encoding);
    for (const SubtitleRow &row : rows)
        writer.writeRow(row);
    return encodeForFile(utf8, encoding, fileBytes, badCharacter);
}
