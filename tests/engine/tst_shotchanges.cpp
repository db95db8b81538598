// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtwriter.h"
#include "document/timecode.h"
#include "engine/correctionrun.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/srttext.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ShotChanges)

namespace {

// Two lines, 46 characters: they need 2 s at 23 a second.
const QString TwoLines = u"aaaaaaaaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbbbbbbbbb"_s;
// Split in two at "abcde|efghijklmn": 02,599 by length from 01,000 to 05,000.
const QString SplitText = u"abcd abcd abcd abcd abcd abcd abcd abcde efghijklmn opqrs tuvwx yzabc defgh ijklm nopqr "
                          u"stuvw xyzabc"_s;

// Times in the first minute: "10,000".
struct Block { QString start, end, text; };

QString srt(const QList<Block> &blocks)
{
    QString srt;
    int number = 1;
    for (const Block &block : blocks)
        srt += srtBlock(number++, u"00:00:"_s + block.start, u"00:00:"_s + block.end, block.text);
    return srt;
}

ShotChanges cuts(QList<double> seconds, double frameRate = 25)
{
    return {std::vector<double>(seconds.begin(), seconds.end()), frameRate, 0};
}

Settings shotSettings()
{
    Settings settings;
    settings.ShotChanges = true;
    return settings;
}

struct Outcome
{
    QString srt;
    CorrectionResult result;
};

Outcome correct(const QString &input, const Settings &settings, const ShotChanges &shots)
{
    RowCollector collector;
    Outcome outcome{{}, runCorrection(input.toUtf8(), settings, LangDoc(), collector, {}, shots)};
    SrtWriter writer({});
    for (const SubtitleRow &row : collector.rows)
        writer.writeRow(row);
    outcome.srt = QString::fromUtf8(writer.take());
    return outcome;
}

QString recordsText(const CorrectionResult &result)
{
    QStringList texts;
    for (const EditRecord &record : result.records)
        texts << record.ordinalText() + u' ' + record.kindText(LangDoc());
    return texts.join(u'|');
}

// "2: reason (without the rules: 00:00:10,000 --> 00:00:12,000)", one per written subtitle with such a time.
QString shotTimesText(const CorrectionResult &result)
{
    QStringList texts;
    for (const ShotChangeTime &time : result.shotChangeTimes)
        texts << QString::number(time.number) + u": "_s + time.reason(LangDoc()) + u" (without: "_s
                + SecondsToTimeText(time.startWithoutRuleSeconds).mid(6) + u'-'
                + SecondsToTimeText(time.endWithoutRuleSeconds).mid(6) + u')';
    return texts.join(u'|');
}

} // namespace

// The correction with a film's shot changes and frames, at 25 frames a
// second: 40 ms a frame, two frames kept before a cut, twelve to snap.
class TestShotChanges : public QObject
{
    Q_OBJECT

private slots:
    // One subtitle short of 1 s. The one before crosses a cut off the frame
    // grid and is not touched, so it keeps its times.
    void timeBoughtStaysClearOfCuts_data()
    {
        QTest::addColumn<QList<double>>("cutSeconds");
        QTest::addColumn<QString>("nextStart"); // of the subtitle after, ending at 25,000
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("shotTimes");

        QTest::newRow("no cut near: as without cuts") << QList<double>{30} << u"20,000"_s << u"10,000"_s
                                                      << u"12,000"_s << u"0002 Time edit"_s << QString();
        QTest::newRow("end 13 frames before a cut: left there")
            << QList<double>{12.52} << u"20,000"_s << u"10,000"_s << u"12,000"_s << u"0002 Time edit"_s << QString();
        const QString kept = u"0002 Time edit - Shot change"_s;
        QTest::newRow("end 12 frames before a cut: kept 2 before it")
            << QList<double>{12.48} << u"20,000"_s << u"10,000"_s << u"12,400"_s << kept
            << u"2: End kept 2 frames before the shot change at 00:00:12,480 (without: 10,000-12,000)"_s;
        QTest::newRow("end 11 frames before a cut") << QList<double>{12.44} << u"20,000"_s << u"10,000"_s
                                                    << u"12,360"_s << kept
            << u"2: End kept 2 frames before the shot change at 00:00:12,440 (without: 10,000-12,000)"_s;
        QTest::newRow("end 12 frames before a cut the next subtitle keeps it from")
            << QList<double>{12.48} << u"12,440"_s << u"10,000"_s << u"12,000"_s << u"0002 Time edit"_s << QString();
        QTest::newRow("a cut in the way: the end stops, the rest comes from before")
            << QList<double>{11.6} << u"20,000"_s << u"09,520"_s << u"11,520"_s << kept
            << u"2: End kept 2 frames before the shot change at 00:00:11,600 (without: 10,000-12,000)"_s;
        QTest::newRow("and the start stops on a cut")
            << QList<double>{9.72, 11.12} << u"20,000"_s << u"09,720"_s << u"11,040"_s << kept
            << u"2: Start kept on the shot change at 00:00:09,720\n"
               u"End kept 2 frames before the shot change at 00:00:11,120 (without: 10,000-12,000)"_s;
        // The next subtitle leaves no time after: the start goes back 1 s, to 09,000.
        QTest::newRow("start 12 frames after a cut: put on it")
            << QList<double>{8.52} << u"11,080"_s << u"08,520"_s << u"11,000"_s << kept
            << u"2: Start kept on the shot change at 00:00:08,520 (without: 09,000-11,000)"_s;
        QTest::newRow("start 13 frames after a cut: left there")
            << QList<double>{8.48} << u"11,080"_s << u"09,000"_s << u"11,000"_s << u"0002 Time edit"_s << QString();
        QTest::newRow("start on a cut, no time after: nothing bought, and why")
            << QList<double>{10} << u"11,080"_s << u"10,000"_s << u"11,000"_s << u"0002 Shot change"_s
            << u"2: Start kept on the shot change at 00:00:10,000 (without: 09,000-11,000)"_s;
    }

