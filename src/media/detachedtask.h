// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

// Work on a thread of its own that whoever started it never waits on for
// long: a read that blocks (a FIFO, a dead network mount) must not hold the
// window's thread. What the work posts reaches the receiver's thread only
// while its run is current; an abandoned run is left to end by itself.
class DetachedTask
{
    struct Channel;

public:
    // What a run sees: whether it should stop, and a way to hand work to
    // the receiver's thread that does nothing once the run is abandoned.
    class Run
    {
    public:
        const std::atomic_bool *cancelFlag() const;
        bool isCancelled() const { return cancelFlag()->load(std::memory_order_relaxed); }
        void post(std::function<void()> work) const;

    private:
        friend class DetachedTask;
        explicit Run(std::shared_ptr<Channel> channel) : m_channel(std::move(channel)) {}
        std::shared_ptr<Channel> m_channel;
    };

    explicit DetachedTask(QObject &receiver);
    ~DetachedTask();
    DetachedTask(const DetachedTask &) = delete;
    DetachedTask &operator=(const DetachedTask &) = delete;

    // Abandons the current run, if any, and starts work.
    void start(std::function<void(const Run &run)> work, QThread::Priority priority = QThread::InheritPriority);
    // Sets the run's cancel flag and waits at most waitMs for it to end;
    // nothing it posts is delivered from now on.
    void abandon(int waitMs = 500);
    // A run started and neither finished nor abandoned.
    bool isRunning() const;

private:
    QObject &m_receiver;
    std::shared_ptr<Channel> m_channel;
};
