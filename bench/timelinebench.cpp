// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-timelinebench: times drawing one screen of the timeline, the
// waveform of a 2-hour film's sound and the boxes of its subtitles as read
// and as corrected, at the spans a reviewer uses, against 10 ms a screen.

#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/langdoc.h"
#include "media/peaks.h"
#include "settings/settings.h"
#include "ui/video/timeline/timelineview.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr qint64 FilmMs = 2LL * 3600 * 1000;
constexpr double TargetMs = 10.0;

// A film's subtitles: one every few seconds, some too long for a line,
// some overlapping the next, as corrections find them.
QByteArray filmSubtitles(int count)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> words(2, 16);
    QByteArray srt;
    const qint64 spacingMs = FilmMs / count;
    const auto time = [](qint64 ms) {
        return QStringLiteral("%1:%2:%3,%4")
            .arg(ms / 3'600'000, 2, 10, QLatin1Char('0'))
            .arg(ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
            .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
            .arg(ms % 1000, 3, 10, QLatin1Char('0'))
            .toUtf8();
    };
    for (int i = 0; i < count; ++i) {
        const qint64 startMs = i * spacingMs + 200;
        const qint64 endMs = startMs + spacingMs * 8 / 10 + (i % 13 == 0 ? spacingMs / 2 : 0);
        QByteArray text;
        for (int word = words(random); word > 0; --word)
            text += "word ";
        srt += QByteArray::number(i + 1) + "\r\n" + time(startMs) + " --> " + time(endMs) + "\r\n" + text.trimmed()
            + "\r\n\r\n";
    }
    return srt;
}

// Speech-like sound: bursts of varying loudness, silence between them.
std::shared_ptr<Peaks> filmPeaks()
{
    auto peaks = std::make_shared<Peaks>();
    peaks->durationMs = FilmMs;
    peaks->bins.resize(std::size_t(FilmMs / Peaks::binMs));
    std::mt19937 random(11);
    std::uniform_int_distribution<int> level(0, 32000);
    for (std::size_t i = 0; i < peaks->bins.size(); ++i) {
        const bool speaking = (i / 150) % 3 != 2;
        const auto amplitude = qint16(speaking ? level(random) : level(random) / 40);
        peaks->bins[i] = {qint16(-amplitude), amplitude};
    }
    return peaks;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    int count = 1'600; // a feature film
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArrayView(argv[i]) == "--count")
            count = std::max(1, std::atoi(argv[++i]));
    }

    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("film.srt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(filmSubtitles(count)) < 0) {
        std::fprintf(stderr, "quillmend-timelinebench: cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();
    LangDoc lang;
    SubtitleDocument document(lang);
    QString error;
    if (!document.load(path, error) || !document.correct(Settings{}).ok) {
        std::fprintf(stderr, "quillmend-timelinebench: %s\n", qPrintable(error));
        return 1;
    }

    TimelineView view(document);
    view.resize(1600, 300);
    view.setPeaks(filmPeaks());
    view.setDurationMs(FilmMs);
    view.setLaneNames(QStringLiteral("Original"), QStringLiteral("Edited"));
    QImage screen(view.size(), QImage::Format_ARGB32_Premultiplied);

    std::printf("film           2 h of sound, %d subtitles, %d corrected rows\n", count,
                document.correctedList().rowCount());
    std::printf("screen         %d x %d\n", view.width(), view.height());
    std::printf("%-16s %10s %10s %10s\n", "span", "median", "95th", "worst");
    bool passed = true;
    std::mt19937 random(3);
    for (const qint64 spanMs : {20'000LL, 120'000LL, 600'000LL}) {
        view.setSpanMs(spanMs);
        std::uniform_int_distribution<qint64> place(0, FilmMs - spanMs);
        std::vector<double> times;
        for (int screenNumber = 0; screenNumber < 200; ++screenNumber) {
            view.setViewStartMs(place(random));
            const auto start = std::chrono::steady_clock::now();
            view.render(&screen);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        passed = passed && median < TargetMs;
        std::printf("%-16s %7.2f ms %7.2f ms %7.2f ms\n", qPrintable(QStringLiteral("%1 s").arg(spanMs / 1000)), median,
                    times[times.size() * 95 / 100], times.back());
    }
    std::printf("\ndraw a screen  under %.0f ms   %s  (median at every span)\n", TargetMs, passed ? "PASS" : "FAIL");
    return 0;
}
