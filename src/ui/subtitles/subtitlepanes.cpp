// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/subtitlepanes.h"

#include "editing/editnavigation.h"
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "ui/edits/editswindow.h"
#include "ui/subtitles/correctedfiltermodel.h"
#include "ui/subtitles/editboxes.h"
#include "ui/subtitles/subtitlelistview.h"
#include "ui/subtitles/subtitletextedit.h"
#include "ui/subtitles/timelineedit.h"
#include "ui/twips.h"

#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr float MarginTwips = 45;
constexpr float TextBoxHeightTwips = 735;
constexpr float TimeBoxWidthTwips = 1275;

} // namespace

SubtitlePanes::SubtitlePanes(SubtitleDocument &document, EditsWindow &editsWindow, Prompter &prompter, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent), m_document(document), m_editsWindow(editsWindow),
      m_filterModel(new CorrectedFilterModel(this)), m_leftPane(new QWidget(this)), m_rightPane(new QWidget(this))
{
    setObjectName(QStringLiteral("splitter"));
    m_filterModel->setSourceModel(&document.correctedModel());
    const Twips twips = Twips::forWidget(this);
    const int margin = twips.toPixels(MarginTwips);

    m_listView1 = new SubtitleListView(QStringLiteral("ListView1"), &document.originalModel(), m_leftPane);
    m_listView2 = new SubtitleListView(QStringLiteral("ListView2"), m_filterModel, m_rightPane);
    // Reading speed stands between Hide and Text; its number stays the fifth.
    for (SubtitleListView *list : {m_listView1, m_listView2})
        list->showColumnAt(SubtitleTableModel::CpsColumn, SubtitleTableModel::TextColumn);

    // Tall enough for a three-line subtitle in the font in use.
    const int boxHeight = std::max(twips.toPixels(TextBoxHeightTwips), 3 * fontMetrics().lineSpacing() + 14);
    m_txtSub1 = new QPlainTextEdit(m_leftPane);
    m_txtSub1->setObjectName(QStringLiteral("txtSub1"));
    m_txtSub1->setReadOnly(true);
    m_txtSub1->setFixedHeight(boxHeight);
    m_txtSub1->setTabChangesFocus(true);
    connect(m_txtSub1, &QPlainTextEdit::textChanged, this, [this] { alignByTextDirection(*m_txtSub1); });
    m_boxes = new EditBoxes(document, prompter, m_rightPane);
    m_boxes->layout()->setSpacing(margin);
    m_boxes->textBox()->setFixedHeight(boxHeight);
    const int timeWidth = std::max(twips.toPixels(TimeBoxWidthTwips),
                                   fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,0000")) + 12);
    for (TimeLineEdit *box : {m_boxes->startBox(), m_boxes->endBox()})
        box->setFixedWidth(timeWidth);

    m_label3 = new QLabel(QStringLiteral("Original"), m_leftPane);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label4 = new QLabel(QStringLiteral("Edited"), m_rightPane);
    m_label4->setObjectName(QStringLiteral("Label4"));
    for (QLabel *label : {m_label3, m_label4})
        label->setTextFormat(Qt::PlainText);

    auto *left = new QVBoxLayout(m_leftPane);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(margin);
    left->addWidget(m_label3);
    left->addWidget(m_listView1, 1);
    left->addWidget(m_txtSub1);
    auto *right = new QVBoxLayout(m_rightPane);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(margin);
    right->addWidget(m_label4);
    right->addWidget(m_listView2, 1);
    right->addWidget(m_boxes);

    setChildrenCollapsible(false);
    setHandleWidth(std::max(4, twips.toPixels(105)));
    addWidget(m_leftPane);
    addWidget(m_rightPane);
    // The left list keeps its width when the window grows; the right one takes the rest.
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    handle(1)->setObjectName(QStringLiteral("lblDiax"));

    // Tab runs from list to list, then through the corrected subtitle's boxes.
    setTabOrder(m_listView1, m_listView2);
    setTabOrder(m_listView2, m_boxes->startBox());
    setTabOrder(m_boxes->startBox(), m_boxes->endBox());
    setTabOrder(m_boxes->endBox(), m_boxes->textBox());
    setTabOrder(m_boxes->textBox(), m_txtSub1);

    // The selection routine runs once the selection has moved, whichever
    // button or key moved it.
    connect(m_listView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_syncing)
            originalSelected();
    });
    connect(m_listView2->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_syncing)
            correctedSelected();
    });
    // A click on the row already selected moves nothing; it fills the boxes
    // again when they were emptied meanwhile (the filter switched).
    connect(m_listView1, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!m_syncing && !m_boxes->isFilledFor(m_document.correctedList().findTag(index.row() + 1)))
            originalSelected();
    });
    connect(m_listView2, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!m_syncing && !m_boxes->isFilledFor(m_filterModel->mapToSource(index).row()))
            correctedSelected();
    });
    connect(&document, &SubtitleDocument::rowTouched, this, &SubtitlePanes::followRow);
    connect(&document, &SubtitleDocument::contentReplaced, this, &SubtitlePanes::documentReplaced);
    document.setPendingEdits(m_boxes);
}

