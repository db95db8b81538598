// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include "document/prompter.h"
#include "document/savecommand.h"
#include "document/srtparser.h"
#include "document/subtitlefile.h"
#include "document/timecode.h"
#include "editing/editnavigation.h"
#include "editing/linecounter.h"
#include "engine/correctionrun.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "lang/weakwordfiles.h"
#include "settings/clsinifile.h"
#include "settings/settingproblemtext.h"
#include "settings/settingsstore.h"
#include "ui/commandline.h"
#include "ui/correctedfiltermodel.h"
#include "ui/editrecordmodel.h"
#include "ui/filechooser.h"
#include "ui/form3.h"
#include "ui/form2.h"
#include "ui/frmcreatelang.h"
#include "ui/frmabout.h"
#include "ui/langcaptions.h"
#include "ui/screenfit.h"
#include "ui/readingchoices.h"
#include "ui/subtitletablemodel.h"
#include "ui/timelineedit.h"
#include "ui/toolbaricons.h"
#include "ui/twips.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr float MarginTwips = 45;
constexpr float SplitterLimitTwips = 1000; // from either edge of the window
constexpr float TextBoxHeightTwips = 735;
constexpr float TimeBoxWidthTwips = 1275;
constexpr int DefaultColumnTwips[] = {300, 870, 870, 3500};
const QString DefaultLangFileBase = QStringLiteral("English.Quillmend.exe");

