// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/message.h"

// Messages of the Options dialog, element Form2_Module of a language file.
namespace Form2Msg {
inline constexpr Message AllAbove2Lines{
    u"Form2", 1,
    u"All subtitles above 2 lines will be corrected, not only theh ones that have above "};
inline constexpr Message Chars{u"Form2", 2, u" chars"};
inline constexpr Message BuyTimeForEvery{
    u"Form2", 3, u"Buy time for every subtitle, not only for the one that have above "};

// Every message of the window, in number order.
inline constexpr Message All[] = {AllAbove2Lines, Chars, BuyTimeForEvery};
} // namespace Form2Msg
