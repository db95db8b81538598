// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/platformshellverb.h"
#include "support/testfiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString UserActions = u"config/Thunar/uca.xml"_s;

// Where each file manager reads the verb, below the temporary home.
const QStringList OwnFiles{u"data/kio/servicemenus/quillmend-correct-subtitles.desktop"_s,
                           u"data/nemo/actions/quillmend-correct-subtitles.nemo_action"_s,
                           u"data/file-manager/actions/quillmend-correct-subtitles.desktop"_s,
                           u"data/nautilus/scripts/Correct subtitles"_s};

// As Thunar writes it: empty elements both ways, quotes escaped.
const QByteArray ThunarsOwnFile = "<?xml encoding=\"UTF-8\" version=\"1.0\"?>\n<actions>\n<action>\n"
                                  "\t<icon>utilities-terminal</icon>\n\t<name>Open Terminal Here</name>\n"
                                  "\t<submenu></submenu>\n\t<unique-id>1521317528494802-1</unique-id>\n"
                                  "\t<command>exo-open --working-directory &quot;%f&quot;</command>\n"
                                  "\t<description>Open a terminal &amp; stay</description>\n\t<range></range>\n"
                                  "\t<patterns>*</patterns>\n\t<startup-notify/>\n\t<directories/>\n</action>\n</actions>\n";

// What a file manager reads: the last such element of a uca.xml, where ours
// is added, or the first such key of a key file, with its escapes undone.
QString valueIn(const QString &path, const QString &name)
{
    const QByteArray content = readFile(path);
    QString text;
    if (path.endsWith(u".xml"_s)) {
        QXmlStreamReader reader(content);
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
                text = reader.readElementText();
        }
        return reader.hasError() ? u"not XML: "_s + reader.errorString() : text;
    }
    const qsizetype start = content.indexOf(QByteArray('\n' + name.toUtf8() + '=')) + name.size() + 2;
    const QString value = QString::fromUtf8(content.mid(start, content.indexOf('\n', start) - start));
    for (qsizetype i = 0; i < value.size(); ++i)
        text += value[i] == u'\\' ? value[++i] : value[i];
    return text;
}

// GLib's simple patterns, which know "*" and "?" only, as a test of a name.
auto simplePatterns(const QStringList &patterns, QRegularExpression::PatternOptions options)
{
    QStringList expressions;
    for (const QString &pattern : patterns)
        expressions << QRegularExpression::escape(pattern).replace(u"\\*"_s, u".*"_s).replace(u"\\?"_s, u"."_s);
    const QRegularExpression any(QRegularExpression::anchoredPattern(expressions.join(u'|')),
                                 options | QRegularExpression::DotMatchesEverythingOption);
    return [any](const QString &name) { return any.match(name).hasMatch(); };
}

// What a file manager hands to the shell or its word splitter: %% becomes %, and the file code the quoted file.
QString expandFieldCodes(QString command, QChar fileCode, const QString &quotedFile)
{
    return command.replace(u"%%"_s, u"\x01"_s).replace(u'%' + fileCode, quotedFile).replace(u'\x01', u'%');
}

} // namespace

