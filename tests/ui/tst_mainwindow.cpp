// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "ui/mainwindow/commandline.h"
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "ui/edits/editswindow.h"
#include "ui/mainwindow/windowgeometry.h"
#include "ui/subtitles/subtitlelistview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QScreen>
#include <QScrollBar>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStringEncoder>
#include <QTextDocument>
#include <QTextOption>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <memory>

namespace {

const QString LongText = u"The lighthouse keeper climbed the stairs twice every night."_qs;
const QString LongBroken = u"The lighthouse keeper climbed the stairs\ntwice every night."_qs;
const QByteArray NoTimeBuying = QByteArrayLiteral("[General]\r\nBuyTime=0\r\n");

// Five subtitles: the second gets re-broken, the fourth split in two.
QByteArray fiveSubtitles()
{
    return (srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"Short one."_qs)
            + srtBlock(2, u"00:00:03,000"_qs, u"00:00:08,000"_qs, LongText)
            + srtBlock(3, u"00:00:09,000"_qs, u"00:00:10,000"_qs, u"Quiet."_qs)
            + srtBlock(4, u"00:00:11,000"_qs, u"00:00:15,000"_qs,
                       u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr "
                       u"stuvw xyzabc"_qs)
            + srtBlock(5, u"00:00:16,000"_qs, u"00:00:17,000"_qs, u"The end."_qs))
        .toUtf8();
}

QByteArray twoSubtitles(const QString &secondStart = u"00:00:07,000"_qs)
{
    return (srtBlock(1, u"00:00:01,000"_qs, u"00:00:06,000"_qs, LongText)
            + srtBlock(2, secondStart, u"00:00:09,000"_qs, u"Short one."_qs))
        .toUtf8();
}

QList<int> numbers(const SubtitleTableModel &model)
{
    QList<int> values;
    for (const SubtitleRow &row : model.rows())
        values << row.number;
    return values;
}

// The texts of root's visible widgets, actions and list cells that hold
// Greek letters.
QStringList greekTextsIn(QWidget *root)
{
    QStringList texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets << root;
    for (QWidget *widget : std::as_const(widgets)) {
        if (!widget->isVisible())
            continue;
        texts << widget->windowTitle() << widget->toolTip() << widget->property("text").toString()
              << widget->property("title").toString() << widget->property("plainText").toString();
        if (auto *view = qobject_cast<QTableView *>(widget)) {
            const QAbstractItemModel *model = view->model();
            for (int column = 0; column < model->columnCount(); ++column) {
                texts << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < model->rowCount(); ++row) {
                    for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                        texts << model->index(row, column).data(role).toString();
                }
            }
        }
    }
    for (const QAction *action : root->findChildren<QAction *>())
        texts << action->text() << action->toolTip();
    texts.removeIf([](const QString &text) {
        return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'\u0370' && c <= u'\u03ff'; });
    });
    return texts;
}

} // namespace

