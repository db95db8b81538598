// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/edittimecommand.h"

#include "editor/commands/commandids.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"

EditTimeCommand::EditTimeCommand(SubtitleDocument &document, SubtitleList &list, int row,
                                 SubtitleDocument::TimeField field, qint64 timeMs, QUndoCommand *parent)
    : DocumentCommand(Form1Msg::UndoEditTime, row + 1, document.lang(), parent), m_document(document), m_list(list),
      m_row(row), m_field(field), m_timeMs(timeMs)
{
}

void EditTimeCommand::swapTime()
{
    if (m_field == SubtitleDocument::TimeField::Start) {
        const qint64 previous = m_list.startMs(m_row);
        m_list.setStartMs(m_row, m_timeMs);
        m_timeMs = previous;
    } else {
        const qint64 previous = m_list.endMs(m_row);
        m_list.setEndMs(m_row, m_timeMs);
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
