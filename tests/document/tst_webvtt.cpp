// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/rows/subtitlerows.h"
#include "document/srtparser.h"
#include "document/subtitlefile.h"
#include "document/timecode.h"
#include "document/webvtt/webvttlayout.h"
#include "document/webvtt/webvtttime.h"
#include "document/webvtt/webvttwriter.h"
#include "lang/langdoc.h"
#include "support/webvtttext.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A small file: a note, a cue with an identifier and settings, one with hours and two lines, one plain.
const QByteArray Small = "WEBVTT\n\nNOTE n\n\nid1\n00:01.000 --> 00:02.000 align:start\nOne\n\n"
                         "00:00:03.000 --> 00:00:04.000\nTwo\nlines\n\n00:05.000 --> 00:06.000\nThree\n";

// The rows of a file as read, tagged with their ordinals as a correction tags them, and its layout.
struct Read
{
    SubtitleRows rows;
    std::shared_ptr<const WebVttLayout> layout;
    QString error;
};

Read read(const QByteArray &bytes, bool vttName = true, const QString &encoding = {}, bool lenient = false)
{
    Read result;
    DecodedSubtitles decoded;
    ReadError error;
    if (decodeSubtitleBytes(bytes, decoded, error, encoding, vttName)
        && readSubtitleRows(decoded.utf8(), result.rows, error, lenient)) {
        for (qsizetype i = 0; i < result.rows.size(); ++i)
            result.rows.setTag(i, int(i + 1));
        if (decoded.format == SubtitleFormat::WebVtt)
            result.layout = WebVttLayout::read(decoded, lenient, error);
        return result;
    }
    result.error = error.describe(LangDoc()) + (error.lenientTimesWouldRead ? u" (lenient reads it)"_s : QString());
    return result;
}

// "start-end text|..." in milliseconds, lines apart by "/".
QString summary(const SubtitleRows &rows)
{
    QStringList texts;
    for (qsizetype i = 0; i < rows.size(); ++i)
        texts << u"%1-%2 %3"_s.arg(rows.startMs(i)).arg(rows.endMs(i)).arg(rows.text(i).replace(u"\r\n"_s, u"/"_s));
    return texts.join(u'|');
}

QByteArray written(const Read &file, const FileEncoding &encoding = {})
{
    return webVttFileBytes(file.rows, file.layout, encoding);
}

} // namespace

