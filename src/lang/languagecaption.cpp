// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/languagecaption.h"

#include "lang/form1messages.h"
#include "lang/message.h"

QString languageCaption(const QString &languageName, const LangDoc &lang)
{
    // Keyed by the English name, which is also each shipped file's name.
    for (const Message &message : {Form1Msg::LanguageEnglish, Form1Msg::LanguageFrench, Form1Msg::LanguageGerman,
                                   Form1Msg::LanguageGreek, Form1Msg::LanguageSpanish}) {
        if (languageName.compare(message.englishText(), Qt::CaseInsensitive) == 0)
            return GetLangText(lang, message);
    }
    return languageName;
}
