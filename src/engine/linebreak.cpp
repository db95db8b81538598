// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/linebreak.h"

#include <algorithm>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    qint64 i = 0;
    const auto lineBreakAt = [&](qint64 at) {
        if (text[size_t(at)] == U'\r' && at + 1 < size && text[size_t(at) + 1] == U'\n') {
            stats.longestLine = std::max(stats.longestLine, at - lineStart);
            ++stats.lineBreaks;
            lineStart = at + 2;
            return true;
        }
        return false;
    };
#ifdef __SSE2__
    // Every subtitle is measured, most without a CR in a run of four.
    const __m128i cr = _mm_set1_epi32(U'\r');
    while (i + 4 <= size) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
        if (!_mm_movemask_epi8(_mm_cmpeq_epi32(chunk, cr))) {
            i += 4;
            continue;
        }
        const qint64 chunkEnd = i + 4;
        for (; i < chunkEnd; ++i) {
            if (lineBreakAt(i))
                ++i;
        }
    }
#endif
    for (; i < size; ++i) {
        if (lineBreakAt(i))
            ++i;
    }
    stats.longestLine = std::max(stats.longestLine, size - lineStart);
    stats.length = size;
    return stats;
}

LineStats lineStats(QByteArrayView utf8Text)
{
    // Characters are the bytes that do not continue one.
    LineStats stats;
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8Text.data());
    const qsizetype size = utf8Text.size();
    qint64 line = 0; // characters of the line so far
    qsizetype i = 0;
    const auto step = [&] {
        const unsigned byte = bytes[i];
        if ((byte & 0xC0) == 0x80)
            return;
        ++stats.length;
        if (byte == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            stats.longestLine = std::max(stats.longestLine, line);
            ++stats.lineBreaks;
            ++stats.length;
            line = 0;
            ++i;
            return;
        }
        ++line;
    };
#ifdef __SSE2__
    const __m128i belowLead = _mm_set1_epi8(-64); // 0x80..0xBF read as signed
    const __m128i cr = _mm_set1_epi8('\r');
    while (i + 16 <= size) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, cr))) {
            for (const qsizetype chunkEnd = i + 16; i < chunkEnd; ++i)
                step();
            continue;
        }
        // No line break here: sixteen bytes less those that continue a character.
        std::uint32_t bits = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(chunk, belowLead)));
        bits = bits - ((bits >> 1) & 0x55555555u);
        bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
        bits = (((bits + (bits >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24;
        line += 16 - qint64(bits);
        stats.length += 16 - qint64(bits);
        i += 16;
    }
#endif
    for (; i < size; ++i)
        step();
    stats.longestLine = std::max(stats.longestLine, line);
    return stats;
}

namespace {

// The first CR at or after from, or size.
size_t findCarriageReturn(const char32_t *text, size_t from, size_t size)
{
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi32(U'\r');
    for (; from + 4 <= size; from += 4) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from));
        if (const unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi32(chunk, cr))))
            return from + size_t(__builtin_ctz(hits)) / 4;
    }
#endif
    while (from < size && text[from] != U'\r')
        ++from;
    return from;
}

} // namespace

void joinLines(std::u32string &text)
{
    // Every CR LF becomes a blank; the runs between them move once each.
    char32_t *data = text.data();
    const size_t size = text.size();
    size_t out = 0;
    size_t runStart = 0;
    for (size_t i = findCarriageReturn(data, 0, size); i < size; i = findCarriageReturn(data, i + 1, size)) {
        if (i + 1 >= size || data[i + 1] != U'\n')
            continue;
        if (out != runStart)
            std::copy(data + runStart, data + i, data + out);
        out += i - runStart;
        data[out++] = U' ';
        runStart = i + 2;
        ++i;
    }
    if (out != runStart)
        std::copy(data + runStart, data + size, data + out);
    text.resize(out + (size - runStart));
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
