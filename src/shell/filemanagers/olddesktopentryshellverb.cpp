// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/olddesktopentryshellverb.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// How long the desktop database refresh may take before it is given up, in ms.
constexpr int RefreshTimeoutMilliseconds = 10000;

} // namespace

OldDesktopEntryShellVerb::OldDesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder)
    : OwnFileShellVerb(executablePath, applicationsFolder, QStringLiteral("quillmend-correct-subtitles.desktop"),
                       QStringLiteral("a desktop entry")),
      m_applicationsFolder(applicationsFolder)
{
}

bool OldDesktopEntryShellVerb::IsShellVerbRegistered()
{
    return true;
}

bool OldDesktopEntryShellVerb::SetShellVerb(bool, QString *errorText)
{
    return OwnFileShellVerb::SetShellVerb(false, errorText);
}

QByteArray OldDesktopEntryShellVerb::content() const
{
    return {};
}

OwnFileShellVerb::FileState OldDesktopEntryShellVerb::classify(const QByteArray &content) const
{
    return classifyKeyFile(content, QStringLiteral("Desktop Entry"), QStringLiteral("Desktop Action "));
}

void OldDesktopEntryShellVerb::changed() const
{
    // The user's desktop database still names the entry, so one that exists
    // is refreshed; none is created, as one nobody refreshes would hide the
    // types of entries added to the folder later. A failure only leaves a
    // name that points nowhere, which file managers pass over.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (program.isEmpty() || !QFileInfo::exists(QDir(m_applicationsFolder).filePath(QStringLiteral("mimeinfo.cache"))))
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {m_applicationsFolder});
    if (process.waitForStarted() && !process.waitForFinished(RefreshTimeoutMilliseconds)) {
        process.kill();
        process.waitForFinished();
    }
}
