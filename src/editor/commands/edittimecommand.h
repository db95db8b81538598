// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/subtitledocument.h"

#include <QString>
#include "editor/commands/documentcommand.h"

// A new start or end time for one corrected row; keeps the time it replaced.
class EditTimeCommand : public DocumentCommand
{
public:
    EditTimeCommand(SubtitleDocument &document, int row, SubtitleDocument::TimeField field, qint64 timeMs,
                    QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;
    int id() const override;

private:
    void swapTime();

    SubtitleDocument &m_document;
    int m_row;
    SubtitleDocument::TimeField m_field;
    qint64 m_timeMs; // the one to put in: the new time, after redo the old one
};
