// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Formatting tags in subtitle text: "<" and a letter, or "</" and a letter,
// up to the next ">" (so "a < b" is no tag).

// Length of the tag that starts at index of text, or 0.
size_t tagLengthAt(std::u32string_view text, size_t index);

// Closes at the end of first every <i>, <b>, <u> and <font ...> still open
// there, and opens them again, as they were written, at the start of
// second, so each half of a split subtitle is formatted on its own.
void carryOpenTags(std::u32string &first, std::u32string &second);
