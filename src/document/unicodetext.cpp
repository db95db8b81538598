// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/unicodetext.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif


Utf8Check checkUtf8Text(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
#ifdef __SSE2__
        // Skip ASCII without NUL sixteen bytes at a time, stopping right at
        // the first other byte.
        const __m128i zero = _mm_setzero_si128();
        while (i + 16 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            const unsigned other = unsigned(_mm_movemask_epi8(_mm_or_si128(chunk, _mm_cmpeq_epi8(chunk, zero))));
            if (other) {
                i += __builtin_ctz(other);
                break;
            }
            i += 16;
        }
#else
        // Skip ASCII without NUL eight bytes at a time.
        constexpr std::uint64_t HighBits = 0x8080808080808080ULL;
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            const std::uint64_t zeroBytes = (word - 0x0101010101010101ULL) & ~word & HighBits;
            if ((word & HighBits) | zeroBytes)
                break;
            i += 8;
        }
#endif
        if (i >= size)
            break;
        const unsigned lead = data[i];
        if (lead == 0)
            return {Utf8Check::Result::Nul, i};
        if (lead < 0x80) {
            ++i;
            continue;
        }
        qsizetype length;
        unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            else if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return {Utf8Check::Result::Invalid, i};
        }
        if (i + length > size || data[i + 1] < low || data[i + 1] > high)
            return {Utf8Check::Result::Invalid, i};
        for (qsizetype k = 2; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return {Utf8Check::Result::Invalid, i};
        }
        i += length;
    }
    return {};
}

void appendUtf8(std::u32string &text, QByteArrayView utf8)
{
    const size_t oldSize = text.size();
    text.resize(oldSize + size_t(utf8.size()));
    char32_t *out = text.data() + oldSize;
    const auto *in = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = in + utf8.size();
    while (in != end) {
#ifdef __SSE2__
        // Sixteen bytes widened at once; as each byte left gives at most one
        // character, there is room for all of them even when only the ASCII
        // ones before the first other byte count.
        if (end - in >= 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
            const __m128i zero = _mm_setzero_si128();
            const __m128i low = _mm_unpacklo_epi8(chunk, zero);
            const __m128i high = _mm_unpackhi_epi8(chunk, zero);
            auto *to = reinterpret_cast<__m128i *>(out);
            _mm_storeu_si128(to, _mm_unpacklo_epi16(low, zero));
            _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(low, zero));
            _mm_storeu_si128(to + 2, _mm_unpacklo_epi16(high, zero));
            _mm_storeu_si128(to + 3, _mm_unpackhi_epi16(high, zero));
            const unsigned other = unsigned(_mm_movemask_epi8(chunk));
            const int ascii = other ? __builtin_ctz(other) : 16;
            in += ascii;
            out += ascii;
            if (ascii == 16)
                continue;
        }
#endif
        const unsigned lead = *in;
        if (lead < 0x80) {
            *out++ = lead;
            ++in;
            continue;
        }
        if (lead < 0xE0) {
            *out++ = char32_t((lead & 0x1F) << 6 | (in[1] & 0x3F));
            in += 2;
        } else if (lead < 0xF0) {
            *out++ = char32_t((lead & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F));
            in += 3;
        } else {
            *out++ = char32_t((lead & 0x07) << 18 | (in[1] & 0x3F) << 12 | (in[2] & 0x3F) << 6 | (in[3] & 0x3F));
            in += 4;
        }
    }
    text.resize(size_t(out - text.data()));
}

namespace {

unsigned char *writeUtf8(char32_t c, unsigned char *p)
{
    if (c < 0x80) {
        *p++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<unsigned char>(0xC0 | c >> 6);
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<unsigned char>(0xE0 | c >> 12);
        *p++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<unsigned char>(0xF0 | c >> 18);
        *p++ = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return p;
}

} // namespace

char *writeUtf8(std::u32string_view text, char *out)
{
    auto *p = reinterpret_cast<unsigned char *>(out);
    const char32_t *in = text.data();
    const char32_t *end = in + text.size();
#ifdef __SSE2__
    // Eight ASCII characters narrowed at once; eight with others among
    // them one by one.
    while (end - in >= 8) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 4));
        const __m128i above = _mm_andnot_si128(_mm_set1_epi32(0x7F), _mm_or_si128(first, second));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(above, _mm_setzero_si128())) == 0xFFFF) {
            const __m128i units = _mm_packs_epi32(first, second);
            _mm_storel_epi64(reinterpret_cast<__m128i *>(p), _mm_packus_epi16(units, units));
            in += 8;
            p += 8;
            continue;
        }
        for (const char32_t *chunkEnd = in + 8; in != chunkEnd; ++in)
            p = writeUtf8(*in, p);
    }
#endif
    for (; in != end; ++in)
        p = writeUtf8(*in, p);
    return reinterpret_cast<char *>(p);
}

QString toQString(std::u32string_view text)
{
    // One allocation and plain stores: this runs once per corrected subtitle.
    qsizetype units = qsizetype(text.size());
    for (const char32_t c : text)
        units += c >= 0x10000 ? 1 : 0;
    QString result(units, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (const char32_t c : text) {
        if (c < 0x10000) {
            *out++ = char16_t(c);
        } else {
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
        }
    }
    return result;
}

QString utf8ToQString(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

bool isRightToLeftText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A tag is skipped whole; a lone < or { is only punctuation.
        if (c == u'<' || c == u'{') {
            const qsizetype end = text.indexOf(c == u'<' ? u'>' : u'}', i + 1);
            if (end > i) {
                i = end;
                continue;
            }
        }
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(c, text[++i]);
        switch (QChar::direction(codePoint)) {
        case QChar::DirR:
        case QChar::DirAL:
            return true;
        case QChar::DirL:
            return false;
        default:
            break;
        }
    }
    return false;
}
