// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsstore.h"

#include "document/encoding/encodingchoice.h"
#include "lang/languagelocator.h"
#include "settings/settingvalue.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Language files are named after this on every platform, whatever the
// executable is called, so they can be shared between platforms.
constexpr QLatin1StringView LanguageFileSuffix(".Quillmend.exe");

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
    QString Settings::*text = nullptr;
};

constexpr KeyRow integerRow(QLatin1StringView name, qint32 Settings::*field, qint32 minimum,
                            qint32 maximum = SettingKey::NoMaximum)
{
    return {{name, SettingKind::Integer, minimum, maximum}, field};
}

constexpr KeyRow booleanRow(QLatin1StringView name, bool Settings::*field)
{
    return {{name, SettingKind::Boolean}, nullptr, field};
}

constexpr KeyRow geometryRow(QLatin1StringView name, float Settings::*field)
{
    return {{name, SettingKind::Geometry}, nullptr, nullptr, field};
}

constexpr KeyRow columnRow(QLatin1StringView name, std::array<float, 5> Settings::*columns, std::size_t column)
{
    return {{name, SettingKind::Geometry}, nullptr, nullptr, nullptr, columns, column};
}

constexpr KeyRow textRow(QLatin1StringView name, SettingKind kind, QString Settings::*field)
{
    return {{name, kind}, nullptr, nullptr, nullptr, nullptr, 0, field};
}

// In the order the file has always been written in.
constexpr std::array Rows{
    integerRow("MaxLen"_L1, &Settings::MaxLen, 1),
    booleanRow("JoinSubsAbove2Lines"_L1, &Settings::JoinSubsAbove2Lines),
    booleanRow("BuyTime"_L1, &Settings::BuyTime),
    integerRow("LettersFor1Min"_L1, &Settings::LettersFor1Min, 1),
    booleanRow("CorrectSubsAbove2Lines"_L1, &Settings::CorrectSubsAbove2Lines),
    booleanRow("CreateBakFile"_L1, &Settings::CreateBakFile),
    booleanRow("ParseAllTimes"_L1, &Settings::ParseAllTimes),
    booleanRow("BrakeTo2"_L1, &Settings::BrakeTo2),
    booleanRow("ShowMessage"_L1, &Settings::ShowMessage),
    booleanRow("CreateBakFileAuto"_L1, &Settings::CreateBakFileAuto),
    booleanRow("ShowMessageAuto"_L1, &Settings::ShowMessageAuto),
    geometryRow("MainX"_L1, &Settings::MainXTwips),
    geometryRow("MainY"_L1, &Settings::MainYTwips),
    geometryRow("MainWidth"_L1, &Settings::MainWidthTwips),
    geometryRow("MainHeight"_L1, &Settings::MainHeightTwips),
    geometryRow("EditX"_L1, &Settings::EditXTwips),
    geometryRow("EditY"_L1, &Settings::EditYTwips),
    geometryRow("EditWidth"_L1, &Settings::EditWidthTwips),
    geometryRow("EditHeight"_L1, &Settings::EditHeightTwips),
    geometryRow("Diax"_L1, &Settings::DiaxTwips),
    columnRow("List1Col1"_L1, &Settings::List1ColTwips, 0),
    columnRow("List1Col2"_L1, &Settings::List1ColTwips, 1),
    columnRow("List1Col3"_L1, &Settings::List1ColTwips, 2),
    columnRow("List1Col4"_L1, &Settings::List1ColTwips, 3),
    columnRow("List2Col1"_L1, &Settings::List2ColTwips, 0),
    columnRow("List2Col2"_L1, &Settings::List2ColTwips, 1),
    columnRow("List2Col3"_L1, &Settings::List2ColTwips, 2),
    columnRow("List2Col4"_L1, &Settings::List2ColTwips, 3),
    textRow("Lang"_L1, SettingKind::Language, &Settings::LangFileBase),
    columnRow("List1Col5"_L1, &Settings::List1ColTwips, 4),
    columnRow("List2Col5"_L1, &Settings::List2ColTwips, 4),
    // Added after the first release, defaulting to the behaviour before them.
    booleanRow("GuidelineBreaks"_L1, &Settings::GuidelineBreaks),
    integerRow("MinGapMs"_L1, &Settings::MinGapMs, 1, 10'000),
    textRow("Encoding"_L1, SettingKind::Encoding, &Settings::Encoding),
    booleanRow("LenientTimes"_L1, &Settings::LenientTimes),
    // The film under review, which no correction reads.
    booleanRow("AutoOpenVideo"_L1, &Settings::AutoOpenVideo),
    booleanRow("VideoPane"_L1, &Settings::VideoPane),
    booleanRow("TimelinePane"_L1, &Settings::TimelinePane),
    geometryRow("VideoPaneWidth"_L1, &Settings::VideoPaneWidthTwips),
    geometryRow("TimelinePaneHeight"_L1, &Settings::TimelinePaneHeightTwips),
    integerRow("TimelineSpanMs"_L1, &Settings::TimelineSpanMs, std::numeric_limits<qint32>::min()),
    integerRow("VideoVolume"_L1, &Settings::VideoVolume, std::numeric_limits<qint32>::min()),
    booleanRow("MainMaximized"_L1, &Settings::MainMaximized),
    // The film's shot changes and frames in the correction.
    booleanRow("ShotChanges"_L1, &Settings::ShotChanges),
    integerRow("ShotGapFrames"_L1, &Settings::ShotGapFrames, 0, 1000),
    integerRow("ShotSnapFrames"_L1, &Settings::ShotSnapFrames, 0, 1000),
    integerRow("MinGapFrames"_L1, &Settings::MinGapFrames, 0, 1000),
};

constexpr auto Keys = [] {
    std::array<SettingKey, Rows.size()> keys{};
    std::transform(Rows.begin(), Rows.end(), keys.begin(), [](const KeyRow &row) { return row.key; });
    return keys;
}();

const KeyRow *findRow(QStringView name)
{
    const auto found = std::find_if(Rows.begin(), Rows.end(), [name](const KeyRow &row) {
        return name.compare(row.key.name, Qt::CaseInsensitive) == 0;
    });
    return found == Rows.end() ? nullptr : &*found;
}

const KeyRow &rowOf(const SettingKey &key)
{
    return *std::find_if(Rows.begin(), Rows.end(), [&key](const KeyRow &row) { return row.key.name == key.name; });
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
        settings.*row.text = text + LanguageFileSuffix;
        return std::nullopt;
    case SettingKind::Encoding:
        if (!isKnownEncoding(text.trimmed()))
            return SettingProblem{SettingProblem::Kind::UnknownEncoding, QString(row.key.name), text};
        settings.*row.text = isAutoEncoding(text.trimmed()) ? QString(AutoEncoding) : text.trimmed();
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
    case SettingKind::Language: {
        // The whole name, points included ("Pt.BR"), so it comes back on restart.
        const QString &langFileBase = settings.*row.text;
        if (langFileBase.endsWith(LanguageFileSuffix, Qt::CaseInsensitive))
            return langFileBase.chopped(LanguageFileSuffix.size());
        return langFileBase.section(u'.', 0, 0);
    }
    case SettingKind::Encoding:
        return settings.*row.text;
    }
    return {};
}

} // namespace