using Session = MainWindowFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_s;
    QString m_movie;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString settingsPath() const { return path(u"Quillmend.ini"_qs); }
    QString written(const QString &name, const QByteArray &content) const
    {
        return writeFile(path(name), content) ? path(name) : QString();
    }

    // A shown window with content opened as movie.srt and corrected.
    bool openCorrected(const QByteArray &content)
    {
        m_movie = written(u"movie.srt"_qs, content);
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

    void correctNavigateEditAndSave()
    {
        // Times left as read, so the split shares the span by length alone.
        QVERIFY(writeFile(settingsPath(), NoTimeBuying));
        const QByteArray original = fiveSubtitles();
        const QString movie = written(u"movie.srt"_qs, original);
        Session s(settingsPath());
        QVERIFY(s.show());
        s.open(movie);
        QCOMPARE(s.window->originalModel().rowCount(), 5);
        QVERIFY(!s.action(u"mnuSave"_qs)->isEnabled());
        QVERIFY(s.correct());
        QCOMPARE(s.prompter.informed,
                 QStringList{u"Edits: 1 (with 0 time) - 0 time - 1 splits (with 0 time edit), 2 still too fast"_qs});
        QCOMPARE(s.corrected().rowCount(), 6);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);

        // Ctrl-Down and Ctrl-Up: one record per press, from a list or a box.
        QTableView *list1 = s.list(u"ListView1"_qs);
        QTableView *list2 = s.list(u"ListView2"_qs);
        QPlainTextEdit *sub2 = s.box(u"txtSub2"_qs);
        clickRow(list1, 0);
        QTest::keyClick(list1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedRow(list1), 1);
        QCOMPARE(selectedRow(list2), 1);
        QCOMPARE(s.box(u"txtSub1"_qs)->toPlainText(), LongText);
        QTest::keyClick(list1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedRow(list1), 3);
        QCOMPARE(selectedRow(list2), 3);
        QCOMPARE(s.window->editsWindow().list()->currentIndex().row(), 1);
        sub2->setFocus();
        QTest::keyClick(sub2, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(selectedRow(list1), 1);
        QCOMPARE(selectedRow(list2), 1);
        QCOMPARE(sub2->toPlainText(), LongBroken);

        // Text replaced with two lines, applied with Ctrl-Enter.
        QTest::keyClick(sub2, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(sub2, u"Two lines"_qs);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(sub2, u"of text"_qs);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"2 line(s) [9 - 7]"_qs);
        QCOMPARE(s.corrected().row(1).text, crlf(LongBroken));
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.corrected().row(1).text, u"Two lines\r\nof text"_qs);

        // Insert above "Quiet." (1 ms before it), then delete the first row.
        clickRow(list2, 2);
        QTest::keyClick(list2, Qt::Key_Insert);
        QCOMPARE(s.line(u"txtEndTime"_qs)->text(), u"00:00:08,999"_qs);
        sub2->setFocus();
        QTest::keyClicks(sub2, u"Inserted."_qs);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(numbers(s.corrected()), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
        clickRow(list2, 0);
        QTest::keyClick(list2, Qt::Key_Delete);
        QCOMPARE(numbers(s.corrected()), (QList<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(selectedRow(list2), 0);
        QCOMPARE(sub2->toPlainText(), u"Two lines\nof text"_qs);

        // F9: the edited row and both halves of the split; no Insert or Delete.
        QTest::keyClick(list2, Qt::Key_F9);
        QCOMPARE(list2->model()->rowCount(), 3);
        QVERIFY(!s.action(u"mnuInsSub"_qs)->isEnabled());
        clickRow(list2, 1);
        QTest::keyClick(list2, Qt::Key_Delete);
        QTest::keyClick(list2, Qt::Key_Insert);
        QCOMPARE(s.corrected().rowCount(), 6);

        // Saved while filtered: still the whole list, the original kept as .bak.
        QTest::keyClick(list2, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Saved"_qs);
        const QString expected = srtBlock(1, u"00:00:03,000"_qs, u"00:00:08,000"_qs, u"Two lines\nof text"_qs)
            + srtBlock(2, u"00:00:08,999"_qs, u"00:00:08,999"_qs, u"Inserted."_qs)
            + srtBlock(3, u"00:00:09,000"_qs, u"00:00:10,000"_qs, u"Quiet."_qs)
            + srtBlock(4, u"00:00:11,000"_qs, u"00:00:12,599"_qs, u"abcd abcd abcd abcd abcd abcd abcd abcde"_qs)
            + srtBlock(5, u"00:00:12,600"_qs, u"00:00:15,000"_qs,
                       u"efghijklmn opqrs tuvwx yzabc\ndefgh ijklm nopqr stuvw xyzabc"_qs)
            + srtBlock(6, u"00:00:16,000"_qs, u"00:00:17,000"_qs, u"The end."_qs);
        QCOMPARE(readFile(movie), expected.toUtf8());
        QCOMPARE(readFile(movie + u".bak"_qs), original);

        QTest::keyClick(list2, Qt::Key_F9);
        clickRow(list2, 5);
        QTest::keyClick(list2, Qt::Key_Delete);

        // F8 again would throw the hand edits away: it asks first, and Cancel keeps them.
        s.prompter.answers = {Prompter::Answer::Cancel};
        QTest::keyClick(list2, Qt::Key_F8);
        QCOMPARE(s.prompter.asked.last(), u"Edited text not saved. Save changes?"_qs);
        QCOMPARE(s.corrected().rowCount(), 5);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);
    }

    void escapeAndTheLineCounter()
    {
        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        QTableView *list2 = s.list(u"ListView2"_qs);
        QPlainTextEdit *sub2 = s.box(u"txtSub2"_qs);
        clickRow(list2, 0);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"2 line(s) [40 - 18]"_qs);
        s.action(u"mnuSave"_qs)->trigger();

        // Esc gives back the text as selected; leaving the box then changes nothing.
        sub2->setFocus();
        QTest::keyClick(sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(sub2, u" Really."_qs);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"2 line(s) [40 - 26]"_qs);
        QTest::keyClick(sub2, Qt::Key_Escape);
        QCOMPARE(sub2->toPlainText(), LongBroken);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"2 line(s) [40 - 18]"_qs);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Saved"_qs);
        list2->setFocus();
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Saved"_qs);
        QVERIFY(!s.action(u"mnuUndo"_qs)->isEnabled());

        // After Ctrl-Enter, Esc gives back what was committed.
        sub2->setFocus();
        QTest::keyClicks(sub2, u" ZZZ"_qs);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(sub2, Qt::Key_Escape);
        list2->setFocus();
        QVERIFY(s.corrected().row(0).text.contains(u"ZZZ"_qs));

        // Alt-Down from a box moves the corrected list.
        QTest::keyClick(sub2, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(selectedRow(list2), 1);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"1 line(s) [10]"_qs);

        QLineEdit *end = s.line(u"txtEndTime"_qs);
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Home);
        QTest::keyClicks(end, u"12"_qs);
        QCOMPARE(end->text(), u"12:00:09,000"_qs);
        QTest::keyClick(end, Qt::Key_Escape);
        QCOMPARE(end->text(), u"00:00:09,000"_qs);
        QCOMPARE(s.corrected().row(1).endText, u"00:00:09,000"_qs);

        // After Enter the row holds the new time; Esc must not show another.
        QTest::keyClick(end, Qt::Key_Home);
        QTest::keyClicks(end, u"01"_qs);
        QTest::keyClick(end, Qt::Key_Return);
        QCOMPARE(s.corrected().row(1).endText, u"01:00:09,000"_qs);
        QTest::keyClick(end, Qt::Key_Escape);
        QCOMPARE(end->text(), s.corrected().row(1).endText);
    }

    void emptiedBoxesWriteNothing()
    {
        QVERIFY(openCorrected(srtBlock(1, u"00:00:00,000"_qs, u"00:00:05,000"_qs, LongText).toUtf8()));
        Session &s = *m_s;
        QTableView *list2 = s.list(u"ListView2"_qs);
        QPlainTextEdit *sub2 = s.box(u"txtSub2"_qs);

        clickRow(list2, 0);
        QTest::keyClick(list2, Qt::Key_Delete);
        QCOMPARE(s.corrected().rowCount(), 0);

        // Nothing left to write into: applying or leaving the box is a no-op.
        const qsizetype notices = s.prompter.informed.size();
        sub2->setFocus();
        QTest::keyClicks(sub2, u"Ghost"_qs);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(sub2, u"!"_qs);
        list2->setFocus();
        QCOMPARE(s.corrected().rowCount(), 0);
        QCOMPARE(s.prompter.informed.size(), notices);
    }

    void languageSwitchToFrench()
    {
        const QString movie = written(u"movie.srt"_qs, twoSubtitles());
        Session s(settingsPath());
        QVERIFY(s.show());
        QAction *french = s.language(u"French"_qs);
        QVERIFY(french && french->property("controlIndex").toInt() >= 1);
        french->trigger();
        QVERIFY(french->isChecked());
        QVERIFY(!s.language(u"English"_qs)->isChecked());

        QCOMPARE(s.window->findChild<QMenu *>(u"mnuFile"_qs)->title(), u"Fichier"_qs);
        QTableView *list2 = s.list(u"ListView2"_qs);
        QToolBar *toolbar = s.window->findChild<QToolBar *>(u"Toolbar1"_qs);
        QCOMPARE(toolbar->widgetForAction(s.action(u"mnuOpen"_qs))->toolTip(), u"Ouvrir (Ctrl-O)"_qs);

        QVERIFY(s.openAndCorrect(movie));
        QCOMPARE(s.prompter.informed, QStringList{u"Corrections\u00a0: 1 (dont 0 de minutage) - 0 de minutage seul "
                                                  u"- 0 divisions (dont 0 de minutage)"_qs});
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Non enregistré"_qs);
        s.action(u"mnuSave"_qs)->trigger();
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Enregistré"_qs);
        clickRow(list2, 1);
        QCOMPARE(s.label(u"lblStatus3"_qs), u"1 ligne(s) [10]"_qs);
        QPlainTextEdit *sub2 = s.box(u"txtSub2"_qs);
        sub2->setFocus();
        QTest::keyClick(sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(sub2, u"!"_qs);
        list2->setFocus();
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Non enregistré"_qs);

        // Ctrl-S from the box also saves what is typed there, not yet applied.
        sub2->setFocus();
        QTest::keyClicks(sub2, u"?"_qs);
        QTest::keyClick(sub2, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Enregistré"_qs);
        QVERIFY(readFile(movie).endsWith("Short one.!?\r\n\r\n"));
    }

    void switchFromGreekLeavesNoGreek()
    {
        QVERIFY(writeFile(settingsPath(), "[General]\r\nLang=Greek\r\nBuyTime=0\r\n"));
        QVERIFY(openCorrected(fiveSubtitles()));
        Session &s = *m_s;
        clickRow(s.list(u"ListView2"_qs), 3);
        EditsWindow &edits = s.window->editsWindow();
        QVERIFY(!greekTextsIn(s.window.get()).isEmpty() && !greekTextsIn(&edits).isEmpty());

        s.language(u"German"_qs)->trigger();
        QCOMPARE(greekTextsIn(s.window.get()), QStringList());
        QVERIFY(edits.isVisible());
        QCOMPARE(greekTextsIn(&edits), QStringList());
        // The dialogs, with their titles in German.
        const QString name = QCoreApplication::applicationName();
        for (const auto &[action, title] : {std::pair{u"mnuOptions"_qs, u"Optionen"_qs},
                                            std::pair{u"mnuAbout"_qs, u"Über %1"_qs.arg(name)},
                                            std::pair{u"mnuCreateLang"_qs, u"Neue Sprache für das Programm %1 erstellen"_qs.arg(name)}}) {
            QStringList found{u"no dialog"_qs};
            QTimer::singleShot(0, [&] {
                if (QWidget *dialog = QApplication::activeModalWidget()) {
                    found = greekTextsIn(dialog) << dialog->windowTitle();
                    dialog->close();
                }
            });
            s.action(action)->trigger();
            QCOMPARE(found, QStringList{title});
        }
    }

    void commandLineFileOpensCorrected()
    {
        // A file named on the command line is opened and corrected at once, not saved.
        const QByteArray original = twoSubtitles();
        const QString movie = written(u"movie.srt"_qs, original);
        Session s(settingsPath());
        s.window->runCommandLine({false, movie});
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.corrected().row(0).text, crlf(LongBroken));
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);
        QVERIFY(s.window->editsWindow().isVisible());
        QCOMPARE(readFile(movie), original);

        // A file dropped on a list opens in its place; dropped text is ignored.
        s.prompter.answers = {Prompter::Answer::No};
        const QString other = written(u"other.srt"_qs, twoSubtitles());
        const auto drop = [&](QMimeData &data) {
            QWidget *target = s.list(u"ListView1"_qs)->viewport();
            const QPointF at(target->width() / 2.0, target->height() / 2.0);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s.window.get(), &enter);
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s.window.get(), &dropped);
        };
        QMimeData text;
        text.setText(other);
        drop(text);
        QCOMPARE(s.window->document().path(), movie);
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(other)});
        drop(file);
        QCOMPARE(s.prompter.asked.last(), u"Edited text not saved. Save changes?"_qs);
        QCOMPARE(s.window->document().path(), other);
        QCOMPARE(s.corrected().rowCount(), 0);
        QCOMPARE(s.window->originalModel().rowCount(), 2);
    }

    void settingsAndGeometrySurviveARestart()
    {
        QRect geometry;
        QRect editsGeometry;
        int handleX = 0;
        float diax = 0;
        {
            Session s(settingsPath());
            QVERIFY(s.show());
            s.window->setGeometry(70, 50, 700, 520);
            QWidget *handle = s.window->findChild<QWidget *>(u"lblDiax"_qs);
            const int before = handle->mapTo(s.window->centralWidget(), QPoint()).x();
            QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(2, 20));
            QTest::mouseMove(handle, QPoint(82, 20));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(82, 20));
            handleX = handle->mapTo(s.window->centralWidget(), QPoint()).x();
            QCOMPARE(handleX, before + 80);
            s.list(u"ListView1"_qs)->horizontalHeader()->resizeSection(1, 123);
            s.list(u"ListView2"_qs)->horizontalHeader()->resizeSection(SubtitleTableModel::CpsColumn, 57);
            s.window->editsWindow().setGeometry(300, 220, 380, 260);
            s.language(u"German"_qs)->trigger();

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
                                              std::pair{s.window->editsWindow().geometry(), editsGeometry}}) {
            QVERIFY2(near(found.x(), expected.x()) && near(found.y(), expected.y())
                         && near(found.width(), expected.width()) && near(found.height(), expected.height()),
                     qPrintable(u"%1,%2 %3x%4"_qs.arg(found.x()).arg(found.y()).arg(found.width()).arg(found.height())));
        }
        QWidget *handle = s.window->findChild<QWidget *>(u"lblDiax"_qs);
        QVERIFY(near(handle->mapTo(s.window->centralWidget(), QPoint()).x(), handleX));
        QVERIFY(std::abs(s.window->diaxTwips() - diax) <= 15);
        QVERIFY(near(s.list(u"ListView1"_qs)->horizontalHeader()->sectionSize(1), 123));
        QVERIFY(near(s.list(u"ListView2"_qs)->horizontalHeader()->sectionSize(SubtitleTableModel::CpsColumn), 57));
        QCOMPARE(s.window->settings().LangFileBase, u"German.Quillmend.exe"_qs);
        QCOMPARE(s.window->findChild<QMenu *>(u"mnuFile"_qs)->title(), u"Datei"_qs);
        QVERIFY(s.language(u"German"_qs)->isChecked());

        // Closed maximised, it comes back as it was before maximising.
        const QRect normal = s.window->geometry();
        s.window->showMaximized();
        QVERIFY(s.window->Form_Unload());
        Session again(settingsPath());
        QVERIFY(again.show());
        QCOMPARE(again.window->size(), normal.size());
        QCOMPARE(again.window->geometry().topLeft(), normal.topLeft());
    }

    void unreadableFileAndClosingWithUnsavedEdits()
    {
        const QByteArray good = twoSubtitles();
        QVERIFY(openCorrected(good));
        const QString bad = written(u"bad.srt"_qs, twoSubtitles(u"00:00:07;000"_qs));
        Session &s = *m_s;

        // A file that cannot be read: named with its line, nothing half-loaded.
        s.prompter.answers = {Prompter::Answer::No};
        s.open(bad);
        QCOMPARE(s.prompter.asked, QStringList{u"Edited text not saved. Save changes?"_qs});
        const QString message = s.prompter.informed.value(1);
        QVERIFY2(message.contains(bad) && message.contains(u"line 6: 00:00:07;000 --> 00:00:09,000"_qs),
                 qPrintable(message));
        QCOMPARE(s.window->originalModel().rowCount(), 0);
        QCOMPARE(s.corrected().rowCount(), 0);
        QCOMPARE(s.window->editsWindow().records().rowCount(), 0);
        QVERIFY(!s.action(u"mnuSave"_qs)->isEnabled());
        QVERIFY(!s.action(u"mnuEditSubs"_qs)->isEnabled());
        QCOMPARE(s.window->document().path(), QString());

        // Typing not yet applied counts when closing: Cancel keeps it all.
        QVERIFY(s.openAndCorrect(m_movie));
        clickRow(s.list(u"ListView2"_qs), 1);
        QPlainTextEdit *sub2 = s.box(u"txtSub2"_qs);
        sub2->setFocus();
        QTest::keyClick(sub2, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(sub2, u" Edited."_qs);
        s.prompter.answers = {Prompter::Answer::Cancel};
        QVERIFY(!s.window->close());
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.corrected().row(1).text, u"Short one. Edited."_qs);
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);
        QVERIFY(!QFile::exists(settingsPath()));

        // No: the settings are written, the subtitles are not.
        s.prompter.answers = {Prompter::Answer::No};
        QVERIFY(s.window->close());
        QCOMPARE(s.prompter.asked.size(), 3);
        QVERIFY(QFile::exists(settingsPath()));
        QCOMPARE(readFile(m_movie), good);
        QVERIFY(!QFile::exists(m_movie + u".bak"_qs));
    }

    // Save as never replaces another file unasked, and a copy elsewhere
    // leaves the open file unsaved.
    void saveAsAsksBeforeReplacingAnotherFile()
    {
        QVERIFY(openCorrected(twoSubtitles()));
        const QString other = written(u"other.srt"_qs, "other");
        Session &s = *m_s;
        s.files.toSave = other;
        s.action(u"mnuSaveAS"_qs)->trigger(); // the default answer: No
        QCOMPARE(s.prompter.asked, QStringList{other + u" already exists. Replace it?"_qs});
        QCOMPARE(readFile(other), QByteArray("other"));

        s.prompter.answers = {Prompter::Answer::Yes};
        s.action(u"mnuSaveAS"_qs)->trigger();
        QVERIFY(readFile(other).contains("The lighthouse keeper climbed the stairs\r\ntwice every night."));
        QCOMPARE(readFile(m_movie), twoSubtitles());
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);
        s.prompter.answers = {Prompter::Answer::Cancel};
        QVERIFY(!s.window->Form_Unload());
        QCOMPARE(s.prompter.asked.last(), u"Edited text not saved. Save changes?"_qs);
    }

    // What another program wrote after the file was read: Save asks
    // whether to overwrite it, read it again, or do nothing.
    void saveAfterAnOutsideChange_data()
    {
        QTest::addColumn<QList<Prompter::Answer>>("answers");
        QTest::addColumn<bool>("overwritten");
        QTest::addColumn<int>("originalRows");
        using A = Prompter::Answer;
        QTest::newRow("cancel, the default") << QList<A>{} << false << 2;
        QTest::newRow("overwrite") << QList<A>{A::Yes} << true << 2;
        QTest::newRow("read again, dropping the corrections") << QList<A>{A::No, A::No} << false << 3;
    }

    void saveAfterAnOutsideChange()
    {
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(bool, overwritten);
        QFETCH(int, originalRows);

        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        const QByteArray outside = twoSubtitles() + srtBlock(3, u"00:00:20,000"_qs, u"00:00:21,000"_qs, u"Added."_qs).toUtf8();
        QVERIFY(writeFile(m_movie, outside));
        s.prompter.answers = answers;
        s.action(u"mnuSave"_qs)->trigger();
        QCOMPARE(s.prompter.asked.first(), m_movie + u" was changed by another program after it was read.\nYes: "
                                                   u"overwrite it with the corrected subtitles.\nNo: read it again."
                                                   u"\nCancel: do nothing."_qs);
        QCOMPARE(readFile(m_movie) == outside, !overwritten);
        QCOMPARE(s.label(u"lblStatus2"_qs), overwritten ? u"Saved"_qs : originalRows == 3 ? QString() : u"Not saved"_qs);
        QCOMPARE(s.window->originalModel().rowCount(), originalRows);
        // Once saved, the file is what was read: the next Save asks only
        // about the backup it keeps.
        if (overwritten) {
            s.action(u"mnuSave"_qs)->trigger();
            QCOMPARE(s.prompter.asked.mid(1), QStringList{m_movie + u".bak\n.bak file exists. Replace?"_qs});
        }
    }

    // F8 fills both lists from one read, so every row's partner is the same
    // subtitle; after an outside change it asks first.
    void correctingAfterAnOutsideChange()
    {
        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        const QByteArray outside =
            (srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"New first."_qs) + srtBlock(2, u"00:00:03,000"_qs,
             u"00:00:09,000"_qs, LongText) + srtBlock(3, u"00:00:10,000"_qs, u"00:00:12,000"_qs, u"Third."_qs)).toUtf8();
        QVERIFY(writeFile(m_movie, outside));

        s.prompter.answers = {Prompter::Answer::No};
        QVERIFY(s.correct());
        QCOMPARE(s.prompter.asked, QStringList{m_movie + u" was changed by another program after it was read. Read it "
                                                       u"again and correct it?"_qs});
        QCOMPARE(s.window->originalModel().row(0).text, LongText);
        QCOMPARE(s.corrected().row(0).text, QString(LongBroken).replace(u"\n"_qs, u"\r\n"_qs));

        QVERIFY(s.correct()); // the default answer: Yes
        QCOMPARE(s.window->originalModel().rowCount(), 3);
        for (const SubtitleRow &row : s.corrected().rows()) {
            const QString original = s.window->originalModel().row(row.tag - 1).text;
            QCOMPARE(QString(row.text).replace(u"\r\n"_qs, u" "_qs), original);
        }
    }

    // A right click selects as a left one does: both lists, the boxes and
    // the edits window follow, and a time typed then lands in that row.
    void rightClickSelectsEverywhere()
    {
        QVERIFY(writeFile(settingsPath(), NoTimeBuying));
        QVERIFY(openCorrected(fiveSubtitles()));
        Session &s = *m_s;
        QTableView *list1 = s.list(u"ListView1"_qs);
        QTableView *list2 = s.list(u"ListView2"_qs);
        clickRow(list2, 0);

        const auto rightClick = [](QTableView *view, int row) {
            const QPoint at = view->visualRect(view->model()->index(row, SubtitleTableModel::StartColumn)).center();
            QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(view->viewport(), &menuEvent);
            if (QWidget *popup = QApplication::activePopupWidget()) // the Edit menu, over ListView2
                QTest::keyClick(popup, Qt::Key_Escape);
            QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at);
        };
        rightClick(list2, 5); // "The end.", ordinal 5 after the split
        QCOMPARE(selectedRow(list1), 4);
        QCOMPARE(s.box(u"txtSub1"_qs)->toPlainText(), u"The end."_qs);
        QCOMPARE(s.box(u"txtSub2"_qs)->toPlainText(), u"The end."_qs);
        QLineEdit *start = s.line(u"txtStartTime"_qs);
        QCOMPARE(start->text(), u"00:00:16,000"_qs);
        start->setText(u"00:00:16,500"_qs);
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(s.corrected().row(5).startText, u"00:00:16,500"_qs);
        QCOMPARE(s.corrected().row(0).startText, u"00:00:01,000"_qs);

        rightClick(list1, 2);
        QCOMPARE(selectedRow(list2), 2);
        QCOMPARE(s.box(u"txtSub2"_qs)->toPlainText(), u"Quiet."_qs);
    }

    // A settings file that cannot be read as one: said once, the defaults
    // for the session, and never written over.
    void unusableSettingsFileIsLeftAlone()
    {
        const QByteArray unusable("[General]\r\nMaxLen=30\r\n\0", 24);
        QVERIFY(writeFile(settingsPath(), unusable));
        Session s(settingsPath());
        // Said over the window, once it is there to stand over.
        QCOMPARE(s.prompter.informed, QStringList());
        QVERIFY(s.show());
        QTRY_COMPARE(s.prompter.informed,
                     QStringList{u"The settings file "_qs + settingsPath() + u" cannot be used: it holds a NUL byte\nThe "
                                 u"default settings are used, and the file is not written in this session."_qs});
        QCOMPARE(s.window->settings().MaxLen, 44);
        QVERIFY(s.window->Form_Unload());
        QCOMPARE(s.prompter.informed.size(), 1);
        QCOMPARE(readFile(settingsPath()), unusable);
    }

    // Settings the run cannot use are blamed on the settings file.
    void settingBelowOneNamesTheSettingsFile()
    {
        QVERIFY(writeFile(settingsPath(), "[General]\r\nMaxLen=-5\r\n"));
        QVERIFY(openCorrected(twoSubtitles()));
        Session &s = *m_s;
        QCOMPARE(s.prompter.informed, QStringList{u"Error in settings file\n"_qs + settingsPath()
                                                  + u"\nInvalid setting MaxLen: must be at least 1"_qs});
        QCOMPARE(s.corrected().rowCount(), 0);
    }

    // Stored geometry far off or huge: the windows open on the screen, no
    // larger than it, and only such values are written back.
    void geometryStaysOnTheScreen()
    {
        QVERIFY(writeFile(settingsPath(), "[General]\r\nMainX=1e9\r\nMainWidth=1e30\r\nEditY=-1e9\r\n"
                                          "EditHeight=1e30\r\nList1Col4=1e30\r\n"));
        Session s(settingsPath());
        QVERIFY(s.show());
        const QRect screen = s.window->screen()->availableGeometry();
        for (const QWidget *window : {static_cast<QWidget *>(s.window.get()), static_cast<QWidget *>(&s.window->editsWindow())}) {
            const QRect placed(window->pos(), window->size());
            QVERIFY2(placed.width() <= screen.width() && placed.height() <= screen.height()
                         && placed.intersects(screen) && placed.top() >= screen.top(),
                     qPrintable(window->objectName()));
        }
        QVERIFY(s.list(u"ListView1"_qs)->horizontalHeader()->sectionSize(3) <= screen.width());
        QVERIFY(s.window->Form_Unload());
        const QByteArray written = readFile(settingsPath());
        for (const char *huge : {"1e+09", "1e+30", "-1e+09", "e+"})
            QVERIFY2(!written.contains(huge), written.constData());
    }

    // 1000 x 800 available: the main window is 750 x 600 at 125,100, with
    // 125 pixels free on its right.
    // Del and redo at the foot of a long list keep the partners at one
    // height; a click on a long text keeps the numbers in sight.
    void listsStayInLineAndNumbersInSight()
    {
        QString content;
        for (int i = 0; i < 60; ++i) {
            const QString start = u"00:%1:00,000"_qs.arg(i, 2, 10, QLatin1Char('0'));
            const QString end = u"00:%1:05,000"_qs.arg(i, 2, 10, QLatin1Char('0'));
            content += srtBlock(i + 1, start, end, i % 3 == 0 ? LongText : u"Short one."_qs);
        }
        QVERIFY(openCorrected(content.toUtf8()));
        Session &s = *m_s;
        QTableView *list1 = s.list(u"ListView1"_qs);
        QTableView *list2 = s.list(u"ListView2"_qs);
        const auto inLine = [&] {
            const int r = selectedRow(list2);
            const int k = list2->model()->index(r, 0).data(SubtitleTableModel::TagRole).toInt();
            return r >= 0 && selectedRow(list1) == k - 1
                   && list1->visualRect(list1->model()->index(k - 1, 0)).top()
                          == list2->visualRect(list2->model()->index(r, 0)).top();
        };
        clickRow(list2, 59);
        QTest::keyClick(list2, Qt::Key_Delete);
        QVERIFY(inLine());
        QTest::keyClick(list2, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(list2, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(inLine());

        list2->horizontalHeader()->resizeSection(SubtitleTableModel::TextColumn, 4000);
        const QModelIndex text = list2->model()->index(selectedRow(list2), SubtitleTableModel::TextColumn);
        QTest::mouseClick(list2->viewport(), Qt::LeftButton, {}, list2->visualRect(text).topLeft() + QPoint(2, 2));
        QCOMPARE(list2->horizontalScrollBar()->value(), 0);
    }

    void firstStartRects_data()
    {
        QTest::addColumn<int>("editsWidth");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("editsAt");
        // 1000 wide: three quarters and the edits window side by side up to 250.
        QTest::newRow("room to spare: the pair centred") << 124 << QRect(63, 100, 750, 600) << QPoint(813, 100);
        QTest::newRow("fits exactly") << 250 << QRect(0, 100, 750, 600) << QPoint(750, 100);
        QTest::newRow("a pixel more: the main window narrower") << 251 << QRect(0, 100, 749, 600) << QPoint(749, 100);
        QTest::newRow("half the screen at most") << 501 << QRect(250, 100, 500, 600) << QPoint(499, 100);
        QTest::newRow("not on its corner") << 750 << QRect(250, 100, 500, 600) << QPoint(250, 175);
    }

    void firstStartRects()
    {
        QFETCH(int, editsWidth);
        QFETCH(QRect, main);
        QFETCH(QPoint, editsAt);
        const auto rects = WindowGeometry::firstStartRects(QRect(0, 0, 1000, 800), QSize(editsWidth, 300));
        QCOMPARE(rects.main, main);
        QCOMPARE(rects.edits, QRect(editsAt, QSize(editsWidth, 300)));
    }

    void firstStartFitsTheScreen()
    {
        Session s(settingsPath());
        QVERIFY(s.show());
        const QRect screen = s.window->screen()->availableGeometry();
        QVERIFY(screen.contains(s.window->frameGeometry()));
        const QRect main = s.window->geometry();
        QVERIFY2(main.width() <= screen.width() * 3 / 4 + 2 && std::abs(main.height() - screen.height() * 3 / 4) <= 2,
                 qPrintable(u"%1x%2 on %3x%4"_qs.arg(main.width()).arg(main.height()).arg(screen.width()).arg(screen.height())));
        const QList<int> widths = s.window->findChild<QSplitter *>()->sizes();
        QVERIFY2(std::abs(widths.value(0) - widths.value(1)) <= 1, qPrintable(u"%1 %2"_qs.arg(widths.value(0)).arg(widths.value(1))));

        // The edits window comes beside it, frames and all, its kinds whole.
        QVERIFY(s.openAndCorrect(written(u"movie.srt"_qs, twoSubtitles())));
        EditsWindow &edits = s.window->editsWindow();
        QVERIFY(!edits.frameGeometry().intersects(s.window->frameGeometry()));
        QVERIFY(screen.contains(edits.frameGeometry()));
        QVERIFY(edits.list()->horizontalHeader()->sectionSize(EditRecordModel::KindColumn)
                >= edits.list()->fontMetrics().horizontalAdvance(u"Split - Time edit - Moved"_qs));
    }

    void reopenWithEncoding()
    {
        // Russian in windows-1251, read as windows-1252 by the setting.
        QVERIFY(writeFile(settingsPath(), "[General]\r\nEncoding=windows-1252\r\nShowMessage=0\r\n"));
        const QString text = u"Добрый вечер, друзья мои."_qs;
        const QByteArray cyrillic = QStringEncoder("windows-1251").encode(
            srtBlock(1, u"00:00:01,000"_qs, u"00:00:05,000"_qs, text) + srtBlock(2, u"00:00:06,000"_qs, u"00:00:09,000"_qs, LongText));
        QVERIFY(openCorrected(cyrillic));
        Session &s = *m_s;
        QCOMPARE(s.label(u"lblEncoding"_qs), u"windows-1252"_qs);
        QVERIFY(s.window->originalModel().row(0).text != text);

        QMenu *menu = s.window->findChild<QMenu *>(u"mnuReopenEncoding"_qs);
        const auto reopen = [&](const QString &name) {
            for (QAction *item : menu->actions()) {
                if (item->text() == name)
                    item->trigger();
            }
        };
        const auto ticked = [&] {
            QStringList names;
            for (QAction *item : menu->actions()) {
                if (item->isChecked())
                    names << item->text();
            }
            return names;
        };
        QCOMPARE(ticked(), QStringList{u"windows-1252"_qs});
        // Not in that encoding: said, and the document stays as it was.
        reopen(u"UTF-8"_qs);
        QVERIFY2(s.prompter.informed.value(0).contains(u"invalid UTF-8 at byte"_qs), qPrintable(s.prompter.informed.value(0)));
        QCOMPARE(s.label(u"lblEncoding"_qs), u"windows-1252"_qs);
        QCOMPARE(s.corrected().rowCount(), 2);

        // Reloaded and corrected again after the question about the corrections.
        s.prompter.answers = {Prompter::Answer::No};
        reopen(u"windows-1251"_qs);
        QCOMPARE(s.prompter.asked, QStringList{u"Edited text not saved. Save changes?"_qs});
        QCOMPARE(s.window->originalModel().row(0).text, text);
        QCOMPARE(s.corrected().row(1).text, crlf(LongBroken));
        QCOMPARE(s.label(u"lblEncoding"_qs), u"windows-1251"_qs);
        QCOMPARE(ticked(), QStringList{u"windows-1251"_qs});
        QCOMPARE(s.label(u"lblStatus2"_qs), u"Not saved"_qs);

        // Saved in the encoding in use.
        QTest::keyClick(s.window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readFile(m_movie), QByteArray(QStringEncoder("windows-1251").encode(
            srtBlock(1, u"00:00:01,000"_qs, u"00:00:05,000"_qs, text) + srtBlock(2, u"00:00:06,000"_qs, u"00:00:09,000"_qs, LongBroken))));
    }

    void lenientTimesQuestion()
    {
        const QString movie = written(u"movie.srt"_qs, twoSubtitles(u"00:00:07.000"_qs));
        Session s(settingsPath());
        QVERIFY(s.show());

        // No keeps the refusal, which the question shows: nothing more is said.
        s.prompter.answers = {Prompter::Answer::No};
        s.open(movie);
        QCOMPARE(s.prompter.asked.size(), 1);
        QVERIFY2(s.prompter.asked.first().contains(u"line 6: 00:00:07.000 --> 00:00:09,000"_qs)
                     && s.prompter.asked.first().endsWith(u"(Options: \"Read common time-format variants\")"_qs),
                 qPrintable(s.prompter.asked.first()));
        QVERIFY(s.prompter.informed.isEmpty());
        QCOMPARE(s.window->originalModel().rowCount(), 0);

        // Yes turns the setting on, for good, and loads the file.
        s.prompter.answers = {Prompter::Answer::Yes};
        s.open(movie);
        QCOMPARE(s.window->originalModel().row(1).startText, u"00:00:07,000"_qs);
        QVERIFY(s.window->settings().LenientTimes);
        QVERIFY(readFile(settingsPath()).contains("LenientTimes=-1"));
    }

    void editsWindowSortsJumpsAndHides()
    {
        QVERIFY(writeFile(settingsPath(), NoTimeBuying));
        QVERIFY(openCorrected(fiveSubtitles()));
        Session &s = *m_s;
        EditsWindow &edits = s.window->editsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&edits));
        QTableView *records = edits.list();
        QHeaderView *header = records->horizontalHeader();

        // A header click sorts, descending after the run's ascending ("Split" first).
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(EditRecordModel::KindColumn) + 5, header->height() / 2));
        QCOMPARE(edits.ordinalsInViewOrder(), (QList<int>{4, 2}));

        // A double-click (as delivered: a click, then the double-click) takes
        // both lists there; ordinal 4 is the first half of the split.
        const auto doubleClick = [records](int row) {
            const QPoint at = records->visualRect(records->model()->index(row, 0)).center();
            QTest::mouseClick(records->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(records->viewport(), Qt::LeftButton, {}, at);
        };
        QTableView *list1 = s.list(u"ListView1"_qs);
        QTableView *list2 = s.list(u"ListView2"_qs);
        doubleClick(0);
        QCOMPARE(selectedRow(list1), 3);
        QCOMPARE(selectedRow(list2), 3);
        doubleClick(1);
        QCOMPARE(selectedRow(list1), 1);
        QCOMPARE(selectedRow(list2), 1);
        QCOMPARE(s.box(u"txtSub1"_qs)->toPlainText(), LongText);

        // Minimise and restore take it along while it is meant to be shown.
        s.window->showMinimized();
        QVERIFY(!edits.isVisible());
        s.window->showNormal();
        QVERIFY(edits.isVisible());

        // Closed by hand it only hides, and stays hidden through minimise.
        QVERIFY(!edits.close());
        QVERIFY(!edits.isVisible());
        s.window->showMinimized();
        s.window->showNormal();
        QVERIFY(!edits.isVisible());
        s.action(u"mnuShowEditsWindow"_qs)->trigger();
        QVERIFY(edits.isVisible());
    }

    void rightToLeftRowsAlignRightAndNumbersFit()
    {
        // Tags and digits do not decide; the first letter does.
        QVERIFY(openCorrected((srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"<i>1. \u05e9\u05dc\u05d5\u05dd</i>"_qs)
                               + srtBlock(2, u"00:00:03,000"_qs, u"00:00:04,000"_qs, u"{\\an8}Hello \u05e9"_qs)
                               + srtBlock(3, u"00:00:05,000"_qs, u"00:00:06,000"_qs, u"3 < \u0645\u0631\u062d\u0628\u0627"_qs))
                                  .toUtf8()));
        Session &s = *m_s;
        const QList<bool> rightToLeft{true, false, true};
        for (const QString &name : {u"ListView1"_qs, u"ListView2"_qs}) {
            QTableView *list = s.list(name);
            for (int row = 0; row < 3; ++row) {
                const QVariant alignment =
                    list->model()->index(row, SubtitleTableModel::TextColumn).data(Qt::TextAlignmentRole);
                QCOMPARE(alignment.isValid() && (alignment.value<Qt::Alignment>() & Qt::AlignRight), rightToLeft[row]);
            }
            // Seven digits and the kind marks, at the default widths.
            QVERIFY(list->horizontalHeader()->sectionSize(SubtitleTableModel::NumberColumn)
                    > list->fontMetrics().horizontalAdvance(name == u"ListView1"_qs ? u"1234567"_qs : u"1234567 WW"_qs));
        }
        for (int row : {0, 1, 2}) {
            clickRow(s.list(u"ListView2"_qs), row);
            for (const QString &name : {u"txtSub1"_qs, u"txtSub2"_qs})
                QCOMPARE(s.box(name)->document()->defaultTextOption().alignment(),
                         rightToLeft[row] ? Qt::AlignRight : Qt::AlignLeft);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
