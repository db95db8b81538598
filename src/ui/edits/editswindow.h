// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>


class EditRecordModel;
class LangDoc;
class QAction;
class ShownRowsModel;
class SubtitleListView;

// The edits window: the corrections of the last run, one record per
// corrected subtitle. Double-clicking a record takes the main window there;
// Ctrl-R or its pop-up menu restores the selected records' subtitles as
// read, or re-applies their corrections. Closing it by hand only hides it.
class EditsWindow : public QWidget
{
    Q_OBJECT

public:
    // records are the document's; a reset of them turns sorting off.
    explicit EditsWindow(EditRecordModel &records, QWidget *parent = nullptr);

    EditRecordModel &records() { return *m_records; }
    SubtitleListView *list() const { return m_list; }
    QAction *restoreAction() const { return m_restoreAction; }
    // The ordinals of the selected records, ascending.
    QList<int> selectedOrdinals() const;

    // The kinds column wide enough for the longest kind in lang.
    void fitKindColumn(const LangDoc &lang);

    // Back to the order the records were made in.
    void sortOff();
    // Header click: that column, the direction flipped from the last sort.
    void sortByColumn(int column);

    // The ordinals as the list shows them now.
    const QList<int> &ordinalsInViewOrder() const;
    // Selects the record shown at viewRow and scrolls to it; no signal.
    void selectViewRow(int viewRow);
    // Selects the record for ordinal, if there is one and it is not
    // selected already; no signal.
    void selectOrdinal(int ordinal);
    // As a double-click on the record shown at viewRow.
    void activateViewRow(int viewRow);

    // Shown by the correction run or "Show Edits window".
    void showWindow();
    bool isMeantToBeShown() const { return m_editsWindowShown; }
    // The application is ending: the next close really closes.
    void closeForGood();

signals:
    void recordActivated(int ordinal);
    void restoreRequested(const QList<int> &ordinals);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    EditRecordModel *m_records;
    ShownRowsModel *m_sorted;
    SubtitleListView *m_list;
    QAction *m_restoreAction;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_editsWindowShown = false;
    bool m_closingForGood = false;
    // Made when first asked after a change of records or order, so stepping
    // through 100,000 records does not rebuild it on every key press, and
    // a correction does not build it for nobody.
    mutable QList<int> m_viewOrdinals;
    mutable bool m_viewOrdinalsStale = true;
};
