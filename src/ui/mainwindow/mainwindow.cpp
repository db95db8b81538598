// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/mainwindow.h"

#include "document/prompter.h"
#include "document/savecommand.h"
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitletablemodel.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "settings/inifile.h"
#include "settings/settingproblemtext.h"
#include "settings/settingsfile.h"
#include "settings/settingsstore.h"
#include "ui/mainwindow/commandline.h"
#include "ui/filechooser.h"
#include "ui/options/optionsdialog.h"
#include "ui/edits/editswindow.h"
#include "ui/about/aboutdialog.h"
#include "ui/language/languagefilecreator.h"
#include "ui/language/langcaptions.h"
#include "ui/mainwindow/mainactions.h"
#include "ui/mainwindow/windowgeometry.h"
#include "ui/mainwindow/readingchoices.h"
#include "ui/screenfit.h"
#include "ui/subtitles/editboxes.h"
#include "ui/subtitles/subtitlelistview.h"
#include "ui/subtitles/subtitlepanes.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr float MarginTwips = 45;
constexpr float SplitterLimitTwips = 1000; // from either edge of the window
const QString DefaultLangFileBase = QStringLiteral("English.Quillmend.exe");

} // namespace

MainWindow::MainWindow(LangDoc &lang, const LanguageLocator &languages, const QString &settingsPath, Prompter &prompter,
             FileChooser &files, ShellVerb &shellVerb, const QString &newLanguageFolder, QWidget *parent)
    : QMainWindow(parent), m_lang(lang), m_languages(languages), m_settingsPath(settingsPath), m_prompter(prompter),
      m_files(files), m_shellVerb(shellVerb), m_newLanguageFolder(newLanguageFolder),
      m_document(new SubtitleDocument(lang, this)), m_editsWindow(new EditsWindow(m_document->records(), this)),
      m_actions(std::make_unique<MainActions>(*this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption());
    setAcceptDrops(true);
    m_langDefItems << m_actions->mnuLangDef;
    m_mnuReopenEncoding =
        createReopenWithEncodingMenu(this, [this](const QString &name) { mnuReopenEncoding_Click(name); });
    if (auto *mnuFile = menuBar()->findChild<QMenu *>(QStringLiteral("mnuFile")))
        mnuFile->insertMenu(m_actions->mnuSave, m_mnuReopenEncoding);
    createCentralWidget();
    connectActions();
    m_actions->bindKeys(*m_panes->correctedList(), [this](int step) { m_panes->moveCorrectedSelection(step); });
    // Undo and redo reach the document from the edits window too.
    m_editsWindow->addActions({m_actions->mnuUndo, m_actions->mnuRedo});
    refreshUndoTexts();
    ApplyLangCaptions(*m_editsWindow, m_lang);
}

MainWindow::~MainWindow()
{
    // The views go before the document whose models they show, and the
    // history's last signals reach no label.
    m_document->undoStack().disconnect(this);
    delete m_editsWindow;
    delete takeCentralWidget();
}

SubtitleTableModel &MainWindow::originalModel() const
{
    return m_document->originalModel();
}

SubtitleTableModel &MainWindow::correctedModel() const
{
    return m_document->correctedModel();
}

