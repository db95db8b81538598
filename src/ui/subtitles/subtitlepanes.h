// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSplitter>

class CorrectedFilterModel;
class EditBoxes;
class EditsWindow;
class Prompter;
class QLabel;
class QPlainTextEdit;
class SubtitleDocument;
class SubtitleListView;

// The subtitles as read on the left and as corrected on the right, kept in
// step: selecting a row on one side selects its partner on the other, at
// the same height, and its record in the edits window, and fills the boxes
// under the lists. Row commands act on the selection through the document;
// the selection and the boxes follow the row each change touched.
class SubtitlePanes : public QSplitter
{
    Q_OBJECT

public:
    SubtitlePanes(SubtitleDocument &document, EditsWindow &editsWindow, Prompter &prompter, QWidget *parent = nullptr);
    ~SubtitlePanes() override;

    SubtitleListView *originalList() const { return m_listView1; }
    SubtitleListView *correctedList() const { return m_listView2; }
    CorrectedFilterModel &filter() const { return *m_filterModel; }
    EditBoxes &boxes() const { return *m_boxes; }
    QWidget *leftPane() const { return m_leftPane; }
    QWidget *rightPane() const { return m_rightPane; }
    // The captions over the lists ("Original", "Edited" in a language file).
    const QLabel &originalCaption() const { return *m_label3; }
    const QLabel &correctedCaption() const { return *m_label4; }
    // The selected row in the corrected model, not the view; -1 for none.
    int selectedCorrectedRow() const;

    void setOnlyCorrected(bool onlyCorrected);

    // Moves both lists to the previous or next record of the edits window,
    // in the order it shows; false when there is none that way.
    bool locateNextSubEdit(bool locationUp);
    // The nearest row below the selection (above it when up) still too fast.
    bool locateTooFast(bool up);
    // Alt-Up and Alt-Down: with nothing selected the first row counts as
    // selected, then the selection moves one row.
    void moveCorrectedSelection(int step);
    // Both lists to subtitle ordinal, as a double-click on its record.
    void showRecord(int ordinal);
    // Both lists to a row of the corrected list.
    void showCorrected(int sourceRow) { showCorrectedRow(sourceRow); }


    void insertSubtitle(bool below);
    void deleteSubtitle();
    // The selected subtitle's correction restored, or re-applied when it is
    // restored already.
    void restoreSelected();

signals:
    // The selection moved to a subtitle: its row in each list, -1 where it
    // has none (an inserted row; a filtered one).
    void subtitleSelected(int originalRow, int correctedRow);

private:
    // After a load or a correction: the boxes empty, the filter on the
    // records there are now.
    void documentReplaced();
    void originalSelected();  // ListView1_ItemClick
    void correctedSelected(); // ListView2_ItemClick
    void followRow(int sourceRow);
    void selectOriginalRow(int row);
    void selectCorrectedRow(int sourceRow);
    void showCorrectedRow(int sourceRow);
    // Scrolls list so that row stands top pixels below the top of its rows.
    void alignList(SubtitleListView *list, int row, int top);

    SubtitleDocument &m_document;
    EditsWindow &m_editsWindow;
    CorrectedFilterModel *m_filterModel;
    QWidget *m_leftPane;
    QWidget *m_rightPane;
    SubtitleListView *m_listView1;
    SubtitleListView *m_listView2;
    QPlainTextEdit *m_txtSub1;
    QLabel *m_label3;
    QLabel *m_label4;
    EditBoxes *m_boxes;
    // Set while the program moves a selection, so the lists' own selection
    // handlers do not answer their echo.
    bool m_syncing = false;
};
