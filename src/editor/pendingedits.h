// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Typing in the boxes that is not yet a change of the document. The
// document has it committed before it changes, saves or corrects anything,
// so no command and no workflow has to remember to.
class PendingEdits
{
public:
    virtual ~PendingEdits() = default;

    // Applies what was typed, as leaving the box does.
    virtual void commit() = 0;
    // The corrected row the typing belongs to; -1 when there is none.
    virtual int row() const = 0;
    // Forgets what was typed: its row is going away.
    virtual void drop() = 0;
};
