// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>
#include <string>
#include <string_view>

// The two halves of a subtitle too long for two lines, before each gets its
// own middle break.
struct SplitParts
{
    std::u32string first;
    std::u32string second;
    qsizetype secondStart = 0; // where second starts in the text split
};

// Where to cut a joined text of more than two lines' worth: at a dialogue
// dash, else at a sentence mark near the middle, else at the middle blank.
// No value when one half would hold nothing but blanks.
std::optional<SplitParts> splitText(std::u32string_view text, qint64 maxLength);

// Shares a subtitle's time between the halves in proportion to their
// length: returns the end of the first half.
double firstPartEnd(double startSeconds, double endSeconds, qsizetype firstLength, qsizetype textLength);
