// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/commandline.h"

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QStringList rest;
    for (const QString &argument : arguments) {
        if (argument.compare(u"/AUTO", Qt::CaseInsensitive) == 0
            || argument.compare(u"--auto", Qt::CaseInsensitive) == 0)
            result.autoMode = true;
        else
            rest << argument;
    }
    // One argument is the path exactly as given, blanks included; several
    // are a path a shell split at its blanks, so one blank joins them again.
    result.fileName = rest.join(u' ');
    return result;
}
