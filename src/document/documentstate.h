// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/filestamp.h"
#include "document/textencoding.h"

#include <QString>

// Whether the corrected document has been saved since it last changed.
// Kept as a value, not as the status label's wording, so a language change
// can never make unsaved edits look saved.
enum class SaveState {
    Empty,    // just loaded, nothing corrected yet
    Saved,    // written by a save
    NotSaved, // changed by a correction run or a hand edit
};

// The open subtitle file: its path, how its text was encoded, what the file
// was when last read or written, and its save state.
struct DocumentState
{
    QString path;
    FileEncoding encoding;
    FileStamp stamp;
    SaveState saveState = SaveState::Empty;
    QString encodingChoice; // what the file was read with: "auto" or an encoding name
};
