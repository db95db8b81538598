// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/videoplayer.h"

#include "media/mpvrequests.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cmath>

#include <mpv/client.h>
#include <mpv/render.h>

using namespace MpvRequest;

void VideoPlayer::prepareProcess()
{
    // mpv refuses to start unless numbers are formatted the C way, and Qt
    // takes LC_NUMERIC from the environment; Qt itself uses QLocale.
    std::setlocale(LC_NUMERIC, "C");
    PeakDecoder::prepareProcess();
}

VideoPlayer::VideoPlayer(AudioOutput audio, QObject *parent)
    : QObject(parent), m_seekWatchdog(new QTimer(this)), m_openCheck(*this), m_fileCheck(*this)
{
    m_seekWatchdog->setSingleShot(true);
    connect(m_seekWatchdog, &QTimer::timeout, this, [this] { endSeek(true); });

    m_mpv = mpv_create();
    if (!m_mpv) {
        m_unavailableReason = QStringLiteral("mpv_create");
        return;
    }
    const std::initializer_list<std::pair<const char *, const char *>> options = {
        {"vo", "libmpv"},
        {"ao", audio == AudioOutput::Device ? "" : "null"},
        {"aid", audio == AudioOutput::Off ? "no" : ""},
        // No sound device: play on in silence.
        {"audio-fallback-to-null", "yes"},
        // A seek lands on the frame asked for, not on a keyframe.
        {"hr-seek", "yes"},
        // At the end, stay on the last frame instead of unloading.
        {"keep-open", "always"},
        {"idle", "yes"},
        {"pause", "yes"},
        // The window draws the subtitles under review; mpv draws none.
        {"sub-auto", "no"},
        {"sid", "no"},
        {"osd-level", "0"},
        // Cover art is no picture of the film.
        {"audio-display", "no"},
        {"cover-art-auto", "no"},
        // A local file never makes mpv open what it names (playlists,
        // linked segments, other files beside it) nor reach the network.
        {"access-references", "no"},
        {"autoload-files", "no"},
        {"demuxer-lavf-o", "protocol_whitelist=file"},
        // Slowed down or sped up, voices keep their pitch.
        {"audio-pitch-correction", "yes"},
        {"hwdec", "no"},
        {"ytdl", "no"},
        {"load-scripts", "no"},
        {"config", "no"},
        {"resume-playback", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
    };
    for (const auto &[name, value] : options) {
        if (*value)
            mpv_set_option_string(m_mpv, name, value);
    }
    if (const int started = mpv_initialize(m_mpv); started < 0) {
        m_unavailableReason = QString::fromUtf8(mpv_error_string(started));
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_observe_property(m_mpv, TimePosition, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Width, "dwidth", MPV_FORMAT_INT64);
    mpv_observe_property(m_mpv, Height, "dheight", MPV_FORMAT_INT64);
    mpv_set_wakeup_callback(m_mpv, &VideoPlayer::wakeUp, this);

    m_renderer.create(m_mpv, &VideoPlayer::renderUpdate, this, m_unavailableReason);
}

VideoPlayer::~VideoPlayer()
{
    m_openCheck.abandon(0);
    m_fileCheck.abandon(0);
    // No callback runs after these calls. mpv's teardown waits for its own
    // threads, which may wait on a read that blocks: it runs on a thread of
    // its own, waited for a short while. The render context goes first.
    mpv_render_context *render = m_renderer.release();
    if (m_mpv)
        mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    if (!render && !m_mpv)
        return;
    DetachedTask teardown(*this);
    teardown.start([render, mpv = m_mpv](const DetachedTask::Run &) {
        if (render)
            mpv_render_context_free(render);
        if (mpv)
            mpv_terminate_destroy(mpv);
    });
    teardown.abandon(300);
}

// Called on mpv's threads: only hop to the player's thread, once until served.
void VideoPlayer::wakeUp(void *player)
{
    auto *self = static_cast<VideoPlayer *>(player);
    if (!self->m_eventsPosted.exchange(true))
        QMetaObject::invokeMethod(self, &VideoPlayer::handleEvents, Qt::QueuedConnection);
}

void VideoPlayer::renderUpdate(void *player)
{
    auto *self = static_cast<VideoPlayer *>(player);
    if (!self->m_renderPosted.exchange(true))
        QMetaObject::invokeMethod(self, &VideoPlayer::handleRenderUpdate, Qt::QueuedConnection);
}

void VideoPlayer::open(const QString &path)
{
    if (!isAvailable()) {
        m_openCheck.abandon();
        const MediaError error{MediaError::Kind::PlayerUnavailable, path, m_unavailableReason};
        QMetaObject::invokeMethod(this, [this, error] { emit failed(error); }, Qt::QueuedConnection);
        return;
    }
    // FFmpeg looks first, on a thread of its own (the file may sit on a
    // mount that blocks): it refuses what is no plain media file, and tells
    // where the picture's frames start and end.
    m_openCheck.start([this, path](const DetachedTask::Run &run) {
        PeakDecoder decoder(run.cancelFlag());
        MediaError error;
        std::optional<PeakDecoder::FrameSpan> frames;
        if (decoder.open(path, error))
            frames = decoder.videoFrameSpan();
        run.post([this, path, error, frames] { startLoading(path, error, frames); });
    });
}

void VideoPlayer::startLoading(const QString &path, const MediaError &error,
                               const std::optional<PeakDecoder::FrameSpan> &frames)
{
    if (error.isError()) {
        emit failed(error);
        return;
    }
    close();
    m_path = path;
    m_vanishReported = false;
    m_frames = frames.value_or(PeakDecoder::FrameSpan{});
    m_opening = true;
    ++m_openSerial;
    m_demuxerOffsetSeconds = 0;
    m_sentDemuxerOffsetSeconds = 0;
    m_lateLandingSeconds = -1;
    double offset = 0;
    mpv_set_property_async(m_mpv, 0, "hr-seek-demuxer-offset", MPV_FORMAT_DOUBLE, &offset);
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const char *command[] = {"loadfile", file.constData(), "replace", nullptr};
    mpv_command_async(m_mpv, loadCommand + m_openSerial, command);
}

void VideoPlayer::close()
{
    m_openCheck.abandon();
    const bool wasOpen = m_opening || m_loaded;
    if (wasOpen && m_mpv) {
        const char *command[] = {"stop", nullptr};
        mpv_command_async(m_mpv, 0, command);
    }
    resetFile();
    if (wasOpen)
        emit closed();
}

void VideoPlayer::resetFile()
{
    m_path.clear();
    m_entryId = -1;
    m_opening = false;
    m_loadRepliesDue = 0;
    m_loaded = false;
    m_hasVideo = false;
    m_frames = {};
    m_durationMs = 0;
    m_frameRate = 0;
    m_positionSeconds = 0;
    m_audioTracks.clear();
    m_audioTrackIds.clear();
    m_audioTrack = -1;
    m_seeking = false;
    m_frameExact = true;
    m_queuedSeekMs = -1;
    m_checkedSeekMs = -1;
    m_playAfterSeek = false;
    m_rangeEndMs = -1;
    m_seekWatchdog->stop();
    m_frame = QImage();
    m_cachedShown = false;
    m_cachedFrame = QImage();
}

qint64 VideoPlayer::positionMs() const
{
    return m_cachedShown ? m_cachedPositionMs : std::llround(m_positionSeconds * 1000);
}

qint64 VideoPlayer::frameNumber() const
{
    if (!m_hasVideo || m_frameRate <= 0 || (!m_cachedShown && !m_frameExact))
        return -1;
    const double seconds = m_cachedShown ? double(m_cachedPositionMs) / 1000 : m_positionSeconds;
    return std::max<qint64>(0, std::llround((seconds - m_frames.firstSeconds) * m_frameRate));
}

void VideoPlayer::setVolume(int percent)
{
    m_volume = std::clamp(percent, 0, 100);
    if (!m_mpv)
        return;
    double value = m_volume;
    mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &value);
}

void VideoPlayer::setSpeed(double speed)
{
    m_speed = std::clamp(speed, 0.25, 4.0);
    if (!m_mpv)
        return;
    double value = m_speed;
    mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &value);
}