void MainWindow::connectActions()
{
    const MainActions &a = *m_actions;
    connect(a.mnuOpen, &QAction::triggered, this, &MainWindow::mnuOpen_Click);
    connect(a.mnuSave, &QAction::triggered, this, &MainWindow::mnuSave_Click);
    connect(a.mnuSaveAS, &QAction::triggered, this, &MainWindow::mnuSaveAS_Click);
    connect(a.mnuOptions, &QAction::triggered, this, &MainWindow::mnuOptions_Click);
    connect(a.mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(a.mnuEditSubs, &QAction::triggered, this, &MainWindow::EditSubs);
    connect(a.mnuShowEditOnly, &QAction::triggered, this, [this] { ShowEditOnly(m_actions->mnuShowEditOnly->isChecked()); });
    connect(a.mnuInsSub, &QAction::triggered, this, &MainWindow::mnuInsSub_Click);
    connect(a.mnuInsSubDown, &QAction::triggered, this, &MainWindow::mnuInsSubDown_Click);
    connect(a.mnuDelSub, &QAction::triggered, this, &MainWindow::mnuDelSub_Click);
    connect(a.mnuRestoreOriginal, &QAction::triggered, m_panes, &SubtitlePanes::restoreSelected);
    connect(a.mnuNextSubEdit, &QAction::triggered, this, [this] { LocateNextSubEdit(false); });
    connect(a.mnuBefSubEdit, &QAction::triggered, this, [this] { LocateNextSubEdit(true); });
    connect(a.mnuNextTooFast, &QAction::triggered, this, [this] { m_panes->locateTooFast(false); });
    connect(a.mnuPrevTooFast, &QAction::triggered, this, [this] { m_panes->locateTooFast(true); });
    connect(a.mnuShowEditsWindow, &QAction::triggered, m_editsWindow, &EditsWindow::showWindow);
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

    // Typing not yet applied is a change of its own, undone first.
    QUndoStack &history = m_document->undoStack();
    connect(a.mnuUndo, &QAction::triggered, this, [this, &history] {
        m_panes->commitPendingText();
        history.undo();
    });
    connect(a.mnuRedo, &QAction::triggered, this, [this, &history] {
        m_panes->commitPendingText();
        history.redo();
    });
    connect(&history, &QUndoStack::indexChanged, this, &MainWindow::refreshUndoTexts);
    connect(&history, &QUndoStack::cleanChanged, this, &MainWindow::showSaveState);
    connect(m_document, &SubtitleDocument::summaryChanged, this, &MainWindow::showSummary);

    connect(m_editsWindow, &EditsWindow::recordActivated, m_panes, &SubtitlePanes::showRecord);
    connect(m_editsWindow, &EditsWindow::restoreRequested, this, [this](const QList<int> &ordinals) {
        m_panes->commitPendingText();
        m_document->restoreOrReapply(ordinals);
    });
}

void MainWindow::createCentralWidget()
{
    const Twips twips = Twips::forWidget(this);
    const int margin = twips.toPixels(MarginTwips);
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_panes = new SubtitlePanes(*m_document, *m_editsWindow, m_prompter, central);
    SubtitleListView *list2 = m_panes->correctedList();
    list2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list2, &QWidget::customContextMenuRequested, this, [this, list2](const QPoint &position) {
        // The menu acts on the row clicked, as a right click selects it first.
        const QModelIndex under = list2->indexAt(position);
        if (under.isValid() && !list2->selectionModel()->isRowSelected(under.row(), {}))
            list2->selectRow(under.row());
        m_actions->mnuEdit->popup(list2->viewport()->mapToGlobal(position));
    });

    // Status fields in the proportions 1/2, 3/10 and 1/5 of the width.
    m_lblStatus = new QLabel(central);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus2 = new QLabel(central);
    m_lblStatus2->setObjectName(QStringLiteral("lblStatus2"));
    m_lblStatus3 = new QLabel(central);
    m_lblStatus3->setObjectName(QStringLiteral("lblStatus3"));
    auto *status = new QHBoxLayout;
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(1);
    int stretch = 5;
    for (QLabel *label : {m_lblStatus, m_lblStatus2, m_lblStatus3}) {
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setSizePolicy(QSizePolicy::Ignored, label == m_lblStatus ? QSizePolicy::Preferred : QSizePolicy::Fixed);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        status->addWidget(label, stretch);
        stretch = stretch == 5 ? 3 : 2;
    }
    // A long summary (German, Greek, a narrow window) takes a second line
    // rather than losing its end, where the too-fast count is.
    m_lblStatus->setWordWrap(true);
    // The encoding the open file was read in, and is saved in.
    m_lblEncoding = new QLabel(central);
    m_lblEncoding->setObjectName(QStringLiteral("lblEncoding"));
    m_lblEncoding->setTextFormat(Qt::PlainText);
    m_lblEncoding->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblEncoding->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->addWidget(m_lblEncoding);
    connect(&m_panes->boxes(), &EditBoxes::lineCounterChanged, m_lblStatus3, &QLabel::setText);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->setSpacing(margin);
    layout->addWidget(m_panes, 1);
    layout->addLayout(status);
}

// ---- Start-up, languages, settings and layout

