// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/timecode.h"

#include <QTest>

class TestTimeCode : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("written");

        QTest::newRow("three digits") << u"00:00:01,234"_qs << 1.234 << u"00:00:01,234"_qs;
        QTest::newRow("fraction of one digit") << u"00:01:02,5"_qs << 62.5 << u"00:01:02,500"_qs;
        QTest::newRow("no leading zeros") << u"0:0:1,000"_qs << 1.0 << u"00:00:01,000"_qs;
        QTest::newRow("position data after the fraction") << u"00:00:02,000 X1:100 X2:200"_qs << 2.0
                                                          << u"00:00:02,000"_qs;
        QTest::newRow("blanks around clock and fraction") << u" 01:02:03 , 45"_qs << 3723.45 << u"01:02:03,450"_qs;
        QTest::newRow("no fraction digits") << u"00:00:07,"_qs << 7.0 << u"00:00:07,000"_qs;
        QTest::newRow("last moment of the day") << u"23:59:59,999"_qs << 86399.999 << u"23:59:59,999"_qs;
        QTest::newRow("thousandths carried into the seconds") << u"00:00:01,9996"_qs << 1.9996 << u"00:00:02,000"_qs;
        QTest::newRow("carried through every field") << u"00:59:59,99999"_qs << 3599.99999 << u"01:00:00,000"_qs;
        QTest::newRow("long runs of digits") << u"000000000001:00:00,25000000000000000000"_qs << 3600.25
                                              << u"01:00:00,250"_qs;
    }

    void readsAndWritesBack()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QFETCH(QString, written);

        const std::optional<double> read = TimeTextToSeconds(text);
        QVERIFY(read.has_value());
        QCOMPARE(*read, seconds);
        QCOMPARE(*TimeTextToSeconds(text.toStdString()), seconds);
        QCOMPARE(SecondsToTimeText(*read), written);
    }

    void refusesWhatIsNoTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("full stop for comma") << u"00:00:01.000"_qs;
        QTest::newRow("hour 24") << u"24:00:00,000"_qs;
        QTest::newRow("minute 60") << u"00:60:00,000"_qs;
        QTest::newRow("two fields") << u"00:01,000"_qs;
        QTest::newRow("four fields") << u"1:00:00:01,000"_qs;
        QTest::newRow("empty field") << u"00::01,000"_qs;
        QTest::newRow("letter") << u"00:0a:01,000"_qs;
        QTest::newRow("blank inside") << u"00: 00:01,000"_qs;
        QTest::newRow("tab around") << u"\t00:00:01,000"_qs;
        QTest::newRow("no clock") << u",500"_qs;
        QTest::newRow("empty") << QString();
        QTest::newRow("twelve-hour form") << u"1:00:00 PM,000"_qs;
        QTest::newRow("arabic-indic digits") << u"٠٠:٠٠:٠١,٠٠٠"_qs;
    }

    void refusesWhatIsNoTime()
    {
        QFETCH(QString, text);
        QVERIFY(!TimeTextToSeconds(text).has_value());
    }

    void roundingIsToTheEvenThousandth()
    {
        // Binary-exact halves, so the tie really is a tie.
        QCOMPARE(Round3(0.0625), 0.062);
        QCOMPARE(Round3(0.1875), 0.188);
        QCOMPARE(Round3(1.6004), 1.6);
        QCOMPARE(Round3(-0.0004), 0.0);
    }

    void timesOutsideTheDayAreStillWritten()
    {
        QCOMPARE(SecondsToTimeText(-0.001), u"00:00:00,000"_qs);
        QCOMPARE(SecondsToTimeText(-3600.0), u"00:00:00,000"_qs);
        QCOMPARE(SecondsToTimeText(360000.5), u"100:00:00,500"_qs);
        QCOMPARE(SecondsToTimeText(std::nan("")), u"00:00:00,000"_qs);
    }
};

QTEST_GUILESS_MAIN(TestTimeCode)
#include "tst_timecode.moc"
