// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
// MainWindow's file commands: open, correct and save, and the questions that
// keep work from being lost on the way.
#include "ui/mainwindow/mainwindow.h"

#include "document/prompter.h"
#include "document/readerror.h"
#include "document/subtitlefile.h"
#include "lang/languagelocator.h"
#include "lang/weakwordfiles.h"
#include "document/savecommand.h"
#include "editor/subtitledocument.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "settings/settingproblemtext.h"
#include "settings/settingsstore.h"
#include "ui/filechooser.h"
#include "ui/edits/editswindow.h"
#include "ui/language/langcaptions.h"
#include "ui/mainwindow/mainactions.h"
#include "ui/mainwindow/readingchoices.h"
#include "ui/subtitles/subtitlepanes.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>

void MainWindow::showSaveState()
{
    switch (m_document->saveState()) {
    case SaveState::Empty:
        m_lblStatus2->clear();
        break;
    case SaveState::Saved:
        m_lblStatus2->setText(GetLangText(m_lang, Form1Msg::Saved));
        break;
    case SaveState::NotSaved:
        m_lblStatus2->setText(GetLangText(m_lang, Form1Msg::NotSaved));
        break;
    }
}

bool MainWindow::askToSaveHandEdits()
{
    m_panes->commitPendingText();
    SaveState state = m_document->saveState();
    const bool goOn = AskToSave(state, m_prompter, m_lang, [this] {
        if (m_document->changedOnDisk()
            && m_prompter.ask(GetLangText(m_lang, Form1Msg::OverwriteChanged).arg(m_document->path()),
                              Prompter::Buttons::YesNo, Prompter::Answer::No)
                   != Prompter::Answer::Yes)
            return SaveOutcome{SaveOutcome::Status::Cancelled, {}};
        return m_document->save(m_document->path(), m_settings.CreateBakFile, m_prompter);
    });
    showSaveState();
    return goOn;
}

void MainWindow::clearDocument()
{
    showSummary();
    m_panes->documentReplaced();
    m_actions->text1->clear();
    setWindowTitle(windowCaption());
    EnableEditMenu(false);
    EnableSaveEdit(false, false);
    showSaveState();
    showEncoding();
}

bool MainWindow::LoadFileToList(const QString &fileName, const QString &encodingName)
{
    if (!fileExists(fileName) || !askToSaveHandEdits())
        return false;
    const QString encoding = encodingName.isEmpty() ? m_settings.Encoding : encodingName;
    QString errorText;
    ReadError error;
    bool loaded = m_document->load(fileName, errorText, encoding, m_settings.LenientTimes, &error);
    // Refused for a time the common variants would read: asked, and No
    // keeps the refusal the question has shown.
    bool refusalShown = false;
    if (!loaded && error.lenientTimesWouldRead) {
        refusalShown = !askToReadLenientTimes(fileName, error, m_prompter, m_lang);
        if (!refusalShown) {
            m_settings.LenientTimes = true;
            SaveValues();
            loaded = m_document->load(fileName, errorText, encoding, true);
        }
    }
    if (!loaded) {
        // Nothing of a file that cannot be read stays on screen.
        clearDocument();
        if (!refusalShown)
            m_prompter.warn(errorText);
        return false;
    }
    showSummary();
    m_panes->documentReplaced();
    m_actions->text1->setText(fileName);
    EnableEditMenu(false);
    EnableSaveEdit(true, false);
    setWindowTitle(windowCaption());
    showSaveState();
    showEncoding();
    return true;
}

void MainWindow::showEncoding()
{
    const bool open = !m_document->path().isEmpty();
    m_lblEncoding->setText(open ? m_document->encoding().displayName() : QString());
    tickEncodingInUse(*m_mnuReopenEncoding, open ? std::optional(m_document->encoding()) : std::nullopt);
}

void MainWindow::mnuReopenEncoding_Click(const QString &encodingName)
{
    // An encoding the file is not in leaves the open document as it is.
    DecodedSubtitles decoded;
    ReadError error;
    if (!readSubtitleFile(m_document->path(), decoded, error, encodingName)) {
        m_prompter.warn(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + m_document->path() + u'\n'
                          + error.describe(m_lang));
        return;
    }
    if (LoadFileToList(m_document->path(), encodingName))
        EditSubs();
}

