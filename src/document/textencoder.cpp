// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/textencoder.h"

#include "document/unicodetext.h"

TextEncoder::TextEncoder(const FileEncoding &encoding) : m_encoding(encoding)
{
    using Kind = FileEncoding::Kind;
    switch (encoding.kind) {
    case Kind::Utf8:
        break;
    case Kind::Utf16LE:
        m_utf16Encoder.emplace(QStringConverter::Utf16LE);
        break;
    case Kind::Utf16BE:
        m_utf16Encoder.emplace(QStringConverter::Utf16BE);
        break;
    case Kind::Legacy:
        if (const std::optional<LegacyCodec> codec = LegacyCodec::find(encoding.legacyName))
            m_legacyEncoder = std::make_unique<LegacyCodec::Encoder>(*codec);
        break;
    }
}

TextEncoder::~TextEncoder() = default;

bool TextEncoder::encode(QByteArrayView utf8, QByteArray &out)
{
    using Kind = FileEncoding::Kind;
    if (passesThrough()) {
        out.append(utf8);
        return true;
    }
    if (m_encoding.kind == Kind::Legacy) {
        if (m_legacyEncoder && m_legacyEncoder->encode(utf8, out))
            return true;
        m_badCharacter = m_legacyEncoder ? m_legacyEncoder->badCharacter() : utf8ToQString(utf8).left(1);
        return false;
    }
    if (!m_bomWritten && m_encoding.hasBom) {
        out.append(m_encoding.kind == Kind::Utf16LE ? QByteArrayView("\xFF\xFE") : QByteArrayView("\xFE\xFF"));
        m_bomWritten = true;
    }
    // UTF-16 holds every character.
    out.append(m_utf16Encoder->encode(utf8ToQString(utf8)));
    return true;
}

bool encodeForFile(const QByteArray &utf8, const FileEncoding &encoding, QByteArray &fileBytes,
                   QString &badCharacter)
{
    TextEncoder encoder(encoding);
    if (encoder.passesThrough()) {
        fileBytes = utf8; // shared, not copied
        return true;
    }
    fileBytes.clear();
    if (!encoder.encode(utf8, fileBytes)) {
        badCharacter = encoder.badCharacter();
        return false;
    }
    return true;
}
