// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the corrected document has been saved since it last changed.
// Kept as a value, not as the status label's wording, so a language change
// can never make unsaved edits look saved.
enum class SaveState {
    Empty,    // just loaded, nothing corrected yet
    Saved,    // written by a save
    NotSaved, // changed by a correction run or a hand edit
};
