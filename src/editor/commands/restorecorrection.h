// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/rowoperations.h"

#include "editor/commands/documentcommand.h"

#include <vector>

class SubtitleDocument;
class SubtitleList;

// Puts one or several corrected subtitles back as read (a split's two rows
// become one), or applies their corrections again as the run computed
// them. Keeps the rows it replaced, hand edits included, to go back.
class RestoreCorrection : public DocumentCommand
{
public:
    // ordinals ascending, each with an edit record.
    RestoreCorrection(SubtitleDocument &document, SubtitleList &list, std::vector<int> ordinals, bool restore);

    void redo() override;
    void undo() override;
    int id() const override;

private:
    SubtitleDocument &m_document;
    SubtitleList &m_list;
    std::vector<int> m_ordinals;
    bool m_restore;
    std::vector<OrdinalReplacement> m_replaced;
};
