// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/framethumbnail.h"

#include <algorithm>

namespace {

// Rows read of each block row: 4 of the 30 a 1080p block has.
constexpr int rowsPerBlock = 4;
// Every this many bytes of a row read counts in the spreads.
constexpr int spreadStep = 4;

} // namespace

FrameThumbnail FrameThumbnail::fromPlanes(const Plane &grey, const Plane &blue, const Plane &red)
{
    FrameThumbnail thumbnail;
    if (!grey.bytes || grey.width <= 0 || grey.height <= 0)
        return thumbnail;
    // Column c of the plane belongs to block column c * width / grey.width.
    std::array<int, width + 1> columnStart{};
    for (int x = 0; x <= width; ++x)
        columnStart[std::size_t(x)] = int(std::int64_t(x) * grey.width / width);

    std::array<std::uint32_t, width> sums{};
    std::array<std::uint32_t, levels> greyCounts{};
    for (int y = 0; y < height; ++y) {
        const int top = int(std::int64_t(y) * grey.height / height);
        const int bottom = std::max(top + 1, int(std::int64_t(y + 1) * grey.height / height));
        const int rows = std::min(rowsPerBlock, bottom - top);
        sums.fill(0);
        for (int r = 0; r < rows; ++r) {
            // Spread over the block, not its first rows.
            const int row = std::min(grey.height - 1, top + (2 * r + 1) * (bottom - top) / (2 * rows));
            const std::uint8_t *line = grey.bytes + std::ptrdiff_t(row) * grey.bytesPerRow;
            for (int x = 0; x < width; ++x) {
                std::uint32_t sum = 0;
                const int end = std::min(grey.width, std::max(columnStart[std::size_t(x) + 1],
                                                              columnStart[std::size_t(x)] + 1));
                for (int c = columnStart[std::size_t(x)]; c < end; ++c)
                    sum += line[c];
                sums[std::size_t(x)] += sum;
            }
            for (int c = 0; c < grey.width; c += spreadStep)
                ++greyCounts[line[c] * levels / 256];
        }
        for (int x = 0; x < width; ++x) {
            const int columns = std::max(1, std::min(columnStart[std::size_t(x) + 1], grey.width)
                                                - columnStart[std::size_t(x)]);
            thumbnail.pixels[std::size_t(y * width + x)] = float(sums[std::size_t(x)]) / float(columns * rows);
        }
    }
    std::uint32_t greyTotal = 0;
    for (const std::uint32_t count : greyCounts)
        greyTotal += count;
    for (int i = 0; i < levels; ++i)
        thumbnail.greyShare[std::size_t(i)] = float(greyCounts[std::size_t(i)]) / float(std::max(1u, greyTotal));

    if (!blue.bytes || !red.bytes || blue.width <= 0 || blue.height <= 0 || red.width != blue.width
        || red.height != blue.height)
        return thumbnail;
    std::array<std::uint32_t, levels> blueCounts{};
    std::array<std::uint32_t, levels> redCounts{};
    std::uint32_t colourTotal = 0;
    const int colourRows = std::min(blue.height, height * rowsPerBlock);
    for (int r = 0; r < colourRows; ++r) {
        const int row = int(std::int64_t(2 * r + 1) * blue.height / (2 * colourRows));
        const std::uint8_t *u = blue.bytes + std::ptrdiff_t(row) * blue.bytesPerRow;
        const std::uint8_t *v = red.bytes + std::ptrdiff_t(row) * red.bytesPerRow;
        for (int c = 0; c < blue.width; c += spreadStep) {
            ++blueCounts[u[c] * levels / 256];
            ++redCounts[v[c] * levels / 256];
            ++colourTotal;
        }
    }
    for (std::size_t i = 0; i < std::size_t(levels); ++i) {
        thumbnail.blueShare[i] = float(blueCounts[i]) / float(std::max(1u, colourTotal));
        thumbnail.redShare[i] = float(redCounts[i]) / float(std::max(1u, colourTotal));
    }
    thumbnail.hasColour = true;
    return thumbnail;
}
