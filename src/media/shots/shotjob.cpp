// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotjob.h"

#include "media/shots/shotchangefinder.h"

#include <QThread>

ShotJob::ShotJob(QString cacheFolder, QObject *parent) : QObject(parent), m_cacheFolder(std::move(cacheFolder))
{
    qRegisterMetaType<DetectedShots>();
    qRegisterMetaType<MediaError>();
}

ShotJob::~ShotJob()
{
    stop();
}

void ShotJob::start(const QString &path)
{
    stop();
    const quint64 id = ++m_runId;
    m_cancelled = std::make_unique<std::atomic_bool>(false);
    std::atomic_bool *cancelled = m_cancelled.get();
    m_thread = QThread::create([this, id, path, cancelled] { run(id, path, cancelled); });
    m_thread->setObjectName(QStringLiteral("shots"));
    m_thread->start(QThread::LowPriority);
}

void ShotJob::cancel()
{
    stop();
}

void ShotJob::stop()
{
    // Whatever the old run already posted is dropped by its id.
    ++m_runId;
    if (!m_thread)
        return;
    m_cancelled->store(true);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_cancelled.reset();
}

template <typename Work>
void ShotJob::post(quint64 id, Work work)
{
    // The job outlives the thread (stop() joins it), so this is always alive.
    QMetaObject::invokeMethod(
        this,
        [this, id, work = std::move(work)] {
            if (id == m_runId)
                work();
        },
        Qt::QueuedConnection);
}

void ShotJob::run(quint64 id, const QString &path, std::atomic_bool *cancelled)
{
    MediaError error;
    bool fromCache = false;
    std::optional<DetectedShots> shots = ShotChangeFinder(cancelled).findCached(
        path, m_cacheFolder, error, [this, id](double fraction) { post(id, [this, fraction] { emit progress(fraction); }); },
        &fromCache);
    if (shots)
        post(id, [this, shots = *std::move(shots), fromCache] { emit finished(shots, fromCache); });
    else if (error.kind != MediaError::Kind::Cancelled)
        post(id, [this, error] { emit failed(error); });
}
