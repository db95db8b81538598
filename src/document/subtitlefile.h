// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/filestamp.h"
#include "document/readerror.h"
#include "document/subtitleformat.h"
#include "document/textencoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

class QIODevice;

// A subtitle file's text as UTF-8 without byte-order mark, with the
// encoding it came in.
struct DecodedSubtitles
{
    FileEncoding encoding;
    SubtitleFormat format = SubtitleFormat::SubRip;
    QByteArray storage;   // holds the bytes utf8() points into
    qsizetype offset = 0; // where the text starts in storage (after a BOM)

    QByteArrayView utf8() const { return QByteArrayView(storage).sliced(offset); }
    // Gives the memory of the text before utf8Offset back to the system
    // (whole huge pages of it), for a reader that is past it for good:
    // from then on those bytes read as zeros. Nothing when the bytes are
    // shared with another QByteArray.
    void releaseBefore(qsizetype utf8Offset);
};

// Files above this size are refused rather than read into memory.
inline constexpr qint64 MaxSubtitleFileBytes = qint64(1) << 30;

// Reads a whole file. Refuses, without reading from it, anything that is
// not a regular file.
bool readFileBytes(const QString &path, QByteArray &bytes, ReadError &error);
bool readDeviceBytes(QIODevice &device, QByteArray &bytes, ReadError &error);

// Works out the encoding (UTF-8 with or without BOM, UTF-16 with BOM, else
// the legacy code page that reads most plausibly and gives back the same
// bytes, else ISO-8859-1) and turns the text into UTF-8. An encodingName
// other than "auto" is used instead; a file that it does not read exactly
// is refused. Text with the WebVTT signature is WebVTT, which is UTF-8
// whatever encodingName says; mustBeWebVtt (a ".vtt" name) refuses any other.
bool decodeSubtitleBytes(QByteArray bytes, DecodedSubtitles &decoded, ReadError &error,
                         QStringView encodingName = {}, bool mustBeWebVtt = false);

// encodingName, when given, is used instead of detection; with stamp, also
// records what the file was as read. A file named ".vtt" must be WebVTT.
bool readSubtitleFile(const QString &path, DecodedSubtitles &decoded, ReadError &error,
                      QStringView encodingName = {}, FileStamp *stamp = nullptr);
