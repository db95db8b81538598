// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/servicemenushellverb.h"

#include "shell/filemanagers/verbtext.h"

ServiceMenuShellVerb::ServiceMenuShellVerb(const QString &executablePath, const QString &serviceMenusFolder)
    : OwnFileShellVerb(executablePath, serviceMenusFolder, QStringLiteral("quillmend-correct-subtitles.desktop"),
                       QStringLiteral("a KDE service menu"), true)
{
}

QByteArray ServiceMenuShellVerb::content() const
{
    // The service type is what KDE before the servicemenus folder looked for.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Service\n"
                          "MimeType=application/x-subrip;text/vtt;\n"
                          "Actions=correct-subtitles;\n"
                          "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                          "X-KDE-Priority=TopLevel\n"
                          "%1=true\n"
                          "\n"
                          "[Desktop Action correct-subtitles]\n"
                          "Name=%2\n"
                          "Icon=quillmend\n"
                          "Exec=%3\n")
        .arg(verbMarkerKey(), verbMenuText(), keyFileValue(desktopEntryCommand(executablePath())))
        .toUtf8();
}

OwnFileShellVerb::FileState ServiceMenuShellVerb::classify(const QByteArray &content) const
{
    return classifyKeyFile(content, QStringLiteral("Desktop Entry"), QStringLiteral("Desktop Action "));
}
