// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/filecorrection.h"

#include "document/filereplacement.h"
#include "document/savecommand.h"
#include "document/srtwriter.h"
#include "document/subtitlefile.h"
#include "document/textencoder.h"
#include "document/timecode.h"
#include "document/unicodetext.h"
#include "document/webvtt/webvttlayout.h"
#include "document/webvtt/webvttwriter.h"
#include "engine/correctionrun.h"
#include "engine/cuetext.h"
#include "engine/readingspeed.h"
#include "engine/shots/framegrid.h"
#include "lang/form1messages.h"
#include "settings/settings.h"

#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

// Bytes gathered before they go to the file: large enough to make few
// writes, small enough to stay in cache.
constexpr qsizetype ChunkBytes = 1024 * 1024;

// Writes corrected subtitles as SRT, or into the WebVTT file they came
// from (with its layout), straight into the replacement file, a chunk at a
// time, in the file's own encoding. Nothing is written at all on a dry run.
class FileSink : public CorrectionSink
{
public:
    FileSink(const FileEncoding &encoding, std::shared_ptr<const WebVttLayout> layout, FileReplacement *replacement,
             qint32 lettersPerSecond)
        : m_writer(encoding, layout ? 0 : ChunkBytes + ChunkBytes / 4), m_encoder(encoding),
          m_replacement(replacement), m_lettersPerSecond(lettersPerSecond)
    {
        if (layout)
            m_webVtt.emplace(std::move(layout), encoding);
    }

    void addSubtitle(const CorrectedSubtitle &subtitle) override
    {
        // Measured on the times as the file gets them, to the millisecond.
        qint64 characters = 0;
        if (m_webVtt)
            characters = subtitle.textAsRead ? cueReadingLength(subtitle.utf8Text) : cueReadingLength(subtitle.text);
        else
            characters = subtitle.textAsRead ? readingLength(subtitle.utf8Text) : readingLength(subtitle.text);
        if (readingSpeed(characters, Round3(subtitle.startSeconds), Round3(subtitle.endSeconds), m_lettersPerSecond)
                .isTooFast())
            m_tooFast.push_back(subtitle.number);
        if (m_webVtt) {
            QByteArrayView text = subtitle.utf8Text;
            if (!subtitle.textAsRead) {
                m_utf8.resize(4 * qsizetype(subtitle.text.size()));
                text = QByteArrayView(m_utf8.constData(), writeUtf8(subtitle.text, m_utf8.data()) - m_utf8.data());
            }
            m_webVtt->writeRow(subtitle.ordinal, SecondsToMilliseconds(subtitle.startSeconds),
                               SecondsToMilliseconds(subtitle.endSeconds), text);
        } else if (subtitle.textAsRead) {
            m_writer.writeRow(subtitle.number, subtitle.startSeconds, subtitle.endSeconds, subtitle.utf8Text);
        } else {
            m_writer.writeRow(subtitle.number, subtitle.startSeconds, subtitle.endSeconds, subtitle.text);
        }
        if (pending().size() >= ChunkBytes)
            flush();
    }

    // What follows the last subtitle, then what is left; false when the
    // encoding or the write failed.
    bool finish()
    {
        if (m_webVtt)
            m_webVtt->finish();
        return flush();
    }

    // Sends what is left; false when the encoding or the write failed.
    bool flush()
    {
        if (m_failed)
            return false;
        if (m_replacement) {
            if (m_encoder.passesThrough()) {
                m_failed = !m_replacement->write(pending());
            } else {
                m_encoded.clear();
                m_failed = !m_encoder.encode(pending(), m_encoded) || !m_replacement->write(m_encoded);
            }
        }
        if (m_webVtt)
            m_webVtt->discardPending();
        else
            m_writer.discardPending();
        return !m_failed;
    }

    qsizetype rowCount() const { return m_webVtt ? m_webVtt->rowCount() : m_writer.rowCount(); }
    QString badCharacter() const { return m_encoder.badCharacter(); }
    std::vector<qint64> takeTooFast() { return std::move(m_tooFast); }

private:
    QByteArrayView pending() const { return m_webVtt ? m_webVtt->pending() : m_writer.pending(); }

    SrtWriter m_writer;
    std::optional<WebVttWriter> m_webVtt;
    QByteArray m_utf8; // a corrected cue's text
    TextEncoder m_encoder;
    FileReplacement *m_replacement;
    QByteArray m_encoded;
    bool m_failed = false;
    qint32 m_lettersPerSecond;
    std::vector<qint64> m_tooFast;
};

