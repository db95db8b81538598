// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediasource.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <vector>

// The waveform of a file's sound: the lowest and highest sample of every
// 10 ms, over all channels, with what it was made from.
struct Peaks
{
    static constexpr int binMs = 10;
    // Full scale is -32767 to 32767; two bytes each keep a 2-hour film
    // under 3 MB.
    struct Bin
    {
        qint16 minimum = 0;
        qint16 maximum = 0;
        friend bool operator==(const Bin &, const Bin &) = default;
    };

    MediaSource source;
    int streamIndex = -1; // the stream decoded
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    qint64 durationMs = 0; // of the sound decoded
    // Bin i covers [i * binMs, (i + 1) * binMs) ms of the file's time, the
    // time a player shows (0 at the file's start).
    std::vector<Bin> bins;

    // The extremes of the bins that cover [fromMs, toMs), for drawing at any
    // zoom; silence outside the sound.
    Bin extremes(qint64 fromMs, qint64 toMs) const;

    friend bool operator==(const Peaks &, const Peaks &) = default;
};

Q_DECLARE_METATYPE(Peaks)
