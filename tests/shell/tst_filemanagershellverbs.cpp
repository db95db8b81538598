// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/desktopentryshellverb.h"
#include "shell/platformshellverb.h"
#include "support/testfiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString UserActions = u"config/Thunar/uca.xml"_s;

// Where each file manager reads the verb, below the temporary home.
const QStringList OwnFiles{u"data/applications/quillmend-correct-subtitles.desktop"_s,
                           u"data/kio/servicemenus/quillmend-correct-subtitles.desktop"_s,
                           u"data/nemo/actions/quillmend-correct-subtitles.nemo_action"_s,
                           u"data/file-manager/actions/quillmend-correct-subtitles.desktop"_s,
                           u"data/nautilus/scripts/Correct subtitles"_s};

const QByteArray ThunarsOwnFile = "<?xml encoding=\"UTF-8\" version=\"1.0\"?>\n<actions>\n<action>\n"
                                  "\t<icon>utilities-terminal</icon>\n\t<name>Open Terminal Here</name>\n"
                                  "\t<unique-id>1521317528494802-1</unique-id>\n"
                                  "\t<command>exo-open --working-directory %f --launch TerminalEmulator</command>\n"
                                  "\t<description>Open a terminal &amp; stay</description>\n"
                                  "\t<patterns>*</patterns>\n\t<startup-notify/>\n\t<directories/>\n</action>\n</actions>\n";

// The command a file manager reads: the first Exec value of a key file, with
// its escapes undone, or the last command of a uca.xml, where ours is added.
QString command(const QString &path)
{
    const QByteArray content = readFile(path);
    QString text;
    if (path.endsWith(u".xml"_s)) {
        for (QXmlStreamReader reader(content); !reader.atEnd();) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"command")
                text = reader.readElementText();
        }
        return text;
    }
    const qsizetype start = content.indexOf("\nExec=") + 6;
    const QString value = QString::fromUtf8(content.mid(start, content.indexOf('\n', start) - start));
    for (qsizetype i = 0; i < value.size(); ++i)
        text += value[i] == u'\\' ? value[++i] : value[i];
    return text;
}

// What a file manager hands to the shell or its word splitter: %% becomes %,
// and the file code the quoted file.
QString expandFieldCodes(const QString &command, QChar fileCode, const QString &quotedFile)
{
    QString expanded;
    for (qsizetype i = 0; i < command.size(); ++i) {
        if (command[i] != u'%' || i + 1 == command.size())
            expanded += command[i];
        else if (command[++i] == fileCode)
            expanded += quotedFile;
        else if (command[i] == u'%')
            expanded += u'%';
    }
    return expanded;
}

} // namespace

