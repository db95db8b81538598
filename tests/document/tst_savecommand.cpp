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

// Saving over a file: the exact format, the backup rules, and failures that
// must leave the old file as it was.
class TestSaveCommand : public QObject
{
    Q_OBJECT

private:
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

    // movie.srt holding "old"; empty when it cannot be written.
    static QString oldFile(const QTemporaryDir &dir)
    {
        const QString target = dir.filePath(u"movie.srt"_qs);
        return writeFile(target, "old") ? target : QString();
    }

private slots:
    void backupRules_data()
    {
        QTest::addColumn<bool>("createBakFile");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("oldBackup");
        QTest::addColumn<QList<Prompter::Answer>>("answers");
        QTest::addColumn<QByteArray>("backupAfter");
        QTest::addColumn<int>("questions");

        using A = Prompter::Answer;
        QTest::newRow("first backup") << true << true << false << QList<A>{} << QByteArray("old") << 0;
        QTest::newRow("old backup kept by default") << true << true << true << QList<A>{} << QByteArray("older") << 1;
        QTest::newRow("old backup replaced on Yes") << true << true << true << QList<A>{A::Yes} << QByteArray("old") << 1;
        QTest::newRow("no backup wanted") << false << true << false << QList<A>{} << QByteArray("<missing>") << 0;
        QTest::newRow("no backup wanted, old one untouched")
            << false << true << true << QList<A>{} << QByteArray("older") << 0;
        QTest::newRow("a new file has nothing to back up")
            << true << false << false << QList<A>{} << QByteArray("<missing>") << 0;
    }

    void backupRules()
    {
        QFETCH(bool, createBakFile);
        QFETCH(bool, oldFile);
        QFETCH(bool, oldBackup);
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(QByteArray, backupAfter);
        QFETCH(int, questions);

        QTemporaryDir dir;
        const QString target = dir.filePath(u"movie.srt"_qs);
        if (oldFile)
            QVERIFY(writeFile(target, "old"));
        if (oldBackup)
            QVERIFY(writeFile(target + u".bak"_qs, "older"));

        ScriptedPrompter prompter(answers);
        const SaveOutcome outcome = DoSave(twoRows(), {}, target, createBakFile, prompter, m_lang);
        QCOMPARE(outcome.status, SaveOutcome::Status::Saved);
        QCOMPARE(readFile(target), twoRowsFile());
        QCOMPARE(readFile(target + u".bak"_qs), backupAfter);
        QCOMPARE(prompter.asked.size(), questions);
        if (questions)
            QCOMPARE(prompter.asked.first(), target + u".bak\n.bak file exists. Replace?"_qs);
        // Nothing left over from the temporary files.
        QCOMPARE(filesIn(dir.path()).size(), backupAfter == "<missing>" ? 1 : 2);
    }

    void throughASymbolicLink()
    {
        // The backup holds the old content, and the link still leads to the file.
        QTemporaryDir dir;
        const QString real = dir.filePath(u"real.srt"_qs);
        const QString link = dir.filePath(u"link.srt"_qs);
        QVERIFY(writeFile(real, "old"));
        QVERIFY(QFile::link(real, link));
        for (const QByteArray &oldBackup : {QByteArray(), QByteArray("older")}) {
            if (!oldBackup.isNull())
                QVERIFY(writeFile(link + u".bak"_qs, oldBackup));
            ScriptedPrompter prompter({Prompter::Answer::Yes});
            QCOMPARE(DoSave(twoRows(), {}, link, true, prompter, m_lang).status, SaveOutcome::Status::Saved);
            QCOMPARE(readFile(link + u".bak"_qs), oldBackup.isNull() ? QByteArray("old") : twoRowsFile());
            QVERIFY(QFileInfo(link).isSymLink());
            QCOMPARE(readFile(real), twoRowsFile());
        }
    }

