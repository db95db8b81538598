// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/unattendedrun.h"

#include "app/cli/filecorrection.h"
#include "document/prompter.h"
#include "lang/form1messages.h"
#include "lang/languagelocator.h"
#include "engine/weakwordfiles.h"
#include "settings/settingproblemtext.h"

#include <QFileInfo>

namespace {

// The file name as given, quoted so that a blank at either end shows.
QString quoted(const QString &fileName)
{
    return u'"' + fileName + u'"';
}

} // namespace

UnattendedRun::UnattendedRun(const CliEnvironment &environment, Prompter &prompter)
    : m_environment(environment), m_prompter(prompter)
{
    // A file that cannot be read as settings leaves the defaults, as in the window.
    m_loaded = SettingsFile(environment.defaultSettingsPath).load();
    const LanguageLocator languages(environment.languageFolders);
    if (const auto english = languages.fileFor(LanguageLocator::defaultLangFileBase()))
        m_lang.load(*english);
    if (const auto chosen = languages.fileFor(m_loaded.settings.LangFileBase))
        m_lang.load(*chosen);
}

void UnattendedRun::warnAboutSettings()
{
    const QString &path = m_environment.defaultSettingsPath;
    const std::optional<IniFile::FileProblem> &fileProblem = m_loaded.fileProblem;
    if (fileProblem && fileProblem->kind != IniFile::FileProblem::Kind::NotRegularFile)
        m_prompter.warn(GetLangText(m_lang, Form1Msg::SettingsFileUnusable)
                            .arg(path, settingsFileProblemText(*fileProblem, m_lang)));
    if (!m_loaded.problems.isEmpty())
        warnAboutProblems({path}, m_loaded.problems);
}

void UnattendedRun::warnAboutProblems(QStringList lines, const QList<SettingProblem> &problems)
{
    for (const SettingProblem &problem : problems)
        lines << settingProblemText(problem, m_lang);
    m_prompter.warn(lines.join(u'\n'));
}

int UnattendedRun::correct(const QString &fileName)
{
    warnAboutSettings();
    const QFileInfo file(fileName);
    if (!file.isFile()) {
        const Message &reason = file.exists() ? Form1Msg::NotRegularFile : Form1Msg::NoSuchFile;
        m_prompter.warn(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + quoted(fileName) + u'\n'
                        + GetLangText(m_lang, reason));
        return ExitFileFailed;
    }
    const Settings &settings = m_loaded.settings;
    WeakWordLists weakWords;
    if (settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(m_environment.languageFolders, m_lang, unusable);
        if (!unusable.isEmpty())
            m_prompter.warn(unusable.join(u'\n'));
    }

    const FileCorrectionReport report = correctFile(fileName, {}, settings, m_lang, m_prompter, weakWords);
    if (!report.ok) {
        // Settings the run cannot use are the settings file's fault, not the
        // subtitle file's.
        if (!report.settingProblems.isEmpty())
            warnAboutProblems({GetLangText(m_lang, Form1Msg::ErrorInSettingsFile), m_environment.defaultSettingsPath},
                              report.settingProblems);
        else if (report.corrected && report.subtitlesOut == 0)
            m_prompter.inform(fileName + u'\n' + report.error);
        else if (report.corrected) // written wrongly: the message names the file
            m_prompter.warn(report.error);
        else
            m_prompter.warn(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + fileName + u'\n' + report.error);
        return ExitFileFailed;
    }
    if (settings.ShowMessageAuto)
        m_prompter.inform(fileName + u'\n' + report.summary);
    return ExitOk;
}
