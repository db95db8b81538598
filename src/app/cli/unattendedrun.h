// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/cli/clirunner.h"
#include "lang/langdoc.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"

#include <optional>

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

    const CliEnvironment &m_environment;
    Prompter &m_prompter;
    Settings m_settings;
    std::optional<IniFile::FileProblem> m_fileProblem;
    QList<SettingProblem> m_problems;
    LangDoc m_lang;
};
