// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/mainactions.h"

#include "ui/language/langcaptions.h"
#include "ui/mainwindow/toolbaricons.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

// data is the tool bar button's key; tip its design tooltip.
QAction *makeAction(QObject *parent, const char16_t *name, const char16_t *caption, const char16_t *data = nullptr,
                    const char16_t *tip = nullptr)
{
    auto *action = new QAction(QString::fromUtf16(caption), parent);
    action->setObjectName(QString::fromUtf16(name));
    if (data)
        action->setData(QString::fromUtf16(data));
    if (tip)
        action->setToolTip(QString::fromUtf16(tip));
    return action;
}

// A key that triggers target while context holds; the item itself carries
// the key only to show it in the menu (see MainActions::MainActions).
void addKey(QWidget &owner, QAction *target, const QKeySequence &key, Qt::ShortcutContext context)
{
    auto *keyAction = new QAction(&owner);
    keyAction->setShortcut(key);
    keyAction->setShortcutContext(context);
    owner.addAction(keyAction);
    QObject::connect(keyAction, &QAction::triggered, target, &QAction::trigger);
}

} // namespace

MainActions::MainActions(QMainWindow &window)
    : mnuOpen(makeAction(&window, u"mnuOpen", u"Open...", u"Open", u"Open (Ctrl-O)")),
      mnuSave(makeAction(&window, u"mnuSave", u"Save", u"Save", u"Save (Ctrl-S)")),
      mnuSaveAS(makeAction(&window, u"mnuSaveAS", u"Save as...", u"SaveAs", u"Save as (Ctrl-A)")),
      mnuOptions(makeAction(&window, u"mnuOptions", u"Options...", u"Options", u"Options (Ctrl-P)")),
      mnuExit(makeAction(&window, u"mnuExit", u"Exit")),
      mnuUndo(makeAction(&window, u"mnuUndo", u"Undo", u"Undo", u"Undo (Ctrl-Z)")),
      mnuRedo(makeAction(&window, u"mnuRedo", u"Redo", u"Redo", u"Redo (Ctrl-Shift-Z)")),
      mnuEditSubs(makeAction(&window, u"mnuEditSubs", u"Correct subtitles", u"Edit", u"Correct subtitles (F8)")),
      mnuShowEditOnly(makeAction(&window, u"mnuShowEditOnly", u"Show only corrected subtitles", u"OnlyEdit",
                                 u"Show only corrected subtitles (F9)")),
      mnuInsSub(makeAction(&window, u"mnuInsSub", u"Insert subtitle", u"Ins", u"Insert subtitle (Ins)")),
      mnuInsSubDown(makeAction(&window, u"mnuInsSubDown", u"Insert subtitle down", u"ShiftIns",
                               u"Insert subtitle down (Shift-Ins)")),
      mnuDelSub(makeAction(&window, u"mnuDelSub", u"Delete subtitle", u"Del", u"Delete subtitle (Del)")),
      mnuRestoreOriginal(makeAction(&window, u"mnuRestoreOriginal", u"Restore original", nullptr,
                                    u"Restore original (Ctrl-R)")),
      mnuNextSubEdit(makeAction(&window, u"mnuNextSubEdit", u"Next edit", u"NextEdit",
                                u"Next edit (Ctrl-Down)")),
      mnuBefSubEdit(makeAction(&window, u"mnuBefSubEdit", u"Previous edit", u"BefEdit",
                               u"Previous edit (Ctrl-Up)")),
      mnuNextTooFast(makeAction(&window, u"mnuNextTooFast", u"Next too fast", nullptr,
                                u"Next too fast (Ctrl-Shift-Down)")),
      mnuPrevTooFast(makeAction(&window, u"mnuPrevTooFast", u"Previous too fast", nullptr,
                                u"Previous too fast (Ctrl-Shift-Up)")),
      mnuShowEditsWindow(makeAction(&window, u"mnuShowEditsWindow", u"Show Edits window")),
      mnuCreateLang(makeAction(&window, u"mnuCreateLang", u"Create new Language...")),
      mnuAbout(makeAction(&window, u"mnuAbout", u"About...")), m_window(window)
{
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuOptions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuExit->setShortcut(QKeySequence::Quit);
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuEditSubs->setShortcut(QKeySequence(Qt::Key_F8));
    mnuShowEditOnly->setShortcut(QKeySequence(Qt::Key_F9));
    mnuShowEditOnly->setCheckable(true);
    mnuRestoreOriginal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuNextTooFast->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    mnuPrevTooFast->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    // Their keys work where bindKeys puts them (Ins only in the corrected
    // list); the items carry them, as every other item does, to show them,
    // in a context no focus reaches.
    for (const auto &[action, key] : {std::pair{mnuInsSub, QKeySequence(Qt::Key_Insert)},
                                      std::pair{mnuInsSubDown, QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
                                      std::pair{mnuDelSub, QKeySequence(Qt::Key_Delete)},
                                      std::pair{mnuNextSubEdit, QKeySequence(Qt::CTRL | Qt::Key_Down)},
                                      std::pair{mnuBefSubEdit, QKeySequence(Qt::CTRL | Qt::Key_Up)}}) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    createMenus(window);
    createToolBar(window);
}

void MainActions::createMenus(QMainWindow &window)
{
    const auto separator = [](QMenu *menu, const char16_t *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QString::fromUtf16(name));
    };
    const auto menu = [&window](const char16_t *name, const char16_t *caption) {
        QMenu *created = window.menuBar()->addMenu(QString::fromUtf16(caption));
        created->setObjectName(QString::fromUtf16(name));
        return created;
    };

    QMenu *mnuFile = menu(u"mnuFile", u"File");
    mnuFile->addActions({mnuOpen, mnuSave, mnuSaveAS});
    separator(mnuFile, u"mnuSep1");
    mnuFile->addAction(mnuOptions);
    separator(mnuFile, u"mnuSep2");
    mnuFile->addAction(mnuExit);

    mnuEdit = menu(u"mnuEdit", u"Edit");
    mnuEdit->addActions({mnuUndo, mnuRedo});
    mnuEdit->addSeparator();
    mnuEdit->addActions({mnuEditSubs, mnuShowEditOnly});
    separator(mnuEdit, u"mnuSep3");
    mnuEdit->addActions({mnuInsSub, mnuInsSubDown, mnuDelSub, mnuRestoreOriginal});
    separator(mnuEdit, u"mnuSep4");
    mnuEdit->addActions({mnuNextSubEdit, mnuBefSubEdit, mnuNextTooFast, mnuPrevTooFast});
    separator(mnuEdit, u"mnuSep5");
    mnuEdit->addAction(mnuShowEditsWindow);

    QMenu *mnuHelp = menu(u"mnuHelp", u"Help");
    mnuLanguages = mnuHelp->addMenu(QStringLiteral("Languages"));
    mnuLanguages->setObjectName(QStringLiteral("mnuLanguages"));
    mnuLanguages->addAction(mnuCreateLang);
    separator(mnuLanguages, u"mnuSep9");
    mnuLangDef = mnuLanguages->addAction(QStringLiteral("Default"));
    mnuLangDef->setObjectName(QStringLiteral("mnuLangDef"));
    mnuLangDef->setProperty(ControlIndexProperty, 0);
    mnuLangDef->setCheckable(true);
    separator(mnuHelp, u"mnuSep19");
    mnuHelp->addAction(mnuAbout);
}

