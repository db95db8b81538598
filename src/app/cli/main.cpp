// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"
#include "lang/languagelocator.h"
#include "media/peakdecoder.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmend"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMEND_VERSION));
    PeakDecoder::prepareProcess();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString folder = QCoreApplication::applicationDirPath();
    const CliEnvironment environment{SettingsStore::defaultFilePath(folder), LanguageLocator::defaultFolders(folder)};
    const int exitCode = runCli(QCoreApplication::arguments(), out, err, environment);
    out.flush();
    err.flush();
    return exitCode;
}
