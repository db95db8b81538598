// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// VideoPlayer's tags on what it asks of mpv: answers come back through the
// event loop, each with the tag of what it answers.
namespace MpvRequest {

enum Observed : quint64 { TimePosition = 1, Pause, Duration, Width, Height };
constexpr quint64 seekCommand = 100;
// Load commands carry this plus the number of the open() that sent them.
constexpr quint64 loadCommand = 1000;
// Property replies carry what was asked in the low byte and the number of
// the open or landing they belong to above it.
enum Asked : quint64 { TrackList = 1, FileDuration, FrameRate, LandingPosition, LandingAtEnd };
inline quint64 replyFor(quint64 serial, Asked asked)
{
    return serial << 8 | asked;
}

} // namespace MpvRequest
