// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"
#include "media/mediaerror.h"
#include "media/shots/shotdetector.h"

#include <QString>
#include <QtGlobal>

#include <memory>

struct AVFormatContext;
struct AVPacket;
struct AVFrame;

// Decodes one video stream packet by packet, as a demuxing loop hands them
// over, and feeds each picture's thumbnail to a ShotDetector; notes the
// frame times for the frame rate and the start of the frame grid. Times
// are the player's: the stream's time less the file's start.
class VideoScanner
{
public:
    VideoScanner();
    ~VideoScanner();
    VideoScanner(const VideoScanner &) = delete;
    VideoScanner &operator=(const VideoScanner &) = delete;

    // The film's first picture stream (not cover art); -1 for none.
    static int firstVideoStream(const AVFormatContext *format);

    // Opens the decoder of format's stream streamIndex; error (path unset)
    // says why not.
    bool start(AVFormatContext *format, int streamIndex, MediaError &error);
    int streamIndex() const { return m_streamIndex; }
    // A packet of the stream; a damaged one is skipped, as a player would.
    void takePacket(const AVPacket *packet);
    // Decodes what the decoder still holds and gives the result.
    ShotChanges finish();
    qint64 frames() const { return m_detector.frames(); }

private:
    struct Decoder;

    void receiveFrames();
    void takeFrame(const AVFrame *frame);
    double frameRateOf(double averageFramesPerSecond) const;

    std::unique_ptr<Decoder> m_decoder;
    ShotDetector m_detector;
    int m_streamIndex = -1;
    double m_timeBase = 0;
    double m_startSeconds = 0;
    double m_averageFrameRate = 0;
    double m_firstSeconds = 0;
    double m_lastSeconds = 0;
    double m_shortestStep = 0; // between frames that follow each other
    double m_longestStep = 0;
};
