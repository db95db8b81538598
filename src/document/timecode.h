// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cmath>
#include <optional>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Conversions between subtitle times in seconds (a double counted from
// 00:00:00) and their text form "hh:mm:ss,fff".

// std::nearbyint in the default rounding mode (halves to even), without
// the library call it costs where the processor lacks a rounding
// instruction of its own; every time of every subtitle goes through it.
inline double roundHalfToEven(double x)
{
#ifdef __SSE2__
    // Above 2^52 every double is whole already; the sign keeps -0.0.
    if (std::fabs(x) < 4503599627370496.0)
        return std::copysign(double(_mm_cvtsd_si64(_mm_set_sd(x))), x);
    return x;
#else
    return std::nearbyint(x);
#endif
}

// x rounded to the nearest thousandth of a second, halves to even on the
// double product, so every stored time is reproducible.
inline double Round3(double seconds)
{
    return roundHalfToEven(seconds * 1000.0) / 1000.0;
}

// One side of a time line, already cut out: "00:01:02,345". Blanks (spaces)
// around the clock part and after the comma are allowed; reading of the
// fraction stops at the first non-digit, so trailing position data is
// ignored. Hours are any number of digits, minutes and seconds 0 to 59. No
// value for text that is not such a clock with a comma.
std::optional<double> TimeTextToSeconds(QStringView timeText);
std::optional<double> TimeTextToSeconds(std::string_view timeTextUtf8);

// The same, and where that refuses, the common variants: "00:00:03.766",
// "00:41:32:059" (a fourth field is the fraction), "00:01:39" (no fraction)
// and "01:02,500" (minutes and seconds). Anything else is still refused.
std::optional<double> lenientTimeTextToSeconds(std::string_view timeTextUtf8);

// "hh:mm:ss,fff" with at least two digits for each clock field and three
// for the thousandths. Times below zero are written as 00:00:00,000.
QString SecondsToTimeText(double seconds);

inline constexpr int MaxTimeTextLength = 32;

// A time as the whole milliseconds its text shows: SecondsToTimeText(seconds)
// and MillisecondsToTimeText(SecondsToMilliseconds(seconds)) are the same
// text, so lists can keep integers and format them when shown.
qint64 SecondsToMilliseconds(double seconds);
// The seconds TimeTextToSeconds reads from that millisecond's text.
inline double MillisecondsToSeconds(qint64 milliseconds)
{
    return double(milliseconds / 1000) + double(milliseconds % 1000) / 1000.0;
}
QString MillisecondsToTimeText(qint64 milliseconds);
// The same text, ASCII, written at out (which must have room for
// MaxTimeTextLength bytes); returns the length written.
int writeMillisecondsText(qint64 milliseconds, char *out);