// Holds off Ctrl-C and termination while a file is being replaced; a
// signal that arrives meanwhile takes effect once the file is complete.
class InterruptionGuard
{
public:
    InterruptionGuard()
    {
#ifdef Q_OS_UNIX
        sigset_t blocked;
        sigemptyset(&blocked);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&blocked, signal);
        pthread_sigmask(SIG_BLOCK, &blocked, &m_previous);
#endif
    }
    ~InterruptionGuard()
    {
#ifdef Q_OS_UNIX
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
#endif
    }
    InterruptionGuard(const InterruptionGuard &) = delete;
    InterruptionGuard &operator=(const InterruptionGuard &) = delete;

private:
#ifdef Q_OS_UNIX
    sigset_t m_previous;
#endif
};

} // namespace

FileCorrectionReport correctFile(const QString &path, const FileCorrectionOptions &options, const Settings &settings,
                                 const LangDoc &lang, Prompter &prompter, const WeakWordLists &weakWords)
{
    FileCorrectionReport report;
    report.file = path;

    DecodedSubtitles decoded;
    ReadError readError;
    const QString encoding = options.encoding.isEmpty() ? settings.Encoding : options.encoding;
    if (!readSubtitleFile(path, decoded, readError, encoding)) {
        report.error = readError.describe(lang);
        return report;
    }
    report.encoding = decoded.encoding;
    report.format = decoded.format;
    // A WebVTT file is written back into its own layout. Text the reader
    // refuses is refused by the run as well, which names settings first.
    std::shared_ptr<const WebVttLayout> layout;
    if (decoded.format == SubtitleFormat::WebVtt)
        layout = WebVttLayout::read(decoded, settings.LenientTimes, readError);

    const QString target = options.outputPath.isEmpty() ? path : options.outputPath;
    std::optional<FileReplacement> replacement;
    if (!options.dryRun) {
        replacement.emplace(target, lang);
        if (!replacement->open()) {
            report.error = replacement->errorText();
            return report;
        }
    }

    FileSink sink(decoded.encoding, layout, replacement ? &*replacement : nullptr, settings.LettersFor1Min);
    CorrectionResult result =
        runCorrection(decoded.utf8(), settings, lang, sink, weakWords, options.shotChanges.value_or(ShotChanges{}));
    decoded = DecodedSubtitles{}; // free the source text before the file is replaced
    if (!result.ok) {
        report.error = result.errorText;
        report.settingProblems = std::move(result.settingProblems);
        report.lenientTimesWouldRead = result.readError && result.readError->lenientTimesWouldRead;
        return report; // the replacement cancels itself
    }
    if (decoded.format == SubtitleFormat::WebVtt && !layout) {
        report.error = readError.describe(lang);
        return report;
    }
    report.corrected = true;
    report.subtitlesIn = result.subtitlesIn;
    report.subtitlesOut = result.subtitlesOut;
    report.counters = result.counters;
    report.records = std::move(result.records);
    report.tooFast = sink.takeTooFast();
    report.moved.reserve(result.moved.size());
    for (const MovedStart &move : result.moved)
        report.moved.push_back(move.number);
    report.summary = result.summary + tooFastSummary(qint64(report.tooFast.size()), lang);
    report.language = std::move(result.language);
    report.minGapMs = settings.MinGapMs;
    report.lenientTimeLines = result.lenientTimeLines;
    if (options.shotChanges) {
        report.shotChangesGiven = true;
        report.shotChanges = result.shotChanges;
        report.frameRate = result.frameRate > 0 ? result.frameRate : normalFrameRate(options.shotChanges->frameRate);
        for (const ShotChangeTime &time : result.shotChangeTimes) {
            if (report.shotChange.empty() || report.shotChange.back() != time.number)
                report.shotChange.push_back(time.number);
        }
    }

    if (!sink.finish()) {
        const QString badCharacter = sink.badCharacter();
        report.error = badCharacter.isEmpty() ? replacement->errorText()
                                              : notEncodable(target, badCharacter, report.encoding, lang).message;
        return report;
    }
    if (sink.rowCount() == 0) {
        report.error = GetLangText(lang, Form1Msg::NothingToSave);
        return report;
    }
    if (!replacement) {
        report.ok = true;
        return report;
    }

    const bool createBackup = options.outputPath.isEmpty() && settings.CreateBakFileAuto;
    const InterruptionGuard guard;
    report.ok = replacement->commit(wantsBackup(target, createBackup, prompter, lang));
    if (!report.ok)
        report.error = replacement->errorText();
    return report;
}
