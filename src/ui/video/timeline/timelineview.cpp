// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/timeline/timelineview.h"

#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "ui/video/subtitleoverlay.h"
#include "ui/video/timeline/timelinebackdrop.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVarLengthArray>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace {

constexpr int RulerHeight = 16;
constexpr double EdgeGrip = 4;   // pixels either side of a box edge that take a drag
constexpr double SharedEdge = 4; // pixels apart at most, two edges are one boundary
// Where a drag stops: orange, apart from the red play line and the blue sound.
const QColor LimitColour(230, 120, 0);
// Shot changes: a thin purple, apart from those, that the lanes' tints and
// the boxes still show through.
const QColor CutColour(140, 60, 170, 170);

} // namespace

TimelineView::TimelineView(SubtitleDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_startCursor(TimelineDrag::edgeCursor(true, false)),
      m_endCursor(TimelineDrag::edgeCursor(false, true)), m_boundaryCursor(TimelineDrag::edgeCursor(true, true))
{
    setObjectName(QStringLiteral("timelineView"));
    setMinimumHeight(90);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Any change of either list shows at once.
    for (const SubtitleList *list : {&document.originalList(), &document.correctedList()}) {
        connect(list, &SubtitleList::changed, this, qOverload<>(&QWidget::update));
        // The length of time to scroll over may be another.
        connect(list, &SubtitleList::wasReset, this, &TimelineView::viewChanged);
    }
    // A drag under way lets go when its rows change under it (an undo by key), as Esc lets go.
    connect(&document.correctedList(), &SubtitleList::changed, this, [this] {
        if (m_drag.isActive())
            m_dragCancelled = true;
        m_drag = {};
        m_hover = {};
    });
}

const SubtitleList &TimelineView::listOf(bool corrected) const
{
    return corrected ? m_document.correctedList() : m_document.originalList();
}

void TimelineView::setPeaks(std::shared_ptr<const Peaks> peaks)
{
    m_peaks = std::move(peaks);
    update();
}

void TimelineView::setWaveformNote(const QString &note, const QString &link)
{
    m_waveformNote = note;
    m_waveformLink = link;
    update();
}

void TimelineView::setLaneNames(const QString &original, const QString &corrected)
{
    m_originalLane = original;
    m_correctedLane = corrected;
    update();
}

void TimelineView::setDurationMs(qint64 durationMs)
{
    m_durationMs = std::max<qint64>(0, durationMs);
    emit viewChanged();
}

void TimelineView::setCutMs(std::vector<qint64> cutMs)
{
    m_cutMs = std::move(cutMs);
    update();
}

qint64 TimelineView::lengthMs() const
{
    qint64 length = m_durationMs;
    for (const bool corrected : {false, true}) {
        const SubtitleList &list = listOf(corrected);
        if (list.rowCount() > 0)
            length = std::max(length, list.endMs(list.rowCount() - 1));
    }
    return length;
}

void TimelineView::setPositionMs(qint64 positionMs)
{
    m_positionMs = std::max<qint64>(0, positionMs);
    // The play line stays in sight, clear of the edges, with what follows
    // it on show.
    if (m_positionMs < m_viewStartMs + m_spanMs / 20 || m_positionMs >= m_viewStartMs + m_spanMs * 9 / 10)
        setViewStartMs(m_positionMs - m_spanMs / 4);
    update();
}

void TimelineView::setSelectedRows(int originalRow, int correctedRow)
{
    m_selectedOriginal = originalRow;
    m_selectedCorrected = correctedRow;
    update();
}

void TimelineView::setSpanMs(qint64 spanMs)
{
    spanMs = std::clamp(spanMs, MinimumSpanMs, MaximumSpanMs);
    if (spanMs == m_spanMs)
        return;
    m_spanMs = spanMs;
    update();
    emit spanChanged(m_spanMs);
    emit viewChanged();
}

void TimelineView::zoomIn()
{
    zoomAround(xOf(m_positionMs), 0.5);
}

void TimelineView::zoomOut()
{
    zoomAround(xOf(m_positionMs), 2.0);
}

void TimelineView::zoomAround(double x, double factor)
{
    // The time under x stays under x.
    const qint64 fixedMs = msAt(x);
    setSpanMs(qint64(std::llround(double(m_spanMs) * factor)));
    setViewStartMs(fixedMs - qint64(std::llround(x / std::max(1, width()) * double(m_spanMs))));
}

void TimelineView::setViewStartMs(qint64 startMs)
{
    startMs = std::clamp<qint64>(startMs, 0, std::max<qint64>(0, lengthMs() - m_spanMs / 2));
    if (startMs == m_viewStartMs)
        return;
    m_viewStartMs = startMs;
    update();
    emit viewChanged();
}

qint64 TimelineView::msAt(double x) const
{
    return m_viewStartMs + qint64(std::llround(x / std::max(1, width()) * double(m_spanMs)));
}

double TimelineView::xOf(qint64 ms) const
{
    return double(ms - m_viewStartMs) * width() / double(m_spanMs);
}

QRectF TimelineView::waveformRect() const
{
    const double laneHeight = std::max(18.0, (height() - RulerHeight) * 0.28);
    return QRectF(0, RulerHeight, width(), std::max(0.0, height() - RulerHeight - 2 * laneHeight));
}

QRectF TimelineView::waveformLinkRect() const
{
    if (m_waveformLink.isEmpty() || hasWaveform())
        return {};
    // Centred on the line under the note.
    const QFontMetricsF metrics(font());
    const QRectF band = waveformRect();
    const QSizeF size(metrics.horizontalAdvance(m_waveformLink) + 8, metrics.height());
    return QRectF(QPointF(band.center().x() - size.width() / 2, band.center().y() + metrics.height() / 2), size);
}

QRectF TimelineView::laneRect(bool corrected) const
{
    const QRectF wave = waveformRect();
    const double laneHeight = (height() - wave.bottom()) / 2;
    return QRectF(0, wave.bottom() + (corrected ? laneHeight : 0), width(), laneHeight);
}

template <typename Visit>
void TimelineView::forEachRowInView(const SubtitleList &list, Visit visit) const
{
    list.forEachRowMeeting(m_viewStartMs, m_viewStartMs + m_spanMs, [&](int row) {
        const qint64 startMs = list.startMs(row);
        visit(row, startMs, std::max(list.endMs(row), startMs));
    });
}

QRectF TimelineView::boxOf(bool corrected, int row) const
{
    const SubtitleList &list = listOf(corrected);
    if (row < 0 || row >= list.rowCount())
        return {};
    const QRectF lane = laneRect(corrected).adjusted(0, 2, 0, -2);
    const double left = xOf(list.startMs(row));
    const double right = std::max(left + 1, xOf(list.endMs(row)));
    const QRectF box(QPointF(left, lane.top()), QPointF(right, lane.bottom()));
    return box.intersects(rect()) ? box : QRectF();
}

QString TimelineView::boxLabel(bool corrected, int row) const
{
    const SubtitleList &list = listOf(corrected);
    if (row < 0 || row >= list.rowCount())
        return {};
    const auto &model = corrected ? m_document.correctedModel() : m_document.originalModel();
    return model.index(row, SubtitleTableModel::NumberColumn).data().toString() + u' '
           + SubtitleOverlay::plainText(list.text(row)).left(80);
}

void TimelineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const TimelineBackdrop backdrop(painter, palette(), m_viewStartMs, m_spanMs, width());
    backdrop.paintRuler(RulerHeight);
    backdrop.paintWaveform(waveformRect(), m_peaks.get(), m_waveformNote, m_waveformLink, waveformLinkRect());
    for (const bool corrected : {false, true}) {
        paintLane(painter, corrected);
        paintLaneName(painter, corrected);
    }
    // Across the waveform and both lanes, over the boxes.
    painter.setPen(QPen(CutColour, 1));
    for (auto cut = std::lower_bound(m_cutMs.begin(), m_cutMs.end(), m_viewStartMs);
         cut != m_cutMs.end() && *cut <= m_viewStartMs + m_spanMs; ++cut) {
        const double cutX = std::round(xOf(*cut)) + 0.5;
        painter.drawLine(QPointF(cutX, RulerHeight), QPointF(cutX, height()));
    }
    paintDragLimits(painter);
    const double x = xOf(m_positionMs);
    painter.setPen(QPen(QColor(220, 40, 40), 1));
    painter.drawLine(QPointF(x, 0), QPointF(x, height()));
}

