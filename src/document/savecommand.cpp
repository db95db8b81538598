// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/savecommand.h"

#include "document/filereplacement.h"
#include "document/prompter.h"
#include "document/srtwriter.h"
#include "document/webvtt/webvttwriter.h"
#include "lang/form1messages.h"

#include <QFileInfo>

#include <type_traits>

SaveOutcome notEncodable(const QString &target, const QString &character, const FileEncoding &encoding,
                         const LangDoc &lang)
{
    const QString reason = GetLangText(lang, Form1Msg::NotEncodable).arg(character, encoding.caption(lang));
    return {SaveOutcome::Status::Failed, GetLangText(lang, Form1Msg::CannotSave).arg(target, reason)};
}

bool wantsBackup(const QString &target, bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (!createBakFile || !QFileInfo(target).isFile())
        return false;
    if (!QFileInfo::exists(target + QStringLiteral(".bak")))
        return true;
    // No is the default: an existing backup may be the only copy of the
    // file as it was before any correction.
    // Named, since a file manager may start several unattended runs at once.
    return prompter.ask(target + QStringLiteral(".bak\n") + GetLangText(lang, Form1Msg::ReplaceBak),
                        Prompter::Buttons::YesNo, Prompter::Answer::No)
        == Prompter::Answer::Yes;
}

SaveOutcome DoSave(const QByteArray &fileBytes, qsizetype rowCount, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (rowCount == 0)
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};
    FileReplacement replacement(target, lang);
    if (!replacement.open() || !replacement.write(fileBytes)
        || !replacement.commit(wantsBackup(target, createBakFile, prompter, lang)))
        return {SaveOutcome::Status::Failed, replacement.errorText()};
    return {SaveOutcome::Status::Saved, {}};
}

namespace {

template<typename Rows>
SaveOutcome saveRows(const Rows &rows, qsizetype rowCount, const FileEncoding &encoding, const QString &target,
                     bool createBakFile, Prompter &prompter, const LangDoc &lang, FileStamp *written,
                     std::shared_ptr<const WebVttLayout> layout = {})
{
    if (rowCount == 0)
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};
    QByteArray fileBytes;
    QString badCharacter;
    if constexpr (std::is_same_v<Rows, SubtitleRows>) {
        if (layout)
            fileBytes = webVttFileBytes(rows, std::move(layout), encoding); // always UTF-8
    }
    if (fileBytes.isEmpty() && !encodeSubtitleFile(rows, encoding, fileBytes, badCharacter))
        return notEncodable(target, badCharacter, encoding, lang);
    const SaveOutcome outcome = DoSave(fileBytes, rowCount, target, createBakFile, prompter, lang);
    if (written && outcome.status == SaveOutcome::Status::Saved)
        *written = FileStamp::statOf(target).withContent(fileBytes);
    return outcome;
}

} // namespace

SaveOutcome DoSave(std::span<const SubtitleRow> rows, const FileEncoding &encoding, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang, FileStamp *written)
{
    return saveRows(rows, qsizetype(rows.size()), encoding, target, createBakFile, prompter, lang, written);
}

SaveOutcome DoSave(const SubtitleRows &rows, const FileEncoding &encoding, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang, FileStamp *written,
                   std::shared_ptr<const WebVttLayout> layout)
{
    return saveRows(rows, rows.size(), encoding, target, createBakFile, prompter, lang, written, std::move(layout));
}

bool AskToSave(SaveState &state, Prompter &prompter, const LangDoc &lang, const std::function<SaveOutcome()> &save)
{
    if (state != SaveState::NotSaved)
        return true;
    const Prompter::Answer answer = prompter.ask(GetLangText(lang, Form1Msg::SaveChanges),
                                                 Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
    if (answer == Prompter::Answer::Cancel)
        return false;
    if (answer == Prompter::Answer::No)
        return true;
    const SaveOutcome outcome = save();
    switch (outcome.status) {
    case SaveOutcome::Status::Saved:
        state = SaveState::Saved;
        return true;
    case SaveOutcome::Status::NothingToSave:
        prompter.inform(outcome.message);
        return true;
    case SaveOutcome::Status::Failed:
        prompter.warn(outcome.message);
        return false;
    case SaveOutcome::Status::Cancelled:
        return false;
    }
    return false;
}
