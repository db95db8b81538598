// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/scriptedprompter.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "support/webvtttext.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString LongLine = u"This first line is far too long to be shown on one line"_s;
const QString SplitText = QStringList(20, u"word"_s).join(u' ');

} // namespace

// The document a reviewer edits, through its commands and its undo stack,
// with every model under QAbstractItemModelTester.
class TestSubtitleDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LangDoc m_lang;
    ScriptedPrompter m_prompter;
    std::unique_ptr<SubtitleDocument> m_document;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
    std::vector<SubtitleRow> m_computed; // the rows right after the run

    QString file() const { return m_dir.filePath(u"movie.srt"_s); }
    const SubtitleList &corrected() { return m_document->correctedList(); }
    const SubtitleTableModel &model() { return m_document->correctedModel(); }
    QStringList shown(int column, int role = Qt::DisplayRole)
    {
        QStringList values;
        for (int row = 0; row < corrected().rowCount(); ++row)
            values << model().index(row, column).data(role).toString();
        return values;
    }
    QByteArray saved()
    {
        const QString copy = m_dir.filePath(u"copy.srt"_s);
        QFile::remove(copy);
        m_document->save(copy, false, m_prompter);
        return readFile(copy);
    }

private slots:
    // Re-broken ordinal 1, ordinal 2 split in two rows, two short ones.
    void init()
    {
        const QString input = srtBlock(1, u"00:00:01,000"_s, u"00:00:04,000"_s, LongLine)
            + srtBlock(2, u"00:00:05,000"_s, u"00:00:10,000"_s, SplitText)
            + srtBlock(3, u"00:00:11,000"_s, u"00:00:12,000"_s, u"Short."_s)
            + srtBlock(4, u"00:00:13,000"_s, u"00:00:14,000"_s, u"Also short."_s);
        QVERIFY(writeFile(file(), input.toUtf8()));
        m_document = std::make_unique<SubtitleDocument>(m_lang);
        for (QAbstractItemModel *model : std::initializer_list<QAbstractItemModel *>{
                 &m_document->originalModel(), &m_document->correctedModel(), &m_document->records()})
            m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::Fatal));
        QString error;
        QVERIFY(m_document->load(file(), error));
        QCOMPARE(m_document->saveState(), SaveState::Empty);
        QVERIFY(m_document->correct(Settings()).ok);
        m_computed = corrected().rows();
        QCOMPARE(shown(0, SubtitleTableModel::TagRole), (QStringList{u"1"_s, u"2"_s, u"2"_s, u"3"_s, u"4"_s}));
    }

    void cleanup()
    {
        m_testers.clear();
        m_document.reset();
    }

    void restoreAndReapply_data()
    {
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("rows"); // after restoring
        QTest::newRow("re-broken") << 1 << LongLine << u"1 \u21B5"_s << 5;
        QTest::newRow("split") << 2 << SplitText << u"2 \u00F7"_s << 4;
    }

    void restoreAndReapply()
    {
        QFETCH(int, ordinal);
        QFETCH(QString, text);
        const int row = ordinal - 1;
        QTEST(model().index(row, 0).data().toString(), "mark");
        // A hand edit first: restoring replaces it, undoing brings it back.
        QVERIFY(m_document->editText(row, u"By hand"_s));

        QVERIFY(m_document->restoreOrReapply({ordinal}));
        QCOMPARE(m_document->undoStack().undoText(), u"Restore subtitle %1"_s.arg(ordinal));
        QVERIFY(m_document->isRestored(ordinal));
        QTEST(corrected().rowCount(), "rows");
        const SubtitleRow restored = corrected().row(row);
        QCOMPARE(restored.text, text);
        QCOMPARE(model().index(row, 0).data().toString(), u"%1 \u21BA"_s.arg(ordinal));
        QCOMPARE(model().index(row, 0).data(Qt::ToolTipRole).toString(), u"Restored"_s);
        const QModelIndex state = m_document->records().index(row, EditRecordModel::StateColumn);
        QCOMPARE(state.data().toString(), u"Restored"_s);
        QVERIFY(saved().contains(srtBlock(ordinal, restored.startText, restored.endText, text).toUtf8()));
        QCOMPARE(shown(0).last(), QString::number(corrected().rowCount())); // renumbered

        m_document->undoStack().undo();
        QCOMPARE(corrected().row(row).text, u"By hand"_s);
        QVERIFY(!m_document->isRestored(ordinal));
        m_document->undoStack().redo();

        // The same command on a restored record applies the correction again.
        QVERIFY(m_document->restoreOrReapply({ordinal}));
        QCOMPARE(m_document->undoStack().undoText(), u"Re-apply the correction of subtitle %1"_s.arg(ordinal));
        QVERIFY(corrected().rows() == m_computed);
        QVERIFY(!state.data().toString().size());
        // The run's rows were kept when the edit first changed them: back over the re-apply and the restore the edit
        // returns, and forward again the run's rows.
        m_document->undoStack().setIndex(1);
        QCOMPARE(corrected().row(row).text, u"By hand"_s);
        m_document->undoStack().setIndex(3);
        QVERIFY(corrected().rows() == m_computed);
    }

    void changesThatChangeNothingMakeNoStep()
    {
        const SubtitleRow first = corrected().row(0);
        QVERIFY(!m_document->editText(0, first.text));
        QVERIFY(!m_document->editTime(0, SubtitleDocument::TimeField::Start, first.startText));
        QVERIFY(!m_document->editTime(0, SubtitleDocument::TimeField::End, u"00:60:00,000"_s));
        QVERIFY(!m_document->deleteSubtitle(5));
        QCOMPARE(m_document->undoStack().count(), 0);

        // Each kind of change names itself for the Edit menu, and all go back.
        QVERIFY(m_document->editTime(4, SubtitleDocument::TimeField::End, u"00:00:13,500"_s));
        QCOMPARE(m_document->insertSubtitle(4, true), 5);
        QVERIFY(m_document->editText(5, u"New"_s));
        QCOMPARE(m_document->undoStack().undoText(), u"Edit text of subtitle 6"_s);
        m_document->undoStack().setIndex(0);
        QVERIFY(corrected().rows() == m_computed);
    }

    // Every time edit keeps to the limits (pinned in tst_editing) with the frame and MinGapMs set, refused a
    // millisecond past them with a message naming the subtitle. Row 3 runs from 11 to 12 s, between rows ending at
    // 10 s and starting at 13 s.
    void timeEditsKeepToTheLimits()
    {
        using Field = SubtitleDocument::TimeField;
        QCOMPARE(m_document->timeRefusal(3, Field::Start, 11'961),
                 u"Show of subtitle 4: 00:00:11,961 must be from 00:00:10,001 to 00:00:11,960"_s);
        m_document->setFrameMs(42);
        m_document->setMinGapMs(83);
        QVERIFY(!m_document->editTimeMs(3, Field::End, 11'041) && !m_document->editTimeMs(3, Field::Start, 10'082)
                && !m_document->moveTimesMs(3, 11'918) && !m_document->moveBoundaryMs(3, 12'959));
        QCOMPARE(m_document->undoStack().count(), 0);
        QVERIFY(m_document->editTimeMs(3, Field::End, 11'042) && m_document->editTimeMs(3, Field::Start, 10'083)
                && m_document->moveTimesMs(3, 11'958) && m_document->moveBoundaryMs(3, 12'916));
        QCOMPARE((QList<qint64>{corrected().startMs(3), corrected().endMs(3), corrected().startMs(4)}),
                 (QList<qint64>{11'958, 12'916, 12'999}));
    }

    void marksFollowTheRows()
    {
        QCOMPARE(m_document->tooFastCount(), 0);
        // Too short for its text: marked with what it lacks.
        QVERIFY(m_document->editTime(3, SubtitleDocument::TimeField::End, u"00:00:11,100"_s));
        QCOMPARE(model().index(3, SubtitleTableModel::CpsColumn).data(Qt::ToolTipRole).toString(),
                 u"lacks 160 ms"_s);
        QCOMPARE(corrected().findTooFast(-1, false), 3);
        QCOMPARE(corrected().findTooFast(3, false), -1);
        QCOMPARE(corrected().findTooFast(5, true), 3);
        m_document->undoStack().undo();
        QCOMPARE(shown(SubtitleTableModel::CpsColumn).at(3), u"6.0"_s);

        // At 15 letters a second only the two short ones fit.
        m_document->setLettersPerSecond(15);
        QCOMPARE(m_document->tooFastCount(), 3);
        QCOMPARE(shown(0, Qt::ToolTipRole), (QStringList{u"Re-broken"_s, u"Split"_s, u"Split"_s, {}, {}}));

        // Hidden before shown, as a file may have it: an error, and then too fast as well.
        QVERIFY(writeFile(file(), srtBlock(1, u"00:00:11,000"_s, u"00:00:10,999"_s, u"Short."_s).toUtf8()));
        QString error;
        Settings noTimeBuying;
        noTimeBuying.BuyTime = false;
        QVERIFY(m_document->load(file(), error) && m_document->correct(noTimeBuying).ok);
        QCOMPARE(model().index(0, SubtitleTableModel::EndColumn).data(Qt::ToolTipRole).toString(),
                 u"Hides before it is shown"_s);
        QCOMPARE(m_document->tooFastCount(), 1);
    }

    // A start moved by the overlap correction alone has a record, a mark and a restore of its own; one moved on a
    // subtitle corrected anyway shares that record. The summary counts them while they stay moved.
    void movedStartsAreReviewable()
    {
        QVERIFY(writeFile(file(), (srtBlock(1, u"00:00:01,000"_s, u"00:00:03,000"_s, u"Hi."_s)
                                   + srtBlock(2, u"00:00:02,000"_s, u"00:00:04,000"_s, u"Ho."_s)
                                   + srtBlock(3, u"00:00:03,500"_s, u"00:00:08,000"_s, LongLine))
                                      .toUtf8()));
        QString error;
        QVERIFY(m_document->load(file(), error));
        Settings settings;
        settings.BuyTime = false;
        QVERIFY(m_document->correct(settings).ok);
        const QString summary = u"Edits: 1 (with 0 time) - 0 time - 0 splits (with 0 time edit), 2 moved"_s;
        QCOMPARE(m_document->summaryText(), summary);
        QCOMPARE(shown(0, Qt::ToolTipRole).mid(1),
                 (QStringList{u"Start moved from 00:00:02,000 to 00:00:03,001"_s,
                              u"Re-broken - Start moved from 00:00:03,500 to 00:00:04,001"_s}));
        const auto kind = [this](int row) {
            return m_document->records().index(row, EditRecordModel::KindColumn).data().toString();
        };
        QCOMPARE((QStringList{kind(0), kind(1)}), (QStringList{u"Moved"_s, u"Edit - Moved"_s}));
        QCOMPARE(m_document->records().rowCount(), 2);

        QVERIFY(m_document->restoreOrReapply({2, 3}));
        QCOMPARE(corrected().row(1).startText, u"00:00:02,000"_s);
        QCOMPARE(corrected().row(2), (SubtitleRow{3, u"00:00:03,500"_s, u"00:00:08,000"_s, LongLine, 3}));
        QVERIFY(!m_document->summaryText().contains(u"moved"_s));
        m_document->undo();
        QCOMPARE(corrected().row(1).startText, u"00:00:03,001"_s);
        QCOMPARE(m_document->summaryText(), summary);
    }

    // A WebVTT file is saved as WebVTT under any name, a row inserted by hand as a cue of its own, a deleted one
    // without leaving its cue behind; the reading speed counts what the viewer sees (25 characters, not 59).
    void webVttKeepsItsFormat()
    {
        const QString vtt = m_dir.filePath(u"every.vtt"_s);
        QVERIFY(writeFile(vtt, EveryKindVtt));
        QString error;
        QVERIFY(m_document->load(vtt, error));
        QCOMPARE(m_document->format(), SubtitleFormat::WebVtt);
        QCOMPARE(m_document->originalModel().index(1, SubtitleTableModel::CpsColumn).data().toString(), u"16.7"_s);
        QVERIFY(m_document->correct(Settings()).ok);
        QCOMPARE(saved(), everyKindCorrected());
        QCOMPARE(model().index(2, SubtitleTableModel::CpsColumn).data().toString(), u"16.7"_s);

        QVERIFY(m_document->editText(m_document->insertSubtitle(5, true), u"New"_s));
        QCOMPARE(saved(), everyKindCorrected().chopped(1) + "\n\n00:18.001 --> 00:18.001\nNew\n");
        m_document->undo();
        m_document->undo();
        QVERIFY(m_document->deleteSubtitle(2));
        QCOMPARE(saved(), everyKindCorrected().replace("00:00:06.500 --> 00:00:08.000 position:10% line:0\n"
                                                       "<c.yellow>Tom &amp; Jerry</c> &lt;3 <b>bold</b> <u>under</u>",
                                                       ""));
    }
};

QTEST_GUILESS_MAIN(TestSubtitleDocument)
#include "tst_subtitledocument.moc"
