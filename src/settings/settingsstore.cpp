// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsstore.h"

#include "document/encoding/encodingchoice.h"
#include "settings/inifile.h"
#include "settings/settingvalue.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Language files are named after this on every platform, whatever the
// executable is called, so they can be shared between platforms.
constexpr QLatin1StringView LanguageFileSuffix(".Quillmend.exe");
constexpr QLatin1StringView SettingsFileName("Quillmend.ini");

// A key and where its value lives in Settings; columns are addressed as
// an array and an index because a member pointer cannot reach into one.
struct KeyRow
{
    SettingKey key;
    qint32 Settings::*integer = nullptr;
    bool Settings::*boolean = nullptr;
    float Settings::*geometry = nullptr;
    std::array<float, 5> Settings::*columns = nullptr;
    std::size_t column = 0;
};

constexpr KeyRow integerRow(QLatin1StringView name, QLatin1StringView defaultText, qint32 Settings::*field)
{
    return {{name, defaultText, SettingKind::Integer}, field};
}

constexpr KeyRow booleanRow(QLatin1StringView name, bool Settings::*field)
{
    return {{name, "-1"_L1, SettingKind::Boolean}, nullptr, field};
}

constexpr KeyRow geometryRow(QLatin1StringView name, QLatin1StringView defaultText, float Settings::*field)
{
    return {{name, defaultText, SettingKind::Geometry}, nullptr, nullptr, field};
}

constexpr KeyRow columnRow(QLatin1StringView name, QLatin1StringView defaultText,
                           std::array<float, 5> Settings::*columns, std::size_t column)
{
    return {{name, defaultText, SettingKind::Geometry}, nullptr, nullptr, nullptr, columns, column};
}

constexpr std::array Rows{
    geometryRow("MainX"_L1, "150"_L1, &Settings::MainXTwips),
    geometryRow("MainY"_L1, "150"_L1, &Settings::MainYTwips),
    geometryRow("MainWidth"_L1, "9000"_L1, &Settings::MainWidthTwips),
    geometryRow("MainHeight"_L1, "5000"_L1, &Settings::MainHeightTwips),
    integerRow("MaxLen"_L1, "44"_L1, &Settings::MaxLen),
    booleanRow("JoinSubsAbove2Lines"_L1, &Settings::JoinSubsAbove2Lines),
    booleanRow("BuyTime"_L1, &Settings::BuyTime),
    integerRow("LettersFor1Min"_L1, "23"_L1, &Settings::LettersFor1Min),
    booleanRow("CorrectSubsAbove2Lines"_L1, &Settings::CorrectSubsAbove2Lines),
    booleanRow("CreateBakFile"_L1, &Settings::CreateBakFile),
    booleanRow("ParseAllTimes"_L1, &Settings::ParseAllTimes),
    booleanRow("BrakeTo2"_L1, &Settings::BrakeTo2),
    KeyRow{{"Lang"_L1, "English"_L1, SettingKind::Language}},
    geometryRow("EditX"_L1, "150"_L1, &Settings::EditXTwips),
    geometryRow("EditY"_L1, "150"_L1, &Settings::EditYTwips),
    geometryRow("EditWidth"_L1, "4700"_L1, &Settings::EditWidthTwips),
    geometryRow("EditHeight"_L1, "4500"_L1, &Settings::EditHeightTwips),
    booleanRow("ShowMessage"_L1, &Settings::ShowMessage),
    booleanRow("CreateBakFileAuto"_L1, &Settings::CreateBakFileAuto),
    booleanRow("ShowMessageAuto"_L1, &Settings::ShowMessageAuto),
    geometryRow("Diax"_L1, "3000"_L1, &Settings::DiaxTwips),
    columnRow("List1Col1"_L1, "300"_L1, &Settings::List1ColTwips, 0),
    columnRow("List1Col2"_L1, "870"_L1, &Settings::List1ColTwips, 1),
    columnRow("List1Col3"_L1, "870"_L1, &Settings::List1ColTwips, 2),
    columnRow("List1Col4"_L1, "3500"_L1, &Settings::List1ColTwips, 3),
    columnRow("List2Col1"_L1, "300"_L1, &Settings::List2ColTwips, 0),
    columnRow("List2Col2"_L1, "870"_L1, &Settings::List2ColTwips, 1),
    columnRow("List2Col3"_L1, "870"_L1, &Settings::List2ColTwips, 2),
    columnRow("List2Col4"_L1, "3500"_L1, &Settings::List2ColTwips, 3),
    columnRow("List1Col5"_L1, "600"_L1, &Settings::List1ColTwips, 4),
    columnRow("List2Col5"_L1, "600"_L1, &Settings::List2ColTwips, 4),
    KeyRow{{"GuidelineBreaks"_L1, "0"_L1, SettingKind::Boolean}, nullptr, &Settings::GuidelineBreaks},
    integerRow("MinGapMs"_L1, "1"_L1, &Settings::MinGapMs),
    // Added after the first release, defaulting to the behaviour before them.
    KeyRow{{"Encoding"_L1, "auto"_L1, SettingKind::Encoding}},
    KeyRow{{"LenientTimes"_L1, "0"_L1, SettingKind::Boolean}, nullptr, &Settings::LenientTimes},
    booleanRow("AutoOpenVideo"_L1, &Settings::AutoOpenVideo),
    booleanRow("VideoPane"_L1, &Settings::VideoPane),
    booleanRow("TimelinePane"_L1, &Settings::TimelinePane),
    geometryRow("VideoPaneWidth"_L1, "6000"_L1, &Settings::VideoPaneWidthTwips),
    geometryRow("TimelinePaneHeight"_L1, "2400"_L1, &Settings::TimelinePaneHeightTwips),
    integerRow("TimelineSpanMs"_L1, "20000"_L1, &Settings::TimelineSpanMs),
    integerRow("VideoVolume"_L1, "100"_L1, &Settings::VideoVolume),
};

