// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/readerror.h"
#include "document/srtparser.h"

#include <QByteArrayView>

#include <optional>

// Where a cue stands in the text of its WebVTT file, as byte offsets from
// the start of the text (after any byte-order mark), so that it can be
// written back changing only what the correction changed.
struct WebVttCueLayout
{
    qsizetype blockBegin = 0; // the identifier line, or the time line when there is none
    qsizetype startBegin = 0; // the start time as written
    qsizetype startEnd = 0;
    qsizetype endBegin = 0;   // the end time as written; the settings follow it
    qsizetype endEnd = 0;
    qsizetype textBegin = 0;  // after the time line's line end
    qsizetype blockEnd = 0;   // after the last text line, before its line end
    qint8 startHourDigits = 0; // 0: written as minutes and seconds
    qint8 endHourDigits = 0;
    bool startLenient = false; // read only by the LenientTimes variants
    bool endLenient = false;
};

// Reads WebVTT text cue by cue, in one pass, as the format reads it: the
// signature line and the header after it, then blocks apart by blank lines.
// A block whose first line holds "-->", or whose second does (the first
// being the cue's identifier), is a cue: a time line, then text lines up to
// a blank line. Every other block (NOTE, STYLE, REGION) is passed over, as
// is a cue without text, which the reader leaves to the file's layout. A
// line that ends the text of a cue by holding "-->" starts the next cue
// when it is a time line, and is refused otherwise, as is a time line that
// cannot be read; nothing of the file is ever dropped. Lines end as in SRT
// files; entries carry their text lines joined by CR LF. With lenientTimes,
// times in the common variants the SRT reader knows are read too.
class WebVttParser
{
public:
    explicit WebVttParser(QByteArrayView utf8, bool lenientTimes = false, bool keepUtf8 = false);

    // The next cue, with or without text; false at the end and on an error.
    bool next(SrtEntry &entry);
    // Where the cue next() gave last stands.
    const WebVttCueLayout &layout() const { return m_layout; }

    const std::optional<ReadError> &error() const { return m_error; }
    qsizetype position() const { return m_position; }
    qint64 lenientTimeLines() const { return m_lenientTimeLines; }

private:
    struct Line
    {
        QByteArrayView text;
        qsizetype begin = 0;
        qint64 number = 0;
    };
    // The times of a time line, or why it was refused.
    struct Timing
    {
        double startSeconds = 0.0;
        double endSeconds = 0.0;
        bool read = false;
        bool lenient = false; // read, by the LenientTimes variants only
        bool lenientWouldRead = false;
    };

    bool takeLine(Line &line);
    void putBack(const Line &line);
    bool readHeader();
    // Reads the time line and the text of a cue whose block starts at
    // blockBegin.
    bool readCue(const Line &timeLine, qsizetype blockBegin, SrtEntry &entry);
    Timing readTimeLine(const Line &line, WebVttCueLayout &layout);
    bool fail(ReadError::Kind kind, const Line &line, bool lenientWouldRead = false);

    QByteArrayView m_data;
    qsizetype m_position = 0;
    qint64 m_lineNumber = 0;
    std::optional<Line> m_heldLine;
    bool m_headerRead = false;
    bool m_finished = false;
    bool m_lenientTimes = false;
    bool m_keepUtf8 = false;
    qint64 m_lenientTimeLines = 0;
    WebVttCueLayout m_layout;
    std::optional<ReadError> m_error;
};
