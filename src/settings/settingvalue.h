// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Conversions between the text stored in the settings file and setting
// values. All of them work in the C locale, so a file written under one
// language setting reads back the same under another.

// The longest leading decimal number of text after leading blanks: optional
// sign, digits, optional point and fraction, optional exponent. Text that
// does not start with a number gives 0; a number too large for a double
// gives an infinity.
double leadingNumber(QStringView text);
// Whether leadingNumber finds digits at all, rather than reading 0 for none.
bool startsWithNumber(QStringView text);

// The nearest integer to the leading number, halves going to the even one;
// no value when that integer does not fit 32 bits.
std::optional<qint32> integerFromSettingText(QStringView text);
// True when the leading number is not 0.
bool booleanFromSettingText(QStringView text);
// The leading number in single precision; no value when it does not fit.
std::optional<float> geometryFromSettingText(QStringView text);

// One blank before a value that is not negative, the way the file has
// always held integers (" 44", "-3").
QString settingTextFromInteger(qint32 value);
// "-1" for true, "0" for false.
QString settingTextFromBoolean(bool value);
// Up to seven significant digits with a point, e.g. "9000" or "283.4646".
QString settingTextFromGeometry(float twips);
