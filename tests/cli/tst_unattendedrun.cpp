// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/unattendedrun.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

// quillmend /AUTO with a display: the command line's correction, with its
// questions, refusals and summary in boxes that name the file.
class TestUnattendedRun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    int run(const QString &fileName, const QByteArray &settings)
    {
        const CliEnvironment environment{path(u"Quillmend.ini"_qs), {QStringLiteral(QUILLMEND_LANG_SOURCE_DIR)}};
        if (!writeFile(environment.defaultSettingsPath, settings))
            return -1;
        UnattendedRun unattended(environment, m_prompter);
        return unattended.correct(fileName);
    }
    // One subtitle too long for a line of 44, and one short.
    static QByteArray movie() { return readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/movie.srt")); }

private slots:
    void init() { m_prompter = ScriptedPrompter(); }

    void correctsAndSaves_data()
    {
        // The unattended run has switches of its own, apart from the window's, which are set the other way.
        QTest::addColumn<bool>("on"); // CreateBakFileAuto and ShowMessageAuto
        QTest::newRow("backup and summary") << true;
        QTest::newRow("neither") << false;
    }

    void correctsAndSaves()
    {
        QFETCH(bool, on);
        const QByteArray window = on ? "0" : "-1", automatic = on ? "-1" : "0";
        const QByteArray settings = "[General]\nCreateBakFile=" + window + "\nShowMessage=" + window
            + "\nCreateBakFileAuto=" + automatic + "\nShowMessageAuto=" + automatic + "\n";
        const QString file = path(u"movie.srt"_qs);
        QFile::remove(file + u".bak"_qs);
        QVERIFY(writeFile(file, movie()));
        QCOMPARE(run(file, settings), int(ExitOk));
        QCOMPARE(readFile(file), QByteArray(movie().replace("stairs twice", "stairs\r\ntwice") + "\r\n"));
        QCOMPARE(readFile(file + u".bak"_qs), on ? movie() : QByteArray("<missing>"));
        // Several files may be corrected at once from a file manager: each box names its file.
        QCOMPARE(m_prompter.informed,
                 on ? QStringList{file + u"\nEdits: 1 (with 0 time) - 0 time - 0 splits (with 0 time edit)"_qs}
                    : QStringList());
        QCOMPARE(m_prompter.warned + m_prompter.asked, QStringList());

        // An older backup is kept unless the user says otherwise, asked by name.
        if (on) {
            QVERIFY(writeFile(file, movie()));
            QCOMPARE(run(file, settings), int(ExitOk));
            QCOMPARE(m_prompter.asked, QStringList{file + u".bak\n.bak file exists. Replace?"_qs});
            QCOMPARE(readFile(file + u".bak"_qs), movie());
        }
    }

    // Refused with the reason, the name quoted so a stray blank shows, and
    // settings a run cannot use blamed on the settings file; nothing is written.
    void refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a trailing blank") << u"movie.srt "_qs << QByteArray() << u"no such file"_qs;
        QTest::newRow("MaxLen 0") << u"movie.srt"_qs << QByteArray("MaxLen=0\n")
                                  << u"Invalid setting MaxLen: must be at least 1"_qs;
    }

    void refusals()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, settings);
        QFETCH(QString, reason);
        QVERIFY(writeFile(path(u"movie.srt"_qs), movie()));
        const QString fileName = path(name);
        QCOMPARE(run(fileName, "[General]\n" + settings), int(ExitFileFailed));
        const QString heading = settings.isEmpty() ? u"Error in file\n\"%1\"\n"_qs.arg(fileName)
                                                   : u"Error in settings file\n%1\n"_qs.arg(path(u"Quillmend.ini"_qs));
        QCOMPARE(m_prompter.warned, QStringList{heading + reason});
        QCOMPARE(readFile(path(u"movie.srt"_qs)), movie());
    }
};

QTEST_GUILESS_MAIN(TestUnattendedRun)
#include "tst_unattendedrun.moc"
