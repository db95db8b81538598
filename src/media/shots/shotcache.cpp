// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotcache.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

constexpr quint32 magic = 0x514D5343; // "QMSC"
// Raised whenever the detector finds other cuts in the same film, so that
// what an older one found is found again.
constexpr quint32 formatVersion = 1;
constexpr auto digest = QCryptographicHash::Sha256;
// A cut every frame of a day at 120 frames a second is 83 MB.
constexpr qint64 largestFile = qint64(1) << 27;

} // namespace

ShotCache::ShotCache(QString folder) : m_folder(std::move(folder)) {}

QString ShotCache::fileFor(const QString &path) const
{
    // Keyed on the path alone, so a changed video replaces its old cuts.
    const QByteArray key = path.toUtf8() + "\nshots";
    return m_folder + u'/' + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
           + QStringLiteral(".shots");
}

std::optional<DetectedShots> ShotCache::load(const MediaSource &source) const
{
    QFile file(fileFor(source.path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestFile)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype hashSize = QCryptographicHash::hashLength(digest);
    if (bytes.size() < hashSize
        || QCryptographicHash::hash(QByteArrayView(bytes).first(bytes.size() - hashSize), digest)
               != QByteArrayView(bytes).last(hashSize))
        return std::nullopt;

    QDataStream in(bytes.first(bytes.size() - hashSize));
    in.setVersion(QDataStream::Qt_6_4);
    in.setFloatingPointPrecision(QDataStream::DoublePrecision);
    quint32 readMagic = 0;
    quint32 version = 0;
    DetectedShots shots;
    quint64 count = 0;
    in >> readMagic >> version >> shots.source.path >> shots.source.size >> shots.source.modifiedMs
        >> shots.hasPicture >> shots.frames >> shots.shotChanges.frameRate >> shots.shotChanges.firstFrameSeconds
        >> count;
    shots.source.streamIndex = source.streamIndex;
    if (in.status() != QDataStream::Ok || readMagic != magic || version != formatVersion || shots.source != source
        || count != quint64(in.device()->bytesAvailable()) / sizeof(double))
        return std::nullopt;
    shots.shotChanges.cutSeconds.resize(std::size_t(count));
    for (double &seconds : shots.shotChanges.cutSeconds)
        in >> seconds;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return shots;
}

bool ShotCache::store(const DetectedShots &shots, QString *errorText) const
{
    const auto fail = [&](const QString &why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (!QDir().mkpath(m_folder))
        return fail(m_folder);
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        out.setFloatingPointPrecision(QDataStream::DoublePrecision);
        out << magic << formatVersion << shots.source.path << shots.source.size << shots.source.modifiedMs
            << shots.hasPicture << shots.frames << shots.shotChanges.frameRate << shots.shotChanges.firstFrameSeconds
            << quint64(shots.shotChanges.cutSeconds.size());
        for (const double seconds : shots.shotChanges.cutSeconds)
            out << seconds;
    }
    bytes += QCryptographicHash::hash(bytes, digest);

    QSaveFile file(fileFor(shots.source.path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(file.fileName() + QStringLiteral(": ") + file.errorString());
    return true;
}