class tst_FileManagerShellVerbs : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    // A stand-in that records its arguments, in a folder whose name quotes must protect.
    QString m_program;

    QString home(const QString &relative) const { return m_home->filePath(relative); }
    std::unique_ptr<ShellVerb> verb() const { return makePlatformShellVerb(m_program); }

    // Runs program in "work", where nothing may appear, with no desktop named.
    QByteArray run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLMEND_TEST_RECORD"_s, home(u"record"_s));
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "DISPLAY",
                                 "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "DBUS_SESSION_BUS_ADDRESS"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home(u"work"_s));
        process.start(program, arguments);
        if (!process.waitForFinished(30'000) || process.exitCode() != 0)
            return "failed: " + process.readAllStandardError();
        const bool recorded = QFileInfo::exists(home(u"record"_s));
        return process.readAllStandardOutput() + (recorded ? readFile(home(u"record"_s)) : QByteArray());
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
        qputenv("XDG_DATA_DIRS", home(u"system"_s).toUtf8());
        const QString folder = home(uR"(My "Subs" 'n' $HOME `touch pwned` $(touch pwned) 100%f %% \ ;|&*)"_s);
        m_program = folder + u"/quill mend"_s;
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(home(u"work"_s)) && QDir().mkpath(home(u"config/Thunar"_s)));
        QVERIFY(writeFile(m_program, "#!/bin/sh\nprintf '%s\\0' \"$@\" >> \"$QUILLMEND_TEST_RECORD\"\n"));
        QVERIFY(QFile::setPermissions(m_program, QFile::ReadOwner | QFile::ExeOwner));
    }

    // Registered means every entry is there; removing takes back exactly what adding wrote.
    void addThenRemove()
    {
        QVERIFY(QDir().mkpath(home(u"data/nemo/actions"_s)) && writeFile(home(u"data/nemo/actions/mine"_s), "x"));
        QVERIFY(!verb()->IsShellVerbRegistered());
        QString error;
        QVERIFY2(verb()->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb()->IsShellVerbRegistered());
        QVERIFY(QFileInfo(home(OwnFiles[0])).isExecutable() && QFileInfo(home(OwnFiles[3])).isExecutable());

        // A part that went missing, or lost the bit KDE requires, is put back.
        QVERIFY(QFile::remove(home(OwnFiles[1])));
        QVERIFY(QFile::setPermissions(home(OwnFiles[0]), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!verb()->IsShellVerbRegistered());
        QVERIFY2(verb()->SetShellVerb(true, &error), qPrintable(error));
        QVERIFY(verb()->IsShellVerbRegistered());

        QVERIFY2(verb()->SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!verb()->IsShellVerbRegistered());
        for (const QString &file : OwnFiles)
            QVERIFY2(!QFileInfo::exists(home(file)), qPrintable(file));
        QCOMPARE(readFile(home(u"data/nemo/actions/mine"_s)), "x");
    }

    // Nothing written opens SubRip files on a double-click, and the entry
    // earlier versions wrote, which did, goes; no desktop database is made.
    void neverTheDefaultOpener_data()
    {
        QTest::addColumn<bool>("installed"); // quillmend.desktop, and a desktop database in each folder
        QTest::addColumn<bool>("oldEntry");
        QTest::newRow("nothing installed") << false << false;
        QTest::newRow("installed, old entry") << true << true;
        QTest::newRow("old entry alone") << false << true;
    }

    void neverTheDefaultOpener()
    {
        QFETCH(bool, installed);
        QFETCH(bool, oldEntry);
        for (const QString &tool : {u"update-desktop-database"_s, u"gio"_s, u"xdg-mime"_s})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("update-desktop-database, gio or xdg-mime is not installed (scripts/install-deps.sh).");
        const QString user = home(u"data/applications"_s), system = home(u"system/applications"_s);
        QVERIFY(QDir().mkpath(user) && QDir().mkpath(system));
        // gio passes over an entry whose program it cannot find.
        if (installed)
            QVERIFY(writeFile(system + u"/quillmend.desktop"_s,
                              readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/../../data/quillmend.desktop"))
                                  .replace("Exec=quillmend", "Exec=/bin/sh")));
        // As earlier versions wrote it, then edited by hand.
        if (oldEntry)
            QVERIFY(writeFile(user + u"/quillmend-correct-subtitles.desktop"_s,
                              "# mine\r\n[Desktop Entry]\r\nType=Application\r\nName=Correct subtitles\r\nExec=/bin/sh "
                              "/auto %f\r\nMimeType=application/x-subrip;\r\nX-Quillmend-Verb = true\r\n"));
        if (installed)
            QCOMPARE(run(u"update-desktop-database"_s, {system}) + run(u"update-desktop-database"_s, {user}), "");
        QVERIFY(verb()->SetShellVerb(true));
        QCOMPARE(run(u"xdg-mime"_s, {u"query"_s, u"default"_s, u"application/x-subrip"_s}).trimmed(),
                 installed ? "quillmend.desktop" : "");
        const QByteArray gio = run(u"gio"_s, {u"mime"_s, u"application/x-subrip"_s});
        QVERIFY2((installed ? gio.contains(": quillmend.desktop\n") : gio.startsWith("No default applications"))
                     && !QByteArray(gio + readFile(user + u"/mimeinfo.cache"_s)).contains("correct-subtitles"),
                 gio.constData());
        QCOMPARE(filesIn(user), installed ? QStringList{u"mimeinfo.cache"_s} : QStringList());
    }

    // What each file manager runs reaches the program as "/auto" and the
    // file, whatever the program's path holds, and runs nothing else.
    void commandRunsTheProgramAlone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QChar>("fileCode");
        QTest::addColumn<QString>("quote"); // how the file manager quotes the file
        QTest::newRow("KDE service menu") << OwnFiles[0] << QChar(u'f') << u"'"_s;
        QTest::newRow("Nemo") << OwnFiles[1] << QChar(u'F') << u"\""_s;
        QTest::newRow("Caja") << OwnFiles[2] << QChar(u'f') << u"'"_s;
        QTest::newRow("Thunar") << UserActions << QChar(u'f') << u"'"_s;
    }

    void commandRunsTheProgramAlone()
    {
        QFETCH(QString, file);
        QFETCH(QChar, fileCode);
        QFETCH(QString, quote);
        QVERIFY(verb()->SetShellVerb(true));
        const QString subtitles = home(u"work/movie one.srt"_s);
        const QString command = valueIn(home(file), file.endsWith(u".xml"_s) ? u"command"_s : u"Exec"_s);
        const QString line = expandFieldCodes(command, fileCode, quote + subtitles + quote);
        QCOMPARE(run(u"/bin/sh"_s, {u"-c"_s, line}), "/auto\0"_ba + subtitles.toUtf8() + '\0');
        QCOMPARE(filesIn(home(u"work"_s)), QStringList());
    }

    // Offered for .srt and .vtt files in every letter case, and no others: Thunar and Caja match GLib's simple
    // patterns, Caja ignoring the case as Matchcase says; Nemo, the end of the name in lower case; the script, itself.
    void offeredForSubtitleFilesInEveryLetterCase()
    {
        QVERIFY(verb()->SetShellVerb(true));
        const QStringList names{u"a b.srt"_s,   u"-x.SRT"_s,    u"new\nline $(touch pwned).srt"_s, u"Mixed.Srt"_s,
                                u"c d.vtt"_s,   u"Mixed.vTT"_s, u"notes.txt"_s, u"a.srt.txt"_s, u"notes.xsrt"_s,
                                u"notes.xvtt"_s};
        const auto offered = [&](const auto &shows) {
            QStringList shown = names;
            shown.removeIf([&](const QString &name) { return !shows(name); });
            return shown;
        };
        const QStringList srt = names.mid(0, 6);
        QByteArray expected;
        for (const QString &name : names) {
            QVERIFY(writeFile(home(u"work/"_s + name), "1"));
            if (srt.contains(name))
                expected += "/auto\0"_ba + home(u"work/"_s + name).toUtf8() + '\0';
        }
        QCOMPARE(run(home(OwnFiles[3]), QStringList(names) << u"missing.srt"_s), expected);
        QCOMPARE(filesIn(home(u"work"_s)).size(), names.size());

        QCOMPARE(offered(simplePatterns(valueIn(home(UserActions), u"patterns"_s).split(u';'), {})), srt);
        const QString caja = home(OwnFiles[2]);
        const auto cajaCase = valueIn(caja, u"Matchcase"_s) == u"false" ? QRegularExpression::CaseInsensitiveOption
                                                                         : QRegularExpression::NoPatternOption;
        QCOMPARE(offered(simplePatterns(valueIn(caja, u"Basenames"_s).split(u';', Qt::SkipEmptyParts), cajaCase)), srt);
        QStringList nemo = valueIn(home(OwnFiles[1]), u"Extensions"_s).split(u';', Qt::SkipEmptyParts);
        for (QString &extension : nemo)
            extension.prepend(u'*');
        QCOMPARE(offered(simplePatterns(nemo, QRegularExpression::CaseInsensitiveOption)), srt);
    }

    // Whatever stops one part stops the whole verb: the file in the way is
    // kept as it is, and nothing is left of the parts already written.
    void addIsRefused_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("program"); // empty: the stand-in
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QString &blocker, const QByteArray &content, const QString &message,
                            const QString &program = {}) {
            QTest::newRow(name) << blocker << content << program << message;
        };
        const QString notOurs = u"is not Quillmend's"_s, notThunars = u"cannot be read as Thunar's custom actions"_s;
        for (const QString &file : OwnFiles)
            row(qPrintable(file), file, "[Desktop Entry]\nName=Mine\n", notOurs);
        row("a file for a folder", u"data/nemo"_s, "x", u"could not be created"_s);
        row("marker outside the main group", OwnFiles[0],
            "[Other]\nX-Quillmend-Verb=true\n[Desktop Action a]\nName=Correct subtitles\n", notOurs);
        row("uca.xml not XML", UserActions, "<actions><action>", notThunars);
        row("uca.xml of something else", UserActions, "<settings/>", notThunars);
        row("uca.xml with no end tag", UserActions, "<actions/>", u"without rewriting the rest of it"_s);
        const QString notKde = u"cannot be written in a KDE service menu"_s;
        row("line break in the path", u"work/x"_s, "x", notKde, u"/opt/quill\nmend"_s);
        row("bytes that are no UTF-8", u"work/x"_s, "x", notKde, u"/opt/quill\uFFFDmend"_s);
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

    // Our action is added indented as the others and taken out whole; no
    // other byte changes, even where the XML could be written another way.
    void userThunarActionsAreKept_data()
    {
        QTest::addColumn<QByteArray>("existing"); // empty: no file, the system's list is copied
        QTest::addColumn<QByteArray>("indent");
        QTest::addColumn<QByteArray>("childIndent");
        QTest::newRow("as Thunar writes it") << ThunarsOwnFile << ""_ba << "\t"_ba;
        QTest::newRow("no file") << QByteArray() << ""_ba << "\t"_ba;
        QTest::newRow("by hand: comments, two spaces")
            << "<?xml version=\"1.0\"?>\n<!-- mine -->\n<actions>\n  <action>\n    <name>A &amp; B</name>\n"
               "    <command>a &lt; b</command>\n  </action>\n</actions>\n<!-- </actions> -->\n"_ba
            << "  "_ba << "    "_ba;
        QTest::newRow("no line breaks") << "<actions><action><name>A</name></action></actions>"_ba << ""_ba << "\t"_ba;
    }

    void userThunarActionsAreKept()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, indent);
        QFETCH(QByteArray, childIndent);
        QVERIFY(existing.isEmpty() || writeFile(home(UserActions), existing));
        QVERIFY(QDir().mkpath(home(u"system/Thunar"_s)) && writeFile(home(u"system/Thunar/uca.xml"_s), ThunarsOwnFile));
        QVERIFY(verb()->SetShellVerb(true));
        QByteArray content = readFile(home(UserActions));
        const qsizetype start = content.lastIndexOf('\n', content.lastIndexOf("<action>"));
        const qsizetype end = content.indexOf("</action>", start) + 9;
        const QList<QByteArray> lines = content.mid(start + 1, end - start - 1).split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i].left(lines[i].indexOf('<')), i == 0 || i == lines.size() - 1 ? indent : childIndent);
        const QByteArray before = existing.isEmpty() ? ThunarsOwnFile : existing;
        QCOMPARE(content.remove(start, end - start), before);
        QVERIFY(verb()->SetShellVerb(false));
        QCOMPARE(readFile(home(UserActions)), before);
    }
};

QTEST_GUILESS_MAIN(tst_FileManagerShellVerbs)
#include "tst_filemanagershellverbs.moc"
