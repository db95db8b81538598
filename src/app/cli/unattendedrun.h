// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/cli/clirunner.h"
#include "lang/langdoc.h"
#include "settings/settingsfile.h"

#include <QList>
#include <QStringList>

class Prompter;

// quillmend /AUTO FILE with a display: the file corrected and saved exactly
// as quillmend-cli saves it (correctFile), with the settings file's backup
// and summary choices for unattended runs; every question, refusal and the
// summary go through the prompter, each naming the file.
class UnattendedRun
{
public:
    // Reads the settings file and the language it names.
    UnattendedRun(const CliEnvironment &environment, Prompter &prompter);

    // The language the run speaks, for what shows its texts.
    const LangDoc &lang() const { return m_lang; }
    // ExitOk when the file was corrected and written, else ExitFileFailed.
    int correct(const QString &fileName);

private:
    void warnAboutSettings();
    // One box: the heading lines, then one line per problem.
    void warnAboutProblems(QStringList lines, const QList<SettingProblem> &problems);

    const CliEnvironment &m_environment;
    Prompter &m_prompter;
    SettingsFile::Loaded m_loaded;
    LangDoc m_lang;
};
