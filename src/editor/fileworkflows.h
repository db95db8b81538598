// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>

class Prompter;
class SubtitleDocument;
struct SaveOutcome;
struct Settings;

// What happens when a person opens, corrects, saves, saves as or reopens a
// subtitle file, with the questions that keep work from being lost on the
// way, all asked through the prompter. The window wires its commands here
// and shows what the document's signals say; tests answer the questions
// with a script and need no window.
class FileWorkflows : public QObject
{
    Q_OBJECT

public:
    // settings are read when a workflow runs; settingsPath is named when
    // they are at fault; languageFolders hold the weak-word lists.
    FileWorkflows(SubtitleDocument &document, Settings &settings, Prompter &prompter, QString settingsPath,
                  QStringList languageFolders, QObject *parent = nullptr);

    // Reads fileName into the original list in encodingName ("auto" to
    // detect it; empty: the Encoding setting), after asking about unsaved
    // edits. A file refused for a time line that the common variants would
    // read asks whether to read such lines from now on. False when nothing
    // was loaded; a missing file is passed over without a word.
    bool LoadFileToList(const QString &fileName, const QString &encodingName = {});
    // The correction run (F8) over the open file as it is on disk now, after
    // asking about hand edits, a file changed by another program, or one
    // saved since it was read.
    bool EditSubs();
    // The film's cuts the corrections use from now on (ShotChanges); none: {}.
    void setShotChanges(ShotChanges shotChanges) { m_shotChanges = std::move(shotChanges); }
    // Over the open file; asks first when another program changed it.
    bool save();
    // A copy at target, asking before it replaces another file; the open
    // file itself is a Save.
    bool saveAs(const QString &target);
    // Before the open document goes (closing, opening another): asks to
    // save unsaved edits. False when the user cancelled or the save failed.
    bool askToSave();
    // The open file read again in encodingName and corrected; an encoding
    // the file is not in leaves the document as it is.
    bool reopen(const QString &encodingName);

signals:
    // The user chose to read the common time-format variants from now on:
    // the settings changed and are to be kept.
    void settingsChanged();

private:
    bool saveAndReport(const QString &target, bool createBakFile);
    bool askAboutLenientTimes(const QString &fileName, const struct ReadError &error);

    SubtitleDocument &m_document;
    Settings &m_settings;
    Prompter &m_prompter;
    QString m_settingsPath;
    QStringList m_languageFolders;
    ShotChanges m_shotChanges;
};
