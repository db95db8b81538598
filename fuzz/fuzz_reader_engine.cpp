// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes through encoding detection, the reader and the
// correction run with settings taken from the first bytes, and checks what
// must hold for any input: no crash, no hang, and a sane corrected document.
#include "document/srtparser.h"
#include "document/srtwriter.h"
#include "document/subtitlefile.h"
#include "engine/correctionrun.h"
#include "lang/langdoc.h"
#include "settings/settings.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

Settings settingsFrom(const uint8_t *data, size_t size)
{
    Settings settings;
    if (size < 3)
        return settings;
    settings.MaxLen = 1 + data[0] % 60;
    settings.LettersFor1Min = 1 + data[1] % 40;
    const uint8_t flags = data[2];
    settings.JoinSubsAbove2Lines = flags & 1;
    settings.BuyTime = flags & 2;
    settings.CorrectSubsAbove2Lines = flags & 4;
    settings.ParseAllTimes = flags & 8;
    settings.BrakeTo2 = !(flags & 16);
    settings.GuidelineBreaks = flags & 32;
    settings.MinGapMs = 1 + (flags >> 6) * 40;
    // A byte of its own: the gap takes the high bits of the flags.
    settings.LenientTimes = data[1] & 1;
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Settings settings = settingsFrom(data, size);
    const size_t skip = size < 3 ? 0 : 3;
    QByteArray bytes(reinterpret_cast<const char *>(data + skip), qsizetype(size - skip));

    DecodedSubtitles decoded;
    ReadError error;
    if (!decodeSubtitleBytes(bytes, decoded, error))
        return 0;

    std::vector<SubtitleRow> rowsRead;
    const bool readable = readSubtitleRows(decoded.utf8(), rowsRead, error, settings.LenientTimes);

    RowCollector collector;
    const LangDoc lang;
    const WeakWordLists weakWords{{QStringLiteral("English"), {U"the", U"a", U"to", U"mr."}}};
    const CorrectionResult result = runCorrection(decoded.utf8(), settings, lang, collector, weakWords);
    check(result.ok == readable);
    if (!result.ok)
        return 0;

    // Every subtitle read comes out, whole or as two halves, in order, with
    // text, and numbered 1, 2, 3 ...
    check(result.subtitlesIn == qint64(rowsRead.size()));
    check(result.subtitlesOut == qint64(collector.rows.size()));
    check(result.subtitlesOut >= result.subtitlesIn);
    check(result.subtitlesOut - result.subtitlesIn == result.counters.splits);
    check(qint64(result.records.size()) <= result.subtitlesIn);
    int previousTag = 0;
    for (size_t i = 0; i < collector.rows.size(); ++i) {
        const SubtitleRow &row = collector.rows[i];
        check(row.number == int(i) + 1);
        check(!row.text.isEmpty());
        check(row.tag >= previousTag && row.tag >= 1 && row.tag <= result.subtitlesIn);
        previousTag = row.tag;
    }

    // Whatever was read can be written back in its own encoding.
    QByteArray fileBytes;
    QString badCharacter;
    check(encodeSubtitleFile(collector.rows, decoded.encoding, fileBytes, badCharacter));
    return 0;
}
