// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtwriter.h"
#include "document/timecode.h"
#include "engine/correctionrun.h"
#include "engine/linebreak.h"
#include "engine/readingspeed.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/srttext.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Two lines, 46 characters: they need 2 s at 23 a second.
const QString TwoLines = u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs;

// Times without hours and minutes are in the first minute.
struct Block { const char *start, *end; QString text; };

// SRT text of the blocks, numbered from first.
QString srt(std::initializer_list<Block> blocks, int first = 1)
{
    const auto time = [](const char *text) -> QString {
        const QLatin1StringView given(text);
        return u"00:00:00,000"_qs.left(12 - given.size()) + given;
    };
    QString srt;
    for (const Block &block : blocks)
        srt += srtBlock(first++, time(block.start), time(block.end), block.text);
    return srt;
}

} // namespace

// The correction run end to end: SRT text in, corrected SRT text, records
// and counters out. Expected values are worked by hand from the rules.
class TestCorrectionRun : public QObject
{
    Q_OBJECT

    struct Outcome { QString srt; CorrectionResult result; std::vector<SubtitleRow> rows; };

    static Outcome correct(const QString &input, const Settings &settings = {}, const ShotChanges &shots = {})
    {
        RowCollector collector;
        Outcome outcome;
        outcome.result = runCorrection(input.toUtf8(), settings, LangDoc(), collector, {}, shots);
        SrtWriter writer({});
        for (const SubtitleRow &row : collector.rows)
            writer.writeRow(row);
        outcome.srt = QString::fromUtf8(writer.take());
        outcome.rows = std::move(collector.rows);
        return outcome;
    }

    static QString recordsText(const CorrectionResult &result)
    {
        QStringList texts;
        for (const EditRecord &record : result.records)
            texts << record.ordinalText() + QLatin1Char(' ') + record.kindText(LangDoc());
        return texts.join(QLatin1Char('|'));
    }

    // The written rows whose start the overlap correction moved, "2,3".
    static QString movedNumbers(const CorrectionResult &result)
    {
        QStringList numbers;
        for (const MovedStart &move : result.moved)
            numbers << QString::number(move.number);
        return numbers.join(u',');
    }

    // "2: reason (without: 10,000-12,000)" for each written subtitle with a time a shot-change rule chose.
    static QString shotTimesText(const CorrectionResult &result)
    {
        QStringList texts;
        for (const ShotChangeTime &time : result.shotChangeTimes)
            texts << QString::number(time.number) + u": "_qs + time.reason(LangDoc()) + u" (without: "_qs
                    + SecondsToTimeText(time.startWithoutRuleSeconds).mid(6) + u'-'
                    + SecondsToTimeText(time.endWithoutRuleSeconds).mid(6) + u')';
        return texts.join(u'|');
    }

    // Shot changes at seconds, 25 frames a second unless said, with the setting on.
    static ShotChanges cuts(QList<double> seconds, double frameRate = 25)
    {
        return {std::vector<double>(seconds.begin(), seconds.end()), frameRate, 0};
    }

    // The default settings with one value changed.
    template<typename T>
    static Settings with(T Settings::*field, T value)
    {
        Settings settings;
        settings.*field = value;
        return settings;
    }

private slots:
    void reBreaking_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("records");
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("longLinesLeft");
        // A null expected text: the text stays as it is.
        const auto row = [](const char *name, const Settings &settings, const QString &text, const QString &expected,
                            bool recorded, int edits, int longLinesLeft = 0) {
            QTest::newRow(name) << settings << text << (expected.isNull() ? text : expected)
                                << (recorded ? u"0001 Edit"_qs : QString()) << edits << longLinesLeft;
        };