// The box shows lines ending in "\n"; rows and files keep CR LF.
QString boxTextToRowText(QString text)
{
    text.replace(QChar::LineSeparator, QChar(u'\n'));
    text.replace(QChar::ParagraphSeparator, QChar(u'\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return text;
}

QString rowTextToBoxText(const QString &text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The file part of a path, as the window caption names it.
QString GetFileNameOnly(const QString &fullPath)
{
    return QFileInfo(fullPath).fileName();
}

QAction *makeAction(QObject *parent, const char16_t *name, const char16_t *caption)
{
    auto *action = new QAction(QString::fromUtf16(caption), parent);
    action->setObjectName(QString::fromUtf16(name));
    return action;
}

QTableView *makeList(QWidget *parent, const char16_t *name, QAbstractItemModel *shown)
{
    auto *list = new QTableView(parent);
    list->setObjectName(QString::fromUtf16(name));
    list->setModel(shown);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->setAlternatingRowColors(true);
    list->setTabKeyNavigation(false);
    // Fixed row heights keep a list of 100,000 subtitles instant.
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(true);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

} // namespace

Form1::Form1(LangDoc &lang, const LanguageLocator &languages, const QString &settingsPath, Prompter &prompter,
             FileChooser &files, ShellVerb &shellVerb, const QString &newLanguageFolder, QWidget *parent)
    : QMainWindow(parent), m_lang(lang), m_languages(languages), m_settingsPath(settingsPath), m_prompter(prompter),
      m_files(files), m_shellVerb(shellVerb), m_newLanguageFolder(newLanguageFolder), m_originalModel(new SubtitleTableModel(this)), m_correctedModel(new SubtitleTableModel(this)),
      m_filterModel(new CorrectedFilterModel(this)), m_form3(new Form3(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption());
    setAcceptDrops(true);
    m_filterModel->setSourceModel(m_correctedModel);

    createActions();
    createMenus();
    createToolBar();
    createCentralWidget();

    connect(m_form3, &Form3::recordActivated, this, &Form1::showRecord);
    ApplyLangCaptions(*m_form3, m_lang);
}

Form1::~Form1() = default;

void Form1::createActions()
{
    m_mnuOpen = makeAction(this, u"mnuOpen", u"Open...");
    m_mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuOpen->setData(QStringLiteral("Open"));
    m_mnuSave = makeAction(this, u"mnuSave", u"Save");
    m_mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuSave->setData(QStringLiteral("Save"));
    m_mnuSaveAS = makeAction(this, u"mnuSaveAS", u"Save as...");
    m_mnuSaveAS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    m_mnuSaveAS->setData(QStringLiteral("SaveAs"));
    m_mnuOptions = makeAction(this, u"mnuOptions", u"Options...");
    m_mnuOptions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_mnuOptions->setData(QStringLiteral("Options"));
    m_mnuExit = makeAction(this, u"mnuExit", u"Exit");
    m_mnuExit->setShortcut(QKeySequence::Quit);
    m_mnuEditSubs = makeAction(this, u"mnuEditSubs", u"Correct subtitles");
    m_mnuEditSubs->setShortcut(QKeySequence(Qt::Key_F8));
    m_mnuEditSubs->setData(QStringLiteral("Edit"));
    m_mnuShowEditOnly = makeAction(this, u"mnuShowEditOnly", u"Show only corrected subtitles");
    m_mnuShowEditOnly->setShortcut(QKeySequence(Qt::Key_F9));
    m_mnuShowEditOnly->setCheckable(true);
    m_mnuShowEditOnly->setData(QStringLiteral("OnlyEdit"));
    m_mnuInsSub = makeAction(this, u"mnuInsSub", u"Insert subtitle (Ins)");
    m_mnuInsSub->setData(QStringLiteral("Ins"));
    m_mnuInsSubDown = makeAction(this, u"mnuInsSubDown", u"Insert subtitle down (Shift-Ins)");
    m_mnuInsSubDown->setData(QStringLiteral("ShiftIns"));
    m_mnuDelSub = makeAction(this, u"mnuDelSub", u"Delete subtitle (Del)");
    m_mnuDelSub->setData(QStringLiteral("Del"));
    m_mnuNextSubEdit = makeAction(this, u"mnuNextSubEdit", u"Next edit (Ctrl-Down)");
    m_mnuNextSubEdit->setData(QStringLiteral("NextEdit"));
    m_mnuBefSubEdit = makeAction(this, u"mnuBefSubEdit", u"Previous edit (Ctrl-Up)");
    m_mnuBefSubEdit->setData(QStringLiteral("BefEdit"));
    m_mnuShowEditsWindow = makeAction(this, u"mnuShowEditsWindow", u"Show Edits window");
    m_mnuCreateLang = makeAction(this, u"mnuCreateLang", u"Create new Language...");
    m_mnuAbout = makeAction(this, u"mnuAbout", u"About...");

    connect(m_mnuOpen, &QAction::triggered, this, &Form1::mnuOpen_Click);
    connect(m_mnuSave, &QAction::triggered, this, &Form1::mnuSave_Click);
    connect(m_mnuSaveAS, &QAction::triggered, this, &Form1::mnuSaveAS_Click);
    connect(m_mnuOptions, &QAction::triggered, this, &Form1::mnuOptions_Click);
    connect(m_mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
    connect(m_mnuEditSubs, &QAction::triggered, this, &Form1::mnuEditSubs_Click);
    connect(m_mnuShowEditOnly, &QAction::triggered, this, &Form1::mnuShowEditOnly_Click);
    connect(m_mnuInsSub, &QAction::triggered, this, &Form1::mnuInsSub_Click);
    connect(m_mnuInsSubDown, &QAction::triggered, this, &Form1::mnuInsSubDown_Click);
    connect(m_mnuDelSub, &QAction::triggered, this, &Form1::mnuDelSub_Click);
    connect(m_mnuNextSubEdit, &QAction::triggered, this, &Form1::mnuNextSubEdit_Click);
    connect(m_mnuBefSubEdit, &QAction::triggered, this, &Form1::mnuBefSubEdit_Click);
    connect(m_mnuShowEditsWindow, &QAction::triggered, this, &Form1::mnuShowEditsWindow_Click);
    connect(m_mnuCreateLang, &QAction::triggered, this, &Form1::mnuCreateLang_Click);
    connect(m_mnuAbout, &QAction::triggered, this, &Form1::mnuAbout_Click);
}

void Form1::createMenus()
{
    const auto separator = [this](QMenu *menu, const char16_t *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QString::fromUtf16(name));
    };
    const auto menu = [this](const char16_t *name, const char16_t *caption) {
        QMenu *created = menuBar()->addMenu(QString::fromUtf16(caption));
        created->setObjectName(QString::fromUtf16(name));
        return created;
    };

    QMenu *mnuFile = menu(u"mnuFile", u"File");
    mnuFile->addActions({m_mnuOpen, m_mnuSave, m_mnuSaveAS});
    m_mnuReopenEncoding =
        createReopenWithEncodingMenu(this, [this](const QString &name) { mnuReopenEncoding_Click(name); });
    mnuFile->insertMenu(m_mnuSave, m_mnuReopenEncoding);
    separator(mnuFile, u"mnuSep1");
    mnuFile->addAction(m_mnuOptions);
    separator(mnuFile, u"mnuSep2");
    mnuFile->addAction(m_mnuExit);

    m_mnuEdit = menu(u"mnuEdit", u"Edit");
    m_mnuEdit->addActions({m_mnuEditSubs, m_mnuShowEditOnly});
    separator(m_mnuEdit, u"mnuSep3");
    m_mnuEdit->addActions({m_mnuInsSub, m_mnuInsSubDown, m_mnuDelSub});
    separator(m_mnuEdit, u"mnuSep4");
    m_mnuEdit->addActions({m_mnuNextSubEdit, m_mnuBefSubEdit});
    separator(m_mnuEdit, u"mnuSep5");
    m_mnuEdit->addAction(m_mnuShowEditsWindow);

    QMenu *mnuHelp = menu(u"mnuHelp", u"Help");
    m_mnuLanguages = mnuHelp->addMenu(QStringLiteral("Languages"));
    m_mnuLanguages->setObjectName(QStringLiteral("mnuLanguages"));
    m_mnuLanguages->addAction(m_mnuCreateLang);
    separator(m_mnuLanguages, u"mnuSep9");
    QAction *defaultItem = m_mnuLanguages->addAction(QStringLiteral("Default"));
    defaultItem->setObjectName(QStringLiteral("mnuLangDef"));
    defaultItem->setProperty(ControlIndexProperty, 0);
    defaultItem->setCheckable(true);
    m_langDefItems << defaultItem;
    separator(mnuHelp, u"mnuSep19");
    mnuHelp->addAction(m_mnuAbout);
}

void Form1::createToolBar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar1"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setContextMenuPolicy(Qt::PreventContextMenu);

    // Positions count separators, as the language files number the buttons.
    const QList<QAction *> buttons{m_mnuOpen,      m_mnuSave,       m_mnuSaveAS,   nullptr,         m_mnuEditSubs,
                                   m_mnuShowEditOnly, nullptr,      m_mnuInsSub,   m_mnuInsSubDown, m_mnuDelSub,
                                   nullptr,        m_mnuNextSubEdit, m_mnuBefSubEdit, nullptr,      m_mnuOptions};
    for (QAction *button : buttons) {
        if (!button) {
            m_toolbar->addSeparator();
            continue;
        }
        button->setIcon(toolbarIcon(button->data().toString(), *style()));
        m_toolbar->addAction(button);
    }
    // The design tooltips, before any language file.
    const QStringList tips{QStringLiteral("Open (Ctrl-O)"),
                           QStringLiteral("Save (Ctrl-S)"),
                           QStringLiteral("Save as (Ctrl-A)"),
                           {},
                           QStringLiteral("Correct subtitles (F8)"),
                           QStringLiteral("Show only corrected subtitles (F9)"),
                           {},
                           QStringLiteral("Insert subtitle (Ins)"),
                           QStringLiteral("Insert subtitle down (Shift-Ins)"),
                           QStringLiteral("Delete subtitle (Del)"),
                           {},
                           QStringLiteral("Next edit (Ctrl-Down)"),
                           QStringLiteral("Previous edit (Ctrl-Up)"),
                           {},
                           QStringLiteral("Options (Ctrl-P)")};
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i))
            buttons.at(i)->setToolTip(tips.at(i));
    }

    m_toolbar->addSeparator();
    m_text1 = new QLineEdit(m_toolbar);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setAcceptDrops(false);
    m_text1->setFocusPolicy(Qt::ClickFocus);
    m_text1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_toolbar->addWidget(m_text1);
}

