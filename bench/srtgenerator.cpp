// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "srtgenerator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Common words first so they come up often; the rest carries the accented
// letters a real multilingual film would.
constexpr std::string_view words[] = {
    "the", "you", "i", "to", "a", "and", "it", "of", "that", "in",
    "is", "me", "what", "this", "we", "he", "for", "my", "on", "have",
    "your", "do", "was", "no", "not", "are", "be", "with", "just", "but",
    "all", "so", "there", "here", "they", "get", "know", "like", "can", "got",
    "right", "if", "out", "about", "now", "come", "go", "want", "one", "up",
    "well", "how", "good", "at", "think", "see", "us", "let", "why", "him",
    "from", "look", "time", "never", "really", "tell", "back", "where", "need", "down",
    "sorry", "thank", "take", "something", "would", "could", "should", "over", "little", "much",
    "before", "after", "tonight", "tomorrow", "morning", "house", "money", "father", "mother", "brother",
    "sister", "friend", "people", "nothing", "everything", "anyone", "remember", "believe", "understand", "happened",
    "listen", "waiting", "coming", "going", "trying", "leave", "stay", "still", "always", "maybe",
    "again", "away", "around", "together", "without", "because", "enough", "another", "place", "world",
    "night", "door", "car", "train", "station", "letter", "island", "harbour", "captain", "doctor",
    "police", "somebody", "everybody", "problem", "minute", "second", "hour", "week", "year", "dinner",
    "café", "déjà", "vu", "naïve", "résumé", "façade", "fiancée", "crème", "brûlée", "soufflé",
    "über", "schön", "grüß", "straße", "mädchen", "können", "señor", "señora", "mañana", "niño",
    "jalapeño", "piñata", "garçon", "français", "leçon", "smørrebrød", "søster", "brød", "kærlighed", "hygge",
    "été", "élève", "où", "voilà", "très", "bientôt", "naïveté", "coöperate", "cliché", "entrée",
    "años", "corazón", "canción", "perdón", "también", "ação", "coração", "não", "irmão", "obrigação",
};

constexpr std::string_view names[] = {
    "Anna", "José", "François", "Jürgen", "Søren", "Chloé", "Mateo", "Núñez",
    "Renée", "Zoë", "Björn", "Inés", "Ørjan", "Frédéric", "Gonçalo", "Müller",
    "Sarah", "Michael", "Hélène", "Raúl", "Åsa", "Çelik", "Dvořák", "Łukasz",
    "Zürich", "København", "Málaga", "Montréal", "Kraków", "Genève", "Tromsø", "São Paulo",
};

constexpr std::string_view numbers[] = {
    "2.5", "1,000", "3", "12", "42", "100", "1999", "10,000",
    "0.75", "7", "24", "3.14", "500", "2,500", "1.5", "250,000",
};

constexpr std::size_t flushBytes = 4u << 20;

