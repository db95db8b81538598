// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Key codes the time boxes understand, numbered as the platform's virtual
// keys so that a key code and its character agree for the digits.
namespace TimeKey {
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Esc = 27;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Right = 39;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48; // "0" to "9" are 48 to 57
} // namespace TimeKey

// A fixed-width time box as CheckTime sees it: its text, the caret
// (characters before it) and the length of the selection from the caret.
struct TimeBoxState
{
    QString text;
    int caret = 0;
    int selectionLength = 0;

    friend bool operator==(const TimeBoxState &, const TimeBoxState &) = default;
};

// The overwrite editing of a 12-character time text ("00:01:02,345"):
// digits overwrite, Delete and Backspace write "0", the caret jumps over
// the separators, and the text never changes length. Returns the key to
// let through to the box (Enter, Esc and the caret keys), or 0 when the key
// was consumed here.
int CheckTime(TimeBoxState &box, int keyCode);
