// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-breakquality: corrects the real subtitle files of a corpus with
// the default line breaks and with GuidelineBreaks, and counts in each mode
// how many of the subtitles broken into two lines go against subtitling
// guidelines. Then checks, with MinGapMs=83, that no subtitle the correction
// moved or gave time to comes closer to its neighbour than that.
//
// The judgement here is written apart from the engine's rules on purpose:
// it looks only at the lines written, the joined text they came from and
// the language the file name gives.

#include "document/srtparser.h"
#include "document/subtitlefile.h"
#include "document/unicodetext.h"
#include "engine/correctionrun.h"
#include "lang/langdoc.h"
#include "engine/weakwordfiles.h"
#include "settings/settings.h"

#include <QChar>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Text = std::u32string;
using View = std::u32string_view;

constexpr const char *usage =
    "usage: quillmend-breakquality [--corpus DIR] [--show]\n"
    "  --corpus DIR  the folder of .srt files (default: ../shared/corpus beside the sources)\n"
    "  --show        print every subtitle found at fault, in both modes\n";

// The languages judged, by the code in the file name: "hangover.en.srt".
const std::map<QString, QString> Languages{
    {QStringLiteral("en"), QStringLiteral("English")}, {QStringLiteral("fr"), QStringLiteral("French")},
    {QStringLiteral("de"), QStringLiteral("German")},  {QStringLiteral("es"), QStringLiteral("Spanish")},
    {QStringLiteral("it"), QStringLiteral("Italian")}, {QStringLiteral("el"), QStringLiteral("Greek")},
};

constexpr int GapMs = 83; // two frames at 24 fps

struct Output
{
    qint32 ordinal = 0;
    double startSeconds = 0;
    double endSeconds = 0;
    Text text;
};

class Collector : public CorrectionSink
{
public:
    std::vector<Output> rows;
    void addSubtitle(const CorrectedSubtitle &subtitle) override
    {
        Text text(subtitle.text);
        if (subtitle.textAsRead)
            appendUtf8(text, subtitle.utf8Text);
        rows.push_back({subtitle.ordinal, subtitle.startSeconds, subtitle.endSeconds, std::move(text)});
    }
};

// A line as shown: tags left out, blanks at the ends trimmed.
Text shown(View line)
{
    Text out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == U'<') {
            const size_t close = line.find(U'>', i);
            if (close != View::npos && i + 1 < line.size() && (QChar::isLetter(line[i + 1]) || line[i + 1] == U'/')) {
                i = close;
                continue;
            }
        }
        out += line[i];
    }
    const size_t first = out.find_first_not_of(U' ');
    if (first == Text::npos)
        return {};
    return out.substr(first, out.find_last_not_of(U' ') - first + 1);
}

qint64 lettersIn(View text)
{
    return std::count_if(text.begin(), text.end(), [](char32_t c) { return QChar::isLetterOrNumber(c); });
}

bool isLoneWordOrNoLetter(View line)
{
    const Text visible = shown(line);
    return lettersIn(visible) == 0 || visible.find(U' ') == Text::npos;
}

Text lastWordFolded(View line)
{
    const Text visible = shown(line);
    Text word(visible.substr(visible.rfind(U' ') == Text::npos ? 0 : visible.rfind(U' ') + 1));
    const auto firstLetter =
        std::find_if(word.begin(), word.end(), [](char32_t c) { return QChar::isLetterOrNumber(c); });
    word.erase(word.begin(), firstLetter);
    Text folded;
    foldWord(word, folded);
    return folded;
}

bool endsOnWeakWord(View line, const WeakWordList &weak)
{
    return weak.words.contains(lastWordFolded(line));
}

bool endsSentence(View line, const WeakWordList &weak)
{
    const Text visible = shown(line);
    size_t end = visible.size();
    while (end > 0 && (visible[end - 1] == U'"' || visible[end - 1] == U'\'' || visible[end - 1] == U'\u00BB'
                       || visible[end - 1] == U'\u201D' || visible[end - 1] == U')'))
        --end;
    if (end == 0)
        return false;
    const char32_t mark = visible[end - 1];
    if (mark != U'.' && mark != U'?' && mark != U'!' && mark != U'\u2026' && mark != U'\u037E')
        return false;
    const Text word = lastWordFolded(line);
    const bool isInitial = word.size() == 2 && word[1] == U'.';
    return !isInitial && !weak.words.contains(word);
}

