// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/subtitledocument.h"

#include <QString>
#include "editor/commands/documentcommand.h"

class SubtitleList;

// A new start or end time for one corrected row; keeps the time it replaced.
class EditTimeCommand : public DocumentCommand
{
public:
    EditTimeCommand(SubtitleDocument &document, SubtitleList &list, int row, SubtitleDocument::TimeField field,
                    qint64 timeMs, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;
    int id() const override;

private:
    void swapTime();

    SubtitleDocument &m_document;
    SubtitleList &m_list;
    int m_row;
    SubtitleDocument::TimeField m_field;
    qint64 m_timeMs; // the one to put in: the new time, after redo the old one
};
