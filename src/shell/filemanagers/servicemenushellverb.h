// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/filemanagers/ownfileshellverb.h"

#include <QString>

// The verb as a KDE service menu, which Dolphin and Konqueror show at the top
// level of a SubRip file's context menu; KDE runs only executable ones.
class ServiceMenuShellVerb : public OwnFileShellVerb
{
public:
    ServiceMenuShellVerb(const QString &executablePath, const QString &serviceMenusFolder);

protected:
    QByteArray content() const override;
    FileState classify(const QByteArray &content) const override;
};
