// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/frames/frameprefetcher.h"

#include "media/frames/framegrabber.h"
#include "media/videoplayer.h"

#include <QDeadlineTimer>
#include <QThread>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// How long closing the window waits for the grabber's player to end; one
// stuck on a file that blocks is left to end on its own.
constexpr int shutdownWaitMs = 2000;

} // namespace

FramePrefetcher::FramePrefetcher(VideoPlayer &player, qint64 budgetBytes)
    : QObject(&player), m_player(&player), m_cache(budgetBytes), m_thread(new QThread), m_grabber(new FrameGrabber)
{
    m_thread->setObjectName(QStringLiteral("frames ahead"));
    m_grabber->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_grabber, &QObject::deleteLater);
    connect(m_grabber, &FrameGrabber::grabbed, this, &FramePrefetcher::keep);
    m_thread->start();
    QMetaObject::invokeMethod(m_grabber, [] {
#ifdef Q_OS_LINUX
        // Decoding ahead gives way to the window and to the player on
        // screen; the threads mpv starts from here inherit this.
        setpriority(PRIO_PROCESS, id_t(gettid()), 10);
#endif
    }, Qt::QueuedConnection);

    player.setFrameCache(&m_cache);
    connect(&player, &VideoPlayer::loaded, this, &FramePrefetcher::open);
    connect(&player, &VideoPlayer::closed, this, &FramePrefetcher::close);
}

FramePrefetcher::~FramePrefetcher()
{
    if (m_player)
        m_player->setFrameCache(nullptr);
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(shutdownWaitMs))) {
        delete m_thread;
        return;
    }
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
}

void FramePrefetcher::open()
{
    ++m_generation;
    m_cache.clear();
    m_open = m_player && m_player->hasVideo();
    if (!m_open)
        return;
    m_grabberSize = frameSize();
    QMetaObject::invokeMethod(m_grabber, [grabber = m_grabber, generation = m_generation, path = m_player->path(),
                                          size = m_grabberSize] { grabber->open(generation, path, size); },
                              Qt::QueuedConnection);
    sendWish();
}

void FramePrefetcher::close()
{
    ++m_generation;
    m_cache.clear();
    m_wanted.clear();
    if (!std::exchange(m_open, false))
        return;
    QMetaObject::invokeMethod(m_grabber, &FrameGrabber::close, Qt::QueuedConnection);
}

QSize FramePrefetcher::frameSize() const
{
    if (!m_player)
        return {};
    return m_player->frameSize().isEmpty() ? m_player->videoSize() : m_player->frameSize();
}

void FramePrefetcher::prefetch(const QList<qint64> &timesMs)
{
    m_wanted.clear();
    for (const qint64 ms : timesMs) {
        if (ms >= 0 && !m_wanted.contains(ms))
            m_wanted << ms;
    }
    sendWish();
}

void FramePrefetcher::sendWish()
{
    if (!m_open)
        return;
    const QSize size = frameSize();
    if (size.isEmpty())
        return;
    if (size != m_grabberSize) {
        m_grabberSize = size;
        QMetaObject::invokeMethod(m_grabber, [grabber = m_grabber, size] { grabber->setFrameSize(size); },
                                  Qt::QueuedConnection);
    }
    m_wanted = m_wanted.mid(0, m_cache.capacityFor(size));
    m_cache.keepOnly(m_wanted, size);
    QList<qint64> missing;
    for (const qint64 ms : std::as_const(m_wanted)) {
        if (!m_cache.find(ms, size))
            missing << ms;
    }
    QMetaObject::invokeMethod(m_grabber, [grabber = m_grabber, missing] { grabber->grab(missing); },
                              Qt::QueuedConnection);
}

void FramePrefetcher::keep(quint64 generation, qint64 ms, const QImage &frame, qint64 positionMs)
{
    // A frame of a file closed since or of a wish given up is of no use.
    if (generation != m_generation || !m_wanted.contains(ms))
        return;
    // The pane was resized since the wish: the wish goes again at the new size.
    if (frame.size() != frameSize()) {
        sendWish();
        return;
    }
    if (m_cache.insert(ms, {frame, positionMs}))
        emit frameCached(ms);
}
