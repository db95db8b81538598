// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class LangDoc;

// The text encoding a subtitle file was read in, so it is written back the
// same way, byte-order mark included exactly when it had one.
struct FileEncoding
{
    enum class Kind { Utf8, Utf16LE, Utf16BE, Legacy };

    Kind kind = Kind::Utf8;
    bool hasBom = false;
    QByteArray legacyName; // codec name for Kind::Legacy, e.g. "windows-1252"

    // "UTF-8", "UTF-8 with BOM", "UTF-16LE with BOM", "windows-1252" ...:
    // the same in every language, for reports other programs read.
    QString displayName() const;
    // The same in lang's words, for the window and messages.
    QString caption(const LangDoc &lang) const;
    // "UTF-8", "UTF-16LE", "windows-1252" ...
    QString nameWithoutBom() const;

    friend bool operator==(const FileEncoding &, const FileEncoding &) = default;
};
