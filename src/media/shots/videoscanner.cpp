// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/videoscanner.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

// Pictures in other pixel formats are first scaled to grey at this size.
constexpr int greyWidth = 256;
constexpr int greyHeight = 144;

// The first plane holds 8-bit brightness, one byte a pixel.
bool hasGreyPlane(int format)
{
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(AVPixelFormat(format));
    return descriptor && !(descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL))
           && descriptor->nb_components >= 1 && descriptor->comp[0].plane == 0 && descriptor->comp[0].depth == 8
           && descriptor->comp[0].step == 1 && descriptor->comp[0].shift == 0;
}

// Frame rates that films use are ratios a tag rounds: 23.976 is 24000/1001.
double exactRate(double rate)
{
    for (const double base : {1.0, 1000.0 / 1001.0}) {
        const double whole = std::round(rate / base);
        if (whole >= 1 && std::abs(rate - whole * base) < whole * base * 2e-5)
            return whole * base;
    }
    return rate;
}

} // namespace

struct VideoScanner::Decoder
{
    AVCodecContext *context = nullptr;
    AVFrame *frame = nullptr;
    SwsContext *scaler = nullptr;
    std::vector<std::uint8_t> grey;
    ~Decoder()
    {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        avcodec_free_context(&context);
    }
};

VideoScanner::VideoScanner() = default;
VideoScanner::~VideoScanner() = default;

int VideoScanner::firstVideoStream(const AVFormatContext *format)
{
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream *stream = format->streams[i];
        // Cover art is a picture but no film.
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return int(i);
    }
    return -1;
}

bool VideoScanner::start(AVFormatContext *format, int streamIndex, MediaError &error)
{
    const AVStream *stream = format->streams[streamIndex];
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    auto decoder = std::make_unique<Decoder>();
    decoder->context = codec ? avcodec_alloc_context3(codec) : nullptr;
    decoder->frame = av_frame_alloc();
    const QString codecName = QString::fromUtf8(avcodec_get_name(stream->codecpar->codec_id));
    if (!decoder->context || !decoder->frame
        || avcodec_parameters_to_context(decoder->context, stream->codecpar) < 0) {
        error = {MediaError::Kind::NoDecoder, {}, codecName};
        return false;
    }
    AVCodecContext *context = decoder->context;
    context->pkt_timebase = stream->time_base;
    // As many threads as cores, as a player decodes; the deblocking filter
    // only smooths block edges, which the thumbnails average away.
    context->thread_count = 0;
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    context->skip_loop_filter = AVDISCARD_ALL;
    if (avcodec_open2(context, codec, nullptr) < 0) {
        error = {MediaError::Kind::NoDecoder, {}, codecName};
        return false;
    }
    m_decoder = std::move(decoder);
    m_streamIndex = streamIndex;
    m_timeBase = av_q2d(stream->time_base);
    m_startSeconds = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    const double average = stream->avg_frame_rate.den > 0 ? av_q2d(stream->avg_frame_rate) : 0.0;
    m_averageFrameRate = average > 0 && average < 1000 ? average : 0.0;
    error = {};
    return true;
}

void VideoScanner::takePacket(const AVPacket *packet)
{
    if (!m_decoder)
        return;
    if (avcodec_send_packet(m_decoder->context, packet) == 0)
        receiveFrames();
}

void VideoScanner::receiveFrames()
{
    while (avcodec_receive_frame(m_decoder->context, m_decoder->frame) == 0) {
        takeFrame(m_decoder->frame);
        av_frame_unref(m_decoder->frame);
    }
}

