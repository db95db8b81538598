// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-webvttcheck: the WebVTT correction against the SRT one on real
// subtitles. Every .srt file of a corpus folder is written as WebVTT (its
// subtitles as the SRT reader reads them, numbered as identifiers, times
// without hours under an hour, LF line ends), and both files are corrected
// as quillmend-cli corrects them, with the settings sets of the default
// output check. Counted: the cues whose times and text equal the SRT
// correction's, those that differ because the WebVTT count leaves out tags
// and entities (the subtitle or a neighbour holds a "<" or "&"), and any
// other difference, which is a fault; and every block and cue the
// correction did not touch, which must be byte for byte the input's. The
// WebVTT inputs and outputs are kept in the work folder for the external
// checks of bench/webvtt-external-check.sh.

#include "app/cli/filecorrection.h"
#include "document/prompter.h"
#include "document/unicodetext.h"
#include "engine/correctionrun.h"
#include "engine/cuetext.h"
#include "document/srtparser.h"
#include "document/subtitlefile.h"
#include "document/timecode.h"
#include "document/webvtt/webvttlayout.h"
#include "document/webvtt/webvtttime.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace {

constexpr const char *usage = "usage: quillmend-webvttcheck [--corpus DIR] [--work DIR] [--show]\n"
                              "  --corpus DIR  the folder of .srt files (default: ../shared/corpus beside the sources)\n"
                              "  --work DIR    where the WebVTT files go (default: a folder in the build)\n"
                              "  --show        list every difference\n";

// Takes the default answer; the work folder has no backups to ask about.
class SilentPrompter : public Prompter
{
public:
    void inform(const QString &, const QString &) override {}
    Answer ask(const QString &, Buttons, Answer defaultAnswer) override { return defaultAnswer; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return {}; }
};

QByteArray webVttTime(qint64 milliseconds)
{
    char text[MaxWebVttTimeLength];
    return QByteArray(text, writeWebVttTime(milliseconds, 0, text));
}

// The entries of an SRT text as a WebVTT file, those without text too, whose ends bound the next subtitle as in SRT;
// a "-->" in a text, which would end its cue, is written as an entity.
QByteArray webVttOf(QByteArrayView srt)
{
    QByteArray file = "WEBVTT\n\n";
    SrtParser parser(srt, false, true);
    SrtEntry entry;
    for (int number = 0; parser.next(entry);) {
        if (number == 0 && entry.startSeconds == 0.0 && entry.endSeconds == 0.0 && entry.utf8Text.empty())
            continue; // the text before the first time line, when there is none
        file += QByteArray::number(++number) + '\n' + webVttTime(SecondsToMilliseconds(entry.startSeconds)) + " --> "
            + webVttTime(SecondsToMilliseconds(entry.endSeconds)) + '\n'
            + QByteArray::fromStdString(entry.utf8Text).replace("\r\n", "\n").replace("-->", "--&gt;") + "\n\n";
    }
    return file;
}

// Each line of text as the viewer of a WebVTT cue sees it.
QByteArray visibleLines(QByteArrayView utf8)
{
    QByteArrayList lines;
    CueText cue;
    for (const QByteArray &line : utf8.toByteArray().split('\n')) {
        std::u32string text;
        appendUtf8(text, QByteArray(line).replace('\r', ""));
        cue.assign(text);
        lines << toQString(cue.visible()).toUtf8();
    }
    return lines.join("\r\n");
}

// The same SRT text with every line as a WebVTT viewer would see it: tags out, each entity one character.
QByteArray visibleSrtOf(QByteArrayView srt)
{
    QByteArray file;
    SrtParser parser(srt, false, true);
    SrtEntry entry;
    for (int number = 0; parser.next(entry);) {
        if (number == 0 && entry.startSeconds == 0.0 && entry.endSeconds == 0.0 && entry.utf8Text.empty())
            continue; // as in webVttOf
        file += QByteArray::number(++number) + "\r\n" + MillisecondsToTimeText(SecondsToMilliseconds(entry.startSeconds)).toLatin1()
            + " --> " + MillisecondsToTimeText(SecondsToMilliseconds(entry.endSeconds)).toLatin1() + "\r\n"
            + visibleLines(QByteArray::fromStdString(entry.utf8Text)) + "\r\n\r\n"; // no text: no subtitle, an end
    }
    return file;
}

