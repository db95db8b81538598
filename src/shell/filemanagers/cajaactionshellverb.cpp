// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/cajaactionshellverb.h"

#include "shell/filemanagers/verbtext.h"

CajaActionShellVerb::CajaActionShellVerb(const QString &executablePath, const QString &actionsFolder)
    : OwnFileShellVerb(executablePath, actionsFolder, QStringLiteral("quillmend-correct-subtitles.desktop"),
                       QStringLiteral("a Caja action"))
{
}

QByteArray CajaActionShellVerb::content() const
{
    // The extension runs the command once per selected file for %f, which it
    // quotes itself, and splits the words without a shell. It cuts the command
    // at its first blank and joins it back with one, which a path with two
    // blanks in a row would not survive in quotes; shellWord() gives each
    // blank its own backslash.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Action\n"
                          "Name=%1\n"
                          "Tooltip=%2\n"
                          "Icon=quillmend\n"
                          "Profiles=correct-subtitles;\n"
                          "%3=true\n"
                          "\n"
                          "[X-Action-Profile correct-subtitles]\n"
                          "Name=%1\n"
                          "Exec=%4 /auto %f\n"
                          "Basenames=*.srt;*.vtt;\n"
                          "Matchcase=false\n")
        .arg(verbMenuText(), verbComment(), verbMarkerKey(), keyFileValue(percentShellWord(executablePath())))
        .toUtf8();
}

OwnFileShellVerb::FileState CajaActionShellVerb::classify(const QByteArray &content) const
{
    return classifyKeyFile(content, QStringLiteral("Desktop Entry"), QStringLiteral("Desktop Entry"));
}
