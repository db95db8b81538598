// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/inifile.h"
#include "settings/settingsstore.h"

#include <QString>

class LangDoc;

// "Invalid setting MaxLen: must be at least 1", in the language of lang.
QString settingProblemText(const SettingProblem &problem, const LangDoc &lang);

// Why a settings file cannot be read ("it holds a NUL byte"), in the
// language of lang.
QString settingsFileProblemText(const IniFile::FileProblem &problem, const LangDoc &lang);
