// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/savecommand.h"

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

class LangDoc;
class Prompter;

// Replaces a file's content all at once. The new content goes to a
// temporary file beside the target and takes the target's place only on
// commit, so a failure or a crash at any moment leaves the old file as it
// was. Content can be written in pieces, so a large file is never held
// whole in memory.
class FileReplacement
{
public:
    explicit FileReplacement(const QString &target);
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    void cancel();

    // With createBakFile and an existing target, keeps the old file as
    // target + ".bak" (an older backup is replaced only when the user says
    // Yes), then puts the new content in place.
    SaveOutcome commit(bool createBakFile, Prompter &prompter, const LangDoc &lang);

    // Why open or write failed, as the outcome of the save.
    SaveOutcome failure(const LangDoc &lang) const;

private:
    QString m_target;
    QSaveFile m_file;
    QString m_reason;
    bool m_notRegular = false;
};
