// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/compositeshellverb.h"

#include <algorithm>

CompositeShellVerb::CompositeShellVerb(std::vector<std::unique_ptr<ShellVerb>> parts) : m_parts(std::move(parts)) {}

bool CompositeShellVerb::IsShellVerbRegistered()
{
    return std::all_of(m_parts.begin(), m_parts.end(), [](const auto &part) { return part->IsShellVerbRegistered(); });
}

bool CompositeShellVerb::SetShellVerb(bool add, QString *errorText)
{
    // Every part is asked, even one that looks done: removing also clears
    // what is left of a verb that was only partly there.
    std::vector<ShellVerb *> changed;
    for (const std::unique_ptr<ShellVerb> &part : m_parts) {
        const bool wasRegistered = part->IsShellVerbRegistered();
        if (!part->SetShellVerb(add, errorText)) {
            for (ShellVerb *done : changed)
                done->SetShellVerb(!add);
            return false;
        }
        if (wasRegistered != add)
            changed.push_back(part.get());
    }
    return true;
}
