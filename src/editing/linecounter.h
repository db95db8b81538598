// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

class LangDoc;

// The line counter under the lists: "2 line(s) [35 - 20]" for a text of two
// lines of 35 and 20 characters. Lines end at "\n" (the box's own line
// ends); lengths count characters as the correction does, so a letter
// outside the Basic Multilingual Plane counts once.
QString lineCounterText(QStringView text, const LangDoc &lang);
