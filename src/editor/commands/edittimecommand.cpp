// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/edittimecommand.h"

#include "editor/commands/commandids.h"
#include "editor/subtitletablemodel.h"
#include "lang/form1messages.h"

EditTimeCommand::EditTimeCommand(SubtitleDocument &document, int row, SubtitleDocument::TimeField field,
                                 qint64 timeMs, QUndoCommand *parent)
    : DocumentCommand(Form1Msg::UndoEditTime, row + 1, document.lang(), parent), m_document(document), m_row(row),
      m_field(field), m_timeMs(timeMs)
{
}

void EditTimeCommand::swapTime()
{
    SubtitleTableModel &model = m_document.correctedModel();
    if (m_field == SubtitleDocument::TimeField::Start) {
        const qint64 previous = model.startMs(m_row);
        model.setStartMs(m_row, m_timeMs);
        m_timeMs = previous;
    } else {
        const qint64 previous = model.endMs(m_row);
        model.setEndMs(m_row, m_timeMs);
        m_timeMs = previous;
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
