// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The desktop entry that earlier versions wrote for the verb into the user's
// applications folder: as the only program declared for SubRip files there,
// it became their default opener, so a double-click corrected and saved a
// file unasked. It is never written again, and setting the verb either way
// removes it.
class OldDesktopEntryShellVerb : public OwnFileShellVerb
{
public:
    OldDesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder);

    // Never keeps the verb from counting as registered.
    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
    void changed() const override;

private:
    QString m_applicationsFolder;
};
