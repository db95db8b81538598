// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../media/mediaclips.h"
#include "media/frames/frameprefetcher.h"
#include "support/mainwindowfixture.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "ui/video/filmreview.h"
#include "ui/video/timelineview.h"
#include "ui/video/videoactions.h"
#include "ui/video/videopane.h"
#include "ui/video/videopicture.h"

#include <QApplication>
#include <QDockWidget>
#include <QSlider>
#include <QToolButton>
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
        if (!MediaClips::hasFfmpeg())
            QSKIP("the test clips are made with the ffmpeg program");
        QStandardPaths::setTestModeEnabled(true); // the waveform cache goes to a test folder
        QCOMPARE(MediaClips::make(MediaClips::numberedFrames(4) + MediaClips::tone(4)
                                      + u"-c:v libx264 -bf 2 -g 12 -c:a aac -shortest"_qs, path(u"movie.mp4"_qs)),
                 QString());
        // Subtitle 2 is re-broken, so its text as read and as corrected differ.
        m_movie = path(u"movie.srt"_qs);
        QVERIFY(writeFile(m_movie, (srtBlock(1, u"00:00:00,480"_qs, u"00:00:00,900"_qs, u"One."_qs)
                                    + srtBlock(2, u"00:00:01,050"_qs, u"00:00:01,960"_qs, LongText)
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
        QCOMPARE(picture.subtitle(), s().window->originalModel().row(row).text);
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
            QCOMPARE(film().videoPane().picture().subtitle(), s().corrected().text(row));
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

    // An edge dragged moves that time by the distance, the body both; each is one step of the
    // history, and a time the boxes would refuse springs back.
    void dragsChangeTimesInOneStep()
    {
        TimelineView &view = film().timeline();
        view.setSpanMs(4'000);
        view.setViewStartMs(0);
        QTRY_VERIFY(view.boxOf(true, 1).isValid());
        const QRectF box = view.boxOf(true, 1);
        const double pixelsPerSecond = view.width() / 4.0;
        const auto drag = [&](QPointF from, double dx) {
            QTest::mousePress(&view, Qt::LeftButton, {}, from.toPoint());
            QTest::mouseMove(&view, (from + QPointF(dx / 2, 0)).toPoint());
            QTest::mouseMove(&view, (from + QPointF(dx, 0)).toPoint());
            QTest::mouseRelease(&view, Qt::LeftButton, {}, (from + QPointF(dx, 0)).toPoint());
        };
        const auto ms = [&](double pixels) { return qint64(std::llround(std::round(pixels) / pixelsPerSecond * 1000)); };

        drag(QPointF(box.right(), box.center().y()), 40);
        QVERIFY(std::abs(s().corrected().endMs(1) - (1960 + ms(40))) <= 1);
        QCOMPARE(s().corrected().startMs(1), 1050);
        QCOMPARE(s().action(u"mnuUndo"_qs)->text(), u"Undo Edit time of subtitle 2"_qs);

        drag(view.boxOf(true, 1).center(), -20);
        QVERIFY(std::abs(s().corrected().startMs(1) - (1050 - ms(20))) <= 1);
        s().action(u"mnuUndo"_qs)->trigger();
        QCOMPARE(s().corrected().startMs(1), 1050);
        QVERIFY(std::abs(s().corrected().endMs(1) - (1960 + ms(40))) <= 1);
        s().action(u"mnuUndo"_qs)->trigger();
        QCOMPARE(s().corrected().endMs(1), 1960);

        // Before the film's start: refused, nothing to undo.
        drag(QPointF(view.boxOf(true, 0).left(), box.center().y()), -pixelsPerSecond);
        QCOMPARE(s().corrected().startMs(0), 480);
        QVERIFY(!s().action(u"mnuUndo"_qs)->isEnabled());
    }

    // A file that is no film, dropped on the window: said with its name; the subtitles stay as they were.
    void aFileThatIsNoFilmIsSaid()
    {
        clickRow(s().list2, 0);
        QLineEdit *end = s().line(u"txtEndTime"_qs);
        end->setText(u"00:00:00,950"_qs);
        QTest::keyClick(end, Qt::Key_Return);
        const std::vector<SubtitleRow> rows = s().corrected().rows();
        const QString notAFilm = path(u"not a film.mp4"_qs);
        QVERIFY(writeFile(notAFilm, "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"));
        s().drop(notAFilm);
        QTRY_COMPARE(s().prompter.warned.size(), 1);
        QVERIFY(s().prompter.warned.first().contains(notAFilm));
        QVERIFY(!film().player().isLoaded());
        QVERIFY(!s().window->findChild<QDockWidget *>(u"dockVideo"_qs)->isVisible());
        QCOMPARE(s().corrected().rows(), rows);
        QCOMPARE(s().label(u"lblStatus2"_qs), u"Not saved"_qs);
    }
};

QTEST_MAIN(TestFilmReview)
#include "tst_filmreview.moc"
