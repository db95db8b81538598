// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/correctionrun.h"

#include "document/srtparser.h"
#include "document/subtitleparser.h"
#include "document/timecode.h"
#include "document/unicodetext.h"
#include "engine/cuetext.h"
#include "engine/formattags.h"
#include "engine/guidelinebreak.h"
#include "engine/linebreak.h"
#include "engine/shots/filmtiming.h"
#include "engine/subtitlesplit.h"
#include "engine/timebuying.h"
#include "settings/settingproblemtext.h"
#include "settings/settings.h"

#include <optional>
#include <utility>

namespace {

// The state carried from one subtitle to the next.
class Corrector
{
public:
    Corrector(const Settings &settings, const WeakWordList *weakWords, CorrectionSink &sink,
              CorrectionResult &result, const FilmTiming *film)
        : m_settings(settings), m_sink(sink), m_result(result), m_film(film)
    {
        if (settings.GuidelineBreaks)
            m_breaker.emplace(weakWords);
    }

    // Texts are WebVTT cue texts, measured and broken as the viewer sees them.
    void correctCueTexts() { m_cueText.emplace(); }
    // readStartSeconds: current's start before the overlap correction.
    void handle(SrtEntry &current, double readStartSeconds, double nextStartSeconds);
    qint32 subtitlesRead() const { return m_ordinal; }
    qint32 subtitlesWritten() const { return m_outputNumber; }

private:
    void emitSubtitle(double startSeconds, double endSeconds, std::u32string_view text);
    void emitSubtitleAsRead(double startSeconds, double endSeconds, QByteArrayView utf8Text);
    // Breaks text at position, or where the guidelines place the break when
    // they are followed.
    void breakLine(std::u32string &text, qsizetype position);
    void breakInMiddle(std::u32string &part);
    bool buyTime(SubtitleTiming &timing, qint64 textLength, ShotChoices &shots) const;