bool isBalanced(qint64 first, qint64 second)
{
    return 2 * std::min(first, second) >= std::max(first, second);
}

bool isNotLopsided(qint64 first, qint64 second)
{
    return 3 * first >= first + second && 3 * second >= first + second;
}

bool insideTag(View text, size_t index)
{
    const size_t open = text.rfind(U'<', index);
    const size_t close = open == View::npos ? View::npos : text.find(U'>', open);
    return close != View::npos && close > index;
}

struct Faults
{
    qint64 broken = 0; // subtitles broken into two lines
    qint64 anyFault = 0;
    qint64 loneWord = 0;
    qint64 weakEnd = 0;
    qint64 unbalanced = 0;
    qint64 ignoredSentenceEnd = 0;
    qint64 overMaxLen = 0;

    void add(const Faults &other)
    {
        broken += other.broken;
        anyFault += other.anyFault;
        loneWord += other.loneWord;
        weakEnd += other.weakEnd;
        unbalanced += other.unbalanced;
        ignoredSentenceEnd += other.ignoredSentenceEnd;
        overMaxLen += other.overMaxLen;
    }
    double share() const { return broken ? 100.0 * double(anyFault) / double(broken) : 0.0; }
};

// Judges one subtitle of two lines; the added counts are characters of tags
// a split added to each line, which do not count toward MaxLen.
void judge(View first, View second, qint64 firstAdded, qint64 secondAdded, qint64 maxLength,
           const WeakWordList &weak, Faults &faults, bool show)
{
    const Text joined = Text(first) + U' ' + Text(second);
    const auto firstShown = qint64(shown(first).size());
    const auto secondShown = qint64(shown(second).size());

    // What other blanks would have given.
    bool balancedExists = false;
    bool sentenceEndExists = false;
    for (size_t i = joined.find(U' '); i != Text::npos; i = joined.find(U' ', i + 1)) {
        const View a = View(joined).substr(0, i);
        const View b = View(joined).substr(i + 1);
        if (qint64(a.size()) > maxLength || qint64(b.size()) > maxLength || insideTag(joined, i))
            continue;
        const auto aShown = qint64(shown(a).size());
        const auto bShown = qint64(shown(b).size());
        balancedExists = balancedExists || isBalanced(aShown, bShown);
        sentenceEndExists = sentenceEndExists || (isNotLopsided(aShown, bShown) && endsSentence(a, weak));
    }

    const bool lone = isLoneWordOrNoLetter(first) || isLoneWordOrNoLetter(second);
    const bool weakEnd = endsOnWeakWord(first, weak);
    const bool unbalanced = !isBalanced(firstShown, secondShown) && balancedExists;
    const bool ignored = sentenceEndExists && !endsSentence(first, weak);
    const bool over = qint64(first.size()) - firstAdded > maxLength || qint64(second.size()) - secondAdded > maxLength;
    ++faults.broken;
    faults.loneWord += lone;
    faults.weakEnd += weakEnd;
    faults.unbalanced += unbalanced;
    faults.ignoredSentenceEnd += ignored;
    faults.overMaxLen += over;
    const bool any = lone || weakEnd || unbalanced || ignored || over;
    faults.anyFault += any;
    if (show && any)
        std::printf("    %s%s%s%s%s| %s | %s\n", lone ? "lone " : "", weakEnd ? "weak " : "",
                    unbalanced ? "unbalanced " : "", ignored ? "sentence " : "", over ? "long " : "",
                    QString::fromStdU32String(Text(first)).toUtf8().constData(),
                    QString::fromStdU32String(Text(second)).toUtf8().constData());
}

// Judges the rows of a run that were broken into two lines. reference: the
// rows of the default run, which differ from guideline rows only by line
// breaks and by the tags a split carries over; the first part of a split
// gets them at its end, the second at its start.
Faults judgeRun(const std::vector<Output> &rows, const CorrectionResult &result,
                const std::vector<Output> *reference, qint64 maxLength, const WeakWordList &weak, bool show)
{
    std::map<qint32, EditRecord::Change> changes;
    for (const EditRecord &record : result.records)
        changes[record.ordinal] = record.change;
    Faults faults;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto change = changes.find(rows[i].ordinal);
        if (change == changes.end() || change->second == EditRecord::Change::None)
            continue;
        const View text = rows[i].text;
        const size_t lineBreak = text.find(U"\r\n");
        if (lineBreak == View::npos || text.find(U"\r\n", lineBreak + 2) != View::npos)
            continue;
        qint64 firstAdded = 0;
        qint64 secondAdded = 0;
        if (reference) {
            const qint64 added = qint64(text.size()) - qint64((*reference)[i].text.size());
            const bool isFirstPart = i + 1 < rows.size() && rows[i + 1].ordinal == rows[i].ordinal;
            (isFirstPart ? secondAdded : firstAdded) = added;
        }
        judge(text.substr(0, lineBreak), text.substr(lineBreak + 2), firstAdded, secondAdded, maxLength, weak,
              faults, show);
    }
    return faults;
}

