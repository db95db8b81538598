// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/subtitledocument.h"

#include "document/prompter.h"
#include "document/subtitleparser.h"
#include "document/subtitlefile.h"
#include "document/timecode.h"
#include "document/webvtt/webvttlayout.h"
#include "editing/rowoperations.h"
#include "editing/timecommit.h"
#include "editing/timelimits.h"
#include "editor/commands/addremovesubtitle.h"
#include "editor/commands/documentcommand.h"
#include "editor/commands/edittextcommand.h"
#include "editor/commands/edittimecommand.h"
#include "editor/commands/restorecorrection.h"
#include "editor/editrecordmodel.h"
#include "editor/listcollector.h"
#include "editor/pendingedits.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "engine/readingspeed.h"
#include "lang/form1messages.h"
#include "settings/settings.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Returns the heap's free pages to the system. A large file leaves
// megabytes of free heap behind when it goes, which the allocator keeps
// otherwise; the next file then counts twice in the program's size.
void giveBackFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// The window's records: the run's, and one for every start the run moved
// without a record of its own, in ordinal order. Merged from the back into
// the run's own vector, so a million records are not copied.
std::vector<EditRecord> reviewRecords(std::vector<EditRecord> records, const std::vector<MovedStart> &moved)
{
    std::size_t added = 0;
    auto record = records.begin();
    for (const MovedStart &move : moved) {
        record = std::lower_bound(record, records.end(), move.ordinal,
                                  [](const EditRecord &r, qint32 ordinal) { return r.ordinal < ordinal; });
        if (record != records.end() && record->ordinal == move.ordinal)
            record->startMoved = true;
        else
            ++added;
    }
    auto from = std::ptrdiff_t(records.size()) - 1;
    records.resize(records.size() + added);
    auto to = std::ptrdiff_t(records.size()) - 1;
    for (auto move = moved.crbegin(); move != moved.crend(); ++move) {
        for (; from >= 0 && records[std::size_t(from)].ordinal > move->ordinal; --from, --to)
            records[std::size_t(to)] = records[std::size_t(from)];
        if (from < 0 || records[std::size_t(from)].ordinal != move->ordinal)
            records[std::size_t(to--)] = {move->ordinal, EditRecord::Change::None, false, true};
    }
    return records;
}

} // namespace

SubtitleDocument::SubtitleDocument(const LangDoc &lang, QObject *parent)
    : QObject(parent), m_lang(lang), m_originalList(new SubtitleList(this)), m_correctedList(new SubtitleList(this)),
      m_original(new SubtitleTableModel(*m_originalList, this)),
      m_correctedModel(new SubtitleTableModel(*m_correctedList, this)), m_records(new EditRecordModel(this))
{
    m_original->setLanguage(&m_lang);
    m_correctedModel->setLanguage(&m_lang);
    m_correctedModel->setOriginalRows(m_originalList);
    m_correctedModel->setShotChangeTimes(&m_shotChangeTimes);
    // Every change goes through the history, so this is every change.
    connect(&m_undoStack, &QUndoStack::indexChanged, this, &SubtitleDocument::summaryChanged);
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &SubtitleDocument::saveStateChanged);
}

SubtitleDocument::~SubtitleDocument()
{
    // The history empties itself as it goes, and nobody is to hear of it.
    m_undoStack.blockSignals(true);
}

SaveState SubtitleDocument::saveState() const
{
    if (isModified())
        return SaveState::NotSaved;
    return m_savedOnce ? SaveState::Saved : SaveState::Empty;
}

void SubtitleDocument::startHistory()
{
    m_undoStack.clear();
    m_shotChangeTimes.clear();
    // clear() leaves an empty stack's clean state as it was (unclean after a run).
    m_undoStack.setClean();
    m_savedOnce = false;
    emit saveStateChanged();
}

