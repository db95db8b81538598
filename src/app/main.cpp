// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"
#include "app/cli/unattendedrun.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "media/videoplayer.h"
#include "settings/settingsstore.h"
#include "shell/platformshellverb.h"
#include "ui/mainwindow/commandline.h"
#include "ui/language/qttexts.h"
#include "ui/filechooser.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/messageboxprompter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

void setApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillmend"));
    QCoreApplication::setOrganizationName(QStringLiteral("the Quillmend developers"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMEND_VERSION));
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The unattended run without a display: as quillmend-cli, the summary on
// standard output and each question answered with its default button.
int runWithoutDisplay(int argc, char *argv[], const CommandLine &commandLine)
{
    QCoreApplication application(argc, argv);
    setApplicationNames();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString folder = QCoreApplication::applicationDirPath();
    const CliEnvironment environment{SettingsStore::defaultFilePath(folder), LanguageLocator::defaultFolders(folder)};
    if (commandLine.fileName.isEmpty()) {
        LangDoc lang;
        if (const auto file = LanguageLocator(environment.languageFolders).fileFor(LanguageLocator::defaultLangFileBase()))
            lang.load(*file);
        err << GetLangText(lang, Form1Msg::ErrorInFile) << '\n';
        return ExitFileFailed;
    }
    const int exitCode = runCli({QCoreApplication::applicationFilePath(), QStringLiteral("--"), commandLine.fileName},
                                out, err, environment);
    out.flush();
    err.flush();
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (commandLine.autoMode && !hasDisplay())
        return runWithoutDisplay(argc, argv, commandLine);

    QApplication application(argc, argv);
    setApplicationNames();
    VideoPlayer::prepareProcess();

    const QString folder = QCoreApplication::applicationDirPath();
    MessageBoxPrompter prompter;
    if (commandLine.autoMode) {
        // The command line's run, with boxes for its questions and summary.
        const CliEnvironment environment{SettingsStore::defaultFilePath(folder),
                                         LanguageLocator::defaultFolders(folder)};
        UnattendedRun run(environment, prompter);
        QtTexts qtTexts;
        qtTexts.follow(run.lang());
        return run.correct(commandLine.fileName);
    }

    const LanguageLocator languages(LanguageLocator::defaultFolders(folder));
    LangDoc lang;
    if (const auto file = languages.fileFor(LanguageLocator::defaultLangFileBase()))
        lang.load(*file);

    DialogFileChooser files;
    const std::unique_ptr<ShellVerb> shellVerb = makePlatformShellVerb(QCoreApplication::applicationFilePath());
    MainWindow window(lang, languages, SettingsStore::defaultFilePath(folder), prompter, files, *shellVerb,
                 LanguageLocator::writableFolder(folder));
    prompter.setParentWidget(&window);
    window.Form_Load();
    window.runCommandLine(commandLine);
    window.show();
    return QApplication::exec();
}
