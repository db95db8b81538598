// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/qttexts.h"

#include "lang/langdoc.h"
#include "lang/languagelocator.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include <utility>

QtTexts::QtTexts() : QtTexts(LanguageLocator::defaultFolders(QCoreApplication::applicationDirPath())) {}

QtTexts::QtTexts(QStringList folders) : m_folders(std::move(folders)) {}

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
    const QLocale locale = localeOf(lang);
    auto translator = std::make_unique<QTranslator>();
    bool loaded = translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (qsizetype i = 0; !loaded && i < m_folders.size(); ++i)
        loaded = translator->load(locale, QStringLiteral("quillmend_qt"), QStringLiteral("_"), m_folders.at(i));
    if (!loaded)
        return;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
}
