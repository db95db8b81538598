// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The verb as a Nemo action, shown in Nemo's context menu when one file named
// *.srt or *.vtt in any letter case is selected.
class NemoActionShellVerb : public OwnFileShellVerb
{
public:
    NemoActionShellVerb(const QString &executablePath, const QString &actionsFolder);

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
};
