// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

class LangDoc;

// One localizable message: the window whose "_Module" element holds it, its
// number there (attribute "s" + number) and the English text used when the
// language document has none.
struct Message
{
    const char16_t *window;
    int number;
    const char16_t *english;

    QStringView englishText() const { return QStringView(english); }
};

// The text of message in the active language, or its English text when the
// document, the window's element or the attribute is missing. An attribute
// that is present but empty gives the empty text.
QString GetLangText(const LangDoc &doc, const Message &message);