bool SubtitleDocument::load(const QString &path, QString &errorText, const QString &encodingName, bool lenientTimes,
                            ReadError *readError)
{
    // Whatever comes of it, nothing of the file open now stays, so it goes
    // first and two files are never held at once.
    startHistory();
    m_corrected = false;
    m_correctedList->clear();
    m_records->clear();
    m_originalList->clear();
    m_layout.reset();
    giveBackFreeMemory();
    DecodedSubtitles decoded;
    ReadError error;
    FileStamp stamp;
    SubtitleRows rows;
    // Each part of the text goes as soon as its rows stand, so the file and
    // its rows are never held whole at once.
    const auto textDone = [&decoded](qsizetype offset) { decoded.releaseBefore(offset); };
    const bool read = readSubtitleFile(path, decoded, error, encodingName, &stamp)
                      && readSubtitleRows(decoded.utf8(), rows, error, lenientTimes, textDone);
    if (readError)
        *readError = error;
    if (!read) {
        m_path.clear();
        m_encoding = {};
        m_format = SubtitleFormat::SubRip;
        m_stamp = {};
        m_originalStamp = {};
        errorText = GetLangText(m_lang, Form1Msg::ErrorInFile) + u'\n' + path + u'\n' + error.describe(m_lang);
        announceNewContent();
        return false;
    }
    m_path = path;
    m_encoding = decoded.encoding;
    m_format = decoded.format;
    m_originalList->setSubtitleFormat(m_format);
    m_correctedList->setSubtitleFormat(m_format);
    m_encodingChoice = encodingName;
    m_stamp = stamp;
    m_originalStamp = stamp;
    decoded = {}; // the bytes before the views fill
    m_originalList->setRows(std::move(rows));
    announceNewContent();
    return true;
}

void SubtitleDocument::announceNewContent()
{
    emit pathChanged(m_path);
    emit encodingChanged();
    emit contentReplaced();
    emit summaryChanged();
}

bool SubtitleDocument::isOpenFile(const QString &path) const
{
    const QFileInfo chosen(path);
    const QFileInfo open(m_path);
    if (chosen.exists() && open.exists())
        return chosen.canonicalFilePath() == open.canonicalFilePath();
    return chosen.absoluteFilePath() == open.absoluteFilePath();
}

CorrectionResult SubtitleDocument::correct(const Settings &settings, const WeakWordLists &weakWords,
                                           const ShotChanges &shotChanges)
{
    emit correctionStarting();
    DecodedSubtitles decoded;
    ReadError error;
    FileStamp stamp;
    CorrectionResult result;
    if (!readSubtitleFile(m_path, decoded, error, m_encodingChoice, &stamp)) {
        result.errorText = error.describe(m_lang);
        emit summaryChanged();
        return result;
    }
    const SubtitleRows &held = m_originalList->compactRows();
    // The same bytes in the same encoding: the subtitles as read are the
    // original list's, whatever the run's settings (times the usual rule
    // reads never depend on LenientTimes).
    const bool heldIsAsRead =
        m_originalStamp.isValid() && stamp.size == m_originalStamp.size && stamp.hash == m_originalStamp.hash;
    // A WebVTT file's layout shares its bytes, which are then kept whole.
    std::shared_ptr<const WebVttLayout> layout;
    if (decoded.format == SubtitleFormat::WebVtt)
        layout = WebVttLayout::read(decoded, settings.LenientTimes, error);
    ListCollector collector(held, held.isEmpty() ? expectedSubtitleRows(decoded.utf8()) : held.size(),
                            heldIsAsRead, [&decoded](qsizetype offset) { decoded.releaseBefore(offset); },
                            settings.LettersFor1Min, decoded.format);
    result = runCorrection(decoded.utf8(), settings, m_lang, collector, weakWords, shotChanges);
    if (result.ok && decoded.format == SubtitleFormat::WebVtt && !layout) {
        result.ok = false;
        result.readError = error;
        result.errorText = error.describe(m_lang);
    }
    if (!result.ok) {
        // A file at fault is named before settings the run refused, as
        // when the file was read before the run.
        if (!result.readError) {
            SubtitleParser parser(decoded.utf8(), settings.LenientTimes, true);
            for (SrtEntry entry; parser.next(entry);) {
            }
            if (parser.error())
                result.errorText = parser.error()->describe(m_lang);
        }
        emit summaryChanged();
        return result;
    }
    startHistory();
    m_corrected = true;
    m_encoding = decoded.encoding;
    m_format = decoded.format;
    m_layout = std::move(layout);
    m_originalList->setSubtitleFormat(m_format);
    m_correctedList->setSubtitleFormat(m_format);
    m_stamp = stamp;
    decoded = {}; // the bytes before the lists and views fill
    const std::vector<EditRecord> records = reviewRecords(std::move(result.records), result.moved);
    setLettersPerSecond(settings.LettersFor1Min);
    setMinGapMs(settings.MinGapMs);
    // Both lists come from the one pass; the subtitles as read replace the
    // original list only when they differ from it.
    if (std::optional<SubtitleRows> rowsAsRead = collector.takeRowsAsRead()) {
        m_originalList->setRows(std::move(*rowsAsRead));
        m_originalStamp = stamp;
    } else {
        m_originalList->resetViews();
    }
    m_correctedList->setRows(collector.takeCorrectedRows(), collector.tooFastCount());
    m_correctedList->setRecordMarks(records);
    m_records->setRecords(records, m_lang);
    // Corrected but not saved: no step of the new history is the saved one.
    m_undoStack.resetClean();
    m_counters = result.counters;
    m_shotChangeTimes = result.shotChangeTimes;
    result.summary += tooFastSummary(tooFastCount(), m_lang);
    emit saveStateChanged();
    announceNewContent();
    emit corrected(result.summary);
    return result;
}