    void keepsTheFilePermissions()
    {
        QTemporaryDir dir;
        const QString target = oldFile(dir);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        ScriptedPrompter prompter;
        QCOMPARE(DoSave(twoRows(), {}, target, false, prompter, m_lang).status, SaveOutcome::Status::Saved);
        const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser; // mirror the caller's rights
        QCOMPARE(QFile::permissions(target) & ~userBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }

    void nothingToSaveWritesNothing()
    {
        QTemporaryDir dir;
        const QString target = oldFile(dir);
        ScriptedPrompter prompter;
        const SaveOutcome outcome = DoSave(std::vector<SubtitleRow>{}, {}, target, true, prompter, m_lang);
        QCOMPARE(outcome.status, SaveOutcome::Status::NothingToSave);
        QCOMPARE(outcome.message, u"Nothing to save"_qs);
        QCOMPARE(filesIn(dir.path()), QStringList{u"movie.srt"_qs});
        QCOMPARE(readFile(target), QByteArray("old"));
    }

    void failuresLeaveTheOldFile_data()
    {
        QTest::addColumn<QString>("target"); // relative to a fresh folder
        QTest::addColumn<FileEncoding>("encoding");
        QTest::addColumn<QString>("reasonPart");

        QTest::newRow("folder missing") << u"gone/movie.srt"_qs << FileEncoding{} << QString();
        QTest::newRow("target is a folder") << u"folder"_qs << FileEncoding{} << u"not a regular file"_qs;
        QTest::newRow("Latin-1 cannot hold the text")
            << u"movie.srt"_qs << FileEncoding{FileEncoding::Kind::Legacy, false, "ISO-8859-1"}
            << u"the character € cannot be written in ISO-8859-1"_qs;
        QTest::newRow("windows-1253 cannot hold the text")
            << u"movie.srt"_qs << FileEncoding{FileEncoding::Kind::Legacy, false, "windows-1253"}
            << u"the character Ł cannot be written in windows-1253"_qs;
    }

    void failuresLeaveTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(FileEncoding, encoding);
        QFETCH(QString, reasonPart);

        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"movie.srt"_qs), "old"));
        QDir(dir.path()).mkdir(u"folder"_qs);
        std::vector<SubtitleRow> rows = twoRows();
        rows.back().text = u"5 €, Łódź: łódź"_qs; // windows-1253 has €, not Ł

        ScriptedPrompter prompter;
        const QString path = dir.filePath(target);
        const SaveOutcome outcome = DoSave(rows, encoding, path, true, prompter, m_lang);
        QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
        QVERIFY2(outcome.message.startsWith(u"Cannot save "_qs + path + u": "_qs), qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(reasonPart), qPrintable(outcome.message));
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
        const QString target = oldFile(dir);
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

    void readOnlyFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString target = oldFile(dir);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        ScriptedPrompter prompter;
        const SaveOutcome outcome = DoSave(twoRows(), {}, target, true, prompter, m_lang);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
        QCOMPARE(readFile(target), QByteArray("old"));
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
        QTest::newRow("nothing unsaved") << SaveState::Saved << QList<A>{} << S::Saved << true << SaveState::Saved
                                         << QStringList{};
        QTest::newRow("just loaded") << SaveState::Empty << QList<A>{} << S::Saved << true << SaveState::Empty
                                     << QStringList{};
        QTest::newRow("cancel") << SaveState::NotSaved << QList<A>{A::Cancel} << S::Saved << false
                                << SaveState::NotSaved << QStringList{};
        QTest::newRow("no") << SaveState::NotSaved << QList<A>{A::No} << S::Saved << true << SaveState::NotSaved
                            << QStringList{};
        QTest::newRow("yes") << SaveState::NotSaved << QList<A>{A::Yes} << S::Saved << true << SaveState::Saved
                             << QStringList{};
        QTest::newRow("yes, nothing to save") << SaveState::NotSaved << QList<A>{A::Yes} << S::NothingToSave << true
                                              << SaveState::NotSaved << QStringList{u"message"_qs};
        QTest::newRow("yes, save failed: stay") << SaveState::NotSaved << QList<A>{A::Yes} << S::Failed << false
                                                << SaveState::NotSaved << QStringList{u"message"_qs};
        QTest::newRow("yes, then the save declined: stay, nothing to tell")
            << SaveState::NotSaved << QList<A>{A::Yes} << S::Cancelled << false << SaveState::NotSaved << QStringList{};
    }

    void askToSave()
    {
        QFETCH(SaveState, stateBefore);
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(SaveOutcome::Status, saveStatus);
        QFETCH(bool, goOn);
        QFETCH(SaveState, stateAfter);
        QFETCH(QStringList, shown);

        ScriptedPrompter prompter(answers);
        SaveState state = stateBefore;
        int saves = 0;
        const bool result = AskToSave(state, prompter, m_lang, [&] {
            ++saves;
            return SaveOutcome{saveStatus, u"message"_qs};
        });
        QCOMPARE(result, goOn);
        QCOMPARE(state, stateAfter);
        QCOMPARE(prompter.informed, shown);
        QCOMPARE(saves, answers.value(0, Prompter::Answer::No) == Prompter::Answer::Yes ? 1 : 0);
        if (!answers.isEmpty())
            QCOMPARE(prompter.asked, QStringList{u"Edited text not saved. Save changes?"_qs});
    }
};

QTEST_GUILESS_MAIN(TestSaveCommand)
#include "tst_savecommand.moc"
