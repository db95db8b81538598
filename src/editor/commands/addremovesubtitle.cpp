// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/addremovesubtitle.h"

#include "editor/commands/commandids.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"

#include <algorithm>

AddRemoveSubtitle::AddRemoveSubtitle(SubtitleDocument &document, SubtitleList &list, int position, SubtitleRow row,
                                     int id, const Message &caption)
    : DocumentCommand(caption, position + 1, document.lang()), m_document(document), m_list(list), m_position(position),
      m_row(std::move(row)), m_id(id)
{
}

void AddRemoveSubtitle::addRow()
{
    m_list.insertSubtitle(m_position, std::move(m_row));
    m_row = {};
}

void AddRemoveSubtitle::takeRow()
{
    if (std::optional<SubtitleRow> removed = m_list.removeSubtitle(m_position))
        m_row = std::move(*removed);
}

void AddRemoveSubtitle::touch(int row)
{
    emit m_document.rowTouched(std::min(row, m_list.rowCount() - 1));
}

InsertSubtitle::InsertSubtitle(SubtitleDocument &document, SubtitleList &list, int position, SubtitleRow row,
                               int selectedBefore)
    : AddRemoveSubtitle(document, list, position, std::move(row), CommandId::InsertSubtitle, Form1Msg::UndoInsert),
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

DeleteSubtitle::DeleteSubtitle(SubtitleDocument &document, SubtitleList &list, int position)
    : AddRemoveSubtitle(document, list, position, {}, CommandId::DeleteSubtitle, Form1Msg::UndoDelete)
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
