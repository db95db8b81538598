// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitlerow.h"

#include "editor/commands/documentcommand.h"

class SubtitleDocument;
class SubtitleList;

// Adds or removes one row of the corrected list. The row out of the list
// is kept here, so the two directions are one swap.
class AddRemoveSubtitle : public DocumentCommand
{
public:
    int id() const override { return m_id; }

protected:
    AddRemoveSubtitle(SubtitleDocument &document, SubtitleList &list, int position, SubtitleRow row, int id,
                      const Message &caption);

    void addRow();
    void takeRow();
    // Where the selection goes: row, or the last row when row is past it.
    void touch(int row);

    SubtitleDocument &m_document;
    SubtitleList &m_list;
    int m_position;

private:
    SubtitleRow m_row; // while it is out of the list
    int m_id;
};

// Inserts an empty subtitle; undone, the selection goes back where it was.
class InsertSubtitle : public AddRemoveSubtitle
{
public:
    InsertSubtitle(SubtitleDocument &document, SubtitleList &list, int position, SubtitleRow row, int selectedBefore);

    void redo() override;
    void undo() override;

private:
    int m_selectedBefore;
};

// Deletes a subtitle; the selection moves to the row that takes its place.
class DeleteSubtitle : public AddRemoveSubtitle
{
public:
    DeleteSubtitle(SubtitleDocument &document, SubtitleList &list, int position);

    void redo() override;
    void undo() override;
};
