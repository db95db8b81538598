// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/timeline/timelinedrag.h"

#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

constexpr double DragThreshold = 3; // pixels a press moves before it is a drag

} // namespace

TimelineDrag::TimelineDrag(const Hit &hit, double pressX, const SubtitleDocument &document)
    : m_hit(hit), m_pressX(pressX), m_x(pressX)
{
    const SubtitleList &list = document.correctedList();
    m_startMs = list.startMs(hit.row);
    m_endMs = list.endMs(hit.row);
    m_limits = document.timeLimits(hit.row);
    if (hit.part == Part::Boundary)
        m_boundary = document.boundaryLimits(hit.row);
}

void TimelineDrag::moveTo(double x)
{
    m_x = x;
    m_moved = m_moved || std::abs(m_x - m_pressX) >= DragThreshold;
}

TimeRange TimelineDrag::range() const
{
    switch (m_hit.part) {
    case Part::Start:
        return m_limits.start;
    case Part::End:
        return m_limits.end;
    case Part::Body:
        return m_limits.movedStart;
    case Part::Boundary:
        return m_boundary;
    case Part::None:
        break;
    }
    return {};
}

qint64 TimelineDrag::heldEdgeMs() const
{
    return m_hit.part == Part::End || m_hit.part == Part::Boundary ? m_endMs : m_startMs;
}

std::pair<qint64, qint64> TimelineDrag::times(qint64 deltaMs) const
{
    return timesWithEdgeAt(heldEdgeMs() + deltaMs);
}

std::pair<qint64, qint64> TimelineDrag::timesWithEdgeAt(qint64 edgeMs) const
{
    const qint64 ms = range().clamp(edgeMs);
    switch (m_hit.part) {
    case Part::Start:
        return {ms, m_endMs};
    case Part::Body:
        return {ms, m_endMs + ms - m_startMs};
    case Part::End:
    case Part::Boundary:
        return {m_startMs, ms};
    case Part::None:
        break;
    }
    return {m_startMs, m_endMs};
}

void TimelineDrag::apply(SubtitleDocument &document, std::pair<qint64, qint64> times) const
{
    const auto [startMs, endMs] = times;
    switch (m_hit.part) {
    case Part::Start:
        document.editTimeMs(m_hit.row, SubtitleDocument::TimeField::Start, startMs);
        break;
    case Part::End:
        document.editTimeMs(m_hit.row, SubtitleDocument::TimeField::End, endMs);
        break;
    case Part::Body:
        document.moveTimesMs(m_hit.row, startMs);
        break;
    case Part::Boundary:
        document.moveBoundaryMs(m_hit.row, endMs);
        break;
    case Part::None:
        break;
    }
}

QCursor TimelineDrag::edgeCursor(bool startOfBox, bool endOfBox)
{
    QPixmap pixmap(25, 25);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (const auto &[colour, width] : {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(12, 3, 12, 21);
        painter.drawLine(4, 12, 20, 12);
        painter.drawPolyline(QPolygon({QPoint(7, 9), QPoint(4, 12), QPoint(7, 15)}));
        painter.drawPolyline(QPolygon({QPoint(17, 9), QPoint(20, 12), QPoint(17, 15)}));
        for (const int y : {3, 21}) {
            if (startOfBox)
                painter.drawLine(12, y, 16, y);
            if (endOfBox)
                painter.drawLine(12, y, 8, y);
        }
    }
    return QCursor(pixmap, 12, 12);
}
