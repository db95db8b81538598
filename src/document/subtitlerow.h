// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One subtitle as the lists show it and the writer saves it.
struct SubtitleRow
{
    int number = 0;    // written as the subtitle number, exactly as it stands
    QString startText; // time text, "00:00:01,000"
    QString endText;
    QString text; // lines joined by CR LF, no CR LF at the end
    // Corrected rows: the 1-based ordinal of the subtitle as read that this
    // row came from; 0 on rows inserted by hand, which link to nothing.
    int tag = 0;

    friend bool operator==(const SubtitleRow &, const SubtitleRow &) = default;
};
