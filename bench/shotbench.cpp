// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-shotbench: judges the shot-change detection on films whose cuts
// are known, made with the ffmpeg program (shotclipmaker.h): how many cuts
// it finds and places within a frame, at 25, 23.976 and 29.97 frames a
// second, and how long it takes on a 1080p film against ffmpeg decoding
// the same film alone, in the same run, alone and with the sound's peaks in
// the same pass as the window reads them.

#include "bencharguments.h"
#include "qtbenchsupport.h"
#include "shotclipmaker.h"

#include "media/peakdecoder.h"
#include "media/shots/shotchangefinder.h"
#include "media/shots/shotchangepass.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *usage =
    "usage: quillmend-shotbench [--shots N] [--seconds S] [--runs R] [--seed X] [--keep]\n"
    "       quillmend-shotbench --detect FILE\n"
    "  --shots N     shots in each of the three films judged for accuracy (default 50)\n"
    "  --seconds S   length of the 1080p film that is timed (default 60)\n"
    "  --runs R      timed runs of the detection and of ffmpeg, in turn (default 3)\n"
    "  --seed X      the films' random choices (default 1)\n"
    "  --keep        keep the work folder with the films\n"
    "  --detect FILE only find the cuts of FILE and print how many (for farm-bench)\n"
    "The work folder is made under $TMPDIR when set, else under the build folder.\n";

constexpr double lowestRecall = 0.97;
constexpr double lowestPrecision = 0.97;
constexpr double mostAgainstDecoding = 1.2;
constexpr double leastRealTime = 6;

const char *verdict(bool met)
{
    return met ? "PASS" : "FAIL";
}

int fail(const QString &error)
{
    std::fprintf(stderr, "quillmend-shotbench: %s\n", qPrintable(error));
    return 1;
}

std::optional<DetectedShots> detect(const QString &path, QString &problem)
{
    MediaError error;
    std::optional<DetectedShots> shots = ShotChangeFinder().find(path, error);
    if (!shots)
        problem = u"finding the cuts of %1 failed: kind %2 %3"_s.arg(path).arg(int(error.kind)).arg(error.reason);
    return shots;
}

struct Score
{
    int truth = 0;
    int found = 0;
    int matched = 0; // within one frame
    int exact = 0;   // on the frame
};

// Each true cut is matched with the nearest found one within one frame.
Score judge(const ShotClip &clip, const std::vector<double> &cutSeconds, QStringList &misses)
{
    Score score;
    score.truth = int(clip.cutFrames.size());
    score.found = int(cutSeconds.size());
    std::vector<bool> used(cutSeconds.size(), false);
    const double frame = 1 / clip.frameRate;
    for (const std::int64_t cutFrame : clip.cutFrames) {
        const double truth = double(cutFrame) * frame;
        std::ptrdiff_t best = -1;
        for (std::size_t i = 0; i < cutSeconds.size(); ++i) {
            if (!used[i] && std::abs(cutSeconds[i] - truth) <= frame * 1.001
                && (best < 0 || std::abs(cutSeconds[i] - truth) < std::abs(cutSeconds[std::size_t(best)] - truth)))
                best = std::ptrdiff_t(i);
        }
        if (best < 0) {
            misses << u"missed %1 (frame %2)"_s.arg(truth, 0, 'f', 3).arg(cutFrame);
            continue;
        }
        used[std::size_t(best)] = true;
        ++score.matched;
        if (std::abs(cutSeconds[std::size_t(best)] - truth) < frame / 2)
            ++score.exact;
    }
    for (std::size_t i = 0; i < cutSeconds.size(); ++i) {
        if (!used[i])
            misses << u"false %1 (frame %2)"_s.arg(cutSeconds[i], 0, 'f', 3).arg(std::llround(cutSeconds[i] * clip.frameRate));
    }
    return score;
}

