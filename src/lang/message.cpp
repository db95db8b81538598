// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/message.h"

#include "lang/langdoc.h"

#include <optional>

QString GetLangText(const LangDoc &doc, const Message &message)
{
    // Read afresh on every call, so a language change applies to the next
    // message at once.
    const QString element = QStringView(message.window) + QStringLiteral("_Module");
    const QString attribute = QLatin1Char('s') + QString::number(message.number);
    std::optional<QString> text = doc.attribute(element, attribute);
    if (!text)
        return message.englishText().toString();
    // A translation that lost a placeholder would drop what it stands for
    // (a line number, a file name); the missing ones are appended.
    const QStringView english = message.englishText();
    for (int number = 1; number <= 9; ++number) {
        const QString placeholder = QLatin1Char('%') + QString::number(number);
        if (english.contains(placeholder) && !text->contains(placeholder))
            *text += QLatin1Char(' ') + placeholder;
    }
    return *text;
}