void MainActions::createToolBar(QMainWindow &window)
{
    toolbar = window.addToolBar(QStringLiteral("Toolbar1"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);

    // Positions count separators, as the language files number the buttons;
    // the buttons added later come last, so the numbers stay.
    const QList<QAction *> buttons{mnuOpen,       mnuSave,        mnuSaveAS,     nullptr,   mnuEditSubs,
                                   mnuShowEditOnly, nullptr,      mnuInsSub,     mnuInsSubDown, mnuDelSub,
                                   nullptr,       mnuNextSubEdit, mnuBefSubEdit, nullptr,   mnuOptions,
                                   nullptr,       mnuUndo,        mnuRedo};
    for (QAction *button : buttons) {
        if (!button) {
            toolbar->addSeparator();
            continue;
        }
        button->setIcon(toolbarIcon(button->data().toString(), *window.style()));
        toolbar->addAction(button);
    }

    toolbar->addSeparator();
    text1 = new QLineEdit(toolbar);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setReadOnly(true);
    text1->setAcceptDrops(false);
    text1->setFocusPolicy(Qt::ClickFocus);
    text1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    toolbar->addWidget(text1);
}

void MainActions::bindKeys(QWidget &correctedList, const std::function<void(int step)> &moveCorrected)
{
    addKey(correctedList, mnuInsSub, QKeySequence(Qt::Key_Insert), Qt::WidgetShortcut);
    addKey(correctedList, mnuInsSubDown, QKeySequence(Qt::SHIFT | Qt::Key_Insert), Qt::WidgetShortcut);
    addKey(correctedList, mnuDelSub, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut);
    // From any list or box: one step per press, as the shortcut takes the key.
    addKey(m_window, mnuNextSubEdit, QKeySequence(Qt::CTRL | Qt::Key_Down), Qt::WindowShortcut);
    addKey(m_window, mnuBefSubEdit, QKeySequence(Qt::CTRL | Qt::Key_Up), Qt::WindowShortcut);
    for (const int step : {-1, 1}) {
        auto *keyAction = new QAction(&m_window);
        keyAction->setShortcut(QKeySequence(Qt::ALT | (step < 0 ? Qt::Key_Up : Qt::Key_Down)));
        keyAction->setShortcutContext(Qt::WindowShortcut);
        m_window.addAction(keyAction);
        QObject::connect(keyAction, &QAction::triggered, keyAction, [moveCorrected, step] { moveCorrected(step); });
    }
}
