// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtparser.h"
#include "lang/langdoc.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The reader's line rules, seen through the rows it gives.
class TestSrtParser : public QObject
{
    Q_OBJECT

    // Rows as "number|start|end|text" with CR LF in the text shown as "/".
    static QStringList rowsOf(const QByteArray &utf8)
    {
        std::vector<SubtitleRow> rows;
        ReadError error;
        if (!readSubtitleRows(utf8, rows, error))
            return {u"error: "_qs + error.describe(LangDoc{})};
        QStringList texts;
        for (const SubtitleRow &row : rows) {
            texts << QString::number(row.number) + QLatin1Char('|') + row.startText + QLatin1Char('|') + row.endText
                    + QLatin1Char('|') + QString(row.text).replace(u"\r\n"_qs, u"/"_qs);
        }
        return texts;
    }

private slots:
    void rows_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("rows");

        const QString a = u"1|00:00:01,000|00:00:02,000|"_qs;
        const QString b = u"2|00:00:03,000|00:00:04,000|"_qs;
        const QByteArray one = "1\n00:00:01,000 --> 00:00:02,000\n", nine = "1\n00:00:09,000 --> 00:00:09,500\n";
        const QByteArray lf = one + "One\nTwo\n\n2\n00:00:03,000 --> 00:00:04,000\nThree\n";
        for (const auto &[name, lineEnd] : {std::pair("CR LF", "\r\n"), std::pair("LF", "\n"), std::pair("CR", "\r")})
            QTest::addRow("lines end in %s", name) << QByteArray(lf).replace("\n", lineEnd)
                                                   << QStringList{a + u"One/Two"_qs, b + u"Three"_qs};
        QTest::newRow("LF CR is two line ends")
            << QByteArray("1\n\r00:00:01,000 --> 00:00:02,000\n\rOne\n\r")
            << QStringList{u"1|00:00:00,000|00:00:00,000|1"_qs, u"2|00:00:01,000|00:00:02,000|One"_qs};
        QTest::newRow("numbers in the file are ignored")
            << QByteArray("5\n00:00:01,000 --> 00:00:02,000\nOne\n\n5\n00:00:03,000 --> 00:00:04,000\nThree\n")
            << QStringList{a + u"One"_qs, b + u"Three"_qs};
        QTest::newRow("a subtitle without text gives no row")
            << nine + "\n2\n00:00:01,000 --> 00:00:02,000\nOne\n" << QStringList{a + u"One"_qs};
        QTest::newRow("arrow at 15 ends a time") << "1\n1000:00:01,000 --> 1000:00:02,000\nOne\n"_ba
                                                 << QStringList{u"1|1000:00:01,000|1000:00:02,000|One"_qs};
        QTest::newRow("arrow at 17 is text") << one + "He said: 1234567 --> go\nok\n"
                                             << QStringList{a + u"He said: 1234567 --> go/ok"_qs};
        QTest::newRow("arrow position counts characters, not bytes")
            << one + QByteArray("\xc3\xa9").repeated(16) + "-->\nok\n" << QStringList{a + u"éééééééééééééééé-->/ok"_qs};
        QTest::newRow("blank line inside the text is dropped")
            << one + "One\n   \nTwo\n" << QStringList{a + u"One/Two"_qs};
        QTest::newRow("last line without a line end") << one + "One" << QStringList{a + u"One"_qs};
        QTest::newRow("a title before the first subtitle")
            << "My film\n\n"_ba + one + "One\n"
            << QStringList{u"1|00:00:00,000|00:00:00,000|My film"_qs, u"2|00:00:01,000|00:00:02,000|One"_qs};
        QTest::newRow("dialogue where the number is missing is kept")
            << one + "One\nTwo\n00:00:03,000 --> 00:00:04,000\nThree\n"
            << QStringList{a + u"One/Two"_qs, b + u"Three"_qs};
        QTest::newRow("two time lines in a row commit nothing")
            << nine + "00:00:01,000 --> 00:00:02,000\nOne\n" << QStringList{a + u"One"_qs};
        QTest::newRow("lines keep their blanks and tabs") << one + "  One \n\t\n" << QStringList{a + u"  One /\t"_qs};
        QTest::newRow("a stray byte-order mark is text") << one + "\xEF\xBB\xBF\n" << QStringList{a + u"\uFEFF"_qs};
        QTest::newRow("empty input") << QByteArray() << QStringList{};
        QTest::newRow("blank lines only") << QByteArray("\n \r\n\r") << QStringList{};
        QTest::newRow("bad time line") << one + "One\n\n2\n00:00:03.000 --> 00:00:04,000\nThree\n"
            << QStringList{u"error: Error in file: line 6: 00:00:03.000 --> 00:00:04,000"_qs};
        QTest::newRow("text without a time line")
            << QByteArray("Dear diary,\ntoday nothing happened.\n")
            << QStringList{u"error: Error in file: no time line found; this is not a subtitle file"_qs};
    }

    void rows()
    {
        QFETCH(QByteArray, input);
        QTEST(rowsOf(input), "rows");
    }

    void aLongBadLineIsShortenedInTheMessage()
    {
        const QByteArray input = "1\n00:00:01;000 --> " + QByteArray(5000, 'x') + "\n";
        ReadError error;
        std::vector<SubtitleRow> rows;
        QVERIFY(!readSubtitleRows(input, rows, error, true));
        QCOMPARE(error.lineNumber, 2);
        QVERIFY(error.describe(LangDoc{}).size() < 300);
        QVERIFY(!error.lenientTimesWouldRead); // the variants cannot read it either
    }

    // The usual form, a variant on one side, variants on both; the engine
    // needs the times of a subtitle without text too.
    void commonTimeVariantsOnRequest()
    {
        const QByteArray input = "1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03.000 --> 00:00:04,000\nB\n\n"
                                 "3\n00:00:05 --> 00:00:06:500\nC\n";
        std::vector<SubtitleRow> rows;
        ReadError error;
        QVERIFY(!readSubtitleRows(input, rows, error));
        QCOMPARE(error.lineNumber, 5);
        QVERIFY(error.lenientTimesWouldRead);

        SrtParser parser(input, true);
        SrtEntry entry;
        QList<double> ends;
        while (parser.next(entry))
            ends << entry.endSeconds;
        QVERIFY(!parser.error());
        QCOMPARE(ends, (QList<double>{0.0, 2.0, 4.0, 6.5}));
        QCOMPARE(parser.lenientTimeLines(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSrtParser)
#include "tst_srtparser.moc"