// Subtitles as read that have text, in order: the ordinals of the run.
std::vector<SrtEntry> entriesOf(QByteArrayView utf8)
{
    std::vector<SrtEntry> entries;
    SrtParser parser(utf8);
    SrtEntry entry;
    while (parser.next(entry)) {
        if (!entry.text.empty())
            entries.push_back(entry);
    }
    return entries;
}

// The same subtitles with the same times.
bool sameShape(const std::vector<Output> &a, const std::vector<Output> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](const Output &x, const Output &y) {
        return x.ordinal == y.ordinal && x.startSeconds == y.startSeconds && x.endSeconds == y.endSeconds;
    });
}

// Rows of b with fewer lines than in a: kept whole where the only blank
// that fitted was inside a tag.
qint64 keptWhole(const std::vector<Output> &a, const std::vector<Output> &b)
{
    qint64 count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += std::count(a[i].text.begin(), a[i].text.end(), U'\n')
            > std::count(b[i].text.begin(), b[i].text.end(), U'\n');
    return count;
}

struct GapCheck
{
    qint64 pairs = 0;  // neighbours where a start moved or time was bought
    qint64 closer = 0; // of those, closer than the gap
};

// Neighbours that are not the two halves of one split.
void checkGaps(const std::vector<SrtEntry> &entries, const std::vector<Output> &rows, GapCheck &check,
               const QString &file)
{
    for (size_t i = 1; i < rows.size(); ++i) {
        const Output &a = rows[i - 1];
        const Output &b = rows[i];
        if (a.ordinal == b.ordinal || a.ordinal < 1 || size_t(b.ordinal) > entries.size())
            continue;
        // a is whole or the second half of a split, b whole or the first.
        const bool endChanged = a.endSeconds != entries[size_t(a.ordinal) - 1].endSeconds;
        const bool startChanged = b.startSeconds != entries[size_t(b.ordinal) - 1].startSeconds;
        if (!endChanged && !startChanged)
            continue;
        ++check.pairs;
        const double gapMs = std::round((b.startSeconds - a.endSeconds) * 1000.0);
        if (gapMs < GapMs) {
            ++check.closer;
            std::printf("  %s: subtitles %d and %d are %.0f ms apart\n", qPrintable(file), a.ordinal, b.ordinal,
                        gapMs);
        }
    }
}

