// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/guidelinebreak.h"

#include "engine/formattags.h"
#include "engine/weakwords.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

namespace {

using View = std::u32string_view;

// A line of one word of at most this many letters reads as left over.
constexpr qint64 ShortWordLetters = 5;

// Most subtitle text is ASCII, which needs no Unicode lookup.
constexpr auto AsciiLetterOrDigit = [] {
    std::array<bool, 0x80> table{};
    for (char32_t c = 0; c < 0x80; ++c)
        table[c] = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
    return table;
}();

bool isLetterOrDigit(char32_t c)
{
    return c < 0x80 ? AsciiLetterOrDigit[c] : QChar::isLetterOrNumber(c);
}

bool isDash(char32_t c)
{
    return c == U'-' || c == U'\u2013' || c == U'\u2014';
}

bool isClosingQuote(char32_t c)
{
    return c == U'"' || c == U'\'' || c == U'\u00BB' || c == U'\u201D' || c == U'\u2019' || c == U')'
        || c == U']';
}

bool isSentenceMark(char32_t c)
{
    // U+037E is the Greek question mark.
    return c == U'.' || c == U'?' || c == U'!' || c == U'\u2026' || c == U'\u037E';
}

// Neither line under a third of the text.
bool isNotLopsided(qint64 first, qint64 second)
{
    const qint64 total = first + second;
    return 3 * first >= total && 3 * second >= total;
}

} // namespace

GuidelineBreaker::GuidelineBreaker(const WeakWordList *weakWords) : m_weakWords(weakWords)
{
    if (weakWords) {
        for (const std::u32string &word : weakWords->words)
            m_longestWeakWord = std::max(m_longestWeakWord, word.size());
    }
}

void GuidelineBreaker::measure(View text, qint64 maxLength)
{
    const auto n = qint64(text.size());
    m_hasTags = false;
    m_candidates.clear();
    qint64 visible = 0;
    qint64 letters = 0;
    qint64 words = 0;
    qint64 blanksBefore = 0; // visible blanks right before this character
    bool startsWord = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U' ') {
            if (qint64(i) <= maxLength && n - qint64(i) - 1 <= maxLength)
                m_candidates.push_back({i, visible - blanksBefore, visible + 1, letters, words});
            ++visible;
            ++blanksBefore;
            startsWord = true;
            continue;
        }
        if (c == U'<') {
            if (const size_t tag = tagLengthAt(text, i)) {
                if (!m_hasTags) {
                    m_hasTags = true;
                    m_inTag.assign(text.size(), 0);
                }
                std::fill_n(m_inTag.begin() + qint64(i), tag, quint8(1));
                i += tag - 1;
                continue;
            }
        }
        ++visible;
        letters += (c < 0x80 ? AsciiLetterOrDigit[c] : QChar::isLetterOrNumber(c)) ? 1 : 0;
        words += startsWord ? 1 : 0;
        startsWord = false;
        blanksBefore = 0;
    }
    m_totalLetters = letters;
    m_totalWords = words;
    for (Candidate &candidate : m_candidates) {
        // Blanks after the break are no more seen than those before it; a
        // run of blanks never reaches into a tag, which starts with "<".
        size_t after = candidate.blank + 1;
        while (after < text.size() && text[after] == U' ')
            ++after;
        candidate.secondVisible = visible - candidate.secondVisible - qint64(after - candidate.blank - 1);
    }
}

bool GuidelineBreaker::isPoorLine(qint64 letters, qint64 words) const
{
    return letters == 0 || (words == 1 && letters <= ShortWordLetters);
}

const std::u32string &GuidelineBreaker::lastWord(View text, size_t end)
{
    size_t last = end;
    while (last > 0 && (inTag(last - 1) || text[last - 1] == U' '))
        --last;
    size_t first = last;
    while (first > 0 && (inTag(first - 1) || text[first - 1] != U' '))
        --first;
    // Leading marks go: "(the", "¿el", "«le".
    while (first < last && (inTag(first) || !isLetterOrDigit(text[first])))
        ++first;
    m_word.clear();
    if (last - first > m_longestWeakWord && !m_hasTags)
        return m_word; // saves folding a word no list holds
    if (!m_hasTags) {
        foldWord(text.substr(first, last - first), m_word);
        return m_word;
    }
    for (size_t i = first; i < last; ++i) {
        if (!inTag(i))
            foldWord(text.substr(i, 1), m_word);
    }
    return m_word;
}

