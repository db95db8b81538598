// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/qttexts.h"

#include "lang/langdoc.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QtTexts::~QtTexts()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QLocale QtTexts::localeOf(const LangDoc &lang)
{
    const std::optional<QString> name = lang.attribute(u"Private", u"Locale");
    if (!name || name->trimmed().isEmpty())
        return QLocale::system();
    return QLocale(name->trimmed());
}

void QtTexts::follow(const LangDoc &lang)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(localeOf(lang), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
}
