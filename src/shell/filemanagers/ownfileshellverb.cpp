// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/ownfileshellverb.h"

#include "shell/filemanagers/verbtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// No file of ours comes near this; a larger file is not read at all.
constexpr qint64 MaximumFileBytes = 1024 * 1024;

constexpr QFile::Permissions ExecutablePermissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

void setError(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
}

} // namespace

OwnFileShellVerb::OwnFileShellVerb(const QString &executablePath, const QString &folder, const QString &fileName,
                                   const QString &kindName, bool executable)
    : m_executablePath(executablePath),
      m_folder(folder),
      m_fileName(fileName),
      m_kindName(kindName),
      m_executable(executable)
{
}

QString OwnFileShellVerb::filePath() const
{
    return QDir(m_folder).filePath(m_fileName);
}

bool OwnFileShellVerb::IsShellVerbRegistered()
{
    return fileState() == FileState::Registered;
}

bool OwnFileShellVerb::SetShellVerb(bool add, QString *errorText)
{
    const FileState state = fileState();
    if (add ? state == FileState::Registered : (state == FileState::Missing || state == FileState::Foreign))
        return true;
    if (add && state == FileState::Foreign) {
        setError(errorText,
                 QStringLiteral("Could not add the \"Correct subtitles\" verb: %1 already exists and is not "
                                "Quillmend's; it was left as it is.")
                     .arg(QDir::toNativeSeparators(filePath())));
        return false;
    }
    if (!(add ? writeFile(errorText) : removeFile(errorText)))
        return false;
    changed();
    return true;
}

OwnFileShellVerb::FileState OwnFileShellVerb::classifyKeyFile(const QByteArray &content, const QString &markerGroup,
                                                              const QString &actionGroupPrefix)
{
    const KeyFileGroups groups = parseKeyFile(content);
    if (groups.value(markerGroup).value(verbMarkerKey()) != u"true")
        return FileState::Foreign;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        if (group.key().startsWith(actionGroupPrefix) && group.value().value(QStringLiteral("Name")) == verbMenuText())
            return FileState::Registered;
    }
    return FileState::Ours;
}

OwnFileShellVerb::FileState OwnFileShellVerb::fileState() const
{
    const QFileInfo info(filePath());
    if (!info.exists() && !info.isSymLink())
        return FileState::Missing;
    QFile file(filePath());
    if (!info.isFile() || info.size() > MaximumFileBytes || !file.open(QIODevice::ReadOnly))
        return FileState::Foreign;
    const FileState state = classify(file.read(MaximumFileBytes));
    // A file manager that runs only executable files ignores ours without the bit.
    if (state == FileState::Registered && m_executable && !info.permissions().testFlag(QFile::ExeOwner))
        return FileState::Ours;
    return state;
}

bool OwnFileShellVerb::writeFile(QString *errorText) const
{
    const QString path = QDir::toNativeSeparators(filePath());
    if (!isCarriablePath(m_executablePath)) {
        setError(errorText,
                 QStringLiteral("Could not add the \"Correct subtitles\" verb: the program's path %1 cannot be "
                                "written in %2 (it is not UTF-8 text or holds a control character).")
                     .arg(m_executablePath, m_kindName));
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        setError(errorText,
                 QStringLiteral("Could not write %1: the folder %2 could not be created.")
                     .arg(path, QDir::toNativeSeparators(m_folder)));
        return false;
    }
    const QByteArray bytes = content();
    // Written beside the target and renamed over it, so no half file is seen.
    QSaveFile file(filePath());
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
        && (!m_executable || file.setPermissions(ExecutablePermissions)) && file.commit();
    if (!written) {
        setError(errorText, QStringLiteral("Could not write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool OwnFileShellVerb::removeFile(QString *errorText) const
{
    QFile file(filePath());
    if (file.remove())
        return true;
    setError(errorText,
             QStringLiteral("Could not remove %1: %2").arg(QDir::toNativeSeparators(filePath()), file.errorString()));
    return false;
}