QString SubtitleDocument::summaryText() const
{
    if (!m_corrected)
        return {};
    QString summary = correctionSummary(m_counters, m_lang) + tooFastSummary(tooFastCount(), m_lang);
    if (const qint64 moved = m_records->movedCount(); moved > 0)
        summary += GetLangText(m_lang, Form1Msg::MovedSummary).arg(moved);
    return summary;
}

void SubtitleDocument::retranslate()
{
    m_records->retranslate(m_lang);
}

namespace {

QString captionOf(const QUndoStack &history, int index, const LangDoc &lang)
{
    if (index < 0 || index >= history.count())
        return {};
    const auto *command = dynamic_cast<const DocumentCommand *>(history.command(index));
    return command ? command->caption(lang) : history.text(index);
}

} // namespace

QString SubtitleDocument::undoCaption() const
{
    return captionOf(m_undoStack, m_undoStack.index() - 1, m_lang);
}

QString SubtitleDocument::redoCaption() const
{
    return captionOf(m_undoStack, m_undoStack.index(), m_lang);
}

bool SubtitleDocument::confirmRowsWithoutText(Prompter &prompter) const
{
    // Reading drops a subtitle with no text, so one saved so would be gone
    // the next time the file is opened.
    constexpr qsizetype Listed = 10;
    QStringList numbers;
    qsizetype unlisted = 0;
    const SubtitleRows &rows = m_correctedList->compactRows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QByteArrayView text = rows.textUtf8(i);
        const bool blank = std::all_of(text.begin(), text.end(), [](char c) {
            return c == ' ' || c == '\r' || c == '\n';
        });
        if (!blank)
            continue;
        if (numbers.size() < Listed)
            numbers << QString::number(rows.number(i));
        else
            ++unlisted;
    }
    if (numbers.isEmpty())
        return true;
    QString listed = numbers.join(QStringLiteral(", "));
    if (unlisted > 0)
        listed += QStringLiteral(" (+%1)").arg(unlisted);
    return prompter.ask(GetLangText(m_lang, Form1Msg::EmptyTextSave).arg(listed), Prompter::Buttons::YesNo,
                        Prompter::Answer::No)
           == Prompter::Answer::Yes;
}

SaveOutcome SubtitleDocument::save(const QString &target, bool createBakFile, Prompter &prompter)
{
    commitPendingEdits();
    if (!confirmRowsWithoutText(prompter))
        return {SaveOutcome::Status::Cancelled, {}};
    FileStamp written;
    const SaveOutcome outcome =
        DoSave(m_correctedList->compactRows(), m_encoding, target, createBakFile, prompter, m_lang, &written, m_layout);
    if (outcome.status == SaveOutcome::Status::Saved) {
        m_undoStack.setClean();
        m_savedOnce = true;
        emit saveStateChanged();
        // What is on disk now is what this document holds.
        if (isOpenFile(target))
            m_stamp = written;
    }
    return outcome;
}

