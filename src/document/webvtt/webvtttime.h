// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>
#include <string_view>

// Times as WebVTT writes them: "mm:ss.ttt", or "hh:mm:ss.ttt" with hours of
// two or more digits.

struct WebVttTime
{
    double seconds = 0.0; // the same double TimeTextToSeconds reads from the SRT form
    int hourDigits = 0;   // 0: written without hours
};

// A timestamp cut out of a time line, read as the format reads it: minutes
// and seconds of exactly two digits up to 59, three digits of thousandths,
// and hours of any number of digits, which a first field of other than two
// digits (or over 59) must be. No value for anything else.
std::optional<WebVttTime> webVttTimeToSeconds(std::string_view text);

// The longest a written time can be.
inline constexpr int MaxWebVttTimeLength = 32;

// milliseconds written at out without hours when hourDigits is 0 and the
// time is under an hour, else with hours of at least max(2, hourDigits)
// digits; returns the length written.
int writeWebVttTime(qint64 milliseconds, int hourDigits, char *out);
