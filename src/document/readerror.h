// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class LangDoc;

// Why a subtitle file could not be read, with what is needed to tell the
// user where: the byte offset or the line number and the line.
struct ReadError
{
    enum class Kind {
        CannotOpen,     // reason holds the system's explanation
        NotRegularFile, // a folder, a FIFO, a device ...
        TooLarge,       // byteOffset holds the file size
        InvalidUtf8,    // byteOffset: first byte that is not UTF-8
        InvalidUtf16,   // byteOffset: first bad code unit
        NulByte,        // byteOffset: first NUL byte
        NoTimeLine,     // text but not one time line
        BadTimeLine,    // lineNumber and line: a time line that is no time
        NotInEncoding,  // reason holds the encoding named for the file
        NoWebVttSignature, // a .vtt file whose first line is not the signature
        ArrowInCueText,    // lineNumber and line: "-->" in a WebVTT cue's text
        WebVttNotUtf8,     // reason holds the encoding the WebVTT text is in
    };

    Kind kind = Kind::CannotOpen;
    qint64 byteOffset = -1;
    qint64 lineNumber = 0; // 1-based
    QString line;
    QString reason;
    // BadTimeLine: the line is one of the common variants LenientTimes reads.
    bool lenientTimesWouldRead = false;

    // "Error in file: line 12: 00:00:01.000 --> 00:00:02.000", in the
    // language of doc.
    QString describe(const LangDoc &doc) const;
};