std::size_t codePoints(std::string_view text)
{
    return std::size_t(std::count_if(text.begin(), text.end(),
                                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Upper-cases the first letter in place: ASCII, and the Latin-1 letters
// U+00E0..U+00FE (except the division sign), which is all the word lists hold.
void capitaliseFirst(char *text)
{
    auto *bytes = reinterpret_cast<unsigned char *>(text);
    if (bytes[0] >= 'a' && bytes[0] <= 'z')
        bytes[0] = static_cast<unsigned char>(bytes[0] - 0x20);
    else if (bytes[0] == 0xC3 && bytes[1] >= 0xA0 && bytes[1] <= 0xBE && bytes[1] != 0xB7)
        bytes[1] = static_cast<unsigned char>(bytes[1] - 0x20);
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

std::uint64_t splitMix(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

SrtGenerator::SrtGenerator(std::uint64_t seed)
{
    for (auto &word : m_state)
        word = splitMix(seed);
}

// xoshiro256**: our own generator, so a seed gives the same file with every
// standard library.
std::uint64_t SrtGenerator::next()
{
    const auto rotl = [](std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
    const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    return result;
}

std::uint32_t SrtGenerator::below(std::uint32_t bound)
{
    return std::uint32_t(((next() >> 32) * bound) >> 32);
}

std::uint32_t SrtGenerator::between(std::uint32_t low, std::uint32_t high)
{
    return low + below(high - low + 1);
}

bool SrtGenerator::chance(std::uint32_t perMille)
{
    return below(1000) < perMille;
}

bool SrtGenerator::write(const std::string &path, std::uint64_t count, bool useLf, std::string &error)
{
    if (count < 1 || count > maximumCount) {
        error = "the count must be between 1 and " + std::to_string(maximumCount);
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    m_lineEnd = useLf ? "\n" : "\r\n";
    m_buffer.clear();
    m_buffer.reserve(flushBytes + 4096);
    m_wordsLeftInSentence = 0;

    // A film-like pace when there is room; with a million subtitles the day
    // allows only ~86 ms each, so every duration and gap shrinks to fit.
    const std::uint64_t slotMs = std::min<std::uint64_t>(3600, 86'000'000 / count);
    const auto startOf = [&](std::uint64_t index) {
        return slotMs + index * slotMs + below(std::uint32_t(slotMs / 5 + 1));
    };
    const auto fraction = [&](std::uint32_t lowPercent, std::uint32_t highPercent) {
        return std::max<std::uint64_t>(1, slotMs * between(lowPercent, highPercent) / 100);
    };

    bool isOk = true;
    std::uint64_t startMs = startOf(0);
    for (std::uint64_t index = 0; index < count && isOk; ++index) {
        const bool isLast = index + 1 == count;
        const std::uint64_t nextStartMs = isLast ? startMs + 2 * slotMs : startOf(index + 1);
        const std::uint32_t kind = below(100);
        std::uint64_t endMs;
        if (kind < 15 && kind >= 8 && !isLast) {
            endMs = nextStartMs + fraction(5, 40); // overlaps the next subtitle
        } else {
            endMs = startMs + (kind < 8 ? fraction(5, 20) : fraction(55, 90));
            endMs = std::min(endMs, nextStartMs - 1);
        }
        appendSubtitle(index + 1, startMs, endMs);
        startMs = nextStartMs;
        if (m_buffer.size() >= flushBytes) {
            isOk = writeAll(fd, m_buffer.data(), m_buffer.size());
            m_buffer.clear();
        }
    }
    if (isOk)
        isOk = writeAll(fd, m_buffer.data(), m_buffer.size());
    if (!isOk)
        error = "cannot write " + path + ": " + std::strerror(errno);
    if (::close(fd) != 0 && isOk) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        isOk = false;
    }
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    return isOk;
}

void SrtGenerator::appendSubtitle(std::uint64_t number, std::uint64_t startMs, std::uint64_t endMs)
{
    char digits[24];
    const auto converted = std::to_chars(std::begin(digits), std::end(digits), number);
    m_buffer.append(digits, converted.ptr);
    m_buffer += m_lineEnd;
    appendTime(startMs);
    m_buffer += " --> ";
    appendTime(endMs);
    m_buffer += m_lineEnd;

    // Lengths are visible characters; lines over 44 need re-breaking and the
    // 100-160 character subtitles cannot fit two lines, so they get split.
    const auto lineTarget = [&] {
        const std::uint32_t r = below(100);
        if (r < 10)
            return between(12, 24);
        if (r < 76)
            return between(25, 44);
        if (r < 95)
            return between(45, 60);
        return between(61, 80);
    };
    std::array<std::uint32_t, 3> targets{};
    std::size_t lineCount;
    const std::uint32_t shape = below(1000);
    if (shape < 60) {
        const std::uint32_t total = between(100, 160);
        targets[0] = between(std::max(50u, total - 80), std::min(80u, total - 20));
        targets[1] = total - targets[0];
        lineCount = 2;
    } else if (shape < 120) {
        targets = {between(20, 44), between(20, 44), between(20, 44)};
        lineCount = 3;
    } else if (shape < 480) {
        targets = {lineTarget(), lineTarget(), 0};
        lineCount = 2;
    } else {
        targets[0] = lineTarget();
        lineCount = 1;
    }
    const bool isDialogue = lineCount > 1 && chance(150);
    const bool isAllItalic = chance(60);
    for (std::size_t line = 0; line < lineCount; ++line) {
        appendTextLine(targets[line], isDialogue, isAllItalic || chance(25));
        m_buffer += m_lineEnd;
    }
    m_buffer += m_lineEnd;
}

void SrtGenerator::appendTime(std::uint64_t ms)
{
    const auto two = [this](std::uint64_t value) {
        m_buffer += char('0' + value / 10);
        m_buffer += char('0' + value % 10);
    };
    two(ms / 3'600'000);
    m_buffer += ':';
    two(ms / 60'000 % 60);
    m_buffer += ':';
    two(ms / 1000 % 60);
    m_buffer += ',';
    m_buffer += char('0' + ms / 100 % 10);
    two(ms % 100);
}

void SrtGenerator::appendTextLine(std::uint32_t targetLength, bool isDialogue, bool isItalic)
{
    // The tags count against the 80 characters too, so no raw line is longer.
    if (isItalic) {
        m_buffer += "<i>";
        targetLength = targetLength > 17 ? targetLength - 7 : 10;
    }
    std::size_t length = 0;
    if (isDialogue) {
        m_buffer += "- ";
        length = 2;
        m_wordsLeftInSentence = 0;
    }
    bool isFirst = true;
    std::string token;
    for (;;) {
        // Sentence state changes only once the token fits, so a token pushed
        // off the line does not take a full stop with it.
        std::uint32_t wordsLeft = m_wordsLeftInSentence;
        const bool isSentenceStart = wordsLeft == 0;
        if (isSentenceStart)
            wordsLeft = between(2, 12);
        token.clear();
        const std::uint32_t kind = below(1000);
        bool isName = false;
        if (kind < 30) {
            token = numbers[below(std::size(numbers))];
        } else if (kind < 40) {
            token += char('A' + below(26));
            token += ". ";
            token += char('A' + below(26));
            token += ". ";
            token += names[below(std::size(names))];
            isName = true;
        } else if (kind < 100) {
            token = names[below(std::size(names))];
            isName = true;
        } else {
            token = words[below(std::size(words))];
        }
        const bool capitalise = isSentenceStart || isName || token == "i";
        --wordsLeft;
        if (wordsLeft == 0) {
            const std::uint32_t end = below(100);
            token += end < 55 ? "." : end < 75 ? "?" : end < 85 ? "!" : end < 93 ? "..." : "…";
        } else if (chance(80)) {
            token += ',';
        } else if (chance(20)) {
            token += ';';
        }
        const std::size_t tokenLength = codePoints(token);
        if (!isFirst && length + 1 + tokenLength > targetLength)
            break;
        if (!isFirst) {
            m_buffer += ' ';
            ++length;
        }
        appendToken(token, capitalise);
        length += tokenLength;
        isFirst = false;
        m_wordsLeftInSentence = wordsLeft;
    }
    if (isItalic)
        m_buffer += "</i>";
}

void SrtGenerator::appendToken(std::string_view token, bool capitalise)
{
    const std::size_t at = m_buffer.size();
    m_buffer += token;
    if (capitalise)
        capitaliseFirst(m_buffer.data() + at);
}
