// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/peakcache.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr quint32 magic = 0x514D504B; // "QMPK"
constexpr quint32 formatVersion = 1;
constexpr auto digest = QCryptographicHash::Sha256;
// Far above any film's peaks (a day of sound is 35 MB); a larger file is
// not ours.
constexpr qint64 largestFile = qint64(1) << 30;

QByteArray header(const Peaks &peaks)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << magic << formatVersion << peaks.source.path << peaks.source.size << peaks.source.modifiedMs
        << qint32(peaks.source.streamIndex) << qint32(peaks.streamIndex) << peaks.codec << qint32(peaks.sampleRate)
        << qint32(peaks.channels) << peaks.durationMs << qint32(Peaks::binMs) << quint64(peaks.bins.size());
    return bytes;
}

} // namespace

PeakCache::PeakCache(QString folder) : m_folder(std::move(folder)) {}

QString PeakCache::defaultFolder()
{
    // Beside the program's other folders (~/.config/quillmend, ~/.local/share/quillmend).
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quillmend/peaks");
}

QString PeakCache::fileFor(const MediaSource &source) const
{
    // The name keys on path and stream only, so a changed video replaces
    // its old peaks instead of piling up beside them.
    const QByteArray key = source.path.toUtf8() + '\n' + QByteArray::number(source.streamIndex);
    return m_folder + u'/' + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
           + QStringLiteral(".peaks");
}

std::optional<Peaks> PeakCache::load(const MediaSource &source) const
{
    QFile file(fileFor(source));
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestFile)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype hashSize = QCryptographicHash::hashLength(digest);
    if (bytes.size() < hashSize
        || QCryptographicHash::hash(QByteArrayView(bytes).first(bytes.size() - hashSize), digest)
               != QByteArrayView(bytes).last(hashSize))
        return std::nullopt;

    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 readMagic = 0;
    quint32 version = 0;
    Peaks peaks;
    qint32 askedStream = 0;
    qint32 stream = 0;
    qint32 rate = 0;
    qint32 channels = 0;
    qint32 binMs = 0;
    quint64 count = 0;
    in >> readMagic >> version >> peaks.source.path >> peaks.source.size >> peaks.source.modifiedMs >> askedStream
        >> stream >> peaks.codec >> rate >> channels >> peaks.durationMs >> binMs >> count;
    peaks.source.streamIndex = askedStream;
    peaks.streamIndex = stream;
    peaks.sampleRate = rate;
    peaks.channels = channels;
    const qint64 binBytes = qint64(sizeof(qint16)) * 2;
    if (in.status() != QDataStream::Ok || readMagic != magic || version != formatVersion || binMs != Peaks::binMs
        || peaks.source != source || count != quint64(bytes.size() - hashSize - in.device()->pos()) / binBytes
        || (bytes.size() - hashSize - in.device()->pos()) % binBytes != 0)
        return std::nullopt;

    peaks.bins.resize(size_t(count));
    const char *data = bytes.constData() + in.device()->pos();
    for (size_t i = 0; i < peaks.bins.size(); ++i, data += binBytes) {
        peaks.bins[i].minimum = qFromLittleEndian<qint16>(data);
        peaks.bins[i].maximum = qFromLittleEndian<qint16>(data + sizeof(qint16));
    }
    return peaks;
}

bool PeakCache::store(const Peaks &peaks, QString *errorText) const
{
    const auto fail = [&](const QString &why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (!QDir().mkpath(m_folder))
        return fail(m_folder);
    QByteArray bytes = header(peaks);
    const qsizetype start = bytes.size();
    bytes.resize(start + qsizetype(peaks.bins.size()) * qsizetype(2 * sizeof(qint16)));
    char *data = bytes.data() + start;
    for (const Peaks::Bin &bin : peaks.bins) {
        qToLittleEndian(bin.minimum, data);
        qToLittleEndian(bin.maximum, data + sizeof(qint16));
        data += 2 * sizeof(qint16);
    }
    bytes += QCryptographicHash::hash(bytes, digest);

    QSaveFile file(fileFor(peaks.source));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(file.fileName() + QStringLiteral(": ") + file.errorString());
    return true;
}
