// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/cutlistfile.h"
#include "lang/langdoc.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

// Lists of shot changes as files hold them.
class TestCutList : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("rateIfNone");
        QTest::addColumn<QList<double>>("cuts");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("error"); // empty: read
        const auto row = [](const char *name, const QByteArray &bytes, double rateIfNone, QList<double> cuts,
                            double rate, const QString &error = {}) {
            QTest::newRow(name) << bytes << rateIfNone << cuts << rate << error;
        };
        const QString notATime = u"line %1 is not a time in seconds: %2"_s;
        const QByteArray keyframes = "# keyframe format v1\n"_ba;
        row("plain, out of order, repeated", "12.480\n3\n0.5\n3.000\n12.48\n", 0, {0.5, 3, 12.48}, 0);
        row("byte-order mark, comments, blanks, CR LF and lone CR, no last line end",
            "\xEF\xBB\xBF# by hand\r\n1.5\r\r\n  2.25 \r# fps 25\n\n3", 24, {1.5, 2.25, 3}, 25);
        row("keyframes", keyframes + "fps 25\n0\n50\n100\n", 0, {0, 2, 4}, 25);
        row("keyframes at 23.976: 24000/1001", keyframes + "fps 23.976\n24\n", 0, {1.001}, 23.976);
        row("keyframes without a rate, one given", keyframes + "48\n", 24, {2}, 24);
        row("a decimal comma", "1.5\n12,480\n", 0, {}, 0, notATime.arg(2).arg(u"12,480"_s));
        row("lines counted across CR LF and CR", "1\r\n2\r3\rx\n", 0, {}, 0, notATime.arg(4).arg(u"x"_s));
        row("a line too long, shown in part", QByteArray(5000, '1'), 0, {}, 0, notATime.arg(1).arg(QString(80, u'1')));
        row("a time in a keyframe list", keyframes + "fps 25\n1.5\n", 0, {}, 0, u"line 3 is not a frame number: 1.5"_s);
        row("a rate that is no number", keyframes + "fps x\n", 0, {}, 0, u"line 2 is not a frame rate: fps x"_s);
        row("1000 fps", "# fps 1000\n1\n", 0, {1}, 1000);
        row("1001 fps: frames under a millisecond", "# fps 1001\n1\n", 0, {}, 0,
            u"line 1 is not a frame rate: # fps 1001"_s);
        row("0 fps", keyframes + "fps 0\n", 0, {}, 0, u"line 2 is not a frame rate: fps 0"_s);
        row("MaxCuts times", "1\n"_ba.repeated(MaxCuts), 0, {1}, 0);
        row("one more", "1\n"_ba.repeated(MaxCuts + 1), 0, {}, 0, u"more than 5000000 shot changes"_s);
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(double, rateIfNone);
        QFETCH(QString, error);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        CutListError problem;
        const std::optional<ShotChanges> shots = readCutList(buffer, problem, rateIfNone);
        QCOMPARE(shots ? QString() : problem.describe(LangDoc()), error);
        if (shots) {
            QFETCH(QList<double>, cuts);
            QCOMPARE(qsizetype(shots->cutSeconds.size()), cuts.size());
            for (qsizetype i = 0; i < cuts.size(); ++i)
                QCOMPARE(shots->cutSeconds[std::size_t(i)], cuts[i]);
            QTEST(shots->frameRate, "rate");
        }
    }

    void aFailingDeviceIsNamed()
    {
        QBuffer closed; // every read fails
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::read (QBuffer): device not open");
        CutListError problem;
        QVERIFY(!readCutList(closed, problem));
        QCOMPARE(problem.describe(LangDoc()), u"cannot read the file: Unknown error"_s);
    }

    void writing()
    {
        const ShotChanges shots{{0.5, 12.48, 3600.0004}, 25, 0};
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::ReadWrite));
        QVERIFY(writeCutList(buffer, shots));
        QCOMPARE(buffer.data(), "0.500\n12.480\n3600.000\n"_ba);
        QBuffer readOnly;
        QVERIFY(readOnly.open(QIODevice::ReadOnly));
        QVERIFY(!writeCutList(readOnly, shots));
    }
};

QTEST_GUILESS_MAIN(TestCutList)
#include "tst_cutlist.moc"
