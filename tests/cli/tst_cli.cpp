// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"
#include "settings/settingsstore.h"
#include "support/srttext.h"
#include "support/testfiles.h"
#include "support/webvtttext.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <tuple>

// quillmend-cli through its run function: arguments in, exit code, output and files out.
class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Run { int exitCode; QString out, err; };

    Run run(QStringList arguments, const QStringList &languageFolders = {QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)})
    {
        Run result;
        QTextStream out(&result.out), err(&result.err);
        arguments.prepend(u"quillmend-cli"_qs);
        result.exitCode = runCli(arguments, out, err, {m_dir.filePath(u"default.ini"_qs), languageFolders});
        out.flush();
        err.flush();
        return result;
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QStringList files() const { return filesIn(m_dir.path()); }

    static QString data(const QString &name) { return QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/") + name; }
    // A copy of a test file in the work folder, emptied before each test, where the program may change it.
    QString copied(const QString &name) const { return QFile::copy(data(name), path(name)) ? path(name) : QString(); }
    // One subtitle too long for a line of 44, and one short; written back ending in a blank line.
    static QByteArray input() { return readFile(data(u"movie.srt"_qs)); }
    static QByteArray corrected() { return input().replace("stairs twice", "stairs\r\ntwice") + "\r\n"; }
    static QString summary(int edits = 1)
    {
        return u"Edits: %1 (with 0 time) - 0 time - 0 splits (with 0 time edit)"_qs.arg(edits);
    }

private slots:
    void init()
    {
        for (const QString &file : files())
            QFile::remove(path(file));
    }

    // -o and --dry-run leave the input alone; in place, the backup is the untouched original, kept by a second run
    // unless told to replace it.
    void correctsInPlaceKeepingABackup()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const QString reported = movie + u": "_qs + summary() + u"\n"_qs;
        QCOMPARE(run({u"-o"_qs, path(u"out.srt"_qs), movie}).exitCode, 0);
        QCOMPARE(readFile(path(u"out.srt"_qs)), corrected());
        const Run dry = run({u"--dry-run"_qs, movie});
        QCOMPARE(std::pair(dry.exitCode, dry.out), std::pair(0, reported));
        QCOMPARE(files(), (QStringList{u"movie.srt"_qs, u"out.srt"_qs}));
        QCOMPARE(readFile(movie), input());

        const Run first = run({movie});
        QCOMPARE(std::tuple(first.exitCode, first.out, first.err), std::tuple(0, reported, QString()));
        QCOMPARE(readFile(movie), corrected());
        QCOMPARE(readFile(movie + u".bak"_qs), input());
        QCOMPARE(run({movie}).exitCode, 0);
        QCOMPARE(readFile(movie + u".bak"_qs), input());
        QCOMPARE(run({u"--replace-bak"_qs, movie}).exitCode, 0);
        QCOMPARE(readFile(movie + u".bak"_qs), corrected());
    }

    // Numbers of the file as written: the split of the first subtitle
    // shifts the rest. Without time buying nothing is mended.
    void reportsWhatIsStillTooFast()
    {
        const QString file = path(u"fast.srt"_qs);
        const QString words = QStringList(20, u"word"_qs).join(u' '), letters = u"abcdefghijklmnopqrstuvwxyz"_qs;
        QVERIFY(writeFile(file, (srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, words)
                                 + srtBlock(2, u"00:00:03,000"_qs, u"00:00:04,000"_qs, u"ok"_qs)
                                 + srtBlock(3, u"00:00:05,000"_qs, u"00:00:05,500"_qs, letters))
                                    .toUtf8()));
        const QStringList options{u"--dry-run"_qs, u"--set"_qs, u"BuyTime=0"_qs};
        const Run json = run(options + QStringList{u"--report"_qs, u"json"_qs, file});
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8())[u"tooFast"_qs].toArray(), (QJsonArray{1, 2, 4}));
        QVERIFY(run(options + QStringList{file}).out.endsWith(u" time edit), 3 still too fast\n"_qs));
    }

    void jsonReport()
    {
        const QString movie = copied(u"movie.srt"_qs);
        const QString empty = copied(u"blank-lines.srt"_qs);
        const QString lenient = copied(u"bad-time-line.srt"_qs);
        const Run result = run({u"--report"_qs, u"json"_qs, u"--set"_qs, u"LenientTimes=-1"_qs, movie,
                                path(u"missing.srt"_qs), empty, lenient});
        QCOMPARE(result.exitCode, 1);
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        const auto object = [](const QString &line) { return QJsonDocument::fromJson(line.toUtf8()).object(); };
        // The report of a run with only edits, one per record.
        const auto report = [](const QString &file, int subtitles, const QJsonArray &records) {
            const int edits = int(records.size());
            const QJsonObject counters{{u"edits"_qs, edits},          {u"splits"_qs, 0},        {u"timeEdits"_qs, 0},
                                       {u"splitTimeEdits"_qs, 0}, {u"longLinesLeft"_qs, 0}, {u"timeOnlyEdits"_qs, 0}};
            return QJsonObject{{u"file"_qs, file}, {u"encoding"_qs, u"UTF-8"_qs}, {u"subtitlesIn"_qs, subtitles},
                               {u"subtitlesOut"_qs, subtitles}, {u"summary"_qs, summary(edits)},
                               {u"counters"_qs, counters}, {u"records"_qs, records}, {u"tooFast"_qs, QJsonArray{}},
                               {u"moved"_qs, QJsonArray{}}, {u"lenientTimeLines"_qs, 0}};
        };
        QCOMPARE(object(lines[0]), report(movie, 2, {QJsonObject{{u"ordinal"_qs, 1}, {u"kind"_qs, u"Edit"_qs}}}));
        const QJsonObject missing = object(lines[1]);
        QCOMPARE(missing.keys(), (QStringList{u"error"_qs, u"file"_qs}));
        QVERIFY(missing[u"error"_qs].toString().startsWith(u"Error in file: cannot read the file: "_qs));
        // Nothing to save still reports what the run found.
        QJsonObject nothing = report(empty, 0, {});
        nothing[u"error"_qs] = u"Nothing to save"_qs;
        QCOMPARE(object(lines[2]), nothing);
        QJsonObject variant = report(lenient, 2, {});
        variant[u"lenientTimeLines"_qs] = 1;
        QCOMPARE(object(lines[3]), variant);
    }

    // Language and gap are reported only away from their defaults, so a default report stays as it was. The gap moves
    // both starts, which the moved list tells, though no record does.
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

    // One subtitle short of a second, to end at 12,000 or before a cut; rate: the list's, or --frame-rate's.
    void shotChangeLists_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("frameRate");
        QTest::addColumn<QString>("err"); // after "quillmend-cli: {list}: "
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("report"); // the report's last keys

        const auto row = [](const char *name, const char *list, const char *rate, const QString &err, int exitCode,
                            const char *end = "", const char *rows = "", int cuts = 0, const char *fps = "null") {
            QTest::newRow(name) << (list ? QByteArray(list) : QByteArray()) << QString::fromLatin1(rate) << err
                                << exitCode << QString::fromLatin1(end)
                                << u"\"shotChange\":[%1],\"lenientTimeLines\":0,\"shotChanges\":%2,\"frameRate\":%3}"_qs
                                       .arg(QLatin1StringView(rows), QString::number(cuts), QLatin1StringView(fps));
        };
        row("a cut 12 frames after the end wanted", "12.480\n", "25", {}, 0, "00:00:12,400", "1", 1, "25");
        row("no frame rate: whole milliseconds", "12.480\n", "", {}, 0, "00:00:12,397", "1", 1);
        row("another film's: cuts past the end", "7200\n", "23.976", {}, 0, "00:00:12,012", "", 1, "23.976");
        row("empty: timing without cuts", "", "",
            u"no shot changes in the list; timing is corrected without them"_qs, 0, "00:00:12,000");
        row("an unreadable line", "1.5\n12,480\n", "", u"line 2 is not a time in seconds: 12,480"_qs, 1);
        row("keyframes without a rate", "# keyframe format v1\n312\n", "",
            u"the keyframe list gives no frame rate (give it with --frame-rate)"_qs, 1);
        row("a rate the list contradicts", "# keyframe format v1\nfps 25\n312\n", "24",
            u"the list gives 25 frames a second, not the 24 of --frame-rate"_qs, 2);
        row("no list", nullptr, "", u"no such file"_qs, 1);
    }

    void shotChangeLists()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, frameRate);
        QFETCH(QString, err);
        QFETCH(int, exitCode);
        QFETCH(QString, end);
        const QString fortySix = u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs;
        const QByteArray input = (srtBlock(1, u"00:00:10,000"_qs, u"00:00:11,000"_qs, fortySix)
                                  + srtBlock(2, u"00:00:20,000"_qs, u"00:00:22,000"_qs, u"Next."_qs))
                                     .toUtf8();
        const QString movie = path(u"movie.srt"_qs), cuts = path(u"cuts.txt"_qs);
        QVERIFY(writeFile(movie, input));
        QVERIFY(list.isNull() || writeFile(cuts, list));
        QStringList arguments{u"--report"_qs, u"json"_qs, u"--shot-changes"_qs, cuts, movie};
        if (!frameRate.isEmpty())
            arguments << u"--frame-rate"_qs << frameRate;
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.err, err.isEmpty() ? QString() : u"quillmend-cli: "_qs + cuts + u": "_qs + err + u'\n');
        if (exitCode != 0) {
            QCOMPARE(result.out, QString());
            QCOMPARE(readFile(movie), input);
            return;
        }
        QFETCH(QString, report);
        QVERIFY2(result.out.trimmed().endsWith(report), qPrintable(result.out));
        QVERIFY2(readFile(movie).contains(end.toLatin1()), readFile(movie).constData());
    }

    // A WebVTT file is written back as WebVTT, every byte the correction did not change as it was, even under any
    // encoding chosen for SRT files; the report says so, and a .vtt that is not WebVTT is refused by name.
    void webVttInAndOut()
    {
        const QString vtt = path(u"every.vtt"_qs), srtNamed = path(u"every.srt"_qs), notVtt = path(u"movie.vtt"_qs);
        QVERIFY(writeFile(vtt, EveryKindVtt) && writeFile(srtNamed, EveryKindVtt) && QFile::copy(data(u"movie.srt"_qs), notVtt));
        const Run result = run({u"--report"_qs, u"json"_qs, u"--encoding"_qs, u"windows-1252"_qs, vtt, srtNamed, notVtt});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(readFile(vtt), everyKindCorrected());
        QCOMPARE(readFile(srtNamed), everyKindCorrected());
        QCOMPARE(readFile(vtt + u".bak"_qs), EveryKindVtt);
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const QJsonObject report = QJsonDocument::fromJson(lines[0].toUtf8()).object();
        QCOMPARE(report[u"format"_qs], QJsonValue(u"WebVTT"_qs));
        QCOMPARE(report[u"records"_qs].toArray().size(), 2);
        QCOMPARE(QJsonDocument::fromJson(lines[2].toUtf8())[u"error"_qs],
                 QJsonValue(u"Error in file: line 1: no WEBVTT signature; this is not a WebVTT file"_qs));
        QCOMPARE(readFile(notVtt), input());
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

    void namedEncoding_data()
    {
        QTest::addColumn<QString>("arguments"); // separated by blanks
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reported"); // the encoding, or the error
        QTest::newRow("named") << u"--encoding CP1251"_qs << 0 << u"windows-1251"_qs;
        QTest::newRow("detected") << u"--encoding Auto"_qs << 0 << u"windows-1251"_qs;
        QTest::newRow("from the setting") << u"--set Encoding=KOI8-R"_qs << 0 << u"KOI8-R"_qs;
        QTest::newRow("not decoded") << u"--encoding utf-8"_qs << 1 << u"Error in file: invalid UTF-8 at byte 34"_qs;
    }

    void namedEncoding()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        const QByteArray cyrillic =
            QStringEncoder("windows-1251").encode(crlf(u"1\n00:00:01,000 --> 00:00:03,000\nДобрый вечер.\n\n"_qs));
        QVERIFY(writeFile(path(u"ru.srt"_qs), cyrillic));
        const Run result = run(QStringList{u"--report"_qs, u"json"_qs, u"-o"_qs, path(u"out.srt"_qs)}
                               + arguments.split(u' ') + QStringList{path(u"ru.srt"_qs)});
        QCOMPARE(result.exitCode, exitCode);
        const QJsonDocument report = QJsonDocument::fromJson(result.out.toUtf8());
        QTEST(report[exitCode == 0 ? u"encoding"_qs : u"error"_qs].toString(), "reported");
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

    // set: the value of one --set, if any; err: what follows "quillmend-cli: ", {ini} standing for the file.
    void settingsAndOverrides_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("err");
        const auto row = [](const char *name, const QByteArray &ini, const QString &set, const QString &err = {}) {
            QTest::newRow(name) << ini << set << err;
        };
        const QString invalid = u"invalid settings file {ini}: "_qs;
        row("narrower lines", {}, u"maxlen=30"_qs);
        row("from the settings file", "[General]\nMaxLen=30\n", {});
        row("unknown key", {}, u"MaxLength=20"_qs, u"Invalid setting MaxLength: not a setting"_qs);
        row("not a number", {}, u"MaxLen=abc"_qs, u"Invalid setting MaxLen: is not a number"_qs);
        row("beyond 32 bits", {}, u"LettersFor1Min=1e10"_qs,
            u"Invalid setting LettersFor1Min: does not fit in a 32-bit integer"_qs);
        // A file that cannot be read as settings is not taken for the defaults.
        row("blank settings file", "\r\n\r\n", u"MaxLen=30"_qs);
        row("NUL byte", QByteArray("[General]\nMaxLen=30\n\0", 22), {}, invalid + u"it holds a NUL byte"_qs);
        row("UTF-16", QByteArray("\xFF\xFE[\0G\0]\0", 8), {}, invalid + u"it is UTF-16 text, not UTF-8"_qs);
        row("no [General] section", "[Other]\nMaxLen=30\n", {}, invalid + u"it has no [General] section"_qs);
        row("1 MiB", QByteArray("[General]\n").append(1024 * 1024 - 10, ';'), u"MaxLen=30"_qs);
        row("1 MiB and a byte", QByteArray("[General]\n").append(1024 * 1024 - 9, ';'), {},
            invalid + u"it is larger than 1048576 bytes"_qs);
        row("below one in the file names the file", "[General]\nMaxLen=-5\n", {},
            u"{ini}: Invalid setting MaxLen: must be at least 1"_qs);
        row("gap above 10000", {}, u"MinGapMs=10001"_qs, u"Invalid setting MinGapMs: must be from 1 to 10000"_qs);
        row("no equals sign", {}, u"MaxLen"_qs, u"--set needs KEY=VALUE, not 'MaxLen'\nTry 'quillmend-cli --help'."_qs);
    }

    void settingsAndOverrides()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, set);
        QFETCH(QString, err);
        const QString movie = copied(u"movie.srt"_qs);
        QVERIFY(writeFile(path(u"settings.ini"_qs), ini));
        const QStringList setting = set.isEmpty() ? QStringList() : QStringList{u"--set"_qs, set};
        const Run result = run(QStringList{u"--settings"_qs, path(u"settings.ini"_qs)} + setting + QStringList{movie});
        const QString expected = u"quillmend-cli: "_qs + QString(err).replace(u"{ini}"_qs, path(u"settings.ini"_qs));
        QCOMPARE(result.err, err.isEmpty() ? QString() : expected + u'\n');
        QCOMPARE(result.exitCode, err.isEmpty() ? 0 : 2);
        if (err.isEmpty()) {
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
        QVERIFY(writeFile(huge, {}) && QFile::resize(huge, qint64(1) << 31));
        const Run result = run({huge});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 u"quillmend-cli: "_qs + huge + u": Error in file: the file is too large (2147483648 bytes)\n"_qs);
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

    // Exit code 0: the start of standard output; 2: of the error after "quillmend-cli: ".
    void usage_data()
    {
        QTest::addColumn<QString>("arguments"); // separated by blanks
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("start");
        QTest::newRow("help") << u"--help"_qs << 0 << u"Usage: quillmend-cli [options] FILE..."_qs;
        QTest::newRow("version") << u"--version"_qs << 0 << u"quillmend-cli 0."_qs;
        QTest::newRow("no file") << QString() << 2 << u"no subtitle file given"_qs;
        QTest::newRow("unknown option") << u"--fast a.srt"_qs << 2 << u"Unknown option 'fast'."_qs;
        QTest::newRow("output, two files") << u"-o x.srt a.srt b.srt"_qs << 2 << u"--output takes exactly one input"_qs;
        QTest::newRow("unknown report") << u"--report xml a.srt"_qs << 2 << u"unknown report format 'xml'"_qs;
        QTest::newRow("missing settings file") << u"--settings /no/such.ini a.srt"_qs << 2
                                               << u"settings file '/no/such.ini' not found"_qs;
        QTest::newRow("settings file that is no file") << u"--settings /dev/null a.srt"_qs << 2
                                                       << u"settings file '/dev/null' is not a regular file"_qs;
        QTest::newRow("unknown encoding") << u"--encoding klingon a.srt"_qs << 2 << u"unknown encoding 'klingon'"_qs;
        QTest::newRow("a frame rate without shot changes") << u"--frame-rate 25 a.srt"_qs << 2
                                                           << u"--frame-rate needs --shot-changes"_qs;
        QTest::newRow("a frame rate of 0") << u"--shot-changes c.txt --frame-rate 0 a.srt"_qs << 2
                                           << u"invalid frame rate '0'"_qs;
        QTest::newRow("frames under a millisecond") << u"--shot-changes c.txt --frame-rate 1001 a.srt"_qs << 2
                                                    << u"invalid frame rate '1001'"_qs;
        QTest::newRow("shot changes of one film, two files") << u"--shot-changes c.txt a.srt b.srt"_qs << 2
                                                             << u"--shot-changes takes exactly one subtitle file"_qs;
        QTest::newRow("two sources of shot changes") << u"--shot-changes c.txt --video v.mkv a.srt"_qs << 2
                                                     << u"--shot-changes and --video each give the shot changes"_qs;
    }

    void usage()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, start);
        const Run result = run(arguments.split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(result.exitCode, exitCode);
        const QString &shown = exitCode == 0 ? result.out : result.err;
        QVERIFY2(shown.startsWith(exitCode == 0 ? start : u"quillmend-cli: "_qs + start), qPrintable(shown));
        QCOMPARE(exitCode == 0 ? result.err : result.out, QString());
        if (arguments == u"--help") {
            for (const SettingKey &key : SettingsStore::keys())
                QVERIFY2(result.out.contains(QString(key.name) + u" ("_qs + SettingsStore::defaultText(key) + u')'),
                         qPrintable(QString(key.name)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
