// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakjob.h"

#include "media/peakcache.h"
#include "media/peakdecoder.h"
#include "media/shots/shotcache.h"
#include "media/shots/shotchangefinder.h"
#include "media/shots/shotchangepass.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

// The peaks of path, from the cache or decoded, and its shot changes when
// wanted, each reported through run on the job's thread.
void runOnce(PeakJob &job, const QString &cacheFolder, const QString &path, int streamIndex, bool withShotChanges,
             const DetachedTask::Run &run)
{
    const std::atomic_bool *cancelled = run.cancelFlag();
    const auto progress = [&job, &run](double fraction) {
        run.post([&job, fraction] { emit job.progress(fraction); });
    };
    const std::optional<MediaSource> source = MediaSource::of(path, streamIndex);
    const PeakCache cache(cacheFolder);
    std::optional<Peaks> cached;
    if (source && !cacheFolder.isEmpty())
        cached = cache.load(*source);
    if (cached)
        run.post([&job, peaks = *std::move(cached)] { emit job.finished(peaks, true); });
    // The shot changes still to find, the cache first.
    bool shotsWanted = withShotChanges;
    if (shotsWanted && source && !cacheFolder.isEmpty()) {
        if (std::optional<DetectedShots> shots = ShotCache(cacheFolder).load(*source)) {
            run.post([&job, shots = *std::move(shots)] { emit job.shotChangesFound(shots, true); });
            shotsWanted = false;
        }
    }
    if (cached && !shotsWanted)
        return;

    PeakDecoder decoder(cancelled);
    MediaError error;
    const bool opened = decoder.open(path, error);
    std::optional<DetectedShots> shots;
    if (!cached) {
        std::optional<ShotChangePass> pass;
        if (opened && shotsWanted)
            pass.emplace(decoder);
        std::optional<Peaks> peaks;
        if (opened)
            peaks = decoder.decode(streamIndex, error, progress);
        if (peaks && pass)
            shots = pass->finish(path);
        if (!peaks && error.kind != MediaError::Kind::Cancelled)
            run.post([&job, error] { emit job.failed(error); });
        // Keyed by the file as it was before decoding: if it changed meanwhile,
        // the next open sees the difference and decodes again.
        if (peaks && source) {
            peaks->source = *source;
            if (!cacheFolder.isEmpty())
                cache.store(*peaks);
        }
        if (peaks)
            run.post([&job, peaks = *std::move(peaks)] { emit job.finished(peaks, false); });
    }
    if (!shotsWanted || run.isCancelled())
        return;
    if (shots) {
        if (const auto videoSource = MediaSource::of(path); videoSource && !cacheFolder.isEmpty()) {
            shots->source = *videoSource;
            ShotCache(cacheFolder).store(*shots);
        }
    } else {
        // The peaks came from the cache, or the sound could not give them
        // (none, damaged): the picture is read on its own.
        shots = ShotChangeFinder(cancelled).findCached(path, cacheFolder, error, progress);
        if (!shots) {
            if (error.kind != MediaError::Kind::Cancelled)
                run.post([&job, error] { emit job.shotChangesFailed(error); });
            return;
        }
    }
    run.post([&job, shots = *std::move(shots)] { emit job.shotChangesFound(shots, false); });
}

} // namespace

PeakJob::PeakJob(QString cacheFolder, QObject *parent)
    : QObject(parent), m_cacheFolder(std::move(cacheFolder)), m_task(*this)
{
}

void PeakJob::start(const QString &path, int streamIndex, bool withShotChanges)
{
    m_task.start(
        [this, folder = m_cacheFolder, path, streamIndex, withShotChanges](const DetachedTask::Run &run) {
            // Nothing a damaged file does may take the window down with it.
            MediaError error;
            try {
                runOnce(*this, folder, path, streamIndex, withShotChanges, run);
                return;
            } catch (const std::bad_alloc &) {
                error = {MediaError::Kind::Damaged, path, QString::fromLocal8Bit(std::strerror(ENOMEM))};
            } catch (...) {
                error = {MediaError::Kind::Damaged, path, QString::fromLocal8Bit(std::strerror(EINVAL))};
            }
            run.post([this, error] { emit failed(error); });
        },
        QThread::LowPriority);
}

void PeakJob::cancel()
{
    m_task.abandon();
}
