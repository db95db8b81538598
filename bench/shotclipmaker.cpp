// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shotclipmaker.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr int sceneWidth = 640;
constexpr int sceneHeight = 360;
constexpr int fadeFrames = 10;

double rateValue(const QString &rate)
{
    const QStringList parts = rate.split(u'/');
    return parts.size() == 2 ? parts[0].toDouble() / parts[1].toDouble() : rate.toDouble();
}

// One scene's source, moving and textured, drawn at the scene size.
QString sceneSource(QRandomGenerator &random, const QString &rate, bool pan)
{
    // Wide pictures for pans: slow ones are ordinary shots, fast ones whip pans.
    const bool wide = pan || random.bounded(5) == 0;
    const QString size = u"s=%1x%2:r=%3"_s.arg(wide ? 3 * sceneWidth : sceneWidth).arg(sceneHeight).arg(rate);
    // Patterns of cells drawn at a quarter and enlarged, so that they have
    // shapes a thumbnail sees rather than noise.
    const QString cells = u"s=%1x%2:r=%3"_s.arg((wide ? 3 * sceneWidth : sceneWidth) / 4).arg(sceneHeight / 4).arg(rate);
    const QString enlarged = u",scale=iw*4:ih*4:flags=neighbor"_s;
    const int seed = int(random.bounded(1000000));
    QString source;
    switch (random.bounded(wide ? 2 : 5)) {
    case 0:
        source = u"cellauto=%1:seed=%2:rule=%3"_s.arg(cells).arg(seed).arg(QList<int>{30, 90, 110, 150}[random.bounded(4)])
                 + enlarged;
        break;
    case 1:
        source = u"sierpinski=%1:seed=%2:type=%3:jump=%4"_s.arg(cells).arg(seed)
                     .arg(random.bounded(2) ? u"carpet"_s : u"triangle"_s).arg(1 + random.bounded(10))
                 + enlarged;
        break;
    case 2:
        source = u"testsrc2=%1"_s.arg(size);
        break;
    case 3:
        source = u"mandelbrot=%1:start_x=%2:start_y=%3:start_scale=%4:end_scale=%5"_s.arg(size)
                     .arg(-0.75 + random.generateDouble() * 0.5 - 0.25).arg(random.generateDouble() * 0.4 - 0.2)
                     .arg(0.5 + random.generateDouble() * 2).arg(0.05 + random.generateDouble() * 0.2);
        break;
    default:
        source = u"gradients=%1:seed=%2:n=%3:speed=0.0%4"_s.arg(size).arg(seed).arg(3 + random.bounded(5))
                     .arg(2 + random.bounded(6));
        break;
    }
    // A light and colour of its own, so that two scenes of one kind differ as
    // two shots do.
    source += u",format=yuv420p,hue=h=%1:s=%2,lutyuv=y='clip(val*%3+%4\\,16\\,235)':u='clip(val+%5\\,16\\,240)':"
              u"v='clip(val+%6\\,16\\,240)'"_s.arg(random.bounded(360)).arg(0.6 + random.generateDouble() * 0.8)
                  .arg(0.6 + random.generateDouble() * 0.5).arg(random.bounded(50)).arg(int(random.bounded(60)) - 30)
                  .arg(int(random.bounded(60)) - 30);
    // A whip pan moves a twentieth of the picture's width every frame, back
    // and forth over a picture three times as wide; a slow one a fifth of that.
    const int step = pan ? sceneWidth / 20 : sceneWidth / 100;
    if (wide)
        source += u",crop=%1:%2:x='abs(mod(n*%3\\,%4)-%5)':y=0"_s.arg(sceneWidth).arg(sceneHeight).arg(step)
                  .arg(4 * sceneWidth).arg(2 * sceneWidth);
    return source;
}

} // namespace

