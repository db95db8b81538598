// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakjob.h"

#include "media/peakcache.h"
#include "media/peakdecoder.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

std::optional<Peaks> peaksOf(const QString &cacheFolder, const QString &path, int streamIndex,
                             const std::atomic_bool *cancelled, const PeakDecoder::Progress &progress,
                             bool &fromCache, MediaError &error)
{
    const std::optional<MediaSource> source = MediaSource::of(path, streamIndex);
    const PeakCache cache(cacheFolder);
    if (source && !cacheFolder.isEmpty()) {
        if (std::optional<Peaks> cached = cache.load(*source)) {
            fromCache = true;
            return cached;
        }
    }
    PeakDecoder decoder(cancelled);
    std::optional<Peaks> peaks;
    if (decoder.open(path, error))
        peaks = decoder.decode(streamIndex, error, progress);
    if (!peaks)
        return std::nullopt;
    // Keyed by the file as it was before decoding: if it changed meanwhile,
    // the next open sees the difference and decodes again.
    if (source) {
        peaks->source = *source;
        if (!cacheFolder.isEmpty())
            cache.store(*peaks);
    }
    return peaks;
}

} // namespace

PeakJob::PeakJob(QString cacheFolder, QObject *parent)
    : QObject(parent), m_cacheFolder(std::move(cacheFolder)), m_task(*this)
{
}

void PeakJob::start(const QString &path, int streamIndex)
{
    m_task.start(
        [this, folder = m_cacheFolder, path, streamIndex](const DetachedTask::Run &run) {
            bool fromCache = false;
            MediaError error;
            std::optional<Peaks> peaks;
            // Nothing a damaged file does may take the window down with it.
            try {
                const auto progress = [this, &run](double fraction) {
                    run.post([this, fraction] { emit this->progress(fraction); });
                };
                peaks = peaksOf(folder, path, streamIndex, run.cancelFlag(), progress, fromCache, error);
            } catch (const std::bad_alloc &) {
                error = {MediaError::Kind::Damaged, path, QString::fromLocal8Bit(std::strerror(ENOMEM))};
            } catch (...) {
                error = {MediaError::Kind::Damaged, path, QString::fromLocal8Bit(std::strerror(EINVAL))};
            }
            if (peaks)
                run.post([this, peaks = *std::move(peaks), fromCache] { emit finished(peaks, fromCache); });
            else if (error.kind != MediaError::Kind::Cancelled)
                run.post([this, error] { emit failed(error); });
        },
        QThread::LowPriority);
}

void PeakJob::cancel()
{
    m_task.abandon();
}
