// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <QString>
#include <QStringList>

// The verb as a Thunar custom action in Thunar/uca.xml, the file that also
// holds the user's own actions: ours is known by its unique id, added at the
// end and removed alone, every other byte of the file kept as it was, and a
// file that cannot be read as an action list is never written.
class ThunarActionShellVerb : public ShellVerb
{
public:
    // configFolder holds Thunar/uca.xml; systemConfigFolders are where Thunar
    // finds the actions it shows while the user has no file of their own.
    ThunarActionShellVerb(const QString &executablePath, const QString &configFolder,
                          const QStringList &systemConfigFolders);

    QString actionsPath() const;

    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

private:
    QString m_executablePath;
    QString m_configFolder;
    QStringList m_systemConfigFolders;
};
