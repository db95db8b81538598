// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/textencoder.h"

#include "document/unicodetext.h"

namespace {

bool isLatin1(const QByteArray &name)
{
    return name.compare("ISO-8859-1", Qt::CaseInsensitive) == 0;
}

// The first character of text that name cannot encode, found one character
// at a time: only needed once a whole piece has failed.
QString firstUnencodable(const QString &text, const QByteArray &name)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        bool fails = false;
        if (isLatin1(name)) {
            fails = character.at(0).unicode() > 0xFF;
        } else {
            QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
            const QByteArray encoded = encoder.encode(character); // encode() is lazy until converted
            fails = encoder.hasError() || encoded.isEmpty();
        }
        if (fails)
            return character;
        i += width;
    }
    return {};
}

} // namespace

TextEncoder::TextEncoder(const FileEncoding &encoding) : m_encoding(encoding)
{
    using Kind = FileEncoding::Kind;
    switch (encoding.kind) {
    case Kind::Utf8:
        break;
    case Kind::Utf16LE:
        m_encoder.emplace(QStringConverter::Utf16LE);
        break;
    case Kind::Utf16BE:
        m_encoder.emplace(QStringConverter::Utf16BE);
        break;
    case Kind::Legacy:
        // Latin-1 is checked by hand below: its converter substitutes
        // rather than failing.
        if (!isLatin1(encoding.legacyName))
            m_encoder.emplace(encoding.legacyName.constData());
        break;
    }
}

bool TextEncoder::encode(QByteArrayView utf8, QByteArray &out)
{
    using Kind = FileEncoding::Kind;
    if (passesThrough()) {
        out.append(utf8);
        return true;
    }
    const QString text = utf8ToQString(utf8);
    if (m_encoding.kind == Kind::Legacy && isLatin1(m_encoding.legacyName)) {
        for (const QChar c : text) {
            if (c.unicode() > 0xFF) {
                m_badCharacter = firstUnencodable(text, m_encoding.legacyName);
                return false;
            }
        }
        out.append(text.toLatin1());
        return true;
    }
    if (!m_bomWritten && m_encoding.hasBom) {
        out.append(m_encoding.kind == Kind::Utf16LE ? QByteArrayView("\xFF\xFE") : QByteArrayView("\xFE\xFF"));
        m_bomWritten = true;
    }
    if (!m_encoder || !m_encoder->isValid()) {
        m_badCharacter = text.left(1);
        return false;
    }
    out.append(m_encoder->encode(text));
    if (m_encoder->hasError()) {
        m_badCharacter = firstUnencodable(text, m_encoding.legacyName);
        return false;
    }
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
