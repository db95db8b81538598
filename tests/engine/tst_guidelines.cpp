// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/correctionrun.h"
#include "lang/langdoc.h"
#include "engine/weakwordfiles.h"
#include "settings/settings.h"
#include "support/srttext.h"

#include <QMap>
#include <QTest>

// GuidelineBreaks and MinGapMs through the correction run, with the weak
// words shipped in lang/. Expected breaks are worked by hand from the rules.
class TestGuidelines : public QObject
{
    Q_OBJECT

    WeakWordLists m_weakWords;

    RowCollector correct(const QString &srt, const Settings &settings, CorrectionResult *result = nullptr) const
    {
        RowCollector collector;
        const CorrectionResult outcome = runCorrection(srt.toUtf8(), settings, LangDoc(), collector, m_weakWords);
        if (result)
            *result = outcome;
        return collector;
    }

private slots:
    void initTestCase()
    {
        QStringList problems;
        m_weakWords = loadWeakWordLists({QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}, LangDoc(), problems);
        QCOMPARE(m_weakWords.size(), size_t(6));
    }

    // The expected break is written "|", a blank in the text corrected.
    void breaks_data()
    {
        QTest::addColumn<QString>("language"); // told from the first subtitle, which holds its weak words
        QTest::addColumn<qint32>("maxLen");
        QTest::addColumn<QString>("broken");
        const auto row = [](const char *name, const QString &language, qint32 maxLen, const QString &broken) {
            QTest::newRow(name) << language << maxLen << broken;
        };
        const QString en = u"English"_qs, fr = u"French"_qs, de = u"German"_qs, es = u"Spanish"_qs;

        // Lines of 7|20, 10|17 (to), 14|13 (the), 18|9.
        row("en: weak words, then balance", en, 20, u"We went to the big|old house"_qs);
        row("none told: balance alone", {}, 20, u"We went to the|big old house"_qs);
        // "Stood", "door": lone short words; a weak word is the lesser evil.
        row("en: lone word of 5 letters", en, 13, u"Stood by|the door"_qs);
        row("en: lone word of 6 letters", en, 13, u"Waited|by the door"_qs);
        row("en: sentence end, a third", en, 30, u"Yes, I know.|But we have to leave now"_qs);
        row("en: sentence end, under a third", en, 30, u"Yes, I know. But we have|to leave soon"_qs);
        row("en: comma before balance", en, 30, u"If you like it,|we can all walk to the sea"_qs);
        row("en: sentence end before comma", en, 30, u"Oh, I know it, she left.|Now we can go home"_qs);
        row("en: abbreviation", en, 20, u"Please call|Dr. Brown now"_qs);
        row("en: dialogue, a line of MaxLen", en, 30, u"- Where are you going tonight?|- Home."_qs);
        row("en: dialogue, one over MaxLen", en, 30, u"- Where are you going|tonight?? - Home."_qs);
        row("en: never inside a tag", en, 30, u"<font color=red size=2>Hello</font>"_qs);
        row("en: tags unseen", en, 30, u"<i>Come with me|to the harbour</i> and see"_qs);
        row("fr: sentence end", fr, 44, u"Entrainement obligatoire.|Quelqu'un doit bien gagner de l'argent."_qs);
        row("fr: weak words", fr, 20, u"Je suis allé|chez le boulanger"_qs);
        row("de: weak words", de, 30, u"Ich habe den Schlüssel|für das alte Haus verloren"_qs);
        row("de: dialogue", de, 30, u"- Kommst du mit?|- Nein, ich bleibe hier."_qs);
        row("es: weak words", es, 30, u"Mañana vamos a la playa|con los niños de mi hermana"_qs);
        row("es: a tie, the bottom longer", es, 14, u"Marcos|compra tomate"_qs);
        row("it: weak words", u"Italian"_qs, 30, u"Domani andiamo al mare|con i bambini di mia sorella"_qs);
        row("el: weak words", u"Greek"_qs, 30, u"Αύριο θα πάμε στη θάλασσα|με τα παιδιά της αδελφής μου"_qs);
    }