    void timeBoughtStaysClearOfCuts()
    {
        QFETCH(QList<double>, cutSeconds);
        QFETCH(QString, nextStart);
        QFETCH(QString, start);
        QFETCH(QString, end);
        const Block before{u"04,013"_s, u"05,017"_s, u"Before."_s};
        const Block after{nextStart, u"25,000"_s, u"After."_s};
        const QString input = srt({before, {u"10,000"_s, u"11,000"_s, TwoLines}, after});
        const Outcome outcome = correct(input, shotSettings(), cuts(cutSeconds << 4.5));
        QVERIFY(outcome.result.ok);
        QCOMPARE(outcome.srt, srt({before, {start, end, TwoLines}, after}));
        QTEST(recordsText(outcome.result), "records");
        QTEST(shotTimesText(outcome.result), "shotTimes");
    }

    // After a subtitle ending at 10,000; two frames kept unless said.
    void gapsCountWholeFrames_data()
    {
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<int>("minGapFrames");
        QTest::addColumn<int>("minGapMs");
        QTest::addColumn<QString>("readStart");
        QTest::addColumn<QString>("start");

        QTest::newRow("a gap of 1 frame becomes 2") << 25.0 << 2 << 1 << u"10,040"_s << u"10,080"_s;
        QTest::newRow("2 frames stay") << 25.0 << 2 << 1 << u"10,080"_s << u"10,080"_s;
        QTest::newRow("3 frames stay") << 25.0 << 2 << 1 << u"10,120"_s << u"10,120"_s;
        QTest::newRow("a millisecond before 2 frames: shown from the same frame") << 25.0 << 2 << 1 << u"10,079"_s
                                                                                 << u"10,079"_s;
        // Frame 240 starts at 10,010 exactly, 242 at 10,093.4: the first millisecond after it.
        QTest::newRow("23.976: on frame starts") << 23.976 << 2 << 1 << u"10,001"_s << u"10,094"_s;
        QTest::newRow("29.97: on frame starts") << 29.97 << 2 << 1 << u"10,001"_s << u"10,077"_s;
        QTest::newRow("the gap in ms, in whole frames: 1") << 25.0 << 0 << 1 << u"10,000"_s << u"10,040"_s;
        QTest::newRow("the gap in ms, in whole frames: 83 is 3") << 25.0 << 0 << 83 << u"10,000"_s << u"10,120"_s;
        QTest::newRow("no frame rate: the gap in ms") << 0.0 << 2 << 83 << u"10,000"_s << u"10,083"_s;
    }

    void gapsCountWholeFrames()
    {
        QFETCH(double, frameRate);
        QFETCH(QString, readStart);
        QFETCH(QString, start);
        Settings settings = shotSettings();
        QFETCH(int, minGapFrames);
        QFETCH(int, minGapMs);
        settings.MinGapFrames = minGapFrames;
        settings.MinGapMs = minGapMs;
        const Block first{u"08,000"_s, u"10,000"_s, u"Hi."_s};
        const Outcome outcome =
            correct(srt({first, {readStart, u"12,000"_s, u"Ho."_s}}), settings, cuts({30}, frameRate));
        QCOMPARE(outcome.srt, srt({first, {start, u"12,000"_s, u"Ho."_s}}));
        QCOMPARE(outcome.result.frameRate > 0, frameRate > 0);
    }

    // SplitText from 01,000 to 05,000 without time buying: by length, the
    // first part ends at 02,599, on frame 65 at 02,600.
    void splitsAtACutNearTheirMiddle_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<ShotChanges>("shots");
        QTest::addColumn<QString>("firstEnd");
        QTest::addColumn<QString>("secondStart");
        QTest::addColumn<QString>("shotTimes");