void MainWindow::Form_Load()
{
    applyCaptions();
    buildLanguagesMenu();
    LoadValues();
    setSplitterLimits();
    EnableEditMenu(false);
    EnableSaveEdit(false, false);
    if (m_hasStoredGeometry) {
        const QRect main = WindowGeometry::fittedRect(*this, m_settings.MainXTwips, m_settings.MainYTwips,
                                                      m_settings.MainWidthTwips, m_settings.MainHeightTwips);
        move(main.topLeft());
        resize(main.size());
        return;
    }
    const QRect available = ScreenFit::availableFor(geometry(), this);
    if (available.isEmpty())
        return;
    const WindowGeometry::FirstStartRects rects = WindowGeometry::firstStartRects(available, m_editsWindow->size());
    move(rects.main.topLeft());
    resize(rects.main.size());
    m_editsWindow->move(rects.edits.topLeft());
    m_editsWindow->resize(rects.edits.size());
    m_pendingDiaxTwips.reset();
    m_splitEvenly = true;
}

void MainWindow::applyCaptions()
{
    ApplyLangCaptions(*this, m_lang);
    ApplyLangCaptions(*m_editsWindow, m_lang);
    m_editsWindow->fitKindColumn(m_lang);
    setWindowTitle(windowCaption());
    m_undoCaption = m_actions->mnuUndo->text();
    m_redoCaption = m_actions->mnuRedo->text();
    m_editsWindow->restoreAction()->setText(m_actions->mnuRestoreOriginal->text());
    refreshUndoTexts();
    showSaveState();
    // Texts made from messages follow the language as the captions do.
    m_document->retranslate();
    showSummary();
    if (!m_lblStatus3->text().isEmpty())
        m_panes->boxes().refreshLineCounter();
}

void MainWindow::showSummary()
{
    const QString summary = m_document->summaryText();
    m_lblStatus->setText(summary);
    m_lblStatus->setToolTip(plainToolTip(summary));
}

void MainWindow::refreshUndoTexts()
{
    // The menu names the change: "Undo Delete subtitle 12".
    const QUndoStack &history = m_document->undoStack();
    const auto named = [](const QString &caption, const QString &change) {
        return change.isEmpty() ? caption : caption + u' ' + change;
    };
    if (!m_undoCaption.isEmpty()) {
        m_actions->mnuUndo->setText(named(m_undoCaption, m_document->undoCaption()));
        m_actions->mnuRedo->setText(named(m_redoCaption, m_document->redoCaption()));
    }
    m_actions->mnuUndo->setEnabled(history.canUndo());
    m_actions->mnuRedo->setEnabled(history.canRedo());
}

void MainWindow::buildLanguagesMenu()
{
    while (m_langDefItems.size() > 1)
        delete m_langDefItems.takeLast();
    const QStringList names = m_languages.loadableLanguageNames();
    for (const QString &name : names) {
        const int index = int(m_langDefItems.size());
        QAction *item = m_actions->mnuLanguages->addAction(name);
        item->setObjectName(QStringLiteral("mnuLangDef"));
        item->setProperty(ControlIndexProperty, index);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item, index] {
            // Only a language that loads moves the check mark; undo the click's own toggle.
            item->setChecked(!item->isChecked());
            mnuLangDef_Click(index);
        });
        m_langDefItems << item;
    }
    m_langDefItems.first()->setVisible(false);
}

bool MainWindow::LoadNewLang(const QString &newLang)
{
    const std::optional<QString> file = m_languages.fileFor(newLang);
    if (!file)
        return false;
    // Tried on its own first: a file that does not load leaves the language
    // in use as it is.
    LangDoc trial;
    if (!trial.load(*file)) {
        warnOnceShown(GetLangText(m_lang, Form1Msg::LanguageUnusable).arg(*file, trial.errorString()));
        return false;
    }
    m_settings.LangFileBase = newLang;
    m_lang = std::move(trial);
    m_qtTexts.follow(m_lang);
    applyCaptions();
    return true;
}

void MainWindow::mnuLangDef_Click(int index)
{
    if (index < 0 || index >= m_langDefItems.size())
        return;
    QAction *clicked = m_langDefItems.at(index);
    if (!LoadNewLang(LanguageLocator::langFileBaseFor(clicked->text())))
        return; // the language's files are gone: nothing changes, check marks included
    for (QAction *item : std::as_const(m_langDefItems))
        item->setChecked(item == clicked);
}

