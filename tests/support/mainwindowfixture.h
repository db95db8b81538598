// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "support/fakeshellverb.h"
#include "support/scriptedprompter.h"
#include "ui/filechooser.h"
#include "ui/mainwindow/form1.h"

#include <QFileInfo>
#include <QStringList>

#include <memory>

// Answers the Open dialog from a list and Save as with toSave (empty: cancelled).
class ScriptedChooser : public FileChooser
{
public:
    QStringList toOpen;
    QString toSave;
    QString chooseFileToOpen(QWidget *, const QString &, const QString &) override { return toOpen.value(0); }
    QString chooseFileToSave(QWidget *, const QString &, const QString &) override { return toSave; }
};

// One loaded main window over a settings file and everything it talks to:
// the shipped language files, a scripted prompter and chooser, the verb in
// memory. New language files go beside the settings file.
struct MainWindowFixture
{
    LangDoc lang;
    LanguageLocator languages{QStringList{QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}};
    ScriptedPrompter prompter;
    ScriptedChooser files;
    FakeShellVerb shellVerb;
    std::unique_ptr<Form1> window;

    explicit MainWindowFixture(const QString &settingsPath)
        : window(std::make_unique<Form1>(lang, languages, settingsPath, prompter, files, shellVerb,
                                         QFileInfo(settingsPath).absolutePath()))
    {
        window->Form_Load();
    }
};
