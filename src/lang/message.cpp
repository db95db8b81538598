// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/message.h"

#include "lang/langdoc.h"

QString GetLangText(const LangDoc &doc, const Message &message)
{
    // Read afresh on every call, so a language change applies to the next
    // message at once.
    const QString element = QStringView(message.window) + QStringLiteral("_Module");
    const QString attribute = QLatin1Char('s') + QString::number(message.number);
    return doc.attribute(element, attribute).value_or(message.englishText().toString());
}
