// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingproblemtext.h"

#include "lang/form1messages.h"
#include "settings/settingsstore.h"

QString settingProblemText(const SettingProblem &problem, const LangDoc &lang)
{
    QString reason;
    switch (problem.kind) {
    case SettingProblem::Kind::UnknownKey:
        reason = GetLangText(lang, Form1Msg::NotASetting);
        break;
    case SettingProblem::Kind::NotInt32:
        reason = GetLangText(lang, Form1Msg::Not32Bit);
        break;
    case SettingProblem::Kind::NotFloat:
        reason = GetLangText(lang, Form1Msg::TooLargeNumber);
        break;
    case SettingProblem::Kind::BelowOne:
        reason = GetLangText(lang, Form1Msg::AtLeastOne);
        break;
    case SettingProblem::Kind::OutOfRange:
        if (const std::optional<SettingKey> key = SettingsStore::findKey(problem.key))
            reason = GetLangText(lang, Form1Msg::FromTo)
                         .arg(QString::number(key->minimum), QString::number(key->maximum));
        break;
    case SettingProblem::Kind::UnknownEncoding:
        reason = GetLangText(lang, Form1Msg::UnknownEncoding);
        break;
    case SettingProblem::Kind::NotANumber:
        reason = GetLangText(lang, Form1Msg::NotANumber);
        break;
    }
    const QString key = SettingsStore::canonicalKeyName(problem.key);
    return GetLangText(lang, Form1Msg::InvalidSetting).arg(key.isEmpty() ? problem.key : key, reason);
}
