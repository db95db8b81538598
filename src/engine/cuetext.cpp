// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cuetext.h"

#include <algorithm>

namespace {

using View = std::u32string_view;

// Longer than any character reference's name.
constexpr size_t MaxEntityName = 32;

template<typename Char>
bool isEntityCharacter(Char c)
{
    return (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z')) || (c >= Char('0') && c <= Char('9'))
        || c == Char('#');
}

// Length of the entity ("&", a name, ";") at text[i], or 0.
template<typename Char>
size_t entityLength(const Char *text, size_t size, size_t i)
{
    size_t j = i + 1;
    while (j < size && j - i <= MaxEntityName && isEntityCharacter(text[j]))
        ++j;
    return j > i + 1 && j < size && text[j] == Char(';') ? j + 1 - i : 0;
}

// Length of the tag at text[i]: up to its ">", or to the end of the text,
// as WebVTT reads a "<" that is never closed.
template<typename Char>
size_t tagLength(const Char *text, size_t size, size_t i)
{
    size_t j = i + 1;
    while (j < size && text[j] != Char('>'))
        ++j;
    return j < size ? j + 1 - i : size - i;
}

bool isEndTag(View tag)
{
    return tag.size() > 1 && tag[1] == U'/';
}

// "<c.yellow>" and "</c>" give "c", "<v Anna>" gives "v"; a timestamp
// ("<00:01.000>") gives nothing.
View tagName(View tag)
{
    const size_t begin = isEndTag(tag) ? 2 : 1;
    size_t end = begin;
    while (end < tag.size() && tag[end] != U'.' && tag[end] != U'>' && tag[end] != U' ' && tag[end] != U'\t'
           && tag[end] != U'\r' && tag[end] != U'\n' && tag[end] != U'\f')
        ++end;
    const View name = tag.substr(begin, end - begin);
    return !name.empty() && name[0] >= U'0' && name[0] <= U'9' ? View() : name;
}

// The tags WebVTT knows; others show nothing open or closed, so they are
// not carried over a split.
bool isCarried(View name)
{
    return name == U"c" || name == U"i" || name == U"b" || name == U"u" || name == U"v" || name == U"lang"
        || name == U"ruby" || name == U"rt";
}

char32_t shownCharacter(View entity)
{
    // Never a blank, so no line is broken inside an entity; never "<",
    // which the guideline breaker would take for a tag.
    if (entity == U"&amp;")
        return U'&';
    if (entity == U"&gt;")
        return U'>';
    if (entity == U"&nbsp;")
        return U'\u00A0';
    if (entity == U"&lrm;")
        return U'\u200E';
    if (entity == U"&rlm;")
        return U'\u200F';
    return U'\uFFFC';
}

template<typename Char>
LineStats statsOf(const Char *text, size_t size)
{
    LineStats stats;
    qint64 line = 0;
    for (size_t i = 0; i < size;) {
        const Char c = text[i];
        if (c == Char('<')) {
            i += tagLength(text, size, i);
            continue;
        }
        if (c == Char('\r') && i + 1 < size && text[i + 1] == Char('\n')) {
            stats.longestLine = std::max(stats.longestLine, line);
            ++stats.lineBreaks;
            stats.length += 2;
            line = 0;
            i += 2;
            continue;
        }
        size_t length = c == Char('&') ? entityLength(text, size, i) : 0;
        if (length == 0) {
            length = 1;
            // Bytes that continue a UTF-8 character count with it.
            if constexpr (sizeof(Char) == 1) {
                while (i + length < size && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
                    ++length;
            }
        }
        ++line;
        ++stats.length;
        i += length;
    }
    stats.longestLine = std::max(stats.longestLine, line);
    return stats;
}

} // namespace

void CueText::assign(View joined)
{
    m_text.assign(joined);
    m_visible.clear();
    m_begin.clear();
    m_end.clear();
    const size_t size = m_text.size();
    int rubyDepth = 0;
    for (size_t i = 0; i < size;) {
        const char32_t c = m_text[i];
        if (c == U'<') {
            const size_t length = tagLength(m_text.data(), size, i);
            const View tag = View(m_text).substr(i, length);
            if (tagName(tag) == U"ruby")
                rubyDepth = isEndTag(tag) ? std::max(0, rubyDepth - 1) : rubyDepth + 1;
            i += length;
            continue;
        }
        size_t length = c == U'&' ? entityLength(m_text.data(), size, i) : 0;
        char32_t shown = c;
        if (length > 0)
            shown = shownCharacter(View(m_text).substr(i, length));
        else if (c == U' ' && rubyDepth > 0)
            shown = U'\u00A0';
        length = std::max<size_t>(length, 1);
        m_visible.push_back(shown);
        m_begin.push_back(i);
        m_end.push_back(i + length);
        i += length;
    }
}

std::u32string CueText::withBreaks(View broken, qsizetype visibleBegin, size_t from, size_t to) const
{
    // Breaking turned a visible blank into CR LF, one character more.
    std::vector<size_t> breaks;
    size_t added = 0;
    for (size_t j = 0; j + 1 < broken.size(); ++j) {
        if (broken[j] == U'\r' && broken[j + 1] == U'\n') {
            breaks.push_back(m_begin[size_t(visibleBegin) + j - added]);
            ++added;
            ++j;
        }
    }
    std::u32string text;
    text.reserve(to - from + added);
    auto next = breaks.begin();
    for (size_t i = from; i < to; ++i) {
        if (next != breaks.end() && *next == i) {
            text += U"\r\n";
            ++next;
        } else {
            text += m_text[i];
        }
    }
    return text;
}

std::u32string CueText::whole(View broken) const
{
    return withBreaks(broken, 0, 0, m_text.size());
}

void CueText::split(qsizetype firstLength, qsizetype secondStart, qsizetype secondLength, std::u32string &first,
                    std::u32string &second) const
{
    const View text(m_text);
    const size_t firstEnd = m_end[size_t(firstLength) - 1];
    const size_t secondBegin = m_begin[size_t(secondStart)];
    const size_t secondEnd = m_end[size_t(secondStart + secondLength) - 1];
    std::u32string head = withBreaks(first, 0, 0, firstEnd);
    std::u32string tail = withBreaks(second, secondStart, secondBegin, secondEnd);

    // Between the parts and after the second stand blanks and tags; the
    // blanks go, the tags stay with the words they stand before.
    std::u32string toSecond;
    for (size_t i = firstEnd; i < text.size();) {
        if (i == secondBegin) {
            i = secondEnd;
            continue;
        }
        if (text[i] != U'<') {
            ++i;
            continue;
        }
        const View tag = text.substr(i, tagLength(text.data(), text.size(), i));
        if (i > secondBegin)
            tail += tag;
        else if (isEndTag(tag))
            head += tag;
        else
            toSecond += tag;
        i += tag.size();
    }

    std::vector<std::u32string> open; // the carried tags open at the end of the first part, as written
    for (size_t i = 0; i < head.size();) {
        if (head[i] != U'<') {
            ++i;
            continue;
        }
        const View tag = View(head).substr(i, tagLength(head.data(), head.size(), i));
        const View name = tagName(tag);
        if (isCarried(name)) {
            if (!isEndTag(tag)) {
                open.emplace_back(tag);
            } else {
                const auto match = std::find_if(open.rbegin(), open.rend(),
                                                [&](const std::u32string &o) { return tagName(o) == name; });
                if (match != open.rend())
                    open.erase(std::next(match).base());
            }
        }
        i += tag.size();
    }
    for (auto tag = open.rbegin(); tag != open.rend(); ++tag)
        head += U"</" + std::u32string(tagName(*tag)) + U">";
    std::u32string opening;
    for (const std::u32string &tag : open)
        opening += tag;
    first = std::move(head);
    second = opening + toSecond + tail;
}

LineStats cueLineStats(QByteArrayView utf8Text)
{
    return statsOf(utf8Text.data(), size_t(utf8Text.size()));
}

qint64 cueReadingLength(QByteArrayView utf8Text)
{
    const LineStats stats = cueLineStats(utf8Text);
    return stats.length - stats.lineBreaks;
}

qint64 cueReadingLength(View text)
{
    const LineStats stats = statsOf(text.data(), text.size());
    return stats.length - stats.lineBreaks;
}
