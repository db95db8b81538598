// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <csignal>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A TCP listener on the loopback that notices any attempt to reach it: the crafted films name it, and a program that
// must not reach the network must leave it untouched.
class Listener
{
public:
    Listener() : m_socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), size) == 0 && ::listen(m_socket, 8) == 0
            && ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &size) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(m_socket); }
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

    int port() const { return m_port; }
    // A waiting connection makes the socket readable.
    bool wasReached() const
    {
        pollfd waiting{m_socket, POLLIN, 0};
        return ::poll(&waiting, 1, 0) > 0;
    }

private:
    int m_socket;
    int m_port = 0;
};

// Films that are playlists in disguise, written into folder: an HLS playlist named .mp4 whose segment is a FIFO (an
// open of it blocks), a local m3u naming film, lists whose entries lead to the listener at port, and a concat list.
// Their names, each to be refused.
inline QStringList writeCraftedFilms(const QString &folder, const QString &film, int port)
{
    const QDir dir(folder);
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port);
    const QByteArray hls = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:4\n#EXTINF:4.0,\n";
    const std::pair<const char *, QByteArray> films[] = {
        {"hls with a fifo.mp4", hls + "segment.ts\n#EXT-X-ENDLIST\n"},
        {"hls with an address.mp4", hls + url + "/segment.ts\n#EXT-X-ENDLIST\n"},
        {"list of a film.m3u", "#EXTM3U\n#EXTINF:4,Film\n" + QFile::encodeName(film) + "\n"},
        {"list of addresses.mp4", "#EXTM3U\n#EXTINF:4,Film\n" + url + "/film.mp4\n" + url + "/film.mkv\n"},
        {"concat.mp4", "ffconcat version 1.0\nfile '" + QFile::encodeName(film) + "'\n"},
    };
    ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("segment.ts"))).constData(), 0600);
    QStringList names;
    for (const auto &[name, content] : films) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
            names << QString::fromUtf8(name);
    }
    return names;
}

// Makes every open of path block, as on a dead network mount, until destroyed: a write lease that another open must
// break, which the kernel holds up to /proc/sys/fs/lease-break-time (45 s by default).
class BlockedOpens
{
public:
    explicit BlockedOpens(const QString &path) : m_file(::open(QFile::encodeName(path).constData(), O_RDWR))
    {
        std::signal(SIGIO, SIG_IGN); // a broken lease is told by this signal, which would end the test
        m_held = m_file >= 0 && ::fcntl(m_file, F_SETLEASE, F_WRLCK) == 0;
    }
    ~BlockedOpens()
    {
        if (m_held)
            ::fcntl(m_file, F_SETLEASE, F_UNLCK);
        if (m_file >= 0)
            ::close(m_file);
    }
    BlockedOpens(const BlockedOpens &) = delete;
    BlockedOpens &operator=(const BlockedOpens &) = delete;
    bool isHeld() const { return m_held; }

private:
    int m_file;
    bool m_held = false;
};

} // namespace MediaClips
