// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotchangefinder.h"

#include "media/peakdecoder.h"
#include "media/shots/shotcache.h"
#include "media/shots/videoscanner.h"


#include <algorithm>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct PacketFree
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};

} // namespace

ShotChangeFinder::ShotChangeFinder(const std::atomic_bool *cancelled) : m_cancelled(cancelled) {}

std::optional<DetectedShots> ShotChangeFinder::find(const QString &path, MediaError &error,
                                                    const Progress &progress) const
{
    const auto fail = [&](MediaError::Kind kind, const QString &reason = {}) {
        error = {isCancelled() ? MediaError::Kind::Cancelled : kind, path, reason};
        return std::nullopt;
    };
    error = MediaError::checkFile(path);
    if (error.isError())
        return std::nullopt;
    DetectedShots shots;
    if (const auto source = MediaSource::of(path))
        shots.source = *source;
    if (isCancelled())
        return fail(MediaError::Kind::Cancelled);

    // Opened as the peaks are: plain files in media formats only, so that
    // nothing in a file reaches the network or opens what it names.
    PeakDecoder decoder(m_cancelled);
    if (!decoder.open(path, error))
        return std::nullopt;
    AVFormatContext *format = decoder.format();

    const int videoStream = VideoScanner::firstVideoStream(format);
    bool hasSound = false;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        hasSound = hasSound || format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
    if (videoStream < 0) {
        if (!hasSound)
            return fail(MediaError::Kind::NotMedia);
        error = {};
        return shots;
    }
    shots.hasPicture = true;

    VideoScanner scanner;
    if (!scanner.start(format, videoStream, error)) {
        error.path = path;
        return std::nullopt;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == videoStream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVStream *stream = format->streams[videoStream];
    const double startSeconds = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    const double durationSeconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    int readError = 0;
    double reported = 0;
    while (!isCancelled()) {
        const int read = av_read_frame(format, packet.get());
        if (read < 0) {
            if (read != AVERROR_EOF)
                readError = read;
            break;
        }
        if (packet->stream_index == videoStream) {
            scanner.takePacket(packet.get());
            if (progress && durationSeconds > 0 && packet->pts != AV_NOPTS_VALUE) {
                const double done = std::clamp(
                    (double(packet->pts) * av_q2d(stream->time_base) - startSeconds) / durationSeconds, 0.0, 1.0);
                if (done >= reported + 0.005) {
                    reported = done;
                    progress(done);
                }
            }
        }
        av_packet_unref(packet.get());
    }
    if (isCancelled())
        return fail(MediaError::Kind::Cancelled);
    shots.shotChanges = scanner.finish();
    shots.frames = scanner.frames();
    if (shots.frames == 0)
        return fail(MediaError::Kind::Damaged, errorText(readError ? readError : AVERROR_INVALIDDATA));
    if (progress)
        progress(1.0);
    error = {};
    return shots;
}

std::optional<DetectedShots> ShotChangeFinder::findCached(const QString &path, const QString &cacheFolder,
                                                          MediaError &error, const Progress &progress,
                                                          bool *fromCache) const
{
    if (fromCache)
        *fromCache = false;
    const std::optional<MediaSource> source = MediaSource::of(path);
    const ShotCache cache(cacheFolder);
    if (source && !cacheFolder.isEmpty()) {
        if (std::optional<DetectedShots> cached = cache.load(*source)) {
            if (fromCache)
                *fromCache = true;
            error = {};
            return cached;
        }
    }
    std::optional<DetectedShots> shots = find(path, error, progress);
    // Keyed by the file as it was before reading: if it changed meanwhile,
    // the next open sees the difference and reads it again.
    if (shots && source) {
        shots->source = *source;
        if (!cacheFolder.isEmpty())
            cache.store(*shots);
    }
    return shots;
}
