// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <memory>

class LangDoc;

// Qt's own texts (standard buttons, file dialogs, context menus, key names)
// in the language of the language file in use: from the translations Qt
// ships, else from our own for the languages Qt has none of.
class QtTexts
{
public:
    // Our own translations are looked for in the folders language files are
    // found in when the program runs from its executable's folder.
    QtTexts();
    // ... or in folders, in order.
    explicit QtTexts(QStringList folders);
    ~QtTexts();
    QtTexts(const QtTexts &) = delete;
    QtTexts &operator=(const QtTexts &) = delete;

    // Installs the translation for lang's locale, replacing the one before.
    // Qt's own wins: ours ("quillmend_qt_<locale>.qm") is loaded only when
    // Qt has none, so a dialog never mixes the words of two translations.
    // English, or a locale neither has, leaves Qt's English.
    void follow(const LangDoc &lang);

    // The Locale item of lang's Private section; the system's without one.
    static QLocale localeOf(const LangDoc &lang);

private:
    QStringList m_folders;
    std::unique_ptr<QTranslator> m_translator;
};
