// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settingproblem.h"

#include <QString>

class LangDoc;

// "Invalid setting MaxLen: must be at least 1", in the language of lang.
QString settingProblemText(const SettingProblem &problem, const LangDoc &lang);
