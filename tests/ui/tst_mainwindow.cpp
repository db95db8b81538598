// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "support/webvtttext.h"
#include "ui/edits/editswindow.h"
#include "ui/mainwindow/commandline.h"
#include "ui/mainwindow/windowgeometry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

// Times left as read, so a split shares the span by length alone.
const QByteArray NoTimeBuying = QByteArrayLiteral("[General]\r\nBuyTime=0\r\n");

// Five subtitles: the second gets re-broken, the fourth split in two.
QByteArray fiveSubtitles()
{
    return (srtBlock(1, u"00:00:01,000"_s, u"00:00:02,000"_s, u"Short one."_s)
            + srtBlock(2, u"00:00:03,000"_s, u"00:00:08,000"_s, LongText)
            + srtBlock(3, u"00:00:09,000"_s, u"00:00:10,000"_s, u"Quiet."_s)
            + srtBlock(4, u"00:00:11,000"_s, u"00:00:15,000"_s,
                       u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr "
                       u"stuvw xyzabc"_s)
            + srtBlock(5, u"00:00:16,000"_s, u"00:00:17,000"_s, u"The end."_s))
        .toUtf8();
}

// The texts with Greek letters in root's visible widgets, its actions and its lists' cells and headers.
QStringList greekTextsIn(QWidget *root)
{
    QStringList texts;
    for (const QAction *action : root->findChildren<QAction *>())
        texts << action->text() << action->toolTip();
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets << root) {
        if (!widget->isVisible())
            continue;
        for (const char *name : {"windowTitle", "toolTip", "text", "title", "plainText"})
            texts << widget->property(name).toString();
        const auto *view = qobject_cast<QTableView *>(widget);
        const QAbstractItemModel *model = view ? view->model() : nullptr;
        for (int column = 0; model && column < model->columnCount(); ++column) {
            texts << model->headerData(column, Qt::Horizontal).toString();
            for (int row = 0; row < model->rowCount(); ++row)
                texts << model->index(row, column).data().toString()
                      << model->index(row, column).data(Qt::ToolTipRole).toString();
        }
    }
    texts.removeIf([](const QString &text) {
        return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'\u0370' && c <= u'\u03ff'; });
    });
    return texts;
}

} // namespace

using Session = MainWindowFixture;