class tst_FileManagerShellVerbs : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    // A stand-in that records its arguments, in a folder whose name quotes
    // must protect.
    QString m_program;

    QString home(const QString &relative) const { return m_home->filePath(relative); }
    std::unique_ptr<ShellVerb> verb() const { return makePlatformShellVerb(m_program); }

    // Runs program in the folder "work", where nothing may appear.
    QByteArray run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLMEND_TEST_RECORD"_s, home(u"record"_s));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home(u"work"_s));
        process.start(program, arguments);
        if (!process.waitForFinished(30'000) || process.exitCode() != 0)
            return "failed: " + process.readAllStandardError();
        return readFile(home(u"record"_s));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("HOME", m_home->path().toUtf8());
        qputenv("XDG_DATA_HOME", home(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", home(u"config"_s).toUtf8());
        qputenv("XDG_CONFIG_DIRS", home(u"system"_s).toUtf8());
        const QString folder = home(uR"(My "Subs" 'n' $HOME `touch pwned` $(touch pwned) 100%f %% \ ;|&*)"_s);
        m_program = folder + u"/quill mend"_s;
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(home(u"work"_s)) && QDir().mkpath(home(u"config/Thunar"_s)));
        QVERIFY(writeFile(m_program, "#!/bin/sh\nprintf '%s\\0' \"$@\" >> \"$QUILLMEND_TEST_RECORD\"\n"));
        QVERIFY(QFile::setPermissions(m_program, QFile::ReadOwner | QFile::ExeOwner));
    }

    // Registered means every entry is there; removing takes back exactly
    // what adding wrote, and the desktop database's cache is the desktop's.
    void addThenRemove()
    {
        QVERIFY(writeFile(home(UserActions), ThunarsOwnFile));
        QVERIFY(QDir().mkpath(home(u"data/nemo/actions"_s)) && writeFile(home(u"data/nemo/actions/mine"_s), "x"));
        QVERIFY(!verb()->IsShellVerbRegistered());
        QString error;
        QVERIFY2(verb()->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb()->IsShellVerbRegistered());
        QVERIFY(QFileInfo(home(OwnFiles[1])).isExecutable() && QFileInfo(home(OwnFiles[4])).isExecutable());
        QVERIFY(readFile(home(UserActions)).startsWith(ThunarsOwnFile.chopped(11)));

        // A part that went missing, or lost the bit KDE requires, is put back.
        QVERIFY(QFile::remove(home(OwnFiles[2])));
        QVERIFY(QFile::setPermissions(home(OwnFiles[1]), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!verb()->IsShellVerbRegistered());
        QVERIFY2(verb()->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb()->IsShellVerbRegistered());

        QVERIFY2(verb()->SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!verb()->IsShellVerbRegistered());
        for (const QString &file : OwnFiles)
            QVERIFY2(!QFileInfo::exists(home(file)), qPrintable(file));
        QCOMPARE(readFile(home(UserActions)), ThunarsOwnFile);
        QCOMPARE(readFile(home(u"data/nemo/actions/mine"_s)), "x");
    }

    void filesPassTheirValidators_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << u"desktop-file-validate"_s << QStringList{OwnFiles[0]};
        QTest::newRow("Thunar's actions") << u"xmllint"_s << QStringList{u"--noout"_s, UserActions};
        QTest::newRow("Nautilus script") << u"sh"_s << QStringList{u"-n"_s, OwnFiles[4]};
    }

    void filesPassTheirValidators()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP("The validator is not installed.");
        QVERIFY(verb()->SetShellVerb(true));
        QProcess process;
        process.setWorkingDirectory(m_home->path());
        process.start(tool, arguments);
        QVERIFY(process.waitForFinished(30'000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
    }

    // What each file manager runs reaches the program as "/auto" and the
    // file, whatever the program's path holds, and runs nothing else.
    void commandRunsTheProgramAlone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QChar>("fileCode");
        QTest::addColumn<QString>("quote"); // how the file manager quotes the file
        QTest::newRow("desktop entry") << OwnFiles[0] << QChar(u'f') << u"'"_s;
        QTest::newRow("KDE service menu") << OwnFiles[1] << QChar(u'f') << u"'"_s;
        QTest::newRow("Nemo") << OwnFiles[2] << QChar(u'F') << u"\""_s;
        QTest::newRow("Caja") << OwnFiles[3] << QChar(u'f') << u"'"_s;
        QTest::newRow("Thunar") << UserActions << QChar(u'f') << u"'"_s;
    }

    void commandRunsTheProgramAlone()
    {
        QFETCH(QString, file);
        QFETCH(QChar, fileCode);
        QFETCH(QString, quote);
        QVERIFY(verb()->SetShellVerb(true));
        const QString subtitles = home(u"work/movie one.srt"_s);
        const QString line = expandFieldCodes(command(home(file)), fileCode, quote + subtitles + quote);
        QCOMPARE(run(u"/bin/sh"_s, {u"-c"_s, line}), "/auto\0"_ba + subtitles.toUtf8() + '\0');
        QCOMPARE(filesIn(home(u"work"_s)), QStringList());
    }

    void nautilusScriptCorrectsOnlySrtFiles()
    {
        QVERIFY(verb()->SetShellVerb(true));
        const QStringList names{u"a b.srt"_s, u"-x.SRT"_s, u"new\nline $(touch pwned).srt"_s, u"notes.txt"_s};
        QByteArray expected;
        for (const QString &name : names) {
            QVERIFY(writeFile(home(u"work/"_s + name), "1"));
            if (name.endsWith(u".srt"_s, Qt::CaseInsensitive))
                expected += "/auto\0"_ba + home(u"work/"_s + name).toUtf8() + '\0';
        }
        QCOMPARE(run(home(OwnFiles[4]), QStringList(names) << u"missing.srt"_s), expected);
        QCOMPARE(filesIn(home(u"work"_s)).size(), names.size());
    }

    // Whatever stops one part stops the whole verb: the file in the way is
    // kept as it is, and nothing is left of the parts already written.
    void addIsRefused_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("program"); // empty: the stand-in
        QTest::addColumn<QString>("message");
        for (const QString &file : OwnFiles)
            QTest::newRow(qPrintable(file)) << file << "[Desktop Entry]\nName=Mine\n"_ba << QString()
                                            << u"is not Quillmend's"_s;
        QTest::newRow("a file for a folder") << u"data/nemo"_s << "x"_ba << QString() << u"could not be created"_s;
        QTest::newRow("uca.xml not XML") << UserActions << "<actions><action>"_ba << QString()
                                         << u"cannot be read as Thunar's custom actions"_s;
        QTest::newRow("uca.xml of something else") << UserActions << "<settings/>"_ba << QString()
                                                    << u"cannot be read as Thunar's custom actions"_s;
        QTest::newRow("line break in the path") << u"work/x"_s << "x"_ba << u"/opt/quill\nmend"_s
                                                << u"cannot be written in a desktop entry"_s;
        QTest::newRow("bytes that are no UTF-8") << u"work/x"_s << "x"_ba << u"/opt/quill\uFFFDmend"_s
                                                 << u"cannot be written in a desktop entry"_s;
    }

    void addIsRefused()
    {
        QFETCH(QString, blocker);
        QFETCH(QByteArray, content);
        QFETCH(QString, program);
        QFETCH(QString, message);
        QVERIFY(QDir().mkpath(QFileInfo(home(blocker)).path()) && writeFile(home(blocker), content));
        const std::unique_ptr<ShellVerb> verb = makePlatformShellVerb(program.isEmpty() ? m_program : program);
        QString error;
        QVERIFY(!verb->SetShellVerb(true, &error));
        QVERIFY2(error.contains(message) && (blocker.startsWith(u"work"_s) || error.contains(home(blocker))),
                 qPrintable(error));
        QCOMPARE(readFile(home(blocker)), content);
        const QStringList every = QStringList(OwnFiles) << UserActions;
        for (const QString &file : every)
            QCOMPARE(QFileInfo::exists(home(file)), file == blocker);
        QVERIFY(!verb->IsShellVerbRegistered());
    }

    // A desktop entry is ours by its marker, registered with its action; only
    // ours is removed or replaced.
    void existingDesktopEntry_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("ours");
        QTest::newRow("marker in another group")
            << "[Other]\nX-Quillmend-Verb=true\n[Desktop Action a]\nName=Correct subtitles\n"_ba << false << false;
        QTest::newRow("ours, no action")
            << "[Desktop Entry]\nX-Quillmend-Verb=true\n[Desktop Action a]\nName=Other\n"_ba << false << true;
        QTest::newRow("ours, comments and blanks") << "# by hand\r\n[Desktop Entry]\r\nX-Quillmend-Verb = true\r\n\r\n"
                                                      "[Desktop Action a]\r\nName=Correct subtitles\r\n"_ba
                                                   << true << true;
    }

    void existingDesktopEntry()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, registered);
        QFETCH(bool, ours);
        const QString path = home(OwnFiles[0]);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && writeFile(path, content));
        DesktopEntryShellVerb verb(m_program, QFileInfo(path).path());
        QCOMPARE(verb.IsShellVerbRegistered(), registered);
        QVERIFY(verb.SetShellVerb(false));
        QCOMPARE(readFile(path), ours ? "<missing>"_ba : content);
        QCOMPARE(verb.SetShellVerb(true), ours);
    }

    void userThunarActionsAreKept_data()
    {
        QTest::addColumn<QByteArray>("existing"); // empty: no file
        QTest::addColumn<QByteArray>("kept");     // in the file with ours added
        QTest::newRow("comment, escapes, no line breaks")
            << "<?xml version=\"1.0\"?>\n<!-- mine -->\n<actions><action><name>A &amp; B</name>"
               "<command>a &lt; b</command></action></actions>\n"_ba
            << "<actions><action><name>A &amp; B</name><command>a &lt; b</command></action>\n"_ba;
        QTest::newRow("no file: starts from the system's list") << QByteArray() << ThunarsOwnFile.chopped(11);
    }

    void userThunarActionsAreKept()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, kept);
        QVERIFY(existing.isEmpty() || writeFile(home(UserActions), existing));
        QVERIFY(QDir().mkpath(home(u"system/Thunar"_s)) && writeFile(home(u"system/Thunar/uca.xml"_s), ThunarsOwnFile));
        QVERIFY(verb()->SetShellVerb(true));
        QVERIFY2(readFile(home(UserActions)).contains(kept), readFile(home(UserActions)).constData());
        QVERIFY(verb()->SetShellVerb(false));
        QCOMPARE(readFile(home(UserActions)), existing.isEmpty() ? ThunarsOwnFile : existing);
    }
};

QTEST_GUILESS_MAIN(tst_FileManagerShellVerbs)
#include "tst_filemanagershellverbs.moc"
