// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtwriter.h"
#include "engine/correctionrun.h"
#include "engine/readingspeed.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/srttext.h"

#include <QTest>

// The correction run end to end: SRT text in, corrected SRT text, records
// and counters out. Expected values are worked by hand from the rules.
class TestCorrectionRun : public QObject
{
    Q_OBJECT

private:
    struct Outcome
    {
        QString srt;
        CorrectionResult result;
        std::vector<SubtitleRow> rows;
    };

    static Outcome correct(const QString &input, const Settings &settings = {})
    {
        RowCollector collector;
        LangDoc lang;
        Outcome outcome;
        outcome.result = runCorrection(input.toUtf8(), settings, lang, collector);
        SrtWriter writer({});
        for (const SubtitleRow &row : collector.rows)
            writer.writeRow(row);
        outcome.srt = QString::fromUtf8(writer.take());
        outcome.rows = std::move(collector.rows);
        return outcome;
    }

    static QString recordsText(const CorrectionResult &result)
    {
        LangDoc lang;
        QStringList texts;
        for (const EditRecord &record : result.records)
            texts << record.ordinalText() + QLatin1Char(' ') + record.kindText(lang);
        return texts.join(QLatin1Char('|'));
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

        const QString sixty = QStringLiteral("This line is far too long to be read in the time it is shown");
        const QString hundredTwenty =
            QStringLiteral("one two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen "
                           "sixteen seventeen eighteen nine");

        const Settings ten = with(&Settings::MaxLen, 10);
        QTest::newRow("last blank within MaxLen")
            << ten << u"aaaa bbbb cccc"_qs << u"aaaa bbbb\ncccc"_qs << u"0001 Edit"_qs << 1 << 0;
        QTest::newRow("two lines of exactly MaxLen stay")
            << ten << u"aaaa bbbbb\ncccc ddddd"_qs << u"aaaa bbbbb\ncccc ddddd"_qs << QString() << 0 << 0;
        QTest::newRow("three short lines joined")
            << Settings{} << u"Yes.\nNo.\nMaybe."_qs << u"Yes. No. Maybe."_qs << u"0001 Edit"_qs << 1 << 0;
        QTest::newRow("three short lines kept when so set") << with(&Settings::CorrectSubsAbove2Lines, false)
                                                            << u"Yes.\nNo.\nMaybe."_qs << u"Yes.\nNo.\nMaybe."_qs
                                                            << QString() << 0 << 0;
        QTest::newRow("no correction without joining")
            << with(&Settings::JoinSubsAbove2Lines, false) << sixty << sixty << QString() << 0 << 0;
        QTest::newRow("first word longer than a line")
            << ten << u"Supercalifragilistic yes"_qs << u"Supercalifragilistic yes"_qs << u"0001 Edit"_qs << 0 << 0;
        QTest::newRow("blank right after MaxLen is not used")
            << ten << u"aaa bbbbbb cc"_qs << u"aaa\nbbbbbb cc"_qs << u"0001 Edit"_qs << 1 << 0;
        QTest::newRow("second line left long without splitting")
            << with(&Settings::BrakeTo2, false) << hundredTwenty
            << u"one two three four five six seven eight\nnine ten eleven twelve thirteen fourteen fifteen sixteen "
               u"seventeen eighteen nine"_qs
            << u"0001 Edit"_qs << 1 << 1;
        QTest::newRow("a split with an empty half is a broken long line")
            << ten << u"  - aaaa bbbb cccc dddd"_qs << u"  - aaaa\nbbbb cccc dddd"_qs << u"0001 Edit"_qs << 1 << 1;
        QTest::newRow("a line ending in a blank leaves two at the join")
            << ten << u"aaaa bbbb \ncc\ndd"_qs << u"aaaa bbbb\n cc dd"_qs << u"0001 Edit"_qs << 1 << 0;
        QTest::newRow("accents count as one character")
            << ten << u"éééé àààà çç"_qs << u"éééé àààà\nçç"_qs << u"0001 Edit"_qs << 1 << 0;
    }

