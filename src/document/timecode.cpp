// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/timecode.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace {

template<typename Char>
bool isAsciiDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}

// Reads one clock field: ASCII digits only, at least one, value up to limit
// (hours have none).
template<typename Char>
std::optional<double> clockField(const Char *begin, const Char *end,
                                 double limit = std::numeric_limits<double>::infinity())
{
    if (begin == end)
        return std::nullopt;
    double value = 0.0;
    for (const Char *p = begin; p != end; ++p) {
        if (!isAsciiDigit(*p))
            return std::nullopt;
        value = value * 10.0 + double(*p - Char('0'));
        if (value > limit)
            return std::nullopt;
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
    if (minutes > 59 || seconds > 59)
        return std::nullopt;
    const int thousandths = digit(9) * 100 + digit(10) * 10 + digit(11);
    return double(hours * 3600 + minutes * 60 + seconds) + double(thousandths) / 1000.0;
}

template<typename Char>
const Char *find(const Char *begin, const Char *end, char wanted)
{
    while (begin != end && *begin != Char(wanted))
        ++begin;
    return begin;
}

template<typename Char>
const Char *skipBlanks(const Char *begin, const Char *end)
{
    while (begin != end && *begin == Char(' '))
        ++begin;
    return begin;
}

// The fields of a clock between ':' signs, at most four of them.
template<typename Char>
struct ClockFields
{
    const Char *begin[4];
    const Char *end[4];
    int count = 0;
};

template<typename Char>
std::optional<ClockFields<Char>> splitClock(const Char *begin, const Char *end)
{
    ClockFields<Char> fields;
    for (const Char *field = begin;;) {
        if (fields.count == 4)
            return std::nullopt;
        const Char *colon = find(field, end, ':');
        fields.begin[fields.count] = field;
        fields.end[fields.count] = colon;
        ++fields.count;
        if (colon == end)
            return fields;
        field = colon + 1;
    }
}

// Hours (any digits), minutes and seconds (up to 59) from the first three
// fields, or minutes and seconds alone when there are two.
template<typename Char>
std::optional<double> clockSeconds(const ClockFields<Char> &fields, int used)
{
    const int minutesAt = used - 2;
    const auto hours = used == 3 ? clockField(fields.begin[0], fields.end[0]) : std::optional<double>(0.0);
    const auto minutes = clockField(fields.begin[minutesAt], fields.end[minutesAt], 59);
    const auto seconds = clockField(fields.begin[minutesAt + 1], fields.end[minutesAt + 1], 59);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return *hours * 3600.0 + (*minutes * 60.0 + *seconds);
}

// The digits at the start of [begin, end), after blanks, as a fraction of a
// second: what follows them, such as position data, is not looked at.
template<typename Char>
double leadingFraction(const Char *begin, const Char *end)
{
    begin = skipBlanks(begin, end);
    const Char *digitsEnd = begin;
    while (digitsEnd != end && isAsciiDigit(*digitsEnd))
        ++digitsEnd;
    return fraction(begin, digitsEnd);
}

// The clock before separator, trimmed of blanks, and the fraction after it.
// With twoFieldsToo, a clock of two fields is minutes and seconds.
template<typename Char>
std::optional<double> clockAndFraction(const Char *begin, const Char *separator, const Char *end, bool twoFieldsToo)
{
    const Char *clockBegin = skipBlanks(begin, separator);
    const Char *clockEnd = separator;
    while (clockEnd != clockBegin && clockEnd[-1] == Char(' '))
        --clockEnd;
    const auto fields = splitClock(clockBegin, clockEnd);
    if (!fields || !(fields->count == 3 || (twoFieldsToo && fields->count == 2)))
        return std::nullopt;
    const auto whole = clockSeconds(*fields, fields->count);
    if (!whole)
        return std::nullopt;
    return *whole + leadingFraction(separator + 1, end);
}

template<typename Char>
std::optional<double> parseTimeText(const Char *begin, const Char *end)
{
    if (const auto canonical = canonicalTimeText(begin, end))
        return canonical;
    const Char *comma = find(begin, end, ',');
    if (comma == end)
        return std::nullopt;
    return clockAndFraction(begin, comma, end, false);
}

// The variants read on request, for texts the usual rule refuses: a full
// stop in the comma's place, a clock of two fields (minutes and seconds),
// and with neither separator a fourth clock field as the fraction or three
// fields and no fraction.
template<typename Char>
std::optional<double> parseLenientTimeText(const Char *begin, const Char *end)
{
    const Char *separator = find(begin, end, ',');
    if (separator == end)
        separator = find(begin, end, '.');
    if (separator != end)
        return clockAndFraction(begin, separator, end, true);

    // No separator: the clock ends at the first blank, as position data may follow.
    const Char *clockBegin = skipBlanks(begin, end);
    const auto fields = splitClock(clockBegin, find(clockBegin, end, ' '));
    if (!fields || fields->count < 3)
        return std::nullopt;
    const auto whole = clockSeconds(*fields, 3);
    if (!whole)
        return std::nullopt;
    if (fields->count == 3)
        return whole;
    const Char *digits = fields->begin[3];
    const Char *digitsEnd = fields->end[3];
    if (digits == digitsEnd || !std::all_of(digits, digitsEnd, [](Char c) { return isAsciiDigit(c); }))
        return std::nullopt;
    return *whole + fraction(digits, digitsEnd);
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

std::optional<double> lenientTimeTextToSeconds(std::string_view timeTextUtf8)
{
    if (const auto usual = TimeTextToSeconds(timeTextUtf8))
        return usual;
    return parseLenientTimeText(timeTextUtf8.data(), timeTextUtf8.data() + timeTextUtf8.size());
}

qint64 SecondsToMilliseconds(double seconds)
{
    // Below zero only the text is clamped; callers go on with the value.
    // The upper clamp merely keeps the integer conversion defined.
    if (!(seconds > 0.0))
        seconds = 0.0;
    if (seconds > 1e12)
        seconds = 1e12;
    const auto whole = std::int64_t(seconds); // towards zero
    // Rounded on the fraction alone, as the text has always been written.
    return whole * 1000 + std::int64_t(roundHalfToEven((seconds - double(whole)) * 1000.0));
}

int writeMillisecondsText(qint64 milliseconds, char *out)
{
    const std::int64_t whole = milliseconds / 1000;
    const std::int64_t thousandths = milliseconds % 1000;
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

QString MillisecondsToTimeText(qint64 milliseconds)
{
    char buffer[MaxTimeTextLength];
    const int length = writeMillisecondsText(milliseconds, buffer);
    return QString::fromLatin1(buffer, length);
}

QString SecondsToTimeText(double seconds)
{
    return MillisecondsToTimeText(SecondsToMilliseconds(seconds));
}
