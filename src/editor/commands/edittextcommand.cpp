// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/edittextcommand.h"

#include "editor/commands/commandids.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"

EditTextCommand::EditTextCommand(SubtitleDocument &document, SubtitleList &list, int row, QString text)
    : DocumentCommand(Form1Msg::UndoEditText, row + 1, document.lang()), m_document(document), m_list(list), m_row(row),
      m_text(std::move(text))
{
}

void EditTextCommand::swapText()
{
    QString previous = m_list.text(m_row);
    m_list.setText(m_row, m_text);
    m_text = std::move(previous);
}

void EditTextCommand::redo()
{
    swapText();
    if (isRedoneAgain())
        emit m_document.rowTouched(m_row);
}

void EditTextCommand::undo()
{
    swapText();
    emit m_document.rowTouched(m_row);
}

int EditTextCommand::id() const
{
    return CommandId::EditText;
}
