// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
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
                                  "\t<description>Open a terminal &amp; stay</description>\n\t<patterns>*</patterns>\n"
                                  "\t<startup-notify/>\n\t<directories/>\n</action>\n</actions>\n";

// The value of the first "Exec=" line, key-file escapes undone.
QString execValue(const QByteArray &keyFile)
{
    const qsizetype start = keyFile.indexOf("\nExec=") + 6;
    const QString value = QString::fromUtf8(keyFile.mid(start, keyFile.indexOf('\n', start) - start));
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i)
        text += value[i] == u'\\' ? value[++i] : value[i];
    return text;
}

// The command of the last action in a uca.xml, where ours is added.
QString lastThunarCommand(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    QString command;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"command")
            command = reader.readElementText();
    }
    return command;
}

// What a file manager hands to the shell or to its word splitter: %% becomes
// %, and the file code becomes the quoted file.
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
    // A stand-in for the program, in a folder whose name quotes must protect.
    QString m_program;

    QString home(const QString &relative) const { return m_home->filePath(relative); }
    QString record() const { return home(u"record"_s); }

    // Runs program with arguments in the folder "work", for the stand-in to
    // record what it was given.
    void run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLMEND_TEST_RECORD"_s, record());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home(u"work"_s));
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(30'000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
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
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(home(u"work"_s)));
        QVERIFY(writeFile(m_program, "#!/bin/sh\nprintf '%s\\0' \"$@\" >> \"$QUILLMEND_TEST_RECORD\"\n"));
        QVERIFY(QFile::setPermissions(m_program, QFile::ReadOwner | QFile::ExeOwner));
    }

    // Registered means every file is there; removing takes back exactly
    // what adding wrote.
    void addThenRemove()
    {
        const std::unique_ptr<ShellVerb> verb = makePlatformShellVerb(m_program);
        QVERIFY(QDir().mkpath(home(u"config/Thunar"_s)) && writeFile(home(UserActions), ThunarsOwnFile));
        QVERIFY(QDir().mkpath(home(u"data/nemo/actions"_s)) && writeFile(home(u"data/nemo/actions/mine"_s), "x"));
        QVERIFY(!verb->IsShellVerbRegistered());
        QString error;
        QVERIFY2(verb->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb->IsShellVerbRegistered());
        for (const QString &file : OwnFiles)
            QVERIFY2(QFileInfo::exists(home(file)), qPrintable(file));
        for (const QString &file : {OwnFiles[1], OwnFiles[4]})
            QVERIFY(QFileInfo(home(file)).isExecutable());
        QVERIFY(readFile(home(UserActions)).startsWith(ThunarsOwnFile.chopped(11)));

        // A part that went missing, or lost the bit KDE requires, is put back.
        QVERIFY(QFile::remove(home(OwnFiles[2])));
        QVERIFY(QFile::setPermissions(home(OwnFiles[1]), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!verb->IsShellVerbRegistered());
        QVERIFY2(verb->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb->IsShellVerbRegistered());

        QVERIFY2(verb->SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!verb->IsShellVerbRegistered());
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
        QVERIFY(makePlatformShellVerb(m_program)->SetShellVerb(true));
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
        QString error;
        QVERIFY2(makePlatformShellVerb(m_program)->SetShellVerb(true, &error), qPrintable(error));
        const QByteArray content = readFile(home(file));
        const QString command = file == UserActions ? lastThunarCommand(content) : execValue(content);
        const QString subtitles = home(u"work/movie one.srt"_s);
        run(u"/bin/sh"_s, {u"-c"_s, expandFieldCodes(command, fileCode, quote + subtitles + quote)});
        QCOMPARE(readFile(record()), "/auto\0"_ba + subtitles.toUtf8() + '\0');
        QCOMPARE(filesIn(home(u"work"_s)), QStringList());
    }

    void nautilusScriptCorrectsOnlySrtFiles()
    {
        QVERIFY(makePlatformShellVerb(m_program)->SetShellVerb(true));
        const QStringList names{u"a b.srt"_s, u"-x.SRT"_s, u"new\nline $(touch pwned).srt"_s, u"notes.txt"_s};
        for (const QString &name : names)
            QVERIFY(writeFile(home(u"work/"_s + name), "1"));
        run(home(OwnFiles[4]), QStringList(names) << u"missing.srt"_s);
        QByteArray expected;
        for (const QString &name : names.first(3))
            expected += "/auto\0"_ba + home(u"work/"_s + name).toUtf8() + '\0';
        QCOMPARE(readFile(record()), expected);
        QCOMPARE(filesIn(home(u"work"_s)).size(), names.size());
    }

    // Someone else's file where ours would go stops the whole verb, and
    // nothing is left of the parts already written.
    void foreignFileIsKept_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file : OwnFiles)
            QTest::newRow(qPrintable(file)) << file;
    }

    void foreignFileIsKept()
    {
        QFETCH(QString, file);
        QVERIFY(QDir().mkpath(QFileInfo(home(file)).path()) && writeFile(home(file), "[Desktop Entry]\nName=Mine\n"));
        const std::unique_ptr<ShellVerb> verb = makePlatformShellVerb(m_program);
        QString error;
        QVERIFY(!verb->SetShellVerb(true, &error));
        QVERIFY2(error.contains(home(file)) && error.contains(u"is not Quillmend's"_s), qPrintable(error));
        QCOMPARE(readFile(home(file)), "[Desktop Entry]\nName=Mine\n");
        const QStringList every = QStringList(OwnFiles) << UserActions;
        for (const QString &other : every)
            QCOMPARE(QFileInfo::exists(home(other)), other == file);
        QVERIFY(verb->SetShellVerb(false));
        QVERIFY(QFileInfo::exists(home(file)));
    }

    void userThunarActionsAreKept_data()
    {
        QTest::addColumn<QByteArray>("existing"); // empty: no file
        QTest::addColumn<QByteArray>("system");   // the system's list, empty: none
        QTest::addColumn<QByteArray>("kept");     // in the file with ours added
        QTest::newRow("Thunar's own file") << ThunarsOwnFile << QByteArray() << ThunarsOwnFile.chopped(11);
        QTest::newRow("comment, escapes, no line breaks")
            << "<?xml version=\"1.0\"?>\n<!-- mine -->\n<actions><action><name>A &amp; B</name>"
               "<command>a &lt; b</command></action></actions>\n"_ba
            << QByteArray() << "<actions><action><name>A &amp; B</name><command>a &lt; b</command></action>\n"_ba;
        QTest::newRow("no file: starts from the system's list")
            << QByteArray() << ThunarsOwnFile << "<name>Open Terminal Here</name>"_ba;
        QTest::newRow("no file, no system list") << QByteArray() << QByteArray() << "<actions>\n<action>"_ba;
    }

    void userThunarActionsAreKept()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, system);
        QFETCH(QByteArray, kept);
        QVERIFY(QDir().mkpath(home(u"config/Thunar"_s)) && QDir().mkpath(home(u"system/Thunar"_s)));
        QVERIFY(existing.isEmpty() || writeFile(home(UserActions), existing));
        QVERIFY(system.isEmpty() || writeFile(home(u"system/Thunar/uca.xml"_s), system));
        const std::unique_ptr<ShellVerb> verb = makePlatformShellVerb(m_program);
        QString error;
        QVERIFY2(verb->SetShellVerb(true, &error), qPrintable(error));
        const QByteArray added = readFile(home(UserActions));
        QVERIFY2(added.contains(kept) && added.contains("<unique-id>quillmend-correct-subtitles</unique-id>"),
                 added.constData());
        QVERIFY2(verb->SetShellVerb(false, &error), qPrintable(error));
        if (!existing.isEmpty())
            QCOMPARE(readFile(home(UserActions)), existing);
    }

    void unreadableThunarActionsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not XML") << "<actions><action>"_ba;
        QTest::newRow("another root") << "<settings/>"_ba;
        QTest::newRow("UTF-16") << "\xff\xfe<\0a\0/\0>\0"_ba;
    }

    void unreadableThunarActionsAreRefused()
    {
        QFETCH(QByteArray, content);
        QVERIFY(QDir().mkpath(home(u"config/Thunar"_s)) && writeFile(home(UserActions), content));
        QString error;
        QVERIFY(!makePlatformShellVerb(m_program)->SetShellVerb(true, &error));
        QVERIFY2(error.contains(home(UserActions)) && error.contains(u"cannot be read as Thunar's custom actions"_s),
                 qPrintable(error));
        QCOMPARE(readFile(home(UserActions)), content);
        for (const QString &file : OwnFiles)
            QVERIFY2(!QFileInfo::exists(home(file)), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(tst_FileManagerShellVerbs)
#include "tst_filemanagershellverbs.moc"
