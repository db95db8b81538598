// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/inifile.h"
#include "settings/settingproblem.h"
#include "settings/settings.h"

#include <QList>
#include <QString>

#include <optional>

class LangDoc;

// The settings file: every key read from one read of its "General" section,
// and written in one replacement of the file.
class SettingsFile
{
public:
    explicit SettingsFile(const QString &path);

    const QString &path() const { return m_path; }

    struct Loaded
    {
        Settings settings; // Settings{} for each key missing or unusable
        // The file cannot be read as settings: nothing was taken from it.
        std::optional<IniFile::FileProblem> fileProblem;
        QList<SettingProblem> problems; // values that could not be taken, in key order
        bool hasMainWindowPlace = false; // the main window has been placed before
    };
    Loaded load() const;

    // Writes every key, creating the file's folder first; everything else in
    // the file is kept. False, with errorString(), when nothing was written.
    bool save(const Settings &settings);
    // Why the last save failed, in the system's words.
    QString errorString() const { return m_errorString; }

private:
    QString m_path;
    QString m_errorString;
};

// Why a settings file cannot be read ("it holds a NUL byte"), in the
// language of lang.
QString settingsFileProblemText(const IniFile::FileProblem &problem, const LangDoc &lang);
