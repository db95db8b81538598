// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Texts shared by the files that put the verb into file managers: how each
// kind of file carries the program's path, and a reader for key files.

// The menu text every file manager shows.
QString verbMenuText();
// The tooltip or comment beside it.
QString verbComment();
// The key, set to "true", that marks a key file as written by this program.
QString verbMarkerKey();

// Whether path can stand in a text file a file manager reads: text that is
// its own file name (so no bytes that are not UTF-8) without control
// characters, which would end a line or reach a shell.
bool isCarriablePath(const QString &path);

// path as one word for a POSIX shell and for GLib's command-line parser:
// every character outside letters, digits and "/._+,:@%-" gets a backslash,
// so blanks, quotes, "$", backticks and globs stay part of the word.
QString shellWord(const QString &path);

// shellWord() with every "%" doubled, for the file managers whose commands
// take "%%" for a literal "%".
QString percentShellWord(const QString &path);

// The desktop-entry command line running path with "/auto" on the file:
// path in double quotes with its four escapes, a literal "%" doubled.
QString desktopEntryCommand(const QString &path);

// text as the value of a key file, whose reader undoes backslash escapes.
QString keyFileValue(const QString &text);

using KeyFileGroups = QHash<QString, QHash<QString, QString>>;

// Groups and their keys; comments, blank lines and keys before the first
// group are skipped, and the first of two equal keys counts.
KeyFileGroups parseKeyFile(const QByteArray &content);
