// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"
#include "media/mediasource.h"

#include <QMetaType>
#include <QtGlobal>

// The shot changes found in a film, with what they were found in.
struct DetectedShots
{
    MediaSource source;      // the file as it was when read
    bool hasPicture = false; // false for a sound file: no cuts, no frame rate
    qint64 frames = 0;       // pictures decoded
    ShotChanges shotChanges;
};

Q_DECLARE_METATYPE(DetectedShots)
