// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QStringList>
#include <QStringView>

// The value of the Encoding setting, and of --encoding, that detects the
// encoding of each file.
inline constexpr QLatin1StringView AutoEncoding("auto");

// True for "auto" in any letter case, and for no name at all.
bool isAutoEncoding(QStringView name);
// True for "auto" and for every encoding name Qt or iconv knows, compared
// without regard to case.
bool isKnownEncoding(QStringView name);
// The encodings offered by name in the window, most widely used first.
QStringList commonEncodingNames();
