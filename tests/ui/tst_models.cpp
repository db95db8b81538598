// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/editrecord.h"
#include "lang/langdoc.h"
#include "ui/subtitles/correctedfiltermodel.h"
#include "editor/editrecordmodel.h"
#include "ui/edits/editswindow.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "ui/subtitles/subtitlelistview.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

using Tester = QAbstractItemModelTester;
constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

SubtitleRow subtitle(int number, int tag, const QString &text = u"Text"_qs)
{
    return {number, u"00:00:01,000"_qs, u"00:00:02,000"_qs, text, tag};
}

// One role of column 0, top to bottom, as a view would read it.
QStringList shown(const QAbstractItemModel &model, int role = Qt::DisplayRole, int column = 0)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.index(row, column).data(role).toString();
    return values;
}

QStringList tags(const QAbstractItemModel &model)
{
    return shown(model, SubtitleTableModel::TagRole);
}

} // namespace

// The lists' models, each watched by QAbstractItemModelTester while rows
// come and go, so a view never sees an inconsistent model.
class TestModels : public QObject
{
    Q_OBJECT

private slots:
    void subtitleRowsRenumberOnInsertAndRemove()
    {
        SubtitleList list;
        SubtitleTableModel model(list);
        Tester tester(&model, Fatal);
        list.setRows({subtitle(1, 1, u"One"_qs), subtitle(2, 2, u"Two\r\nlines"_qs), subtitle(3, 3)});

        const QModelIndex text = model.index(1, SubtitleTableModel::TextColumn);
        QCOMPARE(text.data().toString(), u"Two | lines"_qs);
        QCOMPARE(text.data(Qt::EditRole).toString(), u"Two\r\nlines"_qs);
        QCOMPARE(text.data(Qt::ToolTipRole).toString(), u"Two\nlines"_qs);

        // The view must hear about every number that moved.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        list.insertSubtitle(1, subtitle(0, 0));
        QCOMPARE(shown(model), (QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs}));
        QCOMPARE(tags(model), (QStringList{u"1"_qs, u"0"_qs, u"2"_qs, u"3"_qs}));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
        QCOMPARE(changed.first().at(1).toModelIndex().row(), 3);

        // Beyond the end it appends; removing out of range does nothing.
        list.insertSubtitle(99, subtitle(0, 0, u"Last"_qs));
        list.removeSubtitle(0);
        list.removeSubtitle(-1);
        list.removeSubtitle(model.rowCount());
        QCOMPARE(shown(model), (QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs}));
        QCOMPARE(tags(model), (QStringList{u"0"_qs, u"2"_qs, u"3"_qs, u"0"_qs}));
        QCOMPARE(list.findTag(0, 1), 3);
        QCOMPARE(list.findTag(7), -1);
        list.removeSubtitle(model.rowCount() - 1);
    }

    void filterKeepsBothHalvesOfASplitAndDropsInsertedRows()
    {
        SubtitleList list;
        SubtitleTableModel source(list);
        CorrectedFilterModel filter;
        filter.setSourceModel(&source);
        Tester sourceTester(&source, Fatal);
        Tester filterTester(&filter, Fatal);

        // Ordinal 2 was split; 5 lies beyond the largest recorded ordinal.
        list.setRows({subtitle(1, 1), subtitle(2, 2), subtitle(3, 2), subtitle(4, 3), subtitle(5, 4), subtitle(6, 5)});
        filter.setRecordedOrdinals({2, 4});
        QCOMPARE(filter.rowCount(), 6);

        filter.setOnlyCorrected(true);
        QCOMPARE(tags(filter), (QStringList{u"2"_qs, u"2"_qs, u"4"_qs}));

        // Rows added or removed underneath while filtered.
        list.insertSubtitle(2, subtitle(0, 0));
        list.insertSubtitle(0, subtitle(0, 4));
        QCOMPARE(shown(filter), (QStringList{u"1"_qs, u"3"_qs, u"5"_qs, u"7"_qs}));
        QCOMPARE(tags(filter), (QStringList{u"4"_qs, u"2"_qs, u"2"_qs, u"4"_qs}));
        list.removeSubtitle(2);
        QCOMPARE(tags(filter), (QStringList{u"4"_qs, u"2"_qs, u"4"_qs}));

        filter.setRecordedOrdinals({5, 0, -3});
        QCOMPARE(tags(filter), (QStringList{u"5"_qs}));
        filter.setRecordedOrdinals({});
        QCOMPARE(filter.rowCount(), 0);

        filter.setOnlyCorrected(false);
        QCOMPARE(filter.rowCount(), source.rowCount());
    }

    void editRecordsSortNumericallyInTheEditsWindow()
    {
        EditRecordModel records;
        EditsWindow window(records);
        Tester recordsTester(&records, Fatal);
        Tester sortedTester(window.list()->model(), Fatal);
        LangDoc lang;
        using Change = EditRecord::Change;
        records.setRecords({{12, Change::Edit, false}, {10000, Change::Split, false}, {9999, Change::Edit, true},
                           {2, Change::None, true}, {100000, Change::Split, true}},
                          lang);

        const QAbstractItemModel &sorted = *window.list()->model();
        QCOMPARE(shown(sorted), (QStringList{u"0012"_qs, u"10000"_qs, u"9999"_qs, u"0002"_qs, u"100000"_qs}));
        QCOMPARE(window.records().rowOfOrdinal(10000), 1);
        QCOMPARE(window.records().rowOfOrdinal(200000), -1);

        // As numbers, not as the texts "10000" < "9999".
        window.sortByColumn(EditRecordModel::OrdinalColumn);
        QCOMPARE(window.ordinalsInViewOrder(), (QList<int>{100000, 10000, 9999, 12, 2}));
        window.sortByColumn(EditRecordModel::OrdinalColumn);
        QCOMPARE(window.ordinalsInViewOrder(), (QList<int>{2, 12, 9999, 10000, 100000}));
        window.sortByColumn(EditRecordModel::KindColumn);
        QCOMPARE(window.ordinalsInViewOrder(), (QList<int>{2, 100000, 10000, 9999, 12}));

        // Selection and activation follow the order on show.
        window.selectOrdinal(9999);
        QCOMPARE(window.list()->currentIndex().row(), 3);
        QSignalSpy activated(&window, &EditsWindow::recordActivated);
        window.activateViewRow(1);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toInt(), 100000);

        window.sortOff();
        QCOMPARE(window.ordinalsInViewOrder(), (QList<int>{12, 10000, 9999, 2, 100000}));
        records.clear();
        QCOMPARE(window.records().rowOfOrdinal(12), -1);
    }
};

QTEST_MAIN(TestModels)
#include "tst_models.moc"