void VideoPlayer::setAudioTrack(int streamIndex)
{
    const qsizetype at = std::find_if(m_audioTracks.cbegin(), m_audioTracks.cend(),
                                      [&](const AudioTrack &track) { return track.streamIndex == streamIndex; })
                         - m_audioTracks.cbegin();
    if (at >= m_audioTracks.size() || !m_mpv)
        return;
    qint64 id = m_audioTrackIds[at];
    mpv_set_property_async(m_mpv, 0, "aid", MPV_FORMAT_INT64, &id);
    m_audioTrack = streamIndex;
}

void VideoPlayer::setFrameSize(const QSize &size)
{
    if (size == m_frameSize)
        return;
    m_frameSize = size;
    if (m_loaded && m_hasVideo && !m_seeking) {
        renderFrame();
        emit frameReady();
    }
}

void VideoPlayer::handleEvents()
{
    m_eventsPosted = false;
    // A restart is acted on once the property changes that came with it
    // are in, the position above all. Reading properties here instead could
    // wait for mpv's core, which may itself wait for a frame to be taken.
    bool restarted = false;
    while (m_mpv) {
        const mpv_event *event = mpv_wait_event(m_mpv, 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            if (restarted && m_loaded)
                handlePlaybackRestart();
            return;
        case MPV_EVENT_START_FILE:
            m_startedEntryId = static_cast<const mpv_event_start_file *>(event->data)->playlist_entry_id;
            break;
        case MPV_EVENT_FILE_LOADED:
            // Only the file of the latest open(); an earlier one may still
            // finish loading before mpv gets to the newer command.
            // What mpv knows of it is asked for; the last answer loads it.
            if (m_opening && m_entryId >= 0 && m_startedEntryId == m_entryId && m_loadRepliesDue == 0) {
                m_loadingInfo = {};
                m_loadRepliesDue = 3;
                mpv_get_property_async(m_mpv, replyFor(m_openSerial, TrackList), "track-list", MPV_FORMAT_NODE);
                mpv_get_property_async(m_mpv, replyFor(m_openSerial, FileDuration), "duration", MPV_FORMAT_DOUBLE);
                mpv_get_property_async(m_mpv, replyFor(m_openSerial, FrameRate), "container-fps", MPV_FORMAT_DOUBLE);
            }
            break;
        case MPV_EVENT_GET_PROPERTY_REPLY:
            handlePropertyReply(event->reply_userdata, event->error,
                                *static_cast<const mpv_event_property *>(event->data));
            break;
        case MPV_EVENT_END_FILE: {
            const auto *end = static_cast<const mpv_event_end_file *>(event->data);
            handleEndOfFile(end->reason, end->error, end->playlist_entry_id);
            break;
        }
        case MPV_EVENT_SEEK:
            m_seekBegun = m_seeking;
            // A restart before the seek began (the opening's) is not its own.
            restarted = false;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            restarted = true;
            break;
        case MPV_EVENT_COMMAND_REPLY:
            // A seek mpv refused never restarts playback.
            if (event->reply_userdata == seekCommand && event->error < 0 && m_seeking)
                endSeek();
            else if (event->reply_userdata == loadCommand + m_openSerial && m_opening)
                handleLoadReply(event->error, static_cast<const mpv_event_command *>(event->data));
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto *property = static_cast<const mpv_event_property *>(event->data);
            if (event->reply_userdata == TimePosition && property->format == MPV_FORMAT_DOUBLE && m_loaded)
                setPosition(*static_cast<const double *>(property->data));
            else if (event->reply_userdata == Pause && property->format == MPV_FORMAT_FLAG) {
                const bool paused = *static_cast<const int *>(property->data) != 0;
                if (paused != m_paused) {
                    m_paused = paused;
                    emit pausedChanged(paused);
                }
            } else if (event->reply_userdata == Duration && property->format == MPV_FORMAT_DOUBLE && m_loaded) {
                m_durationMs = std::llround(*static_cast<const double *>(property->data) * 1000);
            } else if (event->reply_userdata == Width || event->reply_userdata == Height) {
                const int value = property->format == MPV_FORMAT_INT64 ? int(*static_cast<const qint64 *>(property->data)) : 0;
                (event->reply_userdata == Width ? m_displayWidth : m_displayHeight) = value;
                setVideoSize(QSize(m_displayWidth, m_displayHeight));
            }
            break;
        }
        case MPV_EVENT_SHUTDOWN:
            // Nothing here asks mpv to quit; if it does anyway, stop using it.
            m_renderer.destroy();
            m_unavailableReason = QStringLiteral("shutdown");
            return;
        default:
            break;
        }
    }
}

