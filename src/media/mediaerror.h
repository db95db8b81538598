// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

class LangDoc;

// Why a video or sound file could not be opened, played or decoded, with
// the file it concerns, so the window can say so in the user's language.
struct MediaError
{
    enum class Kind {
        None,
        Missing,          // the file does not exist (or no longer)
        NotRegularFile,   // a folder, a device, a pipe ...
        Empty,            // 0 bytes
        CannotRead,       // reason: the system's explanation
        NotMedia,         // neither picture nor sound in it
        Damaged,          // truncated or corrupt; reason: the decoder's words
        NoSound,          // a video without an audio stream
        NoDecoder,        // reason: the codec's name
        NoSuchTrack,      // reason: the stream number asked for
        SampleRateTooLow, // reason: the rate in Hz
        Vanished,         // removed or moved while it was open
        PlayerUnavailable, // libmpv could not be started; reason says why
        Cancelled,        // stopped on request; nothing to show
    };

    Kind kind = Kind::None;
    QString path;
    QString reason;

    bool isError() const { return kind != Kind::None; }
    // "Cannot open /films/a b.mkv: it is not a video or sound file", in the
    // language of doc.
    QString describe(const LangDoc &doc) const;

    // What is wrong with path before any decoder sees it: missing, not a
    // regular file, empty or unreadable; Kind::None when it can be tried.
    static MediaError checkFile(const QString &path);
};

Q_DECLARE_METATYPE(MediaError)