QList<SettingProblem> Settings::problems() const
{
    QList<SettingProblem> problems;
    for (const KeyRow &row : Rows) {
        const SettingKey &key = row.key;
        if (key.kind == SettingKind::Integer) {
            const qint32 value = this->*row.integer;
            if (value < key.minimum || value > key.maximum) {
                // A setting without a greatest value can only be too small.
                const auto kind = key.maximum == SettingKey::NoMaximum ? SettingProblem::Kind::BelowOne
                                                                       : SettingProblem::Kind::OutOfRange;
                problems.append({kind, QString(key.name), QString::number(value)});
            }
        } else if (key.kind == SettingKind::Encoding && !isKnownEncoding(this->*row.text)) {
            problems.append({SettingProblem::Kind::UnknownEncoding, QString(key.name), this->*row.text});
        }
    }
    return problems;
}

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

QString canonicalKeyName(QStringView name)
{
    const KeyRow *row = findRow(name);
    return row ? QString(row->key.name) : QString();
}

QString defaultText(const SettingKey &key)
{
    return textOf(Settings{}, rowOf(key)).trimmed();
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

std::optional<SettingProblem> applyStoredValue(Settings &settings, const SettingKey &key, const QString &text)
{
    return applyRow(settings, rowOf(key), text);
}

QString storedText(const Settings &settings, const SettingKey &key)
{
    return textOf(settings, rowOf(key));
}

bool isMainWindowPlace(const SettingKey &key)
{
    const float Settings::*geometry = rowOf(key).geometry;
    return geometry
        && (geometry == &Settings::MainXTwips || geometry == &Settings::MainYTwips
            || geometry == &Settings::MainWidthTwips || geometry == &Settings::MainHeightTwips);
}

QString defaultFilePath(const QString &executableFolder)
{
    // A writable folder is not enough: ~/.local/bin is writable, and the
    // user's executables are no place for settings.
    if (LanguageLocator::isPortableFolder(executableFolder))
        return QDir(executableFolder).filePath(LanguageLocator::settingsFileName());
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(configFolder).filePath(u"quillmend/"_s + LanguageLocator::settingsFileName());
}

} // namespace SettingsStore
