// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The "Correct subtitles" verb of the desktop's file manager for .srt and
// .vtt files: choosing it runs the executable with "/auto" and the file's
// path, the unattended correction.
class ShellVerb
{
public:
    virtual ~ShellVerb() = default;

    // Whether the verb is present for .srt and .vtt files.
    virtual bool IsShellVerbRegistered() = 0;
    // Adds the verb (add true) or removes it, changing nothing when it is
    // already in that state. False with errorText set when the change could
    // not be made; the verb is then left as it was found.
    virtual bool SetShellVerb(bool add, QString *errorText = nullptr) = 0;
};
