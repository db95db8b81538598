// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/mainwindow.h"

#include "document/prompter.h"
#include "editor/fileworkflows.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "lang/languagecaption.h"
#include "lang/languagelocator.h"
#include "settings/inifile.h"
#include "settings/settingproblemtext.h"
#include "settings/settingsfile.h"
#include "ui/edits/editswindow.h"
#include "ui/language/langcaptions.h"
#include "ui/mainwindow/commandline.h"
#include "ui/mainwindow/mainactions.h"
#include "ui/mainwindow/readingchoices.h"
#include "ui/mainwindow/statusfields.h"
#include "ui/mainwindow/windowgeometry.h"
#include "ui/subtitles/editboxes.h"
#include "ui/subtitles/subtitlelistview.h"
#include "ui/subtitles/subtitlepanes.h"
#include "ui/twips.h"
#include "ui/video/filmreview.h"
#include "media/peakcache.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr float MarginTwips = 45;

} // namespace

MainWindow::MainWindow(LangDoc &lang, const LanguageLocator &languages, const QString &settingsPath, Prompter &prompter,
                       FileChooser &files, ShellVerb &shellVerb, const QString &newLanguageFolder, QWidget *parent)
    : QMainWindow(parent), m_lang(lang), m_languages(languages), m_settingsPath(settingsPath), m_prompter(prompter),
      m_files(files), m_shellVerb(shellVerb), m_newLanguageFolder(newLanguageFolder),
      m_document(new SubtitleDocument(lang, this)),
      m_workflows(new FileWorkflows(*m_document, m_settings, prompter, settingsPath, languages.folders(), this)),
      m_editsWindow(new EditsWindow(m_document->records(), this)), m_actions(std::make_unique<MainActions>(*this))
{
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    m_langDefItems << m_actions->mnuLangDef;
    m_mnuReopenEncoding = createReopenWithEncodingMenu(
        this, [this](const QString &name) { m_workflows->reopen(name); });
    if (auto *mnuFile = menuBar()->findChild<QMenu *>(QStringLiteral("mnuFile")))
        mnuFile->insertMenu(m_actions->mnuSave, m_mnuReopenEncoding);
    createCentralWidget();
    m_geometry = std::make_unique<WindowGeometry>(*this, *m_editsWindow, *m_panes);
    // A window nobody sees plays to nobody: tests run offscreen.
    const bool heard = QGuiApplication::platformName() != u"offscreen";
    m_filmReview = new FilmReview(*this, *m_document, *m_panes, prompter, lang,
                                  heard ? VideoPlayer::AudioOutput::Device : VideoPlayer::AudioOutput::None,
                                  PeakCache::defaultFolder());
    connectActions();
    connectDocument();
    m_actions->bindKeys(*m_panes->correctedList(), [this](int step) { m_panes->moveCorrectedSelection(step); });
    // Undo and redo reach the document from the edits window too.
    m_editsWindow->addActions({m_actions->mnuUndo, m_actions->mnuRedo});
    showOpenFile({});
    refreshUndoTexts();
    ApplyLangCaptions(*m_editsWindow, m_lang);
}

MainWindow::~MainWindow()
{
    // The views go before the document whose models they show, and the
    // history's last signals reach no label.
    m_document->disconnect(this);
    m_document->undoStack().disconnect(this);
    delete m_filmReview;
    delete m_editsWindow;
    delete takeCentralWidget();
}

const SubtitleList &MainWindow::originalList() const
{
    return m_document->originalList();
}

const SubtitleList &MainWindow::correctedList() const
{
    return m_document->correctedList();
}

float MainWindow::diaxTwips() const
{
    return m_geometry->diaxTwips();
}

void MainWindow::createCentralWidget()
{
    const int margin = Twips::forWidget(this).toPixels(MarginTwips);
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
    m_status = new StatusFields(*m_document, central);
    connect(&m_panes->boxes(), &EditBoxes::lineCounterChanged, m_status, &StatusFields::showLineCounter);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->setSpacing(margin);
    layout->addWidget(m_panes, 1);
    layout->addWidget(m_status);
}

