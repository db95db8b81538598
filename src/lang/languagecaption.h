// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class LangDoc;

// A language's name as the Languages menu shows it in lang: the shipped
// languages in lang's words, any other (a file a user made) as its file names it.
QString languageCaption(const QString &languageName, const LangDoc &lang);