void Form1::createCentralWidget()
{
    const Twips twips = Twips::forWidget(this);
    const int margin = twips.toPixels(MarginTwips);

    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_listView1 = makeList(central, u"ListView1", m_originalModel);
    m_listView2 = makeList(central, u"ListView2", m_filterModel);
    m_listView2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listView2, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        // The menu acts on the row clicked, as a right click selects it first.
        const QModelIndex under = m_listView2->indexAt(position);
        if (under.isValid() && !m_listView2->selectionModel()->isRowSelected(under.row(), {})) {
            selectCorrectedRow(m_filterModel->mapToSource(under).row());
            ListView2_ItemClick();
        }
        m_mnuEdit->popup(m_listView2->viewport()->mapToGlobal(position));
    });

    // Tall enough for a three-line subtitle in the font in use.
    const int boxHeight = std::max(twips.toPixels(TextBoxHeightTwips), 3 * fontMetrics().lineSpacing() + 14);
    m_txtSub1 = new QPlainTextEdit(central);
    m_txtSub1->setObjectName(QStringLiteral("txtSub1"));
    m_txtSub1->setReadOnly(true);
    m_txtSub1->setFixedHeight(boxHeight);
    m_txtSub1->setTabChangesFocus(true);

    m_txtSub2 = new QPlainTextEdit(central);
    m_txtSub2->setObjectName(QStringLiteral("txtSub2"));
    m_txtSub2->setFixedHeight(boxHeight);
    m_txtSub2->setTabChangesFocus(true);
    m_txtSub2->setToolTip(QStringLiteral("Ctrl-Enter to apply changes (or leave the textbox) - Esc to cancel"));

    const int timeWidth =
        std::max(twips.toPixels(TimeBoxWidthTwips), fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,0000")) + 12);
    m_txtStartTime = new TimeLineEdit(central);
    m_txtStartTime->setObjectName(QStringLiteral("txtStartTime"));
    m_txtEndTime = new TimeLineEdit(central);
    m_txtEndTime->setObjectName(QStringLiteral("txtEndTime"));
    for (TimeLineEdit *box : {m_txtStartTime, m_txtEndTime}) {
        box->setFixedWidth(timeWidth);
        box->setToolTip(QStringLiteral("Enter to apply changes - Esc to cancel"));
    }

    auto *label3 = new QLabel(QStringLiteral("Original"), central);
    label3->setObjectName(QStringLiteral("Label3"));
    auto *label4 = new QLabel(QStringLiteral("Edited"), central);
    label4->setObjectName(QStringLiteral("Label4"));
    for (QLabel *label : {label3, label4})
        label->setTextFormat(Qt::PlainText);

    m_leftPane = new QWidget(central);
    auto *left = new QVBoxLayout(m_leftPane);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(margin);
    left->addWidget(label3);
    left->addWidget(m_listView1, 1);
    left->addWidget(m_txtSub1);

    m_rightPane = new QWidget(central);
    auto *right = new QVBoxLayout(m_rightPane);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(margin);
    right->addWidget(label4);
    right->addWidget(m_listView2, 1);
    auto *times = new QVBoxLayout;
    times->setContentsMargins(0, 0, 0, 0);
    times->addWidget(m_txtStartTime);
    times->addStretch(1);
    times->addWidget(m_txtEndTime);
    auto *boxes = new QHBoxLayout;
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->setSpacing(margin);
    boxes->addLayout(times);
    boxes->addWidget(m_txtSub2, 1);
    right->addLayout(boxes);

    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(std::max(4, twips.toPixels(105)));
    m_splitter->addWidget(m_leftPane);
    m_splitter->addWidget(m_rightPane);
    // The left list keeps its width when the window grows; the right one takes the rest.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->handle(1)->setObjectName(QStringLiteral("lblDiax"));

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
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        status->addWidget(label, stretch);
        stretch = stretch == 5 ? 3 : 2;
    }
    // The encoding the open file was read in, and is saved in.
    m_lblEncoding = new QLabel(central);
    m_lblEncoding->setObjectName(QStringLiteral("lblEncoding"));
    m_lblEncoding->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblEncoding->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->addWidget(m_lblEncoding);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->setSpacing(margin);
    layout->addWidget(m_splitter, 1);
    layout->addLayout(status);

    // Tab runs from list to list, then through the corrected subtitle's boxes.
    setTabOrder(m_listView1, m_listView2);
    setTabOrder(m_listView2, m_txtStartTime);
    setTabOrder(m_txtStartTime, m_txtEndTime);
    setTabOrder(m_txtEndTime, m_txtSub2);
    setTabOrder(m_txtSub2, m_txtSub1);

    for (QWidget *watched : std::initializer_list<QWidget *>{m_listView1, m_listView2, m_txtSub1, m_txtSub2,
                                                             m_txtStartTime, m_txtEndTime, m_text1, this})
        watched->installEventFilter(this);

    // The selection routine runs once the selection has moved, whichever
    // button or key moved it; currentRowChanged comes before that.
    connect(m_listView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_syncing)
            ListView1_ItemClick();
    });
    connect(m_listView2->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_syncing)
            ListView2_ItemClick();
    });
    // A click on the row already selected moves nothing; it fills the boxes
    // again when they were emptied meanwhile (the filter switched).
    connect(m_listView1, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!m_syncing && !boxesFilledFor(m_correctedModel->findTag(index.row() + 1)))
            ListView1_ItemClick();
    });
    connect(m_listView2, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!m_syncing && !boxesFilledFor(m_filterModel->mapToSource(index).row()))
            ListView2_ItemClick();
    });
    connect(m_txtSub2, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_fillingBoxes)
            m_textEditPending = true;
        updateLineCounter();
    });
    connect(m_txtStartTime, &TimeLineEdit::commitRequested, this, [this] { commitTime(true); });
    connect(m_txtEndTime, &TimeLineEdit::commitRequested, this, [this] { commitTime(false); });
    connect(m_txtStartTime, &TimeLineEdit::restoreRequested, this, [this] { restoreTime(true); });
    connect(m_txtEndTime, &TimeLineEdit::restoreRequested, this, [this] { restoreTime(false); });
}

// ---- Start-up, languages, settings and layout

void Form1::Form_Load()
{
    ApplyLangCaptions(*this, m_lang);
    buildLanguagesMenu();
    LoadValues();
    setSplitterLimits();
    EnableEditMenu(false);
    EnableSaveEdit(false, false);
    applyMainGeometry();
}

