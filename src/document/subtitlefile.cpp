// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/subtitlefile.h"

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

qsizetype firstNulUtf16(QByteArrayView bytes, bool littleEndian)
{
    Q_UNUSED(littleEndian);
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
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
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

QString firstUnencodable(const QString &text, const QByteArray &name)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
        const QByteArray encoded = encoder.encode(character); // encode() is lazy until converted
        Q_UNUSED(encoded);
        if (encoder.hasError())
            return character;
        i += width;
    }
    return {};
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

qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        // Most subtitle text is ASCII: skip it eight bytes at a time.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        qsizetype length;
        unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            else if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return i;
        }
        if (i + length > size)
            return i;
        if (data[i + 1] < low || data[i + 1] > high)
            return i;
        for (qsizetype k = 2; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += length;
    }
    return -1;
}

bool readDeviceBytes(QIODevice &device, QByteArray &bytes, ReadError &error)
{
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        error = ReadError{};
        error.reason = device.errorString();
        return false;
    }
    if (!device.isSequential() && device.size() > MaxSubtitleFileBytes) {
        error = errorAt(ReadError::Kind::TooLarge, device.size());
        return false;
    }
    bytes.clear();
    if (!device.isSequential())
        bytes.reserve(device.size());
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got < 0) {
            error = ReadError{};
            error.reason = device.errorString();
            return false;
        }
        if (got == 0 && (device.atEnd() || !device.isSequential() || !device.waitForReadyRead(-1)))
            break;
        if (bytes.size() + got > MaxSubtitleFileBytes) {
            error = errorAt(ReadError::Kind::TooLarge, bytes.size() + got);
            return false;
        }
        bytes.append(chunk, got);
    }
    return true;
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
        const QByteArrayView text = view.sliced(3);
        if (const auto nul = text.indexOf('\0'); nul >= 0) {
            error = errorAt(ReadError::Kind::NulByte, nul + 3);
            return false;
        }
        if (const qsizetype bad = firstInvalidUtf8(text); bad >= 0) {
            error = errorAt(ReadError::Kind::InvalidUtf8, bad + 3);
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
        if (const qsizetype nul = firstNulUtf16(text, utf16LE); nul >= 0) {
            error = errorAt(ReadError::Kind::NulByte, nul + 2);
            return false;
        }
        QStringDecoder decoder(utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        decoded.encoding = {utf16LE ? Kind::Utf16LE : Kind::Utf16BE, true, {}};
        decoded.storage = QString(decoder.decode(text)).toUtf8();
        return true;
    }

    if (const auto nul = view.indexOf('\0'); nul >= 0) {
        error = errorAt(ReadError::Kind::NulByte, nul);
        return false;
    }
    if (firstInvalidUtf8(view) < 0) {
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

bool readSubtitleFile(const QString &path, DecodedSubtitles &decoded, ReadError &error)
{
    QByteArray bytes;
    return readFileBytes(path, bytes, error) && decodeSubtitleBytes(std::move(bytes), decoded, error);
}

bool encodeForFile(const QByteArray &utf8, const FileEncoding &encoding, QByteArray &fileBytes,
                   QString &badCharacter)
{
    using Kind = FileEncoding::Kind;
    switch (encoding.kind) {
    case Kind::Utf8:
        fileBytes = utf8;
        return true;
    case Kind::Utf16LE:
    case Kind::Utf16BE: {
        const bool littleEndian = encoding.kind == Kind::Utf16LE;
        QStringEncoder encoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        fileBytes = littleEndian ? QByteArrayLiteral("\xFF\xFE") : QByteArrayLiteral("\xFE\xFF");
        fileBytes += encoder.encode(QString::fromUtf8(utf8));
        return true;
    }
    case Kind::Legacy: {
        const QString text = QString::fromUtf8(utf8);
        if (encoding.legacyName.compare("ISO-8859-1", Qt::CaseInsensitive) == 0) {
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text.at(i).unicode() > 0xFF) {
                    badCharacter = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
                    return false;
                }
            }
            fileBytes = text.toLatin1();
            return true;
        }
        QStringEncoder encoder(encoding.legacyName.constData(), QStringConverter::Flag::Stateless);
        fileBytes = encoder.encode(text);
        if (!encoder.isValid() || encoder.hasError()) {
            badCharacter = firstUnencodable(text, encoding.legacyName);
            return false;
        }
        return true;
    }
    }
    return false;
}
