// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/shellverb.h"

#include <QByteArray>
#include <QString>

// The verb as one file of our own that a file manager reads from a folder:
// written whole, told from the user's files by a marker, and removed only
// when it carries that marker.
class OwnFileShellVerb : public ShellVerb
{
public:
    QString filePath() const;

    bool IsShellVerbRegistered() override;
    bool SetShellVerb(bool add, QString *errorText = nullptr) override;

protected:
    enum class FileState { Missing, Foreign, Ours, Registered };

    // kindName names the file in messages ("a desktop entry"); executable
    // files get the execute bits, and count as registered only with them.
    OwnFileShellVerb(const QString &executablePath, const QString &folder, const QString &fileName,
                     const QString &kindName, bool executable = false);

    const QString &executablePath() const { return m_executablePath; }
    // The file for the program's path, which isCarriablePath() accepted.
    virtual QByteArray content() const = 0;
    // Foreign, Ours or Registered for what the file holds.
    virtual FileState classify(const QByteArray &content) const = 0;
    // Runs after the file was written or removed.
    virtual void changed() const {}

    // For key files: ours when markerGroup holds the marker, registered when
    // a group whose name starts with actionGroupPrefix also has the verb's
    // menu text as its Name.
    static FileState classifyKeyFile(const QByteArray &content, const QString &markerGroup,
                                     const QString &actionGroupPrefix);

private:
    FileState fileState() const;
    bool writeFile(QString *errorText) const;
    bool removeFile(QString *errorText) const;

    QString m_executablePath;
    QString m_folder;
    QString m_fileName;
    QString m_kindName;
    bool m_executable;
};
