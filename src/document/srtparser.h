// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/readerror.h"
#include "document/rows/subtitlerows.h"
#include "document/subtitlerow.h"

#include <QByteArrayView>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// One stretch of an SRT file: a time line and the text lines that follow it
// up to the next time line. Text counts code points, hence UTF-32.
struct SrtEntry
{
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    std::u32string text; // committed lines joined by CR LF, none at the end
    std::string utf8Text; // the same as UTF-8, instead, from a parser told so
};

// Reads SRT text entry by entry, in one pass and without holding more than
// the entry being collected.
//
// A line ends at CR LF, a lone CR or a lone LF. A time line has its first
// "-->" within its first 16 characters; every other line is text. A text
// line enters the entry only once the line after it is read and is not a
// time line (the one-line delay), so the subtitle number before a time line
// is dropped; a line in that place that is neither blank nor all digits is
// kept as the entry's last text line, so a missing number never costs a
// line of dialogue. Blank lines are dropped. With lenientTimes, a time that
// the usual rule refuses is read in the common variants too.
class SrtParser
{
public:
    // With keepUtf8, entries carry their text in utf8Text, as it stands in
    // the file, for a reader that never measures it.
    explicit SrtParser(QByteArrayView utf8, bool lenientTimes = false, bool keepUtf8 = false);

    // The next entry: first the text before the first time line (times 0),
    // then one entry per time line. False at the end and on an error.
    bool next(SrtEntry &entry);

    const std::optional<ReadError> &error() const { return m_error; }
    // The bytes read so far; once next() has returned, the parser never
    // looks before them again.
    qsizetype position() const { return m_position; }
    // Time lines so far that only the common variants could read.
    qint64 lenientTimeLines() const { return m_lenientTimeLines; }

private:
    bool nextLine(QByteArrayView &line);
    void commit(QByteArrayView line);
    void finishEntry(SrtEntry &entry);

    QByteArrayView m_data;
    qsizetype m_position = 0;
    qint64 m_lineNumber = 0;

    QByteArrayView m_previousLine;
    QByteArrayView m_currentLine;
    std::u32string m_pending;
    std::string m_pendingUtf8;
    double m_start = 0.0;
    double m_end = 0.0;
    bool m_sawTimeLine = false;
    bool m_finished = false;
    std::optional<ReadError> m_error;
    bool m_lenientTimes = false;
    bool m_keepUtf8 = false;
    qint64 m_lenientTimeLines = 0;
};

// The subtitles as read, numbered 1..N in file order; entries without text
// give no row; a WebVTT text (see subtitleFormatOf) is read as such. Read in
// one pass straight into the compact rows; textDone, when given, hears now
// and then how much of utf8 is read for good, so the caller may release it.
bool readSubtitleRows(QByteArrayView utf8, SubtitleRows &rows, ReadError &error, bool lenientTimes = false,
                      const std::function<void(qsizetype)> &textDone = {});
bool readSubtitleRows(QByteArrayView utf8, std::vector<SubtitleRow> &rows, ReadError &error,
                      bool lenientTimes = false);
// About how many rows come out of utf8, to reserve room for: a subtitle
// takes some 40 bytes of number, time line and blank line before any text,
// so a file of unusually short subtitles only makes the rows grow.
qsizetype expectedSubtitleRows(QByteArrayView utf8);

// How far reading goes between two reports of text read for good: often
// enough to keep little of a large file, seldom enough to cost nothing.
inline constexpr qsizetype TextDoneStep = qsizetype(16) << 20;
