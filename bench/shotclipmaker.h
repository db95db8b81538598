// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Makes films whose cuts are known, with the ffmpeg program: shots of
// moving, textured pictures (fractals, cellular automata, test patterns,
// slow and fast pans over wide ones) with film grain, joined by hard cuts; and what
// must not count as a cut: flashes of two frames inside shots, and fades
// through black from one shot to the next.
struct ShotClipPlan
{
    QString rate = QStringLiteral("25"); // as ffmpeg takes it: "25", "24000/1001"
    int shots = 50;
    int width = 640;  // the scenes are drawn at 640 x 360 and scaled to this
    int height = 360;
    std::uint32_t seed = 1;
    bool withSound = false; // stereo AAC tones beside the picture
};

struct ShotClip
{
    double frameRate = 0;
    std::vector<std::int64_t> cutFrames; // first frame of each new shot after a hard cut
    std::int64_t frames = 0;
    int flashes = 0;
    int fades = 0; // fades through black, each between two shots
    int pans = 0;  // shots that are fast pans
};

// Writes the clip to path (H.264 in MP4 at up to 8 Mbit/s, as films are
// streamed or ripped, B-frames, a keyframe at most 10 s apart); an error text
// when ffmpeg failed.
QString makeShotClip(const ShotClipPlan &plan, const QString &path, ShotClip &clip);
