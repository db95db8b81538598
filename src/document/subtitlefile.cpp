// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/subtitlefile.h"

#include "document/unicodetext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <uchardet/uchardet.h>

#include <cstring>
#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

bool startsWith(QByteArrayView bytes, const char *prefix, qsizetype length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, size_t(length)) == 0;
}

ReadError errorAt(ReadError::Kind kind, qint64 byteOffset)
{
    ReadError error;
    error.kind = kind;
    error.byteOffset = byteOffset;
    return error;
}

// Offset of the first code unit that is not part of valid UTF-16 (an odd
// trailing byte or an unpaired surrogate), or -1.
qsizetype firstInvalidUtf16(QByteArrayView bytes, bool littleEndian)
{
    const qsizetype units = bytes.size() / 2;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    auto unitAt = [&](qsizetype i) -> char16_t {
        const unsigned first = data[2 * i];
        const unsigned second = data[2 * i + 1];
        return char16_t(littleEndian ? first | second << 8 : first << 8 | second);
    };
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= units || unitAt(i + 1) < 0xDC00 || unitAt(i + 1) > 0xDFFF)
                return 2 * i;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return 2 * i;
        }
    }
    return bytes.size() % 2 ? bytes.size() - 1 : -1;
}

qsizetype firstNulUtf16(QByteArrayView bytes)
{
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    }
    return -1;
}

QByteArray guessLegacyEncoding(QByteArrayView bytes)
{
    // A few megabytes tell the guesser all it will learn; the round trip
    // below checks the whole file anyway.
    constexpr qsizetype sample = 8 * 1024 * 1024;
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), &uchardet_delete);
    if (!detector)
        return {};
    uchardet_handle_data(detector.get(), bytes.data(), size_t(qMin(bytes.size(), sample)));
    uchardet_data_end(detector.get());
    const QByteArray name(uchardet_get_charset(detector.get()));
    // Unicode without a BOM is not guessed: an invalid UTF-8 file is legacy.
    if (name.isEmpty() || name.toUpper().startsWith("UTF") || name.toUpper() == "ASCII")
        return {};
    return name;
}

// Decodes with a named legacy encoding only when encoding the text again
// gives back exactly the same bytes, so saving can never change a byte the
// correction did not touch.
bool decodeRoundTrip(QByteArrayView bytes, const QByteArray &name, QString &text)
{
    QStringDecoder decoder(name.constData(),
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid())
        return false;
    text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return false;
    const QByteArray back = encoder.encode(text);
    return !encoder.hasError() && QByteArrayView(back) == bytes;
}

} // namespace

QString FileEncoding::displayName() const
{
    switch (kind) {
    case Kind::Utf8:
        return hasBom ? QStringLiteral("UTF-8 with BOM") : QStringLiteral("UTF-8");
    case Kind::Utf16LE:
        return QStringLiteral("UTF-16LE with BOM");
    case Kind::Utf16BE:
        return QStringLiteral("UTF-16BE with BOM");
    case Kind::Legacy:
        return QString::fromLatin1(legacyName);
    }
    return {};
}

bool readDeviceBytes(QIODevice &device, QByteArray &bytes, ReadError &error)
{
    auto failed = [&] {
        error = ReadError{};
        error.reason = device.errorString();
        return false;
    };
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly))
        return failed();
    bytes.clear();
    // A file is read straight into a buffer of its size; a stream, or a file
    // that grows while being read, in chunks.
    qsizetype chunk = device.isSequential() ? 64 * 1024 : qsizetype(qMin(device.size(), MaxSubtitleFileBytes)) + 1;
    for (;;) {
        const qsizetype used = bytes.size();
        if (used > MaxSubtitleFileBytes) {
            error = errorAt(ReadError::Kind::TooLarge, device.isSequential() ? used : device.size());
            return false;
        }
        bytes.resize(used + chunk);
        const qint64 got = device.read(bytes.data() + used, chunk);
        if (got < 0)
            return failed();
        bytes.truncate(used + got);
        if (!device.isSequential() && got < chunk)
            return true; // a short read of a file is its end
        if (got == 0 && !(device.isSequential() && !device.atEnd() && device.waitForReadyRead(-1)))
            return true;
        chunk = 64 * 1024;
    }
}