    const Settings &m_settings;
    CorrectionSink &m_sink;
    CorrectionResult &m_result;
    qint32 m_outputNumber = 0;
    qint32 m_ordinal = 0;
    double m_previousEndSeconds = 0.0;
    qint32 m_firstNumber = 0;         // the current subtitle's first output number
    double m_firstStartSeconds = 0.0; // and the start written with it
    std::optional<GuidelineBreaker> m_breaker;
    const FilmTiming *m_film; // with the film's shot changes only
    std::optional<CueText> m_cueText;
};

bool Corrector::buyTime(SubtitleTiming &timing, qint64 textLength, ShotChoices &shots) const
{
    if (m_film)
        return m_film->buyTime(timing, textLength, m_settings.LettersFor1Min, shots);
    return ::buyTime(timing, textLength, m_settings.LettersFor1Min, m_settings.MinGapMs);
}

void Corrector::emitSubtitle(double startSeconds, double endSeconds, std::u32string_view text)
{
    if (m_outputNumber + 1 == m_firstNumber)
        m_firstStartSeconds = startSeconds;
    m_sink.addSubtitle({++m_outputNumber, startSeconds, endSeconds, text, m_ordinal, false, {}});
}

void Corrector::emitSubtitleAsRead(double startSeconds, double endSeconds, QByteArrayView utf8Text)
{
    if (m_outputNumber + 1 == m_firstNumber)
        m_firstStartSeconds = startSeconds;
    m_sink.addSubtitle({++m_outputNumber, startSeconds, endSeconds, {}, m_ordinal, true, utf8Text});
}

void Corrector::breakLine(std::u32string &text, qsizetype position)
{
    if (m_breaker)
        position = m_breaker->position(text, m_settings.MaxLen, position);
    if (position > 0)
        breakAt(text, position);
}

void Corrector::breakInMiddle(std::u32string &part)
{
    if (const qsizetype position = middleBreakPosition(part, m_settings.MaxLen))
        breakLine(part, position);
}

void Corrector::handle(SrtEntry &current, double readStartSeconds, double nextStartSeconds)
{
    // The text stays UTF-8 unless it is joined: most subtitles need no
    // correction, and measuring them needs no decoding.
    const QByteArrayView utf8Text(current.utf8Text);
    std::u32string &text = current.text;
    if (utf8Text.isEmpty()) {
        // Not shown and takes no time, but its end still bounds the next one.
        m_previousEndSeconds = current.endSeconds;
        return;
    }
    ++m_ordinal;
    m_sink.addSubtitleAsRead({m_ordinal, readStartSeconds, current.endSeconds, utf8Text});

    const qint64 maxLength = m_settings.MaxLen;
    const LineStats stats = m_cueText ? cueLineStats(utf8Text) : lineStats(utf8Text);
    bool needsCorrection = stats.longestLine > maxLength;
    if (!needsCorrection && m_settings.CorrectSubsAbove2Lines && stats.lineBreaks + 1 >= 3)
        needsCorrection = true;

    const qint32 firstNumber = m_firstNumber = m_outputNumber + 1;
    SubtitleTiming timing{current.startSeconds, current.endSeconds, m_previousEndSeconds, nextStartSeconds};
    CorrectionCounters &counters = m_result.counters;
    bool timeBought = false;
    bool joined = false;
    bool split = false;
    bool counted = false;
    ShotChoices shots;

    if (!needsCorrection) {
        if (m_settings.ParseAllTimes && m_settings.BuyTime) {
            // Each CR LF reads as one blank.
            const qint64 readLength = stats.length - stats.lineBreaks;
            timeBought = buyTime(timing, readLength, shots);
            if (timeBought)
                ++counters.timeOnlyEdits;
        }
    } else if (m_settings.JoinSubsAbove2Lines) {
        text.clear();
        appendUtf8(text, utf8Text);
        joinLines(text);
        if (m_cueText) {
            // Corrected as seen; the cue's tags and entities come back when it is emitted.
            m_cueText->assign(text);
            text = m_cueText->visible();
        }
        joined = true;
        if (m_settings.BuyTime)
            timeBought = buyTime(timing, qint64(text.size()), shots);
        const auto length = qsizetype(text.size());
        counted = true;
        if (length > maxLength) {
            const qsizetype breakPosition = lastBlankAtOrBefore(text, qsizetype(maxLength));
            std::optional<SplitParts> parts;
            if (breakPosition == 0) {
                counted = false; // one word longer than a line: left as it is
            } else if (length - breakPosition <= maxLength) {
                breakLine(text, breakPosition);
            } else if (m_settings.BrakeTo2 && (parts = splitText(text, maxLength))) {
                const double firstEnd = firstPartEnd(timing.startSeconds, timing.endSeconds,
                                                     qsizetype(parts->first.size()), length);
                const SplitTimes times =
                    m_film ? m_film->splitTimes(timing.startSeconds, timing.endSeconds, firstEnd, shots)
                           : SplitTimes{firstEnd, secondPartStart(firstEnd, timing.endSeconds, m_settings.MinGapMs)};
                const auto firstLength = qsizetype(parts->first.size());
                const auto secondLength = qsizetype(parts->second.size());
                breakInMiddle(parts->first);
                breakInMiddle(parts->second);
                // The tags added do not count: the parts were measured without them.
                if (m_cueText)
                    m_cueText->split(firstLength, parts->secondStart, secondLength, parts->first, parts->second);
                else if (m_breaker)
                    carryOpenTags(parts->first, parts->second);
                emitSubtitle(timing.startSeconds, times.firstEndSeconds, parts->first);
                timing.startSeconds = times.secondStartSeconds;
                text = std::move(parts->second);
                split = true;
            } else {
                // No two lines fit: the guidelines have nothing to choose from.
                ++counters.longLinesLeft;
                breakAt(text, breakPosition);
            }
        }
    }

    if (counted) {
        ++counters.edits;
        if (split) {
            ++counters.splits;
            if (timeBought)
                ++counters.splitTimeEdits;
        } else if (timeBought) {
            ++counters.timeEdits;
        }
    }
    m_previousEndSeconds = timing.endSeconds;
    // Only joining changes the text; the rest of it follows from that.
    if (joined && m_cueText && !split)
        text = m_cueText->whole(text);
    if (joined)
        emitSubtitle(timing.startSeconds, timing.endSeconds, text);
    else
        emitSubtitleAsRead(timing.startSeconds, timing.endSeconds, utf8Text);
    // Compared as written, to the millisecond: a move too small to show is none.
    if (current.startSeconds != readStartSeconds
        && SecondsToMilliseconds(m_firstStartSeconds) != SecondsToMilliseconds(readStartSeconds))
        m_result.moved.push_back({m_ordinal, firstNumber, readStartSeconds, m_firstStartSeconds});
    const bool shotChange = m_film && m_film->record(shots, m_ordinal, firstNumber, split, m_firstStartSeconds,
                                                     timing.endSeconds, m_result.shotChangeTimes);
    if (joined || split || timeBought || shotChange) {
        const auto change = split ? EditRecord::Change::Split
            : joined              ? EditRecord::Change::Edit
                                  : EditRecord::Change::None;
        m_result.records.push_back({m_ordinal, change, timeBought, false, shotChange});
    }
}

// Member by member: the strings swap their buffers, and the whole entry
// would be moved three times over.
void swapEntries(SrtEntry &a, SrtEntry &b)
{
    std::swap(a.startSeconds, b.startSeconds);
    std::swap(a.endSeconds, b.endSeconds);
    a.text.swap(b.text);
    a.utf8Text.swap(b.utf8Text);
}

} // namespace

