// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/edittimecommand.h"

#include "editor/commands/commandids.h"
#include "editor/subtitletablemodel.h"
#include "lang/form1messages.h"

EditTimeCommand::EditTimeCommand(SubtitleDocument &document, int row, SubtitleDocument::TimeField field,
                                 QString timeText, QUndoCommand *parent)
    : DocumentCommand(Form1Msg::UndoEditTime, row + 1, document.lang(), parent), m_document(document), m_row(row), m_field(field), m_timeText(std::move(timeText))
{
}

void EditTimeCommand::swapTime()
{
    SubtitleTableModel &model = m_document.correctedModel();
    const SubtitleRow &row = model.row(m_row);
    if (m_field == SubtitleDocument::TimeField::Start) {
        QString previous = row.startText;
        model.setStartText(m_row, m_timeText);
        m_timeText = std::move(previous);
    } else {
        QString previous = row.endText;
        model.setEndText(m_row, m_timeText);
        m_timeText = std::move(previous);
    }
}

void EditTimeCommand::redo()
{
    swapTime();
    if (isRedoneAgain())
        emit m_document.rowTouched(m_row);
}

void EditTimeCommand::undo()
{
    swapTime();
    emit m_document.rowTouched(m_row);
}

int EditTimeCommand::id() const
{
    return CommandId::EditTime;
}
