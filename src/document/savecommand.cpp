// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/savecommand.h"

#include "document/filereplacement.h"
#include "document/prompter.h"
#include "document/srtwriter.h"
#include "lang/form1messages.h"

SaveOutcome notEncodable(const QString &target, const QString &character, const FileEncoding &encoding,
                         const LangDoc &lang)
{
    const QString reason = GetLangText(lang, Form1Msg::NotEncodable).arg(character, encoding.displayName());
    return {SaveOutcome::Status::Failed, GetLangText(lang, Form1Msg::CannotSave).arg(target, reason)};
}

SaveOutcome DoSave(const QByteArray &fileBytes, qsizetype rowCount, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (rowCount == 0)
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};
    FileReplacement replacement(target);
    if (!replacement.open() || !replacement.write(fileBytes))
        return replacement.failure(lang);
    return replacement.commit(createBakFile, prompter, lang);
}

SaveOutcome DoSave(std::span<const SubtitleRow> rows, const FileEncoding &encoding, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (rows.empty())
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};
    QByteArray fileBytes;
    QString badCharacter;
    if (!encodeSubtitleFile(rows, encoding, fileBytes, badCharacter))
        return notEncodable(target, badCharacter, encoding, lang);
    return DoSave(fileBytes, qsizetype(rows.size()), target, createBakFile, prompter, lang);
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
        prompter.inform(outcome.message);
        return false;
    case SaveOutcome::Status::Cancelled:
        return false;
    }
    return false;
}
