// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/readerror.h"
#include "document/webvtt/webvttparser.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <vector>

struct DecodedSubtitles;

// A WebVTT file as read, beside its rows: its text and where each cue with
// text stands in it, numbered as the correction numbers them (1, 2, 3 ...),
// so that what the correction did not change is written back byte for byte.
// Only WebVTT files have one, so SRT rows cost nothing more.
class WebVttLayout
{
public:
    // The layout of decoded's text, which it keeps a share of; nullptr,
    // with error, for text the WebVTT reader refuses.
    static std::shared_ptr<const WebVttLayout> read(const DecodedSubtitles &decoded, bool lenientTimes,
                                                    ReadError &error);

    qsizetype cueCount() const { return qsizetype(m_cues.size()); }
    const WebVttCueLayout &cue(qsizetype ordinal) const { return m_cues[std::size_t(ordinal - 1)].layout; }
    // The times as read, in whole milliseconds as the rows keep them.
    qint64 startMs(qsizetype ordinal) const { return m_cues[std::size_t(ordinal - 1)].startMs; }
    qint64 endMs(qsizetype ordinal) const { return m_cues[std::size_t(ordinal - 1)].endMs; }

    QByteArrayView text() const { return QByteArrayView(m_storage).sliced(m_offset); }
    // What stands before cue ordinal: the header (and any block after it)
    // for the first, else from the line end of the cue before on. Ordinal
    // cueCount() + 1 gives what follows the last cue.
    QByteArrayView gapBefore(qsizetype ordinal) const;
    // The line end of the cue's time line.
    QByteArrayView lineEndOf(qsizetype ordinal) const;
    // The line end of the signature line, for lines of new cues.
    QByteArrayView lineEnd() const { return m_lineEnd; }

private:
    struct Cue
    {
        WebVttCueLayout layout;
        qint64 startMs = 0;
        qint64 endMs = 0;
    };

    QByteArray m_storage;
    qsizetype m_offset = 0;
    std::vector<Cue> m_cues;
    QByteArrayView m_lineEnd;
};