// The corrected rows of each subtitle as read, by ordinal, and the texts as read.
struct Correction
{
    std::map<qint32, std::vector<SubtitleRow>> rows;
    std::map<qint32, QByteArray> asRead;
    bool ok = false;
};

class OrdinalCollector : public RowCollector
{
public:
    std::map<qint32, QByteArray> asRead;
    void addSubtitleAsRead(const SubtitleAsRead &subtitle) override
    {
        asRead[subtitle.ordinal] = subtitle.utf8Text.toByteArray();
    }
};

Correction correction(QByteArrayView utf8, const Settings &settings)
{
    OrdinalCollector collector;
    Correction result;
    result.ok = runCorrection(utf8, settings, LangDoc(), collector).ok;
    for (SubtitleRow &row : collector.rows)
        result.rows[row.tag].push_back(std::move(row));
    result.asRead = std::move(collector.asRead);
    return result;
}

struct Counts
{
    qint64 visibleEqual = 0; // WebVTT as seen against SRT made of what is seen
    qint64 visibleDiffering = 0;
    qint64 onlyTags = 0;
    qint64 files = 0;
    qint64 subtitles = 0;
    qint64 equal = 0;
    qint64 tagsOrEntities = 0; // differ, in a run of differing subtitles beside one with a tag or an entity
    qint64 otherwise = 0;      // differ for no such reason: faults
    qint64 untouched = 0;      // cues and blocks the correction left alone
    qint64 untouchedChanged = 0;
};

// Times and texts alike; the numbers follow from the subtitles before.
bool sameRows(const std::vector<SubtitleRow> &a, const std::vector<SubtitleRow> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SubtitleRow &x, const SubtitleRow &y) {
        return x.startText == y.startText && x.endText == y.endText && x.text == y.text;
    });
}

bool hasTagOrEntity(const QByteArray &text)
{
    return text.contains('<') || text.contains('&');
}

QString rowsText(const std::vector<SubtitleRow> &rows)
{
    QStringList texts;
    for (const SubtitleRow &row : rows)
        texts << row.startText + u' ' + row.endText + u' ' + QString(row.text).replace(u"\r\n"_qs, u"/"_qs);
    return texts.join(u" | "_qs);
}

// Compares the corrections of the SRT text and of the WebVTT one, subtitle by subtitle.
void compareCorrections(const QString &name, const Correction &srt, const Correction &vtt, bool show, Counts &counts)
{
    ++counts.files;
    const qint32 last = srt.rows.empty() ? 0 : srt.rows.rbegin()->first;
    std::vector<qint32> differing;
    for (qint32 ordinal = 1; ordinal <= last; ++ordinal) {
        ++counts.subtitles;
        const auto a = srt.rows.find(ordinal), b = vtt.rows.find(ordinal);
        if (a != srt.rows.end() && b != vtt.rows.end() && sameRows(a->second, b->second))
            ++counts.equal;
        else
            differing.push_back(ordinal);
    }
    // A difference moves the times of the subtitles beside it, which may move the next ones in turn.
    for (size_t i = 0; i < differing.size();) {
        size_t end = i + 1;
        while (end < differing.size() && differing[end] == differing[end - 1] + 1)
            ++end;
        bool explained = false;
        for (qint32 ordinal = differing[i] - 1; ordinal <= differing[end - 1] + 1; ++ordinal) {
            const auto text = srt.asRead.find(ordinal);
            explained = explained || (text != srt.asRead.end() && hasTagOrEntity(text->second));
        }
        for (size_t j = i; j < end; ++j) {
            ++(explained ? counts.tagsOrEntities : counts.otherwise);
            if (!show && explained)
                continue;
            const qint32 ordinal = differing[j];
            std::printf("%s subtitle %d%s:\n  SRT    %s\n  WebVTT %s\n", qPrintable(name), ordinal,
                        explained ? " (tags or entities)" : "",
                        qPrintable(rowsText(srt.rows.count(ordinal) ? srt.rows.at(ordinal) : std::vector<SubtitleRow>{})),
                        qPrintable(rowsText(vtt.rows.count(ordinal) ? vtt.rows.at(ordinal) : std::vector<SubtitleRow>{})));
        }
        i = end;
    }
}

