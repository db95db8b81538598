// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/desktopentryshellverb.h"

#include "shell/filemanagers/verbtext.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// How long the desktop database refresh may take before it is given up, in ms.
constexpr int RefreshTimeoutMilliseconds = 10000;

} // namespace

DesktopEntryShellVerb::DesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder)
    : OwnFileShellVerb(executablePath, applicationsFolder, QStringLiteral("quillmend-correct-subtitles.desktop"),
                       QStringLiteral("a desktop entry")),
      m_applicationsFolder(applicationsFolder)
{
}

QByteArray DesktopEntryShellVerb::content() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3\n"
                          "MimeType=application/x-subrip;\n"
                          "NoDisplay=true\n"
                          "Icon=quillmend\n"
                          "Actions=correct-subtitles;\n"
                          "%4=true\n"
                          "\n"
                          "[Desktop Action correct-subtitles]\n"
                          "Name=%1\n"
                          "Exec=%3\n")
        .arg(verbMenuText(), verbComment(), keyFileValue(desktopEntryCommand(executablePath())), verbMarkerKey())
        .toUtf8();
}

OwnFileShellVerb::FileState DesktopEntryShellVerb::classify(const QByteArray &content) const
{
    return classifyKeyFile(content, QStringLiteral("Desktop Entry"), QStringLiteral("Desktop Action "));
}

void DesktopEntryShellVerb::changed() const
{
    // File managers read the open-with choices from a cache; an old one only
    // delays the change, so a failure here is not the user's concern.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (program.isEmpty())
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
