// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/encoding/legacycodec.h"
#include "document/textencoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>

#include <memory>
#include <optional>

// Turns UTF-8 text, whole or in pieces cut between characters, into the
// bytes of a file in a given encoding. UTF-8 passes through untouched (its
// byte-order mark is the writer's); UTF-16 gets its byte-order mark first.
class TextEncoder
{
public:
    explicit TextEncoder(const FileEncoding &encoding);
    ~TextEncoder();
    TextEncoder(const TextEncoder &) = delete;
    TextEncoder &operator=(const TextEncoder &) = delete;

    // True when the file's bytes are the UTF-8 themselves.
    bool passesThrough() const { return m_encoding.kind == FileEncoding::Kind::Utf8; }

    // Appends utf8 in the file's encoding to out. False when the encoding
    // cannot hold a character; badCharacter() then names it.
    bool encode(QByteArrayView utf8, QByteArray &out);
    QString badCharacter() const { return m_badCharacter; }

private:
    FileEncoding m_encoding;
    std::optional<QStringEncoder> m_utf16Encoder;
    std::unique_ptr<LegacyCodec::Encoder> m_legacyEncoder;
    bool m_bomWritten = false;
    QString m_badCharacter;
};

// A whole file's text at once; see TextEncoder.
bool encodeForFile(const QByteArray &utf8, const FileEncoding &encoding, QByteArray &fileBytes,
                   QString &badCharacter);
