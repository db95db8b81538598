// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// Where the command line finds its settings and language files.
struct CliEnvironment
{
    QString defaultSettingsPath;
    QStringList languageFolders; // searched in order
};

// Exit codes of quillmend-cli.
enum CliExitCode {
    ExitOk = 0,         // every file corrected and written
    ExitFileFailed = 1, // a file could not be read, corrected or written
    ExitUsage = 2,      // bad usage or invalid settings; nothing touched
};

// quillmend-cli [options] FILE...: corrects each file as the unattended run
// does. arguments include the program name, as argv does.
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err, const CliEnvironment &environment);
