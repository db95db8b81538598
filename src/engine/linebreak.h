// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <string>
#include <string_view>

// Measuring and breaking subtitle text. Text is UTF-32, so lengths and
// positions count characters; positions are 1-based as users count them,
// and 0 means "not found". A blank is the space character only.

// Position of the last blank at or before position, or 0.
qsizetype lastBlankAtOrBefore(std::u32string_view text, qsizetype position);
// Position of the first blank at or after position, or 0.
qsizetype firstBlankAtOrAfter(std::u32string_view text, qsizetype position);

// Replaces the blank at position with CR LF; nothing else is trimmed.
void breakAt(std::u32string &text, qsizetype position);

// The shape of a text whose lines are separated by CR LF, measured in one
// pass.
struct LineStats
{
    qint64 longestLine = 0; // characters
    qint32 lineBreaks = 0;  // CR LF pairs: the lines are one more
    qint64 length = 0;      // characters in all, line breaks included
};
LineStats lineStats(std::u32string_view text);
// The same from valid UTF-8, counting characters, without decoding it.
LineStats lineStats(QByteArrayView utf8Text);

// Replaces every CR LF by one blank.
void joinLines(std::u32string &text);

// Where a part of a split subtitle is broken to balance it over two lines:
// the first blank from the middle on, or failing that the last within
// maxLength; 0 when the part fits or has no usable blank, so stays one line.
qsizetype middleBreakPosition(std::u32string_view part, qint64 maxLength);