        const QString sixty = u"This line is far too long to be read in the time it is shown"_qs;
        const QString long120 = u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
                                u"fifteen sixteen seventeen eighteen nine"_qs;
        const Settings ten = with(&Settings::MaxLen, 10);
        row("last blank within MaxLen", ten, u"aaaa bbbb cccc"_qs, u"aaaa bbbb\ncccc"_qs, true, 1);
        row("two lines of exactly MaxLen stay", ten, u"aaaa bbbbb\ncccc ddddd"_qs, {}, false, 0);
        row("three short lines joined", {}, u"Yes.\nNo.\nMaybe."_qs, u"Yes. No. Maybe."_qs, true, 1);
        row("three short lines kept when so set", with(&Settings::CorrectSubsAbove2Lines, false),
            u"Yes.\nNo.\nMaybe."_qs, {}, false, 0);
        row("no correction without joining", with(&Settings::JoinSubsAbove2Lines, false), sixty, {}, false, 0);
        row("first word longer than a line", ten, u"Supercalifragilistic yes"_qs, {}, true, 0);
        row("blank right after MaxLen is not used", ten, u"aaa bbbbbb cc"_qs, u"aaa\nbbbbbb cc"_qs, true, 1);
        row("second line left long without splitting", with(&Settings::BrakeTo2, false), long120,
            QString(long120).replace(u"eight nine ten"_qs, u"eight\nnine ten"_qs), true, 1, 1);
        row("a split with an empty half is a broken long line", ten, u"  - aaaa bbbb cccc dddd"_qs,
            u"  - aaaa\nbbbb cccc dddd"_qs, true, 1, 1);
        row("line ending in a blank: two at the join", ten, u"aaaa bbbb \ncc\ndd"_qs, u"aaaa bbbb\n cc dd"_qs, true, 1);
        row("accents count as one character", ten, u"éééé àààà çç"_qs, u"éééé àààà\nçç"_qs, true, 1);
    }

    void reBreaking()
    {
        QFETCH(Settings, settings);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        // Long enough on screen that no time is bought.
        const Outcome outcome = correct(srt({{"01,000", "30,000", text}}), settings);
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, srt({{"01,000", "30,000", expected}}));
        QTEST(recordsText(outcome.result), "records");
        QTEST(outcome.result.counters.edits, "edits");
        QTEST(outcome.result.counters.longLinesLeft, "longLinesLeft");
    }

    void timeBuying_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("moved"); // the written rows whose start the overlap correction moved
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        // 46 characters read at 23 a second need 2.000 s; shown 1.001 s.
        const QString text46 = u"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd ee"_qs;
        const QString broken46 = u"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd\nee"_qs;
        const Block before{"04,000", "05,000", u"Before."_qs};
        const QString next = u"Next."_qs, after = u"After."_qs, hi = u"Hi."_qs, ho = u"Ho."_qs;
        QTest::newRow("all from the gap after") << u"0001 Edit - Time edit"_qs << QString()
            << srt({{"10,000", "11,000", text46}, {"20,000", "22,000", next}})
            << srt({{"10,000", "12,000", broken46}, {"20,000", "22,000", next}});
        QTest::newRow("after, then before") << u"0002 Edit - Time edit"_qs << QString()
            << srt({before, {"10,000", "11,000", text46}, {"11,500", "13,000", after}})
            << srt({before, {"09,499", "11,499", broken46}, {"11,500", "13,000", after}});
        QTest::newRow("a gap of one thousandth is not free") << u"0002 Edit - Time edit"_qs << QString()
            << srt({before, {"10,000", "11,000", text46}, {"11,001", "13,000", after}})
            << srt({before, {"09,000", "11,000", broken46}, {"11,001", "13,000", after}});
        QTest::newRow("overlap moves the next start") << QString() << u"2"_qs
            << srt({{"01,000", "03,000", hi}, {"03,000", "04,000", ho}})
            << srt({{"01,000", "03,000", hi}, {"03,001", "04,000", ho}});
        QTest::newRow("a first subtitle at zero starts a thousandth later")
            << QString() << u"1"_qs << srt({{"00,000", "02,000", hi}}) << srt({{"00,001", "02,000", hi}});
        QTest::newRow("the last subtitle grows up to the end of the day") << u"0001 Time edit"_qs << QString()
            << srt({{"23:59:58,000", "23:59:58,500", TwoLines}}) << srt({{"23:59:57,998", "23:59:59,998", TwoLines}});
        QTest::newRow("an empty subtitle still bounds the next one") << u"0001 Time edit"_qs << QString()
            << srt({{"01,000", "09,500", u" "_qs}, {"10,000", "10,100", TwoLines}, {"10,200", "12,000", next}})
            << srt({{"09,501", "10,199", TwoLines}, {"10,200", "12,000", next}});
    }

    void timeBuying()
    {
        QFETCH(QString, input);
        const Outcome outcome = correct(input);
        QVERIFY(outcome.result.ok);
        QTEST(outcome.srt, "expected");
        QTEST(recordsText(outcome.result), "records");
        QTEST(movedNumbers(outcome.result), "moved");
    }

    // A start the overlap correction would put at or past its own end moves
    // the whole subtitle; the next one is then checked against the end as moved.
    void overlapMovesWhole_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("moved");

        const QString a = u"A."_qs, b = u"B."_qs, c = u"C."_qs;
        const Block first{"01,000", "03,000", a};
        QTest::newRow("start lands a thousandth before its end: the end stays")
            << srt({first, {"02,000", "03,002", b}}) << srt({first, {"03,001", "03,002", b}}) << u"2"_qs;
        QTest::newRow("start lands on its end: moves whole")
            << srt({first, {"02,000", "03,001", b}}) << srt({first, {"03,001", "04,002", b}}) << u"2"_qs;
        QTest::newRow("start lands past its end: moves whole")
            << srt({first, {"02,000", "03,000", b}}) << srt({first, {"03,001", "04,001", b}}) << u"2"_qs;
        QTest::newRow("inside the one before, and the next checked against the moved end")
            << srt({{"01,000", "09,000", a}, {"02,000", "08,000", b}, {"10,000", "12,000", c}})
            << srt({{"01,000", "09,000", a}, {"09,001", "15,001", b}, {"15,002", "17,002", c}}) << u"2,3"_qs;
        QTest::newRow("out of order at the end of the file")
            << srt({{"21:20,000", "21:24,177", a}, {"00,001", "02,001", b}})
            << srt({{"21:20,000", "21:24,177", a}, {"21:24,178", "21:26,178", b}}) << u"2"_qs;
        QTest::newRow("an end before its start as read stays")
            << srt({first, {"02,000", "01,500", b}}) << srt({first, {"03,001", "01,500", b}}) << u"2"_qs;
    }

    void overlapMovesWhole()
    {
        QFETCH(QString, input);
        const Outcome outcome = correct(input, with(&Settings::BuyTime, false));
        QVERIFY(outcome.result.ok);
        QTEST(outcome.srt, "expected");
        QTEST(movedNumbers(outcome.result), "moved");
        QVERIFY(outcome.result.records.empty());
    }

    void aFileEndingPastMidnightReadsBack()
    {
        // The overlap correction moves the last start to 24:00:00,000.
        const Outcome first = correct(srt({{"23:59:58,000", "23:59:59,999", u"Hi."_qs},
                                           {"23:59:59,500", "24:00:01,000", u"Ho."_qs}}));
        QCOMPARE(first.rows.at(1).startText, u"24:00:00,000"_qs);
        const Outcome again = correct(first.srt);
        QVERIFY(again.result.ok);
        QCOMPARE(again.srt, first.srt);
    }

    void timeOnlyPathFollowsItsSettings()
    {
        const QString input = srt({{"10,000", "10,500", TwoLines}});
        QCOMPARE(correct(input, with(&Settings::ParseAllTimes, false)).srt, input);
        const Outcome outcome = correct(input);
        QCOMPARE(outcome.result.counters.timeOnlyEdits, 1);
        QCOMPARE(outcome.result.counters.edits, 0);
        QCOMPARE(outcome.rows.front().endText, u"00:00:12,000"_qs);
    }

    // The two halves are written "first|second"; the text read is both on one line.
    void splitting_data()
    {
        QTest::addColumn<qint32>("maxLen");
        QTest::addColumn<QByteArray>("firstEnd");
        QTest::addColumn<QByteArray>("secondStart");
        QTest::addColumn<QString>("halves");

        QTest::newRow("middle blank, time shared by length") << 44 << "02,599"_ba << "02,600"_ba
            << u"abcd abcd abcd abcd abcd abcd abcd abcde|efghijklmn opqrs tuvwx yzabc\n"
               u"defgh ijklm nopqr stuvw xyzabc"_qs;
        QTest::newRow("dialogue dash too far from the end: comma near the middle") << 44 << "02,192"_ba << "02,193"_ba
            << u"He said - no. - Yes, we go now,|all of us together, right this minute\n"
               u"and no later than that, I promise."_qs;
        QTest::newRow("dialogue dash") << 30 << "02,485"_ba << "02,486"_ba
                                       << u"- Where are you going now?|- Home, where else would\nI go at this hour?"_qs;
        QTest::newRow("not at 2.5 nor after an initial; after an ellipsis") << 30 << "03,521"_ba << "03,522"_ba
            << u"So we all paid 2.5 dollars to\nJ. Smith and he said wait...|then we left the\nshop quickly now"_qs;
        QTest::newRow("a question mark first in the window ends its search") << 30 << "02,936"_ba << "02,937"_ba
            << u"Is it you, Tom? Who else\nwould be here at this|late hour? Come in and sit\ndown by the warm fire"_qs;
    }

    void splitting()
    {
        QFETCH(qint32, maxLen);
        QFETCH(QByteArray, firstEnd);
        QFETCH(QByteArray, secondStart);
        QFETCH(QString, halves);
        // Between two short subtitles, to see the numbers after a split.
        const Block first{"00,200", "00,500", u"First."_qs}, last{"06,000", "07,000", u"Last."_qs};
        const QString text = QString(halves).replace(u'|', u' ').replace(u'\n', u' ');
        Settings settings = with(&Settings::MaxLen, maxLen);
        settings.BuyTime = false; // keeps the span at 4.001 s
        const Outcome outcome = correct(srt({first, {"01,000", "05,000", text}, last}), settings);
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, srt({first, {"01,000", firstEnd.constData(), halves.section(u'|', 0, 0)},
                                   {secondStart.constData(), "05,000", halves.section(u'|', 1)}, last}));
        QCOMPARE(recordsText(outcome.result), u"0002 Split"_qs);
        QCOMPARE(outcome.result.counters, (CorrectionCounters{1, 1, 0, 0, 0, 0}));
        QList<int> tags;
        for (const SubtitleRow &row : outcome.rows)
            tags << row.tag;
        QCOMPARE(tags, (QList<int>{1, 2, 2, 3}));
        QCOMPARE(std::pair(outcome.result.subtitlesIn, outcome.result.subtitlesOut), std::pair(qint64(3), qint64(4)));
    }

    void aFiveMegabyteLineIsHandledLikeAnyOther()
    {
        QString words;
        while (words.size() < 5 * 1024 * 1024)
            words += u"word, and. "_qs;
        QCOMPARE(correct(words).result.errorText, u"Error in file: no time line found; this is not a subtitle file"_qs);
        const Outcome outcome = correct(srt({{"01,000", "09,000", words}}));
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.rows.size(), size_t(2));
        QCOMPARE(outcome.result.counters, (CorrectionCounters{1, 1, 0, 1, 0, 0}));
    }

    void invalidInputChangesNothing_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("error");

        const QString hi = srt({{"01,000", "02,000", u"Hi"_qs}});
        QTest::newRow("bad time after the last text") << hi + u"2\r\n00:60:00,000 --> 00:60:01,000\r\n"_qs << Settings{}
                                                      << u"Error in file: line 6: 00:60:00,000 --> 00:60:01,000"_qs;
        QTest::newRow("MaxLen zero") << hi << with(&Settings::MaxLen, 0)
                                     << u"Invalid setting MaxLen: must be at least 1"_qs;
    }

    void invalidInputChangesNothing()
    {
        QFETCH(QString, input);
        QFETCH(Settings, settings);
        const Outcome outcome = correct(input, settings);
        QVERIFY(!outcome.result.ok);
        QTEST(outcome.result.errorText, "error");
        QVERIFY(outcome.result.summary.isEmpty());
    }

    // With long lines left; without, the summary is pinned where the CLI and the document show it.
    void summaryAndKindsFollowTheLanguage()
    {
        QCOMPARE(correctionSummary({13, 1, 3, 0, 2, 5}, LangDoc{}),
                 u"Edits: 12 (with 3 time) (2 \"long\" lines still exist) - 5 time - 1 splits (with 0 time edit)"_qs);
        LangDoc lang;
        QVERIFY(lang.loadData(R"(<L><Form1_Module s5="Temps" s6="Corrections : "/></L>)"));
        QVERIFY(correctionSummary({}, lang).startsWith(u"Corrections : 0 (with"_qs));
        QCOMPARE((EditRecord{12, EditRecord::Change::Edit, true}.kindText(lang)), u"Edit - Temps"_qs);
        QCOMPARE((EditRecord{12345, EditRecord::Change::None, true}.ordinalText()), u"12345"_qs);
    }

    void readingSpeed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("end"); // each subtitle starts at 00:00:01,000
        QTest::addColumn<QString>("perSecond");
        QTest::addColumn<qint64>("lacks"); // 0: not too fast

        // Ten letters at ten a second need exactly one second.
        const QString ten = u"abcdefghij"_qs;
        QTest::newRow("shown just long enough") << ten << u"00:00:01,999"_qs << u"10.0"_qs << 0LL;
        QTest::newRow("1 ms short") << ten << u"00:00:01,998"_qs << u"10.0"_qs << 1LL;
        QTest::newRow("a line break is one blank") << u"abcd\r\nefghi"_qs << u"00:00:01,999"_qs << u"10.0"_qs << 0LL;
        QTest::newRow("one character more") << u"abcd\r\nefghij"_qs << u"00:00:01,999"_qs << u"11.0"_qs << 100LL;
        QTest::newRow("characters, not UTF-16 units") << u"\U0001F600bcdefghij"_qs << u"00:00:01,999"_qs << u"10.0"_qs
                                                      << 0LL;
        QTest::newRow("hides as it shows: 1 ms") << ten << u"00:00:01,000"_qs << u"10000.0"_qs << 999LL;
        QTest::newRow("hides 1 ms before it shows: not shown") << ten << u"00:00:00,999"_qs << QString() << 1000LL;
    }

    void readingSpeed()
    {
        QFETCH(QString, text);
        QFETCH(QString, end);
        QFETCH(qint64, lacks);
        const std::optional<ReadingSpeed> speed = ::readingSpeed({1, u"00:00:01,000"_qs, end, text, 1}, 10);
        QVERIFY(speed);
        QTEST(speed->charactersPerSecondText(), "perSecond");
        QCOMPARE(speed->lacksMilliseconds(), lacks);
        QCOMPARE(speed->isTooFast(), lacks > 0);
        QVERIFY(!::readingSpeed({1, u"00:00:01,000"_qs, u"00:61:00,000"_qs, text, 1}, 10));
    }

    // Still too fast is exactly what the time buying could not mend: the
    // first subtitle borrows from the gap before it, the second has none.
    void stillTooFastIsWhatTheTimeBuyingLeftShort()
    {
        const QString thirty(30, u'x');
        const Outcome outcome = correct(
            srt({{"01,000", "01,999", thirty}, {"02,000", "02,999", thirty}, {"03,000", "03,999", u"short"_qs}}));
        QList<qint64> lacks;
        for (const SubtitleRow &row : outcome.rows)
            lacks << ::readingSpeed(row, Settings().LettersFor1Min)->lacksMilliseconds();
        QCOMPARE(lacks, (QList<qint64>{0, 304, 0}));
        QCOMPARE(tooFastSummary(1, LangDoc{}), u", 1 still too fast"_qs);
        QCOMPARE(tooFastSummary(0, LangDoc{}), QString());
    }

    // Lines are measured four UTF-32 or sixteen UTF-8 units at a time: a line break, a lone CR and characters
    // of two and three bytes at every place around those edges count as one by one.
    void lineMeasuresAtEveryPlace()
    {
        for (int at = 0; at < 40; ++at) {
            const QString text = QString(at, u'é') + u"\r\na\rx日b\r\n"_qs + QString(40 - at, u'本') + u"\r"_qs;
            const QStringList lines = text.split(u"\r\n"_qs);
            qint64 longest = 0;
            for (const QString &line : lines)
                longest = std::max(longest, qint64(line.toStdU32String().size()));
            const std::u32string wide = text.toStdU32String();
            const QByteArray utf8 = text.toUtf8();
            for (const LineStats &stats : {lineStats(wide), lineStats(QByteArrayView(utf8))}) {
                QCOMPARE(stats.longestLine, longest);
                QCOMPARE(stats.lineBreaks, 2);
                QCOMPARE(stats.length, qint64(wide.size()));
            }
            std::u32string joined = wide;
            joinLines(joined);
            QCOMPARE(QString::fromStdU32String(joined), lines.join(u' '));
        }
    }

    // With shot changes at 25 frames a second (40 ms): two frames kept before a cut, twelve to snap. TwoLines is a
    // second short; the subtitle before crosses a cut off the frame grid and, untouched, keeps its times.
    void shotChangesBoundTimeBought_data()
    {
        QTest::addColumn<QList<double>>("cutSeconds");
        QTest::addColumn<QString>("nextStart"); // of the subtitle after
        QTest::addColumn<QString>("times");     // written, start-end
        QTest::addColumn<QString>("shotTimes");

        const auto row = [](const char *name, QList<double> cutSeconds, const char *next, const char *times,
                            const QString &shotTimes = {}) {
            QTest::newRow(name) << cutSeconds << QString::fromLatin1(next) << QString::fromLatin1(times) << shotTimes;
        };
        const QString endKept = u"2: End kept 2 frames before the shot change at 00:00:%1 (without: 10,000-12,000)"_qs;
        const QString startKept = u"2: Start kept on the shot change at 00:00:%1 (without: 09,000-11,000)"_qs;
        row("end 13 frames before a cut: left there", {12.52}, "20,000", "10,000-12,000");
        row("end 12 frames before: kept 2 before it", {12.48}, "20,000", "10,000-12,400", endKept.arg(u"12,480"_qs));
        row("end 11 frames before", {12.44}, "20,000", "10,000-12,360", endKept.arg(u"12,440"_qs));
        row("end 12 frames before, the next subtitle in the way", {12.48}, "12,440", "10,000-12,000");
        row("a cut in the way: the rest from before", {11.6}, "20,000", "09,520-11,520", endKept.arg(u"11,600"_qs));
        row("and the start stops on a cut", {9.72, 11.12}, "20,000", "09,720-11,040",
            u"2: Start kept on the shot change at 00:00:09,720\n"_qs + endKept.arg(u"11,120"_qs).mid(3));
        // No time after: the start goes back to 09,000.
        row("start 12 frames after a cut: put on it", {8.52}, "11,080", "08,520-11,000", startKept.arg(u"08,520"_qs));
        row("start 13 frames after a cut: left there", {8.48}, "11,080", "09,000-11,000");
        row("start on a cut, no time after: nothing bought, and why", {10}, "11,080", "10,000-11,000",
            startKept.arg(u"10,000"_qs));
    }

    void shotChangesBoundTimeBought()
    {
        QFETCH(QList<double>, cutSeconds);
        QFETCH(QString, nextStart);
        QFETCH(QString, times);
        QFETCH(QString, shotTimes);
        const auto input = [&](const QString &written) -> QString {
            return srt({{"04,013", "05,017", u"Before."_qs}})
                + srtBlock(2, u"00:00:"_qs + written.left(6), u"00:00:"_qs + written.mid(7), TwoLines)
                + srtBlock(3, u"00:00:"_qs + nextStart, u"00:00:25,000"_qs, u"After."_qs);
        };
        const Outcome outcome =
            correct(input(u"10,000-11,000"_qs), with(&Settings::ShotChanges, true), cuts(cutSeconds << 4.5));
        QCOMPARE(outcome.srt, input(times));
        QCOMPARE(shotTimesText(outcome.result), shotTimes);
        const bool bought = times != u"10,000-11,000";
        const QString shotKind = bought ? u" - Shot change"_qs : u"0002 Shot change"_qs;
        QCOMPARE(recordsText(outcome.result),
                 (bought ? u"0002 Time edit"_qs : QString()) + (shotTimes.isEmpty() ? QString() : shotKind));
    }

    // After a subtitle ending at 10,000, two frames kept unless said.
    void shotChangesCountGapsInWholeFrames_data()
    {
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<int>("minGapFrames");
        QTest::addColumn<int>("minGapMs");
        QTest::addColumn<QString>("readStart"); // the second subtitle's, ending at 12,000 unless said
        QTest::addColumn<QString>("start");
        QTest::newRow("a gap of 1 frame becomes 2") << 25.0 << 2 << 1 << u"10,040"_qs << u"10,080"_qs;
        QTest::newRow("inside the one before: moved whole, at least as long, onto frames")
            << 25.0 << 2 << 1 << u"09,000-09,500"_qs << u"10,080-10,600"_qs;
        QTest::newRow("2 frames stay") << 25.0 << 2 << 1 << u"10,080"_qs << u"10,080"_qs;
        QTest::newRow("3 frames stay") << 25.0 << 2 << 1 << u"10,120"_qs << u"10,120"_qs;
        // Frame 240 starts at 10,010 exactly, 242 at 10,093.4: the first millisecond after it.
        QTest::newRow("23.976: on frame starts") << 23.976 << 2 << 1 << u"10,001"_qs << u"10,094"_qs;
        QTest::newRow("29.97: on frame starts") << 29.97 << 2 << 1 << u"10,001"_qs << u"10,077"_qs;
        QTest::newRow("MinGapMs in whole frames: 83 is 3") << 25.0 << 0 << 83 << u"10,000"_qs << u"10,120"_qs;
        QTest::newRow("no frame rate: the gap in ms") << 0.0 << 2 << 83 << u"10,000"_qs << u"10,083"_qs;
        QTest::newRow("1000 fps: a frame a millisecond") << 1000.0 << 2 << 83 << u"10,000"_qs << u"10,002"_qs;
        // Frames shorter than a millisecond cannot be written apart.
        QTest::newRow("1001 fps: as none") << 1001.0 << 2 << 83 << u"10,000"_qs << u"10,083"_qs;
    }

    void shotChangesCountGapsInWholeFrames()
    {
        QFETCH(double, frameRate);
        QFETCH(int, minGapFrames);
        QFETCH(int, minGapMs);
        QFETCH(QString, readStart);
        QFETCH(QString, start);
        Settings settings = with(&Settings::ShotChanges, true);
        settings.MinGapFrames = minGapFrames;
        settings.MinGapMs = minGapMs;
        const auto input = [](const QString &second) -> QString {
            return srt({{"08,000", "10,000", u"Hi."_qs}})
                + srtBlock(2, u"00:00:"_qs + second.left(6), u"00:00:"_qs + QString(second.mid(7) + u"12,000"_qs).left(6),
                           u"Ho."_qs);
        };
        QCOMPARE(correct(input(readStart), settings, cuts({30}, frameRate)).srt, input(start));
    }

    // The split of the splitting test's first row, 01,000 to 05,000 without time buying: by length the first
    // part ends at 02,599, on frame 65 at 02,600.
    void shotChangesPlaceSplits_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<ShotChanges>("shots");
        QTest::addColumn<QString>("times"); // the first part's end, the second's start
        QTest::addColumn<QString>("without"); // the same without the cut, when one was used

        Settings settings = with(&Settings::ShotChanges, true);
        settings.BuyTime = false;
        const QString framed = u"02,600 02,680"_qs;
        QTest::newRow("no cut near: on frames, 2 apart") << settings << cuts({30}) << framed << QString();
        QTest::newRow("a cut 12 frames after") << settings << cuts({3.08}) << u"03,000 03,080"_qs << framed;
        QTest::newRow("13 frames after") << settings << cuts({3.12}) << framed << QString();
        QTest::newRow("12 frames before") << settings << cuts({2.12}) << u"02,040 02,120"_qs << framed;
        QTest::newRow("13 frames before") << settings << cuts({2.08}) << framed << QString();
        QTest::newRow("the nearest; ending before one a frame before it too")
            << settings << cuts({2.2, 2.52, 2.56}) << u"02,440 02,560"_qs << framed;
        QTest::newRow("no frame rate: 12 frames are 500 ms, 2 are 83") << settings << cuts({3.099}, 0)
                                                                       << u"03,016 03,099"_qs << u"02,599 02,600"_qs;
        settings.ShotChanges = false;
        settings.MinGapMs = 83;
        QTest::newRow("without cuts the parts keep MinGapMs apart") << settings << cuts({3.08}) << u"02,599 02,682"_qs
                                                                    << QString();
    }

    void shotChangesPlaceSplits()
    {
        QFETCH(Settings, settings);
        QFETCH(ShotChanges, shots);
        QFETCH(QString, times);
        QFETCH(QString, without);
        const QString halves = u"abcd abcd abcd abcd abcd abcd abcd abcde|efghijklmn opqrs tuvwx yzabc\n"
                               u"defgh ijklm nopqr stuvw xyzabc"_qs;
        const QString text = QString(halves).replace(u'|', u' ').replace(u'\n', u' ');
        const Outcome outcome = correct(srt({{"01,000", "05,000", text}}), settings, shots);
        QCOMPARE(outcome.srt, srt({{"01,000", qPrintable(times.left(6)), halves.section(u'|', 0, 0)},
                                   {qPrintable(times.mid(7)), "05,000", halves.section(u'|', 1)}}));
        QStringList reasons;
        if (!without.isEmpty()) {
            const QString cut = u"Split at the shot change at 00:00:"_qs + times.mid(7);
            reasons << u"1: %1 (without: 01,000-%2)"_qs.arg(cut, without.left(6))
                    << u"2: %1 (without: %2-05,000)"_qs.arg(cut, without.mid(7));
        }
        QCOMPARE(shotTimesText(outcome.result), reasons.join(u'|'));
        QCOMPARE(recordsText(outcome.result), without.isEmpty() ? u"0001 Split"_qs : u"0001 Split - Shot change"_qs);
    }

    // The setting off, no cuts, or none after the first frame: every time and record as without them.
    void shotChangesUnusedChangeNothing()
    {
        const QString input = srt({{"00,200", "00,500", u"First."_qs}, {"01,000", "05,000", u"abcd "_qs.repeated(20)},
                                   {"04,990", "05,017", u"Overlapping."_qs}, {"10,000", "11,000", TwoLines}});
        const Outcome plain = correct(input);
        for (const auto &[on, shots] :
             {std::pair(false, cuts({2.12, 10, 11.6})), {true, cuts({})}, {true, cuts({0.01})}}) {
            const Outcome outcome = correct(input, with(&Settings::ShotChanges, on), shots);
            QCOMPARE(outcome.srt, plain.srt);
            QCOMPARE(recordsText(outcome.result), recordsText(plain.result));
            QCOMPARE(outcome.result.shotChanges, qint64(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestCorrectionRun)
#include "tst_correctionrun.moc"
