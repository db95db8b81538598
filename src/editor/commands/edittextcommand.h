// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include "editor/commands/documentcommand.h"

class SubtitleDocument;
class SubtitleList;

// A new text for one corrected row; keeps the text it replaced.
class EditTextCommand : public DocumentCommand
{
public:
    EditTextCommand(SubtitleDocument &document, SubtitleList &list, int row, QString text);

    void redo() override;
    void undo() override;
    int id() const override;

private:
    void swapText();

    SubtitleDocument &m_document;
    SubtitleList &m_list;
    int m_row;
    QString m_text; // the one to put in: the new text, after redo the old one
};
