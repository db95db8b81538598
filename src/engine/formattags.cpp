// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/formattags.h"

#include <algorithm>
#include <vector>

namespace {

using View = std::u32string_view;

// Longer than any real tag; bounds the search in text full of "<a".
constexpr size_t MaxTagLength = 256;

bool isAsciiLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

char32_t lower(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

// The tag's name in lower case: "<Font color=red>" gives "font".
std::u32string nameOf(View tag)
{
    std::u32string name;
    for (size_t i = tag[1] == U'/' ? 2 : 1; i < tag.size() && isAsciiLetter(tag[i]); ++i)
        name += lower(tag[i]);
    return name;
}

bool isCarried(const std::u32string &name)
{
    return name == U"i" || name == U"b" || name == U"u" || name == U"font";
}

} // namespace

size_t tagLengthAt(View text, size_t index)
{
    if (text[index] != U'<')
        return 0;
    size_t i = index + 1;
    if (i < text.size() && text[i] == U'/')
        ++i;
    if (i >= text.size() || !isAsciiLetter(text[i]))
        return 0;
    const size_t end = std::min(text.size(), index + MaxTagLength);
    for (; i < end; ++i) {
        if (text[i] == U'>')
            return i + 1 - index;
        if (text[i] == U'<' || text[i] == U'\r' || text[i] == U'\n')
            return 0;
    }
    return 0;
}

void carryOpenTags(std::u32string &first, std::u32string &second)
{
    struct OpenTag
    {
        std::u32string name;
        View text;
    };
    const View text(first);
    if (text.find(U'<') == View::npos)
        return;
    std::vector<OpenTag> open;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t length = tagLengthAt(text, i);
        if (length == 0)
            continue;
        const View tag = text.substr(i, length);
        std::u32string name = nameOf(tag);
        if (isCarried(name)) {
            if (tag[1] != U'/') {
                open.push_back({std::move(name), tag});
            } else {
                const auto match = std::find_if(open.rbegin(), open.rend(),
                                                [&](const OpenTag &o) { return o.name == name; });
                if (match != open.rend())
                    open.erase(std::next(match).base());
            }
        }
        i += length - 1;
    }
    if (open.empty())
        return;

    std::u32string opening;
    std::u32string closing;
    for (auto tag = open.rbegin(); tag != open.rend(); ++tag)
        closing += U"</" + tag->name + U">";
    for (const OpenTag &tag : open)
        opening += tag.text;
    second.insert(0, opening);
    first += closing; // last: the views into first stay valid until here
}
