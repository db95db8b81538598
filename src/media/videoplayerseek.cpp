// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
// VideoPlayer going to a time: the exact seek and its landing, playing,
// stepping and playing a range, and the check that the file is still there.
#include "media/videoplayer.h"

#include "media/frames/framecache.h"
#include "media/mpvrequests.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include <mpv/client.h>

using namespace MpvRequest;

namespace {

// A seek that never restarts playback (a file that cannot seek) frees the
// player after this long, and longer for each second it decodes before its
// target; a 4K film with 10 s between keyframes can take seconds to land.
constexpr int seekWatchdogMs = 5000;
// Past this the demuxer is not sent earlier: the frame is said not found.
constexpr double mostDemuxerOffsetSeconds = 60;
// How far before the last keyframe the demuxer is sent for a time after it
// (or on it, or just before it).
constexpr double lastKeyMarginSeconds = 0.5;

} // namespace

void VideoPlayer::checkStillThere()
{
    // mpv reads on from its open handle; the user should still know. A
    // stat can block on a dead mount, so it runs on a thread of its own.
    if (m_vanishReported || m_path.isEmpty() || m_fileCheck.isRunning())
        return;
    m_fileCheck.start([this, path = m_path](const DetachedTask::Run &run) {
        const bool exists = QFileInfo::exists(path);
        run.post([this, path, exists] { stillThereChecked(path, exists); });
    });
}

void VideoPlayer::stillThereChecked(const QString &path, bool exists)
{
    if (path != m_path || !m_loaded)
        return;
    const qint64 ms = std::exchange(m_checkedSeekMs, -1);
    if (!exists) {
        if (!std::exchange(m_vanishReported, true))
            emit failed({MediaError::Kind::Vanished, m_path, {}});
        return;
    }
    if (ms < 0)
        return;
    if (m_seeking)
        m_queuedSeekMs = ms; // the latest wins
    else
        startSeek(ms);
}

void VideoPlayer::seek(qint64 ms)
{
    m_rangeEndMs = -1;
    m_playAfterSeek = false;
    if (!m_loaded) {
        if (m_opening)
            m_queuedSeekMs = ms;
        return;
    }
    // A film that went is not sought in; the check's answer starts the seek.
    if (m_vanishReported)
        return;
    showCachedFrame(ms);
    m_checkedSeekMs = ms;
    checkStillThere();
}

void VideoPlayer::showCachedFrame(qint64 ms)
{
    const QSize size = m_frameSize.isEmpty() ? m_videoSize : m_frameSize;
    const FrameCache::Frame *cached = m_frameCache && m_hasVideo ? m_frameCache->find(ms, size) : nullptr;
    if (!cached)
        return;
    m_cachedShown = true;
    m_cachedFrame = cached->image;
    m_cachedPositionMs = cached->positionMs;
    QMetaObject::invokeMethod(
        this,
        [this, serial = m_openSerial, positionMs = m_cachedPositionMs] {
            if (serial != m_openSerial || !m_loaded)
                return;
            emit positionChanged(positionMs);
            emit frameReady();
            emit seekFinished(positionMs);
        },
        Qt::QueuedConnection);
}

void VideoPlayer::startSeek(qint64 ms)
{
    if (!m_paused)
        setPausedProperty(true);
    // Past the end, the last frame shows; before the first, the first.
    const double lastSeconds = m_frames.lastSeconds >= 0 ? m_frames.lastSeconds : double(m_durationMs - 1) / 1000;
    ms = std::clamp<qint64>(ms, 0, std::max<qint64>(std::llround(lastSeconds * 1000), 0));
    m_seeking = true;
    m_seekTargetMs = ms;
    m_frameExact = true;
    // mpv shows the first frame starting at or after the target, so at a
    // steady frame rate the start of the frame on screen at ms (within half
    // a millisecond, for times stored in whole ones) goes there directly; a
    // variable one is corrected by a step back when it lands.
    // On the last frame mpv tells the target as the position, not the
    // frame's start, so the last two frames are gone to by their starts.
    const double at = (double(ms) + 0.5) / 1000;
    double seconds = double(ms) / 1000;
    if (m_hasVideo && m_frames.lastSeconds >= 0 && at >= m_frames.lastSeconds)
        seconds = m_frames.lastSeconds;
    else if (m_hasVideo && m_frames.secondLastSeconds >= 0 && at >= m_frames.secondLastSeconds)
        seconds = m_frames.secondLastSeconds;
    else if (m_hasVideo && m_frameRate > 0)
        seconds = std::max(m_frames.firstSeconds,
                           m_frames.firstSeconds
                               + std::floor((at - m_frames.firstSeconds) * m_frameRate + 1e-6) / m_frameRate);
    // A hair before the start, so that rounding cannot put it past the frame.
    m_seekTargetSeconds = m_hasVideo ? std::max(0.0, seconds - 1e-4) : seconds;
    sendSeek();
}

