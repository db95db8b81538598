// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

// A ShellVerb for tests: a flag in memory, with a failure that can be set.
class FakeShellVerb : public ShellVerb
{
public:
    bool registered = false;
    QString failure; // when set, every change fails with this text
    int changes = 0;

    bool IsShellVerbRegistered() override { return registered; }

    bool SetShellVerb(bool add, QString *errorText) override
    {
        if (add == registered)
            return true;
        if (!failure.isEmpty()) {
            if (errorText)
                *errorText = failure;
            return false;
        }
        registered = add;
        ++changes;
        return true;
    }
};
