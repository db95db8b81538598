// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/readerror.h"

#include "lang/form1messages.h"

namespace {

QString shownLine(const ReadError &error)
{
    // A pathological line would swamp the message; the start is enough.
    constexpr qsizetype shownLength = 200;
    QString shown = error.line.left(shownLength);
    if (error.line.size() > shownLength)
        shown += QStringLiteral("...");
    return shown;
}

QString detail(const ReadError &error, const LangDoc &doc)
{
    using Kind = ReadError::Kind;
    switch (error.kind) {
    case Kind::CannotOpen:
        return GetLangText(doc, Form1Msg::CannotRead).arg(error.reason);
    case Kind::NotRegularFile:
        return GetLangText(doc, Form1Msg::NotRegularFile);
    case Kind::TooLarge:
        return GetLangText(doc, Form1Msg::TooLarge).arg(error.byteOffset);
    case Kind::InvalidUtf8:
        return GetLangText(doc, Form1Msg::InvalidUtf8).arg(error.byteOffset);
    case Kind::InvalidUtf16:
        return GetLangText(doc, Form1Msg::InvalidUtf16).arg(error.byteOffset);
    case Kind::NulByte:
        return GetLangText(doc, Form1Msg::NulByte).arg(error.byteOffset);
    case Kind::NoTimeLine:
        return GetLangText(doc, Form1Msg::NoTimeLine);
    case Kind::NotInEncoding:
        return GetLangText(doc, Form1Msg::NotInEncoding).arg(error.reason);
    case Kind::WebVttNotUtf8:
        return GetLangText(doc, Form1Msg::WebVttNotUtf8).arg(error.reason);
    case Kind::NoWebVttSignature:
        return GetLangText(doc, Form1Msg::AtLine).arg(QStringLiteral("1"), GetLangText(doc, Form1Msg::NoWebVttSignature));
    case Kind::ArrowInCueText:
        return GetLangText(doc, Form1Msg::AtLine)
            .arg(QString::number(error.lineNumber), GetLangText(doc, Form1Msg::ArrowInCueText).arg(shownLine(error)));
    case Kind::BadTimeLine:
        return GetLangText(doc, Form1Msg::AtLine).arg(QString::number(error.lineNumber), shownLine(error));
    }
    return {};
}
} // namespace

QString ReadError::describe(const LangDoc &doc) const
{
    return GetLangText(doc, Form1Msg::ErrorInFile) + QStringLiteral(": ") + detail(*this, doc);
}
