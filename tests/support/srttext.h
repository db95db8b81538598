// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builds SRT text for tests: one block per subtitle, lines ended by CR LF.
inline QString srtBlock(int number, const QString &start, const QString &end, const QString &text)
{
    QString block = QString::number(number) + QStringLiteral("\r\n") + start + QStringLiteral(" --> ") + end
        + QStringLiteral("\r\n");
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        block += line + QStringLiteral("\r\n");
    return block + QStringLiteral("\r\n");
}

// Test texts are written with "\n"; files end lines with CR LF.
inline QString crlf(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