void VideoPlayer::handlePropertyReply(quint64 reply, int error, const mpv_event_property &property)
{
    const quint64 serial = reply >> 8;
    const auto asked = Asked(reply & 0xff);
    const bool isDouble = error >= 0 && property.format == MPV_FORMAT_DOUBLE;
    switch (asked) {
    case TrackList:
    case FileDuration:
    case FrameRate:
        if (serial != m_openSerial || !m_opening || m_loadRepliesDue <= 0)
            return;
        if (asked == TrackList && error >= 0 && property.format == MPV_FORMAT_NODE)
            m_loadingInfo.readTracks(*static_cast<const mpv_node *>(property.data));
        else if (asked == FileDuration && isDouble)
            m_loadingInfo.durationMs = std::llround(*static_cast<const double *>(property.data) * 1000);
        else if (asked == FrameRate && isDouble) {
            const double rate = *static_cast<const double *>(property.data);
            if (rate > 0 && rate < 1000)
                m_loadingInfo.frameRate = rate;
        }
        if (--m_loadRepliesDue == 0)
            finishLoading();
        return;
    case LandingPosition:
        if (serial == m_landingSerial && isDouble)
            m_landingSeconds = std::max(0.0, *static_cast<const double *>(property.data));
        return;
    case LandingAtEnd:
        if (serial == m_landingSerial && m_seeking && m_loaded)
            land(error >= 0 && property.format == MPV_FORMAT_FLAG && *static_cast<const int *>(property.data));
        return;
    }
}

