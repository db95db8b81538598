// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// What the floor pass saw of the file.
struct FloorPassResult
{
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint64_t lines = 0;
};

// The least an in-place correction must do: read the file with one read into
// one buffer, find the line ends (CR LF, lone CR, lone LF) and write every line
// followed by CR LF to outputPath. Plain POSIX, no Qt, so it is a true floor.
// On failure returns false and sets error.
// Writes all of data to fd, going on after interruptions.
bool writeAll(int fd, const char *data, std::size_t size);

bool runFloorPass(const std::string &inputPath, const std::string &outputPath, FloorPassResult &result,
                  std::string &error);
