// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/peaks.h"
#include "ui/video/timeline/timelinedrag.h"

#include <QCursor>
#include <QWidget>

#include <memory>
#include <vector>
#include <utility>

class SubtitleDocument;
class SubtitleList;

// A stretch of the film's time: the waveform of its sound, the play
// position, and two lanes of boxes, the subtitles as read and as corrected,
// so a correction's change of time shows against the sound. A click seeks,
// a double-click selects a subtitle, and the edges or the body of a
// corrected box drag its times, one undo step per drag, never past the
// limits the document keeps times to (drawn while dragging).
class TimelineView : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint64 MinimumSpanMs = 2'000;
    static constexpr qint64 MaximumSpanMs = 600'000;

    explicit TimelineView(SubtitleDocument &document, QWidget *parent = nullptr);

    void setPeaks(std::shared_ptr<const Peaks> peaks);
    bool hasWaveform() const { return m_peaks && !m_peaks->bins.empty(); }
    // Said in the waveform's place when there are no peaks ("No sound");
    // link, when given, is shown under it and a click on it is
    // waveformLinkActivated().
    void setWaveformNote(const QString &note, const QString &link = {});
    // The words the lanes are labelled with.
    void setLaneNames(const QString &original, const QString &corrected);
    void setDurationMs(qint64 durationMs);
    // The film's shot changes, each its first millisecond, ascending: drawn
    // across the view, and a dragged edge within SnapPixels of one goes onto
    // it (Shift held: where the pointer puts it).
    void setCutMs(std::vector<qint64> cutMs);
    static constexpr double SnapPixels = 8;
    // The end of the scrollable time: the film or the last subtitle.
    qint64 lengthMs() const;

    qint64 positionMs() const { return m_positionMs; }
    // Moves the play line, scrolling when it leaves the view.
    void setPositionMs(qint64 positionMs);
    void setSelectedRows(int originalRow, int correctedRow);

    qint64 spanMs() const { return m_spanMs; }
    void setSpanMs(qint64 spanMs);
    void zoomIn();
    void zoomOut();
    qint64 viewStartMs() const { return m_viewStartMs; }
    void setViewStartMs(qint64 startMs);

    // The time at x, and the x of a time, in this widget.
    qint64 msAt(double x) const;
    double xOf(qint64 ms) const;
    // The rectangle of a row's box in its lane; empty when it is not in view.
    QRectF boxOf(bool corrected, int row) const;
    // What a row's box says: its number and mark, then its first words
    // without formatting tags.
    QString boxLabel(bool corrected, int row) const;
    // Where the waveform note's link is drawn; empty without one.
    QRectF waveformLinkRect() const;

signals:
    void seekRequested(qint64 ms);
    // A double-click on a box: the row of its list.
    void originalRowActivated(int row);
    void correctedRowActivated(int row);
    void waveformLinkActivated();
    void viewChanged();
    void spanChanged(qint64 spanMs);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    using DragPart = TimelineDrag::Part;
    using Hit = TimelineDrag::Hit;

    const SubtitleList &listOf(bool corrected) const;
    QRectF waveformRect() const;
    QRectF laneRect(bool corrected) const;
    void paintLane(QPainter &painter, bool corrected) const;
    void paintLaneName(QPainter &painter, bool corrected) const;
    void paintDragLimits(QPainter &painter) const;
    // Calls visit(row, startMs, endMs) for every row whose box meets the view.
    template <typename Visit>
    void forEachRowInView(const SubtitleList &list, Visit visit) const;
    Hit hitAt(const QPointF &point, Qt::KeyboardModifiers modifiers) const;
    void showHover(const QPointF &point, Qt::KeyboardModifiers modifiers);
    // The row's times as the drag to x leaves them, on a cut near the
    // dragged edge unless placed freely, stopped at its limits.
    std::pair<qint64, qint64> draggedTimes(double x) const;
    void zoomAround(double x, double factor);

    SubtitleDocument &m_document;
    std::shared_ptr<const Peaks> m_peaks;
    QString m_waveformNote;
    QString m_waveformLink;
    QString m_originalLane;
    QString m_correctedLane;
    qint64 m_durationMs = 0;
    qint64 m_positionMs = 0;
    qint64 m_viewStartMs = 0;
    qint64 m_spanMs = 20'000;
    int m_selectedOriginal = -1;
    int m_selectedCorrected = -1;
    TimelineDrag m_drag;
    bool m_dragFree = false; // Shift: no snapping to cuts
    std::vector<qint64> m_cutMs;
    Hit m_hover; // the edge the pointer would take, drawn lit
    bool m_dragCancelled = false; // Esc let go of the drag before the button
    bool m_doubleClicked = false; // the release ending a double-click seeks nowhere
    QCursor m_startCursor;
    QCursor m_endCursor;
    QCursor m_boundaryCursor;
};
