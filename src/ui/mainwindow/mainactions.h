// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <functional>

class QAction;
class QLineEdit;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

// The main window's commands, one QAction each (objectName = the menu
// item's name), in the menus and on the tool bar, and the keys that reach
// them: Ins, Shift-Ins and Del only in the corrected list, the row keys
// (Ctrl-, Alt- and Ctrl-Shift-Up and -Down) from anywhere in the window.
struct MainActions
{
    explicit MainActions(QMainWindow &window);

    // Keys without a menu item of their own: Alt-Up and Alt-Down.
    void bindKeys(QWidget &correctedList, const std::function<void(int step)> &moveCorrected);

    QAction *mnuOpen;
    QAction *mnuSave;
    QAction *mnuSaveAS;
    QAction *mnuOptions;
    QAction *mnuExit;
    QAction *mnuUndo;
    QAction *mnuRedo;
    QAction *mnuEditSubs;
    QAction *mnuShowEditOnly;
    QAction *mnuInsSub;
    QAction *mnuInsSubDown;
    QAction *mnuDelSub;
    QAction *mnuRestoreOriginal;
    QAction *mnuNextSubEdit;
    QAction *mnuBefSubEdit;
    QAction *mnuNextTooFast;
    QAction *mnuPrevTooFast;
    QAction *mnuShowEditsWindow;
    QAction *mnuCreateLang;
    QAction *mnuAbout;

    QMenu *mnuEdit = nullptr;
    QMenu *mnuLanguages = nullptr;
    QAction *mnuLangDef = nullptr; // the hidden "Default" item
    QToolBar *toolbar = nullptr;
    QLineEdit *text1 = nullptr;

private:
    void createMenus(QMainWindow &window);
    void createToolBar(QMainWindow &window);

    QMainWindow &m_window;
};
