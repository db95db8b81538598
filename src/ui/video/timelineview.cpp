// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/timelineview.h"

#include "document/timecode.h"
#include "editor/subtitledocument.h"
#include "editor/subtitletablemodel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int RulerHeight = 16;
constexpr double EdgeGrip = 4;       // pixels either side of a box edge that take a drag
constexpr double DragThreshold = 3;  // pixels a press moves before it is a drag
constexpr qint64 LookBackMs = 60'000; // a box this long before the view may still reach into it
// The largest time a time box can hold.
constexpr qint64 LargestTimeMs = 100LL * 3600 * 1000 - 1;

// The first words of a subtitle, on one line.
QString firstWords(const QString &text)
{
    QString line = text.left(80);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return line;
}

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

TimelineView::TimelineView(SubtitleDocument &document, QWidget *parent) : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("timelineView"));
    setMinimumHeight(90);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Any change of either list shows at once.
    for (const SubtitleTableModel *model : {&document.originalModel(), &document.correctedModel()}) {
        connect(model, &QAbstractItemModel::modelReset, this, qOverload<>(&QWidget::update));
        connect(model, &QAbstractItemModel::layoutChanged, this, qOverload<>(&QWidget::update));
        connect(model, &QAbstractItemModel::dataChanged, this, qOverload<>(&QWidget::update));
        connect(model, &QAbstractItemModel::rowsInserted, this, qOverload<>(&QWidget::update));
        connect(model, &QAbstractItemModel::rowsRemoved, this, qOverload<>(&QWidget::update));
        // The length of time to scroll over may be another.
        connect(model, &QAbstractItemModel::modelReset, this, &TimelineView::viewChanged);
    }
}

void TimelineView::setPeaks(std::shared_ptr<const Peaks> peaks)
{
    m_peaks = std::move(peaks);
    update();
}