// The window's one pass: the sound's peaks and the shot changes together.
bool peaksAndCuts(const QString &path, QString &problem)
{
    PeakDecoder decoder;
    MediaError error;
    if (decoder.open(path, error)) {
        ShotChangePass pass(decoder);
        if (decoder.decode(-1, error) && pass.finish(path))
            return true;
    }
    problem = u"peaks and cuts of %1 failed: kind %2 %3"_s.arg(path).arg(int(error.kind)).arg(error.reason);
    return false;
}

// Seconds ffmpeg takes to decode path alone, as `ffmpeg -i path -f null -`.
double ffmpegDecodeSeconds(const QString &path, QString &problem)
{
    QProcess ffmpeg;
    const auto start = Clock::now();
    ffmpeg.start(u"ffmpeg"_s, {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-i"_s, path, u"-f"_s, u"null"_s, u"-"_s});
    if (!ffmpeg.waitForStarted() || !ffmpeg.waitForFinished(-1) || ffmpeg.exitCode() != 0)
        problem = u"ffmpeg could not decode "_s + path;
    return secondsSince(start);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);

    std::uint64_t shots = 50;
    std::uint64_t seconds = 60;
    std::uint64_t runs = 3;
    std::uint64_t seed = 1;
    std::string only;
    bool keep = false;
    bool wantsHelp = false;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeFlag("-h", wantsHelp)
            || arguments.takeNumber("--shots", shots) || arguments.takeNumber("--seconds", seconds)
            || arguments.takeNumber("--runs", runs) || arguments.takeNumber("--seed", seed)
            || arguments.takeText("--detect", only) || arguments.takeFlag("--keep", keep))
            continue;
        std::string unexpected;
        arguments.takePositional(unexpected);
        if (!arguments.hasError()) {
            std::fprintf(stderr, "quillmend-shotbench: unexpected argument %s\n%s", unexpected.c_str(), usage);
            return 2;
        }
    }
    std::string usageError = arguments.error();
    if (usageError.empty() && (runs < 1 || shots < 2 || shots > 1000 || seconds < 5 || seconds > 3600))
        usageError = "--runs must be at least 1, --shots 2 to 1000, --seconds 5 to 3600";
    if (!usageError.empty()) {
        std::fprintf(stderr, "quillmend-shotbench: %s\n%s", usageError.c_str(), usage);
        return 2;
    }
    if (wantsHelp) {
        std::fputs(usage, stdout);
        return 0;
    }
    QString problem;
    if (!only.empty()) {
        const auto found = detect(QString::fromLocal8Bit(only.c_str()), problem);
        if (!found)
            return fail(problem);
        std::printf("%zu cuts, %lld frames at %.3f frames/s\n", found->shotChanges.cutSeconds.size(),
                    static_cast<long long>(found->frames), found->shotChanges.frameRate);
        return 0;
    }

    const auto work = makeWorkFolder(u"quillmend-shotbench"_s, keep);
    if (!work)
        return fail(u"cannot create a work folder"_s);
    std::printf("work folder %s\n\n", qPrintable(work->path()));

    // Accuracy at the three frame rates of film and television.
    Score total;
    for (const QString &rate : {u"25"_s, u"24000/1001"_s, u"30000/1001"_s}) {
        ShotClipPlan plan;
        plan.rate = rate;
        plan.shots = int(shots);
        plan.seed = std::uint32_t(seed);
        ShotClip clip;
        const QString path = work->filePath(u"shots-%1.mp4"_s.arg(QString(rate).replace(u'/', u'_')));
        const auto start = Clock::now();
        if (const QString error = makeShotClip(plan, path, clip); !error.isEmpty())
            return fail(error);
        const double made = secondsSince(start);
        if (keep) {
            // The true cuts beside the film, for a look at what was missed.
            QFile truth(path + u".cuts"_s);
            if (truth.open(QIODevice::WriteOnly))
                for (const std::int64_t frame : clip.cutFrames)
                    truth.write(QByteArray::number(qint64(frame)) + '\n');
        }
        const auto found = detect(path, problem);
        if (!found)
            return fail(problem);
        QStringList misses;
        const Score score = judge(clip, found->shotChanges.cutSeconds, misses);
        std::printf("%-10s %lld frames (made in %.0f s): %d cuts, %d fades, %d flashes, %d pans; found %d, "
                    "%d within a frame (%d on it); frame rate read %.4f\n",
                    qPrintable(rate), static_cast<long long>(clip.frames), made, score.truth, clip.fades, clip.flashes,
                    clip.pans, score.found, score.matched, score.exact, found->shotChanges.frameRate);
        for (const QString &miss : std::as_const(misses))
            std::printf("           %s\n", qPrintable(miss));
        total.truth += score.truth;
        total.found += score.found;
        total.matched += score.matched;
        total.exact += score.exact;
    }
    const double recall = total.truth ? double(total.matched) / total.truth : 1.0;
    const double precision = total.found ? double(total.matched) / total.found : 1.0;

    // Speed on a 1080p film with sound, against ffmpeg decoding it alone.
    ShotClipPlan plan;
    plan.shots = std::max(2, int(seconds / 2.5));
    plan.width = 1920;
    plan.height = 1080;
    plan.withSound = true;
    plan.seed = std::uint32_t(seed) + 1;
    ShotClip clip;
    const QString film = work->filePath(u"film-1080p.mp4"_s);
    std::printf("\nmaking a 1080p film of %d shots ...\n", plan.shots);
    std::fflush(stdout);
    if (const QString error = makeShotClip(plan, film, clip); !error.isEmpty())
        return fail(error);
    const double filmSeconds = double(clip.frames) / clip.frameRate;
    std::vector<double> detectSeconds;
    std::vector<double> decodeSeconds;
    std::vector<double> ratios;
    std::vector<double> bothSeconds;
    std::vector<double> bothRatios;
    for (std::uint64_t run = 0; run < runs; ++run) {
        auto start = Clock::now();
        if (!detect(film, problem))
            return fail(problem);
        detectSeconds.push_back(secondsSince(start));
        start = Clock::now();
        if (!peaksAndCuts(film, problem))
            return fail(problem);
        bothSeconds.push_back(secondsSince(start));
        decodeSeconds.push_back(ffmpegDecodeSeconds(film, problem));
        if (!problem.isEmpty())
            return fail(problem);
        ratios.push_back(detectSeconds.back() / decodeSeconds.back());
        bothRatios.push_back(bothSeconds.back() / decodeSeconds.back());
    }
    const double ratio = median(ratios);
    const double realTime = filmSeconds / median(detectSeconds);

    std::printf("%-24s%.1f s, %lld frames at 25 frames/s, 1920 x 1080, H.264 and AAC\n", "1080p film", filmSeconds,
                static_cast<long long>(clip.frames));
    std::printf("%-24smedian %.2f s, best %.2f s (%.1fx real time)\n", "finding the cuts", median(detectSeconds),
                *std::min_element(detectSeconds.begin(), detectSeconds.end()), realTime);
    std::printf("%-24smedian %.2f s, best %.2f s (%.2fx ffmpeg)\n", "with peaks, one pass", median(bothSeconds),
                *std::min_element(bothSeconds.begin(), bothSeconds.end()), median(bothRatios));
    std::printf("%-24smedian %.2f s, best %.2f s\n", "ffmpeg -f null", median(decodeSeconds),
                *std::min_element(decodeSeconds.begin(), decodeSeconds.end()));
    std::printf("\n");
    std::printf("recall at least 97 %%                 %s  (%.1f %%: %d of %d cuts within a frame, %d on it)\n",
                verdict(recall >= lowestRecall), recall * 100, total.matched, total.truth, total.exact);
    std::printf("precision at least 97 %%              %s  (%.1f %%: %d of %d found)\n",
                verdict(precision >= lowestPrecision), precision * 100, total.matched, total.found);
    std::printf("within 1.2x of decoding alone        %s  (%.2fx, median of %llu pairs)\n",
                verdict(ratio <= mostAgainstDecoding), ratio, static_cast<unsigned long long>(runs));
    std::printf("at least 6x real time                %s  (%.1fx)\n", verdict(realTime >= leastRealTime), realTime);
    return 0;
}
