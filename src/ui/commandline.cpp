// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commandline.h"

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QStringList rest;
    for (const QString &argument : arguments) {
        if (argument.compare(u"/AUTO", Qt::CaseInsensitive) == 0 || argument == u"--auto")
            result.autoMode = true;
        else
            rest << argument;
    }
    result.fileName = rest.join(u' ').trimmed();
    return result;
}
