// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

struct WeakWordList;

// Chooses the blank at which a text is broken into two lines as subtitling
// guidelines advise. It keeps its work space between calls, so one breaker
// serves a whole correction run without allocating.
class GuidelineBreaker
{
public:
    // weakWords: the subtitles' language, or nullptr when it is not known.
    explicit GuidelineBreaker(const WeakWordList *weakWords);

    // The 1-based position of the blank to break text at. Only blanks that
    // leave both lines within maxLength and are not inside a tag are
    // considered, and among them, in order: the blank before a second
    // speaker's dash; no line that is a lone short word or has no letter;
    // a sentence end, else a comma or the like, leaving neither line under
    // a third of the text; no first line ending on a weak word; the most
    // balanced lines, the bottom one the longer at a tie. fallback when no
    // blank qualifies, or 0 (no break) when fallback is inside a tag.
    qsizetype position(std::u32string_view text, qint64 maxLength, qsizetype fallback);

private:
    struct Candidate
    {
        size_t blank;        // index of the blank
        qint64 firstVisible; // characters shown, tags and the blanks at the break left out
        qint64 secondVisible;
        qint64 firstLetters; // letters or digits
        qint64 firstWords;
    };

    // Finds the blanks that keep both lines within maxLength, with the
    // measures of their lines, in one pass.
    void measure(std::u32string_view text, qint64 maxLength);
    bool inTag(size_t index) const { return m_hasTags && m_inTag[index]; }
    bool isPoorLine(qint64 letters, qint64 words) const;
    // The last word of text[0, end), folded, leading marks removed; empty
    // when it is longer than any word it is looked up for.
    const std::u32string &lastWord(std::u32string_view text, size_t end);
    bool isWeak(std::u32string_view text, size_t end);
    // The mark that ends text[0, end), closing quotes and tags aside.
    char32_t endMark(std::u32string_view text, size_t end) const;
    bool endsSentence(std::u32string_view text, size_t end);
    static bool endsClause(char32_t mark);
    size_t secondSpeakerBlank(std::u32string_view text) const;

    const WeakWordList *m_weakWords;
    // A longer last word is no weak word, abbreviation or initial ("J.").
    size_t m_longestWeakWord = 2;
    bool m_hasTags = false;
    std::vector<quint8> m_inTag; // per character, only when the text has a "<"
    qint64 m_totalLetters = 0;
    qint64 m_totalWords = 0;
    std::vector<Candidate> m_candidates;
    std::vector<Candidate> m_kept;
    std::u32string m_word;
};