void printRow(const char *name, const Faults &faults)
{
    std::printf("  %-10s %6lld %6lld %6lld %6lld %6lld %6lld %6lld %6.1f%%\n", name, (long long)faults.broken,
                (long long)faults.loneWord, (long long)faults.weakEnd, (long long)faults.unbalanced,
                (long long)faults.ignoredSentenceEnd, (long long)faults.overMaxLen, (long long)faults.anyFault,
                faults.share());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QString corpus = QStringLiteral(QUILLMEND_SOURCE_DIR "/../shared/corpus");
    bool show = false;
    const QStringList arguments = application.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--corpus" && i + 1 < arguments.size()) {
            corpus = arguments[++i];
        } else if (arguments[i] == u"--show") {
            show = true;
        } else {
            std::fputs(usage, arguments[i] == u"--help" ? stdout : stderr);
            return arguments[i] == u"--help" ? 0 : 2;
        }
    }
    const QDir folder(corpus);
    const QStringList files = folder.entryList({QStringLiteral("*.srt")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "quillmend-breakquality: no .srt files in %s (pass --corpus DIR)\n", qPrintable(corpus));
        return 1;
    }

    const LangDoc lang;
    QStringList problems;
    const WeakWordLists weakWords = loadWeakWordLists({QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}, lang, problems);
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "quillmend-breakquality: %s\n", qPrintable(problems.join(u'\n')));
        return 1;
    }

    Settings defaults;
    Settings guideline;
    guideline.GuidelineBreaks = true;
    Settings gap;
    gap.MinGapMs = GapMs;

    std::map<QString, Faults> defaultByLanguage;
    std::map<QString, Faults> guidelineByLanguage;
    GapCheck gapCheck;
    qint64 shapeChanges = 0;
    qint64 whole = 0;
    qint64 gapFiles = 0;
    std::printf("%-44s %-9s %s\n", "file", "told", "re-broken, faulty: default -> guideline");
    for (const QString &file : files) {
        DecodedSubtitles decoded;
        ReadError error;
        if (!readSubtitleFile(folder.filePath(file), decoded, error))
            continue;
        const std::vector<SrtEntry> entries = entriesOf(decoded.utf8());

        Collector gapped;
        if (runCorrection(decoded.utf8(), gap, lang, gapped).ok) {
            ++gapFiles;
            checkGaps(entries, gapped.rows, gapCheck, file);
        }

        const auto language = Languages.find(file.section(u'.', 1, 1));
        if (language == Languages.end())
            continue;
        const auto weak = std::find_if(weakWords.begin(), weakWords.end(),
                                       [&](const WeakWordList &list) { return list.language == language->second; });
        if (weak == weakWords.end())
            continue;

        Collector before;
        Collector after;
        const CorrectionResult beforeResult = runCorrection(decoded.utf8(), defaults, lang, before, weakWords);
        const CorrectionResult afterResult = runCorrection(decoded.utf8(), guideline, lang, after, weakWords);
        if (!beforeResult.ok || !afterResult.ok)
            continue;
        if (show)
            std::printf("%s, default:\n", qPrintable(file));
        const Faults a = judgeRun(before.rows, beforeResult, nullptr, defaults.MaxLen, *weak, show);
        if (!sameShape(before.rows, after.rows)) {
            std::printf("%s: the guideline run changed more than line breaks\n", qPrintable(file));
            ++shapeChanges;
            continue;
        }
        whole += keptWhole(before.rows, after.rows);
        if (show)
            std::printf("%s, guideline:\n", qPrintable(file));
        const Faults b = judgeRun(after.rows, afterResult, &before.rows, guideline.MaxLen, *weak, show);
        defaultByLanguage[language->second].add(a);
        guidelineByLanguage[language->second].add(b);
        std::printf("%-44s %-9s %4lld, %4lld -> %4lld\n", qPrintable(file),
                    qPrintable(afterResult.language->isEmpty() ? QStringLiteral("-") : *afterResult.language),
                    (long long)a.broken, (long long)a.anyFault, (long long)b.anyFault);
    }

    std::printf("\nsubtitles broken into two lines, and those at fault (MaxLen %d)\n", defaults.MaxLen);
    std::printf("  %-10s %6s %6s %6s %6s %6s %6s %6s %7s\n", "", "broken", "lone", "weak", "unbal", "sent.", "long",
                "faulty", "share");
    Faults defaultTotal;
    Faults guidelineTotal;
    for (const auto &[language, faults] : defaultByLanguage) {
        std::printf("%s\n", qPrintable(language));
        printRow("default", faults);
        printRow("guideline", guidelineByLanguage[language]);
        defaultTotal.add(faults);
        guidelineTotal.add(guidelineByLanguage[language]);
    }
    std::printf("all\n");
    printRow("default", defaultTotal);
    printRow("guideline", guidelineTotal);

    const bool sharePasses = guidelineTotal.share() * 3.0 <= defaultTotal.share();
    std::printf("\nguideline faults a third of default or less  %s  (%.1f%% against %.1f%%)\n",
                sharePasses ? "PASS" : "FAIL", guidelineTotal.share(), defaultTotal.share());
    std::printf("guideline lines over MaxLen                  %s  (%lld)\n",
                guidelineTotal.overMaxLen == 0 ? "PASS" : "FAIL", (long long)guidelineTotal.overMaxLen);
    std::printf("guideline changes only line breaks           %s  (%lld files differ; %lld subtitles kept on\n"
                "                                                   one line, their blanks all inside tags)\n",
                shapeChanges == 0 ? "PASS" : "FAIL", (long long)shapeChanges, (long long)whole);
    std::printf("MinGapMs=%d, %lld files: %lld moved or retimed neighbours, %lld closer  %s\n", GapMs,
                (long long)gapFiles, (long long)gapCheck.pairs, (long long)gapCheck.closer,
                gapCheck.closer == 0 ? "PASS" : "FAIL");
    return 0;
}
