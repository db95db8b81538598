// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// The media tests' clips, made with the ffmpeg program: 160 x 96 frames at 25 per second that show their own number in
// binary, 16 blocks of 40 x 24 (white is 1, bit 0 top left, row by row), which survives lossy coding; and a 1 kHz tone
// at 0.8 of full scale from 1.000 s to 1.500 s on the left channel, and from 2.005 s to 2.200 s on the right, silence
// elsewhere.
namespace MediaClips {

inline constexpr int width = 160;
inline constexpr int height = 96;

inline bool hasFfmpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

// ffmpeg's options for an input of the frames or the tone (silence without sound), blanks around.
inline QString numberedFrames(int seconds)
{
    return QStringLiteral(" -f lavfi -i nullsrc=s=160x96:r=25:d=%1,geq=lum='if(mod(floor(N/pow(2,floor(X/40)+4*"
                          "floor(Y/24))),2),235,16)':cb=128:cr=128,format=yuv420p ").arg(seconds);
}

inline QString tone(int seconds, bool sound = true)
{
    const QString left = sound ? QStringLiteral("gte(t,1)*lt(t,1.5)*0.8*sin(2*PI*1000*t)") : QStringLiteral("0");
    const QString right = sound ? QStringLiteral("gte(t,2.005)*lt(t,2.2)*0.8*sin(2*PI*1000*t)") : QStringLiteral("0");
    return QStringLiteral(" -f lavfi -i aevalsrc=exprs='%1|%2':s=48000:d=%3 ").arg(left, right).arg(seconds);
}

// Runs ffmpeg with arguments (split at blanks), writing output; an empty text when it worked.
inline QString make(const QString &arguments, const QString &output)
{
    QProcess ffmpeg;
    const QString all = QStringLiteral("-nostdin -y -loglevel error ") + arguments;
    ffmpeg.start(QStringLiteral("ffmpeg"), all.split(QLatin1Char(' '), Qt::SkipEmptyParts) << output);
    if (!ffmpeg.waitForFinished(60'000) || ffmpeg.exitCode() != 0)
        return QStringLiteral("ffmpeg failed on %1: %2").arg(output, QString::fromLocal8Bit(ffmpeg.readAllStandardError()));
    return {};
}

// The number a frame shows; -1 for no picture.
inline int frameNumberIn(const QImage &frame)
{
    if (frame.isNull())
        return -1;
    const QImage image = frame.scaled(width, height).convertToFormat(QImage::Format_RGB32);
    int number = 0;
    for (int bit = 0; bit < 16; ++bit) {
        if (qGray(image.pixel((bit % 4) * 40 + 20, (bit / 4) * 24 + 12)) > 128)
            number |= 1 << bit;
    }
    return number;
}

} // namespace MediaClips