void VideoScanner::takeFrame(const AVFrame *frame)
{
    if (frame->width <= 0 || frame->height <= 0)
        return;
    const qint64 index = m_detector.frames();
    double seconds = 0;
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
        seconds = double(frame->best_effort_timestamp) * m_timeBase - m_startSeconds;
    else if (index > 0)
        seconds = m_lastSeconds + (m_averageFrameRate > 0 ? 1 / m_averageFrameRate : 0.0);
    if (index == 0) {
        m_firstSeconds = seconds;
    } else {
        const double step = seconds - m_lastSeconds;
        m_shortestStep = index == 1 ? step : std::min(m_shortestStep, step);
        m_longestStep = index == 1 ? step : std::max(m_longestStep, step);
    }
    m_lastSeconds = seconds;

    if (hasGreyPlane(frame->format)) {
        const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
        const FrameThumbnail::Plane grey{frame->data[0], frame->linesize[0], frame->width, frame->height};
        FrameThumbnail::Plane blue;
        FrameThumbnail::Plane red;
        // Planar 8-bit colour beside it: 4:2:0, 4:2:2, 4:4:4.
        if (descriptor->nb_components >= 3 && descriptor->comp[1].plane == 1 && descriptor->comp[2].plane == 2
            && descriptor->comp[1].depth == 8 && descriptor->comp[1].step == 1) {
            const int width = AV_CEIL_RSHIFT(frame->width, descriptor->log2_chroma_w);
            const int height = AV_CEIL_RSHIFT(frame->height, descriptor->log2_chroma_h);
            blue = {frame->data[1], frame->linesize[1], width, height};
            red = {frame->data[2], frame->linesize[2], width, height};
        }
        m_detector.addFrame(FrameThumbnail::fromPlanes(grey, blue, red), seconds);
        return;
    }
    Decoder &decoder = *m_decoder;
    decoder.scaler = sws_getCachedContext(decoder.scaler, frame->width, frame->height, AVPixelFormat(frame->format),
                                          greyWidth, greyHeight, AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr, nullptr);
    decoder.grey.resize(std::size_t(greyWidth * greyHeight));
    std::uint8_t *planes[] = {decoder.grey.data()};
    const int strides[] = {greyWidth};
    // A picture that cannot be converted counts as black, keeping the times.
    if (!decoder.scaler || sws_scale(decoder.scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
        std::fill(decoder.grey.begin(), decoder.grey.end(), std::uint8_t(0));
    m_detector.addFrame(FrameThumbnail::fromPlanes({decoder.grey.data(), greyWidth, greyWidth, greyHeight}, {}, {}), seconds);
}

double VideoScanner::frameRateOf(double averageFramesPerSecond) const
{
    // One picture (a still image) has no rate.
    if (m_detector.frames() < 2 || m_lastSeconds <= m_firstSeconds)
        return 0;
    const double measured = double(m_detector.frames() - 1) / (m_lastSeconds - m_firstSeconds);
    const bool told = averageFramesPerSecond > 0 && std::abs(averageFramesPerSecond - measured) < measured * 0.01;
    // Times in whole milliseconds put 23.976 frames 41 and 42 ms apart.
    if (m_longestStep - m_shortestStep <= 0.002)
        return exactRate(told ? averageFramesPerSecond : measured);
    // Frames unevenly apart lie on no grid, unless the file's average is
    // theirs (a few frames dropped or doubled).
    return told ? exactRate(averageFramesPerSecond) : 0.0;
}

ShotChanges VideoScanner::finish()
{
    ShotChanges changes;
    if (!m_decoder)
        return changes;
    avcodec_send_packet(m_decoder->context, nullptr);
    receiveFrames();
    m_detector.finish();
    changes.cutSeconds = m_detector.cutSeconds();
    // Timestamps of a damaged file may run backwards.
    std::sort(changes.cutSeconds.begin(), changes.cutSeconds.end());
    changes.cutSeconds.erase(std::unique(changes.cutSeconds.begin(), changes.cutSeconds.end()),
                             changes.cutSeconds.end());
    changes.frameRate = frameRateOf(m_averageFrameRate);
    changes.firstFrameSeconds = m_detector.frames() > 0 ? m_firstSeconds : 0.0;
    m_decoder.reset();
    return changes;
}