void MainWindow::EditSubs()
{
    const QString path = m_document->path();
    if (!fileExists(path)) {
        m_prompter.warn(path.trimmed().isEmpty() ? GetLangText(m_lang, Form1Msg::ErrorInFile)
                                                   : GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + path);
        return;
    }
    // A second run starts again from the file: changes made by hand since
    // the last run, and not saved, would be lost without a word.
    m_panes->commitPendingText();
    if (m_document->isModified() && m_document->undoStack().index() > 0 && !askToSaveHandEdits())
        return;
    // Both lists are filled from the one read, so a row's partner is always
    // the same subtitle. When the file is not what the original list shows
    // (saved since, or changed by another program), the user decides.
    if (m_document->changedOnDisk()) {
        if (m_prompter.ask(GetLangText(m_lang, Form1Msg::ChangedBeforeCorrect).arg(path), Prompter::Buttons::YesNo,
                           Prompter::Answer::Yes)
            != Prompter::Answer::Yes)
            return;
    } else if (m_document->saveState() == SaveState::Saved
               && m_prompter.ask(GetLangText(m_lang, Form1Msg::ReloadQuestion), Prompter::Buttons::YesNo,
                                 Prompter::Answer::Yes)
                      != Prompter::Answer::Yes) {
        return;
    }
    // Settings the run cannot use are the settings file's fault, not the
    // subtitle file's.
    if (const QList<SettingProblem> invalid = SettingsStore::validate(m_settings); !invalid.isEmpty()) {
        QStringList lines{GetLangText(m_lang, Form1Msg::ErrorInSettingsFile), m_settingsPath};
        for (const SettingProblem &problem : invalid)
            lines << settingProblemText(problem, m_lang);
        m_prompter.warn(lines.join(u'\n'));
        return;
    }

    m_lblStatus->setText(GetLangText(m_lang, Form1Msg::Working));
    if (m_lblStatus->isVisible())
        m_lblStatus->repaint();
    WeakWordLists weakWords;
    if (m_settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(m_languages.folders(), m_lang, unusable);
        if (!unusable.isEmpty())
            m_prompter.warn(unusable.join(u'\n'));
    }
    // A file that cannot be corrected leaves the window as it was.
    const CorrectionResult result = m_document->correct(m_settings, weakWords);
    if (!result.ok) {
        showSummary();
        m_prompter.warn(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + path + u'\n' + result.errorText);
        return;
    }
    m_panes->documentReplaced();
    EnableEditMenu(true);
    showEncoding();
    showCorrectionResult(result.summary);
}

void MainWindow::showCorrectionResult(const QString &summary)
{
    showSummary();
    showSaveState();

    if (m_settings.ShowMessage) {
        m_editsWindow->hide();
        m_prompter.inform(summary);
    }
    placeEditsWindowBeside();
    m_editsWindow->showWindow();
    m_editsWindow->sortOff();
    if (m_actions->mnuShowEditOnly->isChecked())
        ShowEditOnly(true);
    EnableSaveEdit(true, true);
    activateWindow();
    raise();
}

void MainWindow::mnuOpen_Click()
{
    const QString chosen =
        m_files.chooseFileToOpen(this, m_actions->mnuOpen->text().remove(u'&'), m_document->path());
    if (!chosen.isEmpty())
        LoadFileToList(chosen);
}

void MainWindow::mnuSave_Click()
{
    m_panes->commitPendingText();
    saveOverOpenFile();
}

void MainWindow::saveOverOpenFile()
{
    const QString path = m_document->path();
    // What another program wrote since the file was read is not lost unasked.
    if (m_document->changedOnDisk()) {
        switch (m_prompter.ask(GetLangText(m_lang, Form1Msg::ChangedOnDisk).arg(path), Prompter::Buttons::YesNoCancel,
                               Prompter::Answer::Cancel)) {
        case Prompter::Answer::Yes:
            break;
        case Prompter::Answer::No:
            LoadFileToList(path);
            return;
        case Prompter::Answer::Cancel:
            return;
        }
    }
    saveAndReport(path, m_settings.CreateBakFile);
}

void MainWindow::mnuSaveAS_Click()
{
    m_panes->commitPendingText();
    const QString chosen =
        m_files.chooseFileToSave(this, m_actions->mnuSaveAS->text().remove(u'&'), m_document->path());
    if (chosen.isEmpty())
        return;
    if (m_document->isOpenFile(chosen)) {
        saveOverOpenFile();
        return;
    }
    // The dialog asks nothing, so that this question, with No first, is
    // asked the same way everywhere.
    if (QFileInfo::exists(chosen)
        && m_prompter.ask(GetLangText(m_lang, Form1Msg::ReplaceExisting).arg(chosen), Prompter::Buttons::YesNo,
                          Prompter::Answer::No)
               != Prompter::Answer::Yes)
        return;
    // A copy: the open file stays the one a later Save writes, and its save
    // state stays what it was.
    saveAndReport(chosen, m_settings.CreateBakFile);
}

void MainWindow::saveAndReport(const QString &target, bool createBakFile)
{
    const SaveOutcome outcome = m_document->isOpenFile(target)
                                    ? m_document->save(target, createBakFile, m_prompter)
                                    : m_document->saveCopy(target, createBakFile, m_prompter);
    if (outcome.status == SaveOutcome::Status::Failed)
        m_prompter.warn(outcome.message);
    else if (outcome.status != SaveOutcome::Status::Saved)
        m_prompter.inform(outcome.message);
    showSaveState();
}
