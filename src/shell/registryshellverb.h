// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <QString>

#include <optional>

class RegistryClass;
class RegistryStore;

// The verb as registry keys under the class-registration root: a
// "Correct subtitles" key, with its command, in the shell key of the file
// type of an extension such as .srt (or of the extension itself when it
// names no type).
class RegistryShellVerb : public ShellVerb
{
public:
    // The command runs executableFolder\executableBaseName.exe.
    RegistryShellVerb(RegistryStore &store, const QString &executableFolder, const QString &executableBaseName,
                      const QString &extension = QStringLiteral(".srt"));

    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

    QString commandLine() const;

private:
    // The key that holds the verbs; nullopt when the extension names a type
    // key that does not exist.
    std::optional<QString> baseKey(RegistryClass &registry) const;
    bool addVerb(RegistryClass &registry, const QString &base, QString *errorText) const;
    bool removeVerb(RegistryClass &registry, const QString &base, QString *errorText) const;

    RegistryStore &m_store;
    QString m_executableFolder;
    QString m_executableBaseName;
    QString m_extension;
};
