// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settingproblem.h"
#include "settings/settings.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>

#include <limits>
#include <optional>
#include <span>

enum class SettingKind {
    Integer,  // qint32, written " 44"
    Boolean,  // written "-1" / "0"
    Geometry, // twips in single precision
    Language, // the language name; held as LangFileBase
    Encoding, // "auto" or an encoding name, kept as written; must be known
};

// One key of the settings file, spelt as the file has always spelt it.
struct SettingKey
{
    static constexpr qint32 NoMaximum = std::numeric_limits<qint32>::max();

    QLatin1StringView name;
    SettingKind kind;
    // The integers a correction run can use.
    qint32 minimum = std::numeric_limits<qint32>::min();
    qint32 maximum = NoMaximum;
};

// The settings keys, what each holds and the rule it keeps, in one table;
// the values themselves and their defaults are Settings.
namespace SettingsStore {

// Every key, in the order the file has always been written in.
std::span<const SettingKey> keys();
// The key named name, compared without regard to case.
std::optional<SettingKey> findKey(QStringView name);
// The file's spelling of name ("maxlen" gives "MaxLen"); empty when unknown.
QString canonicalKeyName(QStringView name);
// The value Settings{} holds for key, as the file would hold it but without
// a leading blank: "44", "-1", "English".
QString defaultText(const SettingKey &key);

// Parses text as a typed value for key (--set) and stores it: a number key
// needs digits.
std::optional<SettingProblem> applyValue(Settings &settings, QStringView key, const QString &text);
// Parses text as the file holds it and stores it.
std::optional<SettingProblem> applyStoredValue(Settings &settings, const SettingKey &key, const QString &text);
// The text the file holds for key: " 44", "-1", "283.4646".
QString storedText(const Settings &settings, const SettingKey &key);
// Whether key is part of the main window's place: with any of it stored,
// the window has been placed before.
bool isMainWindowPlace(const SettingKey &key);

// Quillmend.ini in executableFolder when it is portable, else in the
// user's configuration folder; never a new file beside an executable.
QString defaultFilePath(const QString &executableFolder);

} // namespace SettingsStore
