// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The Open and Save as file dialogs. An empty answer means cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // An existing .srt or .vtt file, starting from presetPath.
    virtual QString chooseFileToOpen(QWidget *parent, const QString &title, const QString &presetPath) = 0;
    // An existing video or sound file; filter as a file dialog takes it.
    virtual QString chooseVideoToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                                      const QString &filter) = 0;
    // A file name to save under; the dialog asks no overwrite question,
    // because saving keeps a backup of a file it replaces.
    virtual QString chooseFileToSave(QWidget *parent, const QString &title, const QString &presetPath) = 0;
    // A list of a film's shot changes to read, or a name to write one under
    // (asking before it replaces a file); filter as a file dialog takes it.
    virtual QString chooseListToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                                     const QString &filter) = 0;
    virtual QString chooseListToSave(QWidget *parent, const QString &title, const QString &presetPath,
                                     const QString &filter) = 0;
};

// The platform's file dialogs.
class DialogFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen(QWidget *parent, const QString &title, const QString &presetPath) override;
    QString chooseVideoToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                              const QString &filter) override;
    QString chooseFileToSave(QWidget *parent, const QString &title, const QString &presetPath) override;
    QString chooseListToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                             const QString &filter) override;
    QString chooseListToSave(QWidget *parent, const QString &title, const QString &presetPath,
                             const QString &filter) override;
};
