// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-encodingcheck: how often the reader picks the right code page
// for real subtitle text. Every UTF-8 file of a corpus folder whose name
// tells its language ("movie.fr.srt") is re-encoded in the code pages that
// language's subtitles come in, with the typographic punctuation Windows
// editors write and with plain ASCII punctuation, whole and in pieces of a
// few subtitles; each is read back as a file would be. A reading is right
// when it gives back the text. The detector's own guess is counted beside.

#include "bencharguments.h"

#include "document/subtitlefile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr const char *usage = "usage: quillmend-encodingcheck [--corpus DIR] [--verbose]\n"
                              "  --corpus DIR  the folder of .srt files (default ../shared/corpus)\n"
                              "  --verbose     list every reading, not only the wrong ones\n";

const std::map<QString, QList<QByteArray>> CodePagesByLanguage{
    {u"en"_qs, {"windows-1252"}},
    {u"fr"_qs, {"windows-1252", "ISO-8859-1"}},
    {u"de"_qs, {"windows-1252", "ISO-8859-1"}},
    {u"es"_qs, {"windows-1252", "ISO-8859-1"}},
    {u"it"_qs, {"windows-1252", "ISO-8859-1"}},
    {u"ru"_qs, {"windows-1251", "KOI8-R", "IBM866"}},
    {u"el"_qs, {"windows-1253", "ISO-8859-7"}},
    {u"he"_qs, {"windows-1255", "ISO-8859-8"}},
    {u"ar"_qs, {"windows-1256"}},
    {u"fa"_qs, {"windows-1256"}},
    {u"ja"_qs, {"Shift_JIS", "EUC-JP"}},
    {u"zh"_qs, {"GB18030", "Big5"}},
    {u"zh_CN"_qs, {"GB18030", "Big5"}},
};

// Straight quotes turned curly, "..." into an ellipsis and spaced hyphens
// into dashes, as a word processor does while typing.
QString typographic(const QString &line)
{
    QString text = line;
    text.replace(u"..."_qs, u"…"_qs).replace(u" - "_qs, u" – "_qs);
    if (text.startsWith(u"- "_qs))
        text[0] = u'–';
    bool opening = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\'') {
            text[i] = i > 0 && text[i - 1].isLetterOrNumber() ? u'’' : u'‘';
        } else if (text[i] == u'"') {
            text[i] = opening ? u'“' : u'”';
            opening = !opening;
        }
    }
    return text;
}

// A line as a plain editor in a smaller code page has it; bidirectional
// marks and the Persian yeh, which the Arabic page lacks, are replaced.
QString plain(QString line)
{
    for (const QChar quote : u"“”„«»")
        line.replace(quote, u'"');
    line.replace(u'’', u'\'').replace(u'‘', u'\'').replace(u"…"_qs, u"..."_qs).replace(u'–', u'-').replace(u'—', u'-');
    line.replace(QChar(0x06CC), QChar(0x064A)).remove(QRegularExpression(u"[\u200E\u200F\u202A-\u202E]"_qs));
    return line;
}

QByteArray detectorGuess(const QByteArray &bytes)
{
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                                            &uchardet_delete);
    uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size()));
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

struct Tally
{
    int readings = 0;
    int right = 0;
    int detectorRight = 0;
};

void check(const QString &name, const QByteArray &codePage, const QString &label, const QStringList &lines,
           bool verbose, Tally &tally)
{
    QByteArray file;
    QString text;
    for (const QString &line : lines) {
        QStringEncoder encoder(codePage.constData());
        QByteArray bytes = encoder.encode(line);
        QString kept = line;
        if (encoder.hasError()) {
            kept = plain(line);
            QStringEncoder again(codePage.constData());
            bytes = again.encode(kept);
            if (again.hasError())
                continue; // a line the code page cannot hold at all
        }
        file += bytes + "\r\n";
        text += kept + u"\r\n";
    }
    // Text that is still UTF-8 is read as UTF-8, rightly: no code page to guess.
    DecodedSubtitles decoded;
    ReadError error;
    if (!decodeSubtitleBytes(file, decoded, error) || decoded.encoding.kind != FileEncoding::Kind::Legacy)
        return;
    ++tally.readings;
    const bool right = QString::fromUtf8(decoded.utf8()) == text;
    const QByteArray guess = detectorGuess(file);
    const bool detectorRight = QStringDecoder(guess.isEmpty() ? "ISO-8859-1" : guess.constData()).decode(file) == text;
    tally.right += right;
    tally.detectorRight += detectorRight;
    if (!right || verbose)
        std::printf("%-5s %-45s %-13s %-22s read as %-14s (detector: %s)\n", right ? "right" : "WRONG",
                    qPrintable(name), codePage.constData(), qPrintable(label),
                    decoded.encoding.legacyName.constData(), guess.constData());
}

} // namespace

int main(int argc, char **argv)
{
    std::string corpus = "../shared/corpus";
    bool verbose = false;
    std::string unexpected;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (!arguments.takeText("--corpus", corpus) && !arguments.takeFlag("--verbose", verbose))
            arguments.takePositional(unexpected);
    }
    if (arguments.hasError() || !unexpected.empty()) {
        std::fprintf(stderr, "%s\n%s", arguments.hasError() ? arguments.error().c_str() : "unexpected argument", usage);
        return 2;
    }

    const QDir folder(QString::fromStdString(corpus));
    Tally tally;
    for (const QString &name : folder.entryList({u"*.srt"_qs}, QDir::Files, QDir::Name)) {
        const auto language = std::find_if(CodePagesByLanguage.begin(), CodePagesByLanguage.end(), [&](const auto &entry) {
            return name.split(u'.').contains(entry.first);
        });
        QFile file(folder.filePath(name));
        DecodedSubtitles decoded;
        ReadError error;
        if (language == CodePagesByLanguage.end() || !file.open(QIODevice::ReadOnly)
            || !decodeSubtitleBytes(file.readAll(), decoded, error) || decoded.encoding.kind == FileEncoding::Kind::Legacy)
            continue;
        const QStringList lines = QString::fromUtf8(decoded.utf8()).split(QRegularExpression(u"\r\n|\r|\n"_qs));
        for (const QByteArray &codePage : language->second) {
            for (const bool curly : {true, false}) {
                QStringList prepared;
                for (const QString &line : lines)
                    prepared << (curly ? typographic(line) : plain(line));
                // The whole file, and pieces of a few subtitles from all over it.
                check(name, codePage, curly ? u"typographic"_qs : u"plain"_qs, prepared, verbose, tally);
                for (const qsizetype piece : {12, 40}) {
                    for (qsizetype at = 0; at + piece <= prepared.size(); at += piece * 25)
                        check(name, codePage, (curly ? u"typographic, lines %1+"_qs : u"plain, lines %1+"_qs).arg(at + 1),
                              prepared.mid(at, piece), verbose, tally);
                }
            }
        }
    }
    if (tally.readings == 0) {
        std::fprintf(stderr, "no file to check in %s\n%s", corpus.c_str(), usage);
        return 1;
    }
    std::printf("%d readings: %d right (%.1f%%); the detector alone %d right (%.1f%%)\n", tally.readings, tally.right,
                100.0 * tally.right / tally.readings, tally.detectorRight, 100.0 * tally.detectorRight / tally.readings);
    return tally.right == tally.readings ? 0 : 1;
}
