// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/addremovesubtitle.h"

#include "editor/commands/commandids.h"
#include "editor/subtitledocument.h"
#include "editor/subtitletablemodel.h"
#include "lang/form1messages.h"

#include <algorithm>

AddRemoveSubtitle::AddRemoveSubtitle(SubtitleDocument &document, int position, SubtitleRow row, int id,
                                     const Message &caption)
    : DocumentCommand(caption, position + 1, document.lang()), m_document(document), m_position(position), m_row(std::move(row)), m_id(id)
{
}

void AddRemoveSubtitle::addRow()
{
    m_document.correctedModel().insertSubtitle(m_position, std::move(m_row));
    m_row = {};
}

void AddRemoveSubtitle::takeRow()
{
    if (std::optional<SubtitleRow> removed = m_document.correctedModel().removeSubtitle(m_position))
        m_row = std::move(*removed);
}

void AddRemoveSubtitle::touch(int row)
{
    emit m_document.rowTouched(std::min(row, m_document.correctedModel().rowCount() - 1));
}

InsertSubtitle::InsertSubtitle(SubtitleDocument &document, int position, SubtitleRow row, int selectedBefore)
    : AddRemoveSubtitle(document, position, std::move(row), CommandId::InsertSubtitle, Form1Msg::UndoInsert),
      m_selectedBefore(selectedBefore)
{
}

void InsertSubtitle::redo()
{
    addRow();
    touch(m_position);
}

void InsertSubtitle::undo()
{
    takeRow();
    touch(m_selectedBefore);
}

DeleteSubtitle::DeleteSubtitle(SubtitleDocument &document, int position)
    : AddRemoveSubtitle(document, position, {}, CommandId::DeleteSubtitle, Form1Msg::UndoDelete)
{
}

void DeleteSubtitle::redo()
{
    takeRow();
    touch(m_position);
}

void DeleteSubtitle::undo()
{
    addRow();
    touch(m_position);
}
