// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/savecommand.h"

#include "document/prompter.h"
#include "document/srtwriter.h"
#include "lang/form1messages.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

SaveOutcome failed(const LangDoc &lang, const QString &target, const QString &reason)
{
    return {SaveOutcome::Status::Failed, GetLangText(lang, Form1Msg::CannotSave).arg(target, reason)};
}

// Copies the file's content to backup through a temporary file, so an old
// backup is only replaced by a complete one.
bool copyToBackup(const QString &target, const QString &backup, QString &reason)
{
    QFile source(target);
    if (!source.open(QIODevice::ReadOnly)) {
        reason = source.errorString();
        return false;
    }
    QSaveFile copy(backup);
    if (!copy.open(QIODevice::WriteOnly)) {
        reason = copy.errorString();
        return false;
    }
    char chunk[256 * 1024];
    for (;;) {
        const qint64 got = source.read(chunk, sizeof chunk);
        if (got < 0 || (got > 0 && copy.write(chunk, got) != got)) {
            reason = got < 0 ? source.errorString() : copy.errorString();
            copy.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
    }
    if (!copy.commit()) {
        reason = copy.errorString();
        return false;
    }
    return true;
}

// Keeps the current target as backup. A hard link costs nothing and keeps
// the old file's permissions; where links are refused, the content is copied.
bool makeBackup(const QString &target, const QString &backup, QString &reason)
{
#ifdef Q_OS_UNIX
    const QByteArray targetName = QFile::encodeName(target);
    if (!QFileInfo::exists(backup)) {
        if (::link(targetName.constData(), QFile::encodeName(backup).constData()) == 0)
            return true;
    } else {
        for (int attempt = 0; attempt < 8; ++attempt) {
            const QString temporary =
                backup + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            const QByteArray temporaryName = QFile::encodeName(temporary);
            if (::link(targetName.constData(), temporaryName.constData()) != 0) {
                if (errno == EEXIST)
                    continue;
                break;
            }
            if (::rename(temporaryName.constData(), QFile::encodeName(backup).constData()) == 0)
                return true;
            reason = QString::fromLocal8Bit(std::strerror(errno));
            ::unlink(temporaryName.constData());
            return false;
        }
    }
#endif
    return copyToBackup(target, backup, reason);
}

} // namespace

SaveOutcome DoSave(const QByteArray &fileBytes, qsizetype rowCount, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (rowCount == 0)
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};

    const QFileInfo info(target);
    const bool targetExists = !target.trimmed().isEmpty() && info.exists();
    if (targetExists && !info.isFile())
        return failed(lang, target, GetLangText(lang, Form1Msg::NotRegularFile));

    const QString backup = target + QStringLiteral(".bak");
    bool wantBackup = targetExists && createBakFile;
    if (wantBackup && QFileInfo::exists(backup)) {
        // No is the default: an existing backup may be the only copy of the
        // file as it was before any correction.
        wantBackup = prompter.ask(GetLangText(lang, Form1Msg::ReplaceBak), Prompter::Buttons::YesNo,
                                  Prompter::Answer::No)
            == Prompter::Answer::Yes;
    }

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return failed(lang, target, file.errorString());
    if (file.write(fileBytes) != fileBytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failed(lang, target, reason);
    }
    if (wantBackup) {
        QString reason;
        if (!makeBackup(target, backup, reason)) {
            file.cancelWriting();
            return failed(lang, target, GetLangText(lang, Form1Msg::CannotBackUp).arg(backup, reason));
        }
    }
    if (!file.commit())
        return failed(lang, target, file.errorString());
    return {SaveOutcome::Status::Saved, {}};
}

SaveOutcome DoSave(std::span<const SubtitleRow> rows, const FileEncoding &encoding, const QString &target,
                   bool createBakFile, Prompter &prompter, const LangDoc &lang)
{
    if (rows.empty())
        return {SaveOutcome::Status::NothingToSave, GetLangText(lang, Form1Msg::NothingToSave)};
    QByteArray fileBytes;
    QString badCharacter;
    if (!encodeSubtitleFile(rows, encoding, fileBytes, badCharacter)) {
        return failed(lang, target,
                      GetLangText(lang, Form1Msg::NotEncodable).arg(badCharacter, encoding.displayName()));
    }
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
    }
    return false;
}
