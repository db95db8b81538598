// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotcache.h"
#include "media/shots/shotchangefinder.h"
#include "media/shots/shotjob.h"
#include "media/peakdecoder.h"
#include "media/peakjob.h"

#include "lang/langdoc.h"
#include "media/mediaclips.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = MediaError::Kind;

namespace {

// 185 frames of 320 x 180 at rate: six moving, textured scenes joined by hard cuts at frames 40, 70, 115 and 155,
// with what is no cut: a flash of two frames at 15 and 16, a pan of a twentieth of the width a frame from 70 to 114,
// and a fade through black inside the shot from 115 to 154 (out from 127, back in from 135).
QString scenes(const QString &rate)
{
    return u"-filter_complex testsrc2=s=320x180:r=%1,hue=h=60,trim=end_frame=40,lutyuv=y=clip(val*1.7+70\\,0\\,255):"
           u"enable=between(n\\,15\\,16)%2[a];mandelbrot=s=320x180:r=%1,trim=end_frame=30%2[b];"
           u"cellauto=s=960x180:r=%1:rule=110:seed=5,crop=320:180:x=n*16:y=0,trim=end_frame=45%2[c];"
           u"life=s=320x180:r=%1:seed=7:mold=10:ratio=0.5:life_color=#40c0ff,split[d][e];"
           u"[d]trim=end_frame=20,fade=t=out:start_frame=12:nb_frames=8%2[d1];"
           u"[e]trim=start_frame=20:end_frame=40%2,fade=t=in:start_frame=0:nb_frames=8[e1];"
           u"sierpinski=s=320x180:r=%1:seed=3,trim=end_frame=30%2[f];"
           u"[a][b][c][d1][e1][f]concat=n=6:v=1:a=0[v] -map [v] -c:v libx264 -bf 2 -r %1 "_s
        .arg(rate, u",setpts=PTS-STARTPTS,format=yuv420p,setsar=1"_s);
}

constexpr int cutFrames[] = {40, 70, 115, 155};

} // namespace

// Finding the cuts of clips made here: where they are, what is no cut, films without a frame grid, bad files, the
// cache and cancelling.
class TestShotChanges : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MediaClips::Listener m_listener;
    QStringList m_crafted;
    QString clip(const QString &name) const { return m_dir.filePath(name); }

    static std::optional<DetectedShots> find(const QString &path, MediaError &error)
    {
        return ShotChangeFinder().find(path, error);
    }

