// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/nemoactionshellverb.h"

#include "shell/filemanagers/verbtext.h"

NemoActionShellVerb::NemoActionShellVerb(const QString &executablePath, const QString &actionsFolder)
    : OwnFileShellVerb(executablePath, actionsFolder, QStringLiteral("quillmend-correct-subtitles.nemo_action"),
                       QStringLiteral("a Nemo action"))
{
}

QByteArray NemoActionShellVerb::content() const
{
    // Nemo splits the command into words without a shell, after putting the
    // selected path in double quotes for %F and turning %% into %. It shows
    // the action when the name, in lower case, ends with an extension in
    // lower case; the dot keeps "notes.xsrt" out.
    return QStringLiteral("[Nemo Action]\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3 /auto %F\n"
                          "Icon-Name=quillmend\n"
                          "Selection=s\n"
                          "Extensions=.srt;.vtt;\n"
                          "Quote=double\n"
                          "%4=true\n")
        .arg(verbMenuText(), verbComment(), keyFileValue(percentShellWord(executablePath())), verbMarkerKey())
        .toUtf8();
}

OwnFileShellVerb::FileState NemoActionShellVerb::classify(const QByteArray &content) const
{
    return classifyKeyFile(content, QStringLiteral("Nemo Action"), QStringLiteral("Nemo Action"));
}
