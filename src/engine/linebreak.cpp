// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/linebreak.h"

#include <algorithm>

qsizetype lastBlankAtOrBefore(std::u32string_view text, qsizetype position)
{
    if (position < 1)
        return 0;
    const size_t last = size_t(std::min<qsizetype>(position, qsizetype(text.size()))) - 1;
    const size_t at = text.rfind(U' ', last);
    return at == std::u32string_view::npos ? 0 : qsizetype(at) + 1;
}

qsizetype firstBlankAtOrAfter(std::u32string_view text, qsizetype position)
{
    const size_t at = text.find(U' ', size_t(std::max<qsizetype>(position, 1) - 1));
    return at == std::u32string_view::npos ? 0 : qsizetype(at) + 1;
}

void breakAt(std::u32string &text, qsizetype position)
{
    text[size_t(position) - 1] = U'\r';
    text.insert(size_t(position), 1, U'\n');
}

LineStats lineStats(std::u32string_view text)
{
    LineStats stats;
    qint64 lineStart = 0;
    const auto size = qint64(text.size());
    for (qint64 i = 0; i < size; ++i) {
        if (text[size_t(i)] == U'\r' && i + 1 < size && text[size_t(i) + 1] == U'\n') {
            stats.longestLine = std::max(stats.longestLine, i - lineStart);
            ++stats.lineBreaks;
            lineStart = i + 2;
            ++i;
        }
    }
    stats.longestLine = std::max(stats.longestLine, size - lineStart);
    return stats;
}

void joinLines(std::u32string &text)
{
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            text[out++] = U' ';
            ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

qsizetype middleBreakPosition(std::u32string_view part, qint64 maxLength)
{
    const auto length = qsizetype(part.size());
    if (length <= maxLength)
        return 0;
    qsizetype position = firstBlankAtOrAfter(part, length / 2);
    if (position > maxLength)
        position = lastBlankAtOrBefore(part, qsizetype(maxLength));
    return position;
}
