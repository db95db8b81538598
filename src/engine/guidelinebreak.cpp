// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/guidelinebreak.h"

#include "engine/formattags.h"
#include "engine/weakwords.h"

#include <QChar>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

using View = std::u32string_view;

// A line of one word of at most this many letters reads as left over.
constexpr qint64 ShortWordLetters = 5;

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

void GuidelineBreaker::measure(View text)
{
    const size_t n = text.size();
    m_inTag.assign(n, false);
    m_visibleBefore.resize(n + 1);
    m_lettersBefore.resize(n + 1);
    m_wordsBefore.resize(n + 1);
    m_visibleBefore[0] = m_lettersBefore[0] = m_wordsBefore[0] = 0;
    bool afterBlank = true;
    size_t tagEnd = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i >= tagEnd) {
            if (const size_t tag = tagLengthAt(text, i))
                tagEnd = i + tag;
        }
        const bool visible = i >= tagEnd;
        m_inTag[i] = !visible;
        const char32_t c = text[i];
        const bool startsWord = visible && c != U' ' && afterBlank;
        m_visibleBefore[i + 1] = m_visibleBefore[i] + (visible ? 1 : 0);
        m_lettersBefore[i + 1] = m_lettersBefore[i] + (visible && QChar::isLetterOrNumber(c) ? 1 : 0);
        m_wordsBefore[i + 1] = m_wordsBefore[i] + (startsWord ? 1 : 0);
        if (visible)
            afterBlank = c == U' ';
    }
}

bool GuidelineBreaker::isPoorLine(size_t begin, size_t end) const
{
    const qint64 letters = m_lettersBefore[end] - m_lettersBefore[begin];
    const qint64 words = m_wordsBefore[end] - m_wordsBefore[begin];
    return letters == 0 || (words == 1 && letters <= ShortWordLetters);
}

const std::u32string &GuidelineBreaker::lastWord(View text, size_t end)
{
    size_t last = end;
    while (last > 0 && (m_inTag[last - 1] || text[last - 1] == U' '))
        --last;
    size_t first = last;
    while (first > 0 && (m_inTag[first - 1] || text[first - 1] != U' '))
        --first;
    m_word.clear();
    bool leading = true;
    for (size_t i = first; i < last; ++i) {
        if (m_inTag[i])
            continue;
        if (leading && !QChar::isLetterOrNumber(text[i]))
            continue; // "(the", "¿el", "«le"
        leading = false;
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
    while (last > 0 && (m_inTag[last - 1] || text[last - 1] == U' ' || isClosingQuote(text[last - 1])))
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
    while (i < text.size() && (m_inTag[i] || text[i] == U' '))
        ++i;
    if (i == text.size() || !isDash(text[i]))
        return 0;
    // The next dash after a blank and before a word or a blank.
    for (size_t dash = i + 1; dash + 1 < text.size(); ++dash) {
        if (m_inTag[dash] || !isDash(text[dash]))
            continue;
        const char32_t next = text[dash + 1];
        if (next != U' ' && !QChar::isLetter(next))
            continue;
        size_t blank = dash;
        while (blank > 0 && m_inTag[blank - 1])
            --blank;
        if (blank > 0 && text[blank - 1] == U' ')
            return blank; // 1-based
    }
    return 0;
}

qsizetype GuidelineBreaker::position(View text, qint64 maxLength, qsizetype fallback)
{
    measure(text);
    const auto n = qint64(text.size());
    const qint64 visibleTotal = m_visibleBefore[text.size()];
    m_candidates.clear();
    for (size_t i = text.find(U' '); i != View::npos; i = text.find(U' ', i + 1)) {
        if (qint64(i) > maxLength)
            break;
        if (m_inTag[i] || n - qint64(i) - 1 > maxLength)
            continue;
        // Measured without the blanks next to the break, which nobody sees.
        size_t before = i;
        while (before > 0 && text[before - 1] == U' ' && !m_inTag[before - 1])
            --before;
        size_t after = i + 1;
        while (after < text.size() && text[after] == U' ' && !m_inTag[after])
            ++after;
        m_candidates.push_back({i, m_visibleBefore[before], visibleTotal - m_visibleBefore[after]});
    }
    if (m_candidates.empty()) {
        // A line broken inside a tag shows the tag's raw text on screen.
        return fallback > 0 && m_inTag[size_t(fallback) - 1] ? 0 : fallback;
    }

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
    prefer([&](const Candidate &c) { return !isPoorLine(0, c.blank) && !isPoorLine(c.blank + 1, text.size()); });
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
