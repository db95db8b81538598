// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The kinds of subtitle file read and written. A file is WebVTT by its
// content, the "WEBVTT" signature; anything else is SubRip.
enum class SubtitleFormat { SubRip, WebVtt };

// Whether text (after any byte-order mark) starts with the signature: "WEBVTT"
// alone on its line, or followed by a blank or a tab.
bool hasWebVttSignature(QByteArrayView text);
SubtitleFormat subtitleFormatOf(QByteArrayView utf8);

// Whether path ends in ".vtt", in any letter case: such a file must be WebVTT.
bool hasWebVttExtension(QStringView path);

// "SubRip" or "WebVTT".
QString subtitleFormatName(SubtitleFormat format);
