// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/filecorrection.h"

#include "document/savecommand.h"
#include "document/srtwriter.h"
#include "document/subtitlefile.h"
#include "engine/correctionrun.h"
#include "lang/form1messages.h"
#include "settings/settings.h"

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

// Writes corrected subtitles straight into the new file's bytes, so a large
// file is never held as rows.
class WriterSink : public CorrectionSink
{
public:
    explicit WriterSink(SrtWriter &writer) : m_writer(writer) {}
    void addSubtitle(const CorrectedSubtitle &subtitle) override
    {
        m_writer.writeRow(subtitle.number, subtitle.startSeconds, subtitle.endSeconds, subtitle.text);
    }

private:
    SrtWriter &m_writer;
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
                                 const LangDoc &lang, Prompter &prompter)
{
    FileCorrectionReport report;
    report.file = path;

    DecodedSubtitles decoded;
    ReadError readError;
    if (!readSubtitleFile(path, decoded, readError)) {
        report.error = readError.describe(lang);
        return report;
    }
    report.encoding = decoded.encoding;

    QByteArray utf8;
    utf8.reserve(decoded.utf8().size() + decoded.utf8().size() / 8 + 64);
    SrtWriter writer(utf8, decoded.encoding);
    WriterSink sink(writer);
    CorrectionResult result = runCorrection(decoded.utf8(), settings, lang, sink);
    if (!result.ok) {
        report.error = result.errorText;
        return report;
    }
    decoded = DecodedSubtitles{}; // the source text is no longer needed: free it before saving

    report.corrected = true;
    report.subtitlesIn = result.subtitlesIn;
    report.subtitlesOut = result.subtitlesOut;
    report.counters = result.counters;
    report.records = std::move(result.records);
    report.summary = std::move(result.summary);

    QByteArray fileBytes;
    QString badCharacter;
    const QString target = options.outputPath.isEmpty() ? path : options.outputPath;
    if (!encodeForFile(utf8, report.encoding, fileBytes, badCharacter)) {
        report.error = GetLangText(lang, Form1Msg::CannotSave)
                           .arg(target, GetLangText(lang, Form1Msg::NotEncodable)
                                            .arg(badCharacter, report.encoding.displayName()));
        return report;
    }
    utf8 = QByteArray();
    if (writer.rowCount() == 0) {
        report.error = GetLangText(lang, Form1Msg::NothingToSave);
        return report;
    }
    if (options.dryRun) {
        report.ok = true;
        return report;
    }

    const bool createBackup = options.outputPath.isEmpty() && settings.CreateBakFileAuto;
    const InterruptionGuard guard;
    const SaveOutcome outcome = DoSave(fileBytes, writer.rowCount(), target, createBackup, prompter, lang);
    report.ok = outcome.status == SaveOutcome::Status::Saved;
    report.error = outcome.message;
    return report;
}
