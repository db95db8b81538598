// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/documentstate.h"
#include "settings/settings.h"

#include <QMainWindow>
#include <QPersistentModelIndex>

#include <optional>

class CorrectedFilterModel;
class clsIniFile;
struct SaveOutcome;
class FileChooser;
class Form3;
class LangDoc;
class LanguageLocator;
class Prompter;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTableView;
class QToolBar;
class ShellVerb;
class SubtitleTableModel;
class TimeLineEdit;
struct CommandLine;

// The main window: the subtitles as read on the left, the corrected ones on
// the right, the boxes to edit the selected one, and every command. It owns
// the document: the path, both lists, the edit records and the save state.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    enum class StartOutcome {
        Interactive,   // the window is to be shown
        AutoSucceeded, // the unattended run corrected and saved the file
        AutoFailed,    // the unattended run could not
    };

    // newLanguageFolder is where the language-file creator writes.
    Form1(LangDoc &lang, const LanguageLocator &languages, const QString &settingsPath, Prompter &prompter,
          FileChooser &files, ShellVerb &shellVerb, const QString &newLanguageFolder, QWidget *parent = nullptr);
    ~Form1() override;

    // Captions, the Languages menu, the settings, the first layout and the
    // saved geometry, in that order.
    void Form_Load();
    // The command line's part of start-up: the unattended run, a file to
    // open and correct, or nothing.
    StartOutcome runCommandLine(const CommandLine &commandLine);
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
    void mnuExit_Click();
    void mnuEditSubs_Click();
    void mnuShowEditOnly_Click();
    void mnuInsSub_Click();
    void mnuInsSubDown_Click();
    void mnuDelSub_Click();
    void mnuNextSubEdit_Click();
    void mnuBefSubEdit_Click();
    void mnuShowEditsWindow_Click();
    void mnuCreateLang_Click();
    void mnuAbout_Click();
    void mnuLangDef_Click(int index);
    // File > Reopen with encoding: loads the open file again and corrects it.
    void mnuReopenEncoding_Click(const QString &encodingName);

    const Settings &settings() const { return m_settings; }
    const DocumentState &document() const { return m_document; }
    bool autoMode() const { return m_autoMode; }
    const QString &langFileBase() const { return m_settings.LangFileBase; }
    Form3 &editsWindow() const { return *m_form3; }
    SubtitleTableModel &originalModel() const { return *m_originalModel; }
    SubtitleTableModel &correctedModel() const { return *m_correctedModel; }
    // The splitter's left edge in the client area, in twips.
    float diaxTwips() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createCentralWidget();
    void buildLanguagesMenu();
    clsIniFile settingsFile();
    void setSplitterLimits();
    void applyDiax();
    void applyColumnWidths();
    void applyMainGeometry();

    void ListView1_ItemClick();
    void ListView2_ItemClick();
    void ListView2_KeyDown(int key, bool shift);
    void txtSub2_LostFocus();
    void commitText(const QPersistentModelIndex &row);
    void commitTime(bool start);
    void restoreTime(bool start);
    void updateLineCounter();
    void moveCorrectedSelection(int step);
    void showRecord(int ordinal);

    void ClearValues(bool dontClearLists = false);
    void clearDocument();
    void fillCorrectedBoxes(int sourceRow);
    void emptyCorrectedBoxes();
    void setSaveState(SaveState state);
    bool askToSaveHandEdits();
    SaveOutcome saveCorrected(const QString &target, bool createBakFile);
    void saveAndReport(const QString &target, bool createBakFile);
    void saveOverOpenFile();
    bool isOpenFile(const QString &path) const;
    void applyLoadedValues();
    bool boxesFilledFor(int sourceRow) const;
    void commitPendingText();
    QString windowCaption() const;
    void showEncoding();

    int selectedOriginalRow() const;
    int selectedCorrectedRow() const; // in the corrected model, not the view
    void selectOriginalRow(int row);
    void selectCorrectedRow(int sourceRow);
    void alignList(QTableView *list, int row, int distance);
    bool fileExists(const QString &path) const;

    LangDoc &m_lang;
    const LanguageLocator &m_languages;
    QString m_settingsPath;
    Prompter &m_prompter;
    FileChooser &m_files;
    ShellVerb &m_shellVerb;
    QString m_newLanguageFolder;
    Settings m_settings;
    DocumentState m_document;
    bool m_autoMode = false;
    // The settings file could not be read as settings: the defaults are in
    // use and the file is never written.
    bool m_settingsUnusable = false;

    // Set while the program moves a selection, so the lists' own selection
    // handlers do not answer their echo.
    bool m_syncing = false;
    bool m_fillingBoxes = false;
    bool m_textEditPending = false;
    // Changed by hand since the last load, correction or save.
    bool m_handEdited = false;
    QPersistentModelIndex m_editedRow; // in the corrected model
    QString m_storedText;              // CR LF line ends, as the row has it
    QString m_storedStart;
    QString m_storedEnd;
    std::optional<float> m_pendingDiaxTwips;
    bool m_wasMinimized = false;

    SubtitleTableModel *m_originalModel;
    SubtitleTableModel *m_correctedModel;
    CorrectedFilterModel *m_filterModel;
    Form3 *m_form3;

    QMenu *m_mnuEdit = nullptr;
    QMenu *m_mnuLanguages = nullptr;
    QList<QAction *> m_langDefItems; // index 0 is the hidden "Default"
    QToolBar *m_toolbar = nullptr;
    QLineEdit *m_text1 = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *m_leftPane = nullptr;
    QWidget *m_rightPane = nullptr;
    QTableView *m_listView1 = nullptr;
    QTableView *m_listView2 = nullptr;
    QPlainTextEdit *m_txtSub1 = nullptr;
    QPlainTextEdit *m_txtSub2 = nullptr;
    TimeLineEdit *m_txtStartTime = nullptr;
    TimeLineEdit *m_txtEndTime = nullptr;
    QLabel *m_lblStatus = nullptr;
    QLabel *m_lblStatus2 = nullptr;
    QLabel *m_lblStatus3 = nullptr;

    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuSave = nullptr;
    QAction *m_mnuSaveAS = nullptr;
    QAction *m_mnuOptions = nullptr;
    QAction *m_mnuExit = nullptr;
    QAction *m_mnuEditSubs = nullptr;
    QAction *m_mnuShowEditOnly = nullptr;
    QAction *m_mnuInsSub = nullptr;
    QAction *m_mnuInsSubDown = nullptr;
    QAction *m_mnuDelSub = nullptr;
    QAction *m_mnuNextSubEdit = nullptr;
    QAction *m_mnuBefSubEdit = nullptr;
    QAction *m_mnuShowEditsWindow = nullptr;
    QAction *m_mnuCreateLang = nullptr;
    QAction *m_mnuAbout = nullptr;

    QMenu *m_mnuReopenEncoding = nullptr;
    QLabel *m_lblEncoding = nullptr;
};
