// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "ui/edits/editswindow.h"

#include <QHeaderView>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// Ordinal 2 is re-broken, 3 too fast to read, 4 split in two; no time is
// bought, so a subtitle restored is its block as read, byte for byte.
QByteArray reviewFile()
{
    return (srtBlock(1, u"00:00:01,000"_s, u"00:00:02,000"_s, u"Short one."_s)
            + srtBlock(2, u"00:00:03,000"_s, u"00:00:08,000"_s, QString(LongBroken).replace(u'\n', u' '))
            + srtBlock(3, u"00:00:09,000"_s, u"00:00:09,500"_s, u"Far too many words, half a second."_s)
            + srtBlock(4, u"00:00:11,000"_s, u"00:00:15,000"_s,
                       u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr "
                       u"stuvw xyzabc"_s)
            + srtBlock(5, u"00:00:16,000"_s, u"00:00:17,000"_s, u"The end."_s))
        .toUtf8();
}

} // namespace

// Reviewing a correction through the window's own actions and keys; what the
// document does with them is pinned in tst_subtitledocument.
class TestReview : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindowFixture> m_s;
    QString m_movie;

    MainWindowFixture &s() { return *m_s; }
    QString undoText() { return s().action(u"mnuUndo"_s)->text(); }
    QString saveState() { return s().label(u"lblStatus2"_s); }
    // The rows still too fast, counted afresh.
    QList<int> tooFastRows()
    {
        QList<int> rows;
        for (int row = 0; row < s().corrected().rowCount(); ++row) {
            if (s().corrected().isTooFast(row))
                rows << row;
        }
        return rows;
    }
    // The summary's count is the rows' own.
    bool tooFastShown()
    {
        return s().label(u"lblStatus"_s).endsWith(u", %1 still too fast"_s.arg(tooFastRows().size()));
    }
    static void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Ctrl)
    {
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString settings = m_dir->filePath(u"Quillmend.ini"_s);
        m_movie = m_dir->filePath(u"movie.srt"_s);
        QVERIFY(writeFile(settings, "[General]\r\nBuyTime=0\r\nShowMessage=0\r\nCreateBakFile=0\r\n"));
        QVERIFY(writeFile(m_movie, reviewFile()));
        m_s = std::make_unique<MainWindowFixture>(settings);
        QVERIFY(s().show() && s().openAndCorrect(m_movie));
        QCOMPARE(s().corrected().rowCount(), 6);
    }
    void cleanup() { m_s.reset(); }

    // The Edit menu names each step in the language in use; the selection and
    // the boxes follow the row, and the save state the history.
    void undoAndRedoKeys()
    {
        clickRow(s().list2, 1);
        key(s().list2, Qt::Key_Delete, {});
        QCOMPARE(s().corrected().rowCount(), 5);
        QCOMPARE(undoText(), u"Undo Delete subtitle 2"_s);
        s().language(u"German"_s)->trigger();
        QVERIFY(!undoText().contains(u"Delete"_s));
        s().language(u"English"_s)->trigger();
        QCOMPARE(undoText(), u"Undo Delete subtitle 2"_s);
        key(s().list2, Qt::Key_S);
        QCOMPARE(saveState(), u"Saved"_s);
        key(s().list2, Qt::Key_Z);
        QCOMPARE(selectedRow(s().list2), 1);
        QCOMPARE(s().sub2->toPlainText(), LongBroken);
        QCOMPARE(s().action(u"mnuRedo"_s)->text(), u"Redo Delete subtitle 2"_s);
        QCOMPARE(saveState(), u"Not saved"_s);
        key(s().list2, Qt::Key_Y);
        QCOMPARE(s().corrected().rowCount(), 5);
        QCOMPARE(saveState(), u"Saved"_s);
        key(s().list2, Qt::Key_Z);
        key(s().list2, Qt::Key_Z, CtrlShift);
        QCOMPARE(s().corrected().rowCount(), 5);

        // Undo from the menu applies typing first, then takes it back.
        clickRow(s().list2, 0);
        key(s().sub2, Qt::Key_Exclam, {});
        s().action(u"mnuUndo"_s)->trigger();
        QCOMPARE(s().sub2->toPlainText(), u"Short one."_s);
        QCOMPARE(saveState(), u"Saved"_s);
        QVERIFY(s().action(u"mnuRedo"_s)->isEnabled());
        s().open(m_movie); // a new history
        QVERIFY(!s().action(u"mnuRedo"_s)->isEnabled() && !s().action(u"mnuUndo"_s)->isEnabled());
    }

    // Ctrl-R from the list and from the edits window restores, then
    // re-applies; the selection follows, and the filter keeps restored rows.
    void restoreAndReapplyKeys()
    {
        const std::vector<SubtitleRow> computed = s().corrected().rows();
        clickRow(s().list2, 4); // the split's second half
        key(s().list2, Qt::Key_R);
        QCOMPARE(s().corrected().rowCount(), 5);
        QCOMPARE(selectedRow(s().list2), 3);
        QCOMPARE(undoText(), u"Undo Restore subtitle 4"_s);

        // Both records selected: only the one not yet restored is; then both are re-applied in one step.
        QTableView *records = s().window->editsWindow().list();
        s().window->editsWindow().activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &s().window->editsWindow());
        records->selectAll();
        key(records, Qt::Key_R);
        QCOMPARE(undoText(), u"Undo Restore subtitle 2"_s);
        key(s().list2, Qt::Key_S);
        QCOMPARE(readFile(m_movie), reviewFile());
        key(records, Qt::Key_R);
        QCOMPARE(undoText(), u"Undo Re-apply 2 corrections"_s);
        QCOMPARE(s().corrected().rows(), computed);
        // The count of rows too fast follows several rows replaced at once, and their undoing.
        QVERIFY(tooFastShown());
        key(records, Qt::Key_Z);
        QVERIFY(tooFastShown());
        QCOMPARE(s().action(u"mnuRedo"_s)->text(), u"Redo Re-apply 2 corrections"_s);
        key(records, Qt::Key_Y);
        QCOMPARE(s().corrected().rows(), computed);
        key(records, Qt::Key_Z);
        s().action(u"mnuShowEditOnly"_s)->trigger();
        QCOMPARE(s().list2->model()->rowCount(), 2);
    }

    // Ctrl-Shift-Down and -Up step through the subtitles too fast to read,
    // from a list and from the boxes; the summary's count follows every change.
    void readingSpeed()
    {
        for (QTableView *list : {s().list1, s().list2})
            QCOMPARE(list->horizontalHeader()->visualIndex(SubtitleTableModel::CpsColumn), 3);
        const QList<int> tooFast = tooFastRows();
        QVERIFY(tooFast.size() >= 2 && tooFast.first() == 2);
        key(s().list2, Qt::Key_Down, CtrlShift);
        QCOMPARE(selectedRow(s().list2), tooFast.at(0));
        key(s().sub2, Qt::Key_Down, CtrlShift);
        QCOMPARE(selectedRow(s().list2), tooFast.at(1));
        QLineEdit *end = s().line(u"txtEndTime"_s);
        key(end, Qt::Key_Up, CtrlShift);
        QCOMPARE(selectedRow(s().list2), tooFast.at(0));

        QVERIFY(tooFastShown());
        clickRow(s().list2, 0);
        end->setText(u"00:00:01,100"_s);
        key(end, Qt::Key_Return, {});
        QVERIFY(tooFastShown() && tooFastRows().size() == tooFast.size() + 1);
        s().action(u"mnuUndo"_s)->trigger();
        QVERIFY(tooFastShown() && tooFastRows() == tooFast);
    }

    // Enter and leaving the box for another row apply a time alike; a time refused is said and keeps the box; Esc
    // puts back what the row holds. The last subtitle's end may go as far as a box holds; a start past its own end
    // is refused, naming the subtitle.
    void timeCommit_data()
    {
        QTest::addColumn<bool>("start"); // the first subtitle's start, else the last one's end
        QTest::addColumn<QString>("typed"); // from Home
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("leaving");
        const QString minutes = u"Hide: 00:60:59,999 is not a valid time; minutes and seconds run from 00 to 59"_s;
        const QString pastEnd = u"Show of subtitle 1: 00:00:01,961 must be from 00:00:00,000 to 00:00:01,960"_s;
        for (const bool leaving : {false, true}) {
            const char *left = leaving ? ", left" : "";
            QTest::addRow("59 minutes 59 seconds%s", left) << false << u"005959999"_s << QString() << leaving;
            QTest::addRow("60 minutes%s", left) << false << u"006059999"_s << minutes << leaving;
            QTest::addRow("start a frame before its end%s", left) << true << u"000001960"_s << QString() << leaving;
            QTest::addRow("start closer to its end%s", left) << true << u"000001961"_s << pastEnd << leaving;
        }
    }

    void timeCommit()
    {
        QFETCH(bool, start);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(bool, leaving);
        const int row = start ? 0 : 5;
        clickRow(s().list2, row);
        const SubtitleRow before = s().corrected().row(row);
        QLineEdit *box = s().line(start ? u"txtStartTime"_s : u"txtEndTime"_s);
        key(box, Qt::Key_Home, {});
        QTest::keyClicks(box, typed);
        const QString timeText = box->text();
        leaving ? clickRow(s().list2, 4) : key(box, Qt::Key_Return, {});
        const SubtitleRow after = s().corrected().row(row);
        QCOMPARE(start ? after.startText : after.endText,
                 refusal.isEmpty() ? timeText : start ? before.startText : before.endText);
        QCOMPARE(s().prompter.warned, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(QApplication::focusWidget(), leaving && refusal.isEmpty() ? static_cast<QWidget *>(s().list2) : box);
        clickRow(s().list2, row);
        QTest::keyClicks(box, u"1"_s);
        key(box, Qt::Key_Escape, {});
        QCOMPARE(box->text(), start ? s().corrected().row(row).startText : s().corrected().row(row).endText);
    }

    // Next edit with nothing selected goes to the first record. F9 leaves the boxes on the row still selected, or takes
    // them away; then Alt-Down goes to the second row and Alt-Up to the first.
    void filterKeepsTheBoxesTrue()
    {
        key(s().list1, Qt::Key_Down);
        QCOMPARE(selectedRow(s().list2), 1); // re-broken: stays on show
        key(s().list2, Qt::Key_F9, {});
        QCOMPARE(selectedRow(s().list2), 0);
        QCOMPARE(s().sub2->toPlainText(), LongBroken);
        QVERIFY(s().sub2->isEnabled());
        key(s().list2, Qt::Key_F9, {});
        for (const auto &[move, expected] : {std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Up, 0}}) {
            clickRow(s().list2, 0); // no record: filtered out
            key(s().list2, Qt::Key_F9, {});
            QCOMPARE(selectedRow(s().list2), -1);
            QVERIFY(!s().sub2->isEnabled() && !s().line(u"txtStartTime"_s)->isEnabled());
            key(s().list2, Qt::Key_F9, {});
            key(s().list2, move, Qt::AltModifier);
            QCOMPARE(selectedRow(s().list2), expected);
        }
    }

    // At the first start's size the whole summary shows, and reading speeds
    // of three digits fit their column, in every shipped language.
    void summaryAndSpeedsFitInEveryLanguage()
    {
        auto *status = s().window->findChild<QLabel *>(u"lblStatus"_s);
        const auto fits = [status] {
            const QRect room = status->contentsRect();
            const QRect needed =
                status->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, status->text());
            return needed.width() <= room.width() && needed.height() <= room.height();
        };
        for (const QString &language : {u"French"_s, u"German"_s, u"Spanish"_s, u"Greek"_s, u"English"_s}) {
            s().language(language)->trigger();
            QVERIFY(status->text().contains(u"3"_s)); // the summary, in its words
            QTRY_VERIFY2(fits(), qPrintable(language));
            for (QTableView *list : {s().list1, s().list2})
                QVERIFY(list->horizontalHeader()->sectionSize(SubtitleTableModel::CpsColumn)
                        > list->fontMetrics().horizontalAdvance(u"999.9"_s) + 8);
        }
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
