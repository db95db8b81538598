// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/savecommand.h"
#include "document/subtitlefile.h"

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
    // Content beyond sizeLimit bytes is refused, so nothing is written that
    // the reader would then refuse to open.
    explicit FileReplacement(const QString &target, qint64 sizeLimit = MaxSubtitleFileBytes);
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
    qint64 m_sizeLimit;
    qint64 m_written = 0;
    bool m_notRegular = false;
    bool m_tooLarge = false;
};
