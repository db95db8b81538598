// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingproblemtext.h"

#include "lang/form1messages.h"

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
        reason = GetLangText(lang, Form1Msg::FromTo)
                     .arg(QString::number(1), QString::number(SettingsStore::MaxMinGapMs));
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

QString settingsFileProblemText(const IniFile::FileProblem &problem, const LangDoc &lang)
{
    switch (problem.kind) {
    case IniFile::FileProblem::Kind::NotRegularFile:
        return GetLangText(lang, Form1Msg::NotRegularFile);
    case IniFile::FileProblem::Kind::CannotRead:
        return GetLangText(lang, Form1Msg::CannotRead).arg(problem.reason);
    case IniFile::FileProblem::Kind::TooLarge:
        return GetLangText(lang, Form1Msg::SettingsTooLarge).arg(IniFile::MaxFileBytes);
    case IniFile::FileProblem::Kind::NulByte:
        return GetLangText(lang, Form1Msg::SettingsNulByte);
    case IniFile::FileProblem::Kind::Utf16:
        return GetLangText(lang, Form1Msg::SettingsUtf16);
    case IniFile::FileProblem::Kind::NoSection:
        return GetLangText(lang, Form1Msg::SettingsNoSection).arg(QStringLiteral("General"));
    }
    return {};
}
