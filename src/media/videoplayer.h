// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/audiotrack.h"
#include "media/detachedtask.h"
#include "media/mediaerror.h"
#include "media/mpvfileinfo.h"
#include "media/mpvframerenderer.h"
#include "media/peakdecoder.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>

class FrameCache;
class QTimer;
struct mpv_handle;
struct mpv_event_command;
struct mpv_event_property;

// A video player over libmpv that shows a paused file at the exact frame
// of a time and plays it, rendering each frame in software into a QImage.
// Every call returns at once: mpv works on its own threads and reports
// back through queued calls on the thread the player lives in, and file
// checks that could block (a dead network mount) run on threads of their own.
class VideoPlayer : public QObject
{
    Q_OBJECT

public:
    enum class AudioOutput {
        Device, // the system's sound; silence when there is no device
        None,   // mpv's null output, for tests and headless use
        Off,    // no sound decoded at all: pictures only (decoding ahead)
    };

    explicit VideoPlayer(AudioOutput audio = AudioOutput::Device, QObject *parent = nullptr);
    ~VideoPlayer() override;

    // Process-wide settings mpv and FFmpeg need, made once at start-up,
    // after the application object and before any player.
    static void prepareProcess();

    // Whether libmpv started; if not, open() fails with Kind::PlayerUnavailable.
    bool isAvailable() const { return m_renderer.isValid(); }

    // Opens path, paused at its first frame: loaded() or failed() follows.
    // Only plain files in media formats open, and the file open before goes
    // only once path has proved to be one: a refused file leaves it open.
    void open(const QString &path);
    void close();
    const QString &path() const { return m_path; }
    bool isLoaded() const { return m_loaded; }

    bool hasVideo() const { return m_hasVideo; }
    bool hasAudio() const { return !m_audioTracks.isEmpty(); }
    qint64 durationMs() const { return m_durationMs; }
    double frameRate() const { return m_frameRate; }
    QSize videoSize() const { return m_hasVideo ? m_videoSize : QSize(); }
    // The shown frame's start, and its number from 0 (-1 without picture).
    qint64 positionMs() const;
    qint64 frameNumber() const;
    // False after a seek that could not find the frame of its time: frame()
    // is then empty rather than wrong, and positionMs() the time asked for.
    bool isFrameExact() const { return m_frameExact; }
    bool isPaused() const { return m_paused; }
    // Whether mpv is on its way to a time asked for.
    // Also while the check that the file is still there holds a seek back.
    bool isSeeking() const { return m_seeking || m_checkedSeekMs >= 0; }

    // Pauses at the frame on screen at ms (the last frame starting at or
    // before it); seekFinished() follows when frame() shows it. Before the
    // file is loaded, the latest seek is kept for then.
    void seek(qint64 ms);
    void play();
    void pause();
    // Plays from startMs and pauses on the last frame that starts before
    // endMs.
    void playRange(qint64 startMs, qint64 endMs);
    void stepForward();
    void stepBackward();

    // 0 to 100.
    void setVolume(int percent);
    int volume() const { return m_volume; }
    // Playback speed, 1 as filmed; the sound keeps its pitch.
    void setSpeed(double speed);
    double speed() const { return m_speed; }

    const QList<AudioTrack> &audioTracks() const { return m_audioTracks; }
    // The stream index of the track playing, -1 for none.
    int audioTrack() const { return m_audioTrack; }
    void setAudioTrack(int streamIndex);

