// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/timecommit.h"

#include "document/timecode.h"
#include "editing/timelimits.h"
#include "lang/form1messages.h"

bool isCommittableTime(QStringView timeText)
{
    return TimeTextToSeconds(timeText).has_value();
}

QString timeCommitRefusal(QStringView boxName, QStringView timeText, const LangDoc &lang)
{
    return GetLangText(lang, Form1Msg::TimeNotCommittable).arg(boxName, timeText);
}

QString timeLimitRefusal(QStringView boxName, int number, QStringView timeText, const TimeRange &allowed,
                         const LangDoc &lang)
{
    return GetLangText(lang, Form1Msg::TimeOfSubtitle).arg(boxName, QString::number(number)) + u' ' + timeText
           + u' '
           + GetLangText(lang, Form1Msg::FromTo)
                 .arg(MillisecondsToTimeText(allowed.earliestMs), MillisecondsToTimeText(allowed.latestMs));
}
