// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/detachedtask.h"
#include "media/mediaerror.h"
#include "media/peaks.h"
#include "media/shots/detectedshots.h"

#include <QObject>
#include <QString>

// Computes a file's peaks on a thread of its own, from the cache when it
// holds them, and reports back on the thread the job lives in. One run at
// a time: starting another, cancelling or destroying the job stops the
// running one, which a cancel ends within a packet; a run stuck in a read
// that blocks is left behind after a short wait and reports nothing.
class PeakJob : public QObject
{
    Q_OBJECT

public:
    // cacheFolder: where peaks are kept (PeakCache::defaultFolder() in the
    // window); empty keeps nothing.
    explicit PeakJob(QString cacheFolder, QObject *parent = nullptr);

    // Stops any run and starts on path's audio stream streamIndex (-1: the
    // first audio stream); withShotChanges finds the film's shot changes
    // too, in the same pass over the file (cached beside the peaks).
    void start(const QString &path, int streamIndex = -1, bool withShotChanges = false);
    // Stops the run; it reports nothing more.
    void cancel();
    bool isRunning() const { return m_task.isRunning(); }

signals:
    void progress(double fraction);
    void finished(const Peaks &peaks, bool fromCache);
    // Kind::NoSound for a video without sound; never Kind::Cancelled.
    void failed(const MediaError &error);
    // With withShotChanges: a sound file finishes too, with hasPicture false.
    void shotChangesFound(const DetectedShots &shots, bool fromCache);
    void shotChangesFailed(const MediaError &error);

private:
    QString m_cacheFolder;
    DetachedTask m_task;
};
