// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

class LangDoc;
struct TimeRange;

// Whether a time box's text may go into the row: only a time the reader
// takes back, so a saved file never holds 00:99:47,250. The box lets any
// digit be typed, so this is checked when Enter commits it.
bool isCommittableTime(QStringView timeText);

// The message refusing timeText in the box named boxName ("Hide: 00:99:47,250
// is not a valid time ...").
QString timeCommitRefusal(QStringView boxName, QStringView timeText, const LangDoc &lang);

// The message refusing timeText, in the box named boxName, for subtitle
// number, whose time must stay in allowed ("Show of subtitle 12:
// 00:05:58,000 must be from 00:05:56,001 to 00:05:57,605").
QString timeLimitRefusal(QStringView boxName, int number, QStringView timeText, const TimeRange &allowed,
                         const LangDoc &lang);