bool GuidelineBreaker::isWeak(View text, size_t end)
{
    return m_weakWords && m_weakWords->words.contains(lastWord(text, end));
}

char32_t GuidelineBreaker::endMark(View text, size_t end) const
{
    size_t last = end;
    while (last > 0 && (inTag(last - 1) || text[last - 1] == U' ' || isClosingQuote(text[last - 1])))
        --last;
    return last > 0 ? text[last - 1] : U'\0';
}

bool GuidelineBreaker::endsSentence(View text, size_t end)
{
    if (!isSentenceMark(endMark(text, end)))
        return false;
    const std::u32string &word = lastWord(text, end);
    // An initial ("J.") or an abbreviation ("Mr.") ends no sentence.
    if (word.size() == 2 && word[1] == U'.' && QChar::isLetter(word[0]))
        return false;
    return !m_weakWords || !m_weakWords->words.contains(word);
}

bool GuidelineBreaker::endsClause(char32_t mark)
{
    return mark == U',' || mark == U';' || mark == U':' || isDash(mark);
}

size_t GuidelineBreaker::secondSpeakerBlank(View text) const
{
    size_t i = 0;
    while (i < text.size() && (inTag(i) || text[i] == U' '))
        ++i;
    if (i == text.size() || !isDash(text[i]))
        return 0;
    // The next dash after a blank and before a word or a blank.
    for (size_t dash = i + 1; dash + 1 < text.size(); ++dash) {
        if (inTag(dash) || !isDash(text[dash]))
            continue;
        const char32_t next = text[dash + 1];
        if (next != U' ' && !QChar::isLetter(next))
            continue;
        size_t blank = dash;
        while (blank > 0 && inTag(blank - 1))
            --blank;
        if (blank > 0 && text[blank - 1] == U' ')
            return blank; // 1-based
    }
    return 0;
}

qsizetype GuidelineBreaker::position(View text, qint64 maxLength, qsizetype fallback)
{
    measure(text, maxLength);
    if (m_candidates.empty()) {
        // A line broken inside a tag shows the tag's raw text on screen.
        return fallback > 0 && inTag(size_t(fallback) - 1) ? 0 : fallback;
    }
    if (m_candidates.size() == 1)
        return qsizetype(m_candidates.front().blank) + 1;

    // Keeps the candidates that pass, unless none does.
    const auto prefer = [this](auto passes) {
        m_kept.clear();
        std::copy_if(m_candidates.begin(), m_candidates.end(), std::back_inserter(m_kept), passes);
        const bool anyPassed = !m_kept.empty();
        if (anyPassed)
            std::swap(m_candidates, m_kept);
        return anyPassed;
    };

    if (const size_t speaker = secondSpeakerBlank(text)) {
        for (const Candidate &candidate : m_candidates) {
            if (candidate.blank + 1 == speaker)
                return qsizetype(speaker);
        }
    }
    prefer([&](const Candidate &c) {
        return !isPoorLine(c.firstLetters, c.firstWords)
            && !isPoorLine(m_totalLetters - c.firstLetters, m_totalWords - c.firstWords);
    });
    const bool atSentenceEnd = prefer([&](const Candidate &c) {
        return isNotLopsided(c.firstVisible, c.secondVisible) && endsSentence(text, c.blank);
    });
    if (!atSentenceEnd) {
        prefer([&](const Candidate &c) {
            return isNotLopsided(c.firstVisible, c.secondVisible) && endsClause(endMark(text, c.blank));
        });
    }
    prefer([&](const Candidate &c) { return !isWeak(text, c.blank); });

    const auto balance = [](const Candidate &c) {
        // The difference, then the top line the shorter, then between two
        // blanks in a row the later one, leaving no blank to start a line:
        // a smaller key wins.
        return std::tuple(std::abs(c.firstVisible - c.secondVisible), c.firstVisible > c.secondVisible,
                          -qint64(c.blank));
    };
    const auto best = std::min_element(m_candidates.begin(), m_candidates.end(),
                                       [&](const Candidate &a, const Candidate &b) { return balance(a) < balance(b); });
    return qsizetype(best->blank) + 1;
}
