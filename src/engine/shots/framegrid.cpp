// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/framegrid.h"

#include <cmath>

namespace {

// Frame starts are computed in doubles; a start a few nanoseconds past a
// whole millisecond is that millisecond.
constexpr double ToleranceMs = 1e-6;

// Without frames, a frame counts as a film's 1/24 s.
constexpr double NominalFramesPerSecond = 24;

} // namespace

double normalFrameRate(double framesPerSecond)
{
    for (const double whole : {24.0, 30.0, 48.0, 60.0, 120.0}) {
        const double drop = whole * 1000.0 / 1001.0;
        if (std::fabs(framesPerSecond - drop) < 0.005)
            return drop;
    }
    return framesPerSecond;
}

FrameGrid::FrameGrid(double framesPerSecond, double firstFrameSeconds)
{
    if (framesPerSecond > 0 && framesPerSecond <= MaxFramesPerSecond && std::isfinite(firstFrameSeconds)) {
        m_framesPerSecond = normalFrameRate(framesPerSecond);
        m_firstFrameSeconds = firstFrameSeconds;
    }
}

qint64 FrameGrid::startOf(qint64 place) const
{
    if (!hasFrames())
        return place;
    const double ms = (m_firstFrameSeconds + double(place) / m_framesPerSecond) * 1000.0;
    return qint64(std::ceil(ms - ToleranceMs));
}

qint64 FrameGrid::placeAt(qint64 milliseconds) const
{
    if (!hasFrames())
        return milliseconds;
    auto place = qint64(std::floor((double(milliseconds) / 1000.0 - m_firstFrameSeconds) * m_framesPerSecond));
    // The estimate is off by one at most, where a start rounds up to the millisecond.
    while (startOf(place + 1) <= milliseconds)
        ++place;
    while (startOf(place) > milliseconds)
        --place;
    return place;
}

qint64 FrameGrid::placeFrom(qint64 milliseconds) const
{
    const qint64 place = placeAt(milliseconds);
    return startOf(place) == milliseconds ? place : place + 1;
}

qint64 FrameGrid::nearestPlace(qint64 milliseconds) const
{
    const qint64 after = placeFrom(milliseconds);
    return startOf(after) - milliseconds <= milliseconds - startOf(after - 1) ? after : after - 1;
}

qint64 FrameGrid::nearestPlace(double seconds) const
{
    if (!hasFrames())
        return std::llround(seconds * 1000.0);
    return std::llround((seconds - m_firstFrameSeconds) * m_framesPerSecond);
}

qint64 FrameGrid::frames(qint32 n) const
{
    return hasFrames() ? n : std::llround(n * 1000.0 / NominalFramesPerSecond);
}

qint64 FrameGrid::framesIn(qint64 places) const
{
    return hasFrames() ? places : std::llround(double(places) * NominalFramesPerSecond / 1000.0);
}
