// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/languagelocator.h"

#include "lang/langdoc.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace {
QString fileSuffix()
{
    return QLatin1Char('.') + LanguageLocator::applicationName() + QStringLiteral(".exe.xml");
}
} // namespace

LanguageLocator::LanguageLocator(QStringList folders) : m_folders(std::move(folders)) {}

QStringList LanguageLocator::defaultFolders(const QString &executableFolder)
{
    // The folder new language files are written to comes first, so a file
    // completed there wins over the copy it was made from.
    const QStringList candidates{
        writableFolder(executableFolder),
        executableFolder,
        userFolder(),
        QDir(executableFolder).filePath(QStringLiteral(QUILLMEND_LANG_RELATIVE_DIR)),
        QStringLiteral(QUILLMEND_LANG_INSTALL_DIR),
    };
    QStringList folders;
    for (const QString &candidate : candidates) {
        const QString folder = QDir::cleanPath(candidate);
        if (!folder.isEmpty() && !folders.contains(folder))
            folders << folder;
    }
    return folders;
}

QString LanguageLocator::writableFolder(const QString &executableFolder)
{
    if (isPortableFolder(executableFolder))
        return QDir::cleanPath(executableFolder);
    return userFolder();
}

bool LanguageLocator::isPortableFolder(const QString &executableFolder)
{
    return !executableFolder.isEmpty() && QFileInfo(QDir(executableFolder).filePath(settingsFileName())).isFile();
}

QString LanguageLocator::userFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(QDir(data).filePath(QStringLiteral("quillmend/lang")));
}

std::optional<QString> LanguageLocator::fileFor(const QString &langFileBase) const
{
    if (langFileBase.trimmed().isEmpty() || langFileBase.contains(QLatin1Char('/'))
        || langFileBase.contains(QLatin1Char('\\')))
        return std::nullopt;
    for (const QString &folder : m_folders) {
        const QDir dir(folder);
        for (const QString &suffix : {QStringLiteral(".xml.New"), QStringLiteral(".xml")}) {
            const QFileInfo candidate(dir.filePath(langFileBase + suffix));
            if (candidate.isFile())
                return candidate.filePath();
        }
    }
    return std::nullopt;
}

QStringList LanguageLocator::languageNames() const
{
    QStringList names;
    const QString suffix = fileSuffix();
    for (const QString &folder : m_folders) {
        const QStringList files = QDir(folder).entryList({QLatin1Char('*') + suffix}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const QString name = file.chopped(suffix.size());
            // "Quillmend.exe.xml" alone has no language part; skip it.
            if (!name.isEmpty() && !names.contains(name))
                names << name;
        }
    }
    return names;
}

QStringList LanguageLocator::loadableLanguageNames() const
{
    QStringList names = languageNames();
    names.removeIf([this](const QString &name) {
        const std::optional<QString> chosen = fileFor(langFileBaseFor(name));
        return !chosen || !LangDoc().load(*chosen);
    });
    return names;
}

QString LanguageLocator::langFileBaseFor(const QString &languageName)
{
    return languageName + QLatin1Char('.') + applicationName() + QStringLiteral(".exe");
}

QString LanguageLocator::languageNameOf(const QString &langFileBase)
{
    const QString suffix = QLatin1Char('.') + applicationName() + QStringLiteral(".exe");
    if (langFileBase.endsWith(suffix, Qt::CaseInsensitive))
        return langFileBase.chopped(suffix.size());
    return langFileBase.section(QLatin1Char('.'), 0, 0);
}
