// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/checktime.h"
#include "editing/editnavigation.h"
#include "editing/linecounter.h"
#include "editing/rowoperations.h"
#include "editing/timelimits.h"
#include "lang/langdoc.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int digit(char c) { return TimeKey::Digit0 + (c - '0'); }

SubtitleRow row(int number, int tag, const QString &text = {}, const QString &start = u"00:00:05,000"_s,
                const QString &end = u"00:00:06,000"_s)
{
    return {number, start, end, text, tag};
}

QString tagsAndTexts(const SubtitleRows &rows)
{
    QStringList shown;
    for (const SubtitleRow &subtitle : rows.toVector())
        shown << QString::number(subtitle.number) + u'/' + QString::number(subtitle.tag) + subtitle.text;
    return shown.join(u' ');
}
} // namespace

// The editing rules behind the main window's boxes and its next and previous edit commands, without a window.
class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void checkTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selection");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedCaret");
        QTest::addColumn<int>("passed");

        const QString t = u"01:23:45,678"_s;
        const auto row = [](const char *name, int caret, int selection, int key, const QString &after, int newCaret,
                            int passed = 0, const QString &before = u"01:23:45,678"_s) {
            QTest::newRow(name) << before << caret << selection << key << after << newCaret << passed;
        };
        row("digit overwrites", 3, 0, digit('9'), u"01:93:45,678"_s, 4);
        row("digit jumps the colon", 1, 0, digit('9'), u"09:23:45,678"_s, 3);
        row("digit jumps the comma", 7, 0, digit('9'), u"01:23:49,678"_s, 9);
        row("digit before a separator does nothing", 2, 0, digit('9'), t, 2);
        row("digit at the end does nothing", 12, 0, digit('9'), t, 12);
        row("digit on one selected digit", 0, 1, digit('9'), u"91:23:45,678"_s, 1);
        row("digit on a wide selection skips only", 1, 4, digit('9'), t, 3);
        row("letter is consumed", 0, 0, int('A'), t, 0);
        row("delete at 0", 0, 0, TimeKey::Delete, u"01:23:45,678"_s, 1);
        row("delete at 1 jumps to the minutes", 1, 0, TimeKey::Delete, u"00:23:45,678"_s, 3);
        row("delete in the minutes", 3, 0, TimeKey::Delete, u"01:03:45,678"_s, 4);
        row("delete before a separator", 5, 0, TimeKey::Delete, t, 5);
        row("delete at the end", 12, 0, TimeKey::Delete, t, 12);
        row("delete a wide selection changes nothing", 3, 5, TimeKey::Delete, t, 3);
        row("backspace at 0", 0, 0, TimeKey::Backspace, t, 0);
        row("backspace after a colon", 3, 0, TimeKey::Backspace, t, 3);
        row("backspace jumps left over the colon", 4, 0, TimeKey::Backspace, u"01:03:45,678"_s, 2);
        row("backspace in the middle of a group", 5, 0, TimeKey::Backspace, u"01:20:45,678"_s, 4);
        row("backspace at the end", 12, 0, TimeKey::Backspace, u"01:23:45,670"_s, 11);
        row("backspace on a selection acts as delete", 9, 1, TimeKey::Backspace, u"01:23:45,078"_s, 10);
        row("enter passes", 5, 0, TimeKey::Enter, t, 5, TimeKey::Enter);
        row("esc passes", 5, 0, TimeKey::Esc, t, 5, TimeKey::Esc);
        row("left passes", 5, 0, TimeKey::Left, t, 5, TimeKey::Left);
        row("empty box takes nothing, not even enter", 0, 0, TimeKey::Enter, QString(), 0, 0, QString());
        row("a hand-typed value is not checked", 0, 0, digit('2'), u"20:75:99,000"_s, 1, 0, u"00:75:99,000"_s);
    }

    void checkTime()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(int, selection);
        QFETCH(int, key);
        TimeBoxState box{text, caret, selection};
        QTEST(CheckTime(box, key), "passed");
        QTEST(box.text, "expectedText");
        QTEST(box.caret, "expectedCaret");
        QCOMPARE(box.text.size(), text.size());
    }

    void lineCounter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << u"1 line(s) [0]"_s;
        QTest::newRow("ends in a line break") << u"abc\n"_s << u"2 line(s) [3 - 0]"_s;
        QTest::newRow("characters, not UTF-16 units") << u"😀é\ncafé"_s << u"2 line(s) [2 - 4]"_s;
    }

    void lineCounter()
    {
        QFETCH(QString, text);
        const LangDoc english;
        QTEST(lineCounterText(text, english), "expected");

        LangDoc french;
        QVERIFY(french.loadData(R"xml(<Language><Form1_Module s16=" ligne(s)"/></Language>)xml"));
        QVERIFY(lineCounterText(text, french).contains(u" ligne(s) ["));
    }

    void locateNextSubEdit_data()
    {
        QTest::addColumn<QList<int>>("ordinals");
        QTest::addColumn<int>("selected"); // 0: nothing selected
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected"); // index, -1: no move

        // Sorted by kind, the moves follow the order on show.
        QTest::newRow("down from a record, in the shown order") << QList<int>{12, 3, 7} << 3 << false << 2;
        QTest::newRow("up from a record, in the shown order") << QList<int>{12, 3, 7} << 3 << true << 0;
        const QList<int> records{3, 7, 12};
        QTest::newRow("down from the last record") << records << 12 << false << -1;
        QTest::newRow("up from the first record") << records << 3 << true << -1;
        QTest::newRow("down between records lands on the next") << records << 5 << false << 1;
        QTest::newRow("up between records lands on the one before") << records << 5 << true << 0;
        QTest::newRow("up before every record") << records << 1 << true << -1;
        QTest::newRow("up after every record lands on the last") << records << 20 << true << 2;
        QTest::newRow("down after every record") << records << 20 << false << -1;
        QTest::newRow("nothing selected, up") << records << 0 << true << 1;
        QTest::newRow("nothing selected, down lands on the first") << QList<int>{12, 3, 7} << 0 << false << 0;
        QTest::newRow("no records") << QList<int>{} << 5 << false << -1;
    }

    void locateNextSubEdit()
    {
        QFETCH(QList<int>, ordinals);
        QFETCH(int, selected);
        QFETCH(bool, up);
        const std::optional<qsizetype> target =
            LocateNextSubEdit(ordinals, selected > 0 ? std::optional<int>(selected) : std::nullopt, up);
        QTEST(target ? int(*target) : -1, "expected");
    }

    void newRowPlace_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("below");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("time");
        QTest::newRow("above: 1 ms before the start") << false << 0 << false << 0 << u"00:00:04,999"_s;
        QTest::newRow("below: 1 ms after the end") << false << 0 << true << 1 << u"00:00:06,001"_s;
        QTest::newRow("never before zero") << false << 1 << false << 1 << u"00:00:00,000"_s;
        QTest::newRow("hours past 99") << false << 1 << true << 2 << u"100:00:00,000"_s;
        QTest::newRow("nothing selected: at the top") << false << -1 << false << 0 << u"00:00:04,999"_s;
        QTest::newRow("nothing selected, below: at the bottom") << false << -1 << true << 2 << u"100:00:00,000"_s;
        QTest::newRow("empty list") << true << -1 << true << 0 << u"00:00:00,000"_s;
    }

    void newRowPlace()
    {
        QFETCH(bool, empty);
        QFETCH(int, selected);
        QFETCH(bool, below);
        std::vector<SubtitleRow> rows{row(1, 1), row(2, 2, {}, u"00:00:00,000"_s, u"99:59:59,999"_s)};
        if (empty)
            rows.clear();
        const NewRowPlace place = ::newRowPlace(SubtitleRows(rows), selected, below);
        QTEST(place.position, "position");
        QTEST(place.timeText, "time");
    }

    // Where a row's times may go by hand, each range checked at its ends, a millisecond inside and outside. Rows 0
    // and 1 touch (1 ms apart), as time buying leaves them; row 2 stands alone; row 3 starts inside row 2 and ends
    // before it starts, as a file may have it.
    void timeLimits_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QString>("part"); // start, end, moved (the start when both move), boundary (with the next)
        QTest::addColumn<qint64>("earliestMs");
        QTest::addColumn<qint64>("latestMs");
        QTest::newRow("first start: from zero, a frame before its end") << 0 << 1 << u"start"_s << 0LL << 1960LL;
        QTest::newRow("first end: a frame after its start, to the next") << 0 << 1 << u"end"_s << 1040LL << 2000LL;
        QTest::newRow("touching start: after the end before") << 1 << 1 << u"start"_s << 2001LL << 2960LL;
        QTest::newRow("end: the gap before the next") << 1 << 1 << u"end"_s << 2041LL << 4999LL;
        QTest::newRow("moved whole: only later, to the next") << 1 << 1 << u"moved"_s << 2001LL << 4000LL;
        QTest::newRow("a wider gap than there is: stays") << 1 << 83 << u"start"_s << 2001LL << 2960LL;
        QTest::newRow("a wider gap before the next") << 1 << 83 << u"end"_s << 2041LL << 4917LL;
        QTest::newRow("shared boundary: neither shorter than a frame") << 0 << 1 << u"boundary"_s << 1040LL << 2959LL;
        QTest::newRow("overlapping and too short: the start stays") << 3 << 1 << u"start"_s << 5500LL << 5500LL;
        QTest::newRow("end before start: may stay or grow") << 3 << 1 << u"end"_s << 5400LL << LargestTimeMs;
        QTest::newRow("last row moved whole: to the largest time") << 3 << 1 << u"moved"_s << 5500LL << LargestTimeMs;
    }

    void timeLimits()
    {
        QFETCH(int, row);
        QFETCH(int, gapMs);
        QFETCH(QString, part);
        QFETCH(qint64, earliestMs);
        QFETCH(qint64, latestMs);
        const SubtitleRows rows(std::vector<SubtitleRow>{::row(1, 1, {}, u"00:00:01,000"_s, u"00:00:02,000"_s),
                                                         ::row(2, 2, {}, u"00:00:02,001"_s, u"00:00:03,000"_s),
                                                         ::row(3, 3, {}, u"00:00:05,000"_s, u"00:00:06,000"_s),
                                                         ::row(4, 4, {}, u"00:00:05,500"_s, u"00:00:05,400"_s)});
        const TimeLimits limits = timeLimitsOf(rows, row, 40, gapMs);
        const TimeRange range = part == u"start" ? limits.start
                                : part == u"end" ? limits.end
                                : part == u"moved" ? limits.movedStart
                                                   : boundaryLimitsOf(rows, row, 40);
        QCOMPARE(range, (TimeRange{earliestMs, latestMs}));
        QCOMPARE((QList<bool>{range.contains(earliestMs - 1), range.contains(earliestMs), range.contains(latestMs),
                              range.contains(latestMs + 1)}),
                 (QList<bool>{false, true, true, false}));
    }

    // Ordinal 2 was split with a row inserted by hand between its halves,
    // ordinal 4 deleted by hand: both go back exactly as they were.
    void replacingAnOrdinalsRowsGoesBackExactly()
    {
        const SubtitleRows before(std::vector<SubtitleRow>{row(1, 1), row(2, 2, u"a"_s), row(3, 0),
                                                           row(4, 2, u"b"_s), row(5, 3), row(6, 5)});
        QCOMPARE(std::pair(ordinalRange(before, 2).first, ordinalRange(before, 2).contiguous), std::pair(1, false));
        QCOMPARE(std::pair(ordinalRange(before, 4).first, ordinalRange(before, 4).count), std::pair(5, 0));

        SubtitleRows rows = before;
        std::vector<OrdinalReplacement> done = replaceOrdinalRows(
            rows, {{2, {row(9, 0, u"R"_s)}}, {4, {row(9, 0, u"X"_s), row(9, 0, u"Y"_s)}}, {5, {row(9, 0, u"Z"_s)}}});
        renumberFrom(rows, firstRowChanged(done));
        QCOMPARE(tagsAndTexts(rows), u"1/1 2/2R 3/0 4/3 5/4X 6/4Y 7/5Z"_s);

        const int first = firstRowChanged(done);
        undoReplacements(rows, std::move(done));
        renumberFrom(rows, first);
        QCOMPARE(tagsAndTexts(rows), tagsAndTexts(before));
    }
};

QTEST_GUILESS_MAIN(TestEditing)
#include "tst_editing.moc"