    // The size frames are rendered at; empty: the video's own size.
    void setFrameSize(const QSize &size);
    const QSize &frameSize() const { return m_frameSize; }
    const QImage &frame() const { return m_cachedShown ? m_cachedFrame : m_frame; }
    // Frames decoded ahead (FramePrefetcher's): a seek to a time the cache
    // holds shows that frame at once while mpv catches up behind it.
    void setFrameCache(const FrameCache *cache) { m_frameCache = cache; }

signals:
    // The file is open: duration, tracks and frame rate are known.
    void loaded();
    // error.path could not be opened, or the file open failed or went.
    void failed(const MediaError &error);
    void closed();
    // frame() holds a new picture.
    void frameReady();
    void seekFinished(qint64 positionMs);
    void positionChanged(qint64 positionMs);
    void pausedChanged(bool paused);

private:
    static void wakeUp(void *player);
    static void renderUpdate(void *player);
    void handleEvents();
    void handleRenderUpdate();
    void handlePlaybackRestart();
    void handlePropertyReply(quint64 reply, int error, const mpv_event_property &property);
    void handleLoadReply(int error, const mpv_event_command *reply);
    void handleEndOfFile(int reason, int error, qint64 entry);
    void startLoading(const QString &path, const MediaError &error, const std::optional<PeakDecoder::FrameSpan> &frames);
    void finishLoading();
    void fail(const QString &reason);
    void land(bool atEnd);
    void setVideoSize(const QSize &size);
    void renderFrame();
    void startSeek(qint64 ms);
    void sendSeek();
    // force: end even without a frame to show (the watchdog).
    void endSeek(bool force = false);
    void setPausedProperty(bool paused);
    void checkStillThere();
    void stillThereChecked(const QString &path, bool exists);
    void resetFile();
    void setPosition(double seconds);
    void showCachedFrame(qint64 ms);
    // Whether the frame mpv is on is the last one starting before endMs.
    bool isLastFrameBefore(qint64 endMs) const;
    void stopAtRangeEnd();
    // mpv's frame-step or frame-back-step, unless a seek is under way.
    void step(const char *name);

    mpv_handle *m_mpv = nullptr;
    MpvFrameRenderer m_renderer;
    QString m_unavailableReason;
    std::atomic_bool m_eventsPosted{false};
    std::atomic_bool m_renderPosted{false};
    QTimer *m_seekWatchdog;
    DetachedTask m_openCheck;
    DetachedTask m_fileCheck;

    QString m_path;
    quint64 m_openSerial = 0;
    qint64 m_entryId = -1;        // mpv's playlist entry of the file opened
    qint64 m_startedEntryId = -1; // the entry mpv last started
    bool m_opening = false;
    int m_loadRepliesDue = 0;
    MpvFileInfo m_loadingInfo;
    bool m_loaded = false;
    bool m_vanishReported = false;
    PeakDecoder::FrameSpan m_frames;
    bool m_hasVideo = false;
    qint64 m_durationMs = 0;
    double m_frameRate = 0;
    QSize m_videoSize;
    int m_displayWidth = 0;
    int m_displayHeight = 0;
    bool m_frameSkipped = false; // the last frame was taken without a size
    double m_positionSeconds = 0;
    bool m_paused = true;
    int m_volume = 100;
    double m_speed = 1;
    QList<AudioTrack> m_audioTracks;
    QList<qint64> m_audioTrackIds; // mpv's id of each entry of m_audioTracks
    int m_audioTrack = -1;

    // One seek at a time, so each playback restart belongs to a known seek.
    bool m_seeking = false;
    bool m_seekBegun = false;     // mpv started the seek sent last
    bool m_seekRestarted = false; // mpv restarted playback at the target
    bool m_seekFrameRendered = false; // frame() holds a frame drawn since
    bool m_seekCorrected = false;
    bool m_frameExact = true;
    qint64 m_seekTargetMs = 0;
    double m_seekTargetSeconds = 0; // where mpv was sent
    quint64 m_landingSerial = 0;    // of the landing asked for last
    double m_landingSeconds = -1;   // its position, -1 untold
    // How far before a target mpv has the demuxer seek, for files whose
    // demuxer lands past it (MPEG-TS); learned per file.
    double m_demuxerOffsetSeconds = 0;
    double m_sentDemuxerOffsetSeconds = 0; // the offset mpv has now
    double m_lateLandingSeconds = -1;
    qint64 m_queuedSeekMs = -1;
    qint64 m_checkedSeekMs = -1; // waits for the check that the file is there
    bool m_playAfterSeek = false;
    qint64 m_rangeEndMs = -1;

    QSize m_frameSize;
    QImage m_frame;

    const FrameCache *m_frameCache = nullptr;
    // A frame from the cache is on show while mpv seeks to it: mpv's
    // positions and frames on the way stay behind it until it lands.
    bool m_cachedShown = false;
    QImage m_cachedFrame;
    qint64 m_cachedPositionMs = 0;
};
