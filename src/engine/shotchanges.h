// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// A film's shot changes and frame grid, as plain data for the correction.
struct ShotChanges
{
    // Ascending: the start time, in the player's clock, of the first frame of each new shot.
    std::vector<double> cutSeconds;
    // Frames per second; 0 when unknown (no frame grid: gaps and snaps fall back to milliseconds).
    double frameRate = 0;
    // Where the frame grid starts: frame k starts at firstFrameSeconds + k / frameRate.
    double firstFrameSeconds = 0;
};