void TimelineView::setWaveformNote(const QString &note)
{
    m_waveformNote = note;
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

qint64 TimelineView::lengthMs() const
{
    qint64 length = m_durationMs;
    for (const SubtitleTableModel *model : {&m_document.originalModel(), &m_document.correctedModel()}) {
        if (model->rowCount() > 0)
            length = std::max(length, model->endMs(model->rowCount() - 1));
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

QRectF TimelineView::laneRect(bool corrected) const
{
    const QRectF wave = waveformRect();
    const double laneHeight = (height() - wave.bottom()) / 2;
    return QRectF(0, wave.bottom() + (corrected ? laneHeight : 0), width(), laneHeight);
}

template <typename Visit>
void TimelineView::forEachRowInView(const SubtitleTableModel &model, Visit visit) const
{
    const qint64 fromMs = m_viewStartMs;
    const qint64 toMs = m_viewStartMs + m_spanMs;
    const int count = model.rowCount();
    // The lists run in time order, but for hand edits: search from a
    // minute early, and stop only well after the first row past the view.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (model.startMs(middle) < fromMs - LookBackMs)
            low = middle + 1;
        else
            high = middle;
    }
    int pastView = 0;
    for (int row = low; row < count && pastView < 32; ++row) {
        const qint64 startMs = model.startMs(row);
        if (startMs >= toMs) {
            ++pastView;
            continue;
        }
        pastView = 0;
        const qint64 endMs = model.endMs(row);
        if (endMs >= fromMs && startMs >= 0)
            visit(row, startMs, std::max(endMs, startMs));
    }
}

QRectF TimelineView::boxOf(bool corrected, int row) const
{
    const SubtitleTableModel &model = corrected ? m_document.correctedModel() : m_document.originalModel();
    if (row < 0 || row >= model.rowCount())
        return {};
    const QRectF lane = laneRect(corrected).adjusted(0, 2, 0, -2);
    const double left = xOf(model.startMs(row));
    const double right = std::max(left + 1, xOf(model.endMs(row)));
    const QRectF box(QPointF(left, lane.top()), QPointF(right, lane.bottom()));
    return box.intersects(rect()) ? box : QRectF();
}

void TimelineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    paintRuler(painter);
    paintWaveform(painter);
    paintLane(painter, false);
    paintLane(painter, true);
    const double x = xOf(m_positionMs);
    painter.setPen(QPen(QColor(220, 40, 40), 1));
    painter.drawLine(QPointF(x, 0), QPointF(x, height()));
}

void TimelineView::paintRuler(QPainter &painter) const
{
    painter.fillRect(QRectF(0, 0, width(), RulerHeight), palette().window());
    const qint64 spacing = tickSpacingMs(m_spanMs, width(), painter.fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,0")) + 16);
    painter.setPen(palette().windowText().color());
    for (qint64 tick = m_viewStartMs / spacing * spacing; tick < m_viewStartMs + m_spanMs; tick += spacing) {
        const double x = xOf(tick);
        painter.drawLine(QPointF(x, RulerHeight - 4), QPointF(x, RulerHeight));
        painter.drawText(QPointF(x + 2, RulerHeight - 4), tickLabel(tick, spacing));
    }
}

void TimelineView::paintWaveform(QPainter &painter) const
{
    const QRectF band = waveformRect();
    if (band.height() < 2)
        return;
    painter.fillRect(band, palette().alternateBase());
    const double middle = band.center().y();
    if (!m_peaks || m_peaks->bins.empty()) {
        painter.setPen(palette().placeholderText().color());
        painter.drawText(band, Qt::AlignCenter, m_waveformNote);
        return;
    }
    painter.setPen(palette().mid().color());
    painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
    // A blue that reads on light and dark backgrounds alike.
    painter.setPen(QColor(70, 120, 190));
    const double half = band.height() / 2 - 1;
    // One column a pixel: the loudest and quietest of the time it covers.
    for (int x = 0; x < width(); ++x) {
        const Peaks::Bin bin = m_peaks->extremes(msAt(x), std::max(msAt(x + 1), msAt(x) + 1));
        if (bin.minimum == 0 && bin.maximum == 0)
            continue;
        const double top = middle - double(bin.maximum) / 32767.0 * half;
        const double bottom = middle - double(bin.minimum) / 32767.0 * half;
        painter.drawLine(QPointF(x + 0.5, top), QPointF(x + 0.5, std::max(bottom, top + 1)));
    }
}

void TimelineView::paintLane(QPainter &painter, bool corrected) const
{
    const SubtitleTableModel &model = corrected ? m_document.correctedModel() : m_document.originalModel();
    const QRectF lane = laneRect(corrected);
    painter.fillRect(lane, corrected ? palette().base() : palette().alternateBase());
    painter.setPen(palette().placeholderText().color());
    painter.drawText(lane.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom, corrected ? m_correctedLane : m_originalLane);

    const int selected = corrected ? m_selectedCorrected : m_selectedOriginal;
    const QColor boxColour = palette().button().color();
    const QColor edgeColour = palette().mid().color();
    const QFontMetricsF metrics(painter.font());
    const bool dragging = corrected && m_drag.part != DragPart::None && m_drag.moved;
    forEachRowInView(model, [&](int row, qint64 startMs, qint64 endMs) {
        if (dragging && row == m_drag.row) {
            // Drawn where the drag would put it instead.
            if (const auto times = draggedTimes(m_dragX)) {
                startMs = times->first;
                endMs = times->second;
            }
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
        if (box.width() < 24)
            return;
        // Number and mark, then the first words, as far as the box allows.
        const QString label = number.data(Qt::DisplayRole).toString() + u' ' + firstWords(model.text(row));
        painter.setPen(palette().buttonText().color());
        painter.drawText(box.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(label, Qt::ElideRight, box.width() - 5));
    });
}

TimelineView::Hit TimelineView::hitAt(const QPointF &point) const
{
    Hit hit;
    for (const bool corrected : {false, true}) {
        if (!laneRect(corrected).contains(point))
            continue;
        hit.corrected = corrected;
        const SubtitleTableModel &model = corrected ? m_document.correctedModel() : m_document.originalModel();
        forEachRowInView(model, [&](int row, qint64 startMs, qint64 endMs) {
            const double left = xOf(startMs);
            const double right = std::max(left + 1, xOf(endMs));
            if (point.x() < left - EdgeGrip || point.x() > right + EdgeGrip)
                return;
            // The nearest edge wins; a row after the one hit first may start
            // right at its end.
            DragPart part = DragPart::Body;
            if (std::abs(point.x() - left) <= EdgeGrip)
                part = DragPart::Start;
            else if (std::abs(point.x() - right) <= EdgeGrip)
                part = DragPart::End;
            else if (point.x() < left || point.x() > right)
                return;
            if (hit.row < 0 || part != DragPart::Body) {
                hit.row = row;
                hit.part = part;
            }
        });
    }
    return hit;
}

std::optional<std::pair<qint64, qint64>> TimelineView::draggedTimes(double x) const
{
    const qint64 deltaMs = qint64(std::llround((x - m_drag.pressX) / std::max(1, width()) * double(m_spanMs)));
    qint64 startMs = m_drag.startMs;
    qint64 endMs = m_drag.endMs;
    if (m_drag.part == DragPart::Start || m_drag.part == DragPart::Body)
        startMs += deltaMs;
    if (m_drag.part == DragPart::End || m_drag.part == DragPart::Body)
        endMs += deltaMs;
    if (startMs < 0 || endMs < 0 || startMs > LargestTimeMs || endMs > LargestTimeMs)
        return std::nullopt;
    return std::pair{startMs, endMs};
}

void TimelineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = {};
    m_dragCancelled = false;
    m_drag.pressX = event->position().x();
    m_dragX = m_drag.pressX;
    const Hit hit = hitAt(event->position());
    if (hit.corrected && hit.row >= 0) {
        const SubtitleTableModel &model = m_document.correctedModel();
        m_drag.part = hit.part;
        m_drag.row = hit.row;
        m_drag.startMs = model.startMs(hit.row);
        m_drag.endMs = model.endMs(hit.row);
    }
}

void TimelineView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_drag.part == DragPart::None) {
        const Hit hit = hitAt(event->position());
        const bool edge = hit.corrected && (hit.part == DragPart::Start || hit.part == DragPart::End);
        setCursor(edge ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    m_dragX = event->position().x();
    m_drag.moved = m_drag.moved || std::abs(m_dragX - m_drag.pressX) >= DragThreshold;
    update();
}

void TimelineView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Drag drag = std::exchange(m_drag, {});
    if (std::exchange(m_dragCancelled, false))
        return;
    if (!drag.moved) {
        emit seekRequested(std::max<qint64>(0, msAt(event->position().x())));
        update();
        return;
    }
    m_drag = drag;
    const std::optional<std::pair<qint64, qint64>> times = draggedTimes(event->position().x());
    m_drag = {};
    update(); // a refused drag springs back
    if (!times)
        return;
    const QString startText = MillisecondsToTimeText(times->first);
    const QString endText = MillisecondsToTimeText(times->second);
    switch (drag.part) {
    case DragPart::Start:
        m_document.editTime(drag.row, SubtitleDocument::TimeField::Start, startText);
        break;
    case DragPart::End:
        m_document.editTime(drag.row, SubtitleDocument::TimeField::End, endText);
        break;
    case DragPart::Body:
        m_document.editTimes(drag.row, startText, endText);
        break;
    case DragPart::None:
        break;
    }
}

void TimelineView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Hit hit = hitAt(event->position());
    if (hit.row < 0)
        return;
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
    if (event->key() == Qt::Key_Escape && m_drag.part != DragPart::None) {
        m_drag = {};
        m_dragCancelled = true;
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}