void VideoPlayer::finishLoading()
{
    const MpvFileInfo &info = m_loadingInfo;
    m_opening = false;
    m_loaded = true;
    m_hasVideo = info.hasVideo;
    // The stored size, until mpv tells the displayed one.
    if (m_hasVideo && m_videoSize.isEmpty())
        m_videoSize = info.storedSize;
    // A sound file shows no picture, least of all the film before it.
    if (!m_hasVideo)
        m_frame = QImage();
    m_audioTracks = info.audioTracks;
    m_audioTrackIds = info.audioTrackIds;
    m_audioTrack = info.selectedAudioTrack;
    if (info.durationMs >= 0)
        m_durationMs = info.durationMs;
    if (info.frameRate > 0)
        m_frameRate = info.frameRate;
    emit loaded();
    if (m_queuedSeekMs >= 0)
        startSeek(std::exchange(m_queuedSeekMs, -1));
}

void VideoPlayer::handleLoadReply(int error, const mpv_event_command *reply)
{
    if (error >= 0 && reply) {
        m_entryId = MpvFileInfo::loadedEntryId(*reply);
        if (m_entryId >= 0)
            return;
    }
    fail(QString::fromUtf8(mpv_error_string(error)));
}

void VideoPlayer::handleEndOfFile(int reason, int error, qint64 entry)
{
    if (entry != m_entryId || m_entryId < 0 || reason != MPV_END_FILE_REASON_ERROR)
        return;
    fail(QString::fromUtf8(mpv_error_string(error)));
}

void VideoPlayer::fail(const QString &reason)
{
    // FFmpeg opened the file before mpv was given it: if it is still there,
    // it is damaged. Whether it is, is asked off this thread.
    const QString path = m_path;
    const bool wasOpen = m_loaded;
    resetFile();
    if (wasOpen)
        emit closed();
    m_fileCheck.start([this, path, wasOpen, reason](const DetachedTask::Run &run) {
        MediaError problem{MediaError::Kind::Damaged, path, reason};
        if (!QFileInfo::exists(path))
            problem = {wasOpen ? MediaError::Kind::Vanished : MediaError::Kind::Missing, path, {}};
        run.post([this, problem] { emit failed(problem); });
    });
}

void VideoPlayer::setVideoSize(const QSize &size)
{
    const QSize valid = size.isEmpty() ? QSize() : size;
    if (valid == m_videoSize)
        return;
    m_videoSize = valid;
    if (!m_loaded || !m_hasVideo || m_videoSize.isEmpty())
        return;
    // A frame that came before its size is drawn now.
    if (m_seeking) {
        if (m_seekRestarted && m_frameSkipped)
            endSeek();
        return;
    }
    renderFrame();
    emit frameReady();
}

void VideoPlayer::handleRenderUpdate()
{
    m_renderPosted = false;
    if (!m_renderer.takeUpdate())
        return;
    // Every frame is taken at once, even one of a file closed since: mpv's
    // video output waits until it is.
    if (!m_loaded && !m_opening) {
        m_renderer.skip();
        return;
    }
    renderFrame();
    if (!m_loaded)
        return;
    if (!m_seeking) {
        m_frameExact = true;
        emit frameReady();
        return;
    }
    // The seek resets mpv's video output, so a frame after its start is the
    // one asked for (a seek made while playing may first see one frame
    // still on its way; the next replaces it).
    if (m_seekBegun) {
        m_seekFrameRendered = true;
        if (m_seekRestarted)
            endSeek();
    }
}

void VideoPlayer::renderFrame()
{
    if (!m_renderer.isValid())
        return;
    // A sound file draws nothing, whatever size the pane asks for.
    if (m_loaded && !m_hasVideo) {
        m_renderer.skip();
        m_frame = QImage();
        return;
    }
    const QSize size = m_frameSize.isEmpty() ? m_videoSize : m_frameSize;
    m_frameSkipped = size.isEmpty();
    m_renderer.render(size, m_frame);
}