IniFile MainWindow::settingsFile()
{
    IniFile ini(m_prompter, m_settingsPath);
    ini.setFullPath(m_settingsPath);
    ini.setSectionName(QStringLiteral("General"));
    return ini;
}

void MainWindow::LoadValues()
{
    const SettingsFile::Loaded loaded = SettingsFile(m_settingsPath).load();
    // A file that cannot be read as settings is neither taken for the
    // defaults' own file nor ever written over: it may be the user's.
    // A folder in its place is left to the save, which reports it.
    const auto &fileProblem = loaded.fileProblem;
    if (fileProblem && fileProblem->kind != IniFile::FileProblem::Kind::NotRegularFile) {
        if (!m_settingsUnusable)
            warnOnceShown(GetLangText(m_lang, Form1Msg::SettingsFileUnusable)
                              .arg(m_settingsPath, settingsFileProblemText(*fileProblem, m_lang)));
        m_settingsUnusable = true;
    } else {
        m_settingsUnusable = false;
    }
    m_hasStoredGeometry = loaded.hasMainWindowPlace;
    m_settings = loaded.settings;
    if (!loaded.problems.isEmpty()) {
        QStringList lines{m_settingsPath};
        for (const SettingProblem &problem : loaded.problems)
            lines << settingProblemText(problem, m_lang);
        warnOnceShown(lines.join(u'\n'));
    }
    applyLoadedValues();
}

void MainWindow::applyLoadedValues()
{
    if (!LoadNewLang(m_settings.LangFileBase))
        m_settings.LangFileBase = DefaultLangFileBase;
    const QString languageName = LanguageLocator::languageNameOf(m_settings.LangFileBase);
    for (qsizetype i = 1; i < m_langDefItems.size(); ++i) {
        if (m_langDefItems.at(i)->text() == languageName) {
            m_langDefItems.at(i)->setChecked(true);
            break;
        }
    }
    m_document->setLettersPerSecond(m_settings.LettersFor1Min);

    const QRect edits = WindowGeometry::fittedRect(*this, m_settings.EditXTwips, m_settings.EditYTwips,
                                                   m_settings.EditWidthTwips, m_settings.EditHeightTwips);
    m_editsWindow->move(edits.topLeft());
    m_editsWindow->resize(edits.size());
    m_pendingDiaxTwips = m_settings.DiaxTwips;
    applyDiax();
    WindowGeometry::applyColumnWidths(*m_panes->originalList(), m_settings.List1ColTwips, *this, false);
    WindowGeometry::applyColumnWidths(*m_panes->correctedList(), m_settings.List2ColTwips, *this, true);
}

bool MainWindow::SaveValues()
{
    // Said once at start; the settings chosen stay for the session.
    if (m_settingsUnusable)
        return false;
    const Twips twips = Twips::forWidget(this);
    // The normal size and place, as a window closed maximised reopens; the
    // place is the frame's, as move() takes it back.
    const bool normal = !(isMaximized() || isMinimized() || isFullScreen());
    const QRect main = normal ? geometry() : normalGeometry();
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint mainPosition = normal ? pos() : main.topLeft() - frameOffset;
    m_settings.MainXTwips = twips.fromPixels(mainPosition.x());
    m_settings.MainYTwips = twips.fromPixels(mainPosition.y());
    m_settings.MainWidthTwips = twips.fromPixels(main.width());
    m_settings.MainHeightTwips = twips.fromPixels(main.height());
    m_settings.EditXTwips = twips.fromPixels(m_editsWindow->pos().x());
    m_settings.EditYTwips = twips.fromPixels(m_editsWindow->pos().y());
    m_settings.EditWidthTwips = twips.fromPixels(m_editsWindow->width());
    m_settings.EditHeightTwips = twips.fromPixels(m_editsWindow->height());
    m_settings.DiaxTwips = diaxTwips();
    WindowGeometry::storeColumnWidths(*m_panes->originalList(), m_settings.List1ColTwips);
    WindowGeometry::storeColumnWidths(*m_panes->correctedList(), m_settings.List2ColTwips);

    SettingsFile file(m_settingsPath);
    if (file.save(m_settings))
        return true;
    m_prompter.warn(GetLangText(m_lang, Form1Msg::CannotSave).arg(m_settingsPath, file.errorString()));
    return false;
}

