// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakjob.h"

#include "media/peakcache.h"
#include "media/peakdecoder.h"

#include <QThread>

PeakJob::PeakJob(QString cacheFolder, QObject *parent) : QObject(parent), m_cacheFolder(std::move(cacheFolder)) {}

PeakJob::~PeakJob()
{
    stop();
}

void PeakJob::start(const QString &path, int streamIndex)
{
    stop();
    const quint64 id = ++m_runId;
    m_cancelled = std::make_unique<std::atomic_bool>(false);
    std::atomic_bool *cancelled = m_cancelled.get();
    m_thread = QThread::create([this, id, path, streamIndex, cancelled] { run(id, path, streamIndex, cancelled); });
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

void PeakJob::run(quint64 id, const QString &path, int streamIndex, std::atomic_bool *cancelled)
{
    const std::optional<MediaSource> source = MediaSource::of(path, streamIndex);
    const PeakCache cache(m_cacheFolder);
    std::optional<Peaks> cached;
    if (source && !m_cacheFolder.isEmpty())
        cached = cache.load(*source);
    if (cached)
        post(id, [this, peaks = *std::move(cached)] { emit finished(peaks, true); });

    PeakDecoder decoder(cancelled);
    MediaError error;
    const bool opened = decoder.open(path, error);
    if (opened)
        post(id, [this, tracks = decoder.audioTracks()] { emit audioTracksFound(tracks); });
    if (cached)
        return;

    std::optional<Peaks> peaks;
    if (opened) {
        peaks = decoder.decode(streamIndex, error, [this, id](double fraction) {
            post(id, [this, fraction] { emit progress(fraction); });
        });
    }
    if (!peaks) {
        if (error.kind != MediaError::Kind::Cancelled)
            post(id, [this, error] { emit failed(error); });
        return;
    }
    // Keyed by the file as it was before decoding: if it changed meanwhile,
    // the next open sees the difference and decodes again.
    if (source) {
        peaks->source = *source;
        if (!m_cacheFolder.isEmpty())
            cache.store(*peaks);
    }
    post(id, [this, peaks = *std::move(peaks)] { emit finished(peaks, false); });
}
