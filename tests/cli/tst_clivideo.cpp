// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"
#include "media/mediaclips.h"
#include "media/peakcache.h"
#include "media/shots/shotcache.h"
#include "support/testfiles.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <tuple>

using namespace Qt::StringLiterals;

// quillmend-cli's --video and --list-shot-changes through its run function: the film is read before the subtitles,
// and a film that cannot be read leaves them untouched.
class TestCliVideo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    std::tuple<int, QString, QString> run(QStringList arguments)
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        arguments.prepend(u"quillmend-cli"_s);
        const int exitCode = runCli(arguments, outStream, errStream,
                                    {m_dir.filePath(u"default.ini"_s), {QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}});
        outStream.flush();
        errStream.flush();
        return {exitCode, out, err};
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray input() { return readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/movie.srt")); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!MediaClips::hasFfmpeg())
            QSKIP("The ffmpeg program is not installed; it makes the clips these tests need.");
        // Three shots of a second at 25 frames a second.
        QCOMPARE(MediaClips::make(u"-filter_complex testsrc2=s=320x180:r=25:d=1[a];mandelbrot=s=320x180:r=25,"
                                  u"trim=end_frame=25,format=yuv420p[b];sierpinski=s=320x180:r=25:seed=3,"
                                  u"trim=end_frame=25,format=yuv420p[c];[a][b][c]concat=n=3:v=1:a=0[v] -map [v] "
                                  u"-c:v libx264"_s,
                                  path(u"film.mp4"_s)),
                 QString());
        QCOMPARE(MediaClips::make(MediaClips::tone(2), path(u"tone.wav"_s)), QString());
        QVERIFY(writeFile(path(u"notes.txt"_s), "Not a film.\n"));
    }

    void init() { QVERIFY(writeFile(path(u"movie.srt"_s), input())); }

    void cleanupTestCase() { QDir(PeakCache::defaultFolder()).removeRecursively(); }

    // The cuts as a list, kept in the window's cache; a sound file has none and says so.
    void listsShotChanges()
    {
        QCOMPARE(run({u"--list-shot-changes"_s, path(u"film.mp4"_s)}),
                 std::tuple(0, u"# fps 25\n1.000\n2.000\n"_s, QString()));
        QVERIFY(QFile::exists(ShotCache(PeakCache::defaultFolder()).fileFor(path(u"film.mp4"_s))));
        QCOMPARE(run({u"--list-shot-changes"_s, path(u"tone.wav"_s)}),
                 std::tuple(0, u"# fps 0\n"_s,
                            u"quillmend-cli: %1: No picture: a sound file\n"_s.arg(path(u"tone.wav"_s))));
    }

    // With a film that can be read the subtitles are corrected; with one that cannot they are not touched.
    void videoIsReadFirst_data()
    {
        QTest::addColumn<QString>("video");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("film") << u"film.mp4"_s << 0 << QString();
        QTest::newRow("sound only") << u"tone.wav"_s << 0 << u"No picture: a sound file"_s;
        QTest::newRow("not a film") << u"notes.txt"_s << 1 << u"it is not a video or sound file"_s;
        QTest::newRow("missing") << u"gone.mkv"_s << 1 << u"the file does not exist"_s;
    }

    void videoIsReadFirst()
    {
        QFETCH(QString, video);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        const auto [code, out, err] = run({u"--video"_s, path(video), path(u"movie.srt"_s)});
        QCOMPARE(code, exitCode);
        QVERIFY2(error.isEmpty() ? err.isEmpty() : err.contains(path(video)) && err.contains(error), qPrintable(err));
        QCOMPARE(readFile(path(u"movie.srt"_s)) == input(), exitCode != 0);
        QCOMPARE(QFile::exists(path(u"movie.srt.bak"_s)), exitCode == 0);
        QFile::remove(path(u"movie.srt.bak"_s));
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("two subtitle files") << QStringList{u"--video"_s, u"film.mp4"_s, u"a.srt"_s, u"b.srt"_s};
        QTest::newRow("list with a subtitle file") << QStringList{u"--list-shot-changes"_s, u"film.mp4"_s, u"a.srt"_s};
        QTest::newRow("list with --video") << QStringList{u"--list-shot-changes"_s, u"a.mp4"_s, u"--video"_s, u"b.mp4"_s};
    }

    void badUsage()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(std::get<0>(run(arguments)), 2);
    }
};

QTEST_GUILESS_MAIN(TestCliVideo)
#include "tst_clivideo.moc"