void VideoPlayer::sendSeek()
{
    m_seekBegun = false;
    m_seekRestarted = false;
    m_seekFrameRendered = false;
    m_seekCorrected = false;
    // Past the last keyframe a demuxer that goes to the next keyframe after
    // a time (MPEG-TS) finds none, and mpv tells the target while the old
    // frame stays: the demuxer is sent to the last keyframe.
    double offset = m_demuxerOffsetSeconds;
    if (m_hasVideo && m_frames.lastKeySeconds >= 0
        && m_seekTargetSeconds + lastKeyMarginSeconds > m_frames.lastKeySeconds)
        offset = std::max(offset, m_seekTargetSeconds - m_frames.lastKeySeconds + lastKeyMarginSeconds);
    if (offset != m_sentDemuxerOffsetSeconds) {
        m_sentDemuxerOffsetSeconds = offset;
        mpv_set_property_async(m_mpv, 0, "hr-seek-demuxer-offset", MPV_FORMAT_DOUBLE, &offset);
    }
    const QByteArray target = QByteArray::number(m_seekTargetSeconds, 'f', 6);
    const char *command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    mpv_command_async(m_mpv, seekCommand, command);
    m_seekWatchdog->start(seekWatchdogMs + int(m_sentDemuxerOffsetSeconds * 500));
}

void VideoPlayer::endSeek(bool force)
{
    m_seekWatchdog->stop();
    m_seeking = false;
    if (m_queuedSeekMs >= 0) {
        const qint64 next = std::exchange(m_queuedSeekMs, -1);
        startSeek(next);
        return;
    }
    // A frame taken before this seek's own came (the opening's) is
    // replaced by the one waiting.
    if (!m_seekFrameRendered || m_frameSkipped || m_renderer.hasNewFrame())
        renderFrame();
    // Until mpv tells the size, the frame cannot be drawn.
    if (m_frameSkipped && m_hasVideo && !force) {
        m_seeking = true;
        m_seekWatchdog->start(seekWatchdogMs);
        return;
    }
    // mpv caught up with a frame shown from the cache: the same frame has
    // been told already; another one (a cache that was wrong) is told now.
    const bool wasCached = std::exchange(m_cachedShown, false);
    // A frame that is not the one asked for is not shown as if it were.
    if (!m_frameExact) {
        m_frame = QImage();
        m_positionSeconds = double(m_seekTargetMs) / 1000;
    }
    const bool told = wasCached && m_frameExact && m_cachedPositionMs == positionMs() && m_cachedFrame == m_frame;
    m_cachedFrame = QImage();
    if (!told) {
        if (wasCached || !m_frameExact)
            emit positionChanged(positionMs());
        emit frameReady();
        emit seekFinished(positionMs());
    }
    // A range whose start frame is its last one has nothing to play.
    if (std::exchange(m_playAfterSeek, false)) {
        if (m_rangeEndMs >= 0 && isLastFrameBefore(m_rangeEndMs))
            m_rangeEndMs = -1;
        else
            setPausedProperty(false);
    }
}

void VideoPlayer::handlePlaybackRestart()
{
    if (!m_seeking) {
        // A seek held back by the file check, or a frame shown from the
        // cache, is newer than whatever mpv shows now.
        if (m_hasVideo && m_checkedSeekMs < 0 && !m_cachedShown) {
            renderFrame();
            emit frameReady();
        }
        return;
    }
    // A restart left over from an earlier seek comes before this seek's
    // own start.
    if (!m_seekBegun)
        return;
    // The landing position decides the step back, so it is asked for now
    // rather than trusted to have come with the restart; mpv answers
    // through the event loop, as this thread draws frames and must not wait
    // on mpv's core. A frame mpv's video output waits to hand over is taken
    // first.
    if (m_hasVideo && m_renderer.hasNewFrame()) {
        renderFrame();
        m_seekFrameRendered = true;
    }
    ++m_landingSerial;
    m_landingSeconds = -1;
    mpv_get_property_async(m_mpv, replyFor(m_landingSerial, LandingPosition), "time-pos", MPV_FORMAT_DOUBLE);
    mpv_get_property_async(m_mpv, replyFor(m_landingSerial, LandingAtEnd), "eof-reached", MPV_FORMAT_FLAG);
}

