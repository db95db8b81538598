// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/desktopentryshellverb.h"
#include "support/testfiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_DesktopEntryShellVerb : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;

    DesktopEntryShellVerb verb(const QString &executable = u"/opt/quillmend/quillmend"_s) const
    {
        return DesktopEntryShellVerb(executable, m_folder);
    }
    QString entryPath() const { return m_folder + u"/quillmend-correct-subtitles.desktop"_s; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->filePath(u"share/applications"_s);
    }

    void addThenRemove()
    {
        // Every character the Exec quoting treats specially, and blanks.
        DesktopEntryShellVerb verb = this->verb(uR"(/opt/My "Subs" $HOME `x` 100%\tools/quill mend)"_s);
        const QString exec = uR"("/opt/My \\"Subs\\" \\$HOME \\`x\\` 100%%\\\\tools/quill mend" /auto %f)"_s;
        QVERIFY(!verb.IsShellVerbRegistered());
        QVERIFY(QDir().mkpath(m_folder) && writeFile(m_folder + u"/other.desktop"_s, "[Desktop Entry]\n"));
        QString error;
        QVERIFY2(verb.SetShellVerb(true, &error), qPrintable(error));
        // What file managers act on; being recognised as ours is checked below.
        const QByteArray entry = readFile(entryPath());
        QCOMPARE(entry.count(QByteArray("\nExec=" + exec.toUtf8() + '\n')), 2);
        for (const char *line : {"Type=Application", "Name=Correct subtitles", "MimeType=application/x-subrip;",
                                 "NoDisplay=true", "Actions=correct-subtitles;"})
            QVERIFY2(entry.contains(QByteArray('\n' + QByteArray(line) + '\n')), line);
        QVERIFY(verb.IsShellVerbRegistered());
        QVERIFY(verb.SetShellVerb(true));

        // Removal takes our entry and nothing else; the desktop database's
        // cache, where update-desktop-database is installed, is the desktop's.
        QVERIFY2(verb.SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!QFileInfo::exists(entryPath()));
        QCOMPARE(readFile(m_folder + u"/other.desktop"_s), "[Desktop Entry]\n");
        QVERIFY(!verb.IsShellVerbRegistered());
        QVERIFY(verb.SetShellVerb(false));
    }

    // A path the entry cannot carry as it is registers nothing and says why.
    void unwritablePathIsRefused_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::newRow("line break") << u"/opt/quill\nmend"_s;
        QTest::newRow("control character") << u"/opt/quill\x01mend"_s;
        QTest::newRow("bytes that are no UTF-8") << u"/opt/quill\uFFFDmend"_s;
    }

    void unwritablePathIsRefused()
    {
        QFETCH(QString, executable);
        DesktopEntryShellVerb verb = this->verb(executable);
        QString error;
        QVERIFY(!verb.SetShellVerb(true, &error));
        QVERIFY2(error.contains(executable) && error.contains(u"cannot be written in a desktop entry"_s),
                 qPrintable(error));
        QVERIFY(!QFileInfo::exists(entryPath()));
        QVERIFY(!verb.IsShellVerbRegistered());
    }

    void existingFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("ours"); // removed by removing, replaced by adding
        QTest::newRow("foreign entry")
            << "[Desktop Entry]\nName=Correct subtitles\nExec=other %f\n"_ba << false << false;
        QTest::newRow("marker in another group")
            << "[Other]\nX-Quillmend-Verb=true\n[Desktop Action a]\nName=Correct subtitles\n"_ba << false << false;
        QTest::newRow("ours, no action")
            << "[Desktop Entry]\nX-Quillmend-Verb=true\n[Desktop Action a]\nName=Other\n"_ba << false << true;
        QTest::newRow("ours, comments and blanks")
            << "# by hand\r\n[Desktop Entry]\r\nX-Quillmend-Verb = true\r\n\r\n"
               "[Desktop Action a]\r\nName=Correct subtitles\r\n"_ba
            << true << true;
    }

    void existingFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, registered);
        QFETCH(bool, ours);
        QVERIFY(QDir().mkpath(m_folder) && writeFile(entryPath(), content));
        DesktopEntryShellVerb verb = this->verb();
        QCOMPARE(verb.IsShellVerbRegistered(), registered);
        QString error;
        QVERIFY2(verb.SetShellVerb(false, &error), qPrintable(error));
        QCOMPARE(readFile(entryPath()), ours ? "<missing>"_ba : content);
        QCOMPARE(verb.SetShellVerb(true, &error), ours);
        QCOMPARE(verb.IsShellVerbRegistered(), ours);
        if (!ours) {
            QCOMPARE(readFile(entryPath()), content);
            QVERIFY2(error.contains(entryPath()), qPrintable(error));
        }
    }

    void unwritable_data()
    {
        QTest::addColumn<bool>("folderUnderFile");
        QTest::newRow("folder under a file") << true;
        QTest::newRow("read-only folder") << false;
    }

    void unwritable()
    {
        QFETCH(bool, folderUnderFile);
        if (folderUnderFile) {
            QVERIFY(writeFile(m_dir->filePath(u"share"_s), "not a folder"));
        } else {
            QVERIFY(QDir().mkpath(m_folder));
            QVERIFY(QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner));
            if (writeFile(m_folder + u"/probe"_s, "x"))
                QSKIP("Permissions do not bind this user.");
        }

        DesktopEntryShellVerb verb = this->verb();
        QString error;
        QVERIFY(!verb.SetShellVerb(true, &error));
        QVERIFY2(error.contains(entryPath()), qPrintable(error));
        QVERIFY(!verb.IsShellVerbRegistered());
        QCOMPARE(filesIn(m_folder), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_DesktopEntryShellVerb)
#include "tst_desktopentryshellverb.moc"