// The WebVTT reader, the layout it keeps of a file and the writer that puts corrected rows back into it.
class TestWebVtt : public QObject
{
    Q_OBJECT

private slots:
    // Each field at its limits: minutes and seconds of two digits up to 59, thousandths of three, hours when the first
    // field is not two digits of at most 59.
    void times_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds"); // -1: refused
        QTest::addColumn<int>("hourDigits");
        QTest::newRow("minutes and seconds") << u"01:02.480"_s << 62.48 << 0;
        QTest::newRow("hours") << u"00:01:02.480"_s << 62.48 << 2;
        QTest::newRow("one hour digit") << u"1:00:00.000"_s << 3600.0 << 1;
        QTest::newRow("three hour digits") << u"100:00:00.001"_s << 360000.001 << 3;
        QTest::newRow("59:59.999") << u"59:59.999"_s << 3599.999 << 0;
        QTest::newRow("minute 60 is an hour, then no seconds") << u"60:00.000"_s << -1.0 << 0;
        QTest::newRow("second 60") << u"00:60.000"_s << -1.0 << 0;
        QTest::newRow("minute 60 after hours") << u"00:60:00.000"_s << -1.0 << 0;
        QTest::newRow("two thousandths digits") << u"00:01.00"_s << -1.0 << 0;
        QTest::newRow("four thousandths digits") << u"00:01.0000"_s << -1.0 << 0;
        QTest::newRow("one seconds digit") << u"00:00:1.000"_s << -1.0 << 0;
        QTest::newRow("comma") << u"00:00:01,000"_s << -1.0 << 0;
        QTest::newRow("trailing letter") << u"00:01.000a"_s << -1.0 << 0;
    }

    void times()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QFETCH(int, hourDigits);
        const QByteArray utf8 = text.toUtf8();
        const std::optional<WebVttTime> time = webVttTimeToSeconds(std::string_view(utf8.constData(), utf8.size()));
        QCOMPARE(time ? time->seconds : -1.0, seconds);
        QCOMPARE(time ? time->hourDigits : 0, hourDigits);
    }

    // Without hours while the time is under an hour; with at least two hour digits otherwise.
    void writtenTimes_data()
    {
        QTest::addColumn<qint64>("milliseconds");
        QTest::addColumn<int>("hourDigits");
        QTest::addColumn<QString>("text");
        QTest::newRow("just under an hour") << qint64(3599999) << 0 << u"59:59.999"_s;
        QTest::newRow("an hour") << qint64(3600000) << 0 << u"01:00:00.000"_s;
        QTest::newRow("hours kept") << qint64(1001) << 2 << u"00:00:01.001"_s;
        QTest::newRow("one hour digit read") << qint64(1001) << 1 << u"00:00:01.001"_s;
        QTest::newRow("three hour digits read") << qint64(36000000) << 3 << u"010:00:00.000"_s;
    }

    void writtenTimes()
    {
        QFETCH(qint64, milliseconds);
        QFETCH(int, hourDigits);
        QFETCH(QString, text);
        char written[MaxWebVttTimeLength];
        QCOMPARE(QString::fromLatin1(written, writeWebVttTime(milliseconds, hourDigits, written)), text);
    }

    // Cues with text become rows, lines joined by CR LF; notes, styles, regions, headers and a cue without text do not.
    void readsTheCuesOfEveryKindOfFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("rows");
        QTest::newRow("every kind") << EveryKindVtt
                                    << u"1000-6000 <v Anna><i>The lighthouse keeper climbed the stairs twice every "
                                       "night, and twice every morning he came down again.</i></v>|"
                                       "6500-8000 <c.yellow>Tom &amp; Jerry</c> &lt;3 <b>bold</b> <u>under</u>|"
                                       "9000-11000 <lang en>Hello</lang> <ruby>漢<rt>kan</rt></ruby>&nbsp;&lrm;&rlm;/"
                                       "second line <00:10.000>timed|"
                                       "12500-16000 A cue with CR LF line ends whose <b>only line</b> is much too long.|"
                                       "16500-18000 A plain cue that nobody touches."_s;
        QTest::newRow("a time line ends the header and a cue's text")
            << "WEBVTT\n00:01.000 --> 00:02.000\nOne\n00:03.000 --> 00:04.000\nTwo"_ba
            << u"1000-2000 One|3000-4000 Two"_s;
        QTest::newRow("NOTE, then a time line: an identifier") << "WEBVTT\n\nNOTE\n00:01.000 --> 00:02.000\nOne"_ba
                                                              << u"1000-2000 One"_s;
        QTest::newRow("a line of blanks is text, an empty one ends the cue")
            << "WEBVTT\r\n\r\n00:01.000 --> 00:02.000\r\nOne\r\n \r\n\r\nafter"_ba << u"1000-2000 One/ "_s;
    }

    void readsTheCuesOfEveryKindOfFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, rows);
        const Read file = read(bytes);
        QCOMPARE(file.error, QString());
        QCOMPARE(summary(file.rows), rows);
    }

    // Refused with the line named, or read whatever the file's name and the encoding chosen for SRT files.
    void refusalsAndReadings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("vttName");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<bool>("lenient");
        QTest::addColumn<QString>("outcome"); // the rows, or the error
        const QByteArray srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n";
        const QByteArray cafe = "WEBVTT\n\n00:01.000 --> 00:02.000\nCaf\xC3\xA9\n";
        const QString signature = u"Error in file: line 1: no WEBVTT signature; this is not a WebVTT file"_s;
        QTest::newRow(".vtt without the signature") << srt << true << QString() << false << signature;
        QTest::newRow(".srt without it") << srt << false << QString() << false << u"1000-2000 Hi"_s;
        QTest::newRow("signature and more") << "WEBVTTX\n\n00:01.000 --> 00:02.000\nHi\n"_ba << true << QString()
                                            << false << signature;
        QTest::newRow("signature in a .srt") << cafe << false << QString() << false << u"1000-2000 Café"_s;
        QTest::newRow("UTF-8 whatever the encoding") << cafe << true << u"windows-1252"_s << false
                                                     << u"1000-2000 Café"_s;
        QTest::newRow("not UTF-8") << QByteArray(cafe).replace("\xC3\xA9", "\xE9") << true << QString() << false
                                   << u"Error in file: invalid UTF-8 at byte 35"_s;
        QTest::newRow("UTF-16") << QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)
                                       .encode(QString::fromUtf8(cafe))
                                       .operator QByteArray()
                                << true << QString() << false
                                << u"Error in file: a WebVTT file must be UTF-8, not UTF-16LE with BOM"_s;
        QTest::newRow("arrow in a cue's text") << "WEBVTT\n\n00:01.000 --> 00:02.000\nHe said --> go\n"_ba << true
                                               << QString() << false
                                               << u"Error in file: line 4: \"-->\" in the text of a cue: He said --> go"_s;
        QTest::newRow("time line unread") << "WEBVTT\n\n00:01.000 --> 00:61.000\nHi\n"_ba << true << QString() << false
                                          << u"Error in file: line 3: 00:01.000 --> 00:61.000"_s;
        const QByteArray comma = "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n\n00:03,000 --> 00:04.000\nHo\n";
        QTest::newRow("a variant") << comma << true << QString() << false
                                   << u"Error in file: line 6: 00:03,000 --> 00:04.000 (lenient reads it)"_s;
        QTest::newRow("a variant, lenient") << comma << true << QString() << true << u"1000-2000 Hi|3000-4000 Ho"_s;
        QTest::newRow("a variant in a cue's text") << "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n00:03,000 --> 00:04.000"_ba
                                                   << true << QString() << false
                                                   << u"Error in file: line 5: 00:03,000 --> 00:04.000 (lenient reads it)"_s;
    }

    void refusalsAndReadings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, vttName);
        QFETCH(QString, encoding);
        QFETCH(bool, lenient);
        QFETCH(QString, outcome);
        const Read file = read(bytes, vttName, encoding, lenient);
        QCOMPARE(file.error.isEmpty() ? summary(file.rows) : file.error, outcome);
    }

    // Rows as read give back every byte, whatever ends the lines, with or without a last line end or a BOM.
    void unchangedRowsGiveBackEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("bom");
        QTest::newRow("LF") << EveryKindVtt << false;
        QTest::newRow("CR LF, BOM") << QByteArray(EveryKindVtt).replace("\r\n", "\n").replace("\n", "\r\n") << true;
        QTest::newRow("CR") << QByteArray(EveryKindVtt).replace("\r\n", "\n").replace('\n', '\r') << false;
        QTest::newRow("no last line end") << EveryKindVtt.chopped(1) << false;
        QTest::newRow("no cue") << "WEBVTT\n\nNOTE nothing else\n"_ba << false;
    }

    void unchangedRowsGiveBackEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, bom);
        const Read file = read(bom ? "\xEF\xBB\xBF" + bytes : bytes);
        QCOMPARE(written(file, {FileEncoding::Kind::Utf8, bom, {}}), bom ? "\xEF\xBB\xBF" + bytes : bytes);
    }

    // A changed row writes anew only what changed, in the cue's own form; a row of a cue written already is a cue of
    // its own with the cue's settings, a row added by hand one with neither; gone cues take their blank lines along.
    void changesStayInTheirCue_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("expected");
        const auto changed = [](const char *from, const char *to) { return QByteArray(Small).replace(from, to); };
        QTest::newRow("text") << u"text 0 Uno"_s << changed("One", "Uno");
        QTest::newRow("end with hours") << u"end 1 4500"_s << changed("00:00:04.000", "00:00:04.500");
        QTest::newRow("past an hour, without hours")
            << u"start 2 3600000"_s << changed("00:05.000 -->", "01:00:00.000 -->");
        QTest::newRow("an empty line and an arrow") << u"text 0 a\r\n\r\nb --> c"_s << changed("One", "a\nb --&gt; c");
        QTest::newRow("second row of a cue")
            << u"insert 1 1 1500 2000 Part"_s << changed("One\n", "One\n\n00:01.500 --> 00:02.000 align:start\nPart\n");
        QTest::newRow("row of its own at the top")
            << u"insert 0 0 0 500 New"_s << changed("id1", "00:00:00.000 --> 00:00:00.500\nNew\n\nid1");
        QTest::newRow("row of its own at the end")
            << u"insert 3 0 6500 7000 New"_s << changed("Three\n", "Three\n\n00:06.500 --> 00:07.000\nNew\n");
        QTest::newRow("middle cue deleted") << u"delete 1"_s << changed("00:00:03.000 --> 00:00:04.000\nTwo\nlines\n\n", "");
        QTest::newRow("last cue deleted") << u"delete 2"_s << changed("00:05.000 --> 00:06.000\nThree\n", "");
    }

    void changesStayInTheirCue()
    {
        QFETCH(QString, change);
        QFETCH(QByteArray, expected);
        Read file = read(Small);
        const QStringList words = change.split(u' ');
        const int row = words[1].toInt();
        if (words[0] == u"text")
            file.rows.setText(row, words.mid(2).join(u' '));
        else if (words[0] == u"start")
            file.rows.setStartMs(row, words[2].toLongLong());
        else if (words[0] == u"end")
            file.rows.setEndMs(row, words[2].toLongLong());
        else if (words[0] == u"delete")
            file.rows.erase(row);
        else // insert position tag start end text
            file.rows.insert(row, {0, MillisecondsToTimeText(words[3].toLongLong()),
                                   MillisecondsToTimeText(words[4].toLongLong()), words[5], words[2].toInt()});
        QCOMPARE(written(file), expected);
    }
};

QTEST_GUILESS_MAIN(TestWebVtt)
#include "tst_webvtt.moc"
