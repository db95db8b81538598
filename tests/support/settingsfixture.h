// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/clsinifile.h"

// An INI accessor on path and the section General, ready for reads and writes.
inline clsIniFile registeredIni(Prompter &prompter, const QString &path)
{
    clsIniFile ini(prompter, {});
    ini.setFullPath(path);
    ini.setSectionName(QStringLiteral("General"));
    return ini;
}