    void breaks()
    {
        QFETCH(QString, language);
        QFETCH(qint32, maxLen);
        QFETCH(QString, broken);
        // Ten or more weak words of one language each.
        const QMap<QString, QString> weakWords{
            {u"English"_qs, u"the and of to by for with from the and of"_qs},
            {u"French"_qs, u"le la les et ou mais donc je tu il nous vous"_qs},
            {u"German"_qs, u"der die das und oder aber ich du er wir mit von"_qs},
            {u"Spanish"_qs, u"el los las y pero porque yo nosotros ellos con por para"_qs},
            {u"Italian"_qs, u"il gli della delle e ma che io noi voi nel sulla"_qs},
            {u"Greek"_qs, u"ο η το και αλλά ότι εγώ εσύ εμείς από με για"_qs},
        };
        Settings settings;
        settings.MaxLen = maxLen;
        settings.BuyTime = false;
        settings.GuidelineBreaks = true;
        CorrectionResult result;
        const RowCollector collector =
            correct(srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, weakWords.value(language, u"xyz"_qs))
                        + srtBlock(2, u"00:00:03,000"_qs, u"00:00:09,000"_qs, QString(broken).replace(u'|', u' ')),
                    settings, &result);
        QCOMPARE(collector.rows.back().text, QString(broken).replace(u'|', u"\r\n"_qs));
        QCOMPARE(result.language, std::optional<QString>(language));
    }

    // Times, subtitles, lines, counters and records as without the guidelines; a split carries its open tags over.
    void onlyLineBreaksChange()
    {
        const QString input =
            srtBlock(1, u"00:00:01,000"_qs, u"00:00:02,000"_qs,
                     u"<i>I will not touch a hair on his head, I just wanted him to tell me where the gold is.</i>"_qs)
            + srtBlock(2, u"00:00:02,000"_qs, u"00:00:03,000"_qs,
                       u"- It's a step closer to the primate lab. - He doesn't have time."_qs)
            + srtBlock(3, u"00:00:05,000"_qs, u"00:00:05,500"_qs,
                       u"♪ The light on the rock will bring you home ♪"_qs);
        Settings guideline;
        guideline.GuidelineBreaks = true;
        CorrectionResult before, after;
        const std::vector<SubtitleRow> rowsBefore = correct(input, Settings(), &before).rows;
        const std::vector<SubtitleRow> rowsAfter = correct(input, guideline, &after).rows;
        QCOMPARE(after.counters, before.counters);
        QCOMPARE(after.records, before.records);
        const auto shape = [](const std::vector<SubtitleRow> &rows) {
            QStringList shapes;
            for (const SubtitleRow &row : rows)
                shapes << row.startText + row.endText + QString::number(row.text.count(u'\n'));
            return shapes;
        };
        QCOMPARE(shape(rowsAfter), shape(rowsBefore));
        QCOMPARE(rowsAfter[0].text, u"<i>I will not touch a hair on his head,</i>"_qs);
        QCOMPARE(rowsAfter[1].text, u"<i>I just wanted him to tell\r\nme where the gold is.</i>"_qs);
        QCOMPARE(rowsAfter[2].text, u"- It's a step closer to the primate lab.\r\n- He doesn't have time."_qs);
        QCOMPARE(rowsAfter[3].text, u"♪ The light on the rock\r\nwill bring you home ♪"_qs);
    }

    // Times in the first minute; the subtitle runs 10,000 to 11,000 and needs one second more.
    void minimumGap_data()
    {
        QTest::addColumn<qint32>("gapMs");
        QTest::addColumn<QString>("previousEnd");
        QTest::addColumn<QString>("nextStart"); // as read
        QTest::addColumn<QString>("expected");  // start and end of the subtitle, start of the next
        QTest::newRow("overlap: 82 ms apart, moved") << 83 << u"05,000"_qs << u"11,082"_qs
                                                     << u"09,000 11,000 11,083"_qs;
        QTest::newRow("overlap at 1 ms: 0.4 ms apart, left") << 1 << u"05,000"_qs << u"11,0004"_qs
                                                              << u"09,000 11,000 11,000"_qs;
        QTest::newRow("83 ms apart: not moved, no time after") << 83 << u"05,000"_qs << u"11,083"_qs
                                                                << u"09,000 11,000 11,083"_qs;
        QTest::newRow("after: 84 ms free, 1 used") << 83 << u"05,000"_qs << u"11,084"_qs << u"09,001 11,001 11,084"_qs;
        QTest::newRow("before: 83 ms free, none") << 83 << u"09,917"_qs << u"11,083"_qs << u"10,000 11,000 11,083"_qs;
        QTest::newRow("before: 84 ms free, 1 used") << 83 << u"09,916"_qs << u"11,083"_qs << u"09,999 11,000 11,083"_qs;
    }

    void minimumGap()
    {
        QFETCH(qint32, gapMs);
        QFETCH(QString, previousEnd);
        QFETCH(QString, nextStart);
        Settings settings;
        settings.MinGapMs = gapMs;
        // 46 characters need 2 s at 23 a second.
        const QString minute = u"00:00:"_qs;
        const QString input = srtBlock(1, u"00:00:04,000"_qs, minute + previousEnd, u"Before."_qs)
            + srtBlock(2, u"00:00:10,000"_qs, u"00:00:11,000"_qs, u"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd ee"_qs)
            + srtBlock(3, minute + nextStart, u"00:00:30,000"_qs, u"After, and long enough to be read in time."_qs);
        const std::vector<SubtitleRow> rows = correct(input, settings).rows;
        QTEST((QStringList{rows.at(1).startText, rows.at(1).endText, rows.at(2).startText}.join(u' ').remove(minute)),
              "expected");
    }

    void languageIsToldByItsLead_data()
    {
        QTest::addColumn<int>("first");  // words of the first list in the text
        QTest::addColumn<int>("second"); // of the second
        QTest::addColumn<QString>("told");

        QTest::newRow("10 against 6") << 10 << 6 << u"one"_qs;
        QTest::newRow("15 against 10: half as many again") << 15 << 10 << u"one"_qs;
        QTest::newRow("10 against 7: not enough lead") << 10 << 7 << QString();
        QTest::newRow("9 alone: too few") << 9 << 0 << QString();
        QTest::newRow("the second") << 0 << 10 << u"two"_qs;
    }

    void languageIsToldByItsLead()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        // "<i>" holds the first list's word, but a tag is no word.
        const WeakWordLists lists{{u"one"_qs, {U"i"}}, {u"two"_qs, {U"zwei"}}};
        const QString text = u"<i>I</i> "_qs.repeated(first) + u"ZWEI, "_qs.repeated(second);
        const WeakWordList *language = detectLanguage(text.toUtf8(), lists);
        QTEST(language ? language->language : QString(), "told");
    }
};

QTEST_GUILESS_MAIN(TestGuidelines)
#include "tst_guidelines.moc"
