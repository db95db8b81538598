// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitlerow.h"
#include "document/textencoding.h"

#include <QByteArray>

#include <span>
#include <string_view>

// Appends subtitles in SRT form to a UTF-8 buffer: number, time line, text,
// blank line, each line ended by CR LF. Numbers and times are written as
// given; nothing is renumbered.
class SrtWriter
{
public:
    // Starts out with the UTF-8 byte-order mark when encoding has one.
    SrtWriter(QByteArray &out, const FileEncoding &encoding);

    void writeRow(int number, double startSeconds, double endSeconds, std::u32string_view text);
    void writeRow(const SubtitleRow &row);

    qsizetype rowCount() const { return m_rowCount; }

private:
    QByteArray &m_out;
    qsizetype m_rowCount = 0;
};

// The bytes of a whole file holding rows, in encoding. False, with the
// character in badCharacter, when the encoding cannot hold the text.
bool encodeSubtitleFile(std::span<const SubtitleRow> rows, const FileEncoding &encoding,
                        QByteArray &fileBytes, QString &badCharacter);
