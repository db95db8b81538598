// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-mediabench: times what the video pane and the timeline make a
// reviewer wait for, on a 1080p H.264 clip with B-frames and stereo AAC at
// 48 kHz that it makes with the ffmpeg program: a paused seek to a random
// time until its frame is rendered, and the peaks of the whole sound, with
// the memory that decoding takes above what the process held before.

#include "bencharguments.h"
#include "qtbenchsupport.h"

#include "media/peakdecoder.h"
#include "media/videoplayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *usage =
    "usage: quillmend-mediabench [--seconds S] [--gop F] [--seeks N] [--runs R] [--file FILE] [--keep]\n"
    "  --seconds S  length of the generated clip (default 120)\n"
    "  --gop F      frames from one keyframe to the next in the clip (default 48, 2 s)\n"
    "  --seeks N    paused seeks to random times (default 200)\n"
    "  --runs R     timed decodes of the whole sound (default 3)\n"
    "  --file FILE  measure on FILE instead of a generated clip (it is only read)\n"
    "  --keep       keep the work folder with the clip\n"
    "The work folder is made under $TMPDIR when set, else under the build folder.\n";

constexpr int frameWidth = 960; // a video pane of about half a 1080p screen
constexpr int frameHeight = 540;
constexpr double filmSeconds = 2 * 3600;
constexpr double seekMedianTarget = 0.100;
constexpr double seekSlowTarget = 0.250;
constexpr double filmDecodeTarget = 30;
constexpr double decodeMemoryTarget = 200e6;

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const auto at = std::min(values.size() - 1, std::size_t(share * double(values.size() - 1) + 0.5));
    return values[at];
}

// Bytes from a "Name:   1234 kB" line of /proc/self/status.
double statusBytes(const char *name)
{
    return double(statusKilobytes(name)) * 1024;
}

const char *verdict(bool met)
{
    return met ? "PASS" : "FAIL";
}

int fail(const QString &error)
{
    std::fprintf(stderr, "quillmend-mediabench: %s\n", qPrintable(error));
    return 1;
}

// A moving test picture at film rate with 3 B-frames and a keyframe every
// gop frames, and two different tones as stereo AAC. A frame-exact seek
// decodes from the keyframe before its target, so the keyframe distance
// sets its cost: 2 s is what streaming services use, a Blu-ray has at
// most 1 s, and x264 alone puts one at every cut of a film but at most
// 250 frames (10 s) apart, which a test picture without cuts reaches.
QString makeClip(const QString &path, std::uint64_t seconds, std::uint64_t gop)
{
    const QString length = QString::number(seconds);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(u"ffmpeg"_s,
                 {u"-nostdin"_s, u"-y"_s, u"-loglevel"_s, u"error"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                  u"testsrc2=s=1920x1080:r=24000/1001:d="_s + length, u"-f"_s, u"lavfi"_s, u"-i"_s,
                  u"sine=f=440:sample_rate=48000:d="_s + length, u"-f"_s, u"lavfi"_s, u"-i"_s,
                  u"sine=f=660:sample_rate=48000:d="_s + length, u"-filter_complex"_s,
                  u"[1:a][2:a]join=inputs=2:channel_layout=stereo[a]"_s, u"-map"_s, u"0:v"_s, u"-map"_s,
                  u"[a]"_s, u"-c:v"_s, u"libx264"_s, u"-preset"_s, u"veryfast"_s, u"-bf"_s, u"3"_s,
                  u"-g"_s, QString::number(gop),
                  u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s, u"aac"_s, u"-b:a"_s, u"160k"_s, path});
    if (!ffmpeg.waitForStarted())
        return u"cannot start ffmpeg; install it (scripts/install-deps.sh)"_s;
    ffmpeg.waitForFinished(-1);
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return u"ffmpeg failed: "_s + QString::fromLocal8Bit(ffmpeg.readAll());
    return {};
}

