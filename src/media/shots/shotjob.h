// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/shots/detectedshots.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// Finds a film's shot changes on a thread of its own, from the cache when
// it holds them, and reports back on the thread the job lives in. One run
// at a time: starting another, cancelling or destroying the job stops the
// running one and joins its thread.
class ShotJob : public QObject
{
    Q_OBJECT

public:
    // cacheFolder: PeakCache::defaultFolder() in the window; empty keeps nothing.
    explicit ShotJob(QString cacheFolder, QObject *parent = nullptr);
    ~ShotJob() override;

    void start(const QString &path);
    // Stops the run; it reports nothing more.
    void cancel();
    bool isRunning() const { return m_thread != nullptr; }

signals:
    void progress(double fraction);
    // A sound file finishes too, with no cuts and hasPicture false.
    void finished(const DetectedShots &shots, bool fromCache);
    // Never Kind::Cancelled.
    void failed(const MediaError &error);

private:
    void stop();
    void run(quint64 id, const QString &path, std::atomic_bool *cancelled);
    template <typename Work>
    void post(quint64 id, Work work);

    QString m_cacheFolder;
    QThread *m_thread = nullptr;
    std::unique_ptr<std::atomic_bool> m_cancelled;
    quint64 m_runId = 0;
};
