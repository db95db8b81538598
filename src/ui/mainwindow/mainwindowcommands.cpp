// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands and the state they are offered in: each calls
// the document or its workflows, and the window shows what follows.
#include "ui/mainwindow/mainwindow.h"

#include "document/prompter.h"
#include "editor/fileworkflows.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "ui/about/aboutdialog.h"
#include "ui/edits/editswindow.h"
#include "ui/filechooser.h"
#include "ui/language/languagefilecreator.h"
#include "ui/mainwindow/mainactions.h"
#include "ui/mainwindow/windowgeometry.h"
#include "ui/options/optionsdialog.h"
#include "ui/mainwindow/statusfields.h"
#include "ui/shots/filmshots.h"
#include "ui/subtitles/subtitlepanes.h"
#include "ui/video/filmreview.h"
#include "ui/video/videoactions.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

void MainWindow::connectActions()
{
    const MainActions &a = *m_actions;
    connect(a.mnuOpen, &QAction::triggered, this, &MainWindow::mnuOpen_Click);
    connect(a.mnuSave, &QAction::triggered, this, &MainWindow::mnuSave_Click);
    connect(a.mnuSaveAS, &QAction::triggered, this, &MainWindow::mnuSaveAS_Click);
    connect(a.mnuOptions, &QAction::triggered, this, &MainWindow::mnuOptions_Click);
    connect(a.mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(a.mnuEditSubs, &QAction::triggered, this, &MainWindow::EditSubs);
    connect(a.mnuShowEditOnly, &QAction::triggered, this,
            [this] { ShowEditOnly(m_actions->mnuShowEditOnly->isChecked()); });
    connect(a.mnuInsSub, &QAction::triggered, this, &MainWindow::mnuInsSub_Click);
    connect(a.mnuInsSubDown, &QAction::triggered, this, &MainWindow::mnuInsSubDown_Click);
    connect(a.mnuDelSub, &QAction::triggered, this, &MainWindow::mnuDelSub_Click);
    connect(a.mnuRestoreOriginal, &QAction::triggered, m_panes, &SubtitlePanes::restoreSelected);
    connect(a.mnuNextSubEdit, &QAction::triggered, this, [this] { LocateNextSubEdit(false); });
    connect(a.mnuBefSubEdit, &QAction::triggered, this, [this] { LocateNextSubEdit(true); });
    connect(a.mnuNextTooFast, &QAction::triggered, this, [this] { m_panes->locateTooFast(false); });
    connect(a.mnuPrevTooFast, &QAction::triggered, this, [this] { m_panes->locateTooFast(true); });
    connect(a.mnuShowEditsWindow, &QAction::triggered, m_editsWindow, &EditsWindow::showWindow);
    connect(a.mnuUndo, &QAction::triggered, m_document, &SubtitleDocument::undo);
    connect(a.mnuRedo, &QAction::triggered, m_document, &SubtitleDocument::redo);
    connect(a.mnuCreateLang, &QAction::triggered, this, [this] {
        LanguageFileCreator creator(m_languages, m_newLanguageFolder, m_prompter, this);
        creator.applyCaptions(m_lang);
        creator.exec();
    });
    connect(a.mnuAbout, &QAction::triggered, this, [this] {
        AboutDialog about(this);
        about.applyCaptions(m_lang);
        about.exec();
    });
    connect(m_filmReview->actions().mnuOpenVideo, &QAction::triggered, this, &MainWindow::mnuOpenVideo_Click);
    const VideoActions &video = m_filmReview->actions();
    connect(video.mnuImportShotChanges, &QAction::triggered, this, &MainWindow::mnuImportShotChanges_Click);
    connect(video.mnuExportShotChanges, &QAction::triggered, this, &MainWindow::mnuExportShotChanges_Click);
    const FilmShots &shots = m_filmReview->shots();
    // F8 waiting for the cuts goes on once they are found, or without them.
    connect(&shots, &FilmShots::changed, this, [this] {
        showShotDistance();
        if (m_waitingToCorrect && !m_filmReview->shots().isFinding()) {
            m_waitingToCorrect = false;
            correctWithShotChanges(m_filmReview->shots().state() == FilmShots::State::Cancelled);
        }
    });
    connect(m_panes, &SubtitlePanes::subtitleSelected, this, &MainWindow::showShotDistance);
    connect(&m_document->correctedList(), &SubtitleList::changed, this, &MainWindow::showShotDistance);
    connect(m_editsWindow, &EditsWindow::recordActivated, m_panes, &SubtitlePanes::showRecord);
    connect(m_editsWindow, &EditsWindow::restoreRequested, m_document, &SubtitleDocument::restoreOrReapply);
}

// ---- What the document says

void MainWindow::showOpenFile(const QString &path)
{
    m_actions->text1->setText(path);
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(path.isEmpty() ? title
                                  : GetLangText(m_lang, Form1Msg::TitleWithFile).arg(QFileInfo(path).fileName(), title));
}

void MainWindow::showCommandState()
{
    EnableEditMenu(m_document->isCorrected());
    EnableSaveEdit(!m_document->path().isEmpty(), m_document->isCorrected());
}

void MainWindow::showCorrection(const QString &summary)
{
    if (m_settings.ShowMessage) {
        m_editsWindow->hide();
        m_prompter.inform(summary);
    }
    m_geometry->placeEditsWindowBeside();
    m_editsWindow->showWindow();
    m_editsWindow->sortOff();
    if (m_actions->mnuShowEditOnly->isChecked())
        ShowEditOnly(true);
    activateWindow();
    raise();
}

// ---- Command state

void MainWindow::EnableEditMenu(bool toEnable)
{
    const MainActions &a = *m_actions;
    for (QAction *action : {a.mnuShowEditOnly, a.mnuBefSubEdit, a.mnuDelSub, a.mnuInsSub, a.mnuInsSubDown,
                            a.mnuNextSubEdit, a.mnuRestoreOriginal, a.mnuNextTooFast, a.mnuPrevTooFast})
        action->setEnabled(toEnable);
}

void MainWindow::EnableEditSubs(bool toEnable)
{
    for (QAction *action : {m_actions->mnuDelSub, m_actions->mnuInsSub, m_actions->mnuInsSubDown})
        action->setEnabled(toEnable);
}

void MainWindow::EnableSaveEdit(bool toEnable, bool enableSave)
{
    m_actions->mnuEditSubs->setEnabled(toEnable);
    m_mnuReopenEncoding->setEnabled(toEnable);
    for (QAction *action : {m_actions->mnuSave, m_actions->mnuSaveAS, m_actions->mnuShowEditOnly})
        action->setEnabled(enableSave);
}

void MainWindow::ShowEditOnly(bool toShowEditOnly)
{
    m_actions->mnuShowEditOnly->setChecked(toShowEditOnly);
    EnableEditSubs(!toShowEditOnly);
    m_panes->setOnlyCorrected(toShowEditOnly);
}

bool MainWindow::LocateNextSubEdit(bool locationUp)
{
    return m_panes->locateNextSubEdit(locationUp);
}

// ---- Commands

bool MainWindow::LoadFileToList(const QString &fileName, const QString &encodingName)
{
    return m_workflows->LoadFileToList(fileName, encodingName);
}

void MainWindow::EditSubs()
{
    // The window's thread stays free while the cuts are found.
    if (m_settings.ShotChanges && m_filmReview->shots().isFinding()) {
        m_waitingToCorrect = true;
        m_status->showNote(GetLangText(m_lang, Form1Msg::WaitingForShotChanges), false);
        return;
    }
    correctWithShotChanges(false);
}

void MainWindow::correctWithShotChanges(bool cancelled)
{
    // A film closed or refused has no cuts left.
    const ShotChanges *cuts = m_settings.ShotChanges ? m_filmReview->shots().shotChanges() : nullptr;
    m_workflows->setShotChanges(cuts ? *cuts : ShotChanges());
    const bool corrected = m_workflows->EditSubs();
    if (cancelled)
        m_status->showNote(GetLangText(m_lang, Form1Msg::CorrectedWithoutShotChanges), corrected);
}

void MainWindow::showShotDistance()
{
    const int row = m_panes->selectedCorrectedRow();
    const SubtitleList &list = m_document->correctedList();
    QString text;
    if (row >= 0 && row < list.rowCount() && m_filmReview->isOpen())
        text = m_filmReview->shots().distanceText(list.startMs(row), list.endMs(row),
                                                  m_filmReview->player().frameRate());
    m_status->showShotDistance(text);
}

void MainWindow::mnuImportShotChanges_Click()
{
    const QString filter = GetLangText(m_lang, Form1Msg::ShotChangeLists) + u" (*.txt *.keyframes *.log);;* (*)";
    const QString chosen =
        m_files.chooseListToOpen(this, m_filmReview->actions().mnuImportShotChanges->text().remove(u'&'),
                                 QFileInfo(m_filmReview->player().path()).absolutePath(), filter);
    if (chosen.isEmpty())
        return;
    // A list that cannot be read leaves the cuts shown as they were.
    if (const QString refusal = m_filmReview->shots().importList(chosen, m_filmReview->player().frameRate());
        !refusal.isEmpty())
        m_prompter.warn(refusal);
}

void MainWindow::mnuExportShotChanges_Click()
{
    const QString filter = GetLangText(m_lang, Form1Msg::ShotChangeLists) + u" (*.txt)";
    const QFileInfo film(m_filmReview->player().path());
    const QString chosen =
        m_files.chooseListToSave(this, m_filmReview->actions().mnuExportShotChanges->text().remove(u'&'),
                                 film.dir().filePath(film.completeBaseName() + u"_shots.txt"), filter);
    if (chosen.isEmpty())
        return;
    if (const QString refusal = m_filmReview->shots().exportList(chosen); !refusal.isEmpty())
        m_prompter.warn(refusal);
}

void MainWindow::mnuOpen_Click()
{
    const QString chosen =
        m_files.chooseFileToOpen(this, m_actions->mnuOpen->text().remove(u'&'), m_document->path());
    if (!chosen.isEmpty())
        LoadFileToList(chosen);
}

void MainWindow::mnuOpenVideo_Click()
{
    QStringList patterns;
    for (const QString &suffix : FilmReview::mediaSuffixes())
        patterns << u"*." + suffix;
    const QString filter = GetLangText(m_lang, Form1Msg::VideoFiles) + u" (" + patterns.join(u' ') + u')';
    const QString chosen = m_files.chooseVideoToOpen(this, m_filmReview->actions().mnuOpenVideo->text().remove(u'&'),
                                                     QFileInfo(m_document->path()).absolutePath(), filter);
    if (!chosen.isEmpty())
        m_filmReview->openVideo(chosen);
}

void MainWindow::mnuSave_Click()
{
    m_workflows->save();
}

void MainWindow::mnuSaveAS_Click()
{
    m_document->commitPendingEdits();
    m_workflows->saveAs(
        m_files.chooseFileToSave(this, m_actions->mnuSaveAS->text().remove(u'&'), m_document->path()));
}

void MainWindow::mnuInsSub_Click()
{
    m_panes->insertSubtitle(false);
}

void MainWindow::mnuInsSubDown_Click()
{
    m_panes->insertSubtitle(true);
}

void MainWindow::mnuDelSub_Click()
{
    m_panes->deleteSubtitle();
}

void MainWindow::mnuOptions_Click()
{
    OptionsDialog options(m_settings, m_shellVerb, m_lang, m_prompter, this);
    if (options.exec() != QDialog::Accepted)
        return;
    m_settings = options.settings();
    // The dialog sets neither the language nor the geometry: of what the
    // window shows, only the reading-speed marks and the gap kept by times
    // set by hand follow it.
    m_document->setLettersPerSecond(m_settings.LettersFor1Min);
    m_document->setMinGapMs(m_settings.MinGapMs);
    m_filmReview->setFindShotChanges(m_settings.ShotChanges);
    SaveValues();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // A film opens beside the subtitles; anything else is taken for
    // subtitles, and a path that is no file is passed over.
    const QString path = urls.first().toLocalFile();
    if (FilmReview::isMediaFile(path))
        m_filmReview->openVideo(path);
    else
        LoadFileToList(path);
}
