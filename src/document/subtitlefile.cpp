// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/subtitlefile.h"

#include "document/encoding/codepageguess.h"
#include "document/encoding/encodingchoice.h"
#include "document/encoding/legacycodec.h"
#include "document/rows/hugepages.h"
#include "document/unicodetext.h"
#include "lang/form1messages.h"
#include "lang/message.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <cstdint>

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

// UTF-16 text after its byte-order mark, if any, bomLength bytes into the file.
bool decodeUtf16(QByteArray bytes, qsizetype bomLength, bool littleEndian, DecodedSubtitles &decoded,
                 ReadError &error)
{
    using Kind = FileEncoding::Kind;
    const QByteArrayView text = QByteArrayView(bytes).sliced(bomLength);
    if (const qsizetype bad = firstInvalidUtf16(text, littleEndian); bad >= 0) {
        error = errorAt(ReadError::Kind::InvalidUtf16, bad + bomLength);
        return false;
    }
    if (const qsizetype nul = firstNulUtf16(text); nul >= 0) {
        error = errorAt(ReadError::Kind::NulByte, nul + bomLength);
        return false;
    }
    // Our own check took the byte-order mark off; a second one is text.
    QStringDecoder decoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    decoded.encoding = {littleEndian ? Kind::Utf16LE : Kind::Utf16BE, bomLength > 0, {}};
    decoded.storage = QString(decoder.decode(text)).toUtf8();
    return true;
}

// UTF-8 text after its byte-order mark, if any; the bytes are kept as they are.
bool decodeUtf8(QByteArray bytes, qsizetype bomLength, DecodedSubtitles &decoded, ReadError &error)
{
    const Utf8Check check = checkUtf8Text(QByteArrayView(bytes).sliced(bomLength));
    if (check.result != Utf8Check::Result::Valid) {
        const auto kind =
            check.result == Utf8Check::Result::Nul ? ReadError::Kind::NulByte : ReadError::Kind::InvalidUtf8;
        error = errorAt(kind, check.offset + bomLength);
        return false;
    }
    decoded.encoding = {FileEncoding::Kind::Utf8, bomLength > 0, {}};
    decoded.storage = std::move(bytes);
    decoded.offset = bomLength;
    return true;
}

// The file read in the encoding the user named, which must give back exactly
// the same bytes.
bool decodeNamed(QByteArray bytes, QStringView encodingName, DecodedSubtitles &decoded, ReadError &error)
{
    const QByteArray name = encodingName.toLatin1();
    const QByteArrayView view(bytes);
    const auto unicode = QStringConverter::encodingForName(name.constData());
    if (unicode == QStringConverter::Utf8) {
        const qsizetype bomLength = startsWith(view, Utf8Bom, 3) ? 3 : 0;
        return decodeUtf8(std::move(bytes), bomLength, decoded, error);
    }
    if (unicode == QStringConverter::Utf16LE || unicode == QStringConverter::Utf16BE
        || unicode == QStringConverter::Utf16) {
        // Plain UTF-16 goes by its byte-order mark, big-endian without one.
        bool littleEndian = unicode == QStringConverter::Utf16LE;
        if (unicode == QStringConverter::Utf16)
            littleEndian = startsWith(view, "\xFF\xFE", 2);
        const bool hasBom = startsWith(view, littleEndian ? "\xFF\xFE" : "\xFE\xFF", 2);
        return decodeUtf16(std::move(bytes), hasBom ? 2 : 0, littleEndian, decoded, error);
    }

    // In every encoding but UTF-32 a zero byte is a NUL character.
    const bool utf32 = unicode && *unicode >= QStringConverter::Utf32 && *unicode <= QStringConverter::Utf32BE;
    const std::optional<LegacyCodec> codec = LegacyCodec::find(name);
    if (const qsizetype nul = view.indexOf('\0'); nul >= 0 && !utf32) {
        error = errorAt(ReadError::Kind::NulByte, nul);
        return false;
    }
    if (!codec || !codec->decodeExactly(view, decoded.storage)) {
        error = ReadError{};
        error.kind = ReadError::Kind::NotInEncoding;
        error.reason = codec ? QString::fromLatin1(codec->name()) : encodingName.toString();
        return false;
    }
    decoded.encoding = {FileEncoding::Kind::Legacy, false, codec->name()};
    return true;
}

// The text in encodingName, or in the encoding it reads in best.
bool decodeInEncoding(QByteArray bytes, DecodedSubtitles &decoded, ReadError &error, QStringView encodingName);

} // namespace

