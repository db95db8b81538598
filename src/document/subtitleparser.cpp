// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/subtitleparser.h"

SubtitleParser::SubtitleParser(QByteArrayView utf8, bool lenientTimes, bool keepUtf8)
{
    if (subtitleFormatOf(utf8) == SubtitleFormat::WebVtt)
        m_webVtt.emplace(utf8, lenientTimes, keepUtf8);
    else
        m_srt.emplace(utf8, lenientTimes, keepUtf8);
}
