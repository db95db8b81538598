// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/audiotrack.h"
#include "media/mediaerror.h"
#include "media/peaks.h"
#include "media/shots/detectedshots.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// Computes a file's peaks on a thread of its own, from the cache when it
// holds them, and reports back on the thread the job lives in. One run at
// a time: starting another, cancelling or destroying the job stops the
// running one and joins its thread, which a cancel ends within a packet.
class PeakJob : public QObject
{
    Q_OBJECT

public:
    // cacheFolder: where peaks are kept (PeakCache::defaultFolder() in the
    // window); empty keeps nothing.
    explicit PeakJob(QString cacheFolder, QObject *parent = nullptr);
    ~PeakJob() override;

    // Stops any run and starts on path's audio stream streamIndex (-1: the
    // first audio stream); withShotChanges finds the film's shot changes
    // too, in the same pass over the file (cached beside the peaks).
    void start(const QString &path, int streamIndex = -1, bool withShotChanges = false);
    // Stops the run; it reports nothing more.
    void cancel();
    bool isRunning() const { return m_thread != nullptr; }

signals:
    // The file's audio streams, for an "Audio track" menu (also on a cache hit).
    void audioTracksFound(const QList<AudioTrack> &tracks);
    // Of the pass over the file; a second pass for the shot changes alone
    // (the peaks were cached, or the sound could not be decoded) reports too.
    void progress(double fraction);
    void finished(const Peaks &peaks, bool fromCache);
    // Kind::NoSound for a video without sound; never Kind::Cancelled.
    void failed(const MediaError &error);
    // With withShotChanges: a sound file finishes too, with hasPicture false.
    void shotChangesFound(const DetectedShots &shots, bool fromCache);
    void shotChangesFailed(const MediaError &error);

private:
    void stop();
    void run(quint64 id, const QString &path, int streamIndex, bool withShotChanges, std::atomic_bool *cancelled);
    // Delivers work to this object's thread if run id is still the current one.
    template <typename Work>
    void post(quint64 id, Work work);

    QString m_cacheFolder;
    QThread *m_thread = nullptr;
    std::unique_ptr<std::atomic_bool> m_cancelled;
    quint64 m_runId = 0;
};
