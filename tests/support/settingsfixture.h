// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/inifile.h"

// An INI accessor on path and the section General, ready for reads and writes.
inline IniFile registeredIni(Prompter &prompter, const QString &path)
{
    IniFile ini(prompter, {});
    ini.setFullPath(path);
    ini.setSectionName(QStringLiteral("General"));
    return ini;
}