void Form1::buildLanguagesMenu()
{
    while (m_langDefItems.size() > 1)
        delete m_langDefItems.takeLast();
    const QStringList names = m_languages.loadableLanguageNames();
    for (const QString &name : names) {
        const int index = int(m_langDefItems.size());
        QAction *item = m_mnuLanguages->addAction(name);
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

bool Form1::LoadNewLang(const QString &newLang)
{
    const std::optional<QString> file = m_languages.fileFor(newLang);
    if (!file)
        return false;
    // Tried on its own first: a file that does not load leaves the language
    // in use as it is.
    LangDoc trial;
    if (!trial.load(*file)) {
        m_prompter.inform(GetLangText(m_lang, Form1Msg::LanguageUnusable).arg(*file, trial.errorString()));
        return false;
    }
    m_settings.LangFileBase = newLang;
    m_lang.load(*file);
    ApplyLangCaptions(*this, m_lang);
    ApplyLangCaptions(*m_form3, m_lang);
    return true;
}

void Form1::mnuLangDef_Click(int index)
{
    if (index < 0 || index >= m_langDefItems.size())
        return;
    QAction *clicked = m_langDefItems.at(index);
    if (!LoadNewLang(LanguageLocator::langFileBaseFor(clicked->text())))
        return; // the language's files are gone: nothing changes, check marks included
    for (QAction *item : std::as_const(m_langDefItems))
        item->setChecked(item == clicked);
}

clsIniFile Form1::settingsFile()
{
    clsIniFile ini(m_prompter, m_settingsPath);
    ini.setFullPath(m_settingsPath);
    ini.setSectionName(QStringLiteral("General"));
    return ini;
}

void Form1::LoadValues()
{
    // A file that cannot be read as settings is neither taken for the
    // defaults' own file nor ever written over: it may be the user's.
    // A folder in its place is left to the save, which reports it.
    const auto fileProblem = clsIniFile::checkFile(m_settingsPath, QStringLiteral("General"));
    if (fileProblem && fileProblem->kind != clsIniFile::FileProblem::Kind::NotRegularFile) {
        if (!m_settingsUnusable)
            m_prompter.inform(GetLangText(m_lang, Form1Msg::SettingsFileUnusable)
                                  .arg(m_settingsPath, settingsFileProblemText(*fileProblem, m_lang)));
        m_settingsUnusable = true;
        m_settings = Settings{};
        applyLoadedValues();
        return;
    }
    m_settingsUnusable = false;
    clsIniFile ini = settingsFile();
    const SettingsReadResult result = SettingsStore::read(ini, m_settings);
    m_settings = result.settings;
    if (!result.problems.isEmpty()) {
        QStringList lines{m_settingsPath};
        for (const SettingProblem &problem : result.problems)
            lines << settingProblemText(problem, m_lang);
        m_prompter.inform(lines.join(u'\n'));
    }
    applyLoadedValues();
}

void Form1::applyLoadedValues()
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

    const Twips twips = Twips::forWidget(this);
    const QRect edits(twips.toPixels(m_settings.EditXTwips), twips.toPixels(m_settings.EditYTwips),
                      twips.toPixels(m_settings.EditWidthTwips), twips.toPixels(m_settings.EditHeightTwips));
    const QRect fitted = ScreenFit::fitWindow(edits, ScreenFit::availableFor(edits, this));
    m_form3->move(fitted.topLeft());
    m_form3->resize(fitted.size());
    m_pendingDiaxTwips = m_settings.DiaxTwips;
    applyDiax();
    applyColumnWidths();
}

bool Form1::SaveValues()
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
    m_settings.EditXTwips = twips.fromPixels(m_form3->pos().x());
    m_settings.EditYTwips = twips.fromPixels(m_form3->pos().y());
    m_settings.EditWidthTwips = twips.fromPixels(m_form3->width());
    m_settings.EditHeightTwips = twips.fromPixels(m_form3->height());
    m_settings.DiaxTwips = diaxTwips();
    for (int column = 0; column < 4; ++column) {
        m_settings.List1ColTwips[std::size_t(column)] =
            twips.fromPixels(m_listView1->horizontalHeader()->sectionSize(column));
        m_settings.List2ColTwips[std::size_t(column)] =
            twips.fromPixels(m_listView2->horizontalHeader()->sectionSize(column));
    }

    clsIniFile ini = settingsFile();
    if (SettingsStore::write(ini, m_settings))
        return true;
    m_prompter.inform(GetLangText(m_lang, Form1Msg::CannotSave).arg(m_settingsPath, ini.errorString()));
    return false;
}

float Form1::diaxTwips() const
{
    if (m_pendingDiaxTwips)
        return *m_pendingDiaxTwips;
    const QPoint handle = m_splitter->handle(1)->mapTo(centralWidget(), QPoint(0, 0));
    return Twips::forWidget(this).fromPixels(handle.x());
}

void Form1::setSplitterLimits()
{
    // The splitter stays SplitterLimitTwips from either edge of the window.
    const Twips twips = Twips::forWidget(this);
    const int margin = twips.toPixels(MarginTwips);
    const int limit = twips.toPixels(SplitterLimitTwips);
    m_leftPane->setMinimumWidth(std::max(1, limit - margin));
    m_rightPane->setMinimumWidth(std::max(1, limit - m_splitter->handleWidth() - margin));
}

void Form1::applyDiax()
{
    if (!m_pendingDiaxTwips || !isVisible() || m_splitter->width() <= 0)
        return;
    const Twips twips = Twips::forWidget(this);
    const int left = twips.toPixels(*m_pendingDiaxTwips) - m_splitter->x();
    const int total = m_splitter->width() - m_splitter->handleWidth();
    m_splitter->setSizes({std::max(1, left), std::max(1, total - left)});
    m_pendingDiaxTwips.reset();
}

void Form1::applyColumnWidths()
{
    const Twips twips = Twips::forWidget(this);
    // Never so narrow that a number or a time text is cut off.
    const QFontMetrics metrics = m_listView1->fontMetrics();
    const int padding = 4 * m_listView1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const int minimumPixels[] = {metrics.horizontalAdvance(QStringLiteral("0000")) + padding,
                                 metrics.horizontalAdvance(QStringLiteral("00:00:00,000")) + padding,
                                 metrics.horizontalAdvance(QStringLiteral("00:00:00,000")) + padding, 0};
    const QRect screen = ScreenFit::availableFor(geometry(), this);
    const int maximumPixels = screen.isEmpty() ? 4096 : screen.width();
    for (int column = 0; column < 4; ++column) {
        // A width of zero or less (an old file's shrinking columns) gets the default.
        // No wider than the screen, so a stored width cannot make a column unusable.
        const auto pixels = [&](float stored) {
            const int wanted = twips.toPixels(stored > 0 ? stored : float(DefaultColumnTwips[column]));
            return std::max(std::min(wanted, maximumPixels), minimumPixels[column]);
        };
        m_listView1->horizontalHeader()->resizeSection(column, pixels(m_settings.List1ColTwips[std::size_t(column)]));
        m_listView2->horizontalHeader()->resizeSection(column, pixels(m_settings.List2ColTwips[std::size_t(column)]));
    }
}

