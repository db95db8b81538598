// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/linecounter.h"

#include "lang/form1messages.h"

#include <QStringList>

namespace {

qsizetype codePoints(QStringView line)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

} // namespace

QString lineCounterText(QStringView text, const LangDoc &lang)
{
    QStringList lengths;
    qsizetype lineCount = 0;
    for (QStringView line : text.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        lengths << QString::number(codePoints(line));
        ++lineCount;
    }
    return QString::number(lineCount) + GetLangText(lang, Form1Msg::Lines) + u" [" + lengths.join(u" - ") + u']';
}
