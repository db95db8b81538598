// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Writes large, deterministic SRT files whose text and timing look like a real
// film's and give the correction something to do on most subtitles.
class SrtGenerator
{
public:
    // Every subtitle still gets 2 ms or more in one day; the reader refuses
    // hours above 23.
    static constexpr std::uint64_t maximumCount = 40'000'000;

    explicit SrtGenerator(std::uint64_t seed);

    // Writes count subtitles to path (created or truncated). On failure returns
    // false and sets error.
    bool write(const std::string &path, std::uint64_t count, bool useLf, std::string &error);

private:
    std::uint64_t next();
    std::uint32_t below(std::uint32_t bound);
    std::uint32_t between(std::uint32_t low, std::uint32_t high);
    bool chance(std::uint32_t perMille);

    void appendSubtitle(std::uint64_t number, std::uint64_t startMs, std::uint64_t endMs);
    void appendTime(std::uint64_t ms);
    void appendTextLine(std::uint32_t targetLength, bool isDialogue, bool isItalic);
    void appendToken(std::string_view token, bool capitalise);

    std::uint64_t m_state[4];
    std::string m_buffer;
    std::string_view m_lineEnd;
    std::uint32_t m_wordsLeftInSentence = 0; // 0: the next token opens a sentence
};
