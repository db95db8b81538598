// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <QString>

// The verb as a freedesktop desktop entry of our own in the user's
// applications folder, offered by file managers for SubRip files.
class DesktopEntryShellVerb : public ShellVerb
{
public:
    DesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder);

    static QString defaultApplicationsFolder();
    static QString entryFileName();

    QString entryPath() const;
    // The Exec value as written in the file, quoted and escaped.
    QString execValue() const;

    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

private:
    bool writeEntry(QString *errorText) const;
    bool removeEntry(QString *errorText) const;
    void refreshDesktopDatabase() const;

    QString m_executablePath;
    QString m_applicationsFolder;
};