float MainWindow::diaxTwips() const
{
    if (m_pendingDiaxTwips)
        return *m_pendingDiaxTwips;
    const QPoint handle = m_panes->handle(1)->mapTo(centralWidget(), QPoint(0, 0));
    return Twips::forWidget(this).fromPixels(handle.x());
}

void MainWindow::setSplitterLimits()
{
    // The splitter stays SplitterLimitTwips from either edge of the window.
    const Twips twips = Twips::forWidget(this);
    const int margin = twips.toPixels(MarginTwips);
    const int limit = twips.toPixels(SplitterLimitTwips);
    m_panes->leftPane()->setMinimumWidth(std::max(1, limit - margin));
    m_panes->rightPane()->setMinimumWidth(std::max(1, limit - m_panes->handleWidth() - margin));
}

void MainWindow::applyDiax()
{
    if (m_splitEvenly && isVisible() && m_panes->width() > 0) {
        const int total = m_panes->width() - m_panes->handleWidth();
        m_panes->setSizes({total / 2, total - total / 2});
        m_splitEvenly = false;
        return;
    }
    if (!m_pendingDiaxTwips || !isVisible() || m_panes->width() <= 0)
        return;
    const Twips twips = Twips::forWidget(this);
    const int left = twips.toPixels(*m_pendingDiaxTwips) - m_panes->x();
    const int total = m_panes->width() - m_panes->handleWidth();
    m_panes->setSizes({std::max(1, left), std::max(1, total - left)});
    m_pendingDiaxTwips.reset();
}

void MainWindow::placeEditsWindowBeside()
{
    // First start only, once the frames the window manager adds are known:
    // the first layout could only guess them. The main window moves left,
    // or gives up width down to half the screen, to make room.
    if (m_hasStoredGeometry || !isVisible())
        return;
    m_hasStoredGeometry = true;
    const QRect available = ScreenFit::availableFor(frameGeometry(), this);
    const int frameWidth = frameGeometry().width() - width();
    const int editsWidth = m_editsWindow->width() + frameWidth;
    int overflow = frameGeometry().right() + editsWidth - available.right();
    if (overflow > 0) {
        const int shift = std::min(overflow, frameGeometry().left() - available.left());
        move(x() - shift, y());
        overflow -= shift;
    }
    if (overflow > 0)
        resize(std::max(available.width() / 2, width() - overflow), height());
    if (frameGeometry().right() + editsWidth <= available.right())
        m_editsWindow->move(frameGeometry().right() + 1, m_editsWindow->y());
}

void MainWindow::warnOnceShown(const QString &text)
{
    // A box before the window shows would open in a corner of the screen.
    if (isVisible())
        m_prompter.warn(text);
    else
        m_startWarnings << text;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyDiax();
    if (!m_startWarnings.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            for (const QString &text : std::exchange(m_startWarnings, {}))
                m_prompter.warn(text);
        });
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The edits window goes and comes back with the main window.
    if (isMinimized()) {
        m_wasMinimized = true;
        if (m_editsWindow->isMeantToBeShown())
            m_editsWindow->hide();
    } else if (m_wasMinimized) {
        m_wasMinimized = false;
        if (m_editsWindow->isMeantToBeShown())
            m_editsWindow->show();
    }
}

void MainWindow::runCommandLine(const CommandLine &commandLine)
{
    EnableSaveEdit(false, false);
    if (!commandLine.fileName.isEmpty() && fileExists(commandLine.fileName)) {
        show();
        if (LoadFileToList(commandLine.fileName))
            EditSubs();
    }
}

bool MainWindow::Form_Unload()
{
    if (!askToSaveHandEdits())
        return false;
    SaveValues();
    m_editsWindow->closeForGood();
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
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
    const QString path = urls.first().toLocalFile();
    if (fileExists(path))
        LoadFileToList(path);
}

bool MainWindow::fileExists(const QString &path) const
{
    return !path.trimmed().isEmpty() && QFileInfo(path).isFile();
}

QString MainWindow::windowCaption() const
{
    const QString title = QCoreApplication::applicationName();
    if (!m_document || m_document->path().isEmpty())
        return title;
    return GetLangText(m_lang, Form1Msg::TitleWithFile).arg(QFileInfo(m_document->path()).fileName(), title);
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
    // window shows, only the reading-speed marks follow it.
    m_document->setLettersPerSecond(m_settings.LettersFor1Min);
    SaveValues();
}
