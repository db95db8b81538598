// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/frames/framegrabber.h"

#include "media/videoplayer.h"

namespace {

// The player gives up on a seek that never lands after 5 s and shows what
// it has; a grab that slow may be such a frame, so it is not kept.
constexpr qint64 slowestGrabMs = 4000;

} // namespace

FrameGrabber::FrameGrabber() = default;

FrameGrabber::~FrameGrabber() = default;

void FrameGrabber::open(quint64 generation, const QString &path, const QSize &frameSize)
{
    // Made on first use, so that it lives on the thread this object was
    // moved to and mpv reports there.
    if (!m_player) {
        m_player = new VideoPlayer(VideoPlayer::AudioOutput::Off, this);
        connect(m_player, &VideoPlayer::loaded, this, &FrameGrabber::grabNext);
        connect(m_player, &VideoPlayer::seekFinished, this, &FrameGrabber::finishGrab);
        // A file that fails here gives no frames; the player on screen says why.
        connect(m_player, &VideoPlayer::failed, this, [this] {
            m_queue.clear();
            m_grabbingMs = -1;
        });
    }
    m_generation = generation;
    m_queue.clear();
    m_grabbingMs = -1;
    m_player->setFrameSize(frameSize);
    m_player->open(path);
}

void FrameGrabber::close()
{
    m_queue.clear();
    m_grabbingMs = -1;
    if (m_player)
        m_player->close();
}

void FrameGrabber::setFrameSize(const QSize &frameSize)
{
    if (m_player)
        m_player->setFrameSize(frameSize);
}

void FrameGrabber::grab(const QList<qint64> &timesMs)
{
    m_queue = timesMs;
    grabNext();
}

void FrameGrabber::grabNext()
{
    if (m_grabbingMs >= 0 || m_queue.isEmpty() || !m_player || !m_player->isLoaded())
        return;
    m_grabbingMs = m_queue.takeFirst();
    m_grabClock.start();
    m_player->seek(m_grabbingMs);
}

void FrameGrabber::finishGrab()
{
    if (m_grabbingMs < 0)
        return;
    const qint64 ms = std::exchange(m_grabbingMs, -1);
    if (m_player->hasVideo() && !m_player->frame().isNull() && m_grabClock.elapsed() < slowestGrabMs)
        emit grabbed(m_generation, ms, m_player->frame(), m_player->positionMs());
    grabNext();
}
