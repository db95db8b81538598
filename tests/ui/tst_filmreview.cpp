// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../media/mediaclips.h"
#include "media/frames/frameprefetcher.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "document/timecode.h"
#include "media/videoplayer.h"
#include "ui/video/filmreview.h"
#include "ui/video/timeline/timelineview.h"
#include "ui/video/videoactions.h"
#include "ui/video/videopane.h"
#include "ui/video/videopicture.h"

#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QUndoStack>
#include <QStandardPaths>
#include <QTemporaryDir>

// The film beside the subtitles, through the window.
class TestFilmReview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindowFixture> m_s;
    QString m_movie;

    MainWindowFixture &s() { return *m_s; }
    FilmReview &film() { return s().window->filmReview(); }
    // The timeline 4 s across from 0, so a pixel is a few milliseconds.
    TimelineView &view()
    {
        TimelineView &view = film().timeline();
        view.setSpanMs(4'000);
        view.setViewStartMs(0);
        return view;
    }
    double pixelsPerSecond() { return view().width() / 4.0; }
    void drag(QPointF from, double dx, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(&view(), Qt::LeftButton, modifiers, from.toPoint());
        QTest::mouseMove(&view(), (from + QPointF(dx / 2, 0)).toPoint());
        QTest::mouseMove(&view(), (from + QPointF(dx, 0)).toPoint());
        QTest::mouseRelease(&view(), Qt::LeftButton, modifiers, (from + QPointF(dx, 0)).toPoint());
    }
    QList<qint64> times(int row) { return {s().corrected().startMs(row), s().corrected().endMs(row)}; }
    QString undoText() { return s().action(u"mnuUndo"_qs)->text(); }
    void seek(qint64 ms)
    {
        film().player().seek(ms);
        QTRY_VERIFY(film().player().positionMs() <= ms && film().player().positionMs() > ms - 40);
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The number in the picture the pane was given, black bars cut off.
    int shownFrame()
    {
        const QImage frame = film().player().frame();
        QRect picture(QPoint(), QSize(MediaClips::width, MediaClips::height).scaled(frame.size(), Qt::KeepAspectRatio));
        picture.moveCenter(frame.rect().center());
        return MediaClips::frameNumberIn(frame.copy(picture));
    }

private slots:
    void initTestCase()
    {
        VideoPlayer::prepareProcess();
        if (!MediaClips::hasFfmpeg())
            QSKIP("the test clips are made with the ffmpeg program");
        QStandardPaths::setTestModeEnabled(true); // the waveform cache goes to a test folder
        QCOMPARE(MediaClips::make(MediaClips::numberedFrames(4) + MediaClips::tone(4)
                                      + u"-c:v libx264 -bf 2 -g 12 -c:a aac -shortest"_qs, path(u"movie.mp4"_qs)),
                 QString());
        // Subtitle 2 is re-broken, so its text as read and as corrected differ; it ends 1 ms before 3 starts.
        m_movie = path(u"movie.srt"_qs);
        QVERIFY(writeFile(m_movie, (srtBlock(1, u"00:00:00,480"_qs, u"00:00:00,900"_qs, u"One."_qs)
                                    + srtBlock(2, u"00:00:01,050"_qs, u"00:00:02,998"_qs, LongText)
                                    + srtBlock(3, u"00:00:02,999"_qs, u"00:00:03,500"_qs, u"<i>Three.</i>"_qs))
                                       .toUtf8()));
        QVERIFY(writeFile(path(u"Quillmend.ini"_qs), "[General]\r\nShowMessage=0\r\nBuyTime=0\r\n"));
    }

    void init()
    {
        m_s = std::make_unique<MainWindowFixture>(path(u"Quillmend.ini"_qs));
        QVERIFY(s().show() && s().openAndCorrect(m_movie)); // the film beside the subtitles opens with them
        QTRY_VERIFY(film().player().isLoaded());
        QTRY_VERIFY(s().window->findChild<QDockWidget *>(u"dockVideo"_qs)->isVisible());
    }
    void cleanup() { m_s.reset(); }

    // A first start with a film: maximised below 1600 by 900, both lists' texts in sight beside each other, the
    // video beside the timeline under them.
    void firstStartShowsTextsVideoAndTimeline()
    {
        MainWindow &window = *s().window;
        QVERIFY(window.isMaximized());
        for (QTableView *list : {s().list1, s().list2}) {
            const int textShown = list->viewport()->width() - list->columnViewportPosition(SubtitleTableModel::TextColumn);
            QVERIFY2(textShown >= window.screen()->availableGeometry().width() / 5, qPrintable(QString::number(textShown)));
        }
        const auto *video = window.findChild<QDockWidget *>(u"dockVideo"_qs);
        const auto *timeline = window.findChild<QDockWidget *>(u"dockTimeline"_qs);
        QCOMPARE(window.dockWidgetArea(const_cast<QDockWidget *>(video)), Qt::BottomDockWidgetArea);
        QVERIFY(timeline->isVisible() && timeline->geometry().right() < video->geometry().left());
        QTRY_VERIFY(timeline->width() > 2 * video->width() && film().videoPane().picture().height() >= 180);
    }

    // The frame on screen at the start, to the frame, at 25 a second:
    // 0.480 s is frame 12, 1.050 s frame 26, 2.999 s still frame 74.
    void selectionShowsTheFrameOfItsStart_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("frame");
        QTest::newRow("on a frame's start") << 0 << 12;
        QTest::newRow("within a frame") << 1 << 26;
        QTest::newRow("a millisecond before the next") << 2 << 74;
    }

    void selectionShowsTheFrameOfItsStart()
    {
        QFETCH(int, row);
        QFETCH(int, frame);
        clickRow(s().list2, row);
        QTRY_COMPARE(shownFrame(), frame);
        const VideoPicture &picture = film().videoPane().picture();
        QTRY_COMPARE(picture.subtitle(), s().corrected().row(row).text);
        film().actions().mnuShowOriginal->trigger(); // as read
        QCOMPARE(picture.subtitle(), s().window->originalList().row(row).text);
        film().actions().mnuShowOriginal->trigger();
    }

    // Stepping through the corrections and the rows shows each frame decoded ahead at once, with its subtitle and
    // number, without waiting for the player: 1.050 s is frame 26 (the correction), 2.999 s frame 74.
    void steppingShowsFramesDecodedAheadAtOnce()
    {
        clickRow(s().list2, 0);
        QTRY_COMPARE(shownFrame(), 12);
        const auto *ahead = film().player().findChild<FramePrefetcher *>();
        QVERIFY(ahead);
        const auto step = [&](Qt::KeyboardModifier modifier, Qt::Key key, qint64 ms, int row, int frame) {
            QTRY_VERIFY(ahead->cache().find(ms, film().player().frameSize()));
            QTest::keyClick(s().window.get(), key, modifier);
            QCoreApplication::processEvents(); // no waiting for the player
            QCOMPARE(shownFrame(), frame);
            QCOMPARE(film().videoPane().picture().subtitle(), s().corrected().row(row).text);
            QVERIFY(s().label(u"lblVideoPosition"_qs).endsWith(u"#"_qs + QString::number(frame)));
        };
        step(Qt::ControlModifier, Qt::Key_Down, 1050, 1, 26); // the next correction
        step(Qt::AltModifier, Qt::Key_Down, 2999, 2, 74);     // the next row
        step(Qt::ControlModifier, Qt::Key_Up, 1050, 1, 26);   // the previous correction
    }

    // The speaker mutes and says so; a click on the volume puts it there, and a volume chosen is heard.
    void volumeAndMute()
    {
        QSlider &volume = film().videoPane().volume();
        QToolButton &mute = film().videoPane().muteButton();
        QCOMPARE(mute.toolTip(), u"Mute"_qs);
        QCOMPARE(film().player().volume(), 100);
        mute.click();
        QVERIFY(mute.isChecked());
        QCOMPARE(film().player().volume(), 0);
        QCOMPARE(volume.value(), 100); // kept for unmuting, and saved
        mute.click();
        QCOMPARE(film().player().volume(), 100);

        mute.click();
        QTest::mouseClick(&volume, Qt::LeftButton, {}, volume.rect().center());
        QVERIFY2(std::abs(volume.value() - 50) <= 2, qPrintable(QString::number(volume.value())));
        QVERIFY(!mute.isChecked());
        QCOMPARE(film().player().volume(), volume.value());
    }

    // A drag moves an edge by the distance, the body both, each one step of the history; past a limit it stops there
    // (a frame is 40 ms at 25 a second), which is drawn while it rests there. An edge is taken a pixel inside its box.
    void dragsStopAtTheirLimits_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("part"); // start, end, body
        QTest::addColumn<double>("seconds"); // how far the pointer goes
        QTest::addColumn<QList<qint64>>("expected"); // start and end; -1: moved as far as the pointer
        QTest::addColumn<qint64>("limitMs"); // drawn; -1: none, or under the play line
        QTest::newRow("a start, later") << 1 << u"start"_qs << 0.1 << QList<qint64>{-1, 2998} << -1LL;
        QTest::newRow("a start past its own end: a frame before it")
            << 1 << u"start"_qs << 3.0 << QList<qint64>{2958, 2998} << 2958LL;
        QTest::newRow("an end, earlier") << 1 << u"end"_qs << -0.2 << QList<qint64>{1050, -1} << -1LL;
        QTest::newRow("an end into the next: 1 ms before it")
            << 0 << u"end"_qs << 0.5 << QList<qint64>{480, 1049} << 1049LL;
        QTest::newRow("a start before zero") << 0 << u"start"_qs << -1.0 << QList<qint64>{0, 900} << -1LL;
        QTest::newRow("a box, earlier") << 1 << u"body"_qs << -0.05 << QList<qint64>{-1, -1} << -1LL;
        QTest::newRow("a box into the one before") << 1 << u"body"_qs << -1.0 << QList<qint64>{901, 2849} << 901LL;
    }

    void dragsStopAtTheirLimits()
    {
        QFETCH(int, row);
        QFETCH(QString, part);
        QFETCH(double, seconds);
        QFETCH(QList<qint64>, expected);
        QFETCH(qint64, limitMs);
        QTRY_VERIFY(view().boxOf(true, row).isValid());
        const QRectF box = view().boxOf(true, row);
        const double x = part == u"start" ? box.left() + 1 : part == u"end" ? box.right() - 1 : box.center().x();
        const QPoint from = QPointF(x, box.center().y()).toPoint();
        const int dx = int(std::round(seconds * pixelsPerSecond()));
        const QList<qint64> before = times(row);
        QTest::mousePress(&view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&view(), from + QPoint(dx, 0));
        if (limitMs >= 0)
            QCOMPARE(view().grab().toImage().pixelColor(int(std::round(view().xOf(limitMs))), from.y()),
                     QColor(230, 120, 0));
        QTest::mouseRelease(&view(), Qt::LeftButton, {}, from + QPoint(dx, 0));
        const qint64 movedMs = qint64(std::llround(dx / pixelsPerSecond() * 1000));
        for (const int i : {0, 1})
            QCOMPARE(times(row)[i], expected[i] < 0 ? before[i] + movedMs : expected[i]);
        QCOMPARE(undoText(), u"Undo Edit time of subtitle %1"_qs.arg(row + 1));
        s().action(u"mnuUndo"_qs)->trigger();
        QCOMPARE(times(row), before);
    }

    // Subtitles 2 and 3 touch (1 ms apart): the edge there is the selected one's, else that of the box under the
    // pointer; with Alt both move, still 1 ms apart. The cursor says which edge: a bracket opening toward its box.
    void touchingBoxesShareTheirBoundaryAsSaid_data()
    {
        QTest::addColumn<int>("selected"); // corrected row; -1 none
        QTest::addColumn<bool>("overLeft"); // the pointer over subtitle 2, else over 3
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QString>("moves"); // end (of 2), start (of 3), both
        QTest::newRow("over the box before: its end") << -1 << true << false << u"end"_qs;
        QTest::newRow("over the box after: its start") << -1 << false << false << u"start"_qs;
        QTest::newRow("the one after selected, over the one before") << 2 << true << false << u"start"_qs;
        QTest::newRow("the one before selected, over the one after") << 1 << false << false << u"end"_qs;
        QTest::newRow("with Alt: the boundary") << -1 << true << true << u"both"_qs;
    }

    void touchingBoxesShareTheirBoundaryAsSaid()
    {
        QFETCH(int, selected);
        QFETCH(bool, overLeft);
        QFETCH(bool, alt);
        QFETCH(QString, moves);
        if (selected >= 0)
            clickRow(s().list2, selected);
        const auto cursorAt = [this](QPointF at, Qt::KeyboardModifiers modifiers) {
            QMouseEvent move(QEvent::MouseMove, at, view().mapToGlobal(at), Qt::NoButton, Qt::NoButton, modifiers);
            QApplication::sendEvent(&view(), &move);
            return view().cursor().pixmap().toImage();
        };
        // Against the cursors of a lone start and a lone end: subtitle 1's edges.
        const QRectF first = view().boxOf(true, 0);
        const QImage startCursor = cursorAt(QPointF(first.left() + 1, first.center().y()), {});
        const QImage endCursor = cursorAt(QPointF(first.right() - 1, first.center().y()), {});
        QVERIFY(!startCursor.isNull() && startCursor != endCursor);
        const double boundary = view().xOf(2998); // 2999 is less than a pixel after it
        const QPointF at(overLeft ? boundary - 1.5 : boundary + 1.5, first.center().y());
        const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;
        const QImage cursor = cursorAt(at, modifiers);
        QCOMPARE((QList<bool>{cursor == startCursor, cursor == endCursor}),
                 (QList<bool>{moves == u"start", moves == u"end"}));
        // The way each edge is free to go: an end earlier, a start later.
        const double dx = moves == u"start" ? 10 : -10;
        drag(at, dx, modifiers);
        const qint64 movedMs = qint64(std::llround(dx / pixelsPerSecond() * 1000));
        QCOMPARE((QList<qint64>{s().corrected().endMs(1), s().corrected().startMs(2)}),
                 (QList<qint64>{moves == u"start" ? 2998 : 2998 + movedMs, moves == u"end" ? 2999 : 2999 + movedMs}));
    }

    // The boxes and the picture follow every change of the selected row: after a drag of its end, Enter in the box
    // makes no step; typing not yet applied goes in before the next drag and stays, and the picture shows the start
    // typed; undo brings the start and its picture back. A double-click on a box shows its start, not the spot.
    // A drag lets go when an undo changes its rows under it.
    void boxesAndPictureFollowTheRow()
    {
        clickRow(s().list2, 1);
        QTRY_COMPARE(shownFrame(), 26);
        QLineEdit *start = s().line(u"txtStartTime"_qs);
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        const QRectF box = view().boxOf(true, 1);
        drag(QPointF(box.right() - 1, box.center().y()), -20);
        QVERIFY(end->text() == s().corrected().row(1).endText && end->text() != u"00:00:02,998"_qs);
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Return);
        const QUndoStack &history = s().window->document().undoStack();
        QCOMPARE(history.count(), 1);
        // An undo by key during a drag lets go of the drag.
        const QPoint grip = QPointF(box.right() - 21, box.center().y()).toPoint();
        QTest::mousePress(&view(), Qt::LeftButton, {}, grip);
        QTest::mouseMove(&view(), grip - QPoint(20, 0));
        s().action(u"mnuUndo"_qs)->trigger();
        QTest::mouseRelease(&view(), Qt::LeftButton, {}, grip - QPoint(20, 0));
        QCOMPARE(std::pair(history.index(), s().corrected().row(1).endText), std::pair(0, u"00:00:02,998"_qs));
        s().action(u"mnuRedo"_qs)->trigger();

        start->setFocus();
        start->setText(u"00:00:01,300"_qs);
        drag(QPointF(box.right() - 21, box.center().y()), -20);
        QCOMPARE((QStringList{s().corrected().row(1).startText, start->text(), end->text()}),
                 (QStringList{u"00:00:01,300"_qs, u"00:00:01,300"_qs, s().corrected().row(1).endText}));
        QCOMPARE(history.count(), 3);
        QTRY_COMPARE(shownFrame(), 32);
        s().action(u"mnuUndo"_qs)->trigger();
        s().action(u"mnuUndo"_qs)->trigger();
        QCOMPARE(start->text(), u"00:00:01,050"_qs);
        QTRY_COMPARE(shownFrame(), 26);

        const QRectF third = view().boxOf(true, 2);
        const QPoint spot = QPointF(third.right() - 5, third.center().y()).toPoint();
        QTest::mouseClick(&view(), Qt::LeftButton, {}, spot);
        QTest::mousePress(&view(), Qt::LeftButton, {}, spot);
        QTest::mouseDClick(&view(), Qt::LeftButton, {}, spot); // as a second click's press and release bring it
        QTest::mouseRelease(&view(), Qt::LeftButton, {}, spot);
        QCOMPARE(selectedRow(s().list2), 2);
        QTRY_COMPARE(shownFrame(), 74);
        QTest::qWait(300);
        QCOMPARE(shownFrame(), 74);
    }

    // Start and end set from the film: one step, within the limits; a time past them is refused, naming the
    // subtitle. The speed chosen, and playing from a second before a subtitle to a second after it.
    void timesFromTheFilm()
    {
        clickRow(s().list2, 1); // 1.050 to 2.998
        seek(1'500);
        const qint64 endMs = film().player().positionMs();
        film().actions().mnuSetEndFromVideo->trigger();
        QCOMPARE(times(1), (QList<qint64>{1050, endMs}));
        QCOMPARE(undoText(), u"Undo Edit time of subtitle 2"_qs);
        seek(2'000);
        film().actions().mnuSetStartFromVideo->trigger();
        QCOMPARE(times(1), (QList<qint64>{1050, endMs}));
        QCOMPARE(s().prompter.warned,
                 QStringList{u"Show of subtitle 2: %1 must be from 00:00:00,901 to %2"_qs.arg(
                     MillisecondsToTimeText(film().player().positionMs()), MillisecondsToTimeText(endMs - 40))});

        s().action(u"mnuSpeed200"_qs)->trigger();
        QCOMPARE(std::pair(film().player().speed(), film().videoPane().speed().text()), std::pair(2.0, u"2x"_qs));
        clickRow(s().list2, 0); // 0.480 to 0.900: played from 0 to 1.900
        film().actions().mnuPlayAround->trigger();
        QTRY_VERIFY(!film().player().isPaused());
        QTRY_VERIFY(film().player().isPaused());
        QVERIFY(std::abs(film().player().positionMs() - 1'900) <= 80);
    }

    // Until the first correction, the subtitles as read are drawn over the picture.
    void subtitlesAsReadBeforeACorrection()
    {
        s().prompter.answers = {Prompter::Answer::No};
        s().open(m_movie);
        QVERIFY(!s().window->document().isCorrected() && film().isOpen());
        seek(1'100);
        QTRY_COMPARE(film().videoPane().picture().subtitle(), LongText);
    }

    // After Cancel, the waveform comes back from Video › Compute waveform, which the words in its place offer.
    void waveformComputedAgainAfterCancel()
    {
        // Cancelled as soon as the film has loaded and its waveform begun, before the cache can answer.
        auto *cancel = s().window->findChild<QToolButton *>(u"cmdCancelWaveform"_qs);
        QSignalSpy loaded(&film().player(), &VideoPlayer::loaded);
        connect(&film().player(), &VideoPlayer::loaded, cancel, &QToolButton::click, Qt::SingleShotConnection);
        film().openVideo(path(u"movie.mp4"_qs));
        QVERIFY(loaded.wait(10'000));
        TimelineView &timeline = view();
        QVERIFY(!timeline.hasWaveform());
        QTest::mouseClick(&timeline, Qt::LeftButton, {}, timeline.waveformLinkRect().center().toPoint());
        QTRY_VERIFY(timeline.hasWaveform());
        QVERIFY(timeline.waveformLinkRect().isEmpty());
    }

    // Box labels read as text, tags gone; a lane's name stays on show over a box at the lane's left edge.
    void laneNamesAndBoxLabels()
    {
        TimelineView &timeline = view();
        QCOMPARE(timeline.boxLabel(true, 2), u"3 Three."_qs);
        timeline.setViewStartMs(1'500);
        const QRectF box = timeline.boxOf(true, 1);
        QVERIFY(box.left() < 0);
        const QImage shown = timeline.grab().toImage();
        const int y = int(box.bottom()) - 2;
        const int pastName = timeline.fontMetrics().horizontalAdvance(s().label(u"Label4"_qs)) + 20;
        QVERIFY(shown.pixelColor(1, y) != shown.pixelColor(pastName, y));
    }

    // Closing the window takes the views down before the document they show.
    void viewsGoBeforeTheDocument()
    {
        QStringList gone;
        QObject::connect(&view(), &QObject::destroyed, [&gone] { gone << u"timeline"_qs; });
        QObject::connect(&s().window->document(), &QObject::destroyed, [&gone] { gone << u"document"_qs; });
        m_s.reset();
        QCOMPARE(gone, (QStringList{u"timeline"_qs, u"document"_qs}));
    }

    // A file that is no film, dropped on the window: said with its name; the subtitles and the film open stay as they
    // were. A sound file dropped then shows no picture, not the film's last frame.
    void aFileThatIsNoFilmIsSaid()
    {
        clickRow(s().list2, 0);
        QTRY_COMPARE(shownFrame(), 12);
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        end->setText(u"00:00:00,950"_qs);
        QTest::keyClick(end, Qt::Key_Return);
        const std::vector<SubtitleRow> rows = s().corrected().rows();
        const QString notAFilm = path(u"not a film.mp4"_qs);
        QVERIFY(writeFile(notAFilm, "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"));
        s().drop(notAFilm);
        QTRY_COMPARE(s().prompter.warned.size(), 1);
        QVERIFY(s().prompter.warned.first().contains(notAFilm));
        QCOMPARE(film().player().path(), path(u"movie.mp4"_qs));
        QVERIFY(film().player().isLoaded());
        QVERIFY(s().window->findChild<QDockWidget *>(u"dockVideo"_qs)->isVisible());
        QCOMPARE(shownFrame(), 12);
        QCOMPARE(s().corrected().rows(), rows);
        QCOMPARE(s().label(u"lblStatus2"_qs), u"Not saved"_qs);

        const QString sound = path(u"sound.wav"_qs);
        QCOMPARE(MediaClips::make(MediaClips::tone(2), sound), QString());
        s().drop(sound);
        QTRY_COMPARE(film().player().path(), sound);
        QTRY_VERIFY(film().player().isLoaded());
        QTRY_COMPARE(shownFrame(), -1);
        QCOMPARE(s().prompter.warned.size(), 1);
    }
};

QTEST_MAIN(TestFilmReview)
#include "tst_filmreview.moc"
