// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/detachedtask.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct DetachedTask::Channel
{
    std::mutex mutex;
    std::condition_variable ended;
    QObject *receiver = nullptr; // null once abandoned
    bool finished = false;
    std::atomic_bool cancelled{false};
};

const std::atomic_bool *DetachedTask::Run::cancelFlag() const
{
    return &m_channel->cancelled;
}

void DetachedTask::Run::post(std::function<void()> work) const
{
    // Under the lock the receiver cannot be abandoned, so it is alive while
    // the call is queued; a call still queued when the run is abandoned is
    // dropped on delivery.
    const std::lock_guard lock(m_channel->mutex);
    if (!m_channel->receiver)
        return;
    QMetaObject::invokeMethod(
        m_channel->receiver,
        [channel = m_channel, work = std::move(work)] {
            if (!channel->cancelled.load())
                work();
        },
        Qt::QueuedConnection);
}

DetachedTask::DetachedTask(QObject &receiver) : m_receiver(receiver) {}

DetachedTask::~DetachedTask()
{
    abandon();
}

void DetachedTask::start(std::function<void(const Run &run)> work, QThread::Priority priority)
{
    abandon();
    m_channel = std::make_shared<Channel>();
    m_channel->receiver = &m_receiver;
    QThread *thread = QThread::create([channel = m_channel, work = std::move(work)] {
        work(Run(channel));
        const std::lock_guard lock(channel->mutex);
        channel->finished = true;
        channel->ended.notify_all();
    });
    // Nobody joins the thread: it goes when it ends.
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(priority);
}

void DetachedTask::abandon(int waitMs)
{
    if (!m_channel)
        return;
    std::unique_lock lock(m_channel->mutex);
    m_channel->receiver = nullptr;
    m_channel->cancelled = true;
    m_channel->ended.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return m_channel->finished; });
    lock.unlock();
    m_channel.reset();
}

bool DetachedTask::isRunning() const
{
    if (!m_channel)
        return false;
    const std::lock_guard lock(m_channel->mutex);
    return !m_channel->finished;
}
