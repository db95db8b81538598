// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/savestate.h"
#include "document/filestamp.h"
#include "document/savecommand.h"
#include "document/subtitleformat.h"
#include "document/subtitlerow.h"
#include "document/textencoding.h"
#include "engine/correctionrun.h"
#include "engine/weakwords.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <vector>

class EditRecordModel;
class LangDoc;
class PendingEdits;
struct ReadError;
class Prompter;
class SubtitleList;
class SubtitleTableModel;
struct Settings;
struct TimeLimits;
struct TimeRange;
class WebVttLayout;

// The subtitle file being reviewed: its path and encoding, the subtitles as
// read and as corrected, the run's edit records, and the history of every
// change made to the corrected list since the file was opened or last
// corrected. Every change goes through the undo stack; whether the document
// is modified is the stack's clean state. It says what changed through its
// signals, so the views listen instead of being refreshed by hand.
class SubtitleDocument : public QObject
{
    Q_OBJECT

public:
    enum class TimeField { Start, End };

    explicit SubtitleDocument(const LangDoc &lang, QObject *parent = nullptr);
    ~SubtitleDocument() override;

    const QString &path() const { return m_path; }
    // Whether path names the open file, by its canonical path when both exist.
    bool isOpenFile(const QString &path) const;
    // Whether another program changed the open file since it was last read
    // or written here.
    bool changedOnDisk() const { return m_stamp.differsOnDisk(m_path); }
    const FileEncoding &encoding() const { return m_encoding; }
    // The open file's format, in which it is saved whatever the name saved under.
    SubtitleFormat format() const { return m_format; }
    // Whether the corrected list holds a correction run's result.
    bool isCorrected() const { return m_corrected; }
    bool isModified() const { return !m_undoStack.isClean(); }
    SaveState saveState() const;

    // The lists every view reads; they change only through the document.
    const SubtitleList &originalList() const { return *m_originalList; }
    const SubtitleList &correctedList() const { return *m_correctedList; }
    // The lists as tables, for views to show.
    SubtitleTableModel &originalModel() { return *m_original; }
    const SubtitleTableModel &originalModel() const { return *m_original; }
    SubtitleTableModel &correctedModel() { return *m_correctedModel; }
    const SubtitleTableModel &correctedModel() const { return *m_correctedModel; }
    EditRecordModel &records() { return *m_records; }
    const EditRecordModel &records() const { return *m_records; }
    QUndoStack &undoStack() { return m_undoStack; }

    // Reads path into the original list, with a new history. A file that
    // cannot be read leaves an empty document; errorText then names the file
    // and the problem.
    // encodingName is "auto" to detect the encoding, or a name Qt or iconv
    // knows; Correct reads the file the same way. With lenientTimes the
    // common time-format variants are read too; readError, when given,
    // receives why a file was refused.
    bool load(const QString &path, QString &errorText, const QString &encodingName = QStringLiteral("auto"),
              bool lenientTimes = false, ReadError *readError = nullptr);
    // Corrects the open file as it is on disk now, with a new history; both
    // lists come from the one read, so every row's partner is the same
    // subtitle. The summary ends with how many subtitles are still too fast.
    // A file that cannot be corrected changes nothing. The run's records go
    // to records(), so the result comes back without them.
    // weakWords are for GuidelineBreaks (see runCorrection).
    // shotChanges are the film's, for ShotChanges.
    CorrectionResult correct(const Settings &settings, const WeakWordLists &weakWords = {},
                             const ShotChanges &shotChanges = {});
    // The whole corrected list, whatever a view filters. Saved: the
    // history's present becomes the saved state. Subtitles with no text are
    // saved only when the user says so.
    SaveOutcome save(const QString &target, bool createBakFile, Prompter &prompter);
    // The same rows written elsewhere; the open file stays unsaved.
    SaveOutcome saveCopy(const QString &target, bool createBakFile, Prompter &prompter);

    // LettersFor1Min, for the reading-speed marks of both lists.
    void setLettersPerSecond(qint32 lettersPerSecond);
    qint64 tooFastCount() const;
    // What times changed by hand keep to (see TimeLimits): MinGapMs from
    // the neighbours, and a subtitle at least a frame long (40 ms without
    // a film).
    void setMinGapMs(qint64 minGapMs) { m_minGapMs = minGapMs; }
    void setFrameMs(qint64 frameMs) { m_frameMs = frameMs; }
    qint64 frameMs() const { return m_frameMs; }
    TimeLimits timeLimits(int row) const;
    // Where row's end may go when the next row's start moves with it.
    TimeRange boundaryLimits(int row) const;
    // Why a time may not go into row: the message naming the subtitle, the
    // box and the times it may take; empty when it may.
    QString timeRefusal(int row, TimeField field, qint64 timeMs) const;

