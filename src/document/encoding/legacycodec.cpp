// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/encoding/legacycodec.h"

#include "document/unicodetext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define QUILLMEND_HAS_ICONV 1
#endif

namespace {

#ifdef QUILLMEND_HAS_ICONV
// One iconv conversion, closed with its owner.
class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_handle(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isValid())
            iconv_close(m_handle);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool isValid() const { return m_handle != iconv_t(-1); }

    // Appends the conversion of input to out; false at the first sequence
    // that cannot be converted, with failedAt its offset in input.
    bool convert(QByteArrayView input, QByteArray &out, qsizetype *failedAt = nullptr)
    {
        char *in = const_cast<char *>(input.data());
        size_t inLeft = size_t(input.size());
        while (inLeft > 0) {
            const qsizetype used = out.size();
            const qsizetype room = qsizetype(inLeft) * 4 + 16;
            out.resize(used + room);
            char *outStart = out.data() + used;
            char *outPointer = outStart;
            size_t outLeft = size_t(room);
            const size_t result = iconv(m_handle, &in, &inLeft, &outPointer, &outLeft);
            out.truncate(used + (outPointer - outStart));
            if (result == size_t(-1) && errno != E2BIG) {
                if (failedAt)
                    *failedAt = input.size() - qsizetype(inLeft);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_handle;
};
#endif

QString characterAt(QByteArrayView utf8, qsizetype offset)
{
    qsizetype end = offset + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        ++end;
    return QString::fromUtf8(utf8.sliced(offset, end - offset));
}

// The first character of text that the named Qt codec cannot encode, found
// one character at a time: only needed once a whole piece has failed.
QString firstUnencodable(const QString &text, const QByteArray &name)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
        const QByteArray encoded = encoder.encode(character); // encode() is lazy until converted
        if (encoder.hasError() || encoded.isEmpty())
            return character;
        i += width;
    }
    return {};
}

} // namespace

std::optional<LegacyCodec> LegacyCodec::find(QByteArrayView name)
{
    const QByteArray terminated = name.toByteArray();
    if (terminated.isEmpty())
        return std::nullopt;
    // Qt's own Latin-1 substitutes what it cannot encode instead of failing.
    if (QStringConverter::encodingForName(terminated.constData()) == QStringConverter::Latin1)
        return LegacyCodec(QByteArrayLiteral("ISO-8859-1"), Backend::Latin1);
    const QStringDecoder decoder(terminated.constData());
    if (decoder.isValid()) {
        const char *usual = decoder.name();
        return LegacyCodec(usual && *usual ? QByteArray(usual) : terminated, Backend::Qt);
    }
#ifdef QUILLMEND_HAS_ICONV
    if (Iconv("UTF-8", terminated.constData()).isValid())
        return LegacyCodec(terminated.toUpper(), Backend::Iconv);
#endif
    return std::nullopt;
}

bool LegacyCodec::decodeExactly(QByteArrayView bytes, QByteArray &utf8) const
{
    switch (m_backend) {
    case Backend::Latin1:
        utf8 = QString::fromLatin1(bytes).toUtf8();
        return true;
    case Backend::Qt: {
        // A byte-order mark at the start is text here, kept as it came.
        QStringDecoder decoder(m_name.constData(),
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return false;
        {
            // Gone before the UTF-8 is made: a large file is held three times already.
            QStringEncoder encoder(m_name.constData(), QStringConverter::Flag::Stateless);
            const QByteArray back = encoder.encode(text);
            if (encoder.hasError() || QByteArrayView(back) != bytes)
                return false;
        }
        utf8 = text.toUtf8();
        return true;
    }
    case Backend::Iconv: {
#ifdef QUILLMEND_HAS_ICONV
        Iconv decoder("UTF-8", m_name.constData());
        Iconv encoder(m_name.constData(), "UTF-8");
        QByteArray text;
        QByteArray back;
        if (!decoder.convert(bytes, text) || !encoder.convert(text, back) || QByteArrayView(back) != bytes)
            return false;
        utf8 = std::move(text);
        return true;
#endif
        break;
    }
    }
    return false;
}

struct LegacyCodec::Encoder::State
{
    explicit State(const LegacyCodec &used) : codec(used) {}

    LegacyCodec codec;
    std::optional<QStringEncoder> qt;
#ifdef QUILLMEND_HAS_ICONV
    std::optional<Iconv> iconv;
#endif
};

LegacyCodec::Encoder::Encoder(const LegacyCodec &codec) : m_state(std::make_unique<State>(codec))
{
    if (codec.m_backend == Backend::Qt)
        m_state->qt.emplace(codec.m_name.constData());
#ifdef QUILLMEND_HAS_ICONV
    if (codec.m_backend == Backend::Iconv)
        m_state->iconv.emplace(codec.m_name.constData(), "UTF-8");
#endif
}

LegacyCodec::Encoder::~Encoder() = default;

bool LegacyCodec::Encoder::encode(QByteArrayView utf8, QByteArray &out)
{
    switch (m_state->codec.m_backend) {
    case Backend::Latin1: {
        const QString text = utf8ToQString(utf8);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).unicode() > 0xFF) {
                m_badCharacter = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
                return false;
            }
        }
        out.append(text.toLatin1());
        return true;
    }
    case Backend::Qt: {
        const QString text = utf8ToQString(utf8);
        out.append(m_state->qt->encode(text));
        if (m_state->qt->hasError()) {
            m_badCharacter = firstUnencodable(text, m_state->codec.m_name);
            return false;
        }
        return true;
    }
    case Backend::Iconv:
#ifdef QUILLMEND_HAS_ICONV
        if (qsizetype failedAt = 0; !m_state->iconv->convert(utf8, out, &failedAt)) {
            m_badCharacter = characterAt(utf8, failedAt);
            return false;
        }
        return true;
#endif
        break;
    }
    m_badCharacter = utf8ToQString(utf8).left(1);
    return false;
}