// The main window's wiring: each command reaches the document or its workflows, and what the document
// says reaches the widget that shows it. The workflows' questions are pinned in tst_fileworkflows.
class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_s;
    QString m_movie;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString settingsPath() const { return path(u"Quillmend.ini"_s); }
    QString written(const QString &name, const QByteArray &content) const
    {
        return writeFile(path(name), content) ? path(name) : QString();
    }
    // A shown window over settings, with content opened as movie.srt and corrected.
    bool openCorrected(const QByteArray &content, const QByteArray &settings = {})
    {
        if (!settings.isEmpty() && !writeFile(settingsPath(), settings))
            return false;
        m_movie = written(u"movie.srt"_s, content);
        m_s = std::make_unique<Session>(settingsPath());
        return m_s->show() && m_s->openAndCorrect(m_movie);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() { m_s.reset(); }

    void commandsReachTheDocument()
    {
        QVERIFY(openCorrected(fiveSubtitles(), NoTimeBuying));
        Session &s = *m_s;
        QCOMPARE(s.window->originalList().rowCount(), 5);
        const QString summary = u"Edits: 1 (with 0 time) - 0 time - 1 splits (with 0 time edit), 2 still too fast"_s;
        QCOMPARE(s.prompter.informed, QStringList{summary});
        QCOMPARE(s.label(u"lblStatus"_s), summary);
        QCOMPARE(s.label(u"lblStatus2"_s), u"Not saved"_s);
        QVERIFY(s.action(u"mnuSave"_s)->isEnabled());

        // Ctrl-Down from a list and Ctrl-Up from a box: one record per press.
        clickRow(s.list1, 0);
        QTest::keyClick(s.list1, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(s.list1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(s.selected(), (QList<int>{3, 3}));
        QCOMPARE(s.window->editsWindow().list()->currentIndex().row(), 1);
        s.sub2->setFocus();
        QTest::keyClick(s.sub2, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(s.selected(), (QList<int>{1, 1}));
        QCOMPARE(s.sub1->toPlainText(), LongText);
        QCOMPARE(s.sub2->toPlainText(), LongBroken);
        // The menu shows those keys beside its items, as it shows every other item's, not in their words.
        const QAction *next = s.action(u"mnuNextSubEdit"_s);
        QCOMPARE(std::pair(next->text(), next->shortcut()), std::pair(u"Next edit"_s, QKeySequence(u"Ctrl+Down"_s)));

        // Typed text, counted as it is typed, applied with Ctrl-Enter.
        QTest::keyClick(s.sub2, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(s.sub2, u"Two lines"_s);
        QTest::keyClick(s.sub2, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(s.sub2, u"of text"_s);
        QCOMPARE(s.label(u"lblStatus3"_s), u"2 line(s) [9 - 7]"_s);
        QCOMPARE(s.corrected().row(1).text, crlf(LongBroken));
        QTest::keyClick(s.sub2, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.corrected().row(1).text, u"Two lines\r\nof text"_s);

        // Insert above "Quiet." (1 ms before it), then delete the first row.
        clickRow(s.list2, 2);
        QTest::keyClick(s.list2, Qt::Key_Insert);
        QCOMPARE(s.line(u"txtEndTime"_s)->text(), u"00:00:08,999"_s);
        s.sub2->setFocus();
        QTest::keyClicks(s.sub2, u"Inserted."_s);
        QTest::keyClick(s.sub2, Qt::Key_Return, Qt::ControlModifier);
        clickRow(s.list2, 0);
        QTest::keyClick(s.list2, Qt::Key_Delete);
        QCOMPARE(s.corrected().rowCount(), 6);
        QCOMPARE(selectedRow(s.list2), 0);
        QCOMPARE(s.sub2->toPlainText(), u"Two lines\nof text"_s);

        // F9: the edited row and both halves of the split; no Insert or Delete.
        QTest::keyClick(s.list2, Qt::Key_F9);
        QCOMPARE(s.list2->model()->rowCount(), 3);
        QVERIFY(!s.action(u"mnuInsSub"_s)->isEnabled());
        clickRow(s.list2, 1);
        QTest::keyClick(s.list2, Qt::Key_Delete);
        QTest::keyClick(s.list2, Qt::Key_Insert);
        QCOMPARE(s.corrected().rowCount(), 6);

        // Ctrl-S from the box saves what is typed there too, and the whole list however filtered.
        s.sub2->setFocus();
        QTest::keyClick(s.sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(s.sub2, u"!"_s);
        QTest::keyClick(s.sub2, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.label(u"lblStatus2"_s), u"Saved"_s);
        const QByteArray saved = readFile(m_movie);
        QVERIFY2(saved.count("-->") == 6 && saved.contains("abcde!\r\n") && saved.contains("\r\nInserted.\r\n"),
                 saved.constData());
        s.files.toSave = path(u"copy.srt"_s);
        s.action(u"mnuSaveAS"_s)->trigger();
        QCOMPARE(readFile(s.files.toSave), saved);
    }

    // Esc gives back the row's text, also after Ctrl-Enter; Alt-Down moves the corrected list from a box.
    void boxKeys()
    {
        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        clickRow(s.list2, 0);
        s.action(u"mnuSave"_s)->trigger();
        s.sub2->setFocus();
        QTest::keyClick(s.sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(s.sub2, u" Really."_s);
        QCOMPARE(s.label(u"lblStatus3"_s), u"2 line(s) [40 - 26]"_s);
        QTest::keyClick(s.sub2, Qt::Key_Escape);
        QCOMPARE(s.sub2->toPlainText(), LongBroken);
        QCOMPARE(s.label(u"lblStatus3"_s), u"2 line(s) [40 - 18]"_s);
        s.list2->setFocus();
        QCOMPARE(s.label(u"lblStatus2"_s), u"Saved"_s);
        QVERIFY(!s.action(u"mnuUndo"_s)->isEnabled());

        s.sub2->setFocus();
        QTest::keyClicks(s.sub2, u"ZZZ"_s);
        QTest::keyClick(s.sub2, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(s.sub2, Qt::Key_Escape);
        QVERIFY(s.sub2->toPlainText().contains(u"ZZZ"_s) && s.corrected().row(0).text.contains(u"ZZZ"_s));
        QTest::keyClick(s.sub2, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(selectedRow(s.list2), 1);
        QCOMPARE(s.label(u"lblStatus3"_s), u"1 line(s) [10]"_s);

        // No row left: typing writes nowhere.
        for (int left = 2; left > 0; --left) {
            clickRow(s.list2, 0);
            QTest::keyClick(s.list2, Qt::Key_Delete);
        }
        s.sub2->setFocus();
        QTest::keyClicks(s.sub2, u"Ghost"_s);
        QTest::keyClick(s.sub2, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(s.sub2, u"!"_s);
        s.list2->setFocus();
        QCOMPARE(s.corrected().rowCount(), 0);
        QCOMPARE(s.prompter.informed.size(), 1); // the summary only
    }

    // A new language reaches every caption of both windows and the dialogs.
    void switchFromGreekLeavesNoGreek()
    {
        QVERIFY(openCorrected("\xEF\xBB\xBF" + fiveSubtitles(), "[General]\r\nLang=Greek\r\nBuyTime=0\r\n"));
        Session &s = *m_s;
        QCOMPARE(s.label(u"lblEncoding"_s), u"UTF-8 με BOM"_s);
        clickRow(s.list2, 3);
        EditsWindow &edits = s.window->editsWindow();
        QVERIFY(!greekTextsIn(s.window.get()).isEmpty() && !greekTextsIn(&edits).isEmpty());

        QAction *german = s.language(u"German"_s);
        QVERIFY(german && german->property("controlIndex").toInt() >= 1);
        german->trigger();
        QVERIFY(german->isChecked() && !s.language(u"Greek"_s)->isChecked());
        QCOMPARE(greekTextsIn(s.window.get()), QStringList());
        QVERIFY(edits.isVisible());
        QCOMPARE(greekTextsIn(&edits), QStringList());
        QCOMPARE(s.label(u"lblStatus2"_s), u"Nicht gespeichert"_s);
        // Every language by its German name; Default stays hidden.
        QStringList languages;
        for (const QAction *item : s.window->findChild<QMenu *>(u"mnuLanguages"_s)->actions())
            if (item->objectName() == u"mnuLangDef"_s && item->isVisible())
                languages << item->text();
        QCOMPARE(languages, (QStringList{u"Englisch"_s, u"Französisch"_s, u"Deutsch"_s, u"Griechisch"_s,
                                         u"Spanisch"_s}));
        QCOMPARE(s.label(u"lblEncoding"_s), u"UTF-8 mit BOM"_s);
        const QString name = QCoreApplication::applicationName();
        for (const auto &[action, title] : {std::pair{u"mnuOptions"_s, u"Optionen"_s},
                                            std::pair{u"mnuAbout"_s, u"Über %1"_s.arg(name)},
                                            std::pair{u"mnuCreateLang"_s, u"Neue Sprache für das Programm %1 erstellen"_s.arg(name)}}) {
            QStringList found;
            whenModal([&found](QWidget &dialog) {
                found = greekTextsIn(&dialog) << dialog.windowTitle();
                dialog.close();
            });
            s.action(action)->trigger();
            QCOMPARE(found, QStringList{title});
        }
    }

    // A file named on the command line is opened and corrected at once, not saved; a file dropped on a
    // list opens in its place, dropped text not. A WebVTT file is saved, and saved as, as WebVTT.
    void commandLineAndDrop()
    {
        const QString movie = written(u"movie.srt"_s, twoSubtitles());
        Session s(settingsPath());
        s.window->runCommandLine({false, movie});
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.corrected().row(0).text, crlf(LongBroken));
        QVERIFY(s.window->editsWindow().isVisible());
        QCOMPARE(readFile(movie), twoSubtitles());

        s.prompter.answers = {Prompter::Answer::No};
        const QString other = written(u"other.srt"_s, twoSubtitles(u"Other."_s));
        s.drop(other, false);
        QCOMPARE(s.window->document().path(), movie);
        s.drop(other);
        QCOMPARE(s.window->document().path(), other);
        QCOMPARE(s.window->originalList().row(0).text, u"Other."_s);

        const QString vtt = written(u"every.vtt"_s, EveryKindVtt);
        s.drop(vtt);
        s.action(u"mnuEditSubs"_s)->trigger();
        s.action(u"mnuSave"_s)->trigger();
        QCOMPARE(readFile(vtt), everyKindCorrected());
        s.files.toSave = path(u"copy.srt"_s);
        s.action(u"mnuSaveAS"_s)->trigger();
        QCOMPARE(readFile(s.files.toSave), everyKindCorrected());
    }

    void settingsAndGeometrySurviveARestart()
    {
        QRect geometry, editsGeometry;
        int handleX = 0;
        float diax = 0;
        {
            Session s(settingsPath());
            QVERIFY(s.show());
            s.window->setGeometry(70, 50, 700, 520);
            QWidget *handle = s.window->findChild<QWidget *>(u"lblDiax"_s);
            const int before = handle->mapTo(s.window->centralWidget(), QPoint()).x();
            QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(2, 20));
            QTest::mouseMove(handle, QPoint(82, 20));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(82, 20));
            handleX = handle->mapTo(s.window->centralWidget(), QPoint()).x();
            QCOMPARE(handleX, before + 80);
            s.list1->horizontalHeader()->resizeSection(1, 123);
            s.list2->horizontalHeader()->resizeSection(SubtitleTableModel::CpsColumn, 57);
            s.window->editsWindow().setGeometry(300, 220, 380, 260);
            s.language(u"German"_s)->trigger();
            QVERIFY(s.window->Form_Unload());
            QVERIFY(s.prompter.asked.isEmpty());
            geometry = s.window->geometry();
            editsGeometry = s.window->editsWindow().geometry();
            diax = s.window->diaxTwips();
        }

        Session s(settingsPath());
        QVERIFY(s.show());
        const auto near = [](int found, int expected) { return std::abs(found - expected) <= 1; }; // twips rounding
        for (const auto &[found, expected] : {std::pair{s.window->geometry(), geometry},
                                              std::pair{s.window->editsWindow().geometry(), editsGeometry}})
            QVERIFY(near(found.x(), expected.x()) && near(found.y(), expected.y()) && near(found.width(), expected.width())
                    && near(found.height(), expected.height()));
        QWidget *handle = s.window->findChild<QWidget *>(u"lblDiax"_s);
        QVERIFY(near(handle->mapTo(s.window->centralWidget(), QPoint()).x(), handleX));
        QVERIFY(std::abs(s.window->diaxTwips() - diax) <= 15);
        QVERIFY(near(s.list1->horizontalHeader()->sectionSize(1), 123));
        QVERIFY(near(s.list2->horizontalHeader()->sectionSize(SubtitleTableModel::CpsColumn), 57));
        QCOMPARE(s.window->settings().LangFileBase, u"German.Quillmend.exe"_s);
        QCOMPARE(s.window->findChild<QMenu *>(u"mnuFile"_s)->title(), u"Datei"_s);
        QVERIFY(s.language(u"German"_s)->isChecked());

        // Closed maximised, it comes back maximised, and as it was before maximising when restored.
        const QRect normal = s.window->geometry();
        s.window->showMaximized();
        QVERIFY(s.window->Form_Unload());
        Session again(settingsPath());
        QVERIFY(again.show());
        QVERIFY(again.window->isMaximized());
        // Closed maximised again, never shown normal: the same normal place, not a frame's width off.
        QVERIFY(again.window->Form_Unload());
        Session third(settingsPath());
        QVERIFY(third.show() && third.window->isMaximized());
        third.window->showNormal();
        QTRY_COMPARE(third.window->geometry(), normal);
    }

    // A file that cannot be read leaves no command that needs one; typing not yet applied counts when
    // closing, and Cancel keeps it all.
    void closingAndTheCommandsOffered()
    {
        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        s.prompter.answers = {Prompter::Answer::No};
        s.open(written(u"bad.srt"_s, "no subtitles here"));
        QVERIFY(!s.action(u"mnuSave"_s)->isEnabled() && !s.action(u"mnuEditSubs"_s)->isEnabled());
        QCOMPARE(s.window->windowTitle(), QCoreApplication::applicationName());
        s.open(m_movie); // not corrected yet: nothing to save
        QVERIFY(s.action(u"mnuEditSubs"_s)->isEnabled() && !s.action(u"mnuSave"_s)->isEnabled());
        QVERIFY(s.correct());
        clickRow(s.list2, 1);
        s.sub2->setFocus();
        QTest::keyClick(s.sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(s.sub2, u" Edited."_s);
        s.prompter.answers = {Prompter::Answer::Cancel};
        QVERIFY(!s.window->close() && s.window->isVisible());
        QCOMPARE(s.corrected().row(1).text, u"Short one. Edited."_s);
        QVERIFY(!QFile::exists(settingsPath()));
        // No: the settings are written, the subtitles are not.
        s.prompter.answers = {Prompter::Answer::No};
        QVERIFY(s.window->close());
        QCOMPARE(s.prompter.asked.size(), 3);
        QVERIFY(QFile::exists(settingsPath()));
        QCOMPARE(readFile(m_movie), twoSubtitles());
    }

    // The lenient-times answer is kept in the settings file; the encoding in use shows in the status bar
    // and in the Reopen menu, which reopens.
    void readingChoices()
    {
        QVERIFY(writeFile(settingsPath(), "[General]\r\nEncoding=windows-1252\r\nShowMessage=0\r\n"));
        m_movie = written(u"movie.srt"_s, twoSubtitles(LongText, u"00:00:07.000"_s));
        Session s(settingsPath());
        QVERIFY(s.show());
        s.prompter.answers = {Prompter::Answer::Yes};
        QVERIFY(s.openAndCorrect(m_movie));
        QVERIFY(readFile(settingsPath()).contains("LenientTimes=-1"));
        QCOMPARE(s.label(u"lblEncoding"_s), u"windows-1252"_s);
        QMenu *menu = s.window->findChild<QMenu *>(u"mnuReopenEncoding"_s);
        const auto ticked = [menu](const QString &choose = {}) {
            QStringList names;
            for (QAction *item : menu->actions()) {
                if (item->text() == choose)
                    item->trigger();
                if (item->isChecked())
                    names << item->text();
            }
            return names;
        };
        QCOMPARE(ticked(), QStringList{u"windows-1252"_s});
        s.prompter.answers = {Prompter::Answer::No};
        ticked(u"UTF-8"_s);
        QCOMPARE(s.prompter.asked.size(), 2); // the unsaved correction asked about
        QCOMPARE(s.label(u"lblEncoding"_s), u"UTF-8"_s);
        QCOMPARE(ticked(), QStringList{u"UTF-8"_s});
    }

    // A settings file that cannot be read as one: said once, over the window, the defaults for the
    // session, and never written over.
    void unusableSettingsFileIsLeftAlone()
    {
        const QByteArray unusable("[General]\r\nMaxLen=30\r\n\0", 24);
        QVERIFY(writeFile(settingsPath(), unusable));
        Session s(settingsPath());
        QCOMPARE(s.prompter.informed, QStringList());
        QVERIFY(s.show());
        QTRY_COMPARE(s.prompter.informed,
                     QStringList{u"The settings file "_s + settingsPath() + u" cannot be used: it holds a NUL byte\nThe "
                                 u"default settings are used, and the file is not written in this session."_s});
        QCOMPARE(s.window->settings().MaxLen, 44);
        QVERIFY(s.window->Form_Unload());
        QCOMPARE(s.prompter.informed.size(), 1);
        QCOMPARE(readFile(settingsPath()), unusable);
    }

    // Stored geometry far off or huge: the windows open on the screen, no larger than it, and only such
    // values are written back.
    void geometryStaysOnTheScreen()
    {
        QVERIFY(writeFile(settingsPath(), "[General]\r\nMainX=1e9\r\nMainWidth=1e30\r\nEditY=-1e9\r\n"
                                          "EditHeight=1e30\r\nList1Col4=1e30\r\n"));
        Session s(settingsPath());
        QVERIFY(s.show());
        const QRect screen = s.window->screen()->availableGeometry();
        for (const QWidget *window : std::initializer_list<const QWidget *>{s.window.get(), &s.window->editsWindow()}) {
            const QRect placed(window->pos(), window->size());
            QVERIFY2(placed.width() <= screen.width() && placed.height() <= screen.height() && placed.intersects(screen)
                         && placed.top() >= screen.top(), qPrintable(window->objectName()));
        }
        QVERIFY(s.list1->horizontalHeader()->sectionSize(3) <= screen.width());
        QVERIFY(s.window->Form_Unload());
        const QByteArray written = readFile(settingsPath());
        QVERIFY2(!written.contains("e+"), written.constData());
    }

    // Del and redo at the foot of a long list keep the partners at one height; a click on a long text
    // keeps the numbers in sight.
    void listsStayInLineAndNumbersInSight()
    {
        QString content;
        for (int i = 0; i < 60; ++i)
            content += srtBlock(i + 1, u"00:%1:00,000"_s.arg(i, 2, 10, QLatin1Char('0')),
                                u"00:%1:05,000"_s.arg(i, 2, 10, QLatin1Char('0')), i % 3 == 0 ? LongText : u"Short one."_s);
        QVERIFY(openCorrected(content.toUtf8()));
        Session &s = *m_s;
        const auto inLine = [&] {
            const int r = selectedRow(s.list2);
            const int k = s.list2->model()->index(r, 0).data(SubtitleTableModel::TagRole).toInt();
            return r >= 0 && selectedRow(s.list1) == k - 1
                   && s.list1->visualRect(s.list1->model()->index(k - 1, 0)).top()
                          == s.list2->visualRect(s.list2->model()->index(r, 0)).top();
        };
        clickRow(s.list2, 59);
        QTest::keyClick(s.list2, Qt::Key_Delete);
        QVERIFY(inLine());
        QTest::keyClick(s.list2, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(s.list2, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(inLine());

        s.list2->horizontalHeader()->resizeSection(SubtitleTableModel::TextColumn, 4000);
        const QModelIndex text = s.list2->model()->index(selectedRow(s.list2), SubtitleTableModel::TextColumn);
        QTest::mouseClick(s.list2->viewport(), Qt::LeftButton, {}, s.list2->visualRect(text).topLeft() + QPoint(2, 2));
        QCOMPARE(s.list2->horizontalScrollBar()->value(), 0);
    }

    void firstStartRects_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("editsWidth");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("editsAt");
        QTest::addColumn<bool>("maximised");
        // 2000 wide: three quarters and the edits window side by side up to 500.
        const QSize wide(2000, 1600);
        QTest::newRow("room to spare: the pair centred") << wide << 248 << QRect(126, 200, 1500, 1200)
                                                         << QPoint(1626, 200) << false;
        QTest::newRow("fits exactly") << wide << 500 << QRect(0, 200, 1500, 1200) << QPoint(1500, 200) << false;
        QTest::newRow("a pixel more: the main window narrower") << wide << 501 << QRect(0, 200, 1499, 1200)
                                                                << QPoint(1499, 200) << false;
        QTest::newRow("half the screen at most") << wide << 1001 << QRect(500, 200, 1000, 1200) << QPoint(999, 200)
                                                 << false;
        QTest::newRow("not on its corner") << wide << 1500 << QRect(500, 200, 1000, 1200) << QPoint(500, 350)
                                           << false;
        // Below 1600 by 900 the window is maximised and the edits window stands over its top left; the
        // normal place is three quarters, centred.
        QTest::newRow("1600 by 900: beside") << QSize(1600, 900) << 300 << QRect(50, 112, 1200, 675)
                                             << QPoint(1250, 112) << false;
        QTest::newRow("a pixel narrower: maximised") << QSize(1599, 900) << 300 << QRect(200, 112, 1199, 675)
                                                     << QPoint(24, 112) << true;
        QTest::newRow("a pixel lower: maximised") << QSize(1600, 899) << 300 << QRect(200, 113, 1200, 674)
                                                  << QPoint(25, 112) << true;
    }

    void firstStartRects()
    {
        QFETCH(QSize, screen);
        QFETCH(int, editsWidth);
        QFETCH(QPoint, editsAt);
        const auto rects = WindowGeometry::firstStartRects(QRect(QPoint(0, 0), screen), QSize(editsWidth, 300));
        QTEST(rects.main, "main");
        QCOMPARE(rects.edits, QRect(editsAt, QSize(editsWidth, 300)));
        QTEST(rects.maximised, "maximised");
    }

    // The first start on this screen, smaller than 1600 by 900: maximised, both lists alike, the edits window
    // over the main window and in front of it whenever asked for, its kinds whole.
    void firstStartFitsTheScreen()
    {
        m_s = std::make_unique<Session>(settingsPath());
        QVERIFY(m_s->show());
        MainWindow &window = *m_s->window;
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(window.isMaximized());
        QTRY_COMPARE(window.frameGeometry(), screen);
        const QList<int> widths = window.findChild<QSplitter *>()->sizes();
        QVERIFY2(std::abs(widths.value(0) - widths.value(1)) <= 1, qPrintable(u"%1 %2"_s.arg(widths.value(0)).arg(widths.value(1))));
        QVERIFY(m_s->openAndCorrect(written(u"movie.srt"_s, twoSubtitles())));
        EditsWindow &edits = window.editsWindow();
        QVERIFY(screen.contains(edits.frameGeometry()));
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        m_s->action(u"mnuShowEditsWindow"_s)->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), &edits);
        QVERIFY(edits.list()->horizontalHeader()->sectionSize(EditRecordModel::KindColumn)
                >= edits.list()->fontMetrics().horizontalAdvance(u"Split - Time edit - Moved"_s));
    }

    // The edits window sorts, takes both lists to a record and follows the main window; a right click
    // selects as a left one does.
    void editsWindowAndRightClickSelect()
    {
        QVERIFY(openCorrected(fiveSubtitles(), NoTimeBuying));
        Session &s = *m_s;
        EditsWindow &edits = s.window->editsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&edits));
        QTableView *records = edits.list();
        QHeaderView *header = records->horizontalHeader();

        // A header click sorts, descending after the run's ascending ("Split" first).
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(EditRecordModel::KindColumn) + 5, header->height() / 2));
        QCOMPARE(edits.ordinalsInViewOrder(), (QList<int>{4, 2}));

        // A double-click (a click, then the double-click) takes both lists there; 4 is the split's first half.
        for (const auto &[row, selected] : {std::pair{0, 3}, std::pair{1, 1}}) {
            const QPoint at = records->visualRect(records->model()->index(row, 0)).center();
            QTest::mouseClick(records->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(records->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(s.selected(), (QList<int>{selected, selected}));
        }
        QCOMPARE(s.sub1->toPlainText(), LongText);

        // Minimise and restore take it along while it is meant to be shown; closed by hand it only hides,
        // and stays hidden through them.
        const auto shownThroughMinimising = [&] {
            s.window->showMinimized();
            const bool minimised = edits.isVisible();
            s.window->showNormal();
            return QList<bool>{minimised, edits.isVisible()};
        };
        QCOMPARE(shownThroughMinimising(), (QList<bool>{false, true}));
        QVERIFY(!edits.close() && !edits.isVisible());
        QCOMPARE(shownThroughMinimising(), (QList<bool>{false, false}));
        s.action(u"mnuShowEditsWindow"_s)->trigger();
        QVERIFY(edits.isVisible());

        // Both lists and the boxes follow a right click, and a time typed then lands in that row.
        const auto rightClick = [](QTableView *view, int row) {
            const QPoint at = view->visualRect(view->model()->index(row, SubtitleTableModel::StartColumn)).center();
            QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(view->viewport(), &menuEvent);
            if (QWidget *popup = QApplication::activePopupWidget()) // the Edit menu, over ListView2
                QTest::keyClick(popup, Qt::Key_Escape);
            QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at);
        };
        rightClick(s.list2, 5); // "The end.", ordinal 5 after the split
        QCOMPARE(selectedRow(s.list1), 4);
        QCOMPARE(s.sub1->toPlainText(), u"The end."_s);
        QCOMPARE(s.sub2->toPlainText(), u"The end."_s);
        QLineEdit *start = s.line(u"txtStartTime"_s);
        QCOMPARE(start->text(), u"00:00:16,000"_s);
        start->setText(u"00:00:16,500"_s);
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(s.corrected().row(5).startText, u"00:00:16,500"_s);
        QCOMPARE(s.corrected().row(1).startText, u"00:00:03,000"_s);
        rightClick(s.list1, 2);
        QCOMPARE(selectedRow(s.list2), 2);
        QCOMPARE(s.sub2->toPlainText(), u"Quiet."_s);
    }

    void rightToLeftRowsAlignRightAndNumbersFit()
    {
        // Tags and digits do not decide; the first letter does.
        QVERIFY(openCorrected((srtBlock(1, u"00:00:01,000"_s, u"00:00:02,000"_s, u"<i>1. \u05e9\u05dc\u05d5\u05dd</i>"_s)
                               + srtBlock(2, u"00:00:03,000"_s, u"00:00:04,000"_s, u"{\\an8}Hello \u05e9"_s)
                               + srtBlock(3, u"00:00:05,000"_s, u"00:00:06,000"_s, u"3 < \u0645\u0631\u062d\u0628\u0627"_s))
                                  .toUtf8()));
        Session &s = *m_s;
        const QList<bool> rightToLeft{true, false, true};
        for (const QString &name : {u"ListView1"_s, u"ListView2"_s}) {
            QTableView *list = s.list(name);
            for (int row = 0; row < 3; ++row) {
                const QVariant alignment =
                    list->model()->index(row, SubtitleTableModel::TextColumn).data(Qt::TextAlignmentRole);
                QCOMPARE(alignment.isValid() && (alignment.value<Qt::Alignment>() & Qt::AlignRight), rightToLeft[row]);
            }
            // Seven digits and the kind marks, at the default widths.
            QVERIFY(list->horizontalHeader()->sectionSize(SubtitleTableModel::NumberColumn)
                    > list->fontMetrics().horizontalAdvance(name == u"ListView1"_s ? u"1234567"_s : u"1234567 WW"_s));
        }
        for (int row : {0, 1, 2}) {
            clickRow(s.list2, row);
            for (const QString &name : {u"txtSub1"_s, u"txtSub2"_s})
                QCOMPARE(s.box(name)->document()->defaultTextOption().alignment(),
                         rightToLeft[row] ? Qt::AlignRight : Qt::AlignLeft);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
