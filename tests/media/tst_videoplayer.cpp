// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/videoplayer.h"

#include "lang/langdoc.h"
#include "media/mediaclips.h"
#include "support/testfiles.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;
using Kind = MediaError::Kind;

// The player over clips whose frames show their own number: a seek shows
// the frame on screen at the time asked, and bad files fail with a reason.
class TestVideoPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<VideoPlayer>> m_players;

    QString clip(const QString &name) const { return m_dir.filePath(name); }

    // A player with file loaded, kept for the rows that follow.
    VideoPlayer *loaded(const QString &file)
    {
        auto &player = m_players[file];
        if (!player) {
            player = std::make_unique<VideoPlayer>(VideoPlayer::AudioOutput::None);
            QSignalSpy ready(player.get(), &VideoPlayer::loaded);
            player->open(clip(file));
            if (!ready.wait(10'000))
                return nullptr;
        }
        return player.get();
    }

    static bool seekTo(VideoPlayer &player, qint64 ms)
    {
        QSignalSpy finished(&player, &VideoPlayer::seekFinished);
        player.seek(ms);
        return finished.wait(10'000);
    }

private slots:
    void initTestCase()
    {
        if (!MediaClips::hasFfmpeg())
            QSKIP("The ffmpeg program is not installed; it makes the clips these tests need.");
        QVERIFY(m_dir.isValid());
        // Keyframes every 12 frames, so frame 11 is one before a keyframe.
        const QString gop = u" -g 12 -keyint_min 12 "_s;
        const QString h264 = MediaClips::numberedFrames(4) + MediaClips::tone(4) + gop
                             + u"-c:v libx264 -bf 3 -x264-params b-adapt=0:scenecut=0 -c:a aac"_s;
        const QString vp9 =
            MediaClips::numberedFrames(4) + gop + u"-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 300k"_s;
        const QString mkv = MediaClips::numberedFrames(1) + MediaClips::tone(1) + MediaClips::tone(1)
                            + u"-map 0 -map 1 -map 2 -c:v libx264 -c:a flac -metadata:s:a:1 language=ger"_s;
        for (const auto &[arguments, name] :
             {std::pair{h264, u"h264.mp4"_s}, std::pair{vp9, u"vp9.webm"_s}, std::pair{mkv, u"tracks.mkv"_s},
              std::pair{MediaClips::tone(3), u"it's \"a\" tone – Ünïcödé 日本.wav"_s}})
            QCOMPARE(MediaClips::make(arguments, clip(name)), QString());
        QVERIFY(writeFile(clip(u"notes.txt"_s), "Not a film.\nJust text.\n"));
        QVERIFY(writeFile(clip(u"empty.mp4"_s), ""));
        const QByteArray whole = readFile(clip(u"h264.mp4"_s));
        QVERIFY(writeFile(clip(u"truncated.mp4"_s), whole.left(whole.size() / 2)));
    }

    void cleanupTestCase() { m_players.clear(); }

    // The frame on screen at a time is the last one starting at or before it: frame n starts at 40 n ms.
    void seekShowsTheFrameOfTheTime_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<int>("frame");
        for (const QString &file : {u"h264.mp4"_s, u"vp9.webm"_s}) {
            for (const auto &[ms, frame] : {std::pair{qint64(0), 0}, {39, 0}, {40, 1}, {2500, 62}, {439, 10},
                                            {440, 11}, {479, 11}, {480, 12}, {481, 12}, {60, 1}, {3960, 99},
                                            {3999, 99}, {60'000, 99}, {1000, 25}})
                QTest::addRow("%s %lld ms", qPrintable(file), ms) << file << ms << frame;
        }
    }

    void seekShowsTheFrameOfTheTime()
    {
        QFETCH(QString, file);
        QFETCH(qint64, ms);
        QFETCH(int, frame);
        VideoPlayer *player = loaded(file);
        QVERIFY(player);
        QVERIFY(seekTo(*player, ms));
        QCOMPARE(MediaClips::frameNumberIn(player->frame()), frame);
        QCOMPARE(player->frameNumber(), frame);
        QCOMPARE(player->positionMs(), frame * 40);
        QVERIFY(player->isPaused());
    }

    void stepsAndPlaysARange()
    {
        VideoPlayer *player = loaded(u"h264.mp4"_s);
        QVERIFY(player);
        QCOMPARE(player->frameRate(), 25.0);
        QCOMPARE(player->durationMs(), 4000);
        QCOMPARE(player->videoSize(), QSize(MediaClips::width, MediaClips::height));
        QVERIFY(seekTo(*player, 400));
        QSignalSpy frames(player, &VideoPlayer::frameReady);
        player->stepForward();
        QVERIFY(QTest::qWaitFor([&] { return MediaClips::frameNumberIn(player->frame()) == 11; }));
        player->stepBackward();
        QVERIFY(QTest::qWaitFor([&] { return MediaClips::frameNumberIn(player->frame()) == 10; }));

        // Played from a start, it pauses again at the end, on the last frame that began before it or the one at it.
        QSignalSpy paused(player, &VideoPlayer::pausedChanged);
        player->playRange(1000, 1200);
        QVERIFY(paused.wait(5000));
        QCOMPARE(paused.last()[0].toBool(), false);
        QVERIFY(QTest::qWaitFor([&] { return player->isPaused(); }, 5000));
        QVERIFY2(player->positionMs() >= 1200 && player->positionMs() <= 1280, qPrintable(QString::number(player->positionMs())));

        // A smaller frame for a smaller pane.
        player->setFrameSize(QSize(80, 48));
        QCOMPARE(player->frame().size(), QSize(80, 48));
        player->setFrameSize({});
    }

    void audioTracks()
    {
        VideoPlayer *player = loaded(u"tracks.mkv"_s);
        QVERIFY(player);
        QCOMPARE(player->audioTracks().size(), 2);
        QCOMPARE(player->audioTracks()[1].streamIndex, 2);
        QCOMPARE(player->audioTracks()[1].language, u"ger"_s);
        QCOMPARE(player->audioTrack(), 1);
        player->setAudioTrack(2);
        QCOMPARE(player->audioTrack(), 2);
        player->setVolume(140);
        QCOMPARE(player->volume(), 100);
    }

    void badFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<MediaError::Kind>("kind");
        QTest::newRow("text") << u"notes.txt"_s << Kind::NotMedia;
        QTest::newRow("truncated") << u"truncated.mp4"_s << Kind::Damaged;
        QTest::newRow("0 bytes") << u"empty.mp4"_s << Kind::Empty;
        QTest::newRow("missing") << u"gone.mp4"_s << Kind::Missing;
        // Sound only, in a name with blanks, quotes and letters beyond ASCII.
        QTest::newRow("audio only") << u"it's \"a\" tone – Ünïcödé 日本.wav"_s << Kind::None;
        QTest::newRow("no sound") << u"vp9.webm"_s << Kind::None;
    }

    void badFiles()
    {
        QFETCH(QString, file);
        QFETCH(MediaError::Kind, kind);
        // The sound file plays to the sound device, which a test machine may lack: then it goes on in silence.
        const bool isSound = file.endsWith(u".wav");
        VideoPlayer player(isSound ? VideoPlayer::AudioOutput::Device : VideoPlayer::AudioOutput::None);
        player.setFrameSize(QSize(80, 48));
        QSignalSpy loaded(&player, &VideoPlayer::loaded);
        QSignalSpy failed(&player, &VideoPlayer::failed);
        player.open(clip(file));
        QVERIFY(QTest::qWaitFor([&] { return !loaded.isEmpty() || !failed.isEmpty(); }, 10'000));
        if (kind != Kind::None) {
            const auto error = failed.value(0).value(0).value<MediaError>();
            QCOMPARE(error.kind, kind);
            QVERIFY2(error.describe(LangDoc()).contains(clip(file)), qPrintable(error.describe(LangDoc())));
            QVERIFY(!player.isLoaded());
            return;
        }
        QVERIFY(seekTo(player, 1500));
        QCOMPARE(player.positionMs(), isSound ? 1500 : 1480);
        QCOMPARE(player.hasVideo(), !isSound);
        QCOMPARE(player.hasAudio(), isSound);
        QCOMPARE(player.frame().isNull(), isSound);
    }

    // A file removed while it opens or plays, or a player destroyed while
    // it loads, ends in a message or silence, never a crash or a hang.
    void vanishingFileAndEarlyDestruction()
    {
        const QString copy = clip(u"copy.mp4"_s);
        QVERIFY(QFile::copy(clip(u"h264.mp4"_s), copy));
        VideoPlayer player(VideoPlayer::AudioOutput::None);
        QSignalSpy loaded(&player, &VideoPlayer::loaded);
        QSignalSpy failed(&player, &VideoPlayer::failed);
        player.open(copy);
        QVERIFY(QFile::remove(copy));
        QVERIFY(QTest::qWaitFor([&] { return !loaded.isEmpty() || !failed.isEmpty(); }, 10'000));
        if (!loaded.isEmpty()) {
            player.seek(1000);
            QVERIFY(failed.wait(1000));
        }
        const auto error = failed.value(0).value(0).value<MediaError>();
        QVERIFY2(error.kind == Kind::Vanished || error.kind == Kind::Missing, qPrintable(error.describe(LangDoc())));
        QVERIFY(error.describe(LangDoc()).contains(copy));

        for (int i = 0; i < 3; ++i) {
            auto early = std::make_unique<VideoPlayer>(VideoPlayer::AudioOutput::None);
            early->open(clip(u"h264.mp4"_s));
            if (i > 0)
                QTest::qWait(i * 5);
            early->seek(2000);
            early.reset();
        }
    }
};

QTEST_GUILESS_MAIN(TestVideoPlayer)
#include "tst_videoplayer.moc"
