// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtparser.h"
#include "document/srtwriter.h"
#include "document/subtitlefile.h"
#include "document/textencoder.h"
#include "document/unicodetext.h"
#include "lang/langdoc.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Encodings in and out, and what is refused before any correction.
class TestSubtitleFile : public QObject
{
    Q_OBJECT

private:
    static const QString &sampleText()
    {
        static const QString text = u"1\r\n00:00:01,000 --> 00:00:02,500\r\nÉté déjà là, garçon !\r\nÇa va ?\r\n\r\n"
                                    u"2\r\n00:00:03,000 --> 00:00:04,000\r\nŒuvre « noëlle »\r\n\r\n"_qs;
        return text;
    }

    static QByteArray encoded(const QString &text, QStringConverter::Encoding encoding)
    {
        return QStringEncoder(encoding, QStringConverter::Flag::Stateless).encode(text);
    }

    // Device that fails every read, as a disk error would.
    class FailingDevice : public QIODevice
    {
    public:
        FailingDevice()
        {
            open(QIODevice::ReadOnly);
            setErrorString(u"Input/output error"_qs);
        }
        qint64 readData(char *, qint64) override { return -1; }
        qint64 writeData(const char *, qint64) override { return -1; }
    };

private slots:
    void encodingsRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("encodingName");

