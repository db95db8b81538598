// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/filereplacement.h"

#include "lang/form1messages.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Copies the file's content to backup through a temporary file, so an old
// backup is only replaced by a complete one.
bool copyToBackup(const QString &target, const QString &backup, QString &reason)
{
    QFile source(target);
    if (!source.open(QIODevice::ReadOnly)) {
        reason = source.errorString();
        return false;
    }
    QSaveFile copy(backup);
    if (!copy.open(QIODevice::WriteOnly)) {
        reason = copy.errorString();
        return false;
    }
    char chunk[256 * 1024];
    for (;;) {
        const qint64 got = source.read(chunk, sizeof chunk);
        if (got < 0 || (got > 0 && copy.write(chunk, got) != got)) {
            reason = got < 0 ? source.errorString() : copy.errorString();
            copy.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
    }
    if (!copy.commit()) {
        reason = copy.errorString();
        return false;
    }
    return true;
}

// Keeps the current target as backup. A hard link costs nothing and keeps
// the old file's permissions; where links are refused, the content is copied.
bool makeBackup(const QString &target, const QString &backup, QString &reason)
{
#ifdef Q_OS_UNIX
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray backupName = QFile::encodeName(backup);
    // Following symbolic links: the backup must hold the file's content, not
    // a second link to the file about to be replaced.
    const auto linkTo = [&](const QByteArray &name) {
        return ::linkat(AT_FDCWD, targetName.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
    };
    if (!QFileInfo::exists(backup)) {
        if (linkTo(backupName))
            return true;
    } else {
        // Link under a temporary name, then rename over the old backup, so
        // there is always one complete backup.
        for (int attempt = 0; attempt < 8; ++attempt) {
            const QString temporary =
                backup + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            const QByteArray temporaryName = QFile::encodeName(temporary);
            if (!linkTo(temporaryName)) {
                if (errno == EEXIST)
                    continue;
                break;
            }
            if (::rename(temporaryName.constData(), backupName.constData()) == 0)
                return true;
            reason = QString::fromLocal8Bit(std::strerror(errno));
            ::unlink(temporaryName.constData());
            return false;
        }
    }
#endif
    return copyToBackup(target, backup, reason);
}

} // namespace

FileReplacement::FileReplacement(const QString &target, const LangDoc &lang, qint64 sizeLimit)
    : m_target(target), m_lang(lang), m_file(target), m_sizeLimit(sizeLimit)
{
}

bool FileReplacement::open()
{
    const QFileInfo info(m_target);
    if (info.exists() && !info.isFile()) {
        m_notRegular = true;
        return false;
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_reason = m_file.errorString();
        return false;
    }
    return true;
}

bool FileReplacement::write(QByteArrayView bytes)
{
    if (bytes.size() > m_sizeLimit - m_written) {
        m_tooLarge = true;
        m_file.cancelWriting();
        return false;
    }
    m_written += bytes.size();
    if (m_file.write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    m_reason = m_file.errorString();
    m_file.cancelWriting();
    return false;
}

void FileReplacement::cancel()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

QString FileReplacement::errorText() const
{
    const QString reason = m_notRegular ? GetLangText(m_lang, Form1Msg::NotRegularFile)
                           : m_tooLarge ? GetLangText(m_lang, Form1Msg::OutputTooLarge).arg(m_sizeLimit)
                                        : m_reason;
    return GetLangText(m_lang, Form1Msg::CannotSave).arg(m_target, reason);
}

bool FileReplacement::commit(bool backUp)
{
    if (backUp) {
        const QString backup = m_target + QStringLiteral(".bak");
        QString reason;
        if (!makeBackup(m_target, backup, reason)) {
            cancel();
            m_reason = GetLangText(m_lang, Form1Msg::CannotBackUp).arg(backup, reason);
            return false;
        }
    }
    if (!m_file.commit()) {
        m_reason = m_file.errorString();
        return false;
    }
    return true;
}
