// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

class LangDoc;

// Qt's own texts (standard buttons, file dialogs, context menus) in the
// language of the language file in use, from the translations Qt ships.
class QtTexts
{
public:
    QtTexts() = default;
    ~QtTexts();
    QtTexts(const QtTexts &) = delete;
    QtTexts &operator=(const QtTexts &) = delete;

    // Installs Qt's translation for lang's locale, replacing the one before;
    // English, or a locale Qt has no translation for, leaves Qt's English.
    void follow(const LangDoc &lang);

    // The Locale item of lang's Private section; the system's without one.
    static QLocale localeOf(const LangDoc &lang);

private:
    std::unique_ptr<QTranslator> m_translator;
};