void DecodedSubtitles::releaseBefore(qsizetype utf8Offset)
{
#ifdef Q_OS_LINUX
    if (!storage.isDetached())
        return;
    // Whole huge pages inside the text only: the allocation's own header
    // stands before data().
    constexpr std::uintptr_t HugePage = std::uintptr_t(1) << 21;
    const auto begin = (reinterpret_cast<std::uintptr_t>(storage.constData()) + HugePage - 1) & ~(HugePage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(storage.constData() + offset + utf8Offset) & ~(HugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED);
#else
    Q_UNUSED(utf8Offset);
#endif
}

QString FileEncoding::nameWithoutBom() const
{
    switch (kind) {
    case Kind::Utf8:
        return QStringLiteral("UTF-8");
    case Kind::Utf16LE:
        return QStringLiteral("UTF-16LE");
    case Kind::Utf16BE:
        return QStringLiteral("UTF-16BE");
    case Kind::Legacy:
        return QString::fromLatin1(legacyName);
    }
    return {};
}

QString FileEncoding::displayName() const
{
    return hasBom ? nameWithoutBom() + QStringLiteral(" with BOM") : nameWithoutBom();
}

QString FileEncoding::caption(const LangDoc &lang) const
{
    return hasBom ? GetLangText(lang, Form1Msg::EncodingWithBom).arg(nameWithoutBom()) : nameWithoutBom();
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
        if (used == 0)
            adviseHugePages(bytes.data(), chunk);
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

bool decodeSubtitleBytes(QByteArray bytes, DecodedSubtitles &decoded, ReadError &error, QStringView encodingName,
                         bool mustBeWebVtt)
{
    decoded = DecodedSubtitles{};
    const qsizetype bomLength = startsWith(bytes, Utf8Bom, 3) ? 3 : 0;
    // The format allows UTF-8 alone, so no encoding is guessed or named for it.
    if (hasWebVttSignature(QByteArrayView(bytes).sliced(bomLength))) {
        if (!decodeUtf8(std::move(bytes), bomLength, decoded, error))
            return false;
        decoded.format = SubtitleFormat::WebVtt;
        return true;
    }
    if (!decodeInEncoding(std::move(bytes), decoded, error, encodingName))
        return false;
    if (hasWebVttSignature(decoded.utf8())) {
        error = ReadError{};
        error.kind = ReadError::Kind::WebVttNotUtf8;
        error.reason = decoded.encoding.displayName();
        return false;
    }
    if (mustBeWebVtt) {
        const QByteArrayView text = decoded.utf8();
        error = ReadError{};
        error.kind = ReadError::Kind::NoWebVttSignature;
        error.lineNumber = 1;
        error.line = utf8ToQString(text.first(std::find_if(text.begin(), text.end(), [](char c) {
                                                  return c == '\r' || c == '\n';
                                              }) - text.begin()));
        return false;
    }
    return true;
}

namespace {

bool decodeInEncoding(QByteArray bytes, DecodedSubtitles &decoded, ReadError &error, QStringView encodingName)
{
    if (!isAutoEncoding(encodingName))
        return decodeNamed(std::move(bytes), encodingName, decoded, error);

    const QByteArrayView view(bytes);
    if (startsWith(view, Utf8Bom, 3))
        return decodeUtf8(std::move(bytes), 3, decoded, error);
    const bool utf16LE = startsWith(view, "\xFF\xFE", 2);
    if (utf16LE || startsWith(view, "\xFE\xFF", 2))
        return decodeUtf16(std::move(bytes), 2, utf16LE, decoded, error);

    // UTF-8 is checked in one pass over the bytes; nothing else reads them.
    const Utf8Check check = checkUtf8Text(view);
    const qsizetype nul = check.result == Utf8Check::Result::Nul ? check.offset
        : check.result == Utf8Check::Result::Invalid             ? view.indexOf('\0')
                                                                 : -1;
    if (nul >= 0) {
        error = errorAt(ReadError::Kind::NulByte, nul);
        return false;
    }
    if (check.result == Utf8Check::Result::Valid) {
        decoded.encoding = {FileEncoding::Kind::Utf8, false, {}};
        decoded.storage = std::move(bytes);
        return true;
    }

    LegacyText legacy = decodeLegacyText(view);
    decoded.encoding = {FileEncoding::Kind::Legacy, false, std::move(legacy.encodingName)};
    decoded.storage = std::move(legacy.utf8);
    return true;
}

} // namespace

bool readSubtitleFile(const QString &path, DecodedSubtitles &decoded, ReadError &error, QStringView encodingName,
                      FileStamp *stamp)
{
    const FileStamp before = stamp ? FileStamp::statOf(path) : FileStamp{};
    QByteArray bytes;
    if (!readFileBytes(path, bytes, error))
        return false;
    if (stamp)
        *stamp = before.withContent(bytes);
    return decodeSubtitleBytes(std::move(bytes), decoded, error, encodingName, hasWebVttExtension(path));
}