void TimelineView::paintLane(QPainter &painter, bool corrected) const
{
    const SubtitleList &list = listOf(corrected);
    const SubtitleTableModel &model = corrected ? m_document.correctedModel() : m_document.originalModel();
    const QRectF lane = laneRect(corrected);
    painter.fillRect(lane, corrected ? palette().base() : palette().alternateBase());

    const int selected = corrected ? m_selectedCorrected : m_selectedOriginal;
    const QColor boxColour = palette().button().color();
    const QColor edgeColour = palette().mid().color();
    const QFontMetricsF metrics(painter.font());
    const bool dragging = corrected && m_drag.isActive() && m_drag.hasMoved();
    const std::pair<qint64, qint64> dragged = dragging ? draggedTimes(m_drag.x()) : std::pair<qint64, qint64>();
    const TimelineDrag::Hit &held = m_drag.hit();
    forEachRowInView(list, [&](int row, qint64 startMs, qint64 endMs) {
        // The rows a drag moves are drawn where it would put them.
        if (dragging && row == held.row) {
            startMs = held.part == DragPart::Boundary ? startMs : dragged.first;
            endMs = dragged.second;
        } else if (dragging && held.part == DragPart::Boundary && row == held.row + 1) {
            startMs += dragged.second - m_drag.endMs();
        }
        const double left = xOf(startMs);
        const double right = std::max(left + 1, xOf(endMs));
        const QRectF box(QPointF(left, lane.top() + 2), QPointF(right, lane.bottom() - 2));
        painter.fillRect(box, boxColour);
        const QModelIndex number = model.index(row, SubtitleTableModel::NumberColumn);
        if (corrected) {
            const QVariant tint = number.data(Qt::BackgroundRole);
            if (tint.canConvert<QColor>())
                painter.fillRect(box, tint.value<QColor>());
        }
        if (row == selected) {
            painter.setPen(QPen(palette().highlight().color(), 2));
            painter.drawRect(box.adjusted(1, 1, -1, -1));
        } else {
            painter.setPen(edgeColour);
            painter.drawRect(box);
        }
        if (corrected && !dragging && row == m_hover.row) {
            // The edge a drag would take, lit.
            painter.setPen(QPen(palette().highlight().color(), 3));
            if (m_hover.part == DragPart::Start)
                painter.drawLine(box.topLeft(), box.bottomLeft());
            else if (m_hover.part == DragPart::End || m_hover.part == DragPart::Boundary)
                painter.drawLine(box.topRight(), box.bottomRight());
        }
        if (box.width() < 24)
            return;
        // Number and mark, then the first words, as far as the box allows.
        painter.setPen(palette().buttonText().color());
        painter.drawText(box.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(boxLabel(corrected, row), Qt::ElideRight, box.width() - 5));
    });
}