void RowCollector::addSubtitle(const CorrectedSubtitle &subtitle)
{
    rows.push_back({subtitle.number, SecondsToTimeText(subtitle.startSeconds), SecondsToTimeText(subtitle.endSeconds),
                    subtitle.textAsRead ? utf8ToQString(subtitle.utf8Text) : toQString(subtitle.text),
                    subtitle.ordinal});
}

CorrectionResult runCorrection(QByteArrayView utf8, const Settings &settings, const LangDoc &lang,
                               CorrectionSink &sink, const WeakWordLists &weakWords, const ShotChanges &shotChanges)
{
    CorrectionResult result;
    // The one check per correction: a MaxLen of zero would make every line
    // long, a reading speed of zero divide by zero when timing.
    result.settingProblems = settings.problems();
    if (!result.settingProblems.isEmpty()) {
        result.errorText = settingProblemText(result.settingProblems.first(), lang);
        return result;
    }

    const WeakWordList *language = nullptr;
    if (settings.GuidelineBreaks) {
        language = detectLanguage(utf8, weakWords);
        result.language = language ? language->language : QString();
    }
    const std::optional<FilmTiming> film = FilmTiming::forRun(settings, shotChanges);
    if (film) {
        result.shotChanges = film->cutCount();
        result.frameRate = film->framesPerSecond();
    }
    Corrector corrector(settings, language, sink, result, film ? &*film : nullptr);
    // Nearly every subtitle may get a record: growing a vector of a million
    // copies it over and over.
    result.records.reserve(std::size_t(expectedSubtitleRows(utf8)));
    SubtitleParser parser(utf8, settings.LenientTimes, true);
    if (parser.format() == SubtitleFormat::WebVtt)
        corrector.correctCueTexts();
    SrtEntry current;
    SrtEntry next;
    bool more = parser.next(current);
    double currentReadStart = current.startSeconds;
    // The SRT reader gives the text before the first time line as an entry
    // ending at 0, which the first subtitle keeps its gap after; WebVTT's
    // header is no entry, so its first cue does that here.
    if (more && parser.format() == SubtitleFormat::WebVtt) {
        if (film)
            film->correctOverlap(0.0, current.startSeconds, current.endSeconds);
        else
            correctOverlap(0.0, current.startSeconds, current.endSeconds, settings.MinGapMs);
    }
    qsizetype told = 0;
    while (more) {
        if (parser.next(next)) {
            if (parser.position() - told >= TextDoneStep)
                sink.textDoneBefore(told = parser.position());
            const double nextReadStart = next.startSeconds;
            if (film)
                film->correctOverlap(current.endSeconds, next.startSeconds, next.endSeconds);
            else
                correctOverlap(current.endSeconds, next.startSeconds, next.endSeconds, settings.MinGapMs);
            corrector.handle(current, currentReadStart, next.startSeconds);
            swapEntries(current, next);
            currentReadStart = nextReadStart;
        } else {
            if (!parser.error() && !current.utf8Text.empty())
                corrector.handle(current, currentReadStart, EndOfInputSeconds);
            more = false;
        }
    }
    if (parser.error()) {
        result.readError = parser.error();
        result.errorText = parser.error()->describe(lang);
        return result;
    }

    result.ok = true;
    result.subtitlesIn = corrector.subtitlesRead();
    result.subtitlesOut = corrector.subtitlesWritten();
    result.lenientTimeLines = parser.lenientTimeLines();
    result.summary = correctionSummary(result.counters, lang);
    return result;
}
