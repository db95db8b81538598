// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/cutlistfile.h"
#include "lang/langdoc.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Gives its first bytes, then fails as a disk might.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_given) {
            setErrorString(u"Input/output error"_s);
            return -1;
        }
        m_given = true;
        const QByteArray start = "1.5\n2"_ba;
        const qint64 size = std::min<qint64>(maxSize, start.size());
        std::copy_n(start.constData(), size, data);
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
    bool isSequential() const override { return true; }

private:
    bool m_given = false;
};

} // namespace

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

        const QString notATime = u"line %1 is not a time in seconds: %2"_s;
        QTest::newRow("plain, out of order, repeated") << "12.480\n3\n0.5\n3.000\n12.48\n"_ba << 0.0
                                                       << QList<double>{0.5, 3, 12.48} << 0.0 << QString();
        QTest::newRow("byte-order mark, comments, blanks, CR LF and lone CR, no last line end")
            << "\xEF\xBB\xBF# by hand\r\n1.5\r\r\n  2.25 \r# fps 25\n\n3"_ba << 24.0 << QList<double>{1.5, 2.25, 3}
            << 25.0 << QString();
        QTest::newRow("empty") << ""_ba << 0.0 << QList<double>{} << 0.0 << QString();
        QTest::newRow("keyframes") << "# keyframe format v1\nfps 25\n0\n50\n100\n"_ba << 0.0 << QList<double>{0, 2, 4}
                                   << 25.0 << QString();
        QTest::newRow("keyframes at 23.976: 24000/1001") << "# keyframe format v1\nfps 23.976\n24\n"_ba << 0.0
                                                          << QList<double>{1.001} << 23.976 << QString();
        QTest::newRow("keyframes without a rate, one given") << "# keyframe format v1\n48\n"_ba << 24.0
                                                             << QList<double>{2} << 24.0 << QString();
        QTest::newRow("keyframes without a rate") << "# keyframe format v1\n48\n"_ba << 0.0 << QList<double>{} << 0.0
                                                  << u"the keyframe list gives no frame rate"_s;
        QTest::newRow("a decimal comma") << "1.5\n12,480\n"_ba << 0.0 << QList<double>{} << 0.0
                                         << notATime.arg(2).arg(u"12,480"_s);
        QTest::newRow("negative") << "\n-1\n"_ba << 0.0 << QList<double>{} << 0.0 << notATime.arg(2).arg(u"-1"_s);
        QTest::newRow("an exponent") << "1e3"_ba << 0.0 << QList<double>{} << 0.0 << notATime.arg(1).arg(u"1e3"_s);
        QTest::newRow("lines counted across CR LF and CR") << "1\r\n2\r3\rx\n"_ba << 0.0 << QList<double>{} << 0.0
                                                            << notATime.arg(4).arg(u"x"_s);
        QTest::newRow("a line too long, shown in part") << QByteArray(5000, '1') << 0.0 << QList<double>{} << 0.0
                                                       << notATime.arg(1).arg(QString(80, u'1'));
        QTest::newRow("a time in a keyframe list") << "# keyframe format v1\nfps 25\n1.5\n"_ba << 0.0
                                                   << QList<double>{} << 0.0
                                                   << u"line 3 is not a frame number: 1.5"_s;
        QTest::newRow("a rate that is no number") << "# keyframe format v1\nfps x\n"_ba << 0.0 << QList<double>{}
                                                  << 0.0 << u"line 2 is not a frame rate: fps x"_s;
        QTest::newRow("a plain list's rate") << "# fps 2,5\n"_ba << 0.0 << QList<double>{} << 0.0
                                             << u"line 1 is not a frame rate: # fps 2,5"_s;
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
        FailingDevice device;
        CutListError problem;
        QVERIFY(!readCutList(device, problem));
        QCOMPARE(problem.describe(LangDoc()), u"cannot read the file: Input/output error"_s);
    }

    void atMostMaxCuts()
    {
        for (const qint64 lines : {MaxCuts, MaxCuts + 1}) {
            QByteArray bytes = "1\n"_ba.repeated(lines);
            QBuffer buffer(&bytes);
            QVERIFY(buffer.open(QIODevice::ReadOnly));
            CutListError problem;
            const bool read = bool(readCutList(buffer, problem));
            QCOMPARE(read ? QString() : problem.describe(LangDoc()),
                     lines == MaxCuts ? QString() : u"more than 5000000 shot changes"_s);
        }
    }

    void writtenListsReadBack()
    {
        const ShotChanges shots{{0.5, 12.48, 3600.0004}, 25, 0};
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::ReadWrite));
        QVERIFY(writeCutList(buffer, shots));
        QCOMPARE(buffer.data(), "0.500\n12.480\n3600.000\n"_ba);
        buffer.seek(0);
        CutListError problem;
        QCOMPARE(readCutList(buffer, problem)->cutSeconds, (std::vector<double>{0.5, 12.48, 3600}));
        QBuffer readOnly;
        QVERIFY(readOnly.open(QIODevice::ReadOnly));
        QVERIFY(!writeCutList(readOnly, shots));
    }
};

QTEST_GUILESS_MAIN(TestCutList)
#include "tst_cutlist.moc"
