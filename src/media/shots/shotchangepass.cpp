// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotchangepass.h"

#include "media/peakdecoder.h"

ShotChangePass::ShotChangePass(PeakDecoder &decoder)
{
    AVFormatContext *format = decoder.format();
    const int stream = format ? VideoScanner::firstVideoStream(format) : -1;
    MediaError error;
    if (stream < 0 || !m_scanner.start(format, stream, error))
        return;
    m_attached = true;
    decoder.setPacketTap(stream, [this](const AVPacket *packet) { m_scanner.takePacket(packet); });
}

std::optional<DetectedShots> ShotChangePass::finish(const QString &path)
{
    if (!m_attached)
        return std::nullopt;
    DetectedShots shots;
    shots.hasPicture = true;
    shots.shotChanges = m_scanner.finish();
    shots.frames = m_scanner.frames();
    if (shots.frames == 0)
        return std::nullopt;
    if (const auto source = MediaSource::of(path))
        shots.source = *source;
    return shots;
}
