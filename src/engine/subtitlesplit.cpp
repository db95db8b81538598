// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/subtitlesplit.h"

#include "document/timecode.h"
#include "engine/linebreak.h"

#include <algorithm>

namespace {

using Text = std::u32string;
using View = std::u32string_view;

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

View trimEndBlanks(View text)
{
    const size_t last = text.find_last_not_of(U' ');
    return last == View::npos ? View() : text.substr(0, last + 1);
}

View trimStartBlanks(View text)
{
    const size_t first = text.find_first_not_of(U' ');
    return first == View::npos ? View() : text.substr(first);
}

// Step 1: a dialogue dash "- " from the third character on starts the
// second speaker's part, when that part is neither too long nor too short.
std::optional<SplitParts> atDialogueDash(View text, qint64 maxLength)
{
    const size_t found = text.find(U"- ", 2);
    if (found == View::npos)
        return std::nullopt;
    const auto length = qint64(text.size());
    const auto dash = qint64(found) + 1;
    if (!(length - dash - 2 < 2 * maxLength && length - dash >= maxLength / 4))
        return std::nullopt;
    return SplitParts{Text(trimEndBlanks(text.substr(0, found))), Text(trimEndBlanks(text.substr(found))),
                      qsizetype(found)};
}

// Step 2: a full stop, comma, semicolon or question mark in a window around
// the middle, tried kind by kind and left to right. Returns the text
// position the first part ends with, or 0.
qsizetype punctuationMark(View text)
{
    const auto length = qsizetype(text.size());
    const qsizetype windowStart = std::max<qsizetype>(length / 6, 1);
    const View window = text.substr(size_t(windowStart - 1), size_t(length / 12 * 8));
    const auto windowLength = qsizetype(window.size());

    for (const char32_t mark : {U'.', U',', U';', U'?'}) {
        qsizetype from = 1;
        for (;;) {
            const size_t found = window.find(mark, size_t(from - 1));
            if (found == View::npos)
                break;
            qsizetype p = qsizetype(found) + 1;
            // The first mark out of range ends this kind, even if more follow.
            if (p < 2 || p > windowLength - 1)
                break;
            bool skip = false;
            if (mark == U'.') {
                if (isDigit(window[size_t(p - 2)]) && isDigit(window[size_t(p)])) {
                    skip = true; // 2.5
                } else {
                    while (p < windowLength && window[size_t(p)] == U'.')
                        ++p; // an ellipsis counts once, at its last dot
                    const qsizetype twoBefore = windowStart + p - 1 - 2;
                    skip = twoBefore >= 1 && text[size_t(twoBefore - 1)] == U' '; // an initial: "J."
                }
            } else if (mark == U',') {
                skip = isDigit(window[size_t(p - 2)]) && isDigit(window[size_t(p)]); // 1,000
            }
            const qsizetype textPosition = windowStart + p - 1;
            if (!skip && textPosition >= length / 4)
                return textPosition;
            from = p + 1;
        }
    }
    return 0;
}

// Step 3: the last blank up to the middle, which always exists for a text
// that cannot be broken into two lines.
SplitParts atMiddleBlank(View text)
{
    const qsizetype blank = lastBlankAtOrBefore(text, qsizetype(text.size()) / 2);
    if (blank == 0)
        return {Text(), Text(text)};
    return {Text(text.substr(0, size_t(blank - 1))), Text(text.substr(size_t(blank)))};
}

bool holdsText(const Text &part)
{
    return part.find_first_not_of(U' ') != Text::npos;
}

} // namespace

std::optional<SplitParts> splitText(View text, qint64 maxLength)
{
    std::optional<SplitParts> parts = atDialogueDash(text, maxLength);
    if (!parts) {
        if (const qsizetype mark = punctuationMark(text)) {
            parts = SplitParts{Text(text.substr(0, size_t(mark))), Text(trimStartBlanks(text.substr(size_t(mark))))};
        } else {
            parts = atMiddleBlank(text);
        }
        if (qint64(parts->first.size()) > 2 * maxLength || qint64(parts->second.size()) > 2 * maxLength)
            parts = atMiddleBlank(text);
        parts->secondStart = qsizetype(text.size() - parts->second.size()); // it ends where the text does
    }
    // An empty half would be a subtitle with no text, lost when read again.
    if (!holdsText(parts->first) || !holdsText(parts->second))
        return std::nullopt;
    return parts;
}

double firstPartEnd(double startSeconds, double endSeconds, qsizetype firstLength, qsizetype textLength)
{
    const double span = endSeconds - startSeconds + 0.001;
    const double firstTime = Round3(span * double(firstLength) / double(textLength));
    return Round3(startSeconds + firstTime - 0.001);
}
