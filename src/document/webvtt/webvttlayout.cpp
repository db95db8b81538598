// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/webvtt/webvttlayout.h"

#include "document/subtitlefile.h"
#include "document/timecode.h"

namespace {

// The line end at offset of text: CR LF, CR or LF; "\n" when there is none.
QByteArrayView lineEndAt(QByteArrayView text, qsizetype offset)
{
    if (offset + 1 < text.size() && text[offset] == '\r' && text[offset + 1] == '\n')
        return "\r\n";
    if (offset < text.size() && text[offset] == '\r')
        return "\r";
    return "\n";
}

} // namespace

std::shared_ptr<const WebVttLayout> WebVttLayout::read(const DecodedSubtitles &decoded, bool lenientTimes,
                                                        ReadError &error)
{
    auto layout = std::make_shared<WebVttLayout>();
    layout->m_storage = decoded.storage;
    layout->m_offset = decoded.offset;
    const QByteArrayView text = layout->text();
    WebVttParser parser(text, lenientTimes, true);
    SrtEntry entry;
    layout->m_cues.reserve(std::size_t(expectedSubtitleRows(text)));
    while (parser.next(entry)) {
        if (!entry.utf8Text.empty())
            layout->m_cues.push_back({parser.layout(), SecondsToMilliseconds(entry.startSeconds),
                                      SecondsToMilliseconds(entry.endSeconds)});
    }
    if (parser.error()) {
        error = *parser.error();
        return nullptr;
    }
    qsizetype signatureEnd = 0;
    while (signatureEnd < text.size() && text[signatureEnd] != '\r' && text[signatureEnd] != '\n')
        ++signatureEnd;
    layout->m_lineEnd = lineEndAt(text, signatureEnd);
    return layout;
}

QByteArrayView WebVttLayout::gapBefore(qsizetype ordinal) const
{
    const QByteArrayView all = text();
    const qsizetype begin = ordinal == 1 ? 0 : cue(ordinal - 1).blockEnd;
    const qsizetype end = ordinal > cueCount() ? all.size() : cue(ordinal).blockBegin;
    return all.sliced(begin, end - begin);
}

QByteArrayView WebVttLayout::lineEndOf(qsizetype ordinal) const
{
    const WebVttCueLayout &layout = cue(ordinal);
    const QByteArrayView all = text();
    // The time line ends right before the text.
    const qsizetype textBegin = layout.textBegin;
    if (textBegin >= 2 && all[textBegin - 2] == '\r' && all[textBegin - 1] == '\n')
        return "\r\n";
    return textBegin >= 1 && all[textBegin - 1] == '\r' ? QByteArrayView("\r") : QByteArrayView("\n");
}
