// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <memory>
#include <vector>

// Several verbs that count as one, such as the same verb in each file
// manager: registered when every part is, added and removed together, and
// put back as they were when a part fails.
class CompositeShellVerb : public ShellVerb
{
public:
    explicit CompositeShellVerb(std::vector<std::unique_ptr<ShellVerb>> parts);

    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

private:
    std::vector<std::unique_ptr<ShellVerb>> m_parts;
};
