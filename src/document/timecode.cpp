// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/timecode.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace {

template<typename Char>
bool isAsciiDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}

// Reads one clock field: ASCII digits only, at least one, value up to limit.
template<typename Char>
std::optional<int> clockField(const Char *begin, const Char *end, int limit)
{
    if (begin == end)
        return std::nullopt;
    int value = 0;
    for (const Char *p = begin; p != end; ++p) {
        if (!isAsciiDigit(*p))
            return std::nullopt;
        value = value * 10 + int(*p - Char('0'));
        if (value > limit)
            return std::nullopt; // also stops overflow on long runs of digits
    }
    return value;
}

// The double nearest to 0.<digits>.
template<typename Char>
double fraction(const Char *begin, const Char *end)
{
    const auto count = end - begin;
    if (count == 0)
        return 0.0;
    if (count <= 15) {
        // Both operands are exact doubles, so one correctly rounded division
        // gives the nearest double.
        std::int64_t numerator = 0;
        double denominator = 1.0;
        for (const Char *p = begin; p != end; ++p) {
            numerator = numerator * 10 + std::int64_t(*p - Char('0'));
            denominator *= 10.0;
        }
        return double(numerator) / denominator;
    }
    std::string text = "0.";
    text.reserve(size_t(count) + 2);
    for (const Char *p = begin; p != end; ++p)
        text.push_back(char(*p));
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "hh:mm:ss,fff" exactly, as nearly every file writes it: the same value as
// the general reading below, without its searches.
template<typename Char>
std::optional<double> canonicalTimeText(const Char *begin, const Char *end)
{
    if (end - begin < 12 || (end - begin > 12 && isAsciiDigit(begin[12])))
        return std::nullopt;
    if (begin[2] != Char(':') || begin[5] != Char(':') || begin[8] != Char(','))
        return std::nullopt;
    const auto digit = [begin](int at) { return int(begin[at]) - '0'; };
    for (int at : {0, 1, 3, 4, 6, 7, 9, 10, 11}) {
        if (!isAsciiDigit(begin[at]))
            return std::nullopt;
    }
    const int hours = digit(0) * 10 + digit(1);
    const int minutes = digit(3) * 10 + digit(4);
    const int seconds = digit(6) * 10 + digit(7);
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    const int thousandths = digit(9) * 100 + digit(10) * 10 + digit(11);
    return double(hours * 3600 + minutes * 60 + seconds) + double(thousandths) / 1000.0;
}

template<typename Char>
std::optional<double> parseTimeText(const Char *begin, const Char *end)
{
    if (const auto canonical = canonicalTimeText(begin, end))
        return canonical;
    const Char *comma = begin;
    while (comma != end && *comma != Char(','))
        ++comma;
    if (comma == end)
        return std::nullopt;

    const Char *clockBegin = begin;
    const Char *clockEnd = comma;
    while (clockBegin != clockEnd && *clockBegin == Char(' '))
        ++clockBegin;
    while (clockEnd != clockBegin && clockEnd[-1] == Char(' '))
        --clockEnd;

    const Char *firstColon = clockBegin;
    while (firstColon != clockEnd && *firstColon != Char(':'))
        ++firstColon;
    if (firstColon == clockEnd)
        return std::nullopt;
    const Char *secondColon = firstColon + 1;
    while (secondColon != clockEnd && *secondColon != Char(':'))
        ++secondColon;
    if (secondColon == clockEnd)
        return std::nullopt;

    const auto hours = clockField(clockBegin, firstColon, 23);
    const auto minutes = clockField(firstColon + 1, secondColon, 59);
    const auto seconds = clockField(secondColon + 1, clockEnd, 59); // a third ':' fails here
    if (!hours || !minutes || !seconds)
        return std::nullopt;

    const Char *digits = comma + 1;
    while (digits != end && *digits == Char(' '))
        ++digits;
    const Char *digitsEnd = digits;
    while (digitsEnd != end && isAsciiDigit(*digitsEnd))
        ++digitsEnd;

    const double whole = double(*hours * 3600 + *minutes * 60 + *seconds);
    return whole + fraction(digits, digitsEnd);
}

char *writeTwoOrMoreDigits(char *out, std::int64_t value)
{
    if (value < 10)
        *out++ = '0';
    return std::to_chars(out, out + 20, value).ptr;
}

} // namespace

std::optional<double> TimeTextToSeconds(QStringView timeText)
{
    return parseTimeText(timeText.utf16(), timeText.utf16() + timeText.size());
}

std::optional<double> TimeTextToSeconds(std::string_view timeTextUtf8)
{
    return parseTimeText(timeTextUtf8.data(), timeTextUtf8.data() + timeTextUtf8.size());
}

int writeTimeText(double seconds, char *out)
{
    // Below zero only the text is clamped; callers go on with the value.
    // The upper clamp merely keeps the integer conversion defined.
    if (!(seconds > 0.0))
        seconds = 0.0;
    if (seconds > 1e12)
        seconds = 1e12;
    auto whole = std::int64_t(seconds); // towards zero
    auto thousandths = std::int64_t(std::nearbyint((seconds - double(whole)) * 1000.0));
    if (thousandths >= 1000) {
        whole += 1;
        thousandths -= 1000;
    }
    const std::int64_t hours = whole / 3600;
    const std::int64_t minutes = (whole - 3600 * hours) / 60;
    const std::int64_t secs = whole - 3600 * hours - 60 * minutes;

    char *p = writeTwoOrMoreDigits(out, hours);
    *p++ = ':';
    p = writeTwoOrMoreDigits(p, minutes);
    *p++ = ':';
    p = writeTwoOrMoreDigits(p, secs);
    *p++ = ',';
    *p++ = char('0' + thousandths / 100);
    *p++ = char('0' + thousandths / 10 % 10);
    *p++ = char('0' + thousandths % 10);
    return int(p - out);
}

QString SecondsToTimeText(double seconds)
{
    char buffer[MaxTimeTextLength];
    const int length = writeTimeText(seconds, buffer);
    return QString::fromLatin1(buffer, length);
}
