// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../media/mediaclips.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "app/cli/clirunner.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "media/peakcache.h"
#include "ui/shots/filmshots.h"
#include "ui/video/filmreview.h"
#include "ui/video/timeline/timelineview.h"
#include "ui/video/videoactions.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

using namespace Qt::StringLiterals;

// A film's shot changes in the window: found with the waveform, drawn and stepped through, snapped to, imported and
// exported, and used by F8 as quillmend-cli --video uses them.
class TestShotReview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindowFixture> m_s;
    QString m_movie;

    MainWindowFixture &s() { return *m_s; }
    FilmReview &film() { return s().window->filmReview(); }
    FilmShots &shots() { return film().shots(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QList<qint64> times(int row) { return {s().corrected().startMs(row), s().corrected().endMs(row)}; }
    // A film of its own, so its cuts are not in the cache yet.
    QString freshFilm(const QString &name)
    {
        QFile::copy(path(u"movie.mp4"_s), path(name));
        return path(name);
    }

private slots:
    void initTestCase()
    {
        if (!MediaClips::hasFfmpeg())
            QSKIP("the test clips are made with the ffmpeg program");
        QStandardPaths::setTestModeEnabled(true);
        QDir(PeakCache::defaultFolder()).removeRecursively();
        // Three shots of a second at 25 frames a second: cuts at 1.000 and 2.000.
        QCOMPARE(MediaClips::make(MediaClips::tone(3)
                                      + u"-filter_complex testsrc2=s=320x180:r=25:d=1[a];mandelbrot=s=320x180:r=25,"
                                        u"trim=end_frame=25,format=yuv420p[b];sierpinski=s=320x180:r=25:seed=3,"
                                        u"trim=end_frame=25,format=yuv420p[c];[a][b][c]concat=n=3:v=1:a=0[v] "
                                        u"-map [v] -map 0:a -c:v libx264 -c:a aac -shortest"_s,
                                  path(u"movie.mp4"_s)),
                 QString());
        // The first is lengthened towards the cut at 1.000 and stops 2 frames before it; the third starts 5 frames
        // after the cut at 2.000 and goes onto it.
        m_movie = path(u"movie.srt"_s);
        QVERIFY(writeFile(m_movie, (srtBlock(1, u"00:00:00,100"_s, u"00:00:00,500"_s, LongText)
                                    + srtBlock(2, u"00:00:01,500"_s, u"00:00:01,700"_s, u"Short one."_s)
                                    + srtBlock(3, u"00:00:02,200"_s, u"00:00:02,900"_s, u"Third one here."_s))
                                       .toUtf8()));
        QVERIFY(writeFile(path(u"Quillmend.ini"_s), "[General]\r\nShowMessage=0\r\nShotChanges=-1\r\n"));
    }

    void init()
    {
        QVERIFY(writeFile(path(u"work.srt"_s), readFile(m_movie)));
        QFile::remove(path(u"work.srt.bak"_s));
        QFile::copy(path(u"movie.mp4"_s), path(u"work.mp4"_s));
        m_s = std::make_unique<MainWindowFixture>(path(u"Quillmend.ini"_s));
        QVERIFY(s().show());
        s().open(path(u"work.srt"_s)); // its film opens with it, and its cuts are found
        QTRY_VERIFY(film().isOpen());
        QTRY_COMPARE(shots().state(), FilmShots::State::Found);
        QVERIFY(s().correct());
        QTRY_VERIFY(s().window->document().isCorrected());
    }
    void cleanup() { m_s.reset(); }
    void cleanupTestCase() { QDir(PeakCache::defaultFolder()).removeRecursively(); }

    // The cuts are drawn across the timeline and stepped through, forward and back.
    void cutsAreDrawnAndSteppedThrough()
    {
        QCOMPARE(shots().cutMs(), (std::vector<qint64>{1000, 2000}));
        TimelineView &view = film().timeline();
        view.setSpanMs(4'000);
        view.setViewStartMs(0);
        const QImage shown = view.grab().toImage();
        const int x = int(std::round(view.xOf(1000)));
        QCOMPARE(shown.pixelColor(x, view.height() - 4) == shown.pixelColor(x + 6, view.height() - 4), false);
        film().player().seek(500);
        QTRY_VERIFY(std::abs(film().player().positionMs() - 500) < 40);
        for (const auto &[action, expectedMs] : {std::pair{u"mnuNextShotChange"_s, 1000}, std::pair{u"mnuNextShotChange"_s, 2000},
                                              std::pair{u"mnuPrevShotChange"_s, 1000}}) {
            s().action(action)->trigger();
            QTRY_VERIFY(std::abs(film().player().positionMs() - expectedMs) <= 1);
        }
    }

    // An edge dragged to within 8 pixels of a cut goes onto it, as far as the next subtitle (on the cut since the
    // correction) lets it; Shift places it freely. A whole number of milliseconds a pixel, so pixels are exact.
    void dragsSnapToCuts_data()
    {
        QTest::addColumn<int>("pixels"); // from the cut, where the pointer leaves the edge
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("snaps");
        QTest::newRow("7 pixels") << 7 << false << true;
        QTest::newRow("8 pixels") << 8 << false << true;
        QTest::newRow("9 pixels") << 9 << false << false;
        QTest::newRow("7 pixels with Shift") << 7 << true << false;
    }

    void dragsSnapToCuts()
    {
        QFETCH(int, pixels);
        QFETCH(bool, shift);
        QFETCH(bool, snaps);
        TimelineView &view = film().timeline();
        qint64 msPerPixel = 4; // one that 920 and 1000 are multiples of
        for (const qint64 each : {5, 8, 10, 20}) {
            if (view.width() * msPerPixel < TimelineView::MinimumSpanMs)
                msPerPixel = each;
        }
        view.setSpanMs(view.width() * msPerPixel);
        view.setViewStartMs(0);
        const qint64 startMs = s().corrected().startMs(0);
        QCOMPARE(s().corrected().endMs(0), 920);
        const int from = int(view.xOf(920)) - 1;
        const int to = from + int(view.xOf(1000) - view.xOf(920)) - pixels;
        const int y = int(view.boxOf(true, 0).center().y());
        const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::mousePress(&view, Qt::LeftButton, modifiers, QPoint(from, y));
        QTest::mouseMove(&view, QPoint(to, y));
        QTest::mouseRelease(&view, Qt::LeftButton, modifiers, QPoint(to, y));
        const qint64 endMs = snaps ? s().corrected().startMs(1) - 1 : 1000 - pixels * msPerPixel;
        QCOMPARE(times(0), (QList<qint64>{startMs, endMs}));
        // A snap still keeps to the limits: the start a frame before the end at most.
        const int start = int(view.xOf(startMs)) + 1;
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(start, y));
        QTest::mouseMove(&view, QPoint(int(view.xOf(1000)) + 2, y));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(int(view.xOf(1000)) + 2, y));
        QCOMPARE(s().corrected().startMs(0), endMs - 40);
    }

    // A list that cannot be read is refused naming the file and line, the cuts stay; a good one replaces them, and
    // the cuts are exported as a plain list.
    void cutListsInAndOut()
    {
        QVERIFY(writeFile(path(u"bad.txt"_s), "0.500\n1,5\n"));
        s().files.toOpen = {path(u"bad.txt"_s)};
        s().action(u"mnuImportShotChanges"_s)->trigger();
        QCOMPARE(s().prompter.warned.size(), 1);
        QVERIFY(s().prompter.warned.first().contains(path(u"bad.txt"_s)));
        QVERIFY(s().prompter.warned.first().contains(u"line 2"_s));
        QCOMPARE(shots().cutMs(), (std::vector<qint64>{1000, 2000}));

        s().files.toSave = path(u"cuts.txt"_s);
        s().action(u"mnuExportShotChanges"_s)->trigger();
        QCOMPARE(readFile(path(u"cuts.txt"_s)), QByteArray("1.000\n2.000\n"));
        QVERIFY(writeFile(path(u"good.txt"_s), "# fps 25\n0.480\n"));
        s().files.toOpen = {path(u"good.txt"_s)};
        s().action(u"mnuImportShotChanges"_s)->trigger();
        QCOMPARE(shots().cutMs(), (std::vector<qint64>{480}));
    }

    // F8 while the cuts are being found waits, the window free; Cancel corrects without them and says so. Without
    // Cancel it corrects with them once found.
    void correctionWaitsForTheCuts()
    {
        for (const bool cancel : {true, false}) {
            film().openVideo(freshFilm(cancel ? u"first.mp4"_s : u"second.mp4"_s));
            QVERIFY(shots().isFinding());
            s().action(u"mnuEditSubs"_s)->trigger();
            QCOMPARE(s().label(u"lblStatus"_s), GetLangText(s().lang, Form1Msg::WaitingForShotChanges));
            if (cancel)
                s().window->findChild<QToolButton *>(u"cmdCancelWaveform"_s)->click();
            QTRY_VERIFY(!shots().isFinding());
            QTRY_VERIFY(s().label(u"lblStatus"_s) != GetLangText(s().lang, Form1Msg::WaitingForShotChanges));
            QCOMPARE(s().label(u"lblStatus"_s).endsWith(GetLangText(s().lang, Form1Msg::CorrectedWithoutShotChanges)), cancel);
            QCOMPARE(s().corrected().endMs(0) == 920, !cancel);
        }
    }

    // A row whose end the rule chose says why in its tooltip; Ctrl-R puts the end the correction would have written
    // without the rule, in one step, as far as the next subtitle (which the rule moved onto the cut) lets it; a
    // second Ctrl-R restores the subtitle as read.
    void restoreOfARuleChosenTime()
    {
        const QModelIndex number = s().window->document().correctedModel().index(0, SubtitleTableModel::NumberColumn);
        QVERIFY(number.data(Qt::ToolTipRole).toString().contains(u"End kept 2 frames before the shot change at 00:00:01,000"_s));
        clickRow(s().list2, 0);
        s().action(u"mnuRestoreOriginal"_s)->trigger();
        QCOMPARE(s().corrected().endMs(0), s().corrected().startMs(1) - 1);
        QCOMPARE(s().window->document().undoStack().count(), 1);
        s().action(u"mnuRestoreOriginal"_s)->trigger();
        QCOMPARE(times(0), (QList<qint64>{100, 500}));
    }

    // The window's F8 and save write the bytes quillmend-cli --video writes.
    void windowWritesWhatTheCliWrites()
    {
        s().action(u"mnuSave"_s)->trigger();
        QVERIFY(writeFile(path(u"cli.srt"_s), readFile(m_movie)));
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(runCli({u"quillmend-cli"_s, u"--settings"_s, path(u"Quillmend.ini"_s), u"--video"_s,
                         path(u"work.mp4"_s), path(u"cli.srt"_s)},
                        outStream, errStream, {path(u"default.ini"_s), {QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}}),
                 0);
        QCOMPARE(readFile(path(u"work.srt"_s)), readFile(path(u"cli.srt"_s)));
        QVERIFY(readFile(path(u"work.srt"_s)) != readFile(m_movie));
    }
};

QTEST_MAIN(TestShotReview)
#include "tst_shotreview.moc"
