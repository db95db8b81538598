// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <QString>

#include <memory>

// The verb as this platform's file managers know it, for the executable at
// executablePath: registry keys on Windows; elsewhere the entry of each common
// file manager, in the user's data and config folders.
std::unique_ptr<ShellVerb> makePlatformShellVerb(const QString &executablePath);
