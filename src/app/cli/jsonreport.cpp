// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/jsonreport.h"

#include "app/cli/filecorrection.h"

QString jsonString(QStringView text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            quoted += QStringLiteral("\\\"");
            break;
        case '\\':
            quoted += QStringLiteral("\\\\");
            break;
        case '\n':
            quoted += QStringLiteral("\\n");
            break;
        case '\r':
            quoted += QStringLiteral("\\r");
            break;
        case '\t':
            quoted += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

QString jsonReportLine(const FileCorrectionReport &report, const LangDoc &lang)
{
    // Written by hand rather than through a document object: a large file
    // has a million records, and this streams them with one buffer.
    QString line = QStringLiteral("{\"file\":") + jsonString(report.file);
    if (report.corrected) {
        const CorrectionCounters &counters = report.counters;
        line += QStringLiteral(",\"encoding\":") + jsonString(report.encoding.displayName());
        // Only for WebVTT, so an SRT file reports as it always has.
        if (report.format != SubtitleFormat::SubRip)
            line += QStringLiteral(",\"format\":") + jsonString(subtitleFormatName(report.format));
        line += QStringLiteral(",\"subtitlesIn\":") + QString::number(report.subtitlesIn)
            + QStringLiteral(",\"subtitlesOut\":") + QString::number(report.subtitlesOut)
            + QStringLiteral(",\"summary\":") + jsonString(report.summary) + QStringLiteral(",\"counters\":{\"edits\":")
            + QString::number(counters.edits) + QStringLiteral(",\"splits\":") + QString::number(counters.splits)
            + QStringLiteral(",\"timeEdits\":") + QString::number(counters.timeEdits)
            + QStringLiteral(",\"splitTimeEdits\":") + QString::number(counters.splitTimeEdits)
            + QStringLiteral(",\"longLinesLeft\":") + QString::number(counters.longLinesLeft)
            + QStringLiteral(",\"timeOnlyEdits\":") + QString::number(counters.timeOnlyEdits)
            + QStringLiteral("},\"records\":[");
        // Kind texts repeat; look each up once.
        QString kinds[3][2][2];
        for (size_t i = 0; i < report.records.size(); ++i) {
            const EditRecord &record = report.records[i];
            QString &kind = kinds[int(record.change)][record.timeBought ? 1 : 0][record.shotChange ? 1 : 0];
            if (kind.isEmpty())
                kind = jsonString(record.kindText(lang));
            if (i > 0)
                line += QLatin1Char(',');
            line += QStringLiteral("{\"ordinal\":") + QString::number(record.ordinal) + QStringLiteral(",\"kind\":")
                + kind + QLatin1Char('}');
        }
        const auto numbers = [&line](const char16_t *key, const std::vector<qint64> &values) {
            line += QStringLiteral("],\"") + QString::fromUtf16(key) + QStringLiteral("\":[");
            for (size_t i = 0; i < values.size(); ++i) {
                if (i > 0)
                    line += QLatin1Char(',');
                line += QString::number(values[i]);
            }
        };
        numbers(u"tooFast", report.tooFast);
        numbers(u"moved", report.moved);
        if (report.shotChangesGiven)
            numbers(u"shotChange", report.shotChange);
        line += QLatin1Char(']');
        line += QStringLiteral(",\"lenientTimeLines\":") + QString::number(report.lenientTimeLines);
        // Only away from the defaults, so a default run reports as it always has.
        if (report.language)
            line += QStringLiteral(",\"language\":")
                + (report.language->isEmpty() ? QStringLiteral("null") : jsonString(*report.language));
        if (report.minGapMs != 1)
            line += QStringLiteral(",\"minGapMs\":") + QString::number(report.minGapMs);
        if (report.shotChangesGiven) {
            // Three decimals at most: 23.976, 25.
            QString rate = QString::number(report.frameRate, 'f', 3);
            while (rate.endsWith(u'0'))
                rate.chop(1);
            if (rate.endsWith(u'.'))
                rate.chop(1);
            line += QStringLiteral(",\"shotChanges\":") + QString::number(report.shotChanges)
                + QStringLiteral(",\"frameRate\":") + (report.frameRate > 0 ? rate : QStringLiteral("null"));
        }
    }
    if (!report.ok)
        line += QStringLiteral(",\"error\":") + jsonString(report.error);
    line += QLatin1Char('}');
    return line;
}
