// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"

#include <QString>
#include <QtGlobal>

#include <optional>

class LangDoc;
class QIODevice;

// Why a list of shot changes could not be read.
struct CutListError
{
    enum class Kind {
        CannotRead,    // reason holds the device's explanation
        NotATime,      // lineNumber and line
        NotAFrame,     // lineNumber and line, in a keyframe list
        NotAFrameRate, // lineNumber and line
        NoFrameRate,   // a keyframe list without one, and none given
        TooMany,       // more than MaxCuts
    };

    Kind kind = Kind::CannotRead;
    qint64 lineNumber = 0; // 1-based
    QString line;
    QString reason;

    // "line 3 is not a time in seconds: 12,480", in the language of lang.
    QString describe(const LangDoc &lang) const;
};

// More than a film of ten hours has frames at 120 a second.
inline constexpr qint64 MaxCuts = 5'000'000;

// Reads a list of shot changes. A plain list holds one time in seconds a
// line ("12.480"), and may give the frame rate in a comment "# fps 25". A
// keyframe list starts "# keyframe format v1", then "fps 23.976", then one
// frame number a line. Lines end in LF, CR LF or CR; blank lines and other
// "#" comments are skipped. Times come out ascending, each once; what a
// film's times mean (one past its end, say) is for the correction to judge.
// A frame rate is above 0 and at most MaxFramesPerSecond. frameRateIfNone
// serves a list that gives none (0: none known).
std::optional<ShotChanges> readCutList(QIODevice &device, CutListError &error, double frameRateIfNone = 0);

// Writes the plain list: one time a line in seconds with three decimals,
// which other subtitle programs read too. False when the device fails.
bool writeCutList(QIODevice &device, const ShotChanges &shots);
