// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakdecoder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// FFmpeg's blocking reads ask this while they wait, so a cancel also ends
// an open or a read that hangs on a slow file system.
int interrupted(void *flag)
{
    return flag && static_cast<const std::atomic_bool *>(flag)->load(std::memory_order_relaxed) ? 1 : 0;
}

QByteArray fileUrl(const QString &path)
{
    // "file:" keeps a colon in the name from being read as a protocol.
#ifdef Q_OS_WIN
    return "file:" + QFileInfo(path).absoluteFilePath().toUtf8();
#else
    return "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath());
#endif
}

} // namespace

bool PeakDecoder::looksLikeKnownContainer(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(1 << 16);
    const int size = int(head.size());
    head.append(QByteArray(AVPROBE_PADDING_SIZE, '\0'));
    AVProbeData probe{};
    probe.buf = reinterpret_cast<unsigned char *>(head.data());
    probe.buf_size = size;
    probe.filename = "";
    int score = 0;
    return av_probe_input_format3(&probe, 1, &score) && score > AVPROBE_SCORE_RETRY;
}

namespace {

struct CodecContextFree
{
    void operator()(AVCodecContext *context) const { avcodec_free_context(&context); }
};
struct PacketFree
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct FrameFree
{
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct ResamplerFree
{
    void operator()(SwrContext *resampler) const { swr_free(&resampler); }
};

// Folds float samples, interleaved or one plane per channel, into bins of
// 10 ms by their place in the stream, never holding more than one bin.
class PeakAccumulator
{
public:
    PeakAccumulator(std::vector<Peaks::Bin> &bins, int sampleRate) : m_bins(bins), m_rate(sampleRate) {}

    void startAt(qint64 sample)
    {
        if (sample > m_sample) {
            m_sample = sample;
            m_bin = binOf(sample);
        }
    }

    // planes: one pointer (interleaved) or one per channel.
    void add(const float *const *planes, bool planar, int channels, qint64 count)
    {
        qint64 done = 0;
        while (done < count) {
            const qint64 take = std::min(count - done, firstSampleOf(m_bin + 1) - m_sample);
            float low = m_low;
            float high = m_high;
            const auto fold = [&](const float *from, qint64 values) {
                for (qint64 i = 0; i < values; ++i) {
                    low = std::min(low, from[i]);
                    high = std::max(high, from[i]);
                }
            };
            if (planar) {
                for (int channel = 0; channel < channels; ++channel)
                    fold(planes[channel] + done, take);
            } else {
                fold(planes[0] + done * channels, take * channels);
            }
            m_low = low;
            m_high = high;
            m_sample += take;
            done += take;
            if (m_sample == firstSampleOf(m_bin + 1))
                closeBin();
        }
    }

    // The sound's end: a partly filled last bin counts.
    void finish()
    {
        if (m_sample > firstSampleOf(m_bin))
            closeBin();
    }

    qint64 samples() const { return m_sample; }

private:
    // Bin b covers samples s with b * rate <= s * 100 < (b + 1) * rate.
    qint64 binOf(qint64 sample) const { return sample * 100 / m_rate; }
    qint64 firstSampleOf(qint64 bin) const { return (bin * m_rate + 99) / 100; }

    static qint16 toBin(float value)
    {
        return qint16(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
    }

    void closeBin()
    {
        // Bins skipped by a late start are silence.
        m_bins.resize(size_t(m_bin), Peaks::Bin{});
        m_bins.push_back({toBin(m_low), toBin(m_high)});
        ++m_bin;
        m_low = 0;
        m_high = 0;
    }

    std::vector<Peaks::Bin> &m_bins;
    const qint64 m_rate;
    qint64 m_sample = 0;
    qint64 m_bin = 0;
    float m_low = 0;
    float m_high = 0;
};

} // namespace

struct PeakDecoder::Input
{
    AVFormatContext *format = nullptr;
    ~Input() { avformat_close_input(&format); }
};

PeakDecoder::PeakDecoder(const std::atomic_bool *cancelled) : m_cancelled(cancelled)
{
    // What goes wrong is reported through MediaError; FFmpeg's own lines on
    // standard error would only repeat it.
    av_log_set_level(AV_LOG_FATAL);
}

PeakDecoder::~PeakDecoder() = default;

AVFormatContext *PeakDecoder::format() const
{
    return m_input ? m_input->format : nullptr;
}

void PeakDecoder::setPacketTap(int streamIndex, PacketTap tap)
{
    m_tapStream = streamIndex;
    m_tap = std::move(tap);
}

MediaError PeakDecoder::failure(MediaError::Kind kind, const QString &reason) const
{
    return {isCancelled() ? MediaError::Kind::Cancelled : kind, m_path, reason};
}

void PeakDecoder::close()
{
    m_input.reset();
    m_tracks.clear();
    m_hasVideo = false;
}

bool PeakDecoder::open(const QString &path, MediaError &error)
{
    close();
    m_path = path;
    error = MediaError::checkFile(path);
    if (error.isError())
        return false;
    if (isCancelled()) {
        error = failure(MediaError::Kind::Cancelled);
        return false;
    }

    auto input = std::make_unique<Input>();
    input->format = avformat_alloc_context();
    if (!input->format) {
        error = failure(MediaError::Kind::CannotRead, errorText(AVERROR(ENOMEM)));
        return false;
    }
    input->format->interrupt_callback.callback = interrupted;
    input->format->interrupt_callback.opaque = const_cast<std::atomic_bool *>(m_cancelled);
    // Local files only: a playlist inside a file must not reach the network.
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&input->format, fileUrl(path).constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        input->format = nullptr; // freed by the failed open
        if (opened == AVERROR_INVALIDDATA)
            error = looksLikeKnownContainer(path) ? failure(MediaError::Kind::Damaged, errorText(opened))
                                                  : failure(MediaError::Kind::NotMedia);
        else if (!QFileInfo::exists(path))
            error = failure(MediaError::Kind::Missing);
        else
            error = failure(MediaError::Kind::CannotRead, errorText(opened));
        return false;
    }
    // ANSI art: FFmpeg draws any ".txt" as a video, which no film is.
    if (qstrcmp(input->format->iformat->name, "tty") == 0) {
        error = failure(MediaError::Kind::NotMedia);
        return false;
    }
    if (const int found = avformat_find_stream_info(input->format, nullptr); found < 0) {
        error = failure(MediaError::Kind::Damaged, errorText(found));
        return false;
    }

    for (unsigned i = 0; i < input->format->nb_streams; ++i) {
        const AVStream *stream = input->format->streams[i];
        const AVCodecParameters *parameters = stream->codecpar;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            m_hasVideo = true;
        if (parameters->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        AudioTrack track;
        track.streamIndex = int(i);
        track.number = int(m_tracks.size()) + 1;
        track.codec = QString::fromUtf8(avcodec_get_name(parameters->codec_id));
        track.channels = parameters->ch_layout.nb_channels;
        if (parameters->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
            char layout[64] = {};
            if (av_channel_layout_describe(&parameters->ch_layout, layout, sizeof layout) > 0)
                track.channelLayout = QString::fromUtf8(layout);
        }
        track.sampleRate = parameters->sample_rate;
        if (const AVDictionaryEntry *language = av_dict_get(stream->metadata, "language", nullptr, 0))
            track.language = QString::fromUtf8(language->value);
        if (const AVDictionaryEntry *title = av_dict_get(stream->metadata, "title", nullptr, 0))
            track.title = QString::fromUtf8(title->value);
        track.isDefault = stream->disposition & AV_DISPOSITION_DEFAULT;
        m_tracks << track;
    }
    if (m_tracks.isEmpty() && !m_hasVideo) {
        error = failure(MediaError::Kind::NotMedia);
        return false;
    }
    m_input = std::move(input);
    error = {};
    return true;
}

std::optional<Peaks> PeakDecoder::decode(int streamIndex, MediaError &error, const Progress &progress)
{
    error = {};
    if (!m_input) {
        error = failure(MediaError::Kind::NotMedia);
        return std::nullopt;
    }
    if (m_tracks.isEmpty()) {
        error = failure(MediaError::Kind::NoSound);
        return std::nullopt;
    }
    const auto track = std::find_if(m_tracks.cbegin(), m_tracks.cend(), [&](const AudioTrack &candidate) {
        return streamIndex < 0 || candidate.streamIndex == streamIndex;
    });
    if (track == m_tracks.cend()) {
        error = failure(MediaError::Kind::NoSuchTrack, QString::number(streamIndex));
        return std::nullopt;
    }

    AVFormatContext *format = m_input->format;
    AVStream *stream = format->streams[track->streamIndex];
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecContextFree> context(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) {
        error = failure(MediaError::Kind::NoDecoder, track->codec);
        return std::nullopt;
    }
    context->pkt_timebase = stream->time_base;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) {
        error = failure(MediaError::Kind::NoDecoder, track->codec);
        return std::nullopt;
    }
    // The demuxer skips what is not asked for; MP4 does not even read it.
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard =
            int(i) == track->streamIndex || int(i) == m_tapStream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    Peaks peaks;
    peaks.streamIndex = track->streamIndex;
    peaks.codec = track->codec;
    peaks.channels = track->channels;
    peaks.sampleRate = context->sample_rate > 0 ? context->sample_rate : track->sampleRate;
    if (peaks.sampleRate <= 0) {
        error = failure(MediaError::Kind::Damaged, errorText(AVERROR_INVALIDDATA));
        return std::nullopt;
    }
    if (const auto source = MediaSource::of(m_path, streamIndex))
        peaks.source = *source;
    const double startSeconds = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    const double durationSeconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    if (durationSeconds > 0)
        peaks.bins.reserve(size_t(durationSeconds * 1000 / Peaks::binMs) + 16);

    PeakAccumulator accumulator(peaks.bins, peaks.sampleRate);
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    std::unique_ptr<SwrContext, ResamplerFree> resampler;
    AVChannelLayout resamplerLayout{};
    int resamplerFormat = -1;
    int resamplerRate = 0;
    std::vector<float> converted;
    bool started = false;
    qint64 framesDecoded = 0;
    int readError = 0;
    double reported = 0;

    const auto take = [&](AVFrame *decoded) {
        if (!started) {
            started = true;
            if (decoded->best_effort_timestamp != AV_NOPTS_VALUE) {
                const double at = double(decoded->best_effort_timestamp) * av_q2d(stream->time_base) - startSeconds;
                accumulator.startAt(std::llround(std::max(0.0, at) * peaks.sampleRate));
            }
        }
        ++framesDecoded;
        const int channels = decoded->ch_layout.nb_channels;
        if (channels <= 0 || decoded->nb_samples <= 0)
            return;
        const auto sampleFormat = AVSampleFormat(decoded->format);
        if (decoded->sample_rate == peaks.sampleRate
            && (sampleFormat == AV_SAMPLE_FMT_FLT || sampleFormat == AV_SAMPLE_FMT_FLTP)) {
            accumulator.add(reinterpret_cast<const float *const *>(decoded->extended_data),
                            sampleFormat == AV_SAMPLE_FMT_FLTP, channels, decoded->nb_samples);
            return;
        }
        // Anything else becomes interleaved float at the stream's first rate.
        if (!resampler || resamplerFormat != decoded->format || resamplerRate != decoded->sample_rate
            || av_channel_layout_compare(&resamplerLayout, &decoded->ch_layout) != 0) {
            SwrContext *made = nullptr;
            if (swr_alloc_set_opts2(&made, &decoded->ch_layout, AV_SAMPLE_FMT_FLT, peaks.sampleRate,
                                    &decoded->ch_layout, sampleFormat, decoded->sample_rate, 0, nullptr) < 0
                || swr_init(made) < 0) {
                swr_free(&made);
                resampler.reset();
                return;
            }
            resampler.reset(made);
            av_channel_layout_uninit(&resamplerLayout);
            av_channel_layout_copy(&resamplerLayout, &decoded->ch_layout);
            resamplerFormat = decoded->format;
            resamplerRate = decoded->sample_rate;
        }
        const int room = swr_get_out_samples(resampler.get(), decoded->nb_samples);
        if (room <= 0)
            return;
        converted.resize(size_t(room) * size_t(channels));
        auto *out = reinterpret_cast<uint8_t *>(converted.data());
        const int made = swr_convert(resampler.get(), &out, room,
                                     const_cast<const uint8_t **>(decoded->extended_data), decoded->nb_samples);
        if (made > 0) {
            const float *planes[] = {converted.data()};
            accumulator.add(planes, false, channels, made);
        }
    };
    const auto receiveAll = [&] {
        while (avcodec_receive_frame(context.get(), frame.get()) == 0) {
            take(frame.get());
            av_frame_unref(frame.get());
        }
    };

    while (!isCancelled()) {
        const int read = av_read_frame(format, packet.get());
        if (read < 0) {
            if (read != AVERROR_EOF)
                readError = read;
            break;
        }
        if (packet->stream_index == m_tapStream && m_tap)
            m_tap(packet.get());
        if (packet->stream_index == track->streamIndex) {
            // A damaged packet is skipped, as a player would.
            if (avcodec_send_packet(context.get(), packet.get()) == 0)
                receiveAll();
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
    av_channel_layout_uninit(&resamplerLayout);
    if (isCancelled()) {
        error = failure(MediaError::Kind::Cancelled);
        return std::nullopt;
    }
    avcodec_send_packet(context.get(), nullptr);
    receiveAll();
    accumulator.finish();
    if (framesDecoded == 0) {
        error = failure(MediaError::Kind::Damaged, errorText(readError ? readError : AVERROR_INVALIDDATA));
        return std::nullopt;
    }
    peaks.durationMs = accumulator.samples() * 1000 / peaks.sampleRate;
    if (progress)
        progress(1.0);
    return peaks;
}
