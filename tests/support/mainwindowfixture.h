// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "support/fakeshellverb.h"
#include "support/scriptedprompter.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "ui/filechooser.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/subtitles/subtitlelistview.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

inline int selectedRow(const QTableView *view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// Answers the Open dialog from a list and Save as with toSave (empty: cancelled).
class ScriptedChooser : public FileChooser
{
public:
    QStringList toOpen;
    QString toSave;
    QString chooseFileToOpen(QWidget *, const QString &, const QString &) override { return toOpen.value(0); }
    QString chooseVideoToOpen(QWidget *, const QString &, const QString &, const QString &) override
    {
        return toOpen.value(0);
    }
    QString chooseFileToSave(QWidget *, const QString &, const QString &) override { return toSave; }
    QString chooseListToOpen(QWidget *, const QString &, const QString &, const QString &) override
    {
        return toOpen.value(0);
    }
    QString chooseListToSave(QWidget *, const QString &, const QString &, const QString &) override { return toSave; }
};

// One loaded main window over a settings file and everything it talks to: the shipped language files, a scripted
// prompter and chooser, the verb in memory. New language files go beside the settings file.
struct MainWindowFixture
{
    LangDoc lang;
    LanguageLocator languages{QStringList{QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}};
    ScriptedPrompter prompter;
    ScriptedChooser files;
    FakeShellVerb shellVerb;
    std::unique_ptr<MainWindow> window;
    // The main window's own lists (the edits window has a ListView1 too) and boxes.
    QTableView *list1 = list(QStringLiteral("ListView1"));
    QTableView *list2 = list(QStringLiteral("ListView2"));
    QPlainTextEdit *sub1 = box(QStringLiteral("txtSub1"));
    QPlainTextEdit *sub2 = box(QStringLiteral("txtSub2"));

    explicit MainWindowFixture(const QString &settingsPath)
        : window(std::make_unique<MainWindow>(lang, languages, settingsPath, prompter, files, shellVerb,
                                         QFileInfo(settingsPath).absolutePath()))
    {
        window->Form_Load();
    }

    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    void open(const QString &path)
    {
        files.toOpen = {path};
        action(QStringLiteral("mnuOpen"))->trigger();
    }
    // F8; the edits window takes the focus and gives it back.
    bool correct()
    {
        QTest::keyClick(window.get(), Qt::Key_F8);
        QCoreApplication::processEvents();
        return QTest::qWaitForWindowActive(window.get());
    }
    bool openAndCorrect(const QString &path)
    {
        open(path);
        return correct();
    }
    QTableView *list(const QString &name) const { return window->centralWidget()->findChild<QTableView *>(name); }
    // The rows selected in ListView1 and ListView2, -1 for none.
    QList<int> selected() const { return {selectedRow(list1), selectedRow(list2)}; }
    // A drag entering the window and dropping path, as a file or as text.
    void drop(const QString &path, bool asFile = true) const
    {
        QMimeData data;
        asFile ? data.setUrls({QUrl::fromLocalFile(path)}) : data.setText(path);
        const QPointF at = QRectF(list1->viewport()->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
    }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
    QPlainTextEdit *box(const QString &name) const { return window->findChild<QPlainTextEdit *>(name); }
    QLineEdit *line(const QString &name) const { return window->findChild<QLineEdit *>(name); }
    QString label(const QString &name) const { return window->findChild<QLabel *>(name)->text(); }
    QAction *language(const QString &name) const
    {
        for (QAction *item : window->findChildren<QAction *>(QStringLiteral("mnuLangDef"))) {
            if (item->data().toString() == name)
                return item;
        }
        return nullptr;
    }
    const SubtitleList &corrected() const { return window->correctedList(); }
};

inline void clickRow(QTableView *view, int row)
{
    const QModelIndex index = view->model()->index(row, SubtitleTableModel::StartColumn);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Runs act on the modal dialog as soon as it is shown; the flag tells whether it was.
inline std::shared_ptr<bool> whenModal(std::function<void(QWidget &)> act)
{
    auto ran = std::make_shared<bool>(false);
    QTimer::singleShot(0, [act, ran] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        *ran = true;
        act(*modal);
    });
    return ran;
}