SubtitlePanes::~SubtitlePanes()
{
    m_document.setPendingEdits(nullptr);
}

void SubtitlePanes::documentReplaced()
{
    const bool syncing = std::exchange(m_syncing, true);
    m_boxes->empty();
    m_txtSub1->clear();
    m_filterModel->setRecordedOrdinals(m_document.records().ordinals());
    m_syncing = syncing;
}

void SubtitlePanes::setOnlyCorrected(bool onlyCorrected)
{
    const bool syncing = std::exchange(m_syncing, true);
    m_filterModel->setOnlyCorrected(onlyCorrected);
    m_syncing = syncing;
    // The boxes show the row still selected; none left, they take nothing.
    if (const int selected = selectedCorrectedRow(); selected >= 0)
        showCorrectedRow(selected);
    else
        m_boxes->empty();
}

// ---- Selection

int SubtitlePanes::selectedCorrectedRow() const
{
    const int shown = m_listView2->selectedRow();
    return shown < 0 ? -1 : m_filterModel->mapToSource(m_filterModel->index(shown, 0)).row();
}

void SubtitlePanes::selectOriginalRow(int row)
{
    const bool syncing = std::exchange(m_syncing, true);
    m_listView1->selectRow(row);
    m_syncing = syncing;
}

void SubtitlePanes::selectCorrectedRow(int sourceRow)
{
    const bool syncing = std::exchange(m_syncing, true);
    m_listView2->selectRow(m_filterModel->mapFromSource(m_document.correctedModel().index(sourceRow, 0)).row());
    m_syncing = syncing;
}

void SubtitlePanes::alignList(SubtitleListView *list, int row, int top)
{
    list->showRowAt(row, top);
}

void SubtitlePanes::originalSelected()
{
    const int k = m_listView1->selectedRow();
    if (k < 0)
        return;
    const int r = m_document.correctedList().findTag(k + 1);
    const QModelIndex shown =
        r < 0 ? QModelIndex() : m_filterModel->mapFromSource(m_document.correctedModel().index(r, 0));
    if (!shown.isValid()) {
        selectCorrectedRow(-1);
        m_boxes->empty();
    } else {
        selectCorrectedRow(r);
        m_editsWindow.selectOrdinal(k + 1);
        alignList(m_listView2, shown.row(), m_listView1->rowTop(k));
        m_boxes->fill(r);
    }
    m_txtSub1->setPlainText(rowTextToBoxText(m_document.originalList().text(k)));
    emit subtitleSelected(k, shown.isValid() ? r : -1);
}

