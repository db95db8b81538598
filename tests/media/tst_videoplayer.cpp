// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/videoplayer.h"

#include "lang/langdoc.h"
#include "media/frames/framecache.h"
#include "media/frames/frameprefetcher.h"
#include "media/mediaclips.h"
#include "support/testfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;
using Kind = MediaError::Kind;

// The player over clips whose frames show their own number: a seek shows
// the frame on screen at the time asked, from mpv or from the frames
// decoded ahead, and bad files fail with a reason.
class TestVideoPlayer : public QObject
{
    Q_OBJECT

    // What a frame of the clips takes in the cache: 4 bytes a pixel.
    static constexpr qint64 frameBytes = MediaClips::width * 4 * MediaClips::height;

    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<VideoPlayer>> m_players;
    MediaClips::Listener m_listener;
    QStringList m_crafted;
    std::map<QString, std::unique_ptr<VideoPlayer>> m_aheadPlayers; // with frames decoded ahead

    QString clip(const QString &name) const { return m_dir.filePath(name); }

    // A player with file loaded, kept for the rows that follow.
    VideoPlayer *loaded(const QString &file, bool ahead = false)
    {
        auto &player = (ahead ? m_aheadPlayers : m_players)[file];
        if (!player) {
            player = std::make_unique<VideoPlayer>(VideoPlayer::AudioOutput::None);
            if (ahead)
                new FramePrefetcher(*player);
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

    static FramePrefetcher &prefetcher(VideoPlayer &player) { return *player.findChild<FramePrefetcher *>(); }

    // Whether ms is decoded ahead, waiting for it as long as a seek may take.
    static bool prefetched(VideoPlayer &player, qint64 ms)
    {
        FramePrefetcher &ahead = prefetcher(player);
        ahead.prefetch({ms});
        const QSize size = player.frameSize().isEmpty() ? player.videoSize() : player.frameSize();
        return QTest::qWaitFor([&] { return ahead.cache().find(ms, size) != nullptr; }, 10'000);
    }

private slots:
    void initTestCase()
    {
        VideoPlayer::prepareProcess();
        if (!MediaClips::hasFfmpeg())
            QSKIP("The ffmpeg program is not installed; it makes the clips these tests need.");
        QVERIFY(m_dir.isValid());
        // Keyframes every 12 frames, so frame 11 is one before a keyframe; in the MPEG-TS film 2 s apart, which its
        // demuxer seeks past. The variable-rate film shows frames 50 to 99 for 80 ms each, and its sound runs on past
        // the picture.
        const QString gop = u" -g 12 -keyint_min 12 "_s;
        const QString h264 = MediaClips::numberedFrames(4) + MediaClips::tone(4) + gop
                             + u"-c:v libx264 -bf 3 -x264-params b-adapt=0:scenecut=0 -c:a aac"_s;
        const QString vp9 =
            MediaClips::numberedFrames(4) + gop + u"-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 300k"_s;
        const QString fifty = MediaClips::numberedFrames(2).replace(u"r=25"_s, u"r=50"_s) + u"-c:v libx264"_s;
        const QString mkv = MediaClips::numberedFrames(1) + MediaClips::tone(1) + MediaClips::tone(1)
                            + u"-map 0 -map 1 -map 2 -c:v libx264 -c:a flac -metadata:s:a:1 language=ger"_s;
        const QString ts = MediaClips::numberedFrames(4) + MediaClips::tone(4)
                           + u"-g 50 -keyint_min 50 -c:v libx264 -bf 3 -x264-params scenecut=0 -c:a aac"_s;
        const QString vfr = MediaClips::numberedFrames(4) + MediaClips::tone(7)
                            + u"-vf setpts='if(lt(N,50),N*0.04,2+(N-50)*0.08)/TB' -fps_mode passthrough -c:v libx264 "
                              u"-bf 3 -c:a flac"_s;
        for (const auto &[arguments, name] :
             {std::pair{h264, u"h264.mp4"_s}, std::pair{vp9, u"vp9.webm"_s}, std::pair{mkv, u"tracks.mkv"_s},
              std::pair{ts, u"film.ts"_s}, std::pair{vfr, u"vfr.mkv"_s}, std::pair{fifty, u"fifty.mp4"_s},
              std::pair{MediaClips::tone(3), u"it's \"a\" tone – Ünïcödé 日本.wav"_s},
              std::pair{u"-f lavfi -i sine=r=3999:d=1"_s, u"3999 Hz.wav"_s}})
            QCOMPARE(MediaClips::make(arguments, clip(name)), QString());
        QVERIFY(writeFile(clip(u"notes.txt"_s), "Not a film.\nJust text.\n"));
        QVERIFY(writeFile(clip(u"empty.mp4"_s), ""));
        const QByteArray whole = readFile(clip(u"h264.mp4"_s));
        QVERIFY(writeFile(clip(u"truncated.mp4"_s), whole.left(whole.size() / 2)));
        m_crafted = MediaClips::writeCraftedFilms(m_dir.path(), clip(u"h264.mp4"_s), m_listener.port());
        QCOMPARE(m_crafted.size(), 5);
    }

    void cleanupTestCase()
    {
        m_players.clear();
        m_aheadPlayers.clear();
    }

    // The frame on screen at a time is the last one starting at or before it (within half a millisecond, as times
    // are shown in whole ones); past the end the last frame shows, and the position its start. Frame n starts at
    // 40 n ms; in the MPEG-TS film 21.333 ms later, after the sound's encoder delay of 1024 samples; in the
    // variable-rate film at 2000 + 80 (n - 50) ms from frame 50 on.
    void seekShowsTheFrameOfTheTime_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<int>("frame");
        QTest::addColumn<qint64>("startMs");
        QTest::addColumn<bool>("steady");
        const auto add = [](const QString &file, std::initializer_list<qint64> times, auto startOf) {
            for (const qint64 ms : times) {
                int frame = 0;
                while (frame < 99 && startOf(frame + 1) <= double(ms) + 0.5)
                    ++frame;
                QTest::addRow("%s %lld ms", qPrintable(file), ms)
                    << file << ms << frame << qint64(std::llround(startOf(frame))) << !file.startsWith(u"vfr");
            }
        };
        for (const QString &file : {u"h264.mp4"_s, u"vp9.webm"_s})
            add(file, {0, 39, 40, 2500, 439, 440, 479, 480, 481, 60, 3960, 3999, 60'000, 1000},
                [](int n) { return 40.0 * n; });
        add(u"film.ts"_s, {0, 21, 60, 61, 500, 1000, 1981, 2021, 2022, 3000, 3981, 3999, 60'000},
            [](int n) { return 64.0 / 3 + 40.0 * n; });
        add(u"vfr.mkv"_s, {1000, 1999, 2000, 2079, 2080, 2120, 2159, 2160, 5919, 5920, 6500, 60'000},
            [](int n) { return n < 50 ? 40.0 * n : 2000.0 + 80 * (n - 50); });
    }

    void seekShowsTheFrameOfTheTime()
    {
        QFETCH(QString, file);
        QFETCH(qint64, ms);
        QFETCH(int, frame);
        QFETCH(qint64, startMs);
        QFETCH(bool, steady);
        VideoPlayer *player = loaded(file);
        QVERIFY(player);
        QVERIFY(seekTo(*player, ms));
        QCOMPARE(MediaClips::frameNumberIn(player->frame()), frame);
        if (steady)
            QCOMPARE(player->frameNumber(), frame);
        QCOMPARE(player->positionMs(), startMs);
        QVERIFY(player->isFrameExact());
        QVERIFY(player->isPaused());
    }

    // A film's first seek, with nothing of it read ahead: in an MPEG-TS film's last keyframe interval (from 2021 ms)
    // the demuxer finds no keyframe after the time and the opening's frame stayed. On the last frame mpv goes on to
    // tell the sound's position, past the picture's end: the position stays the last frame's start.
    void firstSeekAndTheLastFrame_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<int>("frame");
        QTest::addColumn<qint64>("startMs");
        QTest::newRow("ts, first keyframe interval") << u"film.ts"_s << qint64(1981) << 49 << qint64(1981);
        QTest::newRow("ts, last keyframe") << u"film.ts"_s << qint64(2022) << 50 << qint64(2021);
        QTest::newRow("ts, inside the last interval") << u"film.ts"_s << qint64(3000) << 74 << qint64(2981);
        QTest::newRow("ts, frame before the last") << u"film.ts"_s << qint64(3980) << 98 << qint64(3941);
        QTest::newRow("ts, past the end") << u"film.ts"_s << qint64(60'000) << 99 << qint64(3981);
        QTest::newRow("mp4, frame before the last") << u"h264.mp4"_s << qint64(3959) << 98 << qint64(3920);
        QTest::newRow("mp4, last frame") << u"h264.mp4"_s << qint64(3960) << 99 << qint64(3960);
        QTest::newRow("vfr, past the end") << u"vfr.mkv"_s << qint64(60'000) << 99 << qint64(5920);
    }

    void firstSeekAndTheLastFrame()
    {
        QFETCH(QString, file);
        QFETCH(qint64, ms);
        QFETCH(int, frame);
        QFETCH(qint64, startMs);
        VideoPlayer player(VideoPlayer::AudioOutput::None);
        QSignalSpy ready(&player, &VideoPlayer::loaded);
        player.open(clip(file));
        QVERIFY(ready.wait(10'000));
        QVERIFY(seekTo(player, ms));
        QCOMPARE(MediaClips::frameNumberIn(player.frame()), frame);
        QCOMPARE(player.positionMs(), startMs);
        QSignalSpy moved(&player, &VideoPlayer::positionChanged);
        moved.wait(500);
        for (const QList<QVariant> &told : moved)
            QCOMPARE(told.at(0).toLongLong(), startMs);
        QCOMPARE(player.positionMs(), startMs);
    }

    // A time decoded ahead shows at once the frame a seek would, and mpv then lands on that frame too.
    void seekToAFrameDecodedAheadShowsItAtOnce_data() { seekShowsTheFrameOfTheTime_data(); }

    void seekToAFrameDecodedAheadShowsItAtOnce()
    {
        QFETCH(QString, file);
        QFETCH(qint64, ms);
        QFETCH(int, frame);
        QFETCH(qint64, startMs);
        QFETCH(bool, steady);
        VideoPlayer *player = loaded(file, true);
        QVERIFY(player);
        QVERIFY(prefetched(*player, ms));
        QSignalSpy shown(player, &VideoPlayer::frameReady);
        player->seek(ms);
        QCoreApplication::processEvents(); // no waiting for mpv
        QCOMPARE(shown.size(), 1);
        QCOMPARE(MediaClips::frameNumberIn(player->frame()), frame);
        if (steady)
            QCOMPARE(player->frameNumber(), frame);
        QCOMPARE(player->positionMs(), startMs);
        QTRY_VERIFY(!player->isSeeking());
        QCOMPARE(MediaClips::frameNumberIn(player->frame()), frame);
        QCOMPARE(shown.size(), 1); // the same frame is not told twice
    }

    // A file closed takes its frames decoded ahead along; the next file decodes its own.
    void closingDropsTheFramesDecodedAhead()
    {
        VideoPlayer player(VideoPlayer::AudioOutput::None);
        new FramePrefetcher(player);
        QSignalSpy ready(&player, &VideoPlayer::loaded);
        player.open(clip(u"h264.mp4"_s));
        QVERIFY(ready.wait(10'000));
        QVERIFY(prefetched(player, 1000));
        prefetcher(player).prefetch({1000, 2000, 3000});
        player.close();
        QCOMPARE(prefetcher(player).cache().count(), 0);
        player.open(clip(u"fifty.mp4"_s));
        QVERIFY(ready.wait(10'000));
        QVERIFY(prefetched(player, 1000));
        player.seek(1000);
        QCoreApplication::processEvents();
        QCOMPARE(MediaClips::frameNumberIn(player.frame()), 50);
    }

    // The cache holds what its budget allows, to the byte: a frame of 160 x 96 takes 61,440 bytes.
    void frameCacheKeepsToItsBudget_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<int>("frames");
        QTest::newRow("a byte short of three") << 3 * frameBytes - 1 << 2;
        QTest::newRow("three exactly") << 3 * frameBytes << 3;
        QTest::newRow("a byte over three") << 3 * frameBytes + 1 << 3;
    }

    void frameCacheKeepsToItsBudget()
    {
        QFETCH(qint64, budget);
        QFETCH(int, frames);
        const QSize size(MediaClips::width, MediaClips::height);
        FrameCache cache(budget);
        QCOMPARE(cache.capacityFor(size), frames);
        for (int i = 0; i <= frames; ++i)
            QCOMPARE(cache.insert(i * 40, {QImage(size, QImage::Format_RGBX8888), i * 40}), i < frames);
        QCOMPARE(cache.count(), frames);
        QVERIFY(cache.bytes() <= budget);
        QVERIFY(cache.insert(0, {QImage(size, QImage::Format_RGBX8888), 0})); // a frame replaced takes no more room
        cache.keepOnly({40, 80}, size);
        QCOMPARE(cache.count(), frames - 1);
        QCOMPARE(cache.bytes(), cache.count() * frameBytes);
        QVERIFY(cache.find(40, size) && !cache.find(0, size) && !cache.find(40, size / 2));
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

        // A smaller frame for a smaller pane.
        player->setFrameSize(QSize(80, 48));
        QCOMPARE(player->frame().size(), QSize(80, 48));
        player->setFrameSize({});
    }

    // A range played stops on the last frame that starts before its end: frame 30 starts at 1200 ms.
    void playedRangeStopsOnItsLastFrame_data()
    {
        QTest::addColumn<qint64>("startMs");
        QTest::addColumn<qint64>("endMs");
        QTest::addColumn<int>("frame");
        QTest::newRow("end on a frame's start") << qint64(1000) << qint64(1200) << 29;
        QTest::newRow("end just before") << qint64(1000) << qint64(1199) << 29;
        QTest::newRow("end just after") << qint64(1000) << qint64(1201) << 30;
        QTest::newRow("all within one frame") << qint64(1001) << qint64(1039) << 25;
    }

    void playedRangeStopsOnItsLastFrame()
    {
        QFETCH(qint64, startMs);
        QFETCH(qint64, endMs);
        QFETCH(int, frame);
        VideoPlayer *player = loaded(u"h264.mp4"_s);
        QVERIFY(player);
        QVERIFY(seekTo(*player, 3000));
        QSignalSpy finished(player, &VideoPlayer::seekFinished);
        QSignalSpy paused(player, &VideoPlayer::pausedChanged);
        player->playRange(startMs, endMs);
        // Landed on the start, played (unless there is nothing to play), landed on the last frame.
        const int seeks = frame > startMs / 40 ? 2 : 1;
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), seeks, 5000);
        QTRY_VERIFY(player->isPaused() && !player->isSeeking());
        QTest::qWait(200); // nothing plays on
        QCOMPARE(MediaClips::frameNumberIn(player->frame()), frame);
        QCOMPARE(player->positionMs(), frame * 40);
        QCOMPARE(finished.size(), seeks);
        QCOMPARE(paused.isEmpty(), seeks == 1);
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

    // Each opened after a film: a refused file leaves the film open as it was, within 10 s (a playlist in disguise
    // included, which reaches neither the network nor what it names), and a sound file shows no picture.
    void badFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<MediaError::Kind>("kind");
        QTest::newRow("text") << u"notes.txt"_s << Kind::NotMedia;
        QTest::newRow("truncated") << u"truncated.mp4"_s << Kind::Damaged;
        QTest::newRow("0 bytes") << u"empty.mp4"_s << Kind::Empty;
        QTest::newRow("missing") << u"gone.mp4"_s << Kind::Missing;
        QTest::newRow("sound below 4000 Hz") << u"3999 Hz.wav"_s << Kind::SampleRateTooLow;
        for (const QString &crafted : std::as_const(m_crafted))
            QTest::newRow(qPrintable(crafted)) << crafted << Kind::NotMedia;
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
        const QString film = clip(u"h264.mp4"_s);
        player.open(film);
        QVERIFY(loaded.wait(10'000) && seekTo(player, 400));
        player.open(clip(file));
        QVERIFY(QTest::qWaitFor([&] { return loaded.size() == 2 || !failed.isEmpty(); }, 10'000));
        QVERIFY(!m_listener.wasReached());
        if (kind != Kind::None) {
            const auto error = failed.value(0).value(0).value<MediaError>();
            QCOMPARE(error.kind, kind);
            QVERIFY2(error.describe(LangDoc()).contains(clip(file)), qPrintable(error.describe(LangDoc())));
            QVERIFY2(!error.reason.contains(u'('), qPrintable(error.reason)); // words, not a library's function
            QCOMPARE(player.path(), film);
            QVERIFY(player.isLoaded());
            QVERIFY(seekTo(player, 1000));
            QCOMPARE(MediaClips::frameNumberIn(player.frame()), 25);
            return;
        }
        QVERIFY(seekTo(player, 1500));
        QCOMPARE(player.positionMs(), isSound ? 1500 : 1480);
        QCOMPARE(player.hasVideo(), !isSound);
        QCOMPARE(player.hasAudio(), isSound);
        QCOMPARE(player.frame().isNull(), isSound);
    }

    // A file removed while it is open is said to have gone, and not sought in; a player destroyed while it loads,
    // or while its file's open is held up (as on a dead network mount), ends in silence within a second.
    void vanishingFileAndEarlyDestruction()
    {
        const QString copy = clip(u"copy.mp4"_s);
        QVERIFY(QFile::copy(clip(u"h264.mp4"_s), copy));
        VideoPlayer player(VideoPlayer::AudioOutput::None);
        QSignalSpy loaded(&player, &VideoPlayer::loaded);
        QSignalSpy failed(&player, &VideoPlayer::failed);
        QSignalSpy sought(&player, &VideoPlayer::seekFinished);
        player.open(copy);
        QVERIFY(loaded.wait(10'000));
        QVERIFY(QFile::remove(copy));
        player.seek(1000);
        QVERIFY(failed.wait(1000));
        const auto error = failed.value(0).value(0).value<MediaError>();
        QCOMPARE(error.kind, Kind::Vanished);
        QVERIFY(error.describe(LangDoc()).contains(copy));
        player.seek(2000);
        QTest::qWait(200);
        QCOMPARE(sought.size(), 0);
        QCOMPARE(failed.size(), 1);

        for (int i = 0; i < 3; ++i) {
            auto early = std::make_unique<VideoPlayer>(VideoPlayer::AudioOutput::None);
            early->open(clip(u"h264.mp4"_s));
            if (i > 0)
                QTest::qWait(i * 5);
            early->seek(2000);
            early.reset();
        }

        const QString held = clip(u"held.mp4"_s);
        QVERIFY(QFile::copy(clip(u"h264.mp4"_s), held));
        const MediaClips::BlockedOpens blocked(held);
        QVERIFY(blocked.isHeld());
        auto stuck = std::make_unique<VideoPlayer>(VideoPlayer::AudioOutput::None);
        const auto msTaken = [](const auto &step) {
            QElapsedTimer timer;
            timer.start();
            step();
            return timer.elapsed();
        };
        QCOMPARE_LT(msTaken([&] { stuck->open(held); }), 1000);
        QTest::qWait(100); // its check now waits in the open
        QCOMPARE_LT(msTaken([&] { stuck->close(); }), 1000);
        stuck->open(held);
        QTest::qWait(100);
        QCOMPARE_LT(msTaken([&] { stuck.reset(); }), 1000);
    }
};

QTEST_GUILESS_MAIN(TestVideoPlayer)
#include "tst_videoplayer.moc"
