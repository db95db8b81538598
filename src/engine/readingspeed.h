// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitleformat.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>
#include <string_view>

class LangDoc;
struct SubtitleRow;

// How fast a subtitle asks to be read, by the measure the time buying
// uses: its characters, a line break counting as one blank, read at
// lettersPerSecond, against the time it is shown, both to the millisecond.
struct ReadingSpeed
{
    qint64 characters = 0;
    double shownSeconds = 0.0;    // end - start + 1 ms; the end time counts as shown
    double requiredSeconds = 0.0; // characters / lettersPerSecond

    bool isTooFast() const { return requiredSeconds > shownSeconds; }
    // How much more time the text needs; 0 when it is not too fast.
    qint64 lacksMilliseconds() const;
    // Characters per second, none when the subtitle is not shown at all.
    std::optional<double> charactersPerSecond() const;
    // "17.3", one decimal; empty when not shown at all.
    QString charactersPerSecondText() const;
};

// Characters as the correction counts them when it buys time.
qint64 readingLength(std::u32string_view text);
// The same from valid UTF-8, as the lists keep their texts.
qint64 readingLength(QByteArrayView utf8Text);
// The same for a text of a file in format: a WebVTT cue's as its viewer sees it.
qint64 readingLength(QByteArrayView utf8Text, SubtitleFormat format);

// For characters counted already; the time buying decides with this.
ReadingSpeed readingSpeed(qint64 characters, double startSeconds, double endSeconds, qint32 lettersPerSecond);
ReadingSpeed readingSpeed(std::u32string_view text, double startSeconds, double endSeconds,
                          qint32 lettersPerSecond);
// A row as a list holds it; none when either time text cannot be read.
std::optional<ReadingSpeed> readingSpeed(const SubtitleRow &row, qint32 lettersPerSecond);

// ", 3 still too fast" after a correction's summary, or nothing for none.
QString tooFastSummary(qint64 tooFastCount, const LangDoc &lang);
