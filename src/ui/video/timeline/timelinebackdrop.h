// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class QPalette;
struct Peaks;

// What the timeline draws behind and across the subtitles' boxes, for one
// stretch of time over a width in pixels: the ruler and the waveform.
class TimelineBackdrop
{
public:
    TimelineBackdrop(QPainter &painter, const QPalette &palette, qint64 viewStartMs, qint64 spanMs, int width);

    // The time at x, and the x of a time, as the view has them.
    qint64 msAt(double x) const;
    double xOf(qint64 ms) const;

    void paintRuler(double height) const;
    // The peaks in band; without any, note and under it link (drawn in linkRect).
    void paintWaveform(const QRectF &band, const Peaks *peaks, const QString &note, const QString &link,
                       const QRectF &linkRect) const;

private:
    QPainter &m_painter;
    const QPalette &m_palette;
    qint64 m_viewStartMs;
    qint64 m_spanMs;
    int m_width;
};
