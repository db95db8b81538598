// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A file's text read in a legacy code page.
struct LegacyText
{
    QByteArray encodingName; // "windows-1252", "KOI8-R", "Shift_JIS" ...
    QByteArray utf8;
};

// Reads a file that is neither UTF-8 nor UTF-16 in the code page a subtitle
// file in its script most likely uses. The detector's guess names the
// script; within it the Windows code page wins unless another reads the
// text more plausibly, so a Mac, DOS or rare code page needs real evidence
// in the text. Only a code page that gives back exactly the same bytes is
// taken; failing all, ISO-8859-1, which always does.
LegacyText decodeLegacyText(QByteArrayView bytes);
