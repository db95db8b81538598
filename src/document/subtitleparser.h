// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/readerror.h"
#include "document/srtparser.h"
#include "document/subtitleformat.h"
#include "document/webvtt/webvttparser.h"

#include <QByteArrayView>

#include <optional>

// Reads the entries of a subtitle text in its own format, told by its
// content: the SRT reader's or the WebVTT reader's, with the same entries.
class SubtitleParser
{
public:
    explicit SubtitleParser(QByteArrayView utf8, bool lenientTimes = false, bool keepUtf8 = false);

    SubtitleFormat format() const { return m_webVtt ? SubtitleFormat::WebVtt : SubtitleFormat::SubRip; }
    bool next(SrtEntry &entry) { return m_webVtt ? m_webVtt->next(entry) : m_srt->next(entry); }
    const std::optional<ReadError> &error() const { return m_webVtt ? m_webVtt->error() : m_srt->error(); }
    qsizetype position() const { return m_webVtt ? m_webVtt->position() : m_srt->position(); }
    qint64 lenientTimeLines() const { return m_webVtt ? m_webVtt->lenientTimeLines() : m_srt->lenientTimeLines(); }

private:
    std::optional<SrtParser> m_srt;
    std::optional<WebVttParser> m_webVtt;
};
