// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/timelimits.h"

#include <QCursor>

#include <utility>

class SubtitleDocument;

// One drag on the timeline's corrected lane: the part of a box it holds,
// the times and limits it started from, and the times it leaves there.
class TimelineDrag
{
public:
    // What a drag moves: one edge, the whole box, or (Alt) the boundary a
    // box shares with the next, which moves both.
    enum class Part { None, Start, End, Body, Boundary };
    struct Hit
    {
        bool corrected = false;
        int row = -1;
        Part part = Part::None;
    };

    TimelineDrag() = default;
    // Holds hit's row from pressX on, within the limits the document keeps it to.
    TimelineDrag(const Hit &hit, double pressX, const SubtitleDocument &document);

    const Hit &hit() const { return m_hit; }
    bool isActive() const { return m_hit.part != Part::None; }
    bool hasMoved() const { return m_moved; }
    double pressX() const { return m_pressX; }
    // The pointer's x; the drag counts as moved once it is a few pixels from the press.
    double x() const { return m_x; }
    void moveTo(double x);
    qint64 startMs() const { return m_startMs; }
    qint64 endMs() const { return m_endMs; }
    // Where the edge it moves (the body: the start) may go.
    TimeRange range() const;
    // The row's start and end after the part moved by deltaMs, stopped at its limits.
    std::pair<qint64, qint64> times(qint64 deltaMs) const;
    // The same, the moved edge (the body: its start) put at edgeMs.
    std::pair<qint64, qint64> timesWithEdgeAt(qint64 edgeMs) const;
    // The edge it moves (the body: its start) before the drag.
    qint64 heldEdgeMs() const;
    // Writes the times as one step of the history.
    void apply(SubtitleDocument &document, std::pair<qint64, qint64> times) const;

    // A cursor that shows which edge a drag moves: the edge, arrows both
    // ways, and a bracket opening toward the box the edge belongs to: "[" a
    // start, "]" an end, both at a boundary two boxes share.
    static QCursor edgeCursor(bool startOfBox, bool endOfBox);

private:
    Hit m_hit;
    double m_pressX = 0;
    double m_x = 0;
    qint64 m_startMs = 0;
    qint64 m_endMs = 0;
    TimeLimits m_limits;
    TimeRange m_boundary; // of the row's end, for a boundary drag
    bool m_moved = false;
};
