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
        QTest::newRow("position data after") << u"00:00:02,000 X1:100 X2:200"_qs << 2.0 << u"00:00:02,000"_qs;
        QTest::newRow("blanks around clock and fraction") << u" 01:02:03 , 45"_qs << 3723.45 << u"01:02:03,450"_qs;
        QTest::newRow("no fraction digits") << u"00:00:07,"_qs << 7.0 << u"00:00:07,000"_qs;
        QTest::newRow("last moment of the day") << u"23:59:59,999"_qs << 86399.999 << u"23:59:59,999"_qs;
        QTest::newRow("hours past 23") << u"24:00:00,000"_qs << 86400.0 << u"24:00:00,000"_qs;
        QTest::newRow("hours of three digits") << u"100:00:00,5"_qs << 360000.5 << u"100:00:00,500"_qs;
        QTest::newRow("thousandths carried into the seconds") << u"00:00:01,9996"_qs << 1.9996 << u"00:00:02,000"_qs;
        QTest::newRow("carried through every field") << u"00:59:59,99999"_qs << 3599.99999 << u"01:00:00,000"_qs;
        QTest::newRow("digit runs") << u"000000000001:00:00,25000000000000000000"_qs << 3600.25 << u"01:00:00,250"_qs;
    }

    void readsAndWritesBack()
    {
        QFETCH(QString, text);
        QTEST(TimeTextToSeconds(text).value_or(-1.0), "seconds");
        QTEST(TimeTextToSeconds(text.toStdString()).value_or(-1.0), "seconds");
        QTEST(SecondsToTimeText(TimeTextToSeconds(text).value_or(-1.0)), "written");
    }

    // Texts the usual rule refuses, and what the common variants make of them: a value, or -1 when they refuse too.
    void refusedByTheUsualRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("lenient");

        QTest::newRow("full stop, fraction of two digits") << u"00:00:00.05"_qs << 0.05;
        QTest::newRow("fourth field is the fraction") << u"00:41:32:059"_qs << 2492.059;
        QTest::newRow("three fields, no fraction") << u"00:01:39"_qs << 99.0;
        QTest::newRow("no fraction, position data after") << u"00:01:39 X1:40 X2:600"_qs << 99.0;
        QTest::newRow("two fields are minutes and seconds") << u"01:02,500"_qs << 62.5;
        QTest::newRow("two fields and a full stop") << u"59:59.999"_qs << 3599.999;
        QTest::newRow("minute 59 with a full stop") << u"00:59:59.000"_qs << 3599.0;
        // Refused by the variants too: minute or second 60 (also with a fourth field or two fields), two fields without
        // a fraction separator, four fields and a comma, five fields, commas for colons, an empty field, a letter, a
        // blank inside, a tab around, no clock, nothing, a twelve-hour form, digits other than ASCII.
        for (const QString &text : {u"00:60:00,000"_qs, u"00:00:60,000"_qs, u"00:00:60:000"_qs, u"60:00,000"_qs,
                                    u"01:02"_qs, u"1:00:00:01,000"_qs, u"00:00:01:02:03"_qs, u"45,055,50,999"_qs,
                                    u"00::01.000"_qs, u"00:00:01:"_qs, u"00:0a:01.000"_qs, u"00:00:01:0a"_qs,
                                    u"00: 00:01,000"_qs, u"\t00:00:01,000"_qs, u",500"_qs, QString(),
                                    u"1:00:00 PM,000"_qs, u"٠٠:٠٠:٠١,٠٠٠"_qs})
            QTest::addRow("\"%s\"", qPrintable(text)) << text << -1.0;
    }

    void refusedByTheUsualRule()
    {
        QFETCH(QString, text);
        QVERIFY(!TimeTextToSeconds(text).has_value());
        QTEST(lenientTimeTextToSeconds(text.toStdString()).value_or(-1.0), "lenient");
    }

    void roundingAndTimesOutsideTheDay()
    {
        // Binary-exact halves, so the tie really is a tie.
        QCOMPARE(Round3(0.0625), 0.062);
        QCOMPARE(Round3(0.1875), 0.188);
        QCOMPARE(Round3(1.6004), 1.6);
        QCOMPARE(Round3(-0.0004), 0.0);
        for (const double seconds : {-0.001, -3600.0, std::nan("")})
            QCOMPARE(SecondsToTimeText(seconds), u"00:00:00,000"_qs);
    }
};

QTEST_GUILESS_MAIN(TestTimeCode)
#include "tst_timecode.moc"
