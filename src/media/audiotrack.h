// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

class LangDoc;

// One audio stream of a video file, as an "Audio track" menu lists it.
struct AudioTrack
{
    int streamIndex = -1; // in the container, as FFmpeg counts (mpv's ff-index)
    int number = 0;       // 1-based among the file's audio streams
    QString codec;        // "aac", "ac3" ...
    int channels = 0;
    QString channelLayout; // "stereo", "5.1(side)"; may be empty
    int sampleRate = 0;    // Hz
    QString language;      // as tagged, mostly ISO 639-2 ("eng"); may be empty
    QString title;
    bool isDefault = false;

    // "Track 2: English, ac3 5.1(side), Commentary" in the language of doc.
    QString label(const LangDoc &doc) const;

    friend bool operator==(const AudioTrack &, const AudioTrack &) = default;
};

Q_DECLARE_METATYPE(AudioTrack)
Q_DECLARE_METATYPE(QList<AudioTrack>)