// The WebVTT correction as its viewer sees it against the correction of the SRT text made of what is seen: the
// cue's tags and entities must change nothing else.
void compareVisible(const QString &name, const Correction &visibleSrt, Correction vtt, Counts &counts)
{
    qint32 srtOrdinal = 0;
    for (auto &[ordinal, rows] : vtt.rows) {
        // A cue of tags alone shows nothing, so SRT made of what is seen has no subtitle for it.
        if (visibleLines(vtt.asRead[ordinal]).replace("\r\n", "").isEmpty()) {
            ++counts.onlyTags;
            continue;
        }
        for (SubtitleRow &row : rows)
            row.text = QString::fromUtf8(visibleLines(row.text.toUtf8()));
        const auto srt = visibleSrt.rows.find(++srtOrdinal);
        const bool equal = srt != visibleSrt.rows.end() && sameRows(srt->second, rows);
        ++(equal ? counts.visibleEqual : counts.visibleDiffering);
        if (!equal)
            std::printf("%s subtitle %d, as seen:\n  SRT    %s\n  WebVTT %s\n", qPrintable(name), ordinal,
                        qPrintable(rowsText(srt == visibleSrt.rows.end() ? std::vector<SubtitleRow>{} : srt->second)),
                        qPrintable(rowsText(rows)));
    }
}

