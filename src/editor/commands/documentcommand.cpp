// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/documentcommand.h"

DocumentCommand::DocumentCommand(const Message &caption, qint64 argument, const LangDoc &lang, QUndoCommand *parent)
    : QUndoCommand(parent), m_caption(caption), m_argument(argument)
{
    setText(this->caption(lang));
}

QString DocumentCommand::caption(const LangDoc &lang) const
{
    return GetLangText(lang, m_caption).arg(m_argument);
}
