// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the window program was asked to do by its arguments.
struct CommandLine
{
    bool autoMode = false; // "/AUTO" (any case) or "--auto" among the arguments
    QString fileName;      // the other arguments joined by one blank, trimmed
};

// arguments without the program's own path.
CommandLine parseCommandLine(const QStringList &arguments);
