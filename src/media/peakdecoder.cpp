// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakdecoder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
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

namespace {

// Formats that name other files or addresses (playlists, manifests, image
// sequences, session descriptions) and text drawn as pictures: a local file
// must never make the program open what it names, nor reach the network.
bool isRefusedFormat(const char *names)
{
    static const char *const refused[] = {"hls", "applehttp", "dash", "concat", "imf", "webm_dash_manifest",
                                          "sdp", "rtp", "rtsp", "sap", "image2", "vobsub", "lavfi",
                                          "tty", "bin", "xbin", "adf", "idf"};
    const QByteArrayList parts = QByteArray(names).split(',');
    return std::any_of(parts.cbegin(), parts.cend(), [](const QByteArray &part) {
        return std::any_of(std::cbegin(refused), std::cend(refused),
                           [&](const char *name) { return part == name; });
    });
}

// Every demuxer but the refused ones, for FFmpeg's format_whitelist.
const QByteArray &allowedFormats()
{
    static const QByteArray allowed = [] {
        QByteArrayList names;
        void *at = nullptr;
        while (const AVInputFormat *format = av_demuxer_iterate(&at)) {
            if (!isRefusedFormat(format->name))
                names << format->name;
        }
        return names.join(',');
    }();
    return allowed;
}

} // namespace

void PeakDecoder::prepareProcess()
{
    av_log_set_level(AV_LOG_QUIET);
}

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
    const AVInputFormat *format = av_probe_input_format3(&probe, 1, &score);
    return format && score > AVPROBE_SCORE_RETRY && !isRefusedFormat(format->name);
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
// 10 ms by their place in the stream, never holding more than one bin, and
// never making more than maxBins: what comes after is dropped.
class PeakAccumulator
{
public:
    PeakAccumulator(std::vector<Peaks::Bin> &bins, int sampleRate, qint64 maxBins)
        : m_bins(bins), m_rate(sampleRate), m_maxBins(maxBins)
    {
    }

    // seconds from the file's start; a late start leaves silence before it.
    void startAt(double seconds)
    {
        const double limit = double(m_maxBins) * Peaks::binMs / 1000;
        const qint64 sample = std::llround(std::clamp(seconds, 0.0, limit) * double(m_rate));
        if (sample > m_sample) {
            m_sample = sample;
            m_bin = binOf(sample);
        }
    }