QString makeShotClip(const ShotClipPlan &plan, const QString &path, ShotClip &clip)
{
    clip = {};
    clip.frameRate = rateValue(plan.rate);
    QRandomGenerator random(plan.seed);
    QStringList chains;
    QString inputs;
    bool fadeInNext = false;
    for (int shot = 0; shot < plan.shots; ++shot) {
        // Mostly 1 to 4 s; now and then half a second.
        const int frames = int(clip.frameRate * (random.bounded(8) == 0 ? 0.5 : 1.0 + 3.0 * random.generateDouble()));
        const bool pan = random.bounded(6) == 0;
        const bool fadeOut = shot + 1 < plan.shots && frames > 3 * fadeFrames && random.bounded(6) == 0;
        QString chain = sceneSource(random, plan.rate, pan) + u",trim=end_frame=%1,setpts=PTS-STARTPTS"_s.arg(frames);
        if (frames > 3 * fadeFrames && random.bounded(4) == 0) {
            // A camera flash of two frames: brighter, partly burnt out.
            const int at = fadeFrames + 2 + int(random.bounded(quint32(frames - 2 * fadeFrames - 4)));
            chain += u",lutyuv=y='clip(val*1.7+70\\,0\\,255)':enable='between(n\\,%1\\,%2)'"_s.arg(at).arg(at + 1);
            ++clip.flashes;
        }
        if (fadeInNext)
            chain += u",fade=t=in:start_frame=0:nb_frames=%1"_s.arg(fadeFrames);
        if (fadeOut) {
            chain += u",fade=t=out:start_frame=%1:nb_frames=%2"_s.arg(frames - fadeFrames).arg(fadeFrames);
            ++clip.fades;
        }
        chain += u",format=yuv420p,setsar=1[s%1]"_s.arg(shot);
        chains << chain;
        inputs += u"[s%1]"_s.arg(shot);
        if (shot > 0 && !fadeInNext)
            clip.cutFrames.push_back(clip.frames);
        clip.pans += pan ? 1 : 0;
        clip.frames += frames;
        fadeInNext = fadeOut;
    }
    // Grain that changes every frame, as film and camera noise do.
    QString graph = chains.join(u";\n"_s) + u";\n"_s + inputs
                    + u"concat=n=%1:v=1:a=0,noise=alls=4:allf=t"_s.arg(plan.shots);
    if (plan.width != sceneWidth || plan.height != sceneHeight)
        graph += u",scale=%1:%2:flags=bicubic"_s.arg(plan.width).arg(plan.height);
    graph += u"[v]"_s;
    if (plan.withSound)
        graph += u";\nsine=f=440:sample_rate=48000,atrim=end=%1[l];sine=f=660:sample_rate=48000,atrim=end=%1[r];"
                 u"[l][r]join=inputs=2:channel_layout=stereo[a]"_s.arg(double(clip.frames) / clip.frameRate);

    const QString script = path + u".graph"_s;
    QFile graphFile(script);
    if (!graphFile.open(QIODevice::WriteOnly) || graphFile.write(graph.toUtf8()) < 0 || !graphFile.flush())
        return u"cannot write "_s + script;
    graphFile.close();
    QStringList arguments{u"-nostdin"_s, u"-y"_s, u"-loglevel"_s, u"error"_s, u"-filter_complex_script"_s, script,
                          u"-map"_s, u"[v]"_s};
    if (plan.withSound)
        arguments << u"-map"_s << u"[a]"_s << u"-c:a"_s << u"aac"_s << u"-b:a"_s << u"160k"_s;
    arguments << u"-c:v"_s << u"libx264"_s << u"-preset"_s << u"veryfast"_s << u"-crf"_s << u"23"_s
              << u"-maxrate"_s << u"8M"_s << u"-bufsize"_s << u"16M"_s << u"-bf"_s
              << u"3"_s << u"-r"_s << plan.rate << path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(u"ffmpeg"_s, arguments);
    if (!ffmpeg.waitForStarted())
        return u"cannot start ffmpeg; install it (scripts/install-deps.sh)"_s;
    ffmpeg.waitForFinished(-1);
    QFile::remove(script);
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return u"ffmpeg failed: "_s + QString::fromLocal8Bit(ffmpeg.readAll());
    return {};
}
