// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The words of one language that should not end the first line of a
// subtitle: articles, prepositions, conjunctions, possessives and subject
// pronouns, folded by foldWord. An abbreviation keeps its point ("mr.").
struct WordHash
{
    using is_transparent = void;
    size_t operator()(std::u32string_view word) const;
};

struct WeakWordList
{
    QString language; // "English"
    std::unordered_set<std::u32string, WordHash, std::equal_to<>> words;
};
using WeakWordLists = std::vector<WeakWordList>;

// Appends word in the form the lists hold: lower case, with the typographic
// apostrophe as a plain one.
void foldWord(std::u32string_view word, std::u32string &out);

// The list whose words are most frequent in the text of a subtitle file,
// judged on its first mebibyte; nullptr when none clearly leads.
const WeakWordList *detectLanguage(QByteArrayView utf8, const WeakWordLists &lists);
