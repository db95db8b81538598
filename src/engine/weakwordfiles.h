// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/weakwords.h"

#include <QStringList>

class LangDoc;

// The weak words of each language, from "<Language>.weakwords.txt" files in
// folders, searched in order as language files are; the first file of a
// language wins. A file holds one word a line in UTF-8; "#" starts a
// comment. A file that cannot be used is left out and named in problems,
// in the language of lang.
WeakWordLists loadWeakWordLists(const QStringList &folders, const LangDoc &lang, QStringList &problems);
