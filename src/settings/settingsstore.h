// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

class IniFile;

enum class SettingKind {
    Integer,  // qint32, written " 44"
    Boolean,  // written "-1" / "0"
    Geometry, // twips in single precision
    Language, // the language name; held as LangFileBase
    Encoding, // "auto" or an encoding name, kept as written
};

// One key of the settings file, spelt as the file has always spelt it.
struct SettingKey
{
    QLatin1StringView name;
    QLatin1StringView defaultText;
    SettingKind kind;
};

// A value that could not be taken as it stands. The settings keep their
// previous value for the key, except for BelowOne, which only validation
// reports.
struct SettingProblem
{
    enum class Kind {
        UnknownKey,
        NotInt32, // an integer setting outside the 32-bit range
        NotFloat, // a geometry value beyond single precision
        BelowOne, // MaxLen or LettersFor1Min below 1: no correction run

        OutOfRange, // MinGapMs outside 1 to MaxMinGapMs: no correction run
        UnknownEncoding, // an Encoding that neither Qt nor iconv knows
        NotANumber, // a typed value for a number setting with no digits
    };

    Kind kind;
    QString key;
    QString valueText;

    friend bool operator==(const SettingProblem &, const SettingProblem &) = default;
};

struct SettingsReadResult
{
    Settings settings;
    QList<SettingProblem> problems;
};

// Reading and writing the settings file, key by key, through an INI
// accessor on its "General" section.
namespace SettingsStore {

// All keys in the order they are read, the main window's four first.
std::span<const SettingKey> keys();
// The key named name, compared without regard to case.
std::optional<SettingKey> findKey(QStringView name);
bool isKey(QStringView name);
// The file's spelling of name ("maxlen" gives "MaxLen"); empty when unknown.
QString canonicalKeyName(QStringView name);

// Parses text for key exactly as a value read from the file and stores it.
std::optional<SettingProblem> applyValue(Settings &settings, QStringView key, const QString &text);

// Reads every key, a missing key giving its default text, into previous.
// The accessor must be registered.
SettingsReadResult read(const IniFile &ini, const Settings &previous = {});
// Writes every key, creating the file's folder first; true when every write
// succeeded.
bool write(IniFile &ini, const Settings &settings);
// The largest gap between subtitles a correction keeps, in milliseconds.
inline constexpr qint32 MaxMinGapMs = 10'000;

// MaxLen and LettersFor1Min below 1, and MinGapMs outside 1 to
// MaxMinGapMs, which a correction run cannot use.
QList<SettingProblem> validate(const Settings &settings);

// Portable: a Quillmend.ini already stands in executableFolder.
bool isPortableFolder(const QString &executableFolder);
// Quillmend.ini in executableFolder when it is portable, else in the
// user's configuration folder; never a new file beside an executable.
QString defaultFilePath(const QString &executableFolder);

} // namespace SettingsStore
