// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/textencoding.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class SubtitleRows;
class WebVttLayout;

// Writes corrected rows back into the WebVTT file they were read from, as
// UTF-8. Every block between cues (header, NOTE, STYLE, REGION, blank
// lines) comes back byte for byte, in place, and so does every part of a
// cue the row did not change: a row of cue n keeps its identifier, its
// settings, its time form and its line ends, and writes anew only a time
// or a text that differs from the cue as read. Further rows of a cue (the
// second part of a split) become cues of their own with its settings and
// time form and no identifier; a row added by hand (tag 0) is a cue with
// neither. No text line is written empty or with "-->", which would end
// the cue for every reader: empty lines go, and "-->" is written "--&gt;".
// The bytes can be taken whole, or drained piece by piece.
class WebVttWriter
{
public:
    // Starts out with the UTF-8 byte-order mark when encoding has one, and
    // the file's header.
    WebVttWriter(std::shared_ptr<const WebVttLayout> layout, const FileEncoding &encoding);

    // tag: the ordinal of the cue as read that the row came from; rows
    // come in the order of the list.
    void writeRow(int tag, qint64 startMs, qint64 endMs, QByteArrayView utf8Text);
    // What follows the last row: the blocks after the cues written.
    void finish();

    qsizetype rowCount() const { return m_rowCount; }
    QByteArrayView pending() const { return m_buffer; }
    void discardPending() { m_buffer.truncate(0); }
    QByteArray take() { return std::exchange(m_buffer, QByteArray()); }

private:
    void append(QByteArrayView bytes);
    // Writes the blocks before the cues after the last written, up to and
    // including ordinal's.
    void writeGapsUpTo(qsizetype ordinal);
    // Ends what is written with a blank line, before a cue of its own.
    void separate();
    void writeTime(qint64 milliseconds, int hourDigits);
    void writeText(QByteArrayView utf8Text, QByteArrayView lineEnd);

    std::shared_ptr<const WebVttLayout> m_layout;
    QByteArray m_buffer;
    qsizetype m_rowCount = 0;
    qsizetype m_lastCue = 0;     // the ordinal last written from its own block
    qsizetype m_gapsWritten = 1; // the header is the block before the first cue
    qsizetype m_atGapOf = 1;     // what is written ends with the block before this cue; 0: with a cue
    int m_lineEndsAtEnd = 0;     // line ends that end what is written, counted up to two
    int m_hourDigits = 2;        // the time form of the cue written last
};

// The bytes of a whole WebVTT file holding rows.
QByteArray webVttFileBytes(const SubtitleRows &rows, std::shared_ptr<const WebVttLayout> layout,
                           const FileEncoding &encoding);
