// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readingspeed.h"

#include "document/subtitlerow.h"
#include "document/timecode.h"
#include "engine/cuetext.h"
#include "engine/linebreak.h"
#include "lang/form1messages.h"

#include <cmath>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

qint64 ReadingSpeed::lacksMilliseconds() const
{
    return isTooFast() ? qint64(std::llround((requiredSeconds - shownSeconds) * 1000.0)) : 0;
}

std::optional<double> ReadingSpeed::charactersPerSecond() const
{
    if (shownSeconds <= 0.0)
        return std::nullopt;
    return double(characters) / shownSeconds;
}

QString ReadingSpeed::charactersPerSecondText() const
{
    const std::optional<double> perSecond = charactersPerSecond();
    return perSecond ? QString::number(*perSecond, 'f', 1) : QString();
}

qint64 readingLength(std::u32string_view text)
{
    return qint64(text.size()) - lineStats(text).lineBreaks;
}

qint64 readingLength(QByteArrayView utf8Text)
{
    // Code points are the bytes that do not continue one; a CR LF reads as
    // one blank, so its CR is not counted. A list of a million rows is
    // counted whole after every correction, hence 16 bytes at a time.
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8Text.data());
    const qsizetype size = utf8Text.size();
    qint64 length = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i belowLead = _mm_set1_epi8(-64); // 0x80..0xBF read as signed
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 17 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i + 1));
        const unsigned continuing = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(chunk, belowLead)));
        const unsigned crlf = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(after, lf))));
        // Both masks in one word, counted without a popcount instruction,
        // which the baseline x86-64 lacks.
        std::uint32_t bits = continuing | crlf << 16;
        bits = bits - ((bits >> 1) & 0x55555555u);
        bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
        bits = (((bits + (bits >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24;
        length += 16 - qint64(bits);
    }
#endif
    for (; i < size; ++i) {
        const unsigned byte = bytes[i];
        length += (byte & 0xC0) != 0x80 ? 1 : 0;
        length -= byte == '\r' && i + 1 < size && bytes[i + 1] == '\n' ? 1 : 0;
    }
    return length;
}

qint64 readingLength(QByteArrayView utf8Text, SubtitleFormat format)
{
    return format == SubtitleFormat::WebVtt ? cueReadingLength(utf8Text) : readingLength(utf8Text);
}

ReadingSpeed readingSpeed(qint64 characters, double startSeconds, double endSeconds, qint32 lettersPerSecond)
{
    ReadingSpeed speed;
    speed.characters = characters;
    speed.shownSeconds = Round3(endSeconds - startSeconds + 0.001);
    speed.requiredSeconds = lettersPerSecond > 0 ? Round3(double(characters) / double(lettersPerSecond)) : 0.0;
    return speed;
}

ReadingSpeed readingSpeed(std::u32string_view text, double startSeconds, double endSeconds, qint32 lettersPerSecond)
{
    return readingSpeed(readingLength(text), startSeconds, endSeconds, lettersPerSecond);
}

std::optional<ReadingSpeed> readingSpeed(const SubtitleRow &row, qint32 lettersPerSecond)
{
    const std::optional<double> start = TimeTextToSeconds(row.startText);
    const std::optional<double> end = TimeTextToSeconds(row.endText);
    if (!start || !end)
        return std::nullopt;
    return readingSpeed(row.text.toStdU32String(), *start, *end, lettersPerSecond);
}

QString tooFastSummary(qint64 tooFastCount, const LangDoc &lang)
{
    if (tooFastCount <= 0)
        return {};
    return GetLangText(lang, Form1Msg::StillTooFast).arg(tooFastCount);
}
