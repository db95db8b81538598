// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/message.h"

// Messages of the Options dialog, element Form2_Module of a language file.
namespace Form2Msg {
inline constexpr Message AllAbove2Lines{
    u"Form2", 1,
    u"All subtitles above 2 lines will be corrected, not only the ones that have above "};
inline constexpr Message Chars{u"Form2", 2, u" chars"};
inline constexpr Message BuyTimeForEvery{
    u"Form2", 3, u"Buy time for every subtitle, not only for the one that have above "};
// %1: the text as typed.
inline constexpr Message BadMaxChars{
    u"Form2", 4, u"Maximum characters per line must be a whole number of 1 or more, not \"%1\"."};
inline constexpr Message BadLettersFor1Min{
    u"Form2", 5, u"Letters for about 1 sec must be a whole number of 1 or more, not \"%1\"."};
// %1: what went wrong, naming the file.
inline constexpr Message ShellVerbFailed{
    u"Form2", 6, u"The option \"Correct subtitles\" could not be changed: %1"};
// The encoding choice that detects each file's encoding.
inline constexpr Message AutoEncoding{u"Form2", 8, u"Auto"};

// %1: the text as typed.
inline constexpr Message BadMinGap{
    u"Form2", 7, u"Minimum gap between subtitles must be a whole number from 1 to 10000 ms, not \"%1\"."};

// %1: the text as typed in any of the frame boxes.
inline constexpr Message BadFrames{u"Form2", 9, u"Frames must be a whole number from 0 to 1000, not \"%1\"."};

// Every message of the window, in number order.
inline constexpr Message All[] = {AllAbove2Lines, Chars, BuyTimeForEvery, BadMaxChars, BadLettersFor1Min,
                                  ShellVerbFailed,
                                  BadMinGap,
                                  AutoEncoding,
                                  BadFrames};
} // namespace Form2Msg