constexpr auto Keys = [] {
    std::array<SettingKey, Rows.size()> keys{};
    std::transform(Rows.begin(), Rows.end(), keys.begin(), [](const KeyRow &row) { return row.key; });
    return keys;
}();

// The order the file has always been written in.
constexpr std::array<QLatin1StringView, Rows.size()> SaveOrder{
    "MaxLen"_L1, "JoinSubsAbove2Lines"_L1, "BuyTime"_L1, "LettersFor1Min"_L1,
    "CorrectSubsAbove2Lines"_L1, "CreateBakFile"_L1, "ParseAllTimes"_L1, "BrakeTo2"_L1,
    "ShowMessage"_L1, "CreateBakFileAuto"_L1, "ShowMessageAuto"_L1,
    "MainX"_L1, "MainY"_L1, "MainWidth"_L1, "MainHeight"_L1,
    "EditX"_L1, "EditY"_L1, "EditWidth"_L1, "EditHeight"_L1, "Diax"_L1,
    "List1Col1"_L1, "List1Col2"_L1, "List1Col3"_L1, "List1Col4"_L1,
    "List2Col1"_L1, "List2Col2"_L1, "List2Col3"_L1, "List2Col4"_L1,
    "Lang"_L1,
    "List1Col5"_L1, "List2Col5"_L1,
    "GuidelineBreaks"_L1, "MinGapMs"_L1,
    "Encoding"_L1, "LenientTimes"_L1,
    "AutoOpenVideo"_L1, "VideoPane"_L1, "TimelinePane"_L1, "VideoPaneWidth"_L1, "TimelinePaneHeight"_L1,
    "TimelineSpanMs"_L1, "VideoVolume"_L1,
};

const KeyRow *findRow(QStringView name)
{
    const auto found = std::find_if(Rows.begin(), Rows.end(), [name](const KeyRow &row) {
        return name.compare(row.key.name, Qt::CaseInsensitive) == 0;
    });
    return found == Rows.end() ? nullptr : &*found;
}

template<typename S>
auto &geometryOf(S &settings, const KeyRow &row)
{
    return row.columns ? (settings.*row.columns)[row.column] : settings.*row.geometry;
}

std::optional<SettingProblem> applyRow(Settings &settings, const KeyRow &row, const QString &text)
{
    switch (row.key.kind) {
    case SettingKind::Integer:
        if (const std::optional<qint32> value = integerFromSettingText(text)) {
            settings.*row.integer = *value;
            return std::nullopt;
        }
        return SettingProblem{SettingProblem::Kind::NotInt32, QString(row.key.name), text};
    case SettingKind::Boolean:
        settings.*row.boolean = booleanFromSettingText(text);
        return std::nullopt;
    case SettingKind::Geometry:
        if (const std::optional<float> value = geometryFromSettingText(text)) {
            geometryOf(settings, row) = *value;
            return std::nullopt;
        }
        return SettingProblem{SettingProblem::Kind::NotFloat, QString(row.key.name), text};
    case SettingKind::Language:
        settings.LangFileBase = text + LanguageFileSuffix;
        return std::nullopt;
    case SettingKind::Encoding:
        if (!isKnownEncoding(text.trimmed()))
            return SettingProblem{SettingProblem::Kind::UnknownEncoding, QString(row.key.name), text};
        settings.Encoding = isAutoEncoding(text.trimmed()) ? QString(AutoEncoding) : text.trimmed();
        return std::nullopt;
    }
    return std::nullopt;
}