    // planes: one pointer (interleaved) or one per channel.
    void add(const float *const *planes, bool planar, int channels, qint64 count)
    {
        qint64 done = 0;
        while (done < count && !isFull()) {
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
            m_hasSamples = true;
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
    bool isFull() const { return m_bin >= m_maxBins; }
    // Whether any sample landed in a bin.
    bool hasSamples() const { return m_hasSamples; }

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
    const qint64 m_maxBins;
    bool m_hasSamples = false;
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

PeakDecoder::PeakDecoder(const std::atomic_bool *cancelled) : m_cancelled(cancelled) {}

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
    m_videoStream = -1;
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
    // Local files in media formats only: a playlist or a manifest inside a
    // file must neither reach the network nor open what it names.
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", allowedFormats().constData(), 0);
    const int opened = avformat_open_input(&input->format, fileUrl(path).constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        input->format = nullptr; // freed by the failed open
        if (!QFileInfo::exists(path))
            error = failure(MediaError::Kind::Missing);
        else if (opened == AVERROR(EACCES) || opened == AVERROR(EPERM))
            error = failure(MediaError::Kind::CannotRead, errorText(opened));
        else if (looksLikeKnownContainer(path))
            error = failure(MediaError::Kind::Damaged, errorText(opened == AVERROR(EIO) || opened == AVERROR_EOF
                                                                     ? AVERROR_INVALIDDATA : opened));
        else
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
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
            && m_videoStream < 0)
            m_videoStream = int(i);
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
    if (m_tracks.isEmpty() && m_videoStream < 0) {
        error = failure(MediaError::Kind::NotMedia);
        return false;
    }
    // A sound file the player cannot play is refused as it would be.
    const auto tooSlow = [](const AudioTrack &track) {
        return track.sampleRate > 0 && track.sampleRate < minimumSampleRate;
    };
    if (m_videoStream < 0 && std::all_of(m_tracks.cbegin(), m_tracks.cend(), tooSlow)) {
        error = failure(MediaError::Kind::SampleRateTooLow, QString::number(m_tracks.first().sampleRate));
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
    // Only a format known by name but not built in lacks a decoder; a header
    // too damaged to name its format, or to open its decoder, is damaged.
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec && stream->codecpar->codec_id != AV_CODEC_ID_NONE) {
        error = failure(MediaError::Kind::NoDecoder, track->codec);
        return std::nullopt;
    }
    std::unique_ptr<AVCodecContext, CodecContextFree> context(codec ? avcodec_alloc_context3(codec) : nullptr);
    int opened = AVERROR_INVALIDDATA;
    if (context && avcodec_parameters_to_context(context.get(), stream->codecpar) >= 0) {
        context->pkt_timebase = stream->time_base;
        opened = avcodec_open2(context.get(), codec, nullptr);
    }
    if (opened < 0) {
        error = failure(MediaError::Kind::Damaged, errorText(opened));
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
    if (peaks.sampleRate <= 0 || peaks.sampleRate > maximumSampleRate) {
        error = failure(MediaError::Kind::Damaged, errorText(AVERROR_INVALIDDATA));
        return std::nullopt;
    }
    if (peaks.sampleRate < minimumSampleRate) {
        error = failure(MediaError::Kind::SampleRateTooLow, QString::number(peaks.sampleRate));
        return std::nullopt;
    }
    const std::optional<MediaSource> source = MediaSource::of(m_path, streamIndex);
    if (source)
        peaks.source = *source;
    const double startSeconds = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    const double durationSeconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    // What a claimed length or a late first timestamp may ask for is bound
    // by what the file can hold: a day, and at most 16 bins a byte (silence
    // coded in a byte or two a frame comes to less), beyond a minute.
    const qint64 maxBins = std::min<qint64>(qint64(24) * 3600 * 1000 / Peaks::binMs,
                                            (source ? source->size : 0) * 16 + 60 * 1000 / Peaks::binMs);
    if (durationSeconds > 0)
        peaks.bins.reserve(size_t(std::min(durationSeconds * 1000 / Peaks::binMs, double(maxBins))) + 16);

    PeakAccumulator accumulator(peaks.bins, peaks.sampleRate, maxBins);
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
            if (decoded->best_effort_timestamp != AV_NOPTS_VALUE)
                accumulator.startAt(double(decoded->best_effort_timestamp) * av_q2d(stream->time_base) - startSeconds);
        }
        ++framesDecoded;
        const int channels = decoded->ch_layout.nb_channels;
        if (channels <= 0 || decoded->nb_samples <= 0 || decoded->sample_rate < minimumSampleRate
            || decoded->sample_rate > maximumSampleRate)
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
        // In pieces: a steep change of rate must not ask for one huge buffer.
        constexpr int piece = 8192;
        converted.resize(size_t(piece) * size_t(channels));
        auto *out = reinterpret_cast<uint8_t *>(converted.data());
        const auto **in = const_cast<const uint8_t **>(decoded->extended_data);
        int inSamples = decoded->nb_samples;
        for (int made = piece; made == piece && !accumulator.isFull(); inSamples = 0) {
            made = swr_convert(resampler.get(), &out, piece, in, inSamples);
            if (made > 0) {
                const float *planes[] = {converted.data()};
                accumulator.add(planes, false, channels, made);
            }
        }
    };
    const auto receiveAll = [&] {
        while (avcodec_receive_frame(context.get(), frame.get()) == 0) {
            take(frame.get());
            av_frame_unref(frame.get());
        }
    };

    while (!isCancelled() && !accumulator.isFull()) {
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
    // Frames decoded but none within reach (a first timestamp far past any
    // length the file can have) are as good as none.
    if (framesDecoded == 0 || !accumulator.hasSamples()) {
        error = failure(MediaError::Kind::Damaged, errorText(readError ? readError : AVERROR_INVALIDDATA));
        return std::nullopt;
    }
    peaks.durationMs = accumulator.samples() * 1000 / peaks.sampleRate;
    if (progress)
        progress(1.0);
    return peaks;
}

std::optional<PeakDecoder::FrameSpan> PeakDecoder::videoFrameSpan()
{
    if (!m_input || m_videoStream < 0)
        return std::nullopt;
    AVFormatContext *format = m_input->format;
    const AVStream *stream = format->streams[m_videoStream];
    const double timeBase = av_q2d(stream->time_base);
    const double startSeconds = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    FrameSpan span;
    if (stream->start_time != AV_NOPTS_VALUE)
        span.firstSeconds = std::max(0.0, double(stream->start_time) * timeBase - startSeconds);
    // The last frame starts in the last keyframe interval: read the video's
    // packets from a little before the end, a bounded number of them.
    constexpr double tailSeconds = 12;
    constexpr int mostPackets = 20'000;
    const double durationSeconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    const double fromSeconds = startSeconds + std::max(0.0, durationSeconds - tailSeconds);
    if (durationSeconds <= 0 || std::abs(fromSeconds) > 1e9)
        return span;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == m_videoStream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    if (av_seek_frame(format, -1, std::llround(fromSeconds * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD) < 0)
        return span;
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    qint64 last = AV_NOPTS_VALUE;
    qint64 secondLast = AV_NOPTS_VALUE;
    qint64 lastKey = AV_NOPTS_VALUE;
    for (int read = 0; packet && read < mostPackets && !isCancelled(); ++read) {
        if (av_read_frame(format, packet.get()) < 0)
            break;
        const qint64 at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index == m_videoStream && at != AV_NOPTS_VALUE && at != last) {
            if (last == AV_NOPTS_VALUE || at > last)
                secondLast = std::exchange(last, at);
            else if (secondLast == AV_NOPTS_VALUE || at > secondLast)
                secondLast = at;
            if ((packet->flags & AV_PKT_FLAG_KEY) && (lastKey == AV_NOPTS_VALUE || at > lastKey))
                lastKey = at;
        }
        av_packet_unref(packet.get());
    }
    const auto seconds = [&](qint64 at) { return std::max(span.firstSeconds, double(at) * timeBase - startSeconds); };
    if (last != AV_NOPTS_VALUE)
        span.lastSeconds = seconds(last);
    if (secondLast != AV_NOPTS_VALUE)
        span.secondLastSeconds = seconds(secondLast);
    if (lastKey != AV_NOPTS_VALUE)
        span.lastKeySeconds = seconds(lastKey);
    return span;
}
