// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A value that could not be taken as it stands, or that a correction run
// cannot use. A value read or typed keeps the setting's previous value.
struct SettingProblem
{
    enum class Kind {
        UnknownKey,
        NotInt32, // an integer setting outside the 32-bit range
        NotFloat, // a geometry value beyond single precision
        BelowOne, // an integer below its least value, 1, without a greatest: no correction run
        OutOfRange, // an integer outside its range: no correction run
        UnknownEncoding, // an Encoding that neither Qt nor iconv knows
        NotANumber, // a typed value for a number setting with no digits
    };

    Kind kind;
    QString key;
    QString valueText;

    friend bool operator==(const SettingProblem &, const SettingProblem &) = default;
};
