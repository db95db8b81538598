// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/timecode.h"
#include "editor/subtitlelist.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

SubtitleRow timed(qint64 startMs, qint64 endMs, const QString &text = u"Text"_s)
{
    return {0, MillisecondsToTimeText(startMs), MillisecondsToTimeText(endMs), text, 0};
}

// A ten-minute subtitle from 0; from 100 s on, 300 short ones (1 s each, every 1.5 s) over it; last, one at 0 to 2 s
// placed at the end of the file, as advertisements are.
std::vector<SubtitleRow> film()
{
    std::vector<SubtitleRow> rows{timed(0, 600'000, u"Long"_s)};
    for (int i = 0; i < 300; ++i)
        rows.push_back(timed(100'000 + i * 1'500, 101'000 + i * 1'500));
    rows.push_back(timed(0, 2'000, u"Advert"_s));
    return rows;
}

QList<int> rowsMeeting(const SubtitleList &list, qint64 fromMs, qint64 toMs)
{
    QList<int> rows;
    list.forEachRowMeeting(fromMs, toMs, [&](int row) { rows << row; });
    return rows;
}

} // namespace

// The one query behind the timeline's boxes and the subtitle over the picture: which rows meet a stretch of time,
// and which one is on screen during a frame, wherever in the list they stand.
class TestSubtitleList : public QObject
{
    Q_OBJECT

private slots:
    void rowShownAt_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<qint64>("frameMs");
        QTest::addColumn<int>("row");
        QTest::newRow("a long one started minutes before, many rows back") << 550'000LL << 40LL << 0;
        QTest::newRow("a short one over it: the later start") << 100'500LL << 40LL << 1;
        QTest::newRow("a frame ending at a start: not yet") << 101'460LL << 40LL << 0;
        QTest::newRow("a frame reaching 1 ms into a start") << 101'461LL << 40LL << 2;
        QTest::newRow("a frame from an end: gone") << 101'000LL << 40LL << 0;
        QTest::newRow("a frame 1 ms before an end") << 100'999LL << 40LL << 1;
        QTest::newRow("the last short one, past the first blocks") << 548'600LL << 40LL << 300;
        QTest::newRow("at the long one's end: none") << 600'000LL << 40LL << -1;
        QTest::newRow("an advert at the file's end, first on screen") << 1'000LL << 40LL << 301;
    }

    void rowShownAt()
    {
        QFETCH(qint64, ms);
        QFETCH(qint64, frameMs);
        SubtitleList list;
        list.setRows(film());
        QTEST(list.rowShownAt(ms, frameMs), "row");
    }

    // The timeline's boxes and the picture agree, and follow changes: a time moved, rows inserted and removed, and
    // a row that ends before it starts, which is a 1 ms box and never on screen.
    void queriesFollowChanges()
    {
        SubtitleList list;
        list.setRows(film());
        QCOMPARE(rowsMeeting(list, 550'000, 551'000), (QList<int>{0}));
        QCOMPARE(rowsMeeting(list, 1'000, 101'001), (QList<int>{0, 1, 301}));

        list.setStartMs(300, 700'000);
        list.setEndMs(300, 699'000);
        QCOMPARE(rowsMeeting(list, 700'000, 700'001), (QList<int>{300}));
        QCOMPARE(list.rowShownAt(700'000, 40), -1);
        list.setEndMs(300, 701'000);
        QCOMPARE(list.rowShownAt(700'000, 40), 300);

        list.insertSubtitle(0, timed(800'000, 801'000));
        list.removeSubtitle(1);
        QCOMPARE(rowsMeeting(list, 550'000, 551'000), QList<int>());
        QCOMPARE(list.rowShownAt(800'500, 40), 0);
        QCOMPARE(list.rowShownAt(700'000, 40), 300);
        QCOMPARE(rowsMeeting(list, 0, 1'000), (QList<int>{301}));
    }
};

QTEST_GUILESS_MAIN(TestSubtitleList)
#include "tst_subtitlelist.moc"
