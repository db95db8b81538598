// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/weakwords.h"

#include "document/unicodetext.h"
#include "engine/formattags.h"

#include <QChar>

#include <algorithm>
#include <unordered_map>

namespace {

// Enough text to tell languages apart, little enough to cost nothing next to
// correcting a large file.
constexpr qsizetype SampleBytes = 1 << 20;
// A list leads clearly with this many hits and half as many again as the
// next one: French, Spanish and Italian share many short words.
constexpr qint64 MinimumHits = 10;
constexpr qint64 LeadNumerator = 3;
constexpr qint64 LeadDenominator = 2;

} // namespace

size_t WordHash::operator()(std::u32string_view word) const
{
    // FNV-1a over the characters: words are short, and a general byte hash
    // costs more than the lookup it serves.
    size_t hash = 14695981039346656037ull;
    for (const char32_t c : word)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

void foldWord(std::u32string_view word, std::u32string &out)
{
    size_t at = out.size();
    out.resize(at + word.size());
    for (const char32_t c : word) {
        if (c < 0x80)
            out[at++] = c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
        else
            out[at++] = c == U'\u2019' ? U'\'' : QChar::toLower(c);
    }
}

const WeakWordList *detectLanguage(QByteArrayView utf8, const WeakWordLists &lists)
{
    if (lists.empty())
        return nullptr;
    qsizetype size = std::min(utf8.size(), SampleBytes);
    while (size > 0 && size < utf8.size() && (quint8(utf8[size]) & 0xC0) == 0x80)
        --size; // not in the middle of a character
    std::u32string text;
    appendUtf8(text, utf8.first(size));

    // Which lists hold each word, as one bit per list; lists past the 64th
    // take no part.
    std::unordered_map<std::u32string_view, quint64, WordHash> owners;
    const size_t listCount = std::min<size_t>(lists.size(), 64);
    for (size_t i = 0; i < listCount; ++i) {
        for (const std::u32string &word : lists[i].words)
            owners[word] |= quint64(1) << i;
    }

    std::vector<qint64> hits(listCount, 0);
    std::u32string word;
    for (size_t i = 0; i < text.size();) {
        if (const size_t tag = tagLengthAt(text, i)) {
            i += tag; // "<i>" is no word
            continue;
        }
        if (!QChar::isLetter(text[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && QChar::isLetter(text[i]))
            ++i;
        word.clear();
        foldWord(std::u32string_view(text).substr(start, i - start), word);
        if (const auto found = owners.find(word); found != owners.end()) {
            for (size_t list = 0; list < listCount; ++list)
                hits[list] += (found->second >> list) & 1;
        }
    }

    size_t best = 0;
    qint64 second = 0;
    for (size_t list = 1; list < listCount; ++list) {
        if (hits[list] > hits[best]) {
            second = hits[best];
            best = list;
        } else {
            second = std::max(second, hits[list]);
        }
    }
    if (hits[best] < MinimumHits || hits[best] * LeadDenominator < second * LeadNumerator)
        return nullptr;
    return &lists[best];
}