QString textOf(const Settings &settings, const KeyRow &row)
{
    switch (row.key.kind) {
    case SettingKind::Integer:
        return settingTextFromInteger(settings.*row.integer);
    case SettingKind::Boolean:
        return settingTextFromBoolean(settings.*row.boolean);
    case SettingKind::Geometry:
        return settingTextFromGeometry(geometryOf(settings, row));
    case SettingKind::Language:
        // The whole name, points included ("Pt.BR"), so it comes back on restart.
        if (settings.LangFileBase.endsWith(LanguageFileSuffix, Qt::CaseInsensitive))
            return settings.LangFileBase.chopped(LanguageFileSuffix.size());
        return settings.LangFileBase.section(u'.', 0, 0);
    case SettingKind::Encoding:
        return settings.Encoding;
    }
    return {};
}

} // namespace

namespace SettingsStore {

std::span<const SettingKey> keys()
{
    return Keys;
}

std::optional<SettingKey> findKey(QStringView name)
{
    const KeyRow *row = findRow(name);
    return row ? std::optional<SettingKey>(row->key) : std::nullopt;
}

bool isKey(QStringView name)
{
    return findRow(name) != nullptr;
}

QString canonicalKeyName(QStringView name)
{
    const KeyRow *row = findRow(name);
    return row ? QString(row->key.name) : QString();
}

std::optional<SettingProblem> applyValue(Settings &settings, QStringView key, const QString &text)
{
    const KeyRow *row = findRow(key);
    if (!row)
        return SettingProblem{SettingProblem::Kind::UnknownKey, key.toString(), text};
    // A typed number with no digits is a mistake, not the 0 a stored file reads it as.
    const bool isNumber = row->key.kind == SettingKind::Integer || row->key.kind == SettingKind::Geometry;
    if (isNumber && !startsWithNumber(text))
        return SettingProblem{SettingProblem::Kind::NotANumber, QString(row->key.name), text};
    return applyRow(settings, *row, text);
}

SettingsReadResult read(const IniFile &ini, const Settings &previous)
{
    SettingsReadResult result{previous, {}};
    for (const KeyRow &row : Rows) {
        const QString text = ini.GetString(QString(row.key.name), QString(row.key.defaultText));
        if (std::optional<SettingProblem> problem = applyRow(result.settings, row, text))
            result.problems.append(std::move(*problem));
    }
    return result;
}

bool write(IniFile &ini, const Settings &settings)
{
    const QFileInfo file(ini.fullPath());
    QDir().mkpath(file.absolutePath());
    bool allWritten = true;
    for (QLatin1StringView name : SaveOrder) {
        const QString key(name);
        allWritten = ini.PutString(key, textOf(settings, *findRow(key))) != 0 && allWritten;
    }
    return allWritten;
}

QList<SettingProblem> validate(const Settings &settings)
{
    QList<SettingProblem> problems;
    for (const auto &[name, value] : {std::pair(u"MaxLen"_s, settings.MaxLen),
                                      std::pair(u"LettersFor1Min"_s, settings.LettersFor1Min)}) {
        if (value < 1)
            problems.append({SettingProblem::Kind::BelowOne, name, QString::number(value)});
    }

    if (settings.MinGapMs < 1 || settings.MinGapMs > MaxMinGapMs)
        problems.append({SettingProblem::Kind::OutOfRange, u"MinGapMs"_s, QString::number(settings.MinGapMs)});
    return problems;
}

bool isPortableFolder(const QString &executableFolder)
{
    return !executableFolder.isEmpty() && QFileInfo(QDir(executableFolder).filePath(SettingsFileName)).isFile();
}

QString defaultFilePath(const QString &executableFolder)
{
    // A writable folder is not enough: ~/.local/bin is writable, and the
    // user's executables are no place for settings.
    if (isPortableFolder(executableFolder))
        return QDir(executableFolder).filePath(SettingsFileName);
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(configFolder).filePath(u"quillmend/"_s + SettingsFileName);
}

} // namespace SettingsStore
