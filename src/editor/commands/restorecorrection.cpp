// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/commands/restorecorrection.h"

#include "editor/commands/commandids.h"
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/form1messages.h"

namespace {

const Message &captionFor(const std::vector<int> &ordinals, bool restore)
{
    if (ordinals.size() == 1)
        return restore ? Form1Msg::UndoRestore : Form1Msg::UndoReapply;
    return restore ? Form1Msg::UndoRestoreSeveral : Form1Msg::UndoReapplySeveral;
}

} // namespace

RestoreCorrection::RestoreCorrection(SubtitleDocument &document, SubtitleList &list, std::vector<int> ordinals,
                                     bool restore)
    : DocumentCommand(captionFor(ordinals, restore), ordinals.size() == 1 ? ordinals.front() : qint64(ordinals.size()),
                      document.lang()),
      m_document(document), m_list(list), m_ordinals(std::move(ordinals)), m_restore(restore)
{
}

void RestoreCorrection::redo()
{
    std::vector<OrdinalRows> replacements;
    replacements.reserve(m_ordinals.size());
    for (int ordinal : m_ordinals) {
        if (m_restore)
            replacements.push_back({ordinal, {m_document.originalRow(ordinal).value_or(SubtitleRow{})}});
        else
            replacements.push_back({ordinal, m_document.computedRows(ordinal)});
    }
    m_document.records().setRestored(m_ordinals, m_restore);
    m_replaced = m_list.replaceOrdinals(std::move(replacements), m_restore);
    emit m_document.rowTouched(m_replaced.front().position);
}

void RestoreCorrection::undo()
{
    const int first = m_replaced.front().taken.empty() ? m_replaced.front().position
                                                       : m_replaced.front().taken.front().first;
    m_document.records().setRestored(m_ordinals, !m_restore);
    m_list.undoReplacements(std::exchange(m_replaced, {}), !m_restore);
    emit m_document.rowTouched(first);
}

int RestoreCorrection::id() const
{
    return CommandId::RestoreCorrection;
}
