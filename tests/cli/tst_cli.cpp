// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"
#include "settings/settingsstore.h"
#include "support/srttext.h"
#include "support/testfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

// quillmend-cli through its run function: arguments in, exit code, output
// and files out.
class TestCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Run
    {
        int exitCode;
        QString out;
        QString err;
    };

    Run run(QStringList arguments, const QStringList &languageFolders = {QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)})
    {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        arguments.prepend(u"quillmend-cli"_qs);
        const CliEnvironment environment{m_dir.filePath(u"default.ini"_qs), languageFolders};
        const int exitCode = runCli(arguments, outStream, errStream, environment);
        outStream.flush();
        errStream.flush();
        return {exitCode, out, err};
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QStringList files() const { return filesIn(m_dir.path()); }

    static QString data(const QString &name) { return QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/") + name; }
    // A copy of a test file in the work folder, where the program may change it.
    QString copied(const QString &name) const
    {
        const QString target = path(name);
        QFile::remove(target);
        return QFile::copy(data(name), target) ? target : QString();
    }
    // One subtitle too long for a line of 44, and one short.
    static QByteArray input() { return readFile(data(u"movie.srt"_qs)); }
    static QByteArray corrected() { return readFile(data(u"movie.corrected.srt"_qs)); }
    static QString summary() { return u"Edits: 1 (with 0 time) - 0 time - 0 splits (with 0 time edit)"_qs; }

private slots:
    void init()
    {
        for (const QString &file : files())
            QFile::remove(path(file));
    }

    void correctsInPlaceKeepingABackup()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const Run first = run({movie});
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out, movie + u": "_qs + summary() + u"\n"_qs);
        QCOMPARE(first.err, QString());
        QCOMPARE(readFile(movie), corrected());
        QCOMPARE(readFile(movie + u".bak"_qs), input());

        // A second run keeps the first backup, the untouched original,
        // unless told to replace it.
        QCOMPARE(run({movie}).exitCode, 0);
        QCOMPARE(readFile(movie + u".bak"_qs), input());
        QCOMPARE(run({u"--replace-bak"_qs, movie}).exitCode, 0);
        QCOMPARE(readFile(movie + u".bak"_qs), corrected());
    }

    void outputAndDryRunLeaveTheInput()
    {
        const QString movie = copied(u"movie.srt"_qs);
        QCOMPARE(run({u"-o"_qs, path(u"out.srt"_qs), movie}).exitCode, 0);
        QCOMPARE(readFile(path(u"out.srt"_qs)), corrected());
        QCOMPARE(readFile(movie), input());

        const Run dry = run({u"--dry-run"_qs, movie});
        QCOMPARE(dry.exitCode, 0);
        QCOMPARE(dry.out, movie + u": "_qs + summary() + u"\n"_qs);
        QCOMPARE(files(), (QStringList{u"movie.srt"_qs, u"out.srt"_qs}));
        QCOMPARE(readFile(movie), input());
    }

    // Numbers of the file as written: the split of the first subtitle
    // shifts the rest. Without time buying nothing is mended.
    void reportsWhatIsStillTooFast()
    {
        const QString file = path(u"fast.srt"_qs);
        const QString words = QStringList(20, u"word"_qs).join(u' ');
        QVERIFY(writeFile(file, (srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, words)
                                 + srtBlock(2, u"00:00:03,000"_qs, u"00:00:04,000"_qs, u"ok"_qs)
                                 + srtBlock(3, u"00:00:05,000"_qs, u"00:00:05,500"_qs, u"abcdefghijklmnopqrstuvwxyz"_qs))
                                    .toUtf8()));
        const QStringList options{u"--dry-run"_qs, u"--set"_qs, u"BuyTime=0"_qs};
        const Run json = run(options + QStringList{u"--report"_qs, u"json"_qs, file});
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object()[u"tooFast"_qs].toArray(), (QJsonArray{1, 2, 4}));
        QVERIFY(run(options + QStringList{file}).out.endsWith(u" time edit), 3 still too fast\n"_qs));
    }

    void jsonReport()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const QString empty = copied(u"blank-lines.srt"_qs);
        const Run result = run({u"--report"_qs, u"json"_qs, movie, path(u"missing.srt"_qs), empty});
        QCOMPARE(result.exitCode, 1);
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const auto object = [](const QString &line) { return QJsonDocument::fromJson(line.toUtf8()).object(); };
        const auto counters = [](int edits) {
            return QJsonObject{{u"edits"_qs, edits},         {u"splits"_qs, 0},        {u"timeEdits"_qs, 0},
                               {u"splitTimeEdits"_qs, 0},    {u"longLinesLeft"_qs, 0}, {u"timeOnlyEdits"_qs, 0}};
        };

        QCOMPARE(object(lines[0]),
                 (QJsonObject{{u"file"_qs, movie}, {u"encoding"_qs, u"UTF-8"_qs}, {u"subtitlesIn"_qs, 2},
                              {u"subtitlesOut"_qs, 2}, {u"summary"_qs, summary()}, {u"counters"_qs, counters(1)},
                              {u"records"_qs, QJsonArray{QJsonObject{{u"ordinal"_qs, 1}, {u"kind"_qs, u"Edit"_qs}}}},
                              {u"tooFast"_qs, QJsonArray{}}, {u"moved"_qs, QJsonArray{}},
                              {u"lenientTimeLines"_qs, 0}}));

        const QJsonObject missing = object(lines[1]);
        QCOMPARE(missing.keys(), (QStringList{u"error"_qs, u"file"_qs}));
        QVERIFY(missing[u"error"_qs].toString().startsWith(u"Error in file: cannot read the file: "_qs));

        // Nothing to save still reports what the run found.
        QCOMPARE(object(lines[2]),
                 (QJsonObject{{u"file"_qs, empty}, {u"encoding"_qs, u"UTF-8"_qs}, {u"subtitlesIn"_qs, 0},
                              {u"subtitlesOut"_qs, 0},
                              {u"summary"_qs, u"Edits: 0 (with 0 time) - 0 time - 0 splits (with 0 time edit)"_qs},
                              {u"counters"_qs, counters(0)}, {u"records"_qs, QJsonArray{}},
                              {u"tooFast"_qs, QJsonArray{}}, {u"moved"_qs, QJsonArray{}}, {u"lenientTimeLines"_qs, 0},
                              {u"error"_qs, u"Nothing to save"_qs}}));
    }

    // Language and gap are reported only away from their defaults, so a
    // default report stays as it was. The gap moves both starts, which
    // the moved list tells, though no record does.
    void jsonReportsGuidelineLanguageGapAndMoves()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const Run result = run({u"--report"_qs, u"json"_qs, u"--set"_qs, u"GuidelineBreaks=-1"_qs, u"--set"_qs,
                                u"MinGapMs=2000"_qs, u"--dry-run"_qs, movie});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
        QCOMPARE(object[u"language"_qs], QJsonValue(QJsonValue::Null)); // two weak words tell nothing
        QCOMPARE(object[u"minGapMs"_qs], QJsonValue(2000));
        QCOMPARE(object[u"moved"_qs].toArray(), (QJsonArray{1, 2})); // the first, 2 s after zero
        QCOMPARE(object[u"records"_qs].toArray().size(), 1);
    }

    void badFilesAreRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");

        QTest::newRow("empty") << u"empty.srt"_qs << u"Nothing to save"_qs;
        QTest::newRow("time line in a common variant") << u"bad-time-line.srt"_qs
                                                       << u"Error in file: line 6: 00:00:03 --> 00:00:04,000 "
                                                          u"(to read such time lines: --set LenientTimes=-1)"_qs;
    }

    void badFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);

        const QString movie = copied(file);
        const Run result = run({movie});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, u"quillmend-cli: "_qs + movie + u": "_qs + message + u"\n"_qs);
        QCOMPARE(result.out, QString());
        QCOMPARE(readFile(movie), readFile(data(file)));
        QCOMPARE(files(), QStringList{file});
    }

    void commonTimeVariantsOnRequest()
    {
        const Run result = run({u"--set"_qs, u"LenientTimes=-1"_qs, u"--report"_qs, u"json"_qs, u"--dry-run"_qs,
                                copied(u"bad-time-line.srt"_qs)});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(result.out.toUtf8())[u"lenientTimeLines"_qs].toInt(), 1);
    }

    void namedEncoding_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reported"); // the encoding, or the error

        QTest::newRow("named") << QStringList{u"--encoding"_qs, u"CP1251"_qs} << 0 << u"windows-1251"_qs;
        QTest::newRow("detected") << QStringList{u"--encoding"_qs, u"Auto"_qs} << 0 << u"windows-1251"_qs;
        QTest::newRow("from the setting") << QStringList{u"--set"_qs, u"Encoding=KOI8-R"_qs} << 0 << u"KOI8-R"_qs;
        QTest::newRow("bytes that do not decode") << QStringList{u"--encoding"_qs, u"utf-8"_qs} << 1
                                                  << u"Error in file: invalid UTF-8 at byte 34"_qs;
    }

    void namedEncoding()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, reported);

        const QByteArray cyrillic =
            QStringEncoder("windows-1251").encode(crlf(u"1\n00:00:01,000 --> 00:00:03,000\nДобрый вечер.\n\n"_qs));
        QVERIFY(writeFile(path(u"ru.srt"_qs), cyrillic));
        const Run result = run(QStringList{u"--report"_qs, u"json"_qs, u"-o"_qs, path(u"out.srt"_qs)} + arguments
                               + QStringList{path(u"ru.srt"_qs)});
        QCOMPARE(result.exitCode, exitCode);
        const QJsonDocument report = QJsonDocument::fromJson(result.out.toUtf8());
        QCOMPARE(report[exitCode == 0 ? u"encoding"_qs : u"error"_qs].toString(), reported);
        // Written back byte for byte in the encoding read, or not at all.
        QCOMPARE(readFile(path(u"out.srt"_qs)), exitCode == 0 ? cyrillic : QByteArray("<missing>"));
    }

    void unwritableTargets()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const QString nowhere = path(u"no/such/folder/out.srt"_qs);
        const Run result = run({u"-o"_qs, nowhere, movie});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(u"quillmend-cli: "_qs + movie + u": Cannot save "_qs + nowhere + u": "_qs),
                 qPrintable(result.err));
        QCOMPARE(readFile(movie), input());
    }

    void settingsAndOverrides_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");

        QTest::newRow("narrower lines") << QByteArray() << QStringList{u"--set"_qs, u"maxlen=30"_qs} << 0 << QString();
        QTest::newRow("from the settings file") << QByteArray("[General]\nMaxLen=30\n") << QStringList{} << 0
                                                << QString();
        QTest::newRow("unknown key") << QByteArray() << QStringList{u"--set"_qs, u"MaxLength=20"_qs} << 2
                                     << u"quillmend-cli: Invalid setting MaxLength: not a setting\n"_qs;
        QTest::newRow("not a number") << QByteArray() << QStringList{u"--set"_qs, u"MaxLen=abc"_qs} << 2
                                      << u"quillmend-cli: Invalid setting MaxLen: is not a number\n"_qs;
        QTest::newRow("beyond 32 bits") << QByteArray() << QStringList{u"--set"_qs, u"LettersFor1Min=1e10"_qs} << 2
                                        << u"quillmend-cli: Invalid setting LettersFor1Min: does not fit in a 32-bit "
                                           u"integer\n"_qs;
        // A file that cannot be read as settings is not taken for the defaults.
        QTest::newRow("blank settings file") << QByteArray("\r\n\r\n") << QStringList{u"--set"_qs, u"MaxLen=30"_qs}
                                             << 0 << QString();
        QTest::newRow("NUL byte") << QByteArray("[General]\nMaxLen=30\n\0", 22) << QStringList{} << 2
                                  << u"quillmend-cli: invalid settings file {ini}: it holds a NUL byte\n"_qs;
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE[\0G\0]\0", 8) << QStringList{} << 2
                                << u"quillmend-cli: invalid settings file {ini}: it is UTF-16 text, not UTF-8\n"_qs;
        QTest::newRow("no [General] section") << QByteArray("[Other]\nMaxLen=30\n") << QStringList{} << 2
                                              << u"quillmend-cli: invalid settings file {ini}: it has no [General] "
                                                 u"section\n"_qs;
        QTest::newRow("1 MiB") << QByteArray("[General]\n").append(1024 * 1024 - 10, ';')
                               << QStringList{u"--set"_qs, u"MaxLen=30"_qs} << 0 << QString();
        QTest::newRow("1 MiB and a byte") << QByteArray("[General]\n").append(1024 * 1024 - 9, ';') << QStringList{}
                                          << 2
                                          << u"quillmend-cli: invalid settings file {ini}: it is larger than 1048576 "
                                             u"bytes\n"_qs;
        QTest::newRow("below one in the file names the file")
            << QByteArray("[General]\nMaxLen=-5\n") << QStringList{} << 2
            << u"quillmend-cli: {ini}: Invalid setting MaxLen: must be at least 1\n"_qs;
        QTest::newRow("gap above 10000") << QByteArray() << QStringList{u"--set"_qs, u"MinGapMs=10001"_qs} << 2
                                         << u"quillmend-cli: Invalid setting MinGapMs: must be from 1 to 10000\n"_qs;
        QTest::newRow("no equals sign") << QByteArray() << QStringList{u"--set"_qs, u"MaxLen"_qs} << 2
                                        << u"quillmend-cli: --set needs KEY=VALUE, not 'MaxLen'\nTry 'quillmend-cli --help'.\n"_qs;
    }

    void settingsAndOverrides()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, err);

        const QString movie = copied(u"movie.srt"_qs);
        QVERIFY(writeFile(path(u"settings.ini"_qs), ini));
        const Run result = run(QStringList{u"--settings"_qs, path(u"settings.ini"_qs)} + arguments + QStringList{movie});
        QCOMPARE(result.err, QString(err).replace(u"{ini}"_qs, path(u"settings.ini"_qs)));
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0) {
            QVERIFY(readFile(movie).contains("The lighthouse keeper climbed\r\nthe stairs twice every night."));
        } else {
            QCOMPARE(readFile(movie), input());
            QCOMPARE(files(), (QStringList{u"movie.srt"_qs, u"settings.ini"_qs}));
        }
        // The command line never rewrites the settings file.
        QCOMPARE(readFile(path(u"settings.ini"_qs)), ini);
    }

    // The size is known before a byte is read: a huge file costs nothing.
    void aFileTooLargeIsRefusedBeforeReading()
    {
        const QString huge = path(u"huge.srt"_qs);
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize((qint64(1) << 31)));
        file.close();
        const Run result = run({huge});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, u"quillmend-cli: "_qs + huge + u": Error in file: the file is too large (2147483648 bytes)\n"_qs);
        QCOMPARE(QFileInfo(huge).size(), qint64(1) << 31);
        QCOMPARE(files(), QStringList{u"huge.srt"_qs});
    }

    void messagesFollowTheLanguageSetting()
    {
        QVERIFY(writeFile(path(u"settings.ini"_qs), "[General]\nLang=French\n"));
        const QString movie = copied(u"movie.srt"_qs);
        const QString bad = copied(u"bad-time-line.srt"_qs);
        const Run result = run({u"--settings"_qs, path(u"settings.ini"_qs), movie, bad},
                               {data(u"lang"_qs), QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)});
        QCOMPARE(result.out,
                 movie + u": Corrections : 1 (dont 0 de temps) - 0 time - 0 splits (with 0 time edit)\n"_qs);
        QVERIFY2(result.err.contains(u": Erreur dans le fichier: line 6: "_qs), qPrintable(result.err));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outStart");
        QTest::addColumn<QString>("errStart");

        QTest::newRow("help") << QStringList{u"--help"_qs} << 0 << u"Usage: quillmend-cli [options] FILE..."_qs
                              << QString();
        QTest::newRow("version") << QStringList{u"--version"_qs} << 0 << u"quillmend-cli 0."_qs << QString();
        QTest::newRow("no file") << QStringList{} << 2 << QString() << u"quillmend-cli: no subtitle file given"_qs;
        QTest::newRow("unknown option") << QStringList{u"--fast"_qs, u"a.srt"_qs} << 2 << QString()
                                        << u"quillmend-cli: Unknown option 'fast'."_qs;
        QTest::newRow("output with two files") << QStringList{u"-o"_qs, u"x.srt"_qs, u"a.srt"_qs, u"b.srt"_qs} << 2
                                               << QString() << u"quillmend-cli: --output takes exactly one input"_qs;
        QTest::newRow("unknown report") << QStringList{u"--report"_qs, u"xml"_qs, u"a.srt"_qs} << 2 << QString()
                                        << u"quillmend-cli: unknown report format 'xml'"_qs;
        QTest::newRow("missing settings file") << QStringList{u"--settings"_qs, u"/no/such.ini"_qs, u"a.srt"_qs} << 2
                                               << QString() << u"quillmend-cli: settings file '/no/such.ini' not found"_qs;
        QTest::newRow("settings file that is no file") << QStringList{u"--settings"_qs, u"/dev/null"_qs, u"a.srt"_qs} << 2
                                                       << QString()
                                                       << u"quillmend-cli: settings file '/dev/null' is not a regular file"_qs;
        QTest::newRow("unknown encoding") << QStringList{u"--encoding"_qs, u"klingon"_qs, u"a.srt"_qs} << 2 << QString()
                                          << u"quillmend-cli: unknown encoding 'klingon'"_qs;
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, outStart);
        QFETCH(QString, errStart);

        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.out.startsWith(outStart), qPrintable(result.out));
        QVERIFY2(result.err.startsWith(errStart), qPrintable(result.err));
        QVERIFY(outStart.isEmpty() == result.out.isEmpty());
        if (arguments == QStringList{u"--help"_qs}) {
            for (const SettingKey &key : SettingsStore::keys())
                QVERIFY2(result.out.contains(QString(key.name) + u" ("_qs + SettingsStore::defaultText(key) + u')'),
                         qPrintable(QString(key.name)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