    // Changes to the corrected list, each one undoable step; false when
    // there is nothing to change, and then no step is made.
    bool editText(int row, const QString &text);
    // A time the reader would refuse, or one past the row's limits, is
    // never written (see isCommittableTime, timeLimits).
    bool editTime(int row, TimeField field, const QString &timeText);
    bool editTimeMs(int row, TimeField field, qint64 timeMs);
    // Both times moved to start at startMs in one step, the duration kept
    // (a box dragged whole).
    bool moveTimesMs(int row, qint64 startMs);
    // Row's end and the next row's start moved together in one step, the
    // gap between them kept (their shared boundary dragged).
    bool moveBoundaryMs(int row, qint64 endMs);
    // Inserts an empty subtitle above the selected row, or below it; see
    // newRowPlace. Returns the new row; -1 before a correction.
    int insertSubtitle(int selectedRow, bool below);
    bool deleteSubtitle(int row);
    // Restores the records' subtitles as read; when every one of them is
    // restored already, applies their corrections again instead.
    bool restoreOrReapply(const QList<int> &ordinals);
    // A corrected row whose times a shot-change rule chose, still at them,
    // goes to the times the correction would have written without the
    // rule, one step; false, changing nothing, for any other row.
    bool restoreWithoutShotChange(int row);
    // The history's steps, typing not yet applied being a step of its own.
    void undo();
    void redo();

    // Typing in the boxes, committed before any change, save or correction.
    void setPendingEdits(PendingEdits *pending) { m_pendingEdits = pending; }
    void commitPendingEdits();
    bool isRestored(int ordinal) const;

    // The rows the correction run made for ordinal, for applying it again.
    std::vector<SubtitleRow> computedRows(int ordinal) const;
    // The subtitle as read, tagged with its ordinal; none beyond the file.
    std::optional<SubtitleRow> originalRow(int ordinal) const;
    const LangDoc &lang() const { return m_lang; }
    // The last correction's summary, worded in the language active now,
    // with the subtitles still too fast and the starts still moved as they
    // are now; empty before a correction.
    QString summaryText() const;
    // Words the edit records again after the language changed.
    void retranslate();
    // The names of the steps Undo and Redo would take, worded in the
    // language in use now; empty when there is none.
    QString undoCaption() const;
    QString redoCaption() const;

signals:
    // A change was undone or redone, or rows were inserted, deleted or
    // restored; the selection and the boxes follow this row of the
    // corrected list (-1: none left).
    void rowTouched(int row);
    // What summaryText says may have changed.
    void summaryChanged();
    // The open file is another one, or none (empty path).
    void pathChanged(const QString &path);
    void encodingChanged();
    // saveState() may say something else now.
    void saveStateChanged();
    // The lists hold another file, or a new correction of it: selections
    // and boxes are stale.
    void contentReplaced();
    // A correction run is starting, which may take a moment; it ends in
    // corrected(), or in summaryChanged() when it could not run.
    void correctionStarting();
    void corrected(const QString &summary);

private:
    void startHistory();
    // Path, encoding, lists and summary are new: says so.
    void announceNewContent();
    // Asks before saving subtitles with no text; true to go on.
    bool confirmRowsWithoutText(Prompter &prompter) const;

    const LangDoc &m_lang;
    QString m_path;
    FileEncoding m_encoding;
    SubtitleFormat m_format = SubtitleFormat::SubRip;
    // A corrected WebVTT file as read, for writing back what was not corrected.
    std::shared_ptr<const WebVttLayout> m_layout;
    QString m_encodingChoice = QStringLiteral("auto"); // what the open file is read with
    FileStamp m_stamp; // what the file was when last read or written
    FileStamp m_originalStamp; // the bytes the original list was read from
    bool m_corrected = false;
    bool m_savedOnce = false;
    SubtitleList *m_originalList;
    SubtitleList *m_correctedList;
    SubtitleTableModel *m_original;
    SubtitleTableModel *m_correctedModel;
    EditRecordModel *m_records;
    CorrectionCounters m_counters;
    std::vector<ShotChangeTime> m_shotChangeTimes; // of the last correction, by number
    QUndoStack m_undoStack;
    PendingEdits *m_pendingEdits = nullptr;
    qint64 m_minGapMs = 1;
    qint64 m_frameMs = 40;
};
