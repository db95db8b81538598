// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The verb as a file-manager action in the folder Caja's actions extension
// reads, shown for files named *.srt or *.vtt in any letter case.
class CajaActionShellVerb : public OwnFileShellVerb
{
public:
    CajaActionShellVerb(const QString &executablePath, const QString &actionsFolder);

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
};