// "every 2.0 s on average, at most 2.0 s apart", from ffprobe.
QString keyframeSummary(const QString &clip)
{
    QProcess ffprobe;
    ffprobe.start(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-select_streams"_s, u"v:0"_s, u"-skip_frame"_s, u"nokey"_s,
                                 u"-show_entries"_s, u"frame=pts_time"_s, u"-of"_s, u"csv=p=0"_s, clip});
    if (!ffprobe.waitForFinished(120'000) || ffprobe.exitCode() != 0)
        return u"unknown (no ffprobe)"_s;
    std::vector<double> times;
    for (const QByteArray &line : ffprobe.readAllStandardOutput().split('\n')) {
        bool ok = false;
        const double time = line.trimmed().toDouble(&ok);
        if (ok)
            times.push_back(time);
    }
    if (times.size() < 2)
        return u"one"_s;
    double widest = 0;
    for (std::size_t i = 1; i < times.size(); ++i)
        widest = std::max(widest, times[i] - times[i - 1]);
    return u"%1, every %2 s on average, at most %3 s apart"_s.arg(times.size())
        .arg((times.back() - times.front()) / double(times.size() - 1), 0, 'f', 1)
        .arg(widest, 0, 'f', 1);
}

// Runs the event loop until done() or timeoutMs; false on the timeout.
template <typename Done>
bool waitFor(Done done, int timeoutMs)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    while (!done() && timer.isActive())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    VideoPlayer::prepareProcess();

    std::uint64_t seconds = 120;
    std::uint64_t gop = 48;
    std::uint64_t seeks = 200;
    std::uint64_t runs = 3;
    std::string file;
    bool keep = false;
    bool wantsHelp = false;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeFlag("-h", wantsHelp)
            || arguments.takeNumber("--seconds", seconds) || arguments.takeNumber("--seeks", seeks)
            || arguments.takeNumber("--gop", gop)
            || arguments.takeNumber("--runs", runs) || arguments.takeText("--file", file)
            || arguments.takeFlag("--keep", keep))
            continue;
        std::string unexpected;
        arguments.takePositional(unexpected);
        if (!arguments.hasError()) {
            std::fprintf(stderr, "quillmend-mediabench: unexpected argument %s\n%s", unexpected.c_str(), usage);
            return 2;
        }
    }
    std::string usageError = arguments.error();
    if (usageError.empty() && (runs < 1 || seeks < 1 || gop < 1))
        usageError = "--runs, --seeks and --gop must be at least 1";
    if (usageError.empty() && (seconds < 10 || seconds > 7200))
        usageError = "--seconds must be between 10 and 7200";
    if (!usageError.empty()) {
        std::fprintf(stderr, "quillmend-mediabench: %s\n%s", usageError.c_str(), usage);
        return 2;
    }
    if (wantsHelp) {
        std::fputs(usage, stdout);
        return 0;
    }

    const auto work = makeWorkFolder(u"quillmend-mediabench"_s, keep);
    if (!work)
        return fail(u"cannot create a work folder"_s);
    QString clip = QString::fromLocal8Bit(file.c_str());
    if (file.empty()) {
        clip = work->filePath(u"clip.mp4"_s);
        std::printf("making a %llu s 1080p clip, a keyframe every %llu frames, in %s ...\n",
                    static_cast<unsigned long long>(seconds), static_cast<unsigned long long>(gop),
                    qPrintable(work->path()));
        std::fflush(stdout);
        const auto start = Clock::now();
        if (const QString error = makeClip(clip, seconds, gop); !error.isEmpty())
            return fail(error);
        std::printf("made in %.1f s\n", secondsSince(start));
    }

    // The same streams in Matroska, whose demuxer reads the whole file where
    // MP4's skips the picture.
    const QString matroska = work->filePath(u"clip.mkv"_s);
    {
        QProcess remux;
        remux.start(u"ffmpeg"_s, {u"-nostdin"_s, u"-y"_s, u"-loglevel"_s, u"error"_s, u"-i"_s, clip, u"-map"_s,
                                  u"0"_s, u"-c"_s, u"copy"_s, matroska});
        if (!remux.waitForFinished(600'000) || remux.exitCode() != 0)
            return fail(u"cannot copy the clip to Matroska: "_s + QString::fromLocal8Bit(remux.readAllStandardError()));
    }

    // The sound's peaks, as the window's worker thread decodes them.
    std::vector<double> decodeSeconds;
    std::vector<double> matroskaSeconds;
    double peakGrowth = 0;
    const double baseline = statusBytes("VmRSS");
    double soundSeconds = 0;
    QString codec;
    for (std::uint64_t run = 0; run < runs; ++run) {
        for (const QString &path : {clip, matroska}) {
            const bool canResetPeak = resetPeakResidentSize();
            const double before = statusBytes("VmRSS");
            const auto start = Clock::now();
            PeakDecoder decoder;
            MediaError error;
            std::optional<Peaks> peaks;
            if (decoder.open(path, error))
                peaks = decoder.decode(-1, error);
            if (!peaks)
                return fail(u"decoding the sound of %1 failed: kind %2 %3"_s.arg(path).arg(int(error.kind)).arg(error.reason));
            (path == clip ? decodeSeconds : matroskaSeconds).push_back(secondsSince(start));
            if (canResetPeak)
                peakGrowth = std::max(peakGrowth, statusBytes("VmHWM") - before);
            soundSeconds = double(peaks->durationMs) / 1000;
            codec = peaks->codec + u", "_s + QString::number(peaks->sampleRate) + u" Hz, "_s
                    + QString::number(peaks->channels) + u" channels"_s;
        }
    }

    // Paused seeks to random times, each until its frame is rendered.
    VideoPlayer player(VideoPlayer::AudioOutput::None);
    player.setFrameSize(QSize(frameWidth, frameHeight));
    bool loaded = false;
    QString failure;
    QObject::connect(&player, &VideoPlayer::loaded, [&] { loaded = true; });
    QObject::connect(&player, &VideoPlayer::failed, [&](const MediaError &error) { failure = error.reason; });
    player.open(clip);
    if (!waitFor([&] { return loaded || !failure.isEmpty(); }, 30'000) || !loaded)
        return fail(u"the player did not open the clip: "_s + failure);
    qint64 finishedAt = -1;
    QObject::connect(&player, &VideoPlayer::seekFinished, [&](qint64 ms) { finishedAt = ms; });
    QRandomGenerator random(1);
    std::vector<double> seekSeconds;
    for (std::uint64_t i = 0; i < seeks; ++i) {
        const qint64 target = qint64(random.bounded(quint32(player.durationMs())));
        finishedAt = -1;
        const auto start = Clock::now();
        player.seek(target);
        if (!waitFor([&] { return finishedAt >= 0; }, 10'000))
            return fail(u"a seek to %1 ms did not finish"_s.arg(target));
        seekSeconds.push_back(secondsSince(start));
        if (player.frame().isNull())
            return fail(u"a seek to %1 ms rendered no frame"_s.arg(target));
    }

    const double decodeMedian = percentile(decodeSeconds, 0.5);
    const double perMinute = decodeMedian / (soundSeconds / 60);
    const double filmProjection = perMinute * filmSeconds / 60;
    const double matroskaPerMinute = percentile(matroskaSeconds, 0.5) / (soundSeconds / 60);
    const double matroskaProjection = matroskaPerMinute * filmSeconds / 60;
    const double seekMedian = percentile(seekSeconds, 0.5);
    const double seekSlow = percentile(seekSeconds, 0.95);
    std::printf("\n");
    std::printf("%-24s%s, %.1f MB, %.1f s of video at %.3f frames/s, %d x %d\n", "clip",
                qPrintable(QFileInfo(clip).fileName()), double(QFileInfo(clip).size()) / 1e6,
                double(player.durationMs()) / 1000, player.frameRate(), player.videoSize().width(),
                player.videoSize().height());
    std::printf("%-24s%s, %.1f s\n", "sound", qPrintable(codec), soundSeconds);
    std::printf("%-24s%s\n", "keyframes", qPrintable(keyframeSummary(clip)));
    std::printf("%-24s%llu runs: median %.3f s, best %.3f s\n", "peaks of all the sound",
                static_cast<unsigned long long>(runs), decodeMedian,
                *std::min_element(decodeSeconds.begin(), decodeSeconds.end()));
    std::printf("%-24s%.3f s per minute of sound; %.1f s projected for a 2-hour film\n", "", perMinute,
                filmProjection);
    std::printf("%-24s%.3f s per minute of sound; %.1f s projected for a 2-hour film\n", "the same in Matroska",
                matroskaPerMinute, matroskaProjection);
    std::printf("%-24s%.1f MB above the %.1f MB held before (VmHWM)\n", "memory while decoding", peakGrowth / 1e6,
                baseline / 1e6);
    std::printf("%-24s%llu to random times, frames rendered at %d x %d\n", "paused seeks",
                static_cast<unsigned long long>(seeks), frameWidth, frameHeight);
    std::printf("%-24smedian %.1f ms, 95th percentile %.1f ms, slowest %.1f ms\n", "", seekMedian * 1e3,
                seekSlow * 1e3, *std::max_element(seekSeconds.begin(), seekSeconds.end()) * 1e3);
    std::printf("\n");
    std::printf("seek median under 100 ms            %s  (%.1f ms)\n", verdict(seekMedian < seekMedianTarget),
                seekMedian * 1e3);
    std::printf("seek 95th percentile under 250 ms   %s  (%.1f ms)\n", verdict(seekSlow < seekSlowTarget),
                seekSlow * 1e3);
    std::printf("2-hour film's peaks under 30 s      %s  (%.1f s)\n", verdict(filmProjection < filmDecodeTarget),
                filmProjection);
    std::printf("  the same in Matroska              %s  (%.1f s)\n", verdict(matroskaProjection < filmDecodeTarget),
                matroskaProjection);
    std::printf("decoding memory under 200 MB        %s  (%.1f MB)\n", verdict(peakGrowth < decodeMemoryTarget),
                peakGrowth / 1e6);
    if (keep)
        std::printf("\nwork folder kept: %s\n", qPrintable(work->path()));
    return 0;
}
