// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/fileworkflows.h"

#include "document/prompter.h"
#include "document/readerror.h"
#include "document/savecommand.h"
#include "document/subtitlefile.h"
#include "editor/subtitledocument.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "engine/weakwordfiles.h"
#include "settings/settingproblemtext.h"
#include "settings/settings.h"

#include <QFileInfo>

namespace {

bool isFile(const QString &path)
{
    return !path.trimmed().isEmpty() && QFileInfo(path).isFile();
}

} // namespace

FileWorkflows::FileWorkflows(SubtitleDocument &document, Settings &settings, Prompter &prompter,
                             QString settingsPath, QStringList languageFolders, QObject *parent)
    : QObject(parent), m_document(document), m_settings(settings), m_prompter(prompter),
      m_settingsPath(std::move(settingsPath)), m_languageFolders(std::move(languageFolders))
{
}

bool FileWorkflows::askAboutLenientTimes(const QString &fileName, const ReadError &error)
{
    const LangDoc &lang = m_document.lang();
    const QString question = fileName + u'\n' + error.describe(lang) + u"\n\n"
        + GetLangText(lang, Form1Msg::LenientTimesQuestion);
    return m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::No) == Prompter::Answer::Yes;
}

bool FileWorkflows::LoadFileToList(const QString &fileName, const QString &encodingName)
{
    if (!isFile(fileName) || !askToSave())
        return false;
    const QString encoding = encodingName.isEmpty() ? m_settings.Encoding : encodingName;
    QString errorText;
    ReadError error;
    bool loaded = m_document.load(fileName, errorText, encoding, m_settings.LenientTimes, &error);
    // Refused for a time the common variants would read: asked, and No
    // keeps the refusal the question has shown.
    if (!loaded && error.lenientTimesWouldRead) {
        if (!askAboutLenientTimes(fileName, error))
            return false;
        m_settings.LenientTimes = true;
        emit settingsChanged();
        loaded = m_document.load(fileName, errorText, encoding, true);
    }
    if (!loaded)
        m_prompter.warn(errorText);
    return loaded;
}

bool FileWorkflows::EditSubs()
{
    const LangDoc &lang = m_document.lang();
    const QString path = m_document.path();
    if (!isFile(path)) {
        m_prompter.warn(path.trimmed().isEmpty() ? GetLangText(lang, Form1Msg::ErrorInFile)
                                                 : GetLangText(lang, Form1Msg::ErrorInFile) + u'\n' + path);
        return false;
    }
    // A second run starts again from the file: changes made by hand since
    // the last run, and not saved, would be lost without a word.
    m_document.commitPendingEdits();
    if (m_document.isModified() && m_document.undoStack().index() > 0 && !askToSave())
        return false;
    // Both lists are filled from the one read, so a row's partner is always
    // the same subtitle. When the file is not what the original list shows
    // (saved since, or changed by another program), the user decides.
    if (m_document.changedOnDisk()) {
        if (m_prompter.ask(GetLangText(lang, Form1Msg::ChangedBeforeCorrect).arg(path), Prompter::Buttons::YesNo,
                           Prompter::Answer::Yes)
            != Prompter::Answer::Yes)
            return false;
    } else if (m_document.saveState() == SaveState::Saved
               && m_prompter.ask(GetLangText(lang, Form1Msg::ReloadQuestion), Prompter::Buttons::YesNo,
                                 Prompter::Answer::Yes)
                      != Prompter::Answer::Yes) {
        return false;
    }
    WeakWordLists weakWords;
    if (m_settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(m_languageFolders, lang, unusable);
        if (!unusable.isEmpty())
            m_prompter.warn(unusable.join(u'\n'));
    }
    // A file that cannot be corrected leaves the document as it was.
    const CorrectionResult result = m_document.correct(m_settings, weakWords, m_shotChanges);
    if (result.ok)
        return true;
    // Settings the run cannot use are the settings file's fault, not the
    // subtitle file's.
    if (!result.settingProblems.isEmpty()) {
        QStringList lines{GetLangText(lang, Form1Msg::ErrorInSettingsFile), m_settingsPath};
        for (const SettingProblem &problem : result.settingProblems)
            lines << settingProblemText(problem, lang);
        m_prompter.warn(lines.join(u'\n'));
    } else {
        m_prompter.warn(GetLangText(lang, Form1Msg::ErrorInFile) + u'\n' + path + u'\n' + result.errorText);
    }
    return false;
}

bool FileWorkflows::save()
{
    m_document.commitPendingEdits();
    const QString path = m_document.path();
    // What another program wrote since the file was read is not lost unasked.
    if (m_document.changedOnDisk()) {
        switch (m_prompter.ask(GetLangText(m_document.lang(), Form1Msg::ChangedOnDisk).arg(path),
                               Prompter::Buttons::YesNoCancel, Prompter::Answer::Cancel)) {
        case Prompter::Answer::Yes:
            break;
        case Prompter::Answer::No:
            LoadFileToList(path);
            return false;
        case Prompter::Answer::Cancel:
            return false;
        }
    }
    return saveAndReport(path, m_settings.CreateBakFile);
}

bool FileWorkflows::saveAs(const QString &target)
{
    m_document.commitPendingEdits();
    if (target.isEmpty())
        return false;
    if (m_document.isOpenFile(target))
        return save();
    // The file dialog asks nothing, so that this question, with No first,
    // is asked the same way everywhere.
    if (QFileInfo::exists(target)
        && m_prompter.ask(GetLangText(m_document.lang(), Form1Msg::ReplaceExisting).arg(target),
                          Prompter::Buttons::YesNo, Prompter::Answer::No)
               != Prompter::Answer::Yes)
        return false;
    // A copy: the open file stays the one a later Save writes, and its save
    // state stays what it was.
    return saveAndReport(target, m_settings.CreateBakFile);
}

bool FileWorkflows::saveAndReport(const QString &target, bool createBakFile)
{
    const SaveOutcome outcome = m_document.isOpenFile(target)
                                    ? m_document.save(target, createBakFile, m_prompter)
                                    : m_document.saveCopy(target, createBakFile, m_prompter);
    switch (outcome.status) {
    case SaveOutcome::Status::Saved:
        return true;
    case SaveOutcome::Status::Failed:
        m_prompter.warn(outcome.message);
        return false;
    case SaveOutcome::Status::NothingToSave:
        m_prompter.inform(outcome.message);
        return false;
    case SaveOutcome::Status::Cancelled:
        break;
    }
    return false;
}

bool FileWorkflows::askToSave()
{
    m_document.commitPendingEdits();
    SaveState state = m_document.saveState();
    return AskToSave(state, m_prompter, m_document.lang(), [this] {
        if (m_document.changedOnDisk()
            && m_prompter.ask(GetLangText(m_document.lang(), Form1Msg::OverwriteChanged).arg(m_document.path()),
                              Prompter::Buttons::YesNo, Prompter::Answer::No)
                   != Prompter::Answer::Yes)
            return SaveOutcome{SaveOutcome::Status::Cancelled, {}};
        return m_document.save(m_document.path(), m_settings.CreateBakFile, m_prompter);
    });
}

bool FileWorkflows::reopen(const QString &encodingName)
{
    const QString path = m_document.path();
    DecodedSubtitles decoded;
    ReadError error;
    if (!readSubtitleFile(path, decoded, error, encodingName)) {
        m_prompter.warn(GetLangText(m_document.lang(), Form1Msg::ErrorInFile) + u'\n' + path + u'\n'
                        + error.describe(m_document.lang()));
        return false;
    }
    return LoadFileToList(path, encodingName) && EditSubs();
}
