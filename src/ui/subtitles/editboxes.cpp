// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/editboxes.h"

#include "document/prompter.h"
#include "document/unicodetext.h"
#include "editing/linecounter.h"
#include "editing/timecommit.h"
#include "document/timecode.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "ui/subtitles/subtitletextedit.h"
#include "ui/subtitles/timelineedit.h"

#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

namespace {

// The box shows lines ending in "\n"; rows and files keep CR LF.
QString boxTextToRowText(QString text)
{
    text.replace(QChar::LineSeparator, QChar(u'\n'));
    text.replace(QChar::ParagraphSeparator, QChar(u'\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return text;
}

} // namespace

QString rowTextToBoxText(const QString &rowText)
{
    return QString(rowText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

EditBoxes::EditBoxes(SubtitleDocument &document, Prompter &prompter, QWidget *parent)
    : QWidget(parent), m_document(document), m_prompter(prompter), m_txtSub2(new SubtitleTextEdit(this)),
      m_txtStartTime(new TimeLineEdit(this)), m_txtEndTime(new TimeLineEdit(this))
{
    m_txtSub2->setObjectName(QStringLiteral("txtSub2"));
    m_txtSub2->setToolTip(QStringLiteral("Ctrl-Enter to apply changes (or leave the textbox) - Esc to cancel"));
    m_txtStartTime->setObjectName(QStringLiteral("txtStartTime"));
    m_txtEndTime->setObjectName(QStringLiteral("txtEndTime"));
    for (TimeLineEdit *box : {m_txtStartTime, m_txtEndTime})
        box->setToolTip(QStringLiteral("Enter to apply changes - Esc to cancel"));

    auto *times = new QVBoxLayout;
    times->setContentsMargins(0, 0, 0, 0);
    times->addWidget(m_txtStartTime);
    times->addStretch(1);
    times->addWidget(m_txtEndTime);
    auto *boxes = new QHBoxLayout(this);
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->addLayout(times);
    boxes->addWidget(m_txtSub2, 1);

    connect(m_txtSub2, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_fillingBoxes)
            m_textEditPending = true;
        alignByTextDirection(*m_txtSub2);
        refreshLineCounter();
    });
    connect(m_txtSub2, &SubtitleTextEdit::commitRequested, this, &EditBoxes::commitText);
    connect(m_txtSub2, &SubtitleTextEdit::left, this, &EditBoxes::commit);
    connect(m_txtSub2, &SubtitleTextEdit::restoreRequested, this, &EditBoxes::restoreText);
    connect(m_txtStartTime, &TimeLineEdit::commitRequested, this, [this] { commitTime(true); });
    connect(m_txtEndTime, &TimeLineEdit::commitRequested, this, [this] { commitTime(false); });
    connect(m_txtStartTime, &TimeLineEdit::restoreRequested, this, [this] { restoreTime(true); });
    connect(m_txtEndTime, &TimeLineEdit::restoreRequested, this, [this] { restoreTime(false); });
    // A time typed and left is applied as Enter applies it, as typed text is.
    connect(m_txtStartTime, &TimeLineEdit::left, this, [this] { commitPendingTime(true); });
    connect(m_txtEndTime, &TimeLineEdit::left, this, [this] { commitPendingTime(false); });
    connect(&document.correctedModel(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                const int row = m_editedRow.isValid() ? m_editedRow.row() : -1;
                if (row >= 0 && topLeft.row() <= row && row <= bottomRight.row())
                    followRow();
            });
    setBoxesEnabled(false);
}

void EditBoxes::refreshLineCounter()
{
    emit lineCounterChanged(lineCounterText(m_txtSub2->toPlainText(), m_document.lang()));
}

void alignByTextDirection(QPlainTextEdit &box)
{
    QTextOption option = box.document()->defaultTextOption();
    const Qt::Alignment alignment = isRightToLeftText(box.toPlainText()) ? Qt::AlignRight : Qt::AlignLeft;
    if (option.alignment() == alignment)
        return;
    option.setAlignment(alignment);
    box.document()->setDefaultTextOption(option);
}

void EditBoxes::setTextQuietly(const QString &rowText)
{
    // Unchanged text stays as it is, caret and all (a commit refills the boxes).
    const QString boxText = rowTextToBoxText(rowText);
    if (m_txtSub2->toPlainText() == boxText)
        return;
    m_fillingBoxes = true;
    m_txtSub2->setPlainText(boxText);
    m_fillingBoxes = false;
}

void EditBoxes::fill(int sourceRow)
{
    if (!isFilledFor(sourceRow))
        commit();
    const SubtitleRow row = m_document.correctedList().row(sourceRow);
    m_storedText = row.text;
    m_storedStart = row.startText;
    m_storedEnd = row.endText;
    setTextQuietly(row.text);
    if (m_txtStartTime->text() != row.startText)
        m_txtStartTime->setText(row.startText);
    if (m_txtEndTime->text() != row.endText)
        m_txtEndTime->setText(row.endText);
    m_textEditPending = false;
    m_refusedTime.clear();
    m_editedRow = m_document.correctedModel().index(sourceRow, 0);
    setBoxesEnabled(true);
}

void EditBoxes::followRow()
{
    const SubtitleRow row = m_document.correctedList().row(m_editedRow.row());
    if (!m_textEditPending) {
        m_storedText = row.text;
        setTextQuietly(row.text);
    }
    for (const auto &[box, stored, now] : {std::tuple{m_txtStartTime, &m_storedStart, &row.startText},
                                           std::tuple{m_txtEndTime, &m_storedEnd, &row.endText}}) {
        if (box->text() == *stored && *stored != *now) {
            *stored = *now;
            box->setText(*now);
        }
    }
}

void EditBoxes::setBoxesEnabled(bool enabled)
{
    // Boxes that write nowhere take no typing that would be lost unsaid.
    for (QWidget *box : std::initializer_list<QWidget *>{m_txtSub2, m_txtStartTime, m_txtEndTime})
        box->setEnabled(enabled);
}

void EditBoxes::empty()
{
    commit();
    setTextQuietly({});
    m_txtStartTime->clear();
    m_txtEndTime->clear();
    m_storedText.clear();
    m_storedStart.clear();
    m_storedEnd.clear();
    m_textEditPending = false;
    m_refusedTime.clear();
    m_editedRow = QPersistentModelIndex();
    setBoxesEnabled(false);
}

bool EditBoxes::isFilledFor(int sourceRow) const
{
    return sourceRow >= 0 && m_editedRow.isValid() && m_editedRow.row() == sourceRow;
}

void EditBoxes::commit()
{
    if (m_committing)
        return;
    const QScopedValueRollback committing(m_committing, true);
    if (m_textEditPending)
        commitText();
    commitPendingTime(true);
    commitPendingTime(false);
}

int EditBoxes::row() const
{
    return m_editedRow.isValid() ? m_editedRow.row() : -1;
}

void EditBoxes::drop()
{
    m_textEditPending = false;
    m_txtStartTime->setText(m_storedStart);
    m_txtEndTime->setText(m_storedEnd);
}

void EditBoxes::commitPendingTime(bool start)
{
    const QString typed = (start ? m_txtStartTime : m_txtEndTime)->text();
    if (!m_editedRow.isValid() || typed == (start ? m_storedStart : m_storedEnd) || typed == m_refusedTime)
        return;
    commitTime(start);
}

void EditBoxes::commitText()
{
    m_textEditPending = false;
    if (!m_editedRow.isValid())
        return;
    // A text the row already holds is no change: no step, the save state stays.
    const QString text = boxTextToRowText(m_txtSub2->toPlainText());
    const QScopedValueRollback committing(m_committing, true);
    m_document.editText(m_editedRow.row(), text);
    // Esc from now on shows what was committed.
    m_storedText = text;
}

void EditBoxes::restoreText()
{
    setTextQuietly(m_storedText);
    // Still counts as typed: leaving the box writes it, which is no change
    // when nothing was committed since.
    m_textEditPending = m_editedRow.isValid();
}

void EditBoxes::commitTime(bool start)
{
    if (!m_editedRow.isValid())
        return;
    TimeLineEdit *box = start ? m_txtStartTime : m_txtEndTime;
    const QString timeText = box->text();
    if (!isCommittableTime(timeText)) {
        const QString boxName = m_document.correctedModel()
                                    .headerData(start ? SubtitleTableModel::StartColumn : SubtitleTableModel::EndColumn,
                                                Qt::Horizontal)
                                    .toString();
        m_refusedTime = timeText;
        m_prompter.warn(timeCommitRefusal(boxName, timeText, m_document.lang()));
        box->setFocus();
        return;
    }
    const auto field = start ? SubtitleDocument::TimeField::Start : SubtitleDocument::TimeField::End;
    const QString refusal =
        m_document.timeRefusal(m_editedRow.row(), field, SecondsToMilliseconds(*TimeTextToSeconds(timeText)));
    if (!refusal.isEmpty()) {
        m_refusedTime = timeText;
        m_prompter.warn(refusal);
        box->setFocus();
        return;
    }
    m_refusedTime.clear();
    const QScopedValueRollback committing(m_committing, true);
    m_document.editTime(m_editedRow.row(), field, timeText);
    (start ? m_storedStart : m_storedEnd) = timeText;
}

void EditBoxes::restoreTime(bool start)
{
    if (start)
        m_txtStartTime->setText(m_storedStart);
    else
        m_txtEndTime->setText(m_storedEnd);
}
