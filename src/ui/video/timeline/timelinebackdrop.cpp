// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/timeline/timelinebackdrop.h"

#include "media/peaks.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// A tick spacing that gives ticks at least minimumPixels apart.
qint64 tickSpacingMs(qint64 spanMs, double width, double minimumPixels)
{
    static constexpr qint64 Steps[] = {100, 200, 500, 1'000, 2'000, 5'000, 10'000, 15'000, 30'000, 60'000,
                                       120'000, 300'000, 600'000};
    for (const qint64 step : Steps) {
        if (double(step) / double(spanMs) * width >= minimumPixels)
            return step;
    }
    return Steps[std::size(Steps) - 1];
}

QString tickLabel(qint64 ms, qint64 spacingMs)
{
    const qint64 seconds = ms / 1000;
    QString label = QStringLiteral("%1:%2:%3")
                        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (spacingMs < 1000)
        label += QStringLiteral(",%1").arg(ms % 1000 / 100);
    return label;
}

} // namespace

TimelineBackdrop::TimelineBackdrop(QPainter &painter, const QPalette &palette, qint64 viewStartMs, qint64 spanMs,
                                   int width)
    : m_painter(painter), m_palette(palette), m_viewStartMs(viewStartMs), m_spanMs(spanMs), m_width(width)
{
}

qint64 TimelineBackdrop::msAt(double x) const
{
    return m_viewStartMs + qint64(std::llround(x / std::max(1, m_width) * double(m_spanMs)));
}

double TimelineBackdrop::xOf(qint64 ms) const
{
    return double(ms - m_viewStartMs) * m_width / double(m_spanMs);
}

void TimelineBackdrop::paintRuler(double height) const
{
    QPainter &painter = m_painter;
    painter.fillRect(QRectF(0, 0, m_width, height), m_palette.window());
    const qint64 spacing =
        tickSpacingMs(m_spanMs, m_width, painter.fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,0")) + 16);
    painter.setPen(m_palette.windowText().color());
    for (qint64 tick = m_viewStartMs / spacing * spacing; tick < m_viewStartMs + m_spanMs; tick += spacing) {
        const double x = xOf(tick);
        painter.drawLine(QPointF(x, height - 4), QPointF(x, height));
        painter.drawText(QPointF(x + 2, height - 4), tickLabel(tick, spacing));
    }
}

void TimelineBackdrop::paintWaveform(const QRectF &band, const Peaks *peaks, const QString &note,
                                     const QString &link, const QRectF &linkRect) const
{
    QPainter &painter = m_painter;
    if (band.height() < 2)
        return;
    painter.fillRect(band, m_palette.alternateBase());
    const double middle = band.center().y();
    if (!peaks || peaks->bins.empty()) {
        painter.setPen(m_palette.placeholderText().color());
        painter.drawText(band, Qt::AlignCenter, note);
        if (!linkRect.isEmpty()) {
            QFont underlined = painter.font();
            underlined.setUnderline(true);
            painter.save();
            painter.setFont(underlined);
            painter.setPen(m_palette.link().color());
            painter.drawText(linkRect, Qt::AlignCenter, link);
            painter.restore();
        }
        return;
    }
    painter.setPen(m_palette.mid().color());
    painter.drawLine(QPointF(0, middle), QPointF(m_width, middle));
    // A blue that reads on light and dark backgrounds alike.
    painter.setPen(QColor(70, 120, 190));
    const double half = band.height() / 2 - 1;
    // One column a pixel: the loudest and quietest of the time it covers.
    for (int x = 0; x < m_width; ++x) {
        const Peaks::Bin bin = peaks->extremes(msAt(x), std::max(msAt(x + 1), msAt(x) + 1));
        if (bin.minimum == 0 && bin.maximum == 0)
            continue;
        const double top = middle - double(bin.maximum) / 32767.0 * half;
        const double bottom = middle - double(bin.minimum) / 32767.0 * half;
        painter.drawLine(QPointF(x + 0.5, top), QPointF(x + 0.5, std::max(bottom, top + 1)));
    }
}
