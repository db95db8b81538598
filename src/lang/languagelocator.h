// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Finds language files: "<Language>.Quillmend.exe.xml", or its override
// "<Language>.Quillmend.exe.xml.New", in a list of folders searched in order
// (beside the executable first, then the installed data folder).
class LanguageLocator
{
public:
    explicit LanguageLocator(QStringList folders);

    // The folder of writableFolder(), the executable's folder, the user's
    // language folder, then the installed language folder (found relative to
    // the executable first, so an installation can be moved).
    static QStringList defaultFolders(const QString &executableFolder);
    // Where language files made by the user go: the executable's folder in
    // portable mode, else the user's language folder.
    static QString writableFolder(const QString &executableFolder);
    // "quillmend/lang" in the user's data folder; it may not exist yet.
    static QString userFolder();

    const QStringList &folders() const { return m_folders; }

    // The file to load for an identifier such as "French.Quillmend.exe":
    // in the first folder that has one, the ".xml.New" override, else the
    // ".xml" file.
    std::optional<QString> fileFor(const QString &langFileBase) const;

    // Language names of the ".xml" files found, each once, in folder order
    // and within a folder by file name. Overrides alone are not listed.
    QStringList languageNames() const;
    // Those whose file, as fileFor() chooses it, loads: what a user can pick
    // (a device, a pipe or broken XML is no choice).
    QStringList loadableLanguageNames() const;

    static QString applicationName() { return QStringLiteral("Quillmend"); }
    // The language the program speaks when no other is chosen or found.
    static QString defaultLangFileBase() { return QStringLiteral("English.Quillmend.exe"); }
    // "Quillmend.ini", the settings file.
    static QString settingsFileName() { return applicationName() + QStringLiteral(".ini"); }
    // Portable: a settings file already stands in executableFolder, so the
    // settings and new language files stay beside the executable.
    static bool isPortableFolder(const QString &executableFolder);
    // "French" → "French.Quillmend.exe".
    static QString langFileBaseFor(const QString &languageName);
    // "French.Quillmend.exe" → "French", "Pt.BR.Quillmend.exe" → "Pt.BR".
    static QString languageNameOf(const QString &langFileBase);

private:
    QStringList m_folders;
};