        Settings settings = shotSettings();
        settings.BuyTime = false;
        QTest::newRow("no cut near: on frames, 2 apart") << settings << cuts({30}) << u"02,600"_s << u"02,680"_s
                                                         << QString();
        const QString at3080 = u"2: Split at the shot change at 00:00:03,080 (without: 01,000-02,600)|"
                               u"3: Split at the shot change at 00:00:03,080 (without: 02,680-05,000)"_s;
        QTest::newRow("a cut 12 frames after") << settings << cuts({3.08}) << u"03,000"_s << u"03,080"_s << at3080;
        QTest::newRow("13 frames after") << settings << cuts({3.12}) << u"02,600"_s << u"02,680"_s << QString();
        QTest::newRow("12 frames before") << settings << cuts({2.12}) << u"02,040"_s << u"02,120"_s
            << u"2: Split at the shot change at 00:00:02,120 (without: 01,000-02,600)|"
               u"3: Split at the shot change at 00:00:02,120 (without: 02,680-05,000)"_s;
        QTest::newRow("13 frames before") << settings << cuts({2.08}) << u"02,600"_s << u"02,680"_s << QString();
        QTest::newRow("the nearest cut; the first part ends before one a frame before it too")
            << settings << cuts({2.2, 2.52, 2.56}) << u"02,440"_s << u"02,560"_s
            << u"2: Split at the shot change at 00:00:02,560 (without: 01,000-02,600)|"
               u"3: Split at the shot change at 00:00:02,560 (without: 02,680-05,000)"_s;
        QTest::newRow("no frame rate: 12 frames are 500 ms, 2 are 83") << settings << cuts({3.099}, 0)
            << u"03,016"_s << u"03,099"_s
            << u"2: Split at the shot change at 00:00:03,099 (without: 01,000-02,599)|"
               u"3: Split at the shot change at 00:00:03,099 (without: 02,600-05,000)"_s;
        settings.ShotChanges = false;
        settings.MinGapMs = 83;
        QTest::newRow("without cuts the parts keep MinGapMs apart")
            << settings << cuts({3.08}) << u"02,599"_s << u"02,682"_s << QString();
    }

    void splitsAtACutNearTheirMiddle()
    {
        QFETCH(Settings, settings);
        QFETCH(ShotChanges, shots);
        QFETCH(QString, firstEnd);
        QFETCH(QString, secondStart);
        const Block first{u"00,200"_s, u"00,500"_s, u"First."_s};
        const Outcome outcome = correct(srt({first, {u"01,000"_s, u"05,000"_s, SplitText}}), settings, shots);
        const QString halves = u"abcd abcd abcd abcd abcd abcd abcd abcde|efghijklmn opqrs tuvwx yzabc\n"
                               u"defgh ijklm nopqr stuvw xyzabc"_s;
        QCOMPARE(outcome.srt, srt({first, {u"01,000"_s, firstEnd, halves.section(u'|', 0, 0)},
                                   {secondStart, u"05,000"_s, halves.section(u'|', 1)}}));
        QTEST(shotTimesText(outcome.result), "shotTimes");
        QCOMPARE(recordsText(outcome.result),
                 outcome.result.shotChangeTimes.empty() ? u"0002 Split"_s : u"0002 Split - Shot change"_s);
    }

    // The setting off, no cuts, or none after the first frame: every time as without them.
    void withoutUsableCutsNothingChanges_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<ShotChanges>("shots");
        QTest::newRow("setting off") << false << cuts({2.12, 10, 11.6});
        QTest::newRow("no cuts") << true << cuts({});
        QTest::newRow("a cut on the first frame only") << true << cuts({0.01});
    }

    void withoutUsableCutsNothingChanges()
    {
        QFETCH(bool, on);
        QFETCH(ShotChanges, shots);
        const QString input = srt({{u"00,200"_s, u"00,500"_s, u"First."_s},
                                   {u"01,000"_s, u"05,000"_s, SplitText},
                                   {u"04,990"_s, u"05,017"_s, u"Overlapping."_s},
                                   {u"10,000"_s, u"11,000"_s, TwoLines}});
        Settings settings;
        const Outcome plain = correct(input, settings, {});
        settings.ShotChanges = on;
        const Outcome outcome = correct(input, settings, shots);
        QCOMPARE(outcome.srt, plain.srt);
        QCOMPARE(recordsText(outcome.result), recordsText(plain.result));
        QVERIFY(outcome.result.shotChangeTimes.empty());
        QCOMPARE(outcome.result.shotChanges, qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestShotChanges)
#include "tst_shotchanges.moc"
