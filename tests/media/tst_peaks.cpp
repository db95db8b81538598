// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakcache.h"
#include "media/peakdecoder.h"
#include "media/peakjob.h"

#include "lang/langdoc.h"
#include "media/mediaclips.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QtEndian>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = MediaError::Kind;

// The peaks of a clip's sound: the tone in the right bins, the stream asked for, the cache, bad files and cancelling.
class TestPeaks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MediaClips::Listener m_listener;
    QStringList m_crafted;
    QString clip(const QString &name) const { return m_dir.filePath(name); }

    // The first Ogg page of bytes with its checksum made right again.
    static QByteArray withOggChecksums(QByteArray bytes)
    {
        const auto segments = uchar(bytes[26]);
        qsizetype size = 27 + segments;
        for (int i = 0; i < segments; ++i)
            size += uchar(bytes[27 + i]);
        qToLittleEndian<quint32>(0, bytes.data() + 22);
        quint32 sum = 0;
        for (qsizetype i = 0; i < size; ++i) {
            sum ^= quint32(uchar(bytes[i])) << 24;
            for (int bit = 0; bit < 8; ++bit)
                sum = sum & 0x8000'0000 ? (sum << 1) ^ 0x04c1'1db7 : sum << 1;
        }
        qToLittleEndian(sum, bytes.data() + 22);
        return bytes;
    }

    // The job's first result for path, with the cache in cacheFolder.
    static std::optional<std::pair<Peaks, bool>> runJob(const QString &cacheFolder, const QString &path, int stream = -1)
    {
        PeakJob job(cacheFolder);
        QSignalSpy finished(&job, &PeakJob::finished);
        QSignalSpy failed(&job, &PeakJob::failed);
        job.start(path, stream);
        if (!QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 20'000) || finished.isEmpty())
            return std::nullopt;
        return std::pair{finished[0][0].value<Peaks>(), finished[0][1].toBool()};
    }

private slots:
    void initTestCase()
    {
        PeakDecoder::prepareProcess();
        if (!MediaClips::hasFfmpeg())
            QSKIP("The ffmpeg program is not installed; it makes the clips these tests need.");
        QVERIFY(m_dir.isValid());
        const QString mp4 = MediaClips::numberedFrames(4) + MediaClips::tone(4) + u"-c:v libx264 -bf 2 -c:a aac"_s;
        const QString mkv = MediaClips::numberedFrames(3) + MediaClips::tone(3, false) + MediaClips::tone(3)
                            + u"-map 0 -map 1 -map 2 -c:v libx264 -c:a flac -metadata:s:a:0 language=eng "
                              u"-metadata:s:a:1 language=fre -metadata:s:a:1 title=Commentary"_s;
        // Sound that starts 10^9 s after the picture, in a file that claims no length.
        const QString late = MediaClips::numberedFrames(1) + u"-itsoffset 1000000000"_s + MediaClips::tone(1)
                             + u"-map 0 -map 1 -c:v libx264 -c:a flac -live 1 -f matroska"_s;
        for (const auto &[arguments, name] :
             {std::pair{mp4, u"h264.mp4"_s}, std::pair{mkv, u"tracks.mkv"_s}, std::pair{MediaClips::tone(3), u"tone.wav"_s},
              std::pair{MediaClips::numberedFrames(1), u"silent.webm"_s},
              // MPEG-TS starts its clock at 1.4 s: the peaks count from the file's start.
              std::pair{mp4, u"film.ts"_s}, std::pair{late, u"late sound.mkv"_s},
              std::pair{QString(MediaClips::tone(1) + u"-c:a flac"), u"flac.mkv"_s},
              std::pair{QString(MediaClips::tone(1) + u"-c:a libopus"), u"opus.ogg"_s}})
            QCOMPARE(MediaClips::make(arguments, clip(name)), QString());
        for (const int rate : {1, 3999, 4000, 4001})
            QCOMPARE(MediaClips::make(u"-f lavfi -i sine=r=%1:d=1 -c:a pcm_u8"_s.arg(rate), clip(u"%1 Hz.wav"_s.arg(rate))),
                     QString());
        QVERIFY(QFile::copy(clip(u"tone.wav"_s), clip(u"it's \"a\" tone – Ünïcödé 日本.wav"_s)));
        QVERIFY(writeFile(clip(u"notes.txt"_s), "Not a film.\nJust text.\n"));
        QVERIFY(writeFile(clip(u"movie.srt"_s), "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n"));
        QVERIFY(writeFile(clip(u"empty.mp4"_s), ""));
        const QByteArray whole = readFile(clip(u"h264.mp4"_s));
        QVERIFY(writeFile(clip(u"truncated.mp4"_s), whole.left(whole.size() / 2)));
        // Lengths claimed by the film's and the sound's headers: 2^32 - 1 s.
        QByteArray huge = whole;
        for (const char *box : {"mvhd", "mdhd"}) {
            for (qsizetype at = huge.indexOf(box); at >= 0; at = huge.indexOf(box, at + 4)) {
                QCOMPARE(huge[at + 4], '\0'); // version 0: times and lengths of 32 bits
                qToBigEndian<quint32>(1, huge.data() + at + 16);
                qToBigEndian<quint32>(0xFFFF'FFFF, huge.data() + at + 20);
            }
        }
        QVERIFY(writeFile(clip(u"huge length.mp4"_s), huge));
        // Damaged headers: a sound format without a name, a decoder's setup that cannot be, a page that fails its check.
        QByteArray flac = readFile(clip(u"flac.mkv"_s));
        QVERIFY(writeFile(clip(u"unnamed format.mkv"_s), flac.replace("A_FLAC", "A_FLAX")));
        QByteArray opus = readFile(clip(u"opus.ogg"_s));
        const qsizetype head = opus.indexOf("OpusHead");
        opus[head + 18] = 1; // a channel mapping without its table
        QVERIFY(writeFile(clip(u"bad check.ogg"_s), opus));
        QVERIFY(writeFile(clip(u"bad setup.ogg"_s), withOggChecksums(opus)));
        m_crafted = MediaClips::writeCraftedFilms(m_dir.path(), clip(u"h264.mp4"_s), m_listener.port());
        QCOMPARE(m_crafted.size(), 5);
    }

    // Bin i covers [10 i, 10 i + 10) ms; the tone is 0.8 of full scale.
    void toneLandsInItsBins_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("stream");
        QTest::addColumn<int>("bin");
        QTest::addColumn<bool>("loud");
        // Lossless: exact to the bin, at both ends of both tones; the right
        // channel's tone starts in the middle of bin 200.
        for (const auto &[file, stream] : {std::pair{u"tone.wav"_s, -1}, std::pair{u"tracks.mkv"_s, 2}})
            for (const auto &[bin, loud] : {std::pair{99, false}, {100, true}, {101, true}, {149, true}, {150, false},
                                            {199, false}, {200, true}, {219, true}, {220, false}})
                QTest::addRow("%s bin %d", qPrintable(file), bin) << file << stream << bin << loud;
        // AAC spreads an edge over a few milliseconds; its encoder delay must not shift the tone.
        for (const QString &file : {u"h264.mp4"_s, u"film.ts"_s}) {
            for (const auto &[bin, loud] : {std::pair{96, false}, {103, true}, {146, true}, {154, false}})
                QTest::addRow("%s bin %d", qPrintable(file), bin) << file << -1 << bin << loud;
        }
        // The first audio stream of tracks.mkv is silent.
        QTest::newRow("first stream silent") << u"tracks.mkv"_s << -1 << 120 << false;
    }

    void toneLandsInItsBins()
    {
        QFETCH(QString, file);
        QFETCH(int, stream);
        QFETCH(int, bin);
        QFETCH(bool, loud);
        PeakDecoder decoder;
        MediaError error;
        QVERIFY(decoder.open(clip(file), error));
        const std::optional<Peaks> peaks = decoder.decode(stream, error);
        QVERIFY2(peaks, qPrintable(error.describe(LangDoc())));
        if (!file.endsWith(u"4") && !file.endsWith(u"ts")) {
            QCOMPARE(peaks->durationMs, 3000);
            QCOMPARE(peaks->bins.size(), size_t(300));
        }
        const Peaks::Bin value = peaks->bins.at(size_t(bin));
        const int full = 26214, edge = loud ? full * 9 / 10 : full / 20; // 0.8 of 32767
        QVERIFY2(loud ? value.maximum > edge && value.minimum < -edge : value.maximum < edge && value.minimum > -edge,
                 qPrintable(u"%1 %2"_s.arg(value.minimum).arg(value.maximum)));
        // A range holds the extremes of every bin it touches.
        QCOMPARE(peaks->extremes(bin * 10 + 9, bin * 10 + 10), value);
        QCOMPARE(peaks->extremes(995, 1505).maximum, peaks->extremes(1000, 1500).maximum);
    }

    void listsAudioTracks()
    {
        PeakDecoder decoder;
        MediaError error;
        QVERIFY(decoder.open(clip(u"tracks.mkv"_s), error));
        const QList<AudioTrack> &tracks = decoder.audioTracks();
        QCOMPARE(tracks.size(), 2);
        QCOMPARE(tracks[1].streamIndex, 2);
        QCOMPARE(tracks[1].channels, 2);
        // Named as the file names the language, not after a country's variant of it.
        QCOMPARE(tracks[0].label(LangDoc()), u"Track 1: English, flac stereo"_s);
        QCOMPARE(tracks[1].label(LangDoc()), u"Track 2: français, flac stereo, Commentary"_s);
        QCOMPARE(decoder.decode(7, error), std::nullopt);
        QCOMPARE(error.kind, Kind::NoSuchTrack);
    }

    // Each bad file gets its own reason, naming the file, from the job within 10 s: a playlist in disguise reaches
    // neither the network nor what it names, a damaged header is said to be damaged, and a length claimed or a first
    // timestamp far off asks for no more bins than the sound has.
    void badFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<MediaError::Kind>("kind");
        QTest::newRow("text") << u"notes.txt"_s << Kind::NotMedia;
        QTest::newRow("subtitles") << u"movie.srt"_s << Kind::NotMedia;
        for (const QString &crafted : std::as_const(m_crafted))
            QTest::newRow(qPrintable(crafted)) << crafted << Kind::NotMedia;
        for (const char *damaged : {"truncated.mp4", "late sound.mkv", "unnamed format.mkv", "bad setup.ogg",
                                    "bad check.ogg"})
            QTest::newRow(damaged) << QString::fromUtf8(damaged) << Kind::Damaged;
        QTest::newRow("0 bytes") << u"empty.mp4"_s << Kind::Empty;
        QTest::newRow("missing") << u"gone.mp4"_s << Kind::Missing;
        QTest::newRow("folder") << u"."_s << Kind::NotRegularFile;
        QTest::newRow("no sound") << u"silent.webm"_s << Kind::NoSound;
        QTest::newRow("blanks, quotes, letters") << u"it's \"a\" tone – Ünïcödé 日本.wav"_s << Kind::None;
        QTest::newRow("huge length") << u"huge length.mp4"_s << Kind::None;
        for (const int rate : {1, 3999, 4000, 4001})
            QTest::addRow("%d Hz", rate) << u"%1 Hz.wav"_s.arg(rate) << (rate < 4000 ? Kind::SampleRateTooLow : Kind::None);
    }

    void badFiles()
    {
        QFETCH(QString, file);
        QFETCH(MediaError::Kind, kind);
        PeakJob job({});
        QSignalSpy finished(&job, &PeakJob::finished);
        QSignalSpy failed(&job, &PeakJob::failed);
        job.start(clip(file));
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 10'000));
        QVERIFY(!m_listener.wasReached());
        const MediaError error = failed.isEmpty() ? MediaError() : failed[0][0].value<MediaError>();
        QCOMPARE(error.kind, kind);
        if (kind != Kind::None) {
            QVERIFY2(error.describe(LangDoc()).contains(clip(file)), qPrintable(error.describe(LangDoc())));
            return;
        }
        const auto peaks = finished[0][0].value<Peaks>();
        QCOMPARE_LE(peaks.durationMs, 4100);
        QCOMPARE_LE(qint64(peaks.bins.size()), peaks.durationMs / Peaks::binMs + 1);
    }

    // The second open reads the cache; a changed video or a damaged cache
    // file is decoded again, and the new peaks replace the old ones.
    void cache_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fromCache");
        QTest::newRow("unchanged") << u"none"_s << true;
        QTest::newRow("video touched") << u"time"_s << false;
        QTest::newRow("video grew, same time") << u"size"_s << false;
        QTest::newRow("cache byte flipped") << u"flip"_s << false; // a truncated one fails the same check
        QTest::newRow("cache empty") << u"empty"_s << false;
        QTest::newRow("other stream") << u"stream"_s << false;
    }

    void cache()
    {
        QFETCH(QString, change);
        QFETCH(bool, fromCache);
        QTemporaryDir cacheDir;
        const QString video = cacheDir.filePath(u"film.mkv"_s);
        QVERIFY(QFile::copy(clip(u"tracks.mkv"_s), video));
        const QString cacheFolder = cacheDir.filePath(u"cache"_s);
        const auto first = runJob(cacheFolder, video, 2);
        QVERIFY(first && !first->second);

        const QString stored = PeakCache(cacheFolder).fileFor(*MediaSource::of(video, 2));
        QByteArray bytes = readFile(stored);
        QFile file(video);
        const QDateTime time = QFileInfo(video).lastModified().addSecs(change == u"time" ? -3600 : 0);
        if (change == u"time" || change == u"size")
            QVERIFY(file.open(QIODevice::Append) && (change == u"time" || (file.write("x") == 1 && file.flush()))
                    && file.setFileTime(time, QFileDevice::FileModificationTime));
        else if (change == u"flip")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
        else if (change == u"empty")
            bytes.clear();
        file.close();
        QVERIFY(writeFile(stored, bytes));
        const int stream = change == u"stream" ? 1 : 2;
        const auto second = runJob(cacheFolder, video, stream);
        QVERIFY(second);
        QCOMPARE(second->second, fromCache);
        QCOMPARE(second->first.bins == first->first.bins, stream == 2);
        // Whatever was decoded again is what the next open finds.
        const auto third = runJob(cacheFolder, video, stream);
        QVERIFY(third && third->second);
        QCOMPARE(third->first, second->first);
    }

    void cancelStopsPromptlyAndSilently()
    {
        // A cancel seen at the first progress report ends the decode there.
        std::atomic_bool cancelled = false;
        PeakDecoder decoder(&cancelled);
        MediaError error;
        QVERIFY(decoder.open(clip(u"tone.wav"_s), error));
        int reports = 0;
        QCOMPARE(decoder.decode(-1, error, [&](double) { ++reports; cancelled = true; }), std::nullopt);
        QCOMPARE(error.kind, Kind::Cancelled);
        QCOMPARE(reports, 1);
        QVERIFY(!decoder.open(clip(u"tone.wav"_s), error));
        QCOMPARE(error.kind, Kind::Cancelled);

        // A cancelled or destroyed job reports nothing more; a restarted one reports only its new file.
        QTemporaryDir cacheDir;
        auto job = std::make_unique<PeakJob>(cacheDir.path());
        QSignalSpy finished(job.get(), &PeakJob::finished);
        QSignalSpy failed(job.get(), &PeakJob::failed);
        job->start(clip(u"h264.mp4"_s));
        job->cancel();
        QVERIFY(!job->isRunning());
        job->start(clip(u"h264.mp4"_s));
        job->start(clip(u"silent.webm"_s));
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }));
        QCOMPARE(failed[0][0].value<MediaError>().kind, Kind::NoSound);
        job->start(clip(u"tracks.mkv"_s));
        job.reset();
        QTest::qWait(50);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(failed.size(), 1);

        // Neither waits on a run whose file's open is held up, as on a dead network mount.
        const QString held = cacheDir.filePath(u"held.wav"_s);
        QVERIFY(QFile::copy(clip(u"tone.wav"_s), held));
        const MediaClips::BlockedOpens blocked(held);
        QVERIFY(blocked.isHeld());
        job = std::make_unique<PeakJob>(QString());
        QElapsedTimer timer;
        for (const bool destroy : {false, true}) {
            job->start(held);
            QTest::qWait(100); // the run now waits in the open
            timer.start();
            destroy ? job.reset() : job->cancel();
            QCOMPARE_LT(timer.elapsed(), 1000);
        }
    }
};

QTEST_GUILESS_MAIN(TestPeaks)
#include "tst_peaks.moc"