void SubtitlePanes::correctedSelected()
{
    const int r = selectedCorrectedRow();
    if (r < 0)
        return;
    const int k = m_document.correctedList().tag(r);
    if (k < 1 || k > m_document.originalList().rowCount()) {
        selectOriginalRow(-1);
        m_txtSub1->clear();
    } else {
        selectOriginalRow(k - 1);
        m_editsWindow.selectOrdinal(k);
        const int shownRow = m_listView2->selectedRow();
        alignList(m_listView1, k - 1, m_listView2->rowTop(shownRow));
        m_txtSub1->setPlainText(rowTextToBoxText(m_document.originalList().text(k - 1)));
    }
    m_boxes->fill(r);
    emit subtitleSelected(k >= 1 && k <= m_document.originalList().rowCount() ? k - 1 : -1, r);
}

void SubtitlePanes::showCorrectedRow(int sourceRow)
{
    selectCorrectedRow(sourceRow);
    const int shown = m_listView2->selectedRow();
    if (shown < 0) {
        // Not on show (filtered out, or none left): nothing to edit.
        m_boxes->empty();
        return;
    }
    m_listView2->scrollTo(m_filterModel->index(shown, 0));
    correctedSelected();
}

void SubtitlePanes::followRow(int sourceRow)
{
    // Records never change after the run, so the filter needs no new ordinals.
    showCorrectedRow(sourceRow);
}

// ---- Navigation

bool SubtitlePanes::locateNextSubEdit(bool locationUp)
{
    const QList<int> ordinals = m_editsWindow.ordinalsInViewOrder();
    const int selected = m_listView1->selectedRow();
    const std::optional<qsizetype> target = ::LocateNextSubEdit(
        ordinals, selected >= 0 ? std::optional<int>(selected + 1) : std::nullopt, locationUp);
    if (!target)
        return false;
    m_editsWindow.selectViewRow(int(*target));
    showRecord(ordinals.at(*target));
    return true;
}

bool SubtitlePanes::locateTooFast(bool up)
{
    const SubtitleList &corrected = m_document.correctedList();
    const int selected = selectedCorrectedRow();
    int from = selected >= 0 ? selected : (up ? corrected.rowCount() : -1);
    // Rows the filter hides are passed over.
    for (;;) {
        from = corrected.findTooFast(from, up);
        if (from < 0)
            return false;
        if (m_filterModel->mapFromSource(m_document.correctedModel().index(from, 0)).isValid())
            break;
    }
    showCorrectedRow(from);
    return true;
}

void SubtitlePanes::moveCorrectedSelection(int step)
{
    const int rows = m_filterModel->rowCount();
    if (rows == 0)
        return;
    const int selected = m_listView2->selectedRow();
    const int current = std::clamp((selected < 0 ? 0 : selected) + step, 0, rows - 1);
    showCorrectedRow(m_filterModel->mapToSource(m_filterModel->index(current, 0)).row());
}

void SubtitlePanes::showRecord(int ordinal)
{
    if (ordinal < 1 || ordinal > m_document.originalList().rowCount())
        return;
    selectOriginalRow(ordinal - 1);
    m_listView1->scrollTo(m_document.originalModel().index(ordinal - 1, 0));
    originalSelected();
}

// ---- Row commands

void SubtitlePanes::insertSubtitle(bool below)
{
    if (m_filterModel->onlyCorrected())
        return;
    m_document.insertSubtitle(selectedCorrectedRow(), below);
}

void SubtitlePanes::deleteSubtitle()
{
    if (m_filterModel->onlyCorrected())
        return;
    const int selected = selectedCorrectedRow();
    if (selected < 0)
        return;
    m_document.deleteSubtitle(selected);
}

void SubtitlePanes::restoreSelected()
{
    const int corrected = selectedCorrectedRow();
    const int original = m_listView1->selectedRow();
    // A time a shot-change rule chose goes back to the one without the rule first.
    if (corrected >= 0 && m_document.restoreWithoutShotChange(corrected))
        return;
    const int ordinal = corrected >= 0 ? m_document.correctedList().tag(corrected) : original + 1;
    if (ordinal > 0)
        m_document.restoreOrReapply({ordinal});
}
