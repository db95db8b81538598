// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/filereplacement.h"
#include "document/savecommand.h"
#include "lang/langdoc.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Saving over a file: the exact format, the backup rules, and failures that must leave the old file as it was.
class TestSaveCommand : public QObject
{
    Q_OBJECT

    LangDoc m_lang;

    static std::vector<SubtitleRow> twoRows()
    {
        return {{1, u"00:00:01,000"_qs, u"00:00:02,000"_qs, u"One\r\nline two"_qs, 1},
                {2, u"00:00:03,000"_qs, u"00:00:04,500"_qs, u"Two"_qs, 2}};
    }
    static QByteArray twoRowsFile()
    {
        return "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\nline two\r\n\r\n"
               "2\r\n00:00:03,000 --> 00:00:04,500\r\nTwo\r\n\r\n";
    }

private slots:
    // Through a symbolic link the backup holds the old content, and the link
    // still leads to the file; the file keeps its permissions.
    void backupRules_data()
    {
        QTest::addColumn<bool>("createBakFile");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("oldBackup");
        QTest::addColumn<QList<Prompter::Answer>>("answers");
        QTest::addColumn<QByteArray>("backupAfter");
        QTest::addColumn<bool>("link"); // the target is a link to the file

        using A = Prompter::Answer;
        const auto row = [](const char *name, bool createBakFile, bool oldFile, bool oldBackup, QList<A> answers,
                            const QByteArray &backupAfter, bool link = false) {
            QTest::newRow(name) << createBakFile << oldFile << oldBackup << answers << backupAfter << link;
        };
        row("first backup", true, true, false, {}, "old");
        row("old backup kept by default", true, true, true, {}, "older");
        row("old backup replaced on Yes", true, true, true, {A::Yes}, "old");
        row("no backup wanted", false, true, false, {}, "<missing>");
        row("no backup wanted, old one untouched", false, true, true, {}, "older");
        row("a new file has nothing to back up", true, false, false, {}, "<missing>");
        row("first backup through a link", true, true, false, {}, "old", true);
        row("old backup replaced through a link", true, true, true, {A::Yes}, "old", true);
    }

    void backupRules()
    {
        QFETCH(bool, createBakFile);
        QFETCH(bool, oldFile);
        QFETCH(bool, oldBackup);
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(QByteArray, backupAfter);
        QFETCH(bool, link);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"movie.srt"_qs);
        const QString file = link ? dir.filePath(u"real.srt"_qs) : target;
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        if (oldFile)
            QVERIFY(writeFile(file, "old") && QFile::setPermissions(file, permissions));
        QVERIFY(!link || QFile::link(file, target));
        if (oldBackup)
            QVERIFY(writeFile(target + u".bak"_qs, "older"));