void VideoPlayer::land(bool atEnd)
{
    if (m_landingSeconds >= 0) {
        // On the last frame the video has ended and mpv tells the target or
        // the sound's position, which may run on past the picture: the frame
        // is the last, or else the one the seek went to.
        double seconds = m_landingSeconds;
        if (m_hasVideo && m_frames.lastSeconds >= 0 && m_seekTargetSeconds >= m_frames.lastSeconds - 2e-4)
            seconds = m_frames.lastSeconds;
        else if (m_hasVideo && seconds > m_seekTargetSeconds && atEnd)
            seconds = m_seekTargetSeconds;
        setPosition(seconds);
    }
    // Half a millisecond of slack for times stored in coarser units.
    if (m_hasVideo && m_positionSeconds * 1000 > double(m_seekTargetMs) + 0.5
        && m_positionSeconds > m_frames.firstSeconds + 0.0005) {
        // A frame late is a variable frame rate: the one before is on screen
        // at the time. Later still after that step, or by more than a second
        // at once, the demuxer went to a keyframe past the time (MPEG-TS
        // does): it is sent earlier and the video decoded forward from there.
        const double late = m_positionSeconds - m_seekTargetSeconds;
        const bool farOff = late > 1.0 && m_positionSeconds != m_lateLandingSeconds;
        if (!m_seekCorrected && !farOff) {
            m_seekCorrected = true;
            m_seekBegun = false;
            m_seekFrameRendered = false;
            const char *command[] = {"frame-back-step", nullptr};
            mpv_command_async(m_mpv, seekCommand, command);
            m_seekWatchdog->start(seekWatchdogMs + int(m_sentDemuxerOffsetSeconds * 500));
            return;
        }
        if (m_demuxerOffsetSeconds < mostDemuxerOffsetSeconds) {
            m_lateLandingSeconds = m_positionSeconds;
            m_demuxerOffsetSeconds =
                std::min(mostDemuxerOffsetSeconds, std::max({1.0, 2 * m_demuxerOffsetSeconds, std::ceil(late)}));
            sendSeek();
            return;
        }
        m_frameExact = false;
    }
    // The new frame may come before or after the restart: whichever is
    // second ends the seek.
    m_seekRestarted = true;
    if (!m_hasVideo || !m_frameExact || m_seekFrameRendered || m_renderer.hasNewFrame())
        endSeek();
}

void VideoPlayer::play()
{
    m_rangeEndMs = -1;
    if (!m_loaded || m_vanishReported)
        return;
    checkStillThere();
    setPausedProperty(false);
}

void VideoPlayer::pause()
{
    m_rangeEndMs = -1;
    m_playAfterSeek = false;
    if (m_loaded)
        setPausedProperty(true);
}

void VideoPlayer::playRange(qint64 startMs, qint64 endMs)
{
    if (!m_loaded || endMs <= startMs)
        return;
    seek(startMs);
    m_playAfterSeek = true;
    m_rangeEndMs = endMs;
}

void VideoPlayer::stepForward()
{
    step("frame-step");
}

void VideoPlayer::stepBackward()
{
    step("frame-back-step");
}

void VideoPlayer::step(const char *name)
{
    m_rangeEndMs = -1;
    if (!m_loaded || m_vanishReported || m_seeking)
        return;
    checkStillThere();
    const char *command[] = {name, nullptr};
    mpv_command_async(m_mpv, 0, command);
}

void VideoPlayer::setPausedProperty(bool paused)
{
    int value = paused ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &value);
}

void VideoPlayer::setPosition(double seconds)
{
    // Past the picture's last frame mpv tells the sound's position; the
    // frame on screen is still the last.
    if (m_hasVideo && m_frames.lastSeconds >= 0)
        seconds = std::min(seconds, m_frames.lastSeconds);
    if (seconds == m_positionSeconds)
        return;
    m_positionSeconds = seconds;
    if (m_rangeEndMs >= 0 && !m_seeking && isLastFrameBefore(m_rangeEndMs))
        stopAtRangeEnd();
    // mpv on its way to a frame shown from the cache is not what is on show.
    if (!m_cachedShown)
        emit positionChanged(positionMs());
}

bool VideoPlayer::isLastFrameBefore(qint64 endMs) const
{
    // Where the next frame starts at a steady rate; without a rate, the
    // frame past the end tells.
    const double nextSeconds = m_positionSeconds + (m_hasVideo && m_frameRate > 0 ? 1 / m_frameRate : 0);
    return std::llround(nextSeconds * 1000) >= endMs;
}

void VideoPlayer::stopAtRangeEnd()
{
    // A range ends on the last frame that starts before its end: paused
    // while that frame is on screen, then sought to, in case mpv showed the
    // next one before the pause took.
    const qint64 lastMs = std::exchange(m_rangeEndMs, -1) - 1;
    setPausedProperty(true);
    seek(lastMs);
}
