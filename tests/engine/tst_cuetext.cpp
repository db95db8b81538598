// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/timecode.h"
#include "engine/correctionrun.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/srttext.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// One cue a second apart per text, the first from firstMs, each ending six seconds after the one before, in either
// format.
QByteArray file(const QStringList &texts, bool webVtt, qint64 firstMs = 1000)
{
    QString text = webVtt ? u"WEBVTT\n\n"_s : QString();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString start = MillisecondsToTimeText(i ? 6000 * i + 1000 : firstMs), end = MillisecondsToTimeText(6000 * i + 6000);
        if (webVtt)
            text += start.mid(3).replace(u',', u'.') + u" --> "_s + end.mid(3).replace(u',', u'.') + u'\n' + texts[i]
                + u"\n\n"_s;
        else
            text += srtBlock(int(i + 1), start, end, texts[i]);
    }
    return text.toUtf8();
}

std::vector<SubtitleRow> corrected(const QByteArray &utf8, const Settings &settings = {})
{
    RowCollector collector;
    const CorrectionResult result = runCorrection(utf8, settings, LangDoc(), collector);
    return result.ok ? collector.rows : std::vector<SubtitleRow>{};
}

// "start end text|..." of rows, lines apart by "/".
QString summary(const std::vector<SubtitleRow> &rows)
{
    QStringList texts;
    for (const SubtitleRow &row : rows)
        texts << row.startText + u' ' + row.endText + u' ' + QString(row.text).replace(u"\r\n"_s, u"/"_s);
    return texts.join(u'|');
}

} // namespace

// The correction of WebVTT cues: what the viewer sees is measured and broken, the cue's tags and entities kept.
class TestCueText : public QObject
{
    Q_OBJECT

private slots:
    // At MaxLen 10: a tag counts nothing, an entity one; no line breaks inside either.
    void countsWhatTheViewerSees_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("entity, one under") << u"a &amp; cdefg"_s << u"a &amp; cdefg"_s;
        QTest::newRow("entity, at MaxLen") << u"a &amp; cdefgh"_s << u"a &amp; cdefgh"_s;
        QTest::newRow("entity, one over") << u"a &amp; cdefghi"_s << u"a &amp;/cdefghi"_s;
        QTest::newRow("tags, at MaxLen") << u"<i>a bcdefghi</i>"_s << u"<i>a bcdefghi</i>"_s;
        QTest::newRow("tags, one over") << u"<i>a bcdefghij</i>"_s << u"<i>a/bcdefghij</i>"_s;
        QTest::newRow("blanks in a tag") << u"<v Anna Maria>Hello there</v>"_s << u"<v Anna Maria>Hello/there</v>"_s;
        QTest::newRow("a tag never closed") << u"Hello there <i x y z"_s << u"Hello/there <i x y z"_s;
        QTest::newRow("no-break space") << u"abc&nbsp;defg hij"_s << u"abc&nbsp;defg/hij"_s;
        QTest::newRow("ruby unbroken") << u"<ruby>ab cd<rt>x y</rt></ruby> efghij"_s
                                       << u"<ruby>ab cd<rt>x y</rt></ruby>/efghij"_s;
    }

    void countsWhatTheViewerSees()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Settings settings;
        settings.MaxLen = 10;
        const std::vector<SubtitleRow> rows = corrected(file({text}, true), settings);
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(QString(rows[0].text).replace(u"\r\n"_s, u"/"_s), expected);
    }

    // 23 characters seen at 23 a second need one second; the tags' 7 would ask for 0.304 s more.
    void readingSpeedCountsWhatTheViewerSees()
    {
        const std::vector<SubtitleRow> rows =
            corrected("WEBVTT\n\n00:01.000 --> 00:01.500\n<i>abcdefghijklmnopqrstuvw</i>\n");
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(rows[0].endText, u"00:00:02,000"_s);
    }

    // Each part closes what it opened and opens again what the first left open; a timestamp, and the tag before the
    // second part's first word, go with that word; the end tags between the parts stay with the first.
    void splitsBalanceTheirTags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("voice and italics")
            << u"<v Anna><i>The keeper climbed the stairs twice a night, and came down again every morning.</i></v>"_s
            << u"00:00:01,000 00:00:03,784 <v Anna><i>The keeper climbed the/stairs twice a night,</i></v>|"
               "00:00:03,785 00:00:06,000 <v Anna><i>and came down again/every morning.</i></v>"_s;
        QTest::newRow("timestamp and tags at the cut")
            << u"<c.red>The keeper climbed the stairs twice a night.</c> <00:04.000><b>He came down again every "
               "morning.</b>"_s
            << u"00:00:01,000 00:00:03,820 <c.red>The keeper climbed the/stairs twice a night.</c>|"
               "00:00:03,821 00:00:06,000 <00:04.000><b>He came down again/every morning.</b>"_s;
        QTest::newRow("entities kept whole")
            << u"- Tom &amp; Jerry climbed the stairs twice. - And came down again &lt;every&gt; morning."_s
            << u"00:00:01,000 00:00:03,499 - Tom &amp; Jerry climbed/the stairs twice.|"
               "00:00:03,500 00:00:06,000 - And came down again/&lt;every&gt; morning."_s;
    }

    void splitsBalanceTheirTags()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Settings settings;
        settings.MaxLen = 25;
        QCOMPARE(summary(corrected(file({text}, true), settings)), expected);
    }

    // Text without tags or entities is corrected exactly as the same SRT file, every rule and setting alike; the
    // first cue keeps the gap (83 ms) after time 0 as the first SRT subtitle does.
    void sameCorrectionAsSrt_data()
    {
        QTest::addColumn<bool>("guidelines");
        QTest::addColumn<qint64>("firstMs");
        QTest::newRow("default") << false << qint64(1000);
        QTest::newRow("guideline breaks") << true << qint64(1000);
        QTest::newRow("first at 0") << false << qint64(0);
        QTest::newRow("first a millisecond inside the gap") << false << qint64(82);
        QTest::newRow("first at the gap") << false << qint64(83);
    }

    void sameCorrectionAsSrt()
    {
        QFETCH(bool, guidelines);
        QFETCH(qint64, firstMs);
        const QStringList texts{u"A line that is short."_s,
                                u"The lighthouse keeper climbed the stairs twice every night to see the sea."_s,
                                u"- Did you climb the stairs tonight, keeper? - Twice, as I do every night of the year."_s,
                                u"He climbed the stairs. Then he came down again, and he climbed them once more..."_s,
                                LongText + u'\n' + LongText + u'\n' + LongText,
                                u"Short, and shown too briefly for its many words, all of them."_s};
        Settings settings;
        settings.GuidelineBreaks = guidelines;
        settings.MinGapMs = 83;
        const std::vector<SubtitleRow> srt = corrected(file(texts, false, firstMs), settings);
        QVERIFY(srt.size() > size_t(texts.size()));
        QCOMPARE(srt.front().startText, MillisecondsToTimeText(std::max<qint64>(firstMs, 83)));
        QCOMPARE(corrected(file(texts, true, firstMs), settings), srt);
    }
};

QTEST_GUILESS_MAIN(TestCueText)
#include "tst_cuetext.moc"
