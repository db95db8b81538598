// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/shotchangetime.h"

#include "document/timecode.h"
#include "lang/form1messages.h"

#include <QStringList>

QString ShotChangeTime::reason(const LangDoc &lang) const
{
    QStringList lines;
    if (startRule == Rule::Split || endRule == Rule::Split) {
        const double cut = startRule == Rule::Split ? startCutSeconds : endCutSeconds;
        lines << GetLangText(lang, Form1Msg::SplitAtShotChange).arg(SecondsToTimeText(cut));
    }
    if (startRule == Rule::Kept)
        lines << GetLangText(lang, Form1Msg::StartOnShotChange).arg(SecondsToTimeText(startCutSeconds));
    if (endRule == Rule::Kept)
        lines << GetLangText(lang, Form1Msg::EndBeforeShotChange)
                     .arg(QString::number(framesBeforeCut), SecondsToTimeText(endCutSeconds));
    return lines.join(u'\n');
}
