// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// What a shot detector compares of a frame: its brightness shrunk to 64 x 36
// block means, whatever the frame's size or shape (small enough to compare in
// microseconds, large enough to follow a pan), and how its brightness and
// colours are spread (which motion leaves alone, and which tells apart two
// fine textures whose block means are alike).
struct FrameThumbnail
{
    static constexpr int width = 64;
    static constexpr int height = 36;
    static constexpr int levels = 64; // bins of 4 levels of an 8-bit value

    std::array<float, width * height> pixels{}; // 0 to 255
    // Of the pixels read, each adding up to 1; the colours' all 0 without colour.
    std::array<float, levels> greyShare{};
    std::array<float, levels> blueShare{}; // U, Cb
    std::array<float, levels> redShare{};  // V, Cr
    bool hasColour = false;

    float at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }

    // An 8-bit plane of planeWidth x planeHeight bytes, rows bytesPerRow apart.
    struct Plane
    {
        const std::uint8_t *bytes = nullptr;
        int bytesPerRow = 0;
        int width = 0;
        int height = 0;
    };
    // From the brightness plane and the two colour planes (empty: none). Reads
    // a few rows of each block, every byte of those rows: a fast pass over a
    // 1080p frame that still averages out the codec's noise.
    static FrameThumbnail fromPlanes(const Plane &grey, const Plane &blue, const Plane &red);
};
