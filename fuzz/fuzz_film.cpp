// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes arbitrary bytes as a film and runs them through what the window
// learns of a film with FFmpeg's libraries: the check of the container, the
// tracks, the sound's peaks with the shot changes in the same pass, and the
// picture's frame span. Checks what must hold for any file: no crash, no
// hang, a clear error or peaks no longer than the file can hold.
#include "lang/langdoc.h"
#include "media/peakdecoder.h"
#include "media/shots/shotchangepass.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    PeakDecoder::prepareProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("film"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }

    PeakDecoder::looksLikeKnownContainer(path);
    PeakDecoder decoder;
    MediaError error;
    if (!decoder.open(path, error)) {
        check(error.isError() && error.path == path);
        return 0;
    }
    const LangDoc lang;
    for (const AudioTrack &track : decoder.audioTracks())
        check(!track.label(lang).isEmpty());

    std::optional<ShotChangePass> pass;
    pass.emplace(decoder);
    const std::optional<Peaks> peaks = decoder.decode(-1, error);
    if (peaks) {
        check(!error.isError());
        check(peaks->sampleRate >= PeakDecoder::minimumSampleRate);
        // At most what a minute of sound and 16 bins a byte come to.
        check(qint64(peaks->bins.size()) <= qint64(size) * 16 + 6000);
        check(qint64(peaks->bins.size()) <= peaks->durationMs / Peaks::binMs + 1);
        pass->finish(path);
    } else {
        check(error.isError());
    }
    pass.reset();
    if (const std::optional<PeakDecoder::FrameSpan> span = decoder.videoFrameSpan()) {
        check(span->firstSeconds >= 0);
        check(span->lastSeconds < 0 || span->lastSeconds >= span->firstSeconds);
    }
    return 0;
}