void TimelineView::paintLaneName(QPainter &painter, bool corrected) const
{
    // Over the boxes, on a plate of the lane's colour, so a box at the left
    // edge does not hide it.
    const QString &name = corrected ? m_correctedLane : m_originalLane;
    if (name.isEmpty())
        return;
    const QRectF lane = laneRect(corrected);
    const QFontMetricsF metrics(painter.font());
    const QRectF plate(lane.left(), lane.bottom() - metrics.height() - 1, metrics.horizontalAdvance(name) + 8,
                       metrics.height() + 1);
    QColor background = (corrected ? palette().base() : palette().alternateBase()).color();
    background.setAlpha(220);
    painter.fillRect(plate, background);
    painter.setPen(palette().placeholderText().color());
    painter.drawText(plate.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom, name);
}

void TimelineView::paintDragLimits(QPainter &painter) const
{
    if (!m_drag.isActive() || !m_drag.hasMoved())
        return;
    // Both ends of the range the dragged edge may take; the one it rests
    // on drawn bold.
    const TimeRange range = m_drag.range();
    const DragPart part = m_drag.hit().part;
    const qint64 bodyMs =
        part == DragPart::Body ? std::max(m_drag.endMs(), m_drag.startMs()) - m_drag.startMs() : 0;
    const std::pair<qint64, qint64> dragged = draggedTimes(m_drag.x());
    const qint64 edgeMs = part == DragPart::Start || part == DragPart::Body ? dragged.first : dragged.second;
    const QRectF lane = laneRect(true);
    for (const auto &[limitMs, shownMs] : {std::pair{range.earliestMs, range.earliestMs},
                                           std::pair{range.latestMs, range.latestMs + bodyMs}}) {
        const double x = xOf(shownMs);
        if (x < 0 || x > width())
            continue;
        painter.setPen(QPen(LimitColour, edgeMs == limitMs ? 3 : 1, edgeMs == limitMs ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(QPointF(x, lane.top()), QPointF(x, lane.bottom()));
    }
}

TimelineView::Hit TimelineView::hitAt(const QPointF &point, Qt::KeyboardModifiers modifiers) const
{
    struct Edge
    {
        int row;
        DragPart part;
        double x;
        bool over; // the pointer is over the edge's own box
    };
    Hit hit;
    const double x = point.x();
    for (const bool corrected : {false, true}) {
        if (!laneRect(corrected).contains(point))
            continue;
        hit.corrected = corrected;
        const int selected = corrected ? m_selectedCorrected : m_selectedOriginal;
        QVarLengthArray<Edge, 8> edges;
        int body = -1;
        forEachRowInView(listOf(corrected), [&](int row, qint64 startMs, qint64 endMs) {
            const double left = xOf(startMs);
            const double right = std::max(left + 1, xOf(endMs));
            const bool over = x >= left && x <= right;
            // The selected box's body, else the last one's.
            if (over && (body < 0 || body != selected))
                body = row;
            for (const auto &[part, edgeX] : {std::pair{DragPart::Start, left}, std::pair{DragPart::End, right}}) {
                if (std::abs(x - edgeX) <= EdgeGrip)
                    edges.append({row, part, edgeX, over});
            }
        });
        // The edge taken: the selected subtitle's, else one of the box the
        // pointer is over, else the nearest.
        const auto rank = [&](const Edge &edge) {
            return std::tuple(edge.row != selected, !edge.over, std::abs(x - edge.x));
        };
        const auto taken = std::min_element(edges.begin(), edges.end(),
                                            [&](const Edge &a, const Edge &b) { return rank(a) < rank(b); });
        if (taken == edges.end()) {
            hit.row = body;
            hit.part = body >= 0 ? DragPart::Body : DragPart::None;
            break;
        }
        hit.row = taken->row;
        hit.part = taken->part;
        // With Alt, an end and the next box's start close together move as one.
        const int partnerRow = taken->part == DragPart::End ? taken->row + 1 : taken->row - 1;
        const bool shared = std::any_of(edges.begin(), edges.end(), [&](const Edge &edge) {
            return edge.row == partnerRow && edge.part != taken->part && std::abs(edge.x - taken->x) <= SharedEdge;
        });
        if (corrected && shared && (modifiers & Qt::AltModifier)) {
            hit.row = std::min(taken->row, partnerRow);
            hit.part = DragPart::Boundary;
        }
        break;
    }
    return hit;
}

void TimelineView::showHover(const QPointF &point, Qt::KeyboardModifiers modifiers)
{
    const Hit hit = hitAt(point, modifiers);
    const Hit lit = hit.corrected && hit.part != DragPart::Body ? hit : Hit();
    switch (lit.part) {
    case DragPart::Start:
        setCursor(m_startCursor);
        break;
    case DragPart::End:
        setCursor(m_endCursor);
        break;
    case DragPart::Boundary:
        setCursor(m_boundaryCursor);
        break;
    default:
        setCursor(waveformLinkRect().contains(point) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    if (lit.row != m_hover.row || lit.part != m_hover.part) {
        m_hover = lit;
        update();
    }
}

std::pair<qint64, qint64> TimelineView::draggedTimes(double x) const
{
    const double movedX = x - m_drag.pressX();
    const qint64 heldMs = m_drag.heldEdgeMs();
    if (!m_dragFree && !m_cutMs.empty()) {
        // The edge that lands nearest a cut goes onto it; a body drag may
        // snap its end too, the start following.
        std::vector<qint64> edges{heldMs};
        if (m_drag.hit().part == DragPart::Body)
            edges.push_back(m_drag.endMs());
        double nearestPixels = SnapPixels;
        std::optional<qint64> snappedMs;
        for (const qint64 edgeMs : edges) {
            const double edgeX = xOf(edgeMs) + movedX;
            const auto next = std::lower_bound(m_cutMs.begin(), m_cutMs.end(), msAt(edgeX));
            for (const auto cut : {next, next == m_cutMs.begin() ? m_cutMs.end() : next - 1}) {
                if (cut == m_cutMs.end())
                    continue;
                if (const double pixels = std::abs(xOf(*cut) - edgeX); pixels <= nearestPixels) {
                    nearestPixels = pixels;
                    snappedMs = heldMs + *cut - edgeMs;
                }
            }
        }
        if (snappedMs)
            return m_drag.timesWithEdgeAt(*snappedMs);
    }
    return m_drag.times(qint64(std::llround(movedX / std::max(1, width()) * double(m_spanMs))));
}

void TimelineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = {};
    m_dragCancelled = false;
    m_dragFree = event->modifiers() & Qt::ShiftModifier;
    const Hit hit = hitAt(event->position(), event->modifiers());
    if (hit.corrected && hit.row >= 0)
        m_drag = TimelineDrag(hit, event->position().x(), m_document);
}

void TimelineView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || !m_drag.isActive()) {
        showHover(event->position(), event->modifiers());
        return;
    }
    m_drag.moveTo(event->position().x());
    m_dragFree = event->modifiers() & Qt::ShiftModifier;
    update();
}

void TimelineView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TimelineDrag drag = std::exchange(m_drag, {});
    const bool doubleClicked = std::exchange(m_doubleClicked, false);
    if (std::exchange(m_dragCancelled, false)) {
        update();
        return;
    }
    if (!drag.hasMoved()) {
        // After a double-click the box's start is shown, not the spot clicked.
        if (doubleClicked)
            return;
        if (waveformLinkRect().contains(event->position()))
            emit waveformLinkActivated();
        else
            emit seekRequested(std::max<qint64>(0, msAt(event->position().x())));
        update();
        return;
    }
    m_drag = drag;
    m_dragFree = event->modifiers() & Qt::ShiftModifier;
    const std::pair<qint64, qint64> times = draggedTimes(event->position().x());
    m_drag = {};
    update();
    drag.apply(m_document, times);
}