void Form1::applyMainGeometry()
{
    const Twips twips = Twips::forWidget(this);
    const QRect wanted(twips.toPixels(m_settings.MainXTwips), twips.toPixels(m_settings.MainYTwips),
                       twips.toPixels(m_settings.MainWidthTwips), twips.toPixels(m_settings.MainHeightTwips));
    const QRect fitted = ScreenFit::fitWindow(wanted, ScreenFit::availableFor(wanted, this));
    move(fitted.topLeft());
    resize(fitted.size());
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyDiax();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The edits window goes and comes back with the main window.
    if (isMinimized()) {
        m_wasMinimized = true;
        if (m_form3->isMeantToBeShown())
            m_form3->hide();
    } else if (m_wasMinimized) {
        m_wasMinimized = false;
        if (m_form3->isMeantToBeShown())
            m_form3->show();
    }
}

Form1::StartOutcome Form1::runCommandLine(const CommandLine &commandLine)
{
    if (commandLine.autoMode) {
        m_document.path = commandLine.fileName;
        m_text1->setText(commandLine.fileName);
        m_mnuShowEditOnly->setChecked(false);
        m_autoMode = true;
        mnuEditSubs_Click();
        const bool saved = m_document.saveState == SaveState::Saved;
        Form_Unload();
        return saved ? StartOutcome::AutoSucceeded : StartOutcome::AutoFailed;
    }
    EnableSaveEdit(false, false);
    if (!commandLine.fileName.isEmpty() && fileExists(commandLine.fileName)) {
        show();
        if (LoadFileToList(commandLine.fileName))
            mnuEditSubs_Click();
    }
    return StartOutcome::Interactive;
}

bool Form1::askToSaveHandEdits()
{
    commitPendingText();
    const bool goOn = AskToSave(m_document.saveState, m_prompter, m_lang, [this] {
        if (m_document.stamp.differsOnDisk(m_document.path)
            && m_prompter.ask(GetLangText(m_lang, Form1Msg::OverwriteChanged).arg(m_document.path),
                              Prompter::Buttons::YesNo, Prompter::Answer::No)
                   != Prompter::Answer::Yes)
            return SaveOutcome{SaveOutcome::Status::Cancelled, {}};
        const SaveOutcome outcome = saveCorrected(m_document.path, m_settings.CreateBakFile);
        if (outcome.status == SaveOutcome::Status::Saved)
            m_document.stamp = FileStamp::read(m_document.path);
        return outcome;
    });
    setSaveState(m_document.saveState);
    return goOn;
}

bool Form1::Form_Unload()
{
    if (!askToSaveHandEdits())
        return false;
    SaveValues();
    m_form3->closeForGood();
    return true;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    if (fileExists(path))
        LoadFileToList(path);
}

bool Form1::fileExists(const QString &path) const
{
    return !path.trimmed().isEmpty() && QFileInfo(path).isFile();
}

QString Form1::windowCaption() const
{
    const QString title = QCoreApplication::applicationName();
    if (m_document.path.isEmpty())
        return title;
    return GetFileNameOnly(m_document.path) + u" - " + title + u" by " + QCoreApplication::organizationName();
}

// ---- The document: load, correct, save

void Form1::ClearValues(bool dontClearLists)
{
    m_lblStatus->clear();
    m_lblStatus->setToolTip({});
    m_lblStatus2->clear();
    m_txtSub1->clear();
    emptyCorrectedBoxes();
    if (!dontClearLists) {
        m_originalModel->clear();
        m_correctedModel->clear();
        m_form3->clearRecords();
        m_filterModel->setRecordedOrdinals({});
    }
}

void Form1::clearDocument()
{
    ClearValues();
    m_document = {};
    m_handEdited = false;
    m_text1->clear();
    setWindowTitle(windowCaption());
    showEncoding();
    EnableEditMenu(false);
    EnableSaveEdit(false, false);
}

bool Form1::LoadFileToList(const QString &fileName, const QString &encodingName)
{
    if (!fileExists(fileName) || !askToSaveHandEdits())
        return false;

    const QString encoding = encodingName.isEmpty() ? m_settings.Encoding : encodingName;
    DecodedSubtitles decoded;
    ReadError error;
    FileStamp stamp;
    std::vector<SubtitleRow> rows;
    const auto read = [&] {
        return readSubtitleFile(fileName, decoded, error, encoding, &stamp)
            && readSubtitleRows(decoded.utf8(), rows, error, m_settings.LenientTimes);
    };
    bool loaded = read();
    // Refused for a time the common variants would read: asked, and No
    // keeps the refusal the question has shown.
    bool refusalShown = false;
    if (!loaded && error.lenientTimesWouldRead) {
        refusalShown = !askToReadLenientTimes(fileName, error, m_prompter, m_lang);
        if (!refusalShown) {
            m_settings.LenientTimes = true;
            SaveValues();
            loaded = read();
        }
    }
    if (!loaded) {
        // Nothing of a file that cannot be read stays on screen.
        clearDocument();
        if (!refusalShown)
            m_prompter.inform(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + fileName + u'\n'
                              + error.describe(m_lang));
        return false;
    }

    m_syncing = true;
    ClearValues();
    m_document.path = fileName;
    m_document.encoding = decoded.encoding;
    m_document.stamp = stamp;
    m_document.encodingChoice = encoding;
    m_document.saveState = SaveState::Empty;
    m_text1->setText(fileName);
    m_originalModel->setRows(std::move(rows));
    m_syncing = false;
    EnableEditMenu(false);
    EnableSaveEdit(true, false);
    setWindowTitle(windowCaption());
    showEncoding();
    return true;
}

void Form1::showEncoding()
{
    m_lblEncoding->setText(m_document.path.isEmpty() ? QString() : m_document.encoding.displayName());
}

void Form1::mnuReopenEncoding_Click(const QString &encodingName)
{
    // An encoding the file is not in leaves the open document as it is.
    DecodedSubtitles decoded;
    ReadError error;
    if (!readSubtitleFile(m_document.path, decoded, error, encodingName)) {
        m_prompter.inform(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + m_document.path + u'\n'
                          + error.describe(m_lang));
        return;
    }
    if (LoadFileToList(m_document.path, encodingName))
        EditSubs();
}

