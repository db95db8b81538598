// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class LangDoc;

// A written subtitle with a time a shot-change rule chose, for review and
// restore: which cut, why, and what the correction would have written
// without the shot changes.
struct ShotChangeTime
{
    enum class Rule : quint8 {
        None,  // the time is as without the shot changes
        Kept,  // a start kept on the cut, an end kept frames before it
        Split, // the split was made at the cut
    };

    qint32 ordinal = 0; // of the subtitle as read
    qint32 number = 0;  // the written subtitle
    Rule startRule = Rule::None;
    Rule endRule = Rule::None;
    double startCutSeconds = 0;
    double endCutSeconds = 0;
    qint64 framesBeforeCut = 0; // from the end to endCutSeconds
    double startSeconds = 0;    // as written
    double endSeconds = 0;
    double startWithoutRuleSeconds = 0;
    double endWithoutRuleSeconds = 0;

    // "End kept 2 frames before the shot change at 00:01:02,480", a line for
    // each time, in the language of lang.
    QString reason(const LangDoc &lang) const;
};