// Every block and cue of the WebVTT output that the correction did not touch against the input's.
void compareUntouched(const QString &name, const QString &vttIn, const QString &vttOut,
                      const FileCorrectionReport &report, Counts &counts)
{
    DecodedSubtitles inDecoded, outDecoded;
    ReadError error;
    std::shared_ptr<const WebVttLayout> in, out;
    if (readSubtitleFile(vttIn, inDecoded, error) && readSubtitleFile(vttOut, outDecoded, error)) {
        in = WebVttLayout::read(inDecoded, false, error);
        out = WebVttLayout::read(outDecoded, false, error);
    }
    if (!in || !out) {
        std::printf("%s: %s\n", qPrintable(name), qPrintable(error.describe(LangDoc())));
        ++counts.untouchedChanged;
        return;
    }
    std::set<qint64> touched, split, moved(report.moved.begin(), report.moved.end());
    for (const EditRecord &record : report.records) {
        touched.insert(record.ordinal);
        if (record.change == EditRecord::Change::Split)
            split.insert(record.ordinal);
    }
    qsizetype written = 0; // output cues before the ordinal's first
    for (qsizetype ordinal = 1; ordinal <= in->cueCount() + 1; ++ordinal) {
        const qsizetype first = written + 1;
        ++counts.untouched; // the block before the cue
        bool same = in->gapBefore(ordinal) == out->gapBefore(first);
        if (ordinal <= in->cueCount()) {
            written += split.count(ordinal) ? 2 : 1;
            if (!touched.count(ordinal) && !moved.count(first)) {
                ++counts.untouched;
                const WebVttCueLayout &a = in->cue(ordinal), &b = out->cue(first);
                same = same
                    && in->text().sliced(a.blockBegin, a.blockEnd - a.blockBegin)
                           == out->text().sliced(b.blockBegin, b.blockEnd - b.blockBegin);
            }
        }
        if (!same) {
            ++counts.untouchedChanged;
            std::printf("%s: cue %lld or the block before it was not corrected but changed\n", qPrintable(name),
                        (long long)ordinal);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QString corpus = QStringLiteral(QUILLMEND_SOURCE_DIR "/../shared/corpus");
    QString work = QCoreApplication::applicationDirPath() + QStringLiteral("/webvttcheck");
    bool show = false;
    const QStringList arguments = application.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--corpus" && i + 1 < arguments.size()) {
            corpus = arguments[++i];
        } else if (arguments[i] == u"--work" && i + 1 < arguments.size()) {
            work = arguments[++i];
        } else if (arguments[i] == u"--show") {
            show = true;
        } else {
            std::fputs(usage, arguments[i] == u"--help" ? stdout : stderr);
            return arguments[i] == u"--help" ? 0 : 2;
        }
    }
    const QStringList files = QDir(corpus).entryList({QStringLiteral("*.srt")}, QDir::Files, QDir::Name);
    if (files.isEmpty() || !QDir().mkpath(work)) {
        std::fprintf(stderr, "quillmend-webvttcheck: no .srt files in %s, or no work folder %s\n", qPrintable(corpus),
                     qPrintable(work));
        return 1;
    }

    const LangDoc lang;
    SilentPrompter prompter;
    const QList<QStringList> settingsSets{
        {}, {u"MaxLen=32"_qs}, {u"BuyTime=0"_qs, u"ParseAllTimes=0"_qs, u"BrakeTo2=0"_qs}};
    Counts counts;
    qint64 refused = 0;
    for (const QString &file : files) {
        DecodedSubtitles decoded;
        ReadError error;
        if (!readSubtitleFile(QDir(corpus).filePath(file), decoded, error)) {
            ++refused;
            continue;
        }
        const QString base = QDir(work).filePath(file.chopped(4));
        const QString vttIn = base + u".vtt"_qs;
        const QByteArray vtt = webVttOf(decoded.utf8());
        QFile out(vttIn);
        if (!out.open(QIODevice::WriteOnly) || out.write(vtt) < 0)
            return 1;
        out.close();
        for (qsizetype set = 0; set < settingsSets.size(); ++set) {
            Settings settings;
            for (const QString &assignment : settingsSets[set])
                SettingsStore::applyValue(settings, assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
            const QString name = set == 0 ? file : file + u" ["_qs + settingsSets[set].join(u' ') + u']';
            const Correction fromSrt = correction(decoded.utf8(), settings);
            const Correction fromVtt = correction(vtt, settings);
            if (!fromSrt.ok) {
                ++refused;
                break;
            }
            compareCorrections(name, fromSrt, fromVtt, show, counts);
            compareVisible(name, correction(visibleSrtOf(decoded.utf8()), settings), fromVtt, counts);
            FileCorrectionOptions options;
            options.outputPath = base + (set == 0 ? QString() : u".set"_qs + QString::number(set)) + u".out.vtt"_qs;
            const FileCorrectionReport report = correctFile(vttIn, options, settings, lang, prompter);
            if (report.ok)
                compareUntouched(name, vttIn, options.outputPath, report, counts);
            else
                std::printf("%s: %s\n", qPrintable(name), qPrintable(report.error));
            counts.untouchedChanged += report.ok ? 0 : 1;
        }
    }
    std::printf("%lld files (%lld refused as SRT), %lld corrections compared, %lld subtitles\n"
                "  corrected as in SRT:                     %lld\n"
                "  otherwise for tags or entities counted:  %lld\n"
                "  otherwise for no such reason:            %lld\n"
                "  untouched blocks and cues: %lld, of which changed: %lld\n"
                "as seen, against SRT made of what is seen: %lld equal, %lld not (%lld of tags alone left out)\n",
                (long long)files.size(), (long long)refused, (long long)counts.files, (long long)counts.subtitles,
                (long long)counts.equal, (long long)counts.tagsOrEntities, (long long)counts.otherwise,
                (long long)counts.untouched, (long long)counts.untouchedChanged, (long long)counts.visibleEqual,
                (long long)counts.visibleDiffering, (long long)counts.onlyTags);
    return counts.otherwise == 0 && counts.untouchedChanged == 0 ? 0 : 1;
}