void TimelineView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Hit hit = hitAt(event->position(), event->modifiers());
    if (hit.row < 0)
        return;
    // Its own release would seek to the spot clicked, over the box's start.
    m_doubleClicked = true;
    if (hit.corrected)
        emit correctedRowActivated(hit.row);
    else
        emit originalRowActivated(hit.row);
}

void TimelineView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (event->modifiers() & Qt::ControlModifier)
        zoomAround(event->position().x(), std::pow(0.8, notches));
    else
        setViewStartMs(m_viewStartMs - qint64(std::llround(notches * double(m_spanMs) / 10)));
    event->accept();
}

void TimelineView::keyPressEvent(QKeyEvent *event)
{
    // Esc lets go of a drag, which springs back.
    if (event->key() == Qt::Key_Escape && m_drag.isActive()) {
        m_drag = {};
        m_dragCancelled = true;
        update();
        return;
    }
    if (event->key() == Qt::Key_Alt && !m_drag.isActive())
        showHover(mapFromGlobal(QCursor::pos()), event->modifiers());
    QWidget::keyPressEvent(event);
}

void TimelineView::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Alt && !m_drag.isActive())
        showHover(mapFromGlobal(QCursor::pos()), event->modifiers());
    QWidget::keyReleaseEvent(event);
}

void TimelineView::leaveEvent(QEvent *event)
{
    m_hover = {};
    update();
    QWidget::leaveEvent(event);
}
