// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/srttext.h"
#include "support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>

#include <csignal>

// The real quillmend-cli executable: what a shell sees, and what is left
// on disk when the program is killed at any moment.
class TestCliProcess : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString program() { return QStringLiteral(QUILLMEND_BIN_DIR "/quillmend-cli"); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QStringList arguments(const QStringList &files) const
    {
        return QStringList{u"--settings"_qs, path(u"empty.ini"_qs)} + files;
    }

    // A file large enough that saving it takes a while; 200,000 subtitles 0.4 s apart still end within the day.
    static QByteArray largeFile(int subtitles)
    {
        const auto time = [](int ms) { return QTime::fromMSecsSinceStartOfDay(ms).toString(u"hh:mm:ss,zzz").toUtf8(); };
        QByteArray bytes;
        for (int i = 0; i < subtitles; ++i) {
            bytes += QByteArray::number(i + 1) + "\r\n" + time(i * 400) + " --> " + time(i * 400 + 300) + "\r\n"
                + "This subtitle is long enough to need a break somewhere near here\r\nand a second line.\r\n\r\n";
        }
        return bytes;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(program()), "quillmend-cli must be built");
        QVERIFY(writeFile(path(u"empty.ini"_qs), {}));
    }

    // The window program's unattended run where there is no display: the
    // command line's behaviour, summary on standard output.
    void windowProgramUnattendedWithoutADisplay()
    {
        const QString window = QStringLiteral(QUILLMEND_BIN_DIR "/quillmend");
        QVERIFY2(QFile::exists(window), "quillmend must be built");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_qs, u"WAYLAND_DISPLAY"_qs, u"QT_QPA_PLATFORM"_qs})
            environment.remove(name);
        const QString movie = path(u"auto movie.srt"_qs);
        const QByteArray original = crlf(u"1\n00:00:01,000 --> 00:00:05,000\nHi.\n"_qs).toUtf8();
        QVERIFY(writeFile(movie, original));

        QProcess process;
        process.setProcessEnvironment(environment);
        const auto run = [&](const QStringList &arguments) {
            process.start(window, arguments);
            return process.waitForFinished(30000);
        };
        QVERIFY(run({u"/Auto"_qs, path(u"auto"_qs), u"movie.srt"_qs}));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith(QByteArray(movie.toUtf8() + ": Edits: 0")));
        QCOMPARE(readFile(movie + u".bak"_qs), original);

        QVERIFY(run({u"--auto"_qs}));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(), QByteArray("Error in file\n"));

        // One argument is the path as given: a trailing blank names another
        // file, which does not exist, and the file without it is not touched.
        const QString plain = path(u"plain.srt"_qs);
        QVERIFY(writeFile(plain, original));
        QVERIFY(run({u"--AUTO"_qs, plain + u' '}));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().startsWith("quillmend: ")); // not the other program's name
        QCOMPARE(readFile(plain), original);
        QVERIFY(!QFile::exists(plain + u".bak"_qs));
    }

    // Killed or interrupted at any moment, a file is either as it was or
    // completely corrected, and its backup, if any, is the original.
    void killedAtAnyMomentLeavesWholeFiles_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGKILL") << int(SIGKILL);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }

    void killedAtAnyMomentLeavesWholeFiles()
    {
        QFETCH(int, signal);

#ifdef __SANITIZE_ADDRESS__
        // Runs are several times slower under the sanitizers; the moments killed at scale with them.
        const QByteArray original = largeFile(50000);
#else
        const QByteArray original = largeFile(200000);
#endif
        const QString movie = path(u"movie.srt"_qs);
        const QString expected = path(u"expected.out"_qs);
        QVERIFY(writeFile(movie, original));

        QElapsedTimer timer;
        timer.start();
        QProcess reference;
        reference.start(program(), arguments({u"-o"_qs, expected, movie}));
        QVERIFY(reference.waitForFinished(60000));
        QCOMPARE(reference.exitCode(), 0);
        const qint64 fullRunMs = timer.elapsed();
        const QByteArray corrected = readFile(expected);
        QVERIFY(corrected != original);

        int seenOriginal = 0;
        constexpr int rounds = 8;
        for (int round = 0; round < rounds; ++round) {
            QFile::remove(movie + u".bak"_qs);
            QVERIFY(writeFile(movie, original));
            QProcess process;
            process.start(program(), arguments({movie}));
            QVERIFY(process.waitForStarted());
            // From right after the start to past the usual end of the run.
            QTest::qWait(int(fullRunMs * 3 * round / (2 * (rounds - 1))));
            if (process.state() == QProcess::Running && process.processId() > 0)
                ::kill(pid_t(process.processId()), signal);
            QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(30000));

            const QByteArray now = readFile(movie);
            QVERIFY2(now == original || now == corrected, "half-written file");
            seenOriginal += now == original;
            const QByteArray backup = readFile(movie + u".bak"_qs);
            QVERIFY(backup == "<missing>" || backup == original);
            const QStringList left = QDir(m_dir.path()).entryList({u"movie*"_qs}, QDir::Files | QDir::Hidden);
            for (const QString &file : left)
                QVERIFY2(file == u"movie.srt" || file == u"movie.srt.bak", qPrintable(file));
        }
        QVERIFY(seenOriginal > 0);
    }
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cliprocess.moc"
