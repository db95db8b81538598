// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/unattendedrun.h"

#include "app/cli/filecorrection.h"
#include "document/prompter.h"
#include "lang/form1messages.h"
#include "lang/languagelocator.h"
#include "lang/weakwordfiles.h"
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
    const QString &path = environment.defaultSettingsPath;
    const QString section = QStringLiteral("General");
    // A file that cannot be read as settings leaves the defaults, as in the window.
    m_fileProblem = IniFile::checkFile(path, section);
    if (!m_fileProblem) {
        IniFile ini(prompter, path);
        ini.setFullPath(path);
        ini.setSectionName(section);
        SettingsReadResult read = SettingsStore::read(ini);
        m_settings = std::move(read.settings);
        m_problems = std::move(read.problems);
    }
    const LanguageLocator languages(environment.languageFolders);
    if (const auto english = languages.fileFor(QStringLiteral("English.Quillmend.exe")))
        m_lang.load(*english);
    if (const auto chosen = languages.fileFor(m_settings.LangFileBase))
        m_lang.load(*chosen);
}

void UnattendedRun::warnAboutSettings()
{
    const QString &path = m_environment.defaultSettingsPath;
    if (m_fileProblem && m_fileProblem->kind != IniFile::FileProblem::Kind::NotRegularFile)
        m_prompter.warn(GetLangText(m_lang, Form1Msg::SettingsFileUnusable)
                            .arg(path, settingsFileProblemText(*m_fileProblem, m_lang)));
    if (!m_problems.isEmpty()) {
        QStringList lines{path};
        for (const SettingProblem &problem : std::as_const(m_problems))
            lines << settingProblemText(problem, m_lang);
        m_prompter.warn(lines.join(u'\n'));
    }
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
    if (const QList<SettingProblem> invalid = SettingsStore::validate(m_settings); !invalid.isEmpty()) {
        QStringList lines{GetLangText(m_lang, Form1Msg::ErrorInSettingsFile), m_environment.defaultSettingsPath};
        for (const SettingProblem &problem : invalid)
            lines << settingProblemText(problem, m_lang);
        m_prompter.warn(lines.join(u'\n'));
        return ExitFileFailed;
    }
    WeakWordLists weakWords;
    if (m_settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(m_environment.languageFolders, m_lang, unusable);
        if (!unusable.isEmpty())
            m_prompter.warn(unusable.join(u'\n'));
    }

    const FileCorrectionReport report = correctFile(fileName, {}, m_settings, m_lang, m_prompter, weakWords);
    if (!report.ok) {
        if (report.corrected && report.subtitlesOut == 0)
            m_prompter.inform(fileName + u'\n' + report.error);
        else if (report.corrected) // written wrongly: the message names the file
            m_prompter.warn(report.error);
        else
            m_prompter.warn(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + fileName + u'\n' + report.error);
        return ExitFileFailed;
    }
    if (m_settings.ShowMessageAuto)
        m_prompter.inform(fileName + u'\n' + report.summary);
    return ExitOk;
}