void Form1::EditSubs()
{
    const QString path = m_document.path;
    if (!fileExists(path)) {
        m_prompter.inform(path.trimmed().isEmpty() ? GetLangText(m_lang, Form1Msg::ErrorInFile)
                                                   : GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + path);
        return;
    }
    // A second run starts again from the file: edits made by hand since the
    // last run would be lost without a word.
    commitPendingText();
    if (m_handEdited && !askToSaveHandEdits())
        return;
    // Both lists are filled from the one read below, so a row's partner is
    // always the same subtitle. When the file is not what the original list
    // shows (saved since, or changed by another program), the user decides.
    if (!m_autoMode) {
        if (m_document.stamp.differsOnDisk(path)) {
            if (m_prompter.ask(GetLangText(m_lang, Form1Msg::ChangedBeforeCorrect).arg(path),
                               Prompter::Buttons::YesNo, Prompter::Answer::Yes)
                != Prompter::Answer::Yes)
                return;
        } else if (m_document.saveState == SaveState::Saved
                   && m_prompter.ask(GetLangText(m_lang, Form1Msg::ReloadQuestion), Prompter::Buttons::YesNo,
                                     Prompter::Answer::Yes)
                          != Prompter::Answer::Yes) {
            return;
        }
    }
    // Settings the run cannot use are the settings file's fault, not the
    // subtitle file's.
    if (const QList<SettingProblem> invalid = SettingsStore::validate(m_settings); !invalid.isEmpty()) {
        QStringList lines{GetLangText(m_lang, Form1Msg::ErrorInSettingsFile), m_settingsPath};
        for (const SettingProblem &problem : invalid)
            lines << settingProblemText(problem, m_lang);
        m_prompter.inform(lines.join(u'\n'));
        return;
    }

    const QString previousStatus = m_lblStatus->text();
    m_lblStatus->setText(GetLangText(m_lang, Form1Msg::Working));
    if (m_lblStatus->isVisible())
        m_lblStatus->repaint();

    // The file is read and corrected in full before anything on screen
    // changes, so a file that cannot be corrected leaves the window as it was.
    DecodedSubtitles decoded;
    ReadError error;
    FileStamp stamp;
    std::vector<SubtitleRow> originalRows;
    RowCollector collector;
    CorrectionResult result;
    WeakWordLists weakWords;
    if (m_settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(m_languages.folders(), m_lang, unusable);
        if (!unusable.isEmpty())
            m_prompter.inform(unusable.join(u'\n'));
    }
    const QString encoding = m_document.encodingChoice.isEmpty() ? m_settings.Encoding : m_document.encodingChoice;
    if (readSubtitleFile(path, decoded, error, encoding, &stamp)
        && readSubtitleRows(decoded.utf8(), originalRows, error, m_settings.LenientTimes)) {
        result = runCorrection(decoded.utf8(), m_settings, m_lang, collector, weakWords);
    } else {
        result.errorText = error.describe(m_lang);
    }
    if (!result.ok) {
        m_lblStatus->setText(previousStatus);
        m_prompter.inform(GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + path + u'\n' + result.errorText);
        return;
    }

    m_syncing = true;
    commitPendingText();
    emptyCorrectedBoxes();
    m_txtSub1->clear();
    m_document.encoding = decoded.encoding;
    m_document.stamp = stamp;
    m_originalModel->setRows(std::move(originalRows));
    showEncoding();
    m_correctedModel->setRows(std::move(collector.rows));
    m_form3->setRecords(result.records, m_lang);
    m_filterModel->setRecordedOrdinals(m_form3->records().ordinals());
    m_syncing = false;
    EnableEditMenu(true);

    m_lblStatus->setText(result.summary);
    m_lblStatus->setToolTip(plainToolTip(result.summary)); // the field is often narrower than the summary
    setSaveState(SaveState::NotSaved);
    m_handEdited = false;

    if (m_autoMode) {
        saveAndReport(m_document.path, m_settings.CreateBakFileAuto);
        if (m_settings.ShowMessageAuto)
            m_prompter.inform(result.summary);
        return;
    }

    if (m_settings.ShowMessage) {
        m_form3->hide();
        m_prompter.inform(result.summary);
    }
    m_form3->showWindow();
    m_form3->sortOff();
    if (m_mnuShowEditOnly->isChecked())
        ShowEditOnly(true);
    EnableSaveEdit(true, true);
    activateWindow();
    raise();
}

