// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/nautilusscriptshellverb.h"

#include "shell/filemanagers/verbtext.h"

namespace {

QByteArray markerLine()
{
    return "\n# " + verbMarkerKey().toUtf8() + "=true\n";
}

} // namespace

NautilusScriptShellVerb::NautilusScriptShellVerb(const QString &executablePath, const QString &scriptsFolder)
    : OwnFileShellVerb(executablePath, scriptsFolder, verbMenuText(), QStringLiteral("a Nautilus script"), true)
{
}

QByteArray NautilusScriptShellVerb::content() const
{
    // Nautilus passes the selected files as arguments, relative to the
    // folder it starts the script in; the program gets each one whole and
    // absolute, so a name starting with "-" is no option.
    return "#!/bin/sh\n"
           "# Runs Quillmend unattended on each selected .srt or .vtt file."
        + markerLine()
        + "for file in \"$@\"; do\n"
          "    case $file in\n"
          "        *.[Ss][Rr][Tt] | *.[Vv][Tt][Tt]) ;;\n"
          "        *) continue ;;\n"
          "    esac\n"
          "    case $file in\n"
          "        /*) ;;\n"
          "        *) file=$PWD/$file ;;\n"
          "    esac\n"
          "    if [ -f \"$file\" ]; then\n"
          "        "
        + shellWord(executablePath()).toUtf8()
        + " /auto \"$file\"\n"
          "    fi\n"
          "done\n";
}

OwnFileShellVerb::FileState NautilusScriptShellVerb::classify(const QByteArray &content) const
{
    return content.startsWith("#!/bin/sh\n") && content.contains(markerLine()) ? FileState::Registered
                                                                             : FileState::Foreign;
}
