// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"
#include "document/subtitlerow.h"
#include "document/textencoding.h"

#include <QByteArray>
#include <QByteArrayView>

#include <span>
#include <string_view>

// Writes subtitles in SRT form as UTF-8: number, time line, text, blank
// line, each line ended by CR LF. Numbers and times are written as given;
// nothing is renumbered. The bytes can be taken whole, or drained piece by
// piece into a file so a large document is never held twice.
class SrtWriter
{
public:
    // Starts out with the UTF-8 byte-order mark when encoding has one.
    explicit SrtWriter(const FileEncoding &encoding, qsizetype expectedBytes = 0);

    void writeRow(int number, double startSeconds, double endSeconds, std::u32string_view text);
    void writeRow(int number, double startSeconds, double endSeconds, QByteArrayView utf8Text);
    void writeRow(const SubtitleRow &row);
    void writeRow(const SubtitleRows &rows, qsizetype index);

    qsizetype rowCount() const { return m_rowCount; }

    // What was written since the start or the last discardPending().
    QByteArrayView pending() const { return QByteArrayView(m_buffer.constData(), m_used); }
    void discardPending() { m_used = 0; }
    QByteArray take();

private:
    // Room for at least bytes more; the cursor where they go.
    char *reserve(qsizetype bytes);
    void advanceTo(const char *end) { m_used = end - m_buffer.constData(); }

    QByteArray m_buffer; // sized ahead; only the first m_used bytes count
    qsizetype m_used = 0;
    qsizetype m_rowCount = 0;
};

// The bytes of a whole file holding rows, in encoding. False, with the
// character in badCharacter, when the encoding cannot hold the text.
bool encodeSubtitleFile(std::span<const SubtitleRow> rows, const FileEncoding &encoding,
                        QByteArray &fileBytes, QString &badCharacter);
bool encodeSubtitleFile(const SubtitleRows &rows, const FileEncoding &encoding, QByteArray &fileBytes,
                        QString &badCharacter);
