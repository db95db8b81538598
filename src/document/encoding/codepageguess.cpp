// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/encoding/codepageguess.h"

#include "document/encoding/legacycodec.h"
#include "document/encoding/textplausibility.h"

#include <QList>
#include <QString>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum class Script { Latin, Cyrillic, Greek, Hebrew, Arabic };

// The 8-bit code pages the detector may name, by script. The first of each
// script is the one subtitle files in it most likely use.
struct CodePage
{
    QLatin1StringView name;
    Script script;
    QLatin1StringView windowsCounterpart; // the Windows page of its region
    bool guessTrusted = false;            // common enough to win a tie
};

constexpr CodePage CodePages[] = {
    {"windows-1252"_L1, Script::Latin, "windows-1252"_L1},
    {"ISO-8859-1"_L1, Script::Latin, "windows-1252"_L1},
    {"ISO-8859-15"_L1, Script::Latin, "windows-1252"_L1},
    {"macintosh"_L1, Script::Latin, "windows-1252"_L1},
    {"IBM850"_L1, Script::Latin, "windows-1252"_L1},
    {"IBM437"_L1, Script::Latin, "windows-1252"_L1},
    {"ISO-8859-10"_L1, Script::Latin, "windows-1252"_L1},
    {"windows-1250"_L1, Script::Latin, "windows-1250"_L1},
    {"ISO-8859-2"_L1, Script::Latin, "windows-1250"_L1},
    {"ISO-8859-16"_L1, Script::Latin, "windows-1250"_L1},
    {"MAC-CENTRALEUROPE"_L1, Script::Latin, "windows-1250"_L1},
    {"IBM852"_L1, Script::Latin, "windows-1250"_L1},
    {"windows-1254"_L1, Script::Latin, "windows-1254"_L1},
    {"ISO-8859-9"_L1, Script::Latin, "windows-1254"_L1},
    {"ISO-8859-3"_L1, Script::Latin, "windows-1254"_L1},
    {"windows-1257"_L1, Script::Latin, "windows-1257"_L1},
    {"ISO-8859-13"_L1, Script::Latin, "windows-1257"_L1},
    {"ISO-8859-4"_L1, Script::Latin, "windows-1257"_L1},
    {"windows-1258"_L1, Script::Latin, "windows-1258"_L1},
    {"VISCII"_L1, Script::Latin, "windows-1258"_L1},
    {"windows-1251"_L1, Script::Cyrillic, "windows-1251"_L1},
    {"KOI8-R"_L1, Script::Cyrillic, "windows-1251"_L1, true},
    {"KOI8-U"_L1, Script::Cyrillic, "windows-1251"_L1, true},
    {"IBM866"_L1, Script::Cyrillic, "windows-1251"_L1, true},
    {"ISO-8859-5"_L1, Script::Cyrillic, "windows-1251"_L1},
    {"MAC-CYRILLIC"_L1, Script::Cyrillic, "windows-1251"_L1},
    {"IBM855"_L1, Script::Cyrillic, "windows-1251"_L1},
    {"windows-1253"_L1, Script::Greek, "windows-1253"_L1},
    {"ISO-8859-7"_L1, Script::Greek, "windows-1253"_L1},
    {"windows-1255"_L1, Script::Hebrew, "windows-1255"_L1},
    {"ISO-8859-8"_L1, Script::Hebrew, "windows-1255"_L1},
    {"windows-1256"_L1, Script::Arabic, "windows-1256"_L1},
    {"ISO-8859-6"_L1, Script::Arabic, "windows-1256"_L1},
};

// Without a usable guess, the most plausible of these.
constexpr QLatin1StringView Common[] = {"windows-1252"_L1, "windows-1251"_L1, "KOI8-R"_L1, "IBM866"_L1,
                                        "windows-1253"_L1, "windows-1255"_L1, "windows-1256"_L1};

// A few megabytes tell the detector all it will learn, and the plausibility
// of a code page shows long before a megabyte; decoding checks the whole.
constexpr qsizetype DetectorSample = 8 * 1024 * 1024;
constexpr qsizetype PlausibilitySample = 1024 * 1024;

QByteArray detectorGuess(QByteArrayView bytes)
{
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                                            &uchardet_delete);
    if (!detector)
        return {};
    uchardet_handle_data(detector.get(), bytes.data(), size_t(qMin(bytes.size(), DetectorSample)));
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

const CodePage *findCodePage(QByteArrayView name)
{
    const auto found = std::find_if(std::begin(CodePages), std::end(CodePages), [name](const CodePage &page) {
        return QLatin1StringView(name).compare(page.name, Qt::CaseInsensitive) == 0;
    });
    return found == std::end(CodePages) ? nullptr : found;
}

// The code pages to weigh for a guess, the one to win a tie first.
QList<QLatin1StringView> candidatesFor(const CodePage &guess)
{
    const auto firstOfScript = std::find_if(std::begin(CodePages), std::end(CodePages),
                                            [&](const CodePage &page) { return page.script == guess.script; });
    QList<QLatin1StringView> candidates{firstOfScript->name, guess.windowsCounterpart, guess.name};
    if (guess.guessTrusted)
        candidates.prepend(guess.name);
    // A detector sure of the wrong script is rare, but cheap to catch.
    if (guess.script != Script::Latin)
        candidates.append(CodePages[0].name);
    return candidates;
}

} // namespace

LegacyText decodeLegacyText(QByteArrayView bytes)
{
    LegacyText result;
    const QByteArray guess = detectorGuess(bytes);
    QList<QLatin1StringView> candidates;
    if (const CodePage *page = findCodePage(guess)) {
        candidates = candidatesFor(*page);
    } else {
        // Unicode without a byte-order mark is not guessed: invalid UTF-8 is legacy.
        const bool unicode = guess.isEmpty() || guess.toUpper().startsWith("UTF") || guess.toUpper() == "ASCII";
        const std::optional<LegacyCodec> codec = unicode ? std::nullopt : LegacyCodec::find(guess);
        if (codec && codec->decodeExactly(bytes, result.utf8)) {
            result.encodingName = codec->name(); // a multi-byte page of East Asia
            return result;
        }
        candidates = QList<QLatin1StringView>(std::begin(Common), std::end(Common));
    }

    // The candidates from most to least plausible, on a sample.
    const QByteArrayView sample = bytes.first(qMin(bytes.size(), PlausibilitySample));
    std::vector<std::pair<qint64, LegacyCodec>> weighed;
    for (const QLatin1StringView name : std::as_const(candidates)) {
        const std::optional<LegacyCodec> codec = LegacyCodec::find(QByteArrayView(name.data(), name.size()));
        const auto sameCodec = [&](const auto &entry) { return entry.second.name() == codec->name(); };
        QByteArray text;
        if (!codec || std::any_of(weighed.cbegin(), weighed.cend(), sameCodec) || !codec->decodeExactly(sample, text))
            continue;
        weighed.emplace_back(implausibility(QString::fromUtf8(text)), *codec);
    }
    std::stable_sort(weighed.begin(), weighed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[weight, codec] : weighed) {
        if (codec.decodeExactly(bytes, result.utf8)) {
            result.encodingName = codec.name();
            return result;
        }
    }
    result.encodingName = QByteArrayLiteral("ISO-8859-1");
    result.utf8 = QString::fromLatin1(bytes).toUtf8();
    return result;
}