bool readFileBytes(const QString &path, QByteArray &bytes, ReadError &error)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Open without blocking and check the opened file itself, so a FIFO or a
    // device is refused before a single byte is read, and nothing can be
    // swapped in between the check and the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = ReadError{};
        error.reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        error = errorAt(ReadError::Kind::NotRegularFile, -1);
        return false;
    }
    // A file too large is refused before a byte of it is read.
    if (status.st_size > MaxSubtitleFileBytes) {
        ::close(fd);
        error = errorAt(ReadError::Kind::TooLarge, status.st_size);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = ReadError{};
        error.reason = file.errorString();
        return false;
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = errorAt(ReadError::Kind::NotRegularFile, -1);
        return false;
    }
    if (info.size() > MaxSubtitleFileBytes) {
        error = errorAt(ReadError::Kind::TooLarge, info.size());
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = ReadError{};
        error.reason = file.errorString();
        return false;
    }
#endif
    return readDeviceBytes(file, bytes, error);
}

bool decodeSubtitleBytes(QByteArray bytes, DecodedSubtitles &decoded, ReadError &error)
{
    using Kind = FileEncoding::Kind;
    decoded = DecodedSubtitles{};
    const QByteArrayView view(bytes);

    if (startsWith(view, Utf8Bom, 3)) {
        decoded.encoding = {Kind::Utf8, true, {}};
        const Utf8Check check = checkUtf8Text(view.sliced(3));
        if (check.result != Utf8Check::Result::Valid) {
            const auto kind = check.result == Utf8Check::Result::Nul ? ReadError::Kind::NulByte
                                                                     : ReadError::Kind::InvalidUtf8;
            error = errorAt(kind, check.offset + 3);
            return false;
        }
        decoded.storage = std::move(bytes);
        decoded.offset = 3;
        return true;
    }

    const bool utf16LE = startsWith(view, "\xFF\xFE", 2);
    if (utf16LE || startsWith(view, "\xFE\xFF", 2)) {
        const QByteArrayView text = view.sliced(2);
        if (const qsizetype bad = firstInvalidUtf16(text, utf16LE); bad >= 0) {
            error = errorAt(ReadError::Kind::InvalidUtf16, bad + 2);
            return false;
        }
        if (const qsizetype nul = firstNulUtf16(text); nul >= 0) {
            error = errorAt(ReadError::Kind::NulByte, nul + 2);
            return false;
        }
        // Our own check took the byte-order mark off; a second one is text.
        QStringDecoder decoder(utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        decoded.encoding = {utf16LE ? Kind::Utf16LE : Kind::Utf16BE, true, {}};
        decoded.storage = QString(decoder.decode(text)).toUtf8();
        return true;
    }

    const Utf8Check check = checkUtf8Text(view);
    const qsizetype nul = check.result == Utf8Check::Result::Nul ? check.offset
        : check.result == Utf8Check::Result::Invalid             ? view.indexOf('\0')
                                                                 : -1;
    if (nul >= 0) {
        error = errorAt(ReadError::Kind::NulByte, nul);
        return false;
    }
    if (check.result == Utf8Check::Result::Valid) {
        decoded.encoding = {Kind::Utf8, false, {}};
        decoded.storage = std::move(bytes);
        return true;
    }

    QString text;
    QByteArray name = guessLegacyEncoding(view);
    if (name.isEmpty() || !decodeRoundTrip(view, name, text)) {
        name = QByteArrayLiteral("ISO-8859-1");
        text = QString::fromLatin1(view);
    }
    decoded.encoding = {Kind::Legacy, false, name};
    decoded.storage = text.toUtf8();
    return true;
}

bool readSubtitleFile(const QString &path, DecodedSubtitles &decoded, ReadError &error, FileStamp *stamp)
{
    const FileStamp before = stamp ? FileStamp::statOf(path) : FileStamp{};
    QByteArray bytes;
    if (!readFileBytes(path, bytes, error))
        return false;
    if (stamp)
        *stamp = before.withContent(bytes);
    return decodeSubtitleBytes(std::move(bytes), decoded, error);
}