SaveOutcome SubtitleDocument::saveCopy(const QString &target, bool createBakFile, Prompter &prompter)
{
    commitPendingEdits();
    if (!confirmRowsWithoutText(prompter))
        return {SaveOutcome::Status::Cancelled, {}};
    return DoSave(m_correctedList->compactRows(), m_encoding, target, createBakFile, prompter, m_lang, nullptr,
                  m_layout);
}

void SubtitleDocument::setLettersPerSecond(qint32 lettersPerSecond)
{
    m_originalList->setLettersPerSecond(lettersPerSecond);
    m_correctedList->setLettersPerSecond(lettersPerSecond);
}

qint64 SubtitleDocument::tooFastCount() const
{
    return m_correctedList->tooFastCount();
}

bool SubtitleDocument::editText(int row, const QString &text)
{
    if (row < 0 || row >= m_correctedList->rowCount() || m_correctedList->text(row) == text)
        return false;
    m_undoStack.push(new EditTextCommand(*this, *m_correctedList, row, text));
    return true;
}

TimeLimits SubtitleDocument::timeLimits(int row) const
{
    return timeLimitsOf(m_correctedList->compactRows(), row, m_frameMs, m_minGapMs);
}

TimeRange SubtitleDocument::boundaryLimits(int row) const
{
    return boundaryLimitsOf(m_correctedList->compactRows(), row, m_frameMs);
}

QString SubtitleDocument::timeRefusal(int row, TimeField field, qint64 timeMs) const
{
    if (row < 0 || row >= m_correctedList->rowCount())
        return {};
    const TimeLimits limits = timeLimits(row);
    const TimeRange &allowed = field == TimeField::Start ? limits.start : limits.end;
    if (allowed.contains(timeMs))
        return {};
    const int column = field == TimeField::Start ? SubtitleTableModel::StartColumn : SubtitleTableModel::EndColumn;
    return timeLimitRefusal(m_correctedModel->headerData(column, Qt::Horizontal).toString(),
                            m_correctedList->number(row), MillisecondsToTimeText(timeMs), allowed, m_lang);
}

bool SubtitleDocument::editTime(int row, TimeField field, const QString &timeText)
{
    // Kept as the milliseconds the text shows, as every row's times are.
    return isCommittableTime(timeText) && editTimeMs(row, field, SecondsToMilliseconds(*TimeTextToSeconds(timeText)));
}

bool SubtitleDocument::editTimeMs(int row, TimeField field, qint64 timeMs)
{
    commitPendingEdits();
    if (row < 0 || row >= m_correctedList->rowCount())
        return false;
    const bool start = field == TimeField::Start;
    const TimeLimits limits = timeLimits(row);
    if ((start ? m_correctedList->startMs(row) : m_correctedList->endMs(row)) == timeMs
        || !(start ? limits.start : limits.end).contains(timeMs))
        return false;
    m_undoStack.push(new EditTimeCommand(*this, *m_correctedList, row, field, timeMs));
    return true;
}

bool SubtitleDocument::moveTimesMs(int row, qint64 startMs)
{
    commitPendingEdits();
    if (row < 0 || row >= m_correctedList->rowCount() || startMs == m_correctedList->startMs(row)
        || !timeLimits(row).movedStart.contains(startMs))
        return false;
    const qint64 endMs = startMs + m_correctedList->endMs(row) - m_correctedList->startMs(row);
    auto *both = new DocumentCommand(Form1Msg::UndoEditTime, row + 1, m_lang);
    new EditTimeCommand(*this, *m_correctedList, row, TimeField::Start, startMs, both);
    new EditTimeCommand(*this, *m_correctedList, row, TimeField::End, endMs, both);
    m_undoStack.push(both);
    return true;
}

bool SubtitleDocument::moveBoundaryMs(int row, qint64 endMs)
{
    commitPendingEdits();
    if (row < 0 || row + 1 >= m_correctedList->rowCount() || endMs == m_correctedList->endMs(row)
        || !boundaryLimits(row).contains(endMs))
        return false;
    const qint64 nextStartMs = endMs + m_correctedList->startMs(row + 1) - m_correctedList->endMs(row);
    auto *both = new DocumentCommand(Form1Msg::UndoEditTime, row + 1, m_lang);
    new EditTimeCommand(*this, *m_correctedList, row, TimeField::End, endMs, both);
    new EditTimeCommand(*this, *m_correctedList, row + 1, TimeField::Start, nextStartMs, both);
    m_undoStack.push(both);
    return true;
}