void MainWindow::connectDocument()
{
    const SubtitleDocument *document = m_document;
    connect(document, &SubtitleDocument::pathChanged, this, &MainWindow::showOpenFile);
    connect(document, &SubtitleDocument::contentReplaced, this, &MainWindow::showCommandState);
    connect(document, &SubtitleDocument::encodingChanged, this, [this] {
        tickEncodingInUse(*m_mnuReopenEncoding, m_document->path().isEmpty()
                                                    ? std::nullopt
                                                    : std::optional(m_document->encoding()));
    });
    connect(document, &SubtitleDocument::corrected, this, &MainWindow::showCorrection);
    connect(&m_document->undoStack(), &QUndoStack::indexChanged, this, &MainWindow::refreshUndoTexts);
    connect(m_workflows, &FileWorkflows::settingsChanged, this, &MainWindow::SaveValues);
}

// ---- Start-up, languages, settings

void MainWindow::Form_Load()
{
    applyCaptions();
    buildLanguagesMenu();
    LoadValues();
    showCommandState();
}

void MainWindow::applyCaptions()
{
    ApplyLangCaptions(*this, m_lang);
    ApplyLangCaptions(*m_editsWindow, m_lang);
    for (qsizetype i = 1; i < m_langDefItems.size(); ++i)
        m_langDefItems.at(i)->setText(languageCaption(m_langDefItems.at(i)->data().toString(), m_lang));
    m_editsWindow->fitKindColumn(m_lang);
    showOpenFile(m_document->path());
    m_undoCaption = m_actions->mnuUndo->text();
    m_redoCaption = m_actions->mnuRedo->text();
    m_editsWindow->restoreAction()->setText(m_actions->mnuRestoreOriginal->text());
    refreshUndoTexts();
    // Texts made from messages follow the language as the captions do.
    m_document->retranslate();
    m_status->retranslate();
    m_filmReview->retranslate();
    if (m_status->showsLineCounter())
        m_panes->boxes().refreshLineCounter();
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
        QAction *item = m_actions->mnuLanguages->addAction(languageCaption(name, m_lang));
        item->setData(name);
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
    if (!LoadNewLang(LanguageLocator::langFileBaseFor(clicked->data().toString())))
        return; // the language's files are gone: nothing changes, check marks included
    for (QAction *item : std::as_const(m_langDefItems))
        item->setChecked(item == clicked);
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
    m_settings = loaded.settings;
    if (!loaded.problems.isEmpty()) {
        QStringList lines{m_settingsPath};
        for (const SettingProblem &problem : loaded.problems)
            lines << settingProblemText(problem, m_lang);
        warnOnceShown(lines.join(u'\n'));
    }
    applyLoadedValues();
    m_geometry->apply(m_settings, loaded.hasMainWindowPlace);
    m_filmReview->applySettings(m_settings);
}

void MainWindow::applyLoadedValues()
{
    if (!LoadNewLang(m_settings.LangFileBase))
        m_settings.LangFileBase = LanguageLocator::defaultLangFileBase();
    const QString languageName = LanguageLocator::languageNameOf(m_settings.LangFileBase);
    for (qsizetype i = 1; i < m_langDefItems.size(); ++i) {
        if (m_langDefItems.at(i)->data().toString() == languageName) {
            m_langDefItems.at(i)->setChecked(true);
            break;
        }
    }
    m_document->setLettersPerSecond(m_settings.LettersFor1Min);
    m_document->setMinGapMs(m_settings.MinGapMs);
}

bool MainWindow::SaveValues()
{
    // Said once at start; the settings chosen stay for the session.
    if (m_settingsUnusable)
        return false;
    m_geometry->store(m_settings);
    m_filmReview->storeSettings(m_settings);
    SettingsFile file(m_settingsPath);
    if (file.save(m_settings))
        return true;
    m_prompter.warn(GetLangText(m_lang, Form1Msg::CannotSave).arg(m_settingsPath, file.errorString()));
    return false;
}

void MainWindow::warnOnceShown(const QString &text)
{
    // A box before the window shows would open in a corner of the screen.
    if (isVisible())
        m_prompter.warn(text);
    else
        m_startWarnings << text;
}

// ---- Shown, minimised, closed

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_geometry->shown();
    if (!m_startWarnings.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            for (const QString &text : std::exchange(m_startWarnings, {}))
                m_prompter.warn(text);
        });
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_geometry->resized();
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    m_geometry->moved();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_geometry->stateChanged();
}

void MainWindow::runCommandLine(const CommandLine &commandLine)
{
    if (!commandLine.fileName.isEmpty() && QFileInfo(commandLine.fileName).isFile()) {
        show();
        if (LoadFileToList(commandLine.fileName))
            EditSubs();
    }
}

bool MainWindow::Form_Unload()
{
    if (!m_workflows->askToSave())
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
