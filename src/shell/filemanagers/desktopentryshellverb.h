// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The verb as a freedesktop desktop entry of our own in the user's
// applications folder, offered by file managers for SubRip files.
class DesktopEntryShellVerb : public OwnFileShellVerb
{
public:
    DesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder);

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
    void changed() const override;

private:
    QString m_applicationsFolder;
};
