// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readingspeed.h"

#include "document/subtitlerow.h"
#include "document/timecode.h"
#include "engine/linebreak.h"
#include "lang/form1messages.h"

#include <cmath>

qint64 ReadingSpeed::lacksMilliseconds() const
{
    return isTooFast() ? qint64(std::llround((requiredSeconds - shownSeconds) * 1000.0)) : 0;
}

std::optional<double> ReadingSpeed::charactersPerSecond() const
{
    if (shownSeconds <= 0.0)
        return std::nullopt;
    return double(characters) / shownSeconds;
}

QString ReadingSpeed::charactersPerSecondText() const
{
    const std::optional<double> perSecond = charactersPerSecond();
    return perSecond ? QString::number(*perSecond, 'f', 1) : QString();
}

qint64 readingLength(std::u32string_view text)
{
    return qint64(text.size()) - lineStats(text).lineBreaks;
}

ReadingSpeed readingSpeed(qint64 characters, double startSeconds, double endSeconds, qint32 lettersPerSecond)
{
    ReadingSpeed speed;
    speed.characters = characters;
    speed.shownSeconds = Round3(endSeconds - startSeconds + 0.001);
    speed.requiredSeconds = lettersPerSecond > 0 ? Round3(double(characters) / double(lettersPerSecond)) : 0.0;
    return speed;
}

ReadingSpeed readingSpeed(std::u32string_view text, double startSeconds, double endSeconds, qint32 lettersPerSecond)
{
    return readingSpeed(readingLength(text), startSeconds, endSeconds, lettersPerSecond);
}

std::optional<ReadingSpeed> readingSpeed(const SubtitleRow &row, qint32 lettersPerSecond)
{
    const std::optional<double> start = TimeTextToSeconds(row.startText);
    const std::optional<double> end = TimeTextToSeconds(row.endText);
    if (!start || !end)
        return std::nullopt;
    return readingSpeed(row.text.toStdU32String(), *start, *end, lettersPerSecond);
}

QString tooFastSummary(qint64 tooFastCount, const LangDoc &lang)
{
    if (tooFastCount <= 0)
        return {};
    return GetLangText(lang, Form1Msg::StillTooFast).arg(tooFastCount);
}
