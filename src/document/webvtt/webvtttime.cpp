// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/webvtt/webvtttime.h"

#include <algorithm>
#include <charconv>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits from at on; at moves past them.
std::string_view digitsAt(std::string_view text, size_t &at)
{
    const size_t begin = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return text.substr(begin, at - begin);
}

double valueOf(std::string_view digits)
{
    double value = 0.0;
    for (const char c : digits)
        value = value * 10.0 + double(c - '0');
    return value;
}

} // namespace

std::optional<WebVttTime> webVttTimeToSeconds(std::string_view text)
{
    size_t at = 0;
    const std::string_view first = digitsAt(text, at);
    if (first.empty() || at == text.size() || text[at] != ':')
        return std::nullopt;
    const bool hasHours = first.size() != 2 || valueOf(first) > 59;
    ++at;
    const std::string_view second = digitsAt(text, at);
    if (second.size() != 2)
        return std::nullopt;
    std::string_view hours;
    std::string_view minutes = first;
    std::string_view seconds = second;
    if (hasHours || (at < text.size() && text[at] == ':')) {
        if (at == text.size() || text[at] != ':')
            return std::nullopt;
        ++at;
        hours = first;
        minutes = second;
        seconds = digitsAt(text, at);
        if (seconds.size() != 2)
            return std::nullopt;
    }
    if (at == text.size() || text[at] != '.')
        return std::nullopt;
    ++at;
    const std::string_view thousandths = digitsAt(text, at);
    if (thousandths.size() != 3 || at != text.size() || valueOf(minutes) > 59 || valueOf(seconds) > 59)
        return std::nullopt;
    // Summed as the SRT reader sums them, so both forms give the same double.
    const double whole = valueOf(hours) * 3600.0 + (valueOf(minutes) * 60.0 + valueOf(seconds));
    return WebVttTime{whole + valueOf(thousandths) / 1000.0, int(hours.size())};
}

int writeWebVttTime(qint64 milliseconds, int hourDigits, char *out)
{
    const qint64 whole = std::max<qint64>(milliseconds, 0) / 1000;
    const qint64 thousandths = std::max<qint64>(milliseconds, 0) % 1000;
    const qint64 hours = whole / 3600;
    const auto twoDigits = [](char *p, qint64 value) {
        p[0] = char('0' + value / 10);
        p[1] = char('0' + value % 10);
        return p + 2;
    };
    char *p = out;
    if (hourDigits > 0 || hours > 0) {
        char digits[24];
        const auto length = int(std::to_chars(digits, digits + sizeof digits, hours).ptr - digits);
        for (int pad = std::max(2, std::min(hourDigits, 8)) - length; pad > 0; --pad)
            *p++ = '0';
        p = std::copy(digits, digits + length, p);
        *p++ = ':';
    }
    p = twoDigits(p, whole / 60 % 60);
    *p++ = ':';
    p = twoDigits(p, whole % 60);
    *p++ = '.';
    *p++ = char('0' + thousandths / 100);
    p = twoDigits(p, thousandths % 100);
    return int(p - out);
}
