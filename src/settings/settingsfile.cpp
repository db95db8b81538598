// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsfile.h"

#include "lang/form1messages.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

SettingsFile::SettingsFile(const QString &path) : m_path(path) {}

SettingsFile::Loaded SettingsFile::load() const
{
    QStringList names;
    for (const SettingKey &key : SettingsStore::keys())
        names << QString(key.name);
    IniFile::Values stored = IniFile(m_path).values(names);

    Loaded loaded;
    loaded.fileProblem = std::move(stored.problem);
    for (qsizetype i = 0; i < stored.values.size(); ++i) {
        const std::optional<QString> &text = stored.values[i];
        if (!text)
            continue;
        const SettingKey &key = SettingsStore::keys()[std::size_t(i)];
        if (auto problem = SettingsStore::applyStoredValue(loaded.settings, key, *text))
            loaded.problems.append(std::move(*problem));
        if (SettingsStore::isMainWindowPlace(key) && !text->trimmed().isEmpty())
            loaded.hasMainWindowPlace = true;
    }
    return loaded;
}

bool SettingsFile::save(const Settings &settings)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QList<std::pair<QString, QString>> entries;
    for (const SettingKey &key : SettingsStore::keys())
        entries.append({QString(key.name), SettingsStore::storedText(settings, key)});
    IniFile ini(m_path);
    const bool saved = ini.setValues(entries);
    m_errorString = ini.errorString();
    return saved;
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
