// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/linebreak.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

// The text of a WebVTT cue as its viewer sees it, which is what the
// correction measures and breaks: a tag ("<" up to ">", or to the end of
// the text) shows nothing, and an entity ("&amp;", "&nbsp;", "&#233;" ...)
// one character. The correction works on the visible text; the cue's own
// text is then cut where the visible one was, never inside a tag or an
// entity, with its tags kept.
class CueText
{
public:
    // joined: the cue's text with its lines joined by blanks.
    void assign(std::u32string_view joined);

    // No tags, one character per entity, a no-break space for "&nbsp;" and
    // for the blanks of <ruby> text, which is not broken.
    const std::u32string &visible() const { return m_visible; }

    // The cue's text for the whole visible text as broken (blanks made
    // CR LF), every tag where it stood.
    std::u32string whole(std::u32string_view broken) const;

    // The cue's text for a split of the visible text into [0, firstLength)
    // and [secondStart, secondStart + secondLength), each as broken. The
    // tags between the parts go with the words they stand before (end tags
    // with the first part, start tags and timestamps with the second); the
    // tags still open at the end of the first part are closed there and
    // opened again, as written, at the start of the second, so both cues
    // balance their tags. Blanks at the cut go, as in every split.
    void split(qsizetype firstLength, qsizetype secondStart, qsizetype secondLength, std::u32string &first,
               std::u32string &second) const;

private:
    // text[from, to) with the blanks the broken visible text breaks at,
    // from visible position visibleBegin on, made CR LF.
    std::u32string withBreaks(std::u32string_view broken, qsizetype visibleBegin, size_t from, size_t to) const;

    std::u32string m_text;
    std::u32string m_visible;
    std::vector<size_t> m_begin; // per visible character, where it starts in m_text
    std::vector<size_t> m_end;   // and where it ends
};

// The line stats of a cue's text, in characters the viewer sees.
LineStats cueLineStats(QByteArrayView utf8Text);
// Characters read, as readingLength counts them, the viewer's way.
qint64 cueReadingLength(QByteArrayView utf8Text);
qint64 cueReadingLength(std::u32string_view text);
