// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the window program was asked to do by its arguments.
struct CommandLine
{
    bool autoMode = false; // "/AUTO" or "--auto", in any case, among the arguments
    QString fileName;      // the other argument as given, or several joined by one blank
};

// arguments without the program's own path.
CommandLine parseCommandLine(const QStringList &arguments);
