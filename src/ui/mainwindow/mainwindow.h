// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings.h"
#include "ui/language/qttexts.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class IniFile;
struct SaveOutcome;
class FileChooser;
class EditsWindow;
class LangDoc;
class LanguageLocator;
class Prompter;
class QAction;
class QLabel;
class ShellVerb;
class SubtitleDocument;
class SubtitlePanes;
class SubtitleTableModel;
struct CommandLine;
struct MainActions;

// The main window: the document's two lists side by side with the boxes
// to edit the selected subtitle (SubtitlePanes), the commands, the status
// fields, start-up and closing, languages and the settings file.
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

    // Reads fileName into the original list, in encodingName ("auto" to
    // detect it; empty: the Encoding setting); false when nothing was loaded.
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
    // File > Reopen with encoding: loads the open file again and corrects it.
    void mnuReopenEncoding_Click(const QString &encodingName);

    const Settings &settings() const { return m_settings; }
    SubtitleDocument &document() const { return *m_document; }
    const QString &langFileBase() const { return m_settings.LangFileBase; }
    EditsWindow &editsWindow() const { return *m_editsWindow; }
    SubtitleTableModel &originalModel() const;
    SubtitleTableModel &correctedModel() const;
    // The splitter's left edge in the client area, in twips.
    float diaxTwips() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectActions();
    void createCentralWidget();
    void buildLanguagesMenu();
    void applyCaptions();
    void refreshUndoTexts();
    IniFile settingsFile();
    void setSplitterLimits();
    void applyDiax();
    void applyLoadedValues();

    void clearDocument();
    void showSaveState();
    void showSummary();
    // Warnings of start-up wait until there is a window to stand over.
    void warnOnceShown(const QString &text);
    void placeEditsWindowBeside();
    bool askToSaveHandEdits();
    void saveAndReport(const QString &target, bool createBakFile);
    void saveOverOpenFile();
    void showCorrectionResult(const QString &summary);
    QString windowCaption() const;
    void showEncoding();
    bool fileExists(const QString &path) const;

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
    std::optional<float> m_pendingDiaxTwips;
    // No main-window geometry stored yet: the first start lays the windows
    // out for the screen and gives the two lists equal widths.
    bool m_hasStoredGeometry = true;
    bool m_splitEvenly = false;
    bool m_wasMinimized = false;
    // The language's words for Undo and Redo, before the change they name.
    QStringList m_startWarnings;
    QString m_undoCaption;
    QString m_redoCaption;

    SubtitleDocument *m_document;
    EditsWindow *m_editsWindow;
    std::unique_ptr<MainActions> m_actions;
    QList<QAction *> m_langDefItems; // index 0 is the hidden "Default"
    SubtitlePanes *m_panes = nullptr;
    QLabel *m_lblStatus = nullptr;
    QLabel *m_lblStatus2 = nullptr;
    QLabel *m_lblStatus3 = nullptr;
    QMenu *m_mnuReopenEncoding = nullptr;
    QLabel *m_lblEncoding = nullptr;
};