void SubtitleDocument::commitPendingEdits()
{
    if (m_pendingEdits)
        m_pendingEdits->commit();
}

void SubtitleDocument::undo()
{
    commitPendingEdits();
    m_undoStack.undo();
}

void SubtitleDocument::redo()
{
    commitPendingEdits();
    m_undoStack.redo();
}

int SubtitleDocument::insertSubtitle(int selectedRow, bool below)
{
    if (!m_corrected)
        return -1;
    commitPendingEdits();
    const NewRowPlace place = newRowPlace(m_correctedList->compactRows(), selectedRow, below);
    m_undoStack.push(new InsertSubtitle(*this, *m_correctedList, place.position,
                                        {0, place.timeText, place.timeText, {}, 0}, selectedRow));
    return place.position;
}

bool SubtitleDocument::deleteSubtitle(int row)
{
    if (row < 0 || row >= m_correctedList->rowCount())
        return false;
    // Typing not applied goes with its row.
    if (m_pendingEdits && m_pendingEdits->row() == row)
        m_pendingEdits->drop();
    commitPendingEdits();
    m_undoStack.push(new DeleteSubtitle(*this, *m_correctedList, row));
    return true;
}

bool SubtitleDocument::restoreOrReapply(const QList<int> &ordinals)
{
    commitPendingEdits();
    std::vector<int> recorded;
    for (int ordinal : ordinals) {
        if (m_records->rowOfOrdinal(ordinal) >= 0)
            recorded.push_back(ordinal);
    }
    std::sort(recorded.begin(), recorded.end());
    recorded.erase(std::unique(recorded.begin(), recorded.end()), recorded.end());
    // Restore what is not restored yet; a selection all restored goes back.
    std::vector<int> toRestore;
    std::vector<int> toReapply;
    for (int ordinal : recorded) {
        if (!isRestored(ordinal) && originalRow(ordinal))
            toRestore.push_back(ordinal);
        else if (isRestored(ordinal))
            toReapply.push_back(ordinal);
    }
    const bool restore = !toRestore.empty();
    std::vector<int> chosen = restore ? std::move(toRestore) : std::move(toReapply);
    if (chosen.empty())
        return false;
    m_undoStack.push(new RestoreCorrection(*this, *m_correctedList, std::move(chosen), restore));
    return true;
}

bool SubtitleDocument::restoreWithoutShotChange(int row)
{
    commitPendingEdits();
    const ShotChangeTime *shot = m_correctedModel->shotChangeTimeOf(row);
    if (!shot)
        return false;
    // A neighbour the rule moved too may stand in the way: the times go as
    // near as the limits of a time set by hand allow.
    const TimeLimits limits = timeLimits(row);
    const qint64 endMs = limits.end.clamp(std::llround(shot->endWithoutRuleSeconds * 1000));
    const qint64 startMs =
        std::min(limits.start.clamp(std::llround(shot->startWithoutRuleSeconds * 1000)), endMs - m_frameMs);
    const SubtitleList &list = *m_correctedList;
    if (startMs < 0)
        return false;
    auto *both = new DocumentCommand(Form1Msg::UndoEditTime, row + 1, m_lang);
    if (startMs != list.startMs(row))
        new EditTimeCommand(*this, *m_correctedList, row, TimeField::Start, startMs, both);
    if (endMs != list.endMs(row))
        new EditTimeCommand(*this, *m_correctedList, row, TimeField::End, endMs, both);
    if (both->childCount() == 0) {
        delete both;
        return false;
    }
    m_undoStack.push(both);
    return true;
}

bool SubtitleDocument::isRestored(int ordinal) const
{
    return m_records->isRestored(ordinal);
}

std::vector<SubtitleRow> SubtitleDocument::computedRows(int ordinal) const
{
    return m_correctedList->runRows(ordinal);
}

std::optional<SubtitleRow> SubtitleDocument::originalRow(int ordinal) const
{
    if (ordinal < 1 || ordinal > m_originalList->rowCount())
        return std::nullopt;
    SubtitleRow row = m_originalList->row(ordinal - 1);
    row.tag = ordinal;
    return row;
}
