// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/audiotrack.h"
#include "media/mediaerror.h"
#include "media/peaks.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct AVFormatContext;
struct AVPacket;

// Decodes one audio stream of a video or sound file, with FFmpeg's
// libraries, into its peaks. Plain and synchronous: it streams the sound
// through and keeps only the peaks, so memory stays small for any length,
// and a worker thread can run it and stop it with the cancel flag.
class PeakDecoder
{
public:
    // fraction of the file done, 0 to 1, called on the decoding thread.
    using Progress = std::function<void(double fraction)>;

    // cancelled, when given, is read often, also while opening; setting it
    // makes open() and decode() return Kind::Cancelled promptly.
    explicit PeakDecoder(const std::atomic_bool *cancelled = nullptr);
    ~PeakDecoder();
    PeakDecoder(const PeakDecoder &) = delete;
    PeakDecoder &operator=(const PeakDecoder &) = delete;

    // Opens path and lists its audio streams; error says why not.
    bool open(const QString &path, MediaError &error);
    void close();
    const QList<AudioTrack> &audioTracks() const { return m_tracks; }

    // The peaks of streamIndex (as in audioTracks()), -1 for the first
    // audio stream. Kind::NoSound for a file without sound.
    std::optional<Peaks> decode(int streamIndex, MediaError &error, const Progress &progress = {});

    // The starts of the first, the last and the second last frames of the
    // picture, and of its last keyframe, in seconds from the file's start as
    // a player counts it; -1 where the file does not tell. Reads the end of
    // the file: call it after decode().
    struct FrameSpan
    {
        double firstSeconds = 0;
        double lastSeconds = -1;
        double secondLastSeconds = -1;
        double lastKeySeconds = -1;
    };
    std::optional<FrameSpan> videoFrameSpan();

    // Sound sampled slower than this is refused: nobody records speech so,
    // and the player fails on it.
    static constexpr int minimumSampleRate = 4000;
    // Above this a sample rate is taken for damage.
    static constexpr int maximumSampleRate = 1'536'000;

    // Process-wide, once at start-up: what goes wrong is reported through
    // MediaError, and FFmpeg's own lines on standard error would only repeat it.
    static void prepareProcess();

    // The file opened, for a reader of another stream in the same pass.
    AVFormatContext *format() const;
    // Packets of streamIndex, read in the same pass as the sound, go to tap
    // (the shot changes of the picture): the file is read once for both.
    using PacketTap = std::function<void(const AVPacket *packet)>;
    void setPacketTap(int streamIndex, PacketTap tap);

    // Whether the start of path is a container FFmpeg knows and this class
    // reads, by content alone: one that then fails to open is damaged rather
    // than no media.
    static bool looksLikeKnownContainer(const QString &path);

private:
    struct Input;

    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }
    MediaError failure(MediaError::Kind kind, const QString &reason = {}) const;

    const std::atomic_bool *m_cancelled;
    std::unique_ptr<Input> m_input;
    QString m_path;
    QList<AudioTrack> m_tracks;
    int m_videoStream = -1;
    int m_tapStream = -1;
    PacketTap m_tap;
};
