// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "ui/edits/editswindow.h"
#include "ui/subtitles/subtitlelistview.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString LongText = u"The lighthouse keeper climbed the stairs twice every night."_qs;
const QString LongBroken = u"The lighthouse keeper climbed the stairs\ntwice every night."_qs;
const QString SplitText = u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr "
                          u"stuvw xyzabc"_qs;

// Ordinal 2 is re-broken, 3 too fast to read, 4 split in two; no time is
// bought, so a subtitle restored is its block as read, byte for byte.
QByteArray reviewFile()
{
    return (srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"Short one."_qs)
            + srtBlock(2, u"00:00:03,000"_qs, u"00:00:08,000"_qs, LongText)
            + srtBlock(3, u"00:00:09,000"_qs, u"00:00:09,500"_qs, u"Far too many words, half a second."_qs)
            + srtBlock(4, u"00:00:11,000"_qs, u"00:00:15,000"_qs, SplitText)
            + srtBlock(5, u"00:00:16,000"_qs, u"00:00:17,000"_qs, u"The end."_qs))
        .toUtf8();
}

} // namespace

// Reviewing a correction through the window's own actions and keys: undo
// and redo, restoring and re-applying, reading speed, and the faults a new
// user ran into.
class TestReview : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindowFixture> m_s;
    QString m_movie;

    MainWindowFixture &s() { return *m_s; }
    QTableView *list2() { return s().list(u"ListView2"_qs); }
    void save() { QTest::keyClick(list2(), Qt::Key_S, Qt::ControlModifier); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString settings = m_dir->filePath(u"Quillmend.ini"_qs);
        m_movie = m_dir->filePath(u"movie.srt"_qs);
        QVERIFY(writeFile(settings, "[General]\r\nBuyTime=0\r\nShowMessage=0\r\nCreateBakFile=0\r\n"));
        QVERIFY(writeFile(m_movie, reviewFile()));
        m_s = std::make_unique<MainWindowFixture>(settings);
        QVERIFY(s().show());
        QVERIFY(s().openAndCorrect(m_movie));
        QCOMPARE(s().corrected().rowCount(), 6);
    }
    void cleanup() { m_s.reset(); }

    void deleteUndoRedoThenSave()
    {
        save();
        const QByteArray whole = readFile(m_movie);
        clickRow(list2(), 1);
        QTest::keyClick(list2(), Qt::Key_Delete);
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Delete subtitle 2"_qs);
        // The step's name follows the language, whichever it was made in.
        s().language(u"German"_qs)->trigger();
        QVERIFY(!s().action(u"mnuUndo"_qs)->text().contains(u"Delete"_qs));
        s().language(u"English"_qs)->trigger();
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Delete subtitle 2"_qs);
        save();
        const QByteArray deleted = readFile(m_movie);
        QCOMPARE(deleted.count("\r\n\r\n"), whole.count("\r\n\r\n") - 1);

        // Back where it was, selected and in the boxes; both redo keys.
        QTest::keyClick(list2(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(selectedRow(list2()), 1);
        QCOMPARE(s().box(u"txtSub2"_qs)->toPlainText(), LongBroken);
        QCOMPARE(s().action(u"mnuRedo"_qs)->text(), u"Redo Delete subtitle 2"_qs);
        save();
        QCOMPARE(readFile(m_movie), whole);
        QTest::keyClick(list2(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(s().label(u"lblStatus2"_qs), u"Not saved"_qs);
        QTest::keyClick(list2(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(list2(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        save();
        QCOMPARE(readFile(m_movie), deleted);
        QVERIFY(s().action(u"mnuUndo"_qs)->isEnabled()); // saving keeps the history
    }

    void undoBackToSavedAsksNothingOnClose()
    {
        save();
        clickRow(list2(), 0);
        QPlainTextEdit *sub2 = s().box(u"txtSub2"_qs);
        sub2->setFocus();
        QTest::keyClicks(sub2, u"!"_qs);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s().label(u"lblStatus2"_qs), u"Not saved"_qs);
        s().action(u"mnuUndo"_qs)->trigger();
        QCOMPARE(sub2->toPlainText(), u"Short one."_qs);
        QCOMPARE(s().label(u"lblStatus2"_qs), u"Saved"_qs);
        QVERIFY(s().window->Form_Unload());
        QCOMPARE(s().prompter.asked, QStringList());
        // Opening starts a new history.
        QVERIFY(s().action(u"mnuRedo"_qs)->isEnabled());
        s().open(m_movie);
        QVERIFY(!s().action(u"mnuRedo"_qs)->isEnabled());
    }

    // A split and a re-broken subtitle restored, from the list and from the
    // edits window, save as the file was read; re-applied, as corrected.
    void restoreAndReapply()
    {
        const std::vector<SubtitleRow> computed = s().corrected().rows();
        clickRow(list2(), 4); // the split's second half
        QTest::keyClick(list2(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s().corrected().rowCount(), 5);
        QCOMPARE(selectedRow(list2()), 3);
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Restore subtitle 4"_qs);

        // Both records selected in the edits window: only the one not yet
        // restored is; then, both restored, both are re-applied in one step.
        EditsWindow &edits = s().window->editsWindow();
        edits.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &edits);
        edits.list()->selectAll();
        QTest::keyClick(edits.list(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Restore subtitle 2"_qs);
        const EditRecordModel &records = edits.records();
        save();
        QCOMPARE(readFile(m_movie), reviewFile());
        QTest::keyClick(edits.list(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Re-apply 2 corrections"_qs);
        QCOMPARE(s().corrected().rows(), computed);
        QCOMPARE(records.index(0, EditRecordModel::StateColumn).data().toString(), QString());
        // Undo and redo work from the edits window as Ctrl-R does.
        QTest::keyClick(edits.list(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s().action(u"mnuRedo"_qs)->text(), u"Redo Re-apply 2 corrections"_qs);
        QTest::keyClick(edits.list(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(s().corrected().rows(), computed);
        QTest::keyClick(edits.list(), Qt::Key_Z, Qt::ControlModifier);

        // The filter keeps showing restored records.
        s().action(u"mnuShowEditOnly"_qs)->trigger();
        QCOMPARE(list2()->model()->rowCount(), 2);
    }

    void readingSpeed()
    {
        QVERIFY(s().label(u"lblStatus"_qs).endsWith(u"still too fast"_qs));
        for (const QString &name : {u"ListView1"_qs, u"ListView2"_qs})
            QCOMPARE(s().list(name)->horizontalHeader()->visualIndex(SubtitleTableModel::CpsColumn), 3);

        QList<int> tooFast;
        for (int row = 0; row < s().corrected().rowCount(); ++row) {
            if (s().corrected().isTooFast(row))
                tooFast << row;
        }
        QVERIFY(tooFast.size() >= 2 && tooFast.first() == 2);
        QVERIFY(s().corrected().index(2, SubtitleTableModel::CpsColumn).data(Qt::ToolTipRole).toString().contains(u"ms"_qs));

        // From a list and from the text box, one step per press.
        QTest::keyClick(list2(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectedRow(list2()), tooFast.at(0));
        QPlainTextEdit *sub2 = s().box(u"txtSub2"_qs);
        sub2->setFocus();
        QTest::keyClick(sub2, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectedRow(list2()), tooFast.at(1));
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectedRow(list2()), tooFast.at(0));
    }

    // Enter and leaving the box for another row apply a time alike.
    void timeCommit_data()
    {
        QTest::addColumn<QString>("typed"); // over the start time, from Home
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("leaving");
        QTest::newRow("59 minutes 59 seconds") << u"005959999"_qs << false << false;
        QTest::newRow("60 minutes") << u"0060"_qs << true << false;
        QTest::newRow("59 minutes 59 seconds, left") << u"005959999"_qs << false << true;
        QTest::newRow("60 minutes, left") << u"0060"_qs << true << true;
    }

    void timeCommit()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(bool, leaving);
        clickRow(list2(), 0);
        QLineEdit *start = s().line(u"txtStartTime"_qs);
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Home);
        QTest::keyClicks(start, typed);
        const QString timeText = start->text();
        if (leaving)
            clickRow(list2(), 1);
        else
            QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(s().corrected().row(0).startText, refused ? u"00:00:01,000"_qs : timeText);
        QCOMPARE(s().prompter.warned,
                 refused ? QStringList{u"Show: "_qs + timeText
                                       + u" is not a valid time; minutes and seconds run from 00 to 59"_qs}
                         : QStringList());
        QCOMPARE(QApplication::focusWidget(), leaving && !refused ? static_cast<QWidget *>(list2()) : start);
        // Esc puts back what the row holds.
        clickRow(list2(), 0);
        QTest::keyClicks(start, u"1"_qs);
        QTest::keyClick(start, Qt::Key_Escape);
        QCOMPARE(start->text(), s().corrected().row(0).startText);
    }

    // A start moved by the overlap correction alone has a record, a mark and
    // a restore of its own; the summary and the counters stay the run's.
    void movedStartsAreReviewable()
    {
        const QString moved = m_dir->filePath(u"moved.srt"_qs);
        QVERIFY(writeFile(moved, (srtBlock(1, u"00:00:01,000"_qs, u"00:00:03,000"_qs, u"Hi."_qs)
                                  + srtBlock(2, u"00:00:02,000"_qs, u"00:00:04,000"_qs, u"Ho."_qs))
                                     .toUtf8()));
        QVERIFY(s().openAndCorrect(moved));
        QCOMPARE(s().label(u"lblStatus"_qs), u"Edits: 0 (with 0 time) - 0 time - 0 splits (with 0 time edit), 1 moved"_qs);
        const QModelIndex number = s().corrected().index(1, SubtitleTableModel::NumberColumn);
        QCOMPARE(number.data(Qt::ToolTipRole).toString(), u"Start moved from 00:00:02,000 to 00:00:03,001"_qs);
        const EditRecordModel &records = s().window->editsWindow().records();
        QCOMPARE(records.rowCount(), 1);
        QCOMPARE(records.index(0, EditRecordModel::KindColumn).data().toString(), u"Moved"_qs);

        QTest::keyClick(list2(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedRow(list2()), 1);
        QTest::keyClick(list2(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s().corrected().row(1).startText, u"00:00:02,000"_qs);
        QVERIFY(!s().label(u"lblStatus"_qs).contains(u"moved"_qs));
        QTest::keyClick(list2(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s().corrected().row(1).startText, u"00:00:03,001"_qs);
        QVERIFY(s().label(u"lblStatus"_qs).endsWith(u", 1 moved"_qs));
    }

    // The count of subtitles still too fast follows every change.
    void tooFastCountStaysCurrent()
    {
        const auto shown = [this] { return s().label(u"lblStatus"_qs); };
        const qint64 before = s().corrected().tooFastCount();
        QVERIFY(shown().endsWith(u", %1 still too fast"_qs.arg(before)));
        clickRow(list2(), 0);
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        end->setText(u"00:00:01,100"_qs);
        QTest::keyClick(end, Qt::Key_Return);
        QVERIFY(shown().endsWith(u", %1 still too fast"_qs.arg(before + 1)));
        s().action(u"mnuUndo"_qs)->trigger();
        QVERIFY(shown().endsWith(u", %1 still too fast"_qs.arg(before)));
    }

    // F9 leaves the boxes on the row still selected, or takes them away.
    void filterKeepsTheBoxesTrue()
    {
        clickRow(list2(), 1); // re-broken: stays on show
        QTest::keyClick(list2(), Qt::Key_F9);
        QCOMPARE(selectedRow(list2()), 0);
        QCOMPARE(s().box(u"txtSub2"_qs)->toPlainText(), LongBroken);
        QVERIFY(s().box(u"txtSub2"_qs)->isEnabled());
        QTest::keyClick(list2(), Qt::Key_F9);
        clickRow(list2(), 0); // no record: filtered out
        QTest::keyClick(list2(), Qt::Key_F9);
        QCOMPARE(selectedRow(list2()), -1);
        QVERIFY(!s().box(u"txtSub2"_qs)->isEnabled());
        QVERIFY(!s().line(u"txtStartTime"_qs)->isEnabled());
    }

    // Reading drops a subtitle with no text: Save asks first, No by default.
    void savingASubtitleWithoutTextAsks()
    {
        save();
        const QByteArray saved = readFile(m_movie);
        clickRow(list2(), 0);
        QPlainTextEdit *sub2 = s().box(u"txtSub2"_qs);
        sub2->setFocus();
        sub2->selectAll();
        QTest::keyClick(sub2, Qt::Key_Delete);
        QTest::keyClick(sub2, Qt::Key_Return, Qt::ControlModifier);
        save();
        QCOMPARE(s().prompter.asked,
                 QStringList{u"Subtitles 1 have no text and will be lost when the file is read again. Save anyway?"_qs});
        QCOMPARE(readFile(m_movie), saved);
        s().prompter.answers = {Prompter::Answer::Yes};
        save();
        QVERIFY(readFile(m_movie).startsWith("1\r\n00:00:01,000 --> 00:00:02,000\r\n\r\n"));
    }

    // At the first start's size the whole summary shows, and reading
    // speeds of three digits fit their column, in every shipped language.
    void summaryAndSpeedsFitInEveryLanguage()
    {
        auto *status = s().window->findChild<QLabel *>(u"lblStatus"_qs);
        for (const QString &language : {u"French"_qs, u"German"_qs, u"Spanish"_qs, u"Greek"_qs, u"English"_qs}) {
            s().language(language)->trigger();
            QVERIFY(status->text().contains(u"3"_qs)); // the summary, in its words
            const auto fits = [status] {
                const QRect room = status->contentsRect();
                const QRect needed =
                    status->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, status->text());
                return needed.width() <= room.width() && needed.height() <= room.height();
            };
            QTRY_VERIFY2(fits(), qPrintable(language));
            for (const QString &name : {u"ListView1"_qs, u"ListView2"_qs}) {
                QTableView *list = s().list(name);
                QVERIFY(list->horizontalHeader()->sectionSize(SubtitleTableModel::CpsColumn)
                        > list->fontMetrics().horizontalAdvance(u"999.9"_qs) + 8);
            }
        }
    }

    // Hiding before showing may be a step on the way: taken, but marked.
    void hideBeforeShowIsMarked()
    {
        clickRow(list2(), 0);
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        end->setText(u"00:00:00,500"_qs);
        QTest::keyClick(end, Qt::Key_Return);
        QCOMPARE(s().corrected().row(0).endText, u"00:00:00,500"_qs);
        QCOMPARE(s().corrected().index(0, SubtitleTableModel::EndColumn).data(Qt::ToolTipRole).toString(),
                 u"Hides before it is shown"_qs);
    }

    // With nothing selected: next edit is the first record, Alt-Down the
    // second row and Alt-Up the first.
    void movesWithNothingSelected()
    {
        QTableView *list1 = s().list(u"ListView1"_qs);
        QTest::keyClick(list1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedRow(list1), 1);
        for (const auto &[key, expected] : {std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Up, 0}}) {
            clickRow(list2(), 0); // no record: the filter drops its selection
            QTest::keyClick(list2(), Qt::Key_F9);
            QTest::keyClick(list2(), Qt::Key_F9);
            QCOMPARE(selectedRow(list2()), -1);
            QTest::keyClick(list2(), key, Qt::AltModifier);
            QCOMPARE(selectedRow(list2()), expected);
        }
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
