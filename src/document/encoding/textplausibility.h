// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <QtGlobal>

// How unlike subtitle text a decoding of a file reads: 0 for text whose
// every character is at home in subtitles, more for each sign that the
// bytes were read in the wrong code page. Controls and unassigned code
// points weigh heavily; a symbol that subtitles do not use, a capital right
// after a small letter, a word mixing two scripts and an accented Latin
// letter that no one language's alphabet explains weigh one each. Readings
// of the same bytes are compared by it; its size means nothing on its own.
qint64 implausibility(QStringView text);
