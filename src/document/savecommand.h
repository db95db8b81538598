// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/filestamp.h"
#include "document/rows/subtitlerows.h"
#include "document/savestate.h"
#include "document/subtitlerow.h"
#include "document/textencoding.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <span>

class LangDoc;
class Prompter;
class WebVttLayout;

// What became of a save; message is the text to show for anything but Saved.
struct SaveOutcome
{
    // Cancelled: the user chose not to write; nothing to tell them.
    enum class Status { Saved, NothingToSave, Failed, Cancelled };

    Status status = Status::Failed;
    QString message;
};

// The failure of a save to target because encoding cannot hold character.
SaveOutcome notEncodable(const QString &target, const QString &character, const FileEncoding &encoding,
                         const LangDoc &lang);

// Whether a save over target keeps the old file as target + ".bak": with
// createBakFile and an existing target; an older .bak is replaced only when
// the user says Yes.
bool wantsBackup(const QString &target, bool createBakFile, Prompter &prompter, const LangDoc &lang);

// Writes fileBytes (a whole SRT file holding rowCount subtitles) over target.
// With createBakFile and an existing target, the old file is kept as
// target + ".bak"; an older .bak is replaced only when the user says Yes.
// The new content goes to a temporary file that replaces the target only
// once complete, so a failure or a crash leaves the old file as it was.
SaveOutcome DoSave(const QByteArray &fileBytes, qsizetype rowCount, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang);

// The same for rows, written in encoding, or with layout, into the WebVTT
// file they were read from. With written, once saved, it records what the
// target now holds, from the bytes just written.
SaveOutcome DoSave(std::span<const SubtitleRow> rows, const FileEncoding &encoding,
                   const QString &target, bool createBakFile, Prompter &prompter, const LangDoc &lang,
                   FileStamp *written = nullptr);
SaveOutcome DoSave(const SubtitleRows &rows, const FileEncoding &encoding, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang, FileStamp *written = nullptr,
                   std::shared_ptr<const WebVttLayout> layout = {});

// Before work that would drop unsaved edits: asks whether to save them.
// True when the caller may go on (saved, not wanted, or nothing unsaved);
// false on Cancel, and when the save failed, so the edits are not lost.
bool AskToSave(SaveState &state, Prompter &prompter, const LangDoc &lang,
               const std::function<SaveOutcome()> &save);