        QTest::newRow("UTF-8") << sampleText().toUtf8() << u"UTF-8"_qs;
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + sampleText().toUtf8() << u"UTF-8 with BOM"_qs;
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") + encoded(sampleText(), QStringConverter::Utf16LE)
                                  << u"UTF-16LE with BOM"_qs;
        QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") + encoded(sampleText(), QStringConverter::Utf16BE)
                                  << u"UTF-16BE with BOM"_qs;
    }

    void encodingsRoundTrip()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, encodingName);

        DecodedSubtitles decoded;
        ReadError error;
        QVERIFY(decodeSubtitleBytes(file, decoded, error));
        QCOMPARE(decoded.encoding.displayName(), encodingName);
        QCOMPARE(QString::fromUtf8(decoded.utf8()), sampleText());

        std::vector<SubtitleRow> rows;
        QVERIFY(readSubtitleRows(decoded.utf8(), rows, error));
        QCOMPARE(rows.at(0).text, u"Été déjà là, garçon !\r\nÇa va ?"_qs);
        QByteArray written;
        QString badCharacter;
        QVERIFY(encodeSubtitleFile(rows, decoded.encoding, written, badCharacter));
        QCOMPARE(written, file);
    }

    void onlyTheFirstByteOrderMarkIsTakenOff()
    {
        DecodedSubtitles decoded;
        ReadError error;
        QVERIFY(decodeSubtitleBytes(QByteArray("\xFF\xFE\xFF\xFE" "a\0", 6), decoded, error));
        QCOMPARE(decoded.utf8(), QByteArrayView("\xEF\xBB\xBF" "a"));
        QVERIFY(decodeSubtitleBytes(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a"), decoded, error));
        QCOMPARE(decoded.utf8(), QByteArrayView("\xEF\xBB\xBF" "a"));
    }

    void legacyFilesComeBackByteForByte()
    {
        // French in windows-1252: guessed, and written back unchanged.
        const QString text = u"1\r\n00:00:01,000 --> 00:00:02,000\r\nIl était déjà là, à côté de l'église.\r\n"
                             u"Où êtes-vous allés ? Ça coûte 5 € !\r\n\r\n"_qs;
        const QByteArray file = QStringEncoder("windows-1252").encode(text);
        DecodedSubtitles decoded;
        ReadError error;
        QVERIFY(decodeSubtitleBytes(file, decoded, error));
        QCOMPARE(decoded.encoding.kind, FileEncoding::Kind::Legacy);
        QCOMPARE(QString::fromUtf8(decoded.utf8()), text);
        QByteArray back;
        QString badCharacter;
        QVERIFY(encodeForFile(decoded.storage, decoded.encoding, back, badCharacter));
        QCOMPARE(back, file);

        // Whatever 8-bit soup comes in goes out the same.
        QRandomGenerator random(20261206);
        for (int round = 0; round < 200; ++round) {
            QByteArray soup;
            for (int i = 0; i < 64; ++i)
                soup.append(char(1 + random.bounded(255)));
            if (checkUtf8Text(soup).result == Utf8Check::Result::Valid || soup.startsWith("\xFF\xFE") || soup.startsWith("\xFE\xFF"))
                continue;
            QVERIFY(decodeSubtitleBytes(soup, decoded, error));
            QVERIFY(encodeForFile(decoded.storage, decoded.encoding, back, badCharacter));
            QCOMPARE(back, soup);
        }
    }

    void badBytesAreRefusedWithTheirOffset_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");

        QTest::newRow("invalid UTF-8 after a BOM") << QByteArray("\xEF\xBB\xBF" "1\nabc\xE9z\n")
                                                   << u"invalid UTF-8 at byte 8"_qs;
        QTest::newRow("overlong form after a BOM") << QByteArray("\xEF\xBB\xBF\xC0\xAF") << u"invalid UTF-8 at byte 3"_qs;
        QTest::newRow("surrogate after a BOM") << QByteArray("\xEF\xBB\xBFok\xED\xA0\x80") << u"invalid UTF-8 at byte 5"_qs;
        QTest::newRow("truncated at the end") << QByteArray("\xEF\xBB\xBFok\xE2\x82") << u"invalid UTF-8 at byte 5"_qs;
        QTest::newRow("NUL byte") << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nab\0cd", 37)
                                  << u"a NUL byte at byte 34; this is not a text file"_qs;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                << u"a NUL byte at byte 8; this is not a text file"_qs;
        QTest::newRow("unpaired UTF-16 surrogate") << QByteArray("\xFF\xFE" "a\0\x00\xD8" "b\0", 8)
                                                   << u"invalid UTF-16 at byte 4"_qs;
        QTest::newRow("odd UTF-16 length") << QByteArray("\xFE\xFF\0a\0", 5) << u"invalid UTF-16 at byte 4"_qs;
        QTest::newRow("NUL in UTF-16") << QByteArray("\xFF\xFE" "a\0\0\0", 6)
                                       << u"a NUL byte at byte 4; this is not a text file"_qs;
    }

    void badBytesAreRefusedWithTheirOffset()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);

        DecodedSubtitles decoded;
        ReadError error;
        QVERIFY(!decodeSubtitleBytes(file, decoded, error));
        QCOMPARE(error.describe(LangDoc{}), u"Error in file: "_qs + message);
    }

    void onlyRegularFilesAreRead()
    {
        QTemporaryDir dir;
        QByteArray bytes;
        ReadError error;

        QVERIFY(!readFileBytes(dir.path(), bytes, error));
        QCOMPARE(error.describe(LangDoc{}), u"Error in file: not a regular file"_qs);

        // A FIFO nobody writes to would block a plain open for ever.
        const QString fifo = dir.filePath(u"pipe.srt"_qs);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readFileBytes(fifo, bytes, error));
        QCOMPARE(error.kind, ReadError::Kind::NotRegularFile);

        QVERIFY(!readFileBytes(dir.filePath(u"missing.srt"_qs), bytes, error));
        QVERIFY(!error.reason.isEmpty());
        QCOMPARE(error.describe(LangDoc{}), u"Error in file: cannot read the file: "_qs + error.reason);

        FailingDevice failing;
        QVERIFY(!readDeviceBytes(failing, bytes, error));
        QCOMPARE(error.kind, ReadError::Kind::CannotOpen);
        QCOMPARE(error.reason, u"Input/output error"_qs);
    }
};

QTEST_GUILESS_MAIN(TestSubtitleFile)
#include "tst_subtitlefile.moc"
