// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/editrecord.h"

#include "lang/form1messages.h"

QString EditRecord::kindText(const LangDoc &lang) const
{
    QString kind;
    if (change == Change::Split)
        kind = GetLangText(lang, Form1Msg::KindSplit);
    else if (change == Change::Edit)
        kind = GetLangText(lang, Form1Msg::KindEdit);
    if (timeBought) {
        if (!kind.isEmpty())
            kind += QStringLiteral(" - ");
        kind += GetLangText(lang, Form1Msg::TimeEdit);
    }
    if (startMoved) {
        if (!kind.isEmpty())
            kind += QStringLiteral(" - ");
        kind += GetLangText(lang, Form1Msg::KindMoved);
    }
    if (shotChange) {
        if (!kind.isEmpty())
            kind += QStringLiteral(" - ");
        kind += GetLangText(lang, Form1Msg::KindShotChange);
    }
    return kind;
}

QString EditRecord::ordinalText() const
{
    return QStringLiteral("%1").arg(ordinal, 4, 10, QLatin1Char('0'));
}

QString correctionSummary(const CorrectionCounters &counters, const LangDoc &lang)
{
    QString summary = GetLangText(lang, Form1Msg::SummaryEdits) + QString::number(counters.edits - counters.splits)
        + GetLangText(lang, Form1Msg::SummaryWith) + QString::number(counters.timeEdits)
        + GetLangText(lang, Form1Msg::SummaryTime);
    if (counters.longLinesLeft > 0)
        summary += QStringLiteral(" (") + QString::number(counters.longLinesLeft)
            + GetLangText(lang, Form1Msg::SummaryLongLines);
    summary += QStringLiteral(" - ") + QString::number(counters.timeOnlyEdits)
        + GetLangText(lang, Form1Msg::SummaryTimeOnly) + QString::number(counters.splits)
        + GetLangText(lang, Form1Msg::SummarySplits) + QString::number(counters.splitTimeEdits)
        + GetLangText(lang, Form1Msg::SummarySplitTime);
    return summary;
}
