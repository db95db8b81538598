// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/rows/subtitlerows.h"
#include "document/rows/textblocks.h"

#include <QTest>

// The compact rows hand back what was put in, across the edges of their text blocks.
class TestSubtitleRows : public QObject
{
    Q_OBJECT

    // 1,000 characters, every one 2 bytes in UTF-8 for odd i: 6 MB of texts fill the first block and
    // cross into the next few, by both ways of appending.
    static QString textOf(int i)
    {
        return QString(1000, i % 2 ? QChar(u'é') : QChar(u'a' + i % 26)) + QString::number(i);
    }

private slots:
    void textsSurviveBlockEdges()
    {
        SubtitleRows rows;
        const int count = 3000;
        for (int i = 0; i < count; ++i) {
            const std::u32string wide = textOf(i).toStdU32String();
            if (i % 3)
                rows.append(i + 7, i * 1000, i * 1000 + 999, QByteArrayView(textOf(i).toUtf8()), i);
            else
                rows.append(i + 7, i * 1000, i * 1000 + 999, std::u32string_view(wide), i);
        }
        rows.append({0, u"100:00:00,000"_qs, u"100:00:01,5"_qs, QString(9 << 20, u'x'), 0}); // more than a block
        for (int i = 0; i < count; ++i)
            QCOMPARE(rows.text(i), textOf(i));
        QCOMPARE(rows.row(count).text.size(), 9 << 20);
        QCOMPARE(rows.row(1).number, 8); // the file's own number, kept
        QCOMPARE(rows.row(count).endText, u"100:00:01,500"_qs);

        // A list sharing the texts reads them where they are; replaced and edited rows get their own.
        SubtitleRows corrected = SubtitleRows::sharingTextsOf(rows);
        for (int i = 0; i < 4; ++i)
            corrected.appendSharingText(i + 1, rows.startMs(i), rows.endMs(i), rows, i, i);
        corrected.replace(1, 2, std::vector<SubtitleRow>{{0, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"New"_qs, 1}});
        corrected.setText(0, u"Edited"_qs);
        corrected.renumberFrom(0);
        QCOMPARE(corrected.size(), 3);
        QCOMPARE(QStringList({corrected.text(0), corrected.text(1), corrected.text(2)}),
                 QStringList({u"Edited"_qs, u"New"_qs, textOf(3)}));
        QCOMPARE(corrected.number(2), 3);
        QCOMPARE(rows.text(0), textOf(0));
    }

    // A text ending a byte before the first block's end, at it, or a byte past it (which goes to a new
    // block); the next one after it. A byte written past a block shows under AddressSanitizer.
    void textsEndingAtABlockEdge_data()
    {
        QTest::addColumn<qsizetype>("past");
        QTest::newRow("a byte before the end") << qsizetype(-1);
        QTest::newRow("at the end") << qsizetype(0);
        QTest::newRow("a byte past the end") << qsizetype(1);
    }

    void textsEndingAtABlockEdge()
    {
        QFETCH(qsizetype, past);
        TextBlocks blocks;
        const QByteArray first(TextBlocks::FirstBlockBytes - 100, 'a');
        const QByteArray edge(100 + past, 'b');
        const TextBlocks::Place firstAt = blocks.append(first);
        const TextBlocks::Place edgeAt = blocks.append(edge);
        const TextBlocks::Place nextAt = blocks.append("c");
        QCOMPARE(edgeAt >> 32, quint64(past > 0 ? 1 : 0));
        QCOMPARE(nextAt >> 32, quint64(past >= 0 ? 1 : 0));
        QCOMPARE(blocks.view(firstAt, first.size()), first);
        QCOMPARE(blocks.view(edgeAt, edge.size()), edge);
        QCOMPARE(blocks.view(nextAt, 1), "c");
    }
};

QTEST_GUILESS_MAIN(TestSubtitleRows)
#include "tst_subtitlerows.moc"
