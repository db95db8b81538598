// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings.h"
#include "ui/language/qttexts.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class EditsWindow;
class FileChooser;
class FileWorkflows;
class FilmReview;
class LangDoc;
class LanguageLocator;
class Prompter;
class QAction;
class QMenu;
class ShellVerb;
class StatusFields;
class SubtitleDocument;
class SubtitlePanes;
class SubtitleList;
class WindowGeometry;
struct CommandLine;
struct MainActions;

// The main window: the document's two lists side by side with the boxes
// to edit the selected subtitle (SubtitlePanes), the commands, the status
// fields, start-up and closing, languages and the settings file. Its
// commands call the document's workflows; what the window shows follows
// the document's signals.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // newLanguageFolder is where the language-file creator writes.
    MainWindow(LangDoc &lang, const LanguageLocator &languages, const QString &settingsPath, Prompter &prompter,
               FileChooser &files, ShellVerb &shellVerb, const QString &newLanguageFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Captions, the Languages menu, the settings, the first layout and the
    // saved geometry, in that order.
    void Form_Load();
    // The command line's part of start-up: a file to open and correct, or
    // nothing (the unattended run never makes a window).
    void runCommandLine(const CommandLine &commandLine);
    // Asks about unsaved edits, then saves the settings; false when the
    // user cancelled and the window stays.
    bool Form_Unload();

    // Reads fileName into the original list (see FileWorkflows).
    bool LoadFileToList(const QString &fileName, const QString &encodingName = {});
    // The correction run over the open file.
    void EditSubs();

    bool LoadNewLang(const QString &newLang);
    void LoadValues();
    // False, after telling the user, when the settings file could not be
    // written.
    bool SaveValues();

    void EnableEditMenu(bool toEnable);
    void EnableEditSubs(bool toEnable);
    void EnableSaveEdit(bool toEnable, bool enableSave);
    void ShowEditOnly(bool toShowEditOnly);
    // Moves both lists to the previous or next corrected subtitle; false
    // when there is none that way.
    bool LocateNextSubEdit(bool locationUp);

    // Commands; menus, tool bar and keys all end here.
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAS_Click();
    void mnuOptions_Click();
    void mnuInsSub_Click();
    void mnuInsSubDown_Click();
    void mnuDelSub_Click();
    void mnuLangDef_Click(int index);
    void mnuOpenVideo_Click();
    void mnuImportShotChanges_Click();
    void mnuExportShotChanges_Click();

    const Settings &settings() const { return m_settings; }
    SubtitleDocument &document() const { return *m_document; }
    EditsWindow &editsWindow() const { return *m_editsWindow; }
    const SubtitleList &originalList() const;
    const SubtitleList &correctedList() const;
    // The splitter's left edge in the client area, in twips.
    float diaxTwips() const;
    FilmReview &filmReview() const { return *m_filmReview; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectActions();
    void connectDocument();
    void createCentralWidget();
    void buildLanguagesMenu();
    void applyCaptions();
    void refreshUndoTexts();
    void applyLoadedValues();
    void showCommandState();
    void showOpenFile(const QString &path);
    void showCorrection(const QString &summary);
    // The correction with the film's cuts when ShotChanges is on; cancelled:
    // finding them was, which the status field says.
    void correctWithShotChanges(bool cancelled);
    void showShotDistance();
    // Warnings of start-up wait until there is a window to stand over.
    void warnOnceShown(const QString &text);

    LangDoc &m_lang;
    const LanguageLocator &m_languages;
    QString m_settingsPath;
    Prompter &m_prompter;
    FileChooser &m_files;
    ShellVerb &m_shellVerb;
    QString m_newLanguageFolder;
    Settings m_settings;
    QtTexts m_qtTexts; // Qt's own texts follow m_lang
    // The settings file could not be read as settings: the defaults are in
    // use and the file is never written.
    bool m_settingsUnusable = false;
    QStringList m_startWarnings;
    // The language's words for Undo and Redo, before the change they name.
    QString m_undoCaption;
    QString m_redoCaption;

    SubtitleDocument *m_document;
    FileWorkflows *m_workflows;
    EditsWindow *m_editsWindow;
    std::unique_ptr<MainActions> m_actions;
    QList<QAction *> m_langDefItems; // index 0 is the hidden "Default"
    SubtitlePanes *m_panes = nullptr;
    StatusFields *m_status = nullptr;
    QMenu *m_mnuReopenEncoding = nullptr;
    std::unique_ptr<WindowGeometry> m_geometry;
    FilmReview *m_filmReview = nullptr;
    bool m_waitingToCorrect = false; // F8 waits for the cuts being found
};
