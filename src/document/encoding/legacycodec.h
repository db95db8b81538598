// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

// A named text encoding other than UTF-8 and UTF-16, through Qt's
// converters or, for a name only the C library knows, through iconv.
class LegacyCodec
{
public:
    // The codec called name, compared without regard to case; nothing when
    // neither Qt nor iconv knows it.
    static std::optional<LegacyCodec> find(QByteArrayView name);

    // The usual spelling ("windows-1252" for "CP1252"), else name as given.
    const QByteArray &name() const { return m_name; }

    // bytes as UTF-8, only when encoding the text again gives back exactly
    // bytes, so saving can never change a byte the correction did not touch.
    bool decodeExactly(QByteArrayView bytes, QByteArray &utf8) const;

    // Turns UTF-8 text, given in pieces cut between characters, into this
    // encoding; state carries over from piece to piece.
    class Encoder
    {
    public:
        explicit Encoder(const LegacyCodec &codec);
        ~Encoder();
        Encoder(const Encoder &) = delete;
        Encoder &operator=(const Encoder &) = delete;

        // Appends utf8 in the encoding to out. False when it cannot hold a
        // character; badCharacter() then names the first one.
        bool encode(QByteArrayView utf8, QByteArray &out);
        const QString &badCharacter() const { return m_badCharacter; }

    private:
        struct State;
        std::unique_ptr<State> m_state;
        QString m_badCharacter;
    };

private:
    enum class Backend { Latin1, Qt, Iconv };
    LegacyCodec(QByteArray name, Backend backend) : m_name(std::move(name)), m_backend(backend) {}

    QByteArray m_name;
    Backend m_backend;
};