    void reBreaking()
    {
        QFETCH(Settings, settings);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, records);
        QFETCH(int, edits);
        QFETCH(int, longLinesLeft);

        // Long enough on screen that no time is bought.
        const Outcome outcome = correct(srtBlock(1, u"00:00:01,000"_qs, u"00:00:30,000"_qs, text), settings);
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, srtBlock(1, u"00:00:01,000"_qs, u"00:00:30,000"_qs, expected));
        QCOMPARE(recordsText(outcome.result), records);
        QCOMPARE(outcome.result.counters.edits, edits);
        QCOMPARE(outcome.result.counters.longLinesLeft, longLinesLeft);
    }

    void timeBuying_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("records");
        // The written rows whose start the overlap correction moved.
        QTest::addColumn<QString>("moved");

        // 46 characters read at 23 a second need 2.000 s; shown 1.001 s.
        const QString text46 = u"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd ee"_qs;
        const QString broken46 = u"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd\nee"_qs;
        const QString before = srtBlock(1, u"00:00:04,000"_qs, u"00:00:05,000"_qs, u"Before."_qs);

        QTest::newRow("all from the gap after")
            << srtBlock(1, u"00:00:10,000"_qs, u"00:00:11,000"_qs, text46)
                   + srtBlock(2, u"00:00:20,000"_qs, u"00:00:22,000"_qs, u"Next."_qs)
            << srtBlock(1, u"00:00:10,000"_qs, u"00:00:12,000"_qs, broken46)
                   + srtBlock(2, u"00:00:20,000"_qs, u"00:00:22,000"_qs, u"Next."_qs)
            << u"0001 Edit - Time edit"_qs << QString();
        QTest::newRow("after, then before")
            << before + srtBlock(2, u"00:00:10,000"_qs, u"00:00:11,000"_qs, text46)
                   + srtBlock(3, u"00:00:11,500"_qs, u"00:00:13,000"_qs, u"After."_qs)
            << before + srtBlock(2, u"00:00:09,499"_qs, u"00:00:11,499"_qs, broken46)
                   + srtBlock(3, u"00:00:11,500"_qs, u"00:00:13,000"_qs, u"After."_qs)
            << u"0002 Edit - Time edit"_qs << QString();
        QTest::newRow("a gap of one thousandth is not free")
            << before + srtBlock(2, u"00:00:10,000"_qs, u"00:00:11,000"_qs, text46)
                   + srtBlock(3, u"00:00:11,001"_qs, u"00:00:13,000"_qs, u"After."_qs)
            << before + srtBlock(2, u"00:00:09,000"_qs, u"00:00:11,000"_qs, broken46)
                   + srtBlock(3, u"00:00:11,001"_qs, u"00:00:13,000"_qs, u"After."_qs)
            << u"0002 Edit - Time edit"_qs << QString();
        QTest::newRow("overlap moves the next start")
            << srtBlock(1, u"00:00:01,000"_qs, u"00:00:03,000"_qs, u"Hi."_qs)
                   + srtBlock(2, u"00:00:03,000"_qs, u"00:00:04,000"_qs, u"Ho."_qs)
            << srtBlock(1, u"00:00:01,000"_qs, u"00:00:03,000"_qs, u"Hi."_qs)
                   + srtBlock(2, u"00:00:03,001"_qs, u"00:00:04,000"_qs, u"Ho."_qs)
            << QString() << u"2"_qs;
        QTest::newRow("a subtitle inside the one before ends before it starts")
            << srtBlock(1, u"00:00:01,000"_qs, u"00:00:09,000"_qs, u"Long one."_qs)
                   + srtBlock(2, u"00:00:02,000"_qs, u"00:00:08,000"_qs, u"Inside."_qs)
            << srtBlock(1, u"00:00:01,000"_qs, u"00:00:09,000"_qs, u"Long one."_qs)
                   + srtBlock(2, u"00:00:09,001"_qs, u"00:00:09,305"_qs, u"Inside."_qs)
            << u"0002 Time edit"_qs << u"2"_qs;
        QTest::newRow("a first subtitle at zero starts a thousandth later")
            << srtBlock(1, u"00:00:00,000"_qs, u"00:00:02,000"_qs, u"Hi."_qs)
            << srtBlock(1, u"00:00:00,001"_qs, u"00:00:02,000"_qs, u"Hi."_qs) << QString() << u"1"_qs;
        QTest::newRow("the last subtitle grows up to the end of the day")
            << srtBlock(1, u"23:59:58,000"_qs, u"23:59:58,500"_qs, u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs)
            << srtBlock(1, u"23:59:57,998"_qs, u"23:59:59,998"_qs, u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs)
            << u"0001 Time edit"_qs << QString();
        QTest::newRow("an empty subtitle still bounds the next one")
            << srtBlock(1, u"00:00:01,000"_qs, u"00:00:09,500"_qs, u" "_qs)
                   + srtBlock(2, u"00:00:10,000"_qs, u"00:00:10,100"_qs, u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs)
                   + srtBlock(3, u"00:00:10,200"_qs, u"00:00:12,000"_qs, u"Next."_qs)
            << srtBlock(1, u"00:00:09,501"_qs, u"00:00:10,199"_qs, u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs)
                   + srtBlock(2, u"00:00:10,200"_qs, u"00:00:12,000"_qs, u"Next."_qs)
            << u"0001 Time edit"_qs << QString();
    }

    void timeBuying()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(QString, records);
        QFETCH(QString, moved);

        const Outcome outcome = correct(input);
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, expected);
        QCOMPARE(recordsText(outcome.result), records);
        QStringList numbers;
        for (const MovedStart &move : outcome.result.moved)
            numbers << QString::number(move.number);
        QCOMPARE(numbers.join(u','), moved);
    }

    void aFileEndingPastMidnightReadsBack()
    {
        // The overlap correction moves the last start to 24:00:00,000.
        const QString input = srtBlock(1, u"23:59:58,000"_qs, u"23:59:59,999"_qs, u"Hi."_qs)
            + srtBlock(2, u"23:59:59,500"_qs, u"24:00:01,000"_qs, u"Ho."_qs);
        const Outcome first = correct(input);
        QCOMPARE(first.rows.at(1).startText, u"24:00:00,000"_qs);
        const Outcome again = correct(first.srt);
        QVERIFY(again.result.ok);
        QCOMPARE(again.srt, first.srt);
    }

    void timeOnlyPathFollowsItsSettings()
    {
        const QString input = srtBlock(1, u"00:00:10,000"_qs, u"00:00:10,500"_qs, u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_qs);
        QCOMPARE(correct(input, with(&Settings::ParseAllTimes, false)).srt, input);

        const Outcome outcome = correct(input);
        QCOMPARE(outcome.result.counters.timeOnlyEdits, 1);
        QCOMPARE(outcome.result.counters.edits, 0);
        QCOMPARE(outcome.rows.front().endText, u"00:00:12,000"_qs);
    }

    void splitting_data()
    {
        QTest::addColumn<qint32>("maxLen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("middle blank, time shared by length")
            << 44
            << u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr stuvw xyzabc"_qs
            << srtBlock(2, u"00:00:01,000"_qs, u"00:00:02,599"_qs, u"abcd abcd abcd abcd abcd abcd abcd abcde"_qs)
                + srtBlock(3, u"00:00:02,600"_qs, u"00:00:05,000"_qs,
                           u"efghijklmn opqrs tuvwx yzabc\ndefgh ijklm nopqr stuvw xyzabc"_qs);
        QTest::newRow("dialogue dash too far from the end: comma near the middle")
            << 44
            << u"He said - no. - Yes, we go now, all of us together, right this minute and no later than that, I promise."_qs
            << srtBlock(2, u"00:00:01,000"_qs, u"00:00:02,192"_qs, u"He said - no. - Yes, we go now,"_qs)
                + srtBlock(3, u"00:00:02,193"_qs, u"00:00:05,000"_qs,
                           u"all of us together, right this minute\nand no later than that, I promise."_qs);
        QTest::newRow("dialogue dash")
            << 30 << u"- Where are you going now? - Home, where else would I go at this hour?"_qs
            << srtBlock(2, u"00:00:01,000"_qs, u"00:00:02,485"_qs, u"- Where are you going now?"_qs)
                + srtBlock(3, u"00:00:02,486"_qs, u"00:00:05,000"_qs,
                           u"- Home, where else would\nI go at this hour?"_qs);
        QTest::newRow("not at 2.5 nor after an initial; after an ellipsis")
            << 30 << u"So we all paid 2.5 dollars to J. Smith and he said wait... then we left the shop quickly now"_qs
            << srtBlock(2, u"00:00:01,000"_qs, u"00:00:03,521"_qs,
                        u"So we all paid 2.5 dollars to\nJ. Smith and he said wait..."_qs)
                + srtBlock(3, u"00:00:03,522"_qs, u"00:00:05,000"_qs, u"then we left the\nshop quickly now"_qs);
        QTest::newRow("a question mark first in the window ends its search")
            << 30 << u"Is it you, Tom? Who else would be here at this late hour? Come in and sit down by the warm fire"_qs
            << srtBlock(2, u"00:00:01,000"_qs, u"00:00:02,936"_qs, u"Is it you, Tom? Who else\nwould be here at this"_qs)
                + srtBlock(3, u"00:00:02,937"_qs, u"00:00:05,000"_qs,
                           u"late hour? Come in and sit\ndown by the warm fire"_qs);
    }

    void splitting()
    {
        QFETCH(qint32, maxLen);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        // Between two short subtitles, to see the numbers after a split.
        const QString first = srtBlock(1, u"00:00:00,200"_qs, u"00:00:00,500"_qs, u"First."_qs);
        const auto last = [](int number) { return srtBlock(number, u"00:00:06,000"_qs, u"00:00:07,000"_qs, u"Last."_qs); };
        Settings settings = with(&Settings::MaxLen, maxLen);
        settings.BuyTime = false; // keeps the span at 4.001 s
        const Outcome outcome =
            correct(first + srtBlock(2, u"00:00:01,000"_qs, u"00:00:05,000"_qs, text) + last(3), settings);
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, first + expected + last(4));
        QCOMPARE(recordsText(outcome.result), u"0002 Split"_qs);
        QCOMPARE(outcome.result.counters.splits, 1);
        QCOMPARE(outcome.result.counters.edits, 1);
        QCOMPARE(outcome.rows.at(1).tag, 2);
        QCOMPARE(outcome.rows.at(2).tag, 2);
        QCOMPARE(outcome.rows.at(3).tag, 3);
        QCOMPARE(outcome.result.subtitlesIn, 3);
        QCOMPARE(outcome.result.subtitlesOut, 4);
    }

    void aFiveMegabyteLineIsHandledLikeAnyOther()
    {
        QString words;
        while (words.size() < 5 * 1024 * 1024)
            words += u"word, and. "_qs;
        QCOMPARE(correct(words).result.errorText, u"Error in file: no time line found; this is not a subtitle file"_qs);

        const Outcome outcome = correct(srtBlock(1, u"00:00:01,000"_qs, u"00:00:09,000"_qs, words));
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.rows.size(), size_t(2));
        QCOMPARE(outcome.result.counters, (CorrectionCounters{1, 1, 0, 1, 0, 0}));
    }

    void invalidInputChangesNothing_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("error");

        const QString hi = srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"Hi"_qs);
        QTest::newRow("bad time after the last text") << hi + u"2\r\n00:60:00,000 --> 00:60:01,000\r\n"_qs << Settings{}
                                                      << u"Error in file: line 6: 00:60:00,000 --> 00:60:01,000"_qs;
        QTest::newRow("MaxLen zero") << hi << with(&Settings::MaxLen, 0)
                                     << u"Invalid setting MaxLen: must be at least 1"_qs;
        QTest::newRow("reading speed below one") << hi << with(&Settings::LettersFor1Min, -3)
                                                 << u"Invalid setting LettersFor1Min: must be at least 1"_qs;
    }

    void invalidInputChangesNothing()
    {
        QFETCH(QString, input);
        QFETCH(Settings, settings);
        QFETCH(QString, error);

        const Outcome outcome = correct(input, settings);
        QVERIFY(!outcome.result.ok);
        QCOMPARE(outcome.result.errorText, error);
        QVERIFY(outcome.result.summary.isEmpty());
    }

    void summary_data()
    {
        QTest::addColumn<CorrectionCounters>("counters");
        QTest::addColumn<QString>("summary");

        QTest::newRow("with long lines") << CorrectionCounters{13, 1, 3, 0, 2, 5}
                                         << u"Edits: 12 (with 3 time) (2 \"long\" lines still exist) - 5 time - 1 splits "
                                            u"(with 0 time edit)"_qs;
        QTest::newRow("without") << CorrectionCounters{} << u"Edits: 0 (with 0 time) - 0 time - 0 splits (with 0 time edit)"_qs;
    }

    void summary()
    {
        QFETCH(CorrectionCounters, counters);
        QFETCH(QString, summary);
        QCOMPARE(correctionSummary(counters, LangDoc{}), summary);
    }

    void summaryAndKindsFollowTheLanguage()
    {
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
        QTest::newRow("shown just long enough") << u"abcdefghij"_qs << u"00:00:01,999"_qs << u"10.0"_qs << 0LL;
        QTest::newRow("1 ms short") << u"abcdefghij"_qs << u"00:00:01,998"_qs << u"10.0"_qs << 1LL;
        QTest::newRow("a line break reads as one blank") << u"abcd\r\nefghi"_qs << u"00:00:01,999"_qs << u"10.0"_qs
                                                         << 0LL;
        QTest::newRow("one character more") << u"abcd\r\nefghij"_qs << u"00:00:01,999"_qs << u"11.0"_qs << 100LL;
        QTest::newRow("characters, not UTF-16 units") << u"\U0001F600bcdefghij"_qs << u"00:00:01,999"_qs
                                                      << u"10.0"_qs << 0LL;
        QTest::newRow("hides as it shows: 1 ms") << u"abcdefghij"_qs << u"00:00:01,000"_qs << u"10000.0"_qs << 999LL;
        QTest::newRow("hides 1 ms before it shows: not shown") << u"abcdefghij"_qs << u"00:00:00,999"_qs << QString()
                                                                << 1000LL;
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
        const Outcome outcome = correct(srtBlock(1, u"00:00:01,000"_qs, u"00:00:01,999"_qs, thirty)
                                        + srtBlock(2, u"00:00:02,000"_qs, u"00:00:02,999"_qs, thirty)
                                        + srtBlock(3, u"00:00:03,000"_qs, u"00:00:03,999"_qs, u"short"_qs));
        QList<qint64> lacks;
        for (const SubtitleRow &row : outcome.rows)
            lacks << ::readingSpeed(row, Settings().LettersFor1Min)->lacksMilliseconds();
        QCOMPARE(lacks, (QList<qint64>{0, 304, 0}));
        QCOMPARE(tooFastSummary(1, LangDoc{}), u", 1 still too fast"_qs);
        QCOMPARE(tooFastSummary(0, LangDoc{}), QString());
    }
};

QTEST_GUILESS_MAIN(TestCorrectionRun)
#include "tst_correctionrun.moc"
