// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The verb as a Nautilus script named "Correct subtitles", listed under
// Scripts in the context menu of any selection; it corrects the selected
// .srt and .vtt files one after another and passes over the rest.
class NautilusScriptShellVerb : public OwnFileShellVerb
{
public:
    NautilusScriptShellVerb(const QString &executablePath, const QString &scriptsFolder);

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
};
