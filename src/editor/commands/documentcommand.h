// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/message.h"

#include <QUndoCommand>

#include <utility>

// A change to the document whose name ("Delete subtitle 12") is worded
// when it is shown, so a language switch renames the whole history.
class DocumentCommand : public QUndoCommand
{
public:
    // caption takes argument as its %1; a command with a parent is a part of
    // the parent's one step.
    DocumentCommand(const Message &caption, qint64 argument, const LangDoc &lang, QUndoCommand *parent = nullptr);

    QString caption(const LangDoc &lang) const;

protected:
    // True from the second redo on: a change typed in the boxes is on show
    // already when it is made, so only its undo and redo move the selection.
    bool isRedoneAgain() { return std::exchange(m_redone, true); }

private:
    bool m_redone = false;
    Message m_caption;
    qint64 m_argument;
};