private slots:
    void initTestCase()
    {
        PeakDecoder::prepareProcess();
        if (!MediaClips::hasFfmpeg())
            QSKIP("The ffmpeg program is not installed; it makes the clips these tests need.");
        QVERIFY(m_dir.isValid());
        for (const QString &rate : {u"25"_s, u"24000/1001"_s, u"30000/1001"_s})
            QCOMPARE(MediaClips::make(scenes(rate), clip(QString(rate).replace(u'/', u'_') + u".mp4"_s)), QString());
        const QString scenes25 = clip(u"25.mp4"_s);
        // The picture half a second after the sound; frames shown 40 and 50 ms in turn.
        QCOMPARE(MediaClips::make(u"-itsoffset 0.5 -i %1 "_s.arg(scenes25) + MediaClips::tone(8)
                                      + u"-map 0:v -map 1:a -c:v copy -c:a flac"_s,
                                  clip(u"late.mkv"_s)),
                 QString());
        QCOMPARE(MediaClips::make(u"-i %1 -vf setpts=(N*0.045+mod(N\\,2)*0.005)/TB -fps_mode passthrough "
                                  u"-enc_time_base 1:1000 -c:v libx264"_s.arg(scenes25),
                                  clip(u"variable.mkv"_s)),
                 QString());
        QCOMPARE(MediaClips::make(u"-i %1 -frames:v 1"_s.arg(scenes25), clip(u"still.png"_s)), QString());
        QCOMPARE(MediaClips::make(MediaClips::tone(2), clip(u"tone.wav"_s)), QString());
        const QByteArray whole = readFile(scenes25);
        QVERIFY(writeFile(clip(u"truncated.mp4"_s), whole.left(whole.size() / 2)));
        QVERIFY(writeFile(clip(u"notes.txt"_s), "Not a film.\n"));
        m_crafted = MediaClips::writeCraftedFilms(m_dir.path(), scenes25, m_listener.port());
        QCOMPARE(m_crafted.size(), 5);
    }

    // Every cut on its frame's start, at the three rates of film and television; the flash, the pan and the fade are
    // no cuts.
    void findsHardCutsOnly_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("firstSeconds");
        QTest::addColumn<bool>("alternating"); // frames 45 and 50 ms in turn
        QTest::newRow("25") << u"25.mp4"_s << 25.0 << 0.0 << false;
        QTest::newRow("23.976") << u"24000_1001.mp4"_s << 24000.0 / 1001 << 0.0 << false;
        QTest::newRow("29.97") << u"30000_1001.mp4"_s << 30000.0 / 1001 << 0.0 << false;
        QTest::newRow("picture after the sound") << u"late.mkv"_s << 25.0 << 0.5 << false;
        QTest::newRow("variable rate") << u"variable.mkv"_s << 0.0 << 0.0 << true;
    }

    void findsHardCutsOnly()
    {
        QFETCH(QString, file);
        QFETCH(double, rate);
        QFETCH(double, firstSeconds);
        QFETCH(bool, alternating);
        MediaError error;
        const std::optional<DetectedShots> shots = find(clip(file), error);
        QVERIFY2(shots, qPrintable(error.describe(LangDoc())));
        QVERIFY(shots->hasPicture);
        QCOMPARE(shots->frames, 185);
        const auto startOf = [&](int frame) {
            return alternating ? frame * 0.045 + (frame % 2) * 0.005 : firstSeconds + frame / rate;
        };
        QStringList found;
        for (const double seconds : shots->shotChanges.cutSeconds)
            found << QString::number(seconds, 'f', 3);
        QCOMPARE(found.size(), std::size(cutFrames));
        for (size_t i = 0; i < std::size(cutFrames); ++i) {
            const double frame = startOf(cutFrames[i] + 1) - startOf(cutFrames[i]);
            QVERIFY2(std::abs(shots->shotChanges.cutSeconds[i] - startOf(cutFrames[i])) < frame + 1e-3,
                     qPrintable(found.join(u' ')));
        }
        QCOMPARE(shots->shotChanges.firstFrameSeconds, firstSeconds);
        // The variable clip's file claims 25 a second, which its frames are not: it has no grid.
        QCOMPARE(shots->shotChanges.frameRate, rate);
    }

    // No frame grid, no cuts, and a reason only where nothing could be read; each names the file.
    void filmsWithoutCuts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("hasPicture");
        QTest::newRow("still image") << u"still.png"_s << Kind::None << true;
        QTest::newRow("sound only") << u"tone.wav"_s << Kind::None << false;
        QTest::newRow("truncated") << u"truncated.mp4"_s << Kind::Damaged << false;
        QTest::newRow("text") << u"notes.txt"_s << Kind::NotMedia << false;
        QTest::newRow("missing") << u"gone.mp4"_s << Kind::Missing << false;
        // Playlists in disguise reach neither the network nor what they name.
        for (const QString &crafted : std::as_const(m_crafted))
            QTest::newRow(qPrintable(crafted)) << crafted << Kind::NotMedia << false;
    }

    void filmsWithoutCuts()
    {
        QFETCH(QString, file);
        QFETCH(Kind, kind);
        QFETCH(bool, hasPicture);
        MediaError error;
        const std::optional<DetectedShots> shots = find(clip(file), error);
        QVERIFY(!m_listener.wasReached());
        QCOMPARE(error.kind, kind);
        QCOMPARE(bool(shots), kind == Kind::None);
        if (shots) {
            QCOMPARE(shots->hasPicture, hasPicture);
            QCOMPARE(shots->shotChanges.cutSeconds, std::vector<double>());
            QCOMPARE(shots->shotChanges.frameRate, 0.0);
        } else {
            QVERIFY2(error.describe(LangDoc()).contains(clip(file)), qPrintable(error.describe(LangDoc())));
        }
    }

    // The second run reads the cache; a changed video or a damaged cache file is read again and replaced.
    void cache_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fromCache");
        QTest::newRow("unchanged") << u"none"_s << true;
        QTest::newRow("video touched") << u"time"_s << false;
        QTest::newRow("video grew, same time") << u"size"_s << false;
        QTest::newRow("cache byte flipped") << u"flip"_s << false;
    }

    void cache()
    {
        QFETCH(QString, change);
        QFETCH(bool, fromCache);
        QTemporaryDir cacheDir;
        const QString video = cacheDir.filePath(u"film.mp4"_s);
        QVERIFY(QFile::copy(clip(u"25.mp4"_s), video));
        const QString cacheFolder = cacheDir.filePath(u"cache"_s);
        const auto runJob = [&]() -> std::optional<std::pair<DetectedShots, bool>> {
            ShotJob job(cacheFolder);
            QSignalSpy finished(&job, &ShotJob::finished);
            job.start(video);
            if (!QTest::qWaitFor([&] { return !finished.isEmpty(); }, 20'000))
                return std::nullopt;
            return std::pair{finished[0][0].value<DetectedShots>(), finished[0][1].toBool()};
        };
        const auto first = runJob();
        QVERIFY(first && !first->second);

        const QString stored = ShotCache(cacheFolder).fileFor(video);
        QByteArray bytes = readFile(stored);
        QFile file(video);
        const QDateTime time = QFileInfo(video).lastModified().addSecs(change == u"time" ? -3600 : 0);
        if (change == u"time" || change == u"size")
            QVERIFY(file.open(QIODevice::Append) && (change == u"time" || (file.write("x") == 1 && file.flush()))
                    && file.setFileTime(time, QFileDevice::FileModificationTime));
        else if (change == u"flip")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
        file.close();
        QVERIFY(writeFile(stored, bytes));
        const auto second = runJob();
        QVERIFY(second);
        QCOMPARE(second->second, fromCache);
        QCOMPARE(second->first.shotChanges.cutSeconds, first->first.shotChanges.cutSeconds);
        QCOMPARE(second->first.shotChanges.frameRate, first->first.shotChanges.frameRate);
        const auto third = runJob();
        QVERIFY(third && third->second);
        QCOMPARE(third->first.source, second->first.source);
    }

    // The waveform's job finds the cuts in the same pass as the peaks, and the next run reads both from the cache; a
    // film without sound or without picture still gets its cuts or says it has no picture.
    void peaksAndCutsInOnePass_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("cuts");
        QTest::addColumn<bool>("hasSound");
        QTest::newRow("sound and picture") << u"late.mkv"_s << 4 << true;
        QTest::newRow("picture only") << u"25.mp4"_s << 4 << false;
        QTest::newRow("sound only") << u"tone.wav"_s << 0 << true;
    }

    void peaksAndCutsInOnePass()
    {
        QFETCH(QString, file);
        QFETCH(int, cuts);
        QFETCH(bool, hasSound);
        QTemporaryDir cacheDir;
        MediaError error;
        const std::optional<DetectedShots> alone = find(clip(file), error);
        QVERIFY(alone);
        for (const bool fromCache : {false, true}) {
            PeakJob job(cacheDir.path());
            QSignalSpy peaks(&job, &PeakJob::finished);
            QSignalSpy failed(&job, &PeakJob::failed);
            QSignalSpy shots(&job, &PeakJob::shotChangesFound);
            job.start(clip(file), -1, true);
            QVERIFY(QTest::qWaitFor([&] { return !shots.isEmpty() && (!peaks.isEmpty() || !failed.isEmpty()); }, 20'000));
            QCOMPARE(peaks.size(), hasSound ? 1 : 0);
            const auto found = shots[0][0].value<DetectedShots>();
            QCOMPARE(shots[0][1].toBool(), fromCache);
            QCOMPARE(found.shotChanges.cutSeconds.size(), size_t(cuts));
            QCOMPARE(found.shotChanges.cutSeconds, alone->shotChanges.cutSeconds);
            QCOMPARE(std::pair(found.hasPicture, found.shotChanges.frameRate),
                     std::pair(alone->hasPicture, alone->shotChanges.frameRate));
        }
    }

    void cancelStopsPromptlyAndSilently()
    {
        std::atomic_bool cancelled = false;
        MediaError error;
        int reports = 0;
        QCOMPARE(ShotChangeFinder(&cancelled).find(clip(u"25.mp4"_s), error, [&](double) { ++reports; cancelled = true; }),
                 std::nullopt);
        QCOMPARE(std::pair(error.kind, reports), std::pair(Kind::Cancelled, 1));

        QTemporaryDir cacheDir;
        auto job = std::make_unique<ShotJob>(cacheDir.path());
        QSignalSpy finished(job.get(), &ShotJob::finished);
        QSignalSpy failed(job.get(), &ShotJob::failed);
        job->start(clip(u"25.mp4"_s));
        job->cancel();
        QVERIFY(!job->isRunning());
        job->start(clip(u"notes.txt"_s));
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }));
        QCOMPARE(failed[0][0].value<MediaError>().kind, Kind::NotMedia);
        job->start(clip(u"30000_1001.mp4"_s));
        job.reset();
        QTest::qWait(50);
        QCOMPARE(std::pair(finished.size(), failed.size()), std::pair(qsizetype(0), qsizetype(1)));
    }
};

QTEST_GUILESS_MAIN(TestShotChanges)
#include "tst_shotchanges.moc"
