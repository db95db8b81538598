// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingvalue.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype at)
{
    while (at < text.size() && isAsciiDigit(text[at]))
        ++at;
    return at;
}

} // namespace

namespace {

// The number text starts with, if any.
std::optional<double> numberAtStart(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;

    qsizetype end = start;
    if (end < text.size() && (text[end] == u'+' || text[end] == u'-'))
        ++end;
    const qsizetype integerEnd = skipDigits(text, end);
    qsizetype mantissaEnd = integerEnd;
    bool hasDigits = integerEnd > end;
    if (mantissaEnd < text.size() && text[mantissaEnd] == u'.') {
        const qsizetype fractionEnd = skipDigits(text, mantissaEnd + 1);
        hasDigits = hasDigits || fractionEnd > mantissaEnd + 1;
        mantissaEnd = fractionEnd;
    }
    if (!hasDigits)
        return std::nullopt;

    end = mantissaEnd;
    // An exponent counts only when digits follow: "1e" and "1e+" read as 1.
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype exponentStart = end + 1;
        if (exponentStart < text.size() && (text[exponentStart] == u'+' || text[exponentStart] == u'-'))
            ++exponentStart;
        const qsizetype exponentEnd = skipDigits(text, exponentStart);
        if (exponentEnd > exponentStart)
            end = exponentEnd;
    }

    // The C locale gives an infinity on overflow and 0 on underflow; both
    // are what the callers expect, so the ok flag is not needed.
    return QLocale::c().toDouble(text.sliced(start, end - start));
}

} // namespace

double leadingNumber(QStringView text)
{
    return numberAtStart(text).value_or(0);
}

bool startsWithNumber(QStringView text)
{
    return numberAtStart(text).has_value();
}

std::optional<qint32> integerFromSettingText(QStringView text)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(leadingNumber(text));
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

bool booleanFromSettingText(QStringView text)
{
    return leadingNumber(text) != 0;
}

std::optional<float> geometryFromSettingText(QStringView text)
{
    const double number = leadingNumber(text);
    if (!(std::fabs(number) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(number);
}

QString settingTextFromInteger(qint32 value)
{
    const QString digits = QString::number(value);
    return value < 0 ? digits : u' ' + digits;
}

QString settingTextFromBoolean(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

QString settingTextFromGeometry(float twips)
{
    // QString::number ignores the default locale, so the point stays a point.
    return QString::number(static_cast<double>(twips), 'g', 7);
}
