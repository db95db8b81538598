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

// A text a correction re-breaks, as read and as corrected.
inline const QString LongText = QStringLiteral("The lighthouse keeper climbed the stairs twice every night.");
inline const QString LongBroken = QStringLiteral("The lighthouse keeper climbed the stairs\ntwice every night.");

// Two subtitles: the first re-broken by a correction, times left as they are.
inline QByteArray twoSubtitles(const QString &first = LongText,
                               const QString &secondStart = QStringLiteral("00:00:07,000"))
{
    return (srtBlock(1, QStringLiteral("00:00:01,000"), QStringLiteral("00:00:06,000"), first)
            + srtBlock(2, secondStart, QStringLiteral("00:00:09,000"), QStringLiteral("Short one.")))
        .toUtf8();
}

// Test texts are written with "\n"; files end lines with CR LF.
inline QString crlf(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
