// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakjob.h"

#include "media/peakcache.h"
#include "media/peakdecoder.h"
#include "media/shots/shotcache.h"
#include "media/shots/shotchangefinder.h"
#include "media/shots/shotchangepass.h"

#include <QThread>

PeakJob::PeakJob(QString cacheFolder, QObject *parent) : QObject(parent), m_cacheFolder(std::move(cacheFolder)) {}

PeakJob::~PeakJob()
{
    stop();
}

void PeakJob::start(const QString &path, int streamIndex, bool withShotChanges)
{
    stop();
    const quint64 id = ++m_runId;
    m_cancelled = std::make_unique<std::atomic_bool>(false);
    std::atomic_bool *cancelled = m_cancelled.get();
    m_thread = QThread::create([this, id, path, streamIndex, withShotChanges, cancelled] {
        run(id, path, streamIndex, withShotChanges, cancelled);
    });
    m_thread->setObjectName(QStringLiteral("peaks"));
    m_thread->start(QThread::LowPriority);
}

void PeakJob::cancel()
{
    stop();
}

void PeakJob::stop()
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
void PeakJob::post(quint64 id, Work work)
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

void PeakJob::run(quint64 id, const QString &path, int streamIndex, bool withShotChanges, std::atomic_bool *cancelled)
{
    const std::optional<MediaSource> source = MediaSource::of(path, streamIndex);
    const PeakCache cache(m_cacheFolder);
    std::optional<Peaks> cached;
    if (source && !m_cacheFolder.isEmpty())
        cached = cache.load(*source);
    if (cached)
        post(id, [this, peaks = *std::move(cached)] { emit finished(peaks, true); });
    // The shot changes still to find, the cache first.
    bool shotsWanted = withShotChanges;
    if (shotsWanted && source && !m_cacheFolder.isEmpty()) {
        if (std::optional<DetectedShots> shots = ShotCache(m_cacheFolder).load(*source)) {
            post(id, [this, shots = *std::move(shots)] { emit shotChangesFound(shots, true); });
            shotsWanted = false;
        }
    }

    PeakDecoder decoder(cancelled);
    MediaError error;
    const bool opened = decoder.open(path, error);
    if (opened)
        post(id, [this, tracks = decoder.audioTracks()] { emit audioTracksFound(tracks); });

    std::optional<Peaks> peaks;
    std::optional<DetectedShots> shots;
    if (!cached) {
        std::optional<ShotChangePass> pass;
        if (opened && shotsWanted)
            pass.emplace(decoder);
        if (opened) {
            peaks = decoder.decode(streamIndex, error, [this, id](double fraction) {
                post(id, [this, fraction] { emit progress(fraction); });
            });
        }
        if (peaks && pass)
            shots = pass->finish(path);
        if (!peaks && error.kind != MediaError::Kind::Cancelled)
            post(id, [this, error] { emit failed(error); });
        // Keyed by the file as it was before decoding: if it changed meanwhile,
        // the next open sees the difference and decodes again.
        if (peaks && source) {
            peaks->source = *source;
            if (!m_cacheFolder.isEmpty())
                cache.store(*peaks);
        }
        if (peaks)
            post(id, [this, peaks = *std::move(peaks)] { emit finished(peaks, false); });
    }
    if (!shotsWanted || cancelled->load())
        return;
    if (shots) {
        if (const auto videoSource = MediaSource::of(path); videoSource && !m_cacheFolder.isEmpty()) {
            shots->source = *videoSource;
            ShotCache(m_cacheFolder).store(*shots);
        }
    } else {
        // The peaks came from the cache, or the sound could not give them
        // (none, damaged): the picture is read on its own.
        shots = ShotChangeFinder(cancelled).findCached(path, m_cacheFolder, error, [this, id](double fraction) {
            post(id, [this, fraction] { emit progress(fraction); });
        });
        if (!shots) {
            if (error.kind != MediaError::Kind::Cancelled)
                post(id, [this, error] { emit shotChangesFailed(error); });
            return;
        }
    }
    post(id, [this, shots = *std::move(shots)] { emit shotChangesFound(shots, false); });
}
