// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/srtparser.h"
#include "document/srtwriter.h"
#include "document/subtitlefile.h"
#include "document/textencoder.h"
#include "document/timecode.h"
#include "document/unicodetext.h"
#include "lang/langdoc.h"
#include "support/srttext.h"

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

    // text with the ASCII a plain editor writes for typographic punctuation.
    static QString withoutTypography(QString text)
    {
        for (const QChar quote : u"“”„«»")
            text.replace(quote, u'"');
        text.replace(u'’', u'\'').replace(u"…"_qs, u"..."_qs).replace(u'–', u'-').replace(u'—', u'-');
        return text;
    }

    // One subtitle per line of text.
    static QString subtitlesOf(const QString &text)
    {
        QString srt;
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i)
            srt += srtBlock(int(i + 1), SecondsToTimeText(2.0 * i), SecondsToTimeText(2.0 * i + 1.5), lines[i]);
        return srt;
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
    // In the encoding named, or detected when none is, and written back byte for byte; a byte-order mark is taken off
    // once, and what cannot be read is refused at its offset.
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("read"); // the encoding, or the error
        QTest::addColumn<QString>("text");

        const auto row = [](const char *name, const QByteArray &file, const QString &encoding, const QString &read,
                            const QString &text = {}) { QTest::newRow(name) << file << encoding << read << text; };
        const QString french = u"1\r\n00:00:01,000 --> 00:00:02,500\r\nÉté déjà là, garçon !\r\nÇa va ?\r\n\r\n"
                               u"2\r\n00:00:03,000 --> 00:00:04,000\r\nŒuvre « noëlle »\r\n\r\n"_qs;
        row("UTF-8", french.toUtf8(), {}, u"UTF-8"_qs, french);
        row("UTF-8 with BOM", "\xEF\xBB\xBF" + french.toUtf8(), {}, u"UTF-8 with BOM"_qs, french);
        row("UTF-16LE", "\xFF\xFE" + encoded(french, QStringConverter::Utf16LE), {}, u"UTF-16LE with BOM"_qs, french);
        row("UTF-16BE", "\xFE\xFF" + encoded(french, QStringConverter::Utf16BE), {}, u"UTF-16BE with BOM"_qs, french);
        row("a second UTF-8 byte-order mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", {}, u"UTF-8 with BOM"_qs,
            u"\uFEFFa"_qs);
        row("a second UTF-16 byte-order mark is text", QByteArray("\xFF\xFE\xFF\xFE" "a\0", 6), {},
            u"UTF-16LE with BOM"_qs, u"\uFEFFa"_qs);

        const QString text = u"1\r\n00:00:01,000 --> 00:00:02,000\r\nДобрый вечер.\r\n\r\n"_qs;
        const QByteArray cyrillic = QStringEncoder("windows-1251").encode(text);
        row("a code page by another of its names", cyrillic, u"cp1251"_qs, u"windows-1251"_qs, text);
        row("UTF-16 without a byte-order mark", encoded(text, QStringConverter::Utf16LE), u"utf-16le"_qs,
            u"UTF-16LE"_qs, text);
        row("UTF-8 keeps its byte-order mark", "\xEF\xBB\xBF" + text.toUtf8(), u"UTF-8"_qs, u"UTF-8 with BOM"_qs, text);
        // "Știință" in the Romanian page, which only iconv knows.
        row("a name only iconv knows", "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xAAtiin\xFE\xE3\r\n\r\n",
            u"iso-8859-16"_qs, u"ISO-8859-16"_qs, u"1\r\n00:00:01,000 --> 00:00:02,000\r\nȘtiință\r\n\r\n"_qs);
        row("bytes the encoding does not have", "1\r\n00:00:01,000 --> 00:00:02,000\r\n\x85 \r\n", u"Shift_JIS"_qs,
            u"not valid Shift_JIS text"_qs);
        row("not UTF-8", cyrillic, u"UTF-8"_qs, u"invalid UTF-8 at byte 34"_qs);
        row("a NUL byte in a named code page", QByteArray("ab\0", 3), u"windows-1252"_qs,
            u"a NUL byte at byte 2; this is not a text file"_qs);
        row("invalid UTF-8 after a BOM", "\xEF\xBB\xBF" "1\nabc\xE9z\n", {}, u"invalid UTF-8 at byte 8"_qs);
        row("overlong form after a BOM", "\xEF\xBB\xBF\xC0\xAF", {}, u"invalid UTF-8 at byte 3"_qs);
        row("surrogate after a BOM", "\xEF\xBB\xBFok\xED\xA0\x80", {}, u"invalid UTF-8 at byte 5"_qs);
        row("truncated at the end", "\xEF\xBB\xBFok\xE2\x82", {}, u"invalid UTF-8 at byte 5"_qs);
        row("NUL byte", QByteArray("1\n00:00:01,000 --> 00:00:02,000\nab\0cd", 37), {},
            u"a NUL byte at byte 34; this is not a text file"_qs);
        row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {},
            u"a NUL byte at byte 8; this is not a text file"_qs);
        row("unpaired UTF-16 surrogate", QByteArray("\xFF\xFE" "a\0\x00\xD8" "b\0", 8), {},
            u"invalid UTF-16 at byte 4"_qs);
        row("odd UTF-16 length", QByteArray("\xFE\xFF\0a\0", 5), {}, u"invalid UTF-16 at byte 4"_qs);
        row("NUL in UTF-16", QByteArray("\xFF\xFE" "a\0\0\0", 6), {},
            u"a NUL byte at byte 4; this is not a text file"_qs);

        // Lines of dialogue in the scripts the detection must tell apart, each in the code pages its subtitle files
        // come in, with the typographic punctuation Windows editors write and, where the page allows, without. French
        // stands for the languages of the Western page: the detector guesses the same pages for each.
        const struct { const char *language, *codePages; QString text; } samples[] = {
            {"English", "windows-1252", u"“Don’t go,” she said. “It’s late…”\nI’ll be back before dawn – I promise.\n"
                u"What’s that noise? Only the wind, the café’s old sign.\nHe’s been gone for hours—where is he?"_qs},
            {"French", "windows-1252 ISO-8859-1", u"« Tu ne vas pas partir maintenant ? » demanda-t-elle.\n"
                u"C’est déjà l’heure, je suis désolé…\nOù est passé le garçon ? – Il est à l’école.\n"
                u"Ça m’étonnerait qu’il revienne avant Noël."_qs},
            {"Czech", "windows-1250 ISO-8859-2", u"„Kde jsi byl celou noc?“ zeptala se.\n"
                u"Řekl jsem ti, že se vrátím zítra večer.\nTo je přece úplně jedno – nebo ne?\n"
                u"Musíme odsud okamžitě zmizet…"_qs},
            {"Russian", "windows-1251 KOI8-R IBM866", u"«Куда ты идёшь?» — спросила она.\n"
                u"Я вернусь завтра утром, обещаю…\nЭто был самый длинный день в моей жизни.\n"
                u"Нам нужно уходить, пока не стемнело."_qs},
            {"Greek", "windows-1253 ISO-8859-7", u"«Πού πηγαίνεις;» ρώτησε η μητέρα.\n"
                u"Άνοιξε την πόρτα, θα γυρίσω αύριο…\nΉταν η πιο μεγάλη μέρα της ζωής μου.\n"
                u"Πρέπει να φύγουμε πριν νυχτώσει."_qs},
            {"Hebrew", "windows-1255 ISO-8859-8", u"לאן אתה הולך?\nאני אחזור מחר בבוקר, אני מבטיח.\n"
                u"זה היה היום הארוך ביותר בחיים שלי.\nאנחנו צריכים ללכת לפני שיחשיך."_qs},
            {"Persian", "windows-1256",
                u"کجا مي‌روي؟\nفردا صبح برمي‌گردم، قول مي‌دهم.\nاين طولاني‌ترين روز زندگي من بود."_qs},
            {"Japanese", "Shift_JIS EUC-JP", u"どこへ行くの？\n明日の朝には戻るよ、約束する。\n"
                u"これは私の人生で一番長い一日だった。\n暗くなる前に帰らなきゃ。"_qs},
            {"Chinese", "GB18030", u"你要去哪里？\n我明天早上就回来，我保证。\n这是我一生中最漫长的一天。\n天黑之前我们必须离开。"_qs},
            {"Chinese, traditional", "Big5", u"你要去哪裡？\n我明天早上就回來，我保證。\n這是我一生中最漫長的一天。\n"
                u"天黑之前我們必須離開。"_qs},
        };
        // Where a page gives the same letters as the Windows page of its
        // script, the Windows page is named; Czech shows its ISO page by š and ž.
        const auto detected = [](const QByteArray &codePage) {
            return QString::fromLatin1(codePage == "ISO-8859-1" ? "windows-1252"
                                       : codePage == "ISO-8859-8" ? "windows-1255" : codePage);
        };
        for (const auto &sample : samples) {
            for (const QByteArray &codePage : QByteArray(sample.codePages).split(' ')) {
                for (const bool typographic : {true, false}) {
                    const QString srt = subtitlesOf(typographic ? sample.text : withoutTypography(sample.text));
                    QStringEncoder encoder(codePage.constData());
                    const QByteArray file = encoder.encode(srt);
                    // The plain form is tried where it differs, or where the page lacks the typography.
                    if (!encoder.hasError() && (typographic || srt != subtitlesOf(sample.text)))
                        QTest::addRow("%s, %s%s", sample.language, codePage.constData(), typographic ? "" : ", plain")
                            << file << QString() << detected(codePage) << srt;
                }
            }
        }
    }

    void decodes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, name);
        QFETCH(QString, read);
        QFETCH(QString, text);

        DecodedSubtitles decoded;
        ReadError error;
        if (!decodeSubtitleBytes(file, decoded, error, name)) {
            QCOMPARE(error.describe(LangDoc{}), u"Error in file: "_qs + read);
            return;
        }
        QCOMPARE(decoded.encoding.displayName(), read);
        QCOMPARE(decoded.utf8().toByteArray(), text.toUtf8());
        QByteArray back;
        QString badCharacter;
        QVERIFY(encodeForFile(decoded.storage, decoded.encoding, back, badCharacter));
        QCOMPARE(back, file);
        // Read as rows and written back, it is the same file again.
        std::vector<SubtitleRow> rows;
        if (text.contains(u" --> "_qs)) {
            QVERIFY(readSubtitleRows(decoded.utf8(), rows, error));
            QVERIFY(encodeSubtitleFile(rows, decoded.encoding, back, badCharacter));
            QCOMPARE(back, file);
        }
        // What the encoding cannot hold is named when saving.
        if (!name.isEmpty()) {
            const bool unicode = read.startsWith(u"UTF"_qs);
            QCOMPARE(encodeForFile(u"ねこ"_qs.toUtf8(), decoded.encoding, back, badCharacter), unicode);
        }
    }

    void legacyFilesComeBackByteForByte()
    {
        // Whatever 8-bit soup comes in goes out the same.
        DecodedSubtitles decoded;
        ReadError error;
        QByteArray back;
        QString badCharacter;
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

    // ASCII is checked and converted sixteen or eight units at a time: other characters, a NUL and a bad byte
    // at every place around those edges are found, converted and written back one by one.
    void utf8AtEveryPlace()
    {
        for (int at = 0; at < 40; ++at) {
            const QString text = QString(at, u'a') + u"é日\U0001F600"_qs + QString(40 - at, u'b');
            const QByteArray utf8 = text.toUtf8();
            QCOMPARE(checkUtf8Text(utf8).result, Utf8Check::Result::Valid);
            std::u32string wide;
            appendUtf8(wide, utf8);
            QCOMPARE(wide, text.toStdU32String());
            QByteArray back(wide.size() * 4, '\0');
            back.truncate(writeUtf8(wide, back.data()) - back.data());
            QCOMPARE(back, utf8);
            for (const char bad : {'\0', '\xFF'}) {
                const Utf8Check check = checkUtf8Text(QByteArray(utf8).insert(at, bad));
                QCOMPARE(check.offset, at);
                QCOMPARE(check.result, bad ? Utf8Check::Result::Invalid : Utf8Check::Result::Nul);
            }
        }
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
