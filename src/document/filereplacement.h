// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/subtitlefile.h"

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

class LangDoc;

// Replaces a file's content all at once. The new content goes to a
// temporary file beside the target and takes the target's place only on
// commit, so a failure or a crash at any moment leaves the old file as it
// was. Content can be written in pieces, so a large file is never held
// whole in memory. Each step returns whether it worked; errorText() says
// why one did not, in the language of lang.
class FileReplacement
{
public:
    // Content beyond sizeLimit bytes is refused, so nothing is written that
    // the reader would then refuse to open.
    FileReplacement(const QString &target, const LangDoc &lang, qint64 sizeLimit = MaxSubtitleFileBytes);
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    void cancel();

    // Puts the new content in place; with backUp, first keeps the old file
    // as target + ".bak", replacing an older one.
    bool commit(bool backUp);

    // "Cannot save <target>: <why>".
    QString errorText() const;

private:
    QString m_target;
    const LangDoc &m_lang;
    QSaveFile m_file;
    QString m_reason;
    qint64 m_sizeLimit;
    qint64 m_written = 0;
    bool m_notRegular = false;
    bool m_tooLarge = false;
};
