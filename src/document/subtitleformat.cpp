// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/subtitleformat.h"

bool hasWebVttSignature(QByteArrayView text)
{
    if (!text.startsWith("WEBVTT"))
        return false;
    if (text.size() == 6)
        return true;
    const char next = text[6];
    return next == ' ' || next == '\t' || next == '\r' || next == '\n';
}

SubtitleFormat subtitleFormatOf(QByteArrayView utf8)
{
    return hasWebVttSignature(utf8) ? SubtitleFormat::WebVtt : SubtitleFormat::SubRip;
}

bool hasWebVttExtension(QStringView path)
{
    return path.endsWith(u".vtt", Qt::CaseInsensitive);
}

QString subtitleFormatName(SubtitleFormat format)
{
    return format == SubtitleFormat::WebVtt ? QStringLiteral("WebVTT") : QStringLiteral("SubRip");
}