void Form1::setSaveState(SaveState state)
{
    m_document.saveState = state;
    if (state != SaveState::NotSaved)
        m_handEdited = false;
    switch (state) {
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

void Form1::mnuOpen_Click()
{
    const QString chosen = m_files.chooseFileToOpen(this, m_mnuOpen->text().remove(u'&'), m_document.path);
    if (!chosen.isEmpty())
        LoadFileToList(chosen);
}

void Form1::mnuSave_Click()
{
    commitPendingText();
    saveOverOpenFile();
}

void Form1::saveOverOpenFile()
{
    const QString path = m_document.path;
    // What another program wrote since the file was read is not lost unasked.
    if (m_document.stamp.differsOnDisk(path)) {
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

void Form1::mnuSaveAS_Click()
{
    commitPendingText();
    const QString chosen = m_files.chooseFileToSave(this, m_mnuSaveAS->text().remove(u'&'), m_document.path);
    if (chosen.isEmpty())
        return;
    if (isOpenFile(chosen)) {
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

bool Form1::isOpenFile(const QString &path) const
{
    const QFileInfo chosen(path);
    const QFileInfo open(m_document.path);
    if (chosen.exists() && open.exists())
        return chosen.canonicalFilePath() == open.canonicalFilePath();
    return chosen.absoluteFilePath() == open.absoluteFilePath();
}

SaveOutcome Form1::saveCorrected(const QString &target, bool createBakFile)
{
    // The whole document, whatever the filter shows.
    return DoSave(m_correctedModel->rows(), m_document.encoding, target, createBakFile, m_prompter, m_lang);
}

void Form1::saveAndReport(const QString &target, bool createBakFile)
{
    const SaveOutcome outcome = saveCorrected(target, createBakFile);
    if (outcome.status != SaveOutcome::Status::Saved) {
        m_prompter.inform(outcome.message);
        return;
    }
    if (!isOpenFile(target))
        return;
    setSaveState(SaveState::Saved);
    if (!m_autoMode)
        m_document.stamp = FileStamp::read(target);
}

void Form1::mnuExit_Click()
{
    close();
}

void Form1::mnuEditSubs_Click()
{
    EditSubs();
}

void Form1::mnuShowEditsWindow_Click()
{
    m_form3->showWindow();
}

void Form1::mnuOptions_Click()
{
    {
        Form2 options(m_settings, m_shellVerb, m_lang, m_prompter, this);
        options.exec();
    }
    // Whichever way the dialog closed, the file and the window follow the
    // settings now held; when the file cannot take them, reading it back
    // would undo what was just chosen.
    if (SaveValues())
        LoadValues();
}

void Form1::mnuCreateLang_Click()
{
    frmCreateLang creator(m_languages, m_newLanguageFolder, m_prompter, this);
    creator.exec();
}

void Form1::mnuAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

// ---- Command state and navigation

void Form1::EnableEditMenu(bool toEnable)
{
    for (QAction *action : {m_mnuShowEditOnly, m_mnuBefSubEdit, m_mnuDelSub, m_mnuInsSub, m_mnuInsSubDown,
                            m_mnuNextSubEdit})
        action->setEnabled(toEnable);
}

void Form1::EnableEditSubs(bool toEnable)
{
    for (QAction *action : {m_mnuDelSub, m_mnuInsSub, m_mnuInsSubDown})
        action->setEnabled(toEnable);
}

void Form1::EnableSaveEdit(bool toEnable, bool enableSave)
{
    m_mnuEditSubs->setEnabled(toEnable);
    m_mnuReopenEncoding->setEnabled(toEnable);
    for (QAction *action : {m_mnuSave, m_mnuSaveAS, m_mnuShowEditOnly})
        action->setEnabled(enableSave);
}

void Form1::mnuShowEditOnly_Click()
{
    ShowEditOnly(m_mnuShowEditOnly->isChecked());
}

void Form1::ShowEditOnly(bool toShowEditOnly)
{
    // Typing not yet applied belongs to the row on show now.
    commitPendingText();
    m_mnuShowEditOnly->setChecked(toShowEditOnly);
    EnableEditSubs(!toShowEditOnly);
    m_syncing = true;
    m_filterModel->setOnlyCorrected(toShowEditOnly);
    m_syncing = false;
    emptyCorrectedBoxes();
}

bool Form1::LocateNextSubEdit(bool locationUp)
{
    const QList<int> ordinals = m_form3->ordinalsInViewOrder();
    const int selected = selectedOriginalRow();
    const std::optional<qsizetype> target = ::LocateNextSubEdit(
        ordinals, selected >= 0 ? std::optional<int>(selected + 1) : std::nullopt, locationUp);
    if (!target)
        return false;
    m_form3->selectViewRow(int(*target));
    showRecord(ordinals.at(*target));
    return true;
}

void Form1::mnuNextSubEdit_Click()
{
    LocateNextSubEdit(false);
}

void Form1::mnuBefSubEdit_Click()
{
    LocateNextSubEdit(true);
}

void Form1::showRecord(int ordinal)
{
    if (ordinal < 1 || ordinal > m_originalModel->rowCount())
        return;
    selectOriginalRow(ordinal - 1);
    m_listView1->scrollTo(m_originalModel->index(ordinal - 1, 0));
    ListView1_ItemClick();
}

// ---- Selection

int Form1::selectedOriginalRow() const
{
    const QModelIndexList rows = m_listView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int Form1::selectedCorrectedRow() const
{
    const QModelIndexList rows = m_listView2->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : m_filterModel->mapToSource(rows.first()).row();
}

void Form1::selectOriginalRow(int row)
{
    const bool syncing = std::exchange(m_syncing, true);
    QItemSelectionModel *selection = m_listView1->selectionModel();
    const QModelIndex index = m_originalModel->index(row, 0);
    if (index.isValid())
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clear();
    m_syncing = syncing;
}

void Form1::selectCorrectedRow(int sourceRow)
{
    const bool syncing = std::exchange(m_syncing, true);
    QItemSelectionModel *selection = m_listView2->selectionModel();
    const QModelIndex index = m_filterModel->mapFromSource(m_correctedModel->index(sourceRow, 0));
    if (index.isValid())
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clear();
    m_syncing = syncing;
}

void Form1::alignList(QTableView *list, int row, int distance)
{
    // Rows scroll one at a time, so the scroll value is the first visible row.
    list->verticalScrollBar()->setValue(std::max(0, row - distance));
    list->scrollTo(list->model()->index(row, 0));
}

void Form1::ListView1_ItemClick()
{
    if (m_textEditPending)
        txtSub2_LostFocus();
    const int k = selectedOriginalRow();
    if (k < 0)
        return;
    const int r = m_correctedModel->findTag(k + 1);
    const QModelIndex shown = r < 0 ? QModelIndex() : m_filterModel->mapFromSource(m_correctedModel->index(r, 0));
    if (!shown.isValid()) {
        selectCorrectedRow(-1);
        emptyCorrectedBoxes();
    } else {
        selectCorrectedRow(r);
        m_form3->selectOrdinal(k + 1);
        alignList(m_listView2, shown.row(), k - m_listView1->verticalScrollBar()->value());
        fillCorrectedBoxes(r);
    }
    m_txtSub1->setPlainText(rowTextToBoxText(m_originalModel->row(k).text));
}

void Form1::ListView2_ItemClick()
{
    if (m_textEditPending)
        txtSub2_LostFocus();
    const int r = selectedCorrectedRow();
    if (r < 0)
        return;
    const int k = m_correctedModel->row(r).tag;
    if (k < 1 || k > m_originalModel->rowCount()) {
        selectOriginalRow(-1);
        m_txtSub1->clear();
    } else {
        selectOriginalRow(k - 1);
        m_form3->selectOrdinal(k);
        const int shownRow = m_filterModel->mapFromSource(m_correctedModel->index(r, 0)).row();
        alignList(m_listView1, k - 1, shownRow - m_listView2->verticalScrollBar()->value());
        m_txtSub1->setPlainText(rowTextToBoxText(m_originalModel->row(k - 1).text));
    }
    fillCorrectedBoxes(r);
}

void Form1::fillCorrectedBoxes(int sourceRow)
{
    const SubtitleRow &row = m_correctedModel->row(sourceRow);
    m_storedText = row.text;
    m_storedStart = row.startText;
    m_storedEnd = row.endText;
    m_fillingBoxes = true;
    m_txtSub2->setPlainText(rowTextToBoxText(row.text));
    m_txtStartTime->setText(row.startText);
    m_txtEndTime->setText(row.endText);
    m_fillingBoxes = false;
    m_textEditPending = false;
    m_editedRow = m_correctedModel->index(sourceRow, 0);
}

void Form1::emptyCorrectedBoxes()
{
    // With no row to write to, nothing typed may land in the row edited before.
    m_fillingBoxes = true;
    m_txtSub2->clear();
    m_txtStartTime->clear();
    m_txtEndTime->clear();
    m_fillingBoxes = false;
    m_storedText.clear();
    m_storedStart.clear();
    m_storedEnd.clear();
    m_textEditPending = false;
    m_editedRow = QPersistentModelIndex();
}

bool Form1::boxesFilledFor(int sourceRow) const
{
    return sourceRow >= 0 && m_editedRow.isValid() && m_editedRow.model() == m_correctedModel
           && m_editedRow.row() == sourceRow;
}

void Form1::moveCorrectedSelection(int step)
{
    const int rows = m_filterModel->rowCount();
    if (rows == 0)
        return;
    const QModelIndexList selected = m_listView2->selectionModel()->selectedRows();
    int current = selected.isEmpty() ? 0 : selected.first().row();
    if (m_textEditPending)
        txtSub2_LostFocus();
    if (!selected.isEmpty())
        current = std::clamp(current + step, 0, rows - 1);
    selectCorrectedRow(m_filterModel->mapToSource(m_filterModel->index(current, 0)).row());
    m_listView2->scrollTo(m_filterModel->index(current, 0));
    ListView2_ItemClick();
}

// ---- Keys

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == m_txtSub2) {
        txtSub2_LostFocus();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool upOrDown = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;

    // Window-level keys, whichever box or list has the focus.
    if (upOrDown && modifiers == Qt::AltModifier) {
        moveCorrectedSelection(key->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    if (upOrDown && modifiers == Qt::ControlModifier) {
        if (!m_mnuNextSubEdit->isEnabled())
            return false;
        // One step per press: a found edit consumes the key, so no list moves
        // its own selection as well.
        return LocateNextSubEdit(key->key() == Qt::Key_Up);
    }

    if (watched == m_listView2 && modifiers == Qt::NoModifier && key->key() == Qt::Key_Delete) {
        if (m_mnuDelSub->isEnabled())
            ListView2_KeyDown(Qt::Key_Delete, false);
        return true;
    }
    if (watched == m_listView2 && key->key() == Qt::Key_Insert
        && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        if (m_mnuInsSub->isEnabled())
            ListView2_KeyDown(Qt::Key_Insert, modifiers == Qt::ShiftModifier);
        return true;
    }

    if (watched == m_txtSub2) {
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && modifiers == Qt::ControlModifier) {
            // Into the row the boxes were filled from; emptied boxes write nothing.
            commitText(m_editedRow);
            return true;
        }
        if (enter && modifiers == Qt::ShiftModifier) {
            // One kind of line break only: a plain new line.
            m_txtSub2->insertPlainText(QStringLiteral("\n"));
            return true;
        }
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            m_fillingBoxes = true;
            m_txtSub2->setPlainText(rowTextToBoxText(m_storedText));
            m_fillingBoxes = false;
            // The restored text still counts as typed: leaving the box writes it.
            m_textEditPending = true;
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Inline editing

void Form1::commitText(const QPersistentModelIndex &row)
{
    if (row.isValid() && row.model() == m_correctedModel) {
        m_correctedModel->setText(row.row(), boxTextToRowText(m_txtSub2->toPlainText()));
        setSaveState(SaveState::NotSaved);
        m_handEdited = true;
    }
    m_textEditPending = false;
}

void Form1::txtSub2_LostFocus()
{
    if (m_textEditPending)
        commitText(m_editedRow);
}

void Form1::commitPendingText()
{
    txtSub2_LostFocus();
}

void Form1::commitTime(bool start)
{
    // Into the row the boxes were filled from, whatever is selected now.
    if (!m_editedRow.isValid() || m_editedRow.model() != m_correctedModel)
        return;
    const int row = m_editedRow.row();
    // Esc afterwards shows what the row now holds, not a time it no longer has.
    if (start) {
        m_storedStart = m_txtStartTime->text();
        m_correctedModel->setStartText(row, m_storedStart);
    } else {
        m_storedEnd = m_txtEndTime->text();
        m_correctedModel->setEndText(row, m_storedEnd);
    }
    setSaveState(SaveState::NotSaved);
    m_handEdited = true;
}

void Form1::restoreTime(bool start)
{
    if (start)
        m_txtStartTime->setText(m_storedStart);
    else
        m_txtEndTime->setText(m_storedEnd);
}

void Form1::updateLineCounter()
{
    m_lblStatus3->setText(lineCounterText(m_txtSub2->toPlainText(), m_lang));
}

void Form1::mnuInsSub_Click()
{
    ListView2_KeyDown(Qt::Key_Insert, false);
}

void Form1::mnuInsSubDown_Click()
{
    ListView2_KeyDown(Qt::Key_Insert, true);
}

void Form1::mnuDelSub_Click()
{
    ListView2_KeyDown(Qt::Key_Delete, false);
}

void Form1::ListView2_KeyDown(int key, bool shift)
{
    if (m_mnuShowEditOnly->isChecked())
        return;
    const int count = m_correctedModel->rowCount();
    const int selected = selectedCorrectedRow();

    if (key == Qt::Key_Insert) {
        // Above the selected row, or below it with Shift; with nothing
        // selected, at the top or the bottom, timed from the row there.
        const int position = shift ? (selected >= 0 ? selected + 1 : count) : std::max(selected, 0);
        const int neighbour = shift ? position - 1 : position;
        QString timeText = SecondsToTimeText(0.0);
        if (neighbour >= 0 && neighbour < count) {
            const SubtitleRow &near = m_correctedModel->row(neighbour);
            const QString &nearText = shift ? near.endText : near.startText;
            if (const std::optional<double> seconds = TimeTextToSeconds(nearText)) {
                // 1 ms beside the neighbour, never before 00:00:00,000.
                const double moved = Round3(*seconds + (shift ? 0.001 : -0.001));
                timeText = SecondsToTimeText(std::max(0.0, moved));
            } else {
                timeText = nearText;
            }
        }
        SubtitleRow row;
        row.startText = timeText;
        row.endText = timeText;
        m_correctedModel->insertSubtitle(position, std::move(row));
        // A row added or removed is work that closing must not drop unasked.
        setSaveState(SaveState::NotSaved);
        m_handEdited = true;
        selectCorrectedRow(position);
        m_listView2->scrollTo(m_filterModel->mapFromSource(m_correctedModel->index(position, 0)));
        ListView2_ItemClick();
        return;
    }

    if (key != Qt::Key_Delete || selected < 0)
        return;
    m_textEditPending = false; // typing not applied goes with the row
    if (count >= 2) {
        selectCorrectedRow(selected == count - 1 ? selected - 1 : selected + 1);
        ListView2_ItemClick();
    }
    m_correctedModel->removeSubtitle(selected);
    setSaveState(SaveState::NotSaved);
    m_handEdited = true;
}
