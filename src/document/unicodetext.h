// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>
#include <string_view>

// Conversions between UTF-8 bytes and UTF-32 text on the hot path of
// reading and writing subtitles, with a fast lane for ASCII.

// The first thing wrong with bytes as UTF-8 text, found in one pass: bytes
// are read once, which matters for files far larger than the cache.
struct Utf8Check
{
    enum class Result { Valid, Invalid, Nul };
    Result result = Result::Valid;
    qsizetype offset = -1;
};
Utf8Check checkUtf8Text(QByteArrayView bytes);

// Appends UTF-8 that is known to be valid to text.
void appendUtf8(std::u32string &text, QByteArrayView utf8);

// Writes text as UTF-8 at out, which has room for 4 bytes per character;
// returns the end of what was written.
char *writeUtf8(std::u32string_view text, char *out);

// Text as QString, keeping a U+FEFF at the start: Qt's own conversions take
// it for a byte-order mark and drop it, which would change the text.
QString toQString(std::u32string_view text);
QString utf8ToQString(QByteArrayView utf8);

// Whether text reads right to left: its first strongly directed letter,
// outside <...> and {...} format tags, is Hebrew, Arabic or the like.
bool isRightToLeftText(QStringView text);