        ScriptedPrompter prompter(answers);
        QCOMPARE(DoSave(twoRows(), {}, target, createBakFile, prompter, m_lang).status, SaveOutcome::Status::Saved);
        QCOMPARE(readFile(file), twoRowsFile());
        QCOMPARE(QFileInfo(target).isSymLink(), link);
        QCOMPARE(readFile(target + u".bak"_qs), backupAfter);
        const QString question = target + u".bak\n.bak file exists. Replace?"_qs;
        QCOMPARE(prompter.asked, oldBackup && createBakFile ? QStringList{question} : QStringList());
        // Nothing left over from the temporary files.
        QCOMPARE(filesIn(dir.path()).size(), (backupAfter == "<missing>" ? 1 : 2) + (link ? 1 : 0));
        if (oldFile) {
            const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser; // mirror the caller's rights
            QCOMPARE(QFile::permissions(file) & ~userBits, permissions);
        }
    }

    // Nothing is written, and the old file stays as it was.
    void refusedSavesLeaveTheOldFile_data()
    {
        QTest::addColumn<QString>("target"); // relative to a fresh folder; null: no rows to save
        QTest::addColumn<FileEncoding>("encoding");
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<QString>("message"); // %1: the target; ending in ": ", the system's reason follows

        const QString cannot = u"Cannot save %1: "_qs;
        const FileEncoding utf8;
        QTest::newRow("nothing to save") << QString() << utf8 << false << u"Nothing to save"_qs;
        QTest::newRow("folder missing") << u"gone/movie.srt"_qs << utf8 << false << cannot;
        QTest::newRow("read-only folder") << u"movie.srt"_qs << utf8 << true << cannot;
        QTest::newRow("target is a folder") << u"folder"_qs << utf8 << false << cannot + u"not a regular file"_qs;
        QTest::newRow("Latin-1 cannot hold the text")
            << u"movie.srt"_qs << FileEncoding{FileEncoding::Kind::Legacy, false, "ISO-8859-1"} << false
            << cannot + u"the character € cannot be written in ISO-8859-1"_qs;
        QTest::newRow("windows-1253 cannot hold the text")
            << u"movie.srt"_qs << FileEncoding{FileEncoding::Kind::Legacy, false, "windows-1253"} << false
            << cannot + u"the character Ł cannot be written in windows-1253"_qs;
    }

    void refusedSavesLeaveTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(FileEncoding, encoding);
        QFETCH(bool, readOnlyFolder);
        QFETCH(QString, message);
        if (readOnlyFolder && ::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"movie.srt"_qs), "old") && QDir(dir.path()).mkdir(u"folder"_qs));
        std::vector<SubtitleRow> rows = twoRows();
        rows.back().text = u"5 €, Łódź: łódź"_qs; // windows-1253 has €, not Ł
        if (target.isNull())
            rows.clear();
        const QString path = dir.filePath(target.isNull() ? u"movie.srt"_qs : target);
        if (readOnlyFolder)
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        ScriptedPrompter prompter;
        const SaveOutcome outcome = DoSave(rows, encoding, path, true, prompter, m_lang);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(outcome.status, target.isNull() ? SaveOutcome::Status::NothingToSave : SaveOutcome::Status::Failed);
        message.replace(u"%1"_qs, path);
        const bool reasonFollows = message.endsWith(u' ');
        QVERIFY2(outcome.message.startsWith(message) && (outcome.message.size() > message.size()) == reasonFollows,
                 qPrintable(outcome.message));
        QCOMPARE(readFile(dir.filePath(u"movie.srt"_qs)), QByteArray("old"));
        QCOMPARE(filesIn(dir.path()), QStringList{u"movie.srt"_qs});
    }

    // Nothing is written that the reader would refuse to open again.
    void contentOverTheSizeLimitIsRefused_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("saved");
        const qint64 size = twoRowsFile().size();
        QTest::newRow("one byte under the content") << size - 1 << false;
        QTest::newRow("exactly the content") << size << true;
    }

    void contentOverTheSizeLimitIsRefused()
    {
        QFETCH(qint64, limit);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"movie.srt"_qs);
        QVERIFY(writeFile(target, "old"));
        FileReplacement replacement(target, m_lang, limit);
        QVERIFY(replacement.open());
        const QByteArray content = twoRowsFile();
        // In two pieces, as the command line writes: the total counts.
        QCOMPARE(replacement.write(QByteArrayView(content).first(10)) && replacement.write(QByteArrayView(content).sliced(10))
                     && replacement.commit(false),
                 saved);
        QCOMPARE(readFile(target), saved ? content : QByteArray("old"));
        if (!saved)
            QCOMPARE(replacement.errorText(), u"Cannot save %1: the corrected file would be larger than %2 bytes, more "
                                              u"than can be read back"_qs.arg(target).arg(limit));
        QCOMPARE(filesIn(dir.path()), QStringList{u"movie.srt"_qs});
    }

    void askToSave_data()
    {
        QTest::addColumn<SaveState>("stateBefore");
        QTest::addColumn<QList<Prompter::Answer>>("answers");
        QTest::addColumn<SaveOutcome::Status>("saveStatus");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<SaveState>("stateAfter");
        QTest::addColumn<QStringList>("shown");

        using A = Prompter::Answer;
        using S = SaveOutcome::Status;
        const auto row = [](const char *name, SaveState before, QList<A> answers, S status, bool goOn, SaveState after,
                            bool shown = false) {
            QTest::newRow(name) << before << answers << status << goOn << after
                                << (shown ? QStringList{u"message"_qs} : QStringList());
        };
        row("nothing unsaved", SaveState::Saved, {}, S::Saved, true, SaveState::Saved);
        row("just loaded", SaveState::Empty, {}, S::Saved, true, SaveState::Empty);
        row("cancel", SaveState::NotSaved, {A::Cancel}, S::Saved, false, SaveState::NotSaved);
        row("no", SaveState::NotSaved, {A::No}, S::Saved, true, SaveState::NotSaved);
        row("yes", SaveState::NotSaved, {A::Yes}, S::Saved, true, SaveState::Saved);
        row("yes, nothing to save", SaveState::NotSaved, {A::Yes}, S::NothingToSave, true, SaveState::NotSaved, true);
        row("yes, save failed: stay", SaveState::NotSaved, {A::Yes}, S::Failed, false, SaveState::NotSaved, true);
        row("yes, then the save declined: stay, nothing to tell", SaveState::NotSaved, {A::Yes}, S::Cancelled, false,
            SaveState::NotSaved);
    }

    void askToSave()
    {
        QFETCH(SaveState, stateBefore);
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(SaveOutcome::Status, saveStatus);

        ScriptedPrompter prompter(answers);
        SaveState state = stateBefore;
        int saves = 0;
        const bool goOn = AskToSave(state, prompter, m_lang, [&] {
            ++saves;
            return SaveOutcome{saveStatus, u"message"_qs};
        });
        QTEST(goOn, "goOn");
        QTEST(state, "stateAfter");
        QTEST(prompter.informed, "shown");
        QCOMPARE(saves, answers.value(0, Prompter::Answer::No) == Prompter::Answer::Yes ? 1 : 0);
        const QString question = u"Edited text not saved. Save changes?"_qs;
        QCOMPARE(prompter.asked, answers.isEmpty() ? QStringList() : QStringList{question});
    }
};

QTEST_GUILESS_MAIN(TestSaveCommand)
#include "tst_savecommand.moc"
