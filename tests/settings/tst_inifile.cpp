// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inifile.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

class TestIniFile : public QObject
{
    Q_OBJECT

    ScriptedPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path() const { return m_dir->filePath(u"Quillmend.ini"_s); }

private slots:
    void init()
    {
        m_prompter = ScriptedPrompter();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void refusesUntilRegistered()
    {
        IniFile ini(m_prompter, path());
        QCOMPARE(ini.sectionName(), u"General"_s);
        QVERIFY(!ini.isRegistered());
        QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), QString());
        QCOMPARE(ini.PutString(u"MaxLen"_s, u" 50"_s), qint16(0));
        QVERIFY(!QFile::exists(path()));
        QCOMPARE(m_prompter.informed, QStringList(2, u"[Section] and FileName Not Registered in Private.Ini!"_s));
        QCOMPARE(m_prompter.informTitles, QStringList(2, u"IniFile Logic Error"_s));

        ini.setFullPath(path());
        QVERIFY(ini.PutString(u"MaxLen"_s, u" 50"_s) != 0);
        QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), u"50"_s);

        ini.setSectionName(u" \t "_s);
        ini.setFullPath(path());
        QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), QString());
        QCOMPARE(m_prompter.informed.size(), 3);
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("value");      // of MaxLen, default "default"
        QTest::newRow("missing file") << QByteArray() << u"default"_s;
        QTest::newRow("blanks removed") << "[General]\nMaxLen = \t 5 0  \n"_ba << u"5 0"_s;
        QTest::newRow("empty, not default") << "[General]\nMaxLen=\n"_ba << QString();
        QTest::newRow("absent key") << "[General]\nOther=1\n"_ba << u"default"_s;
        QTest::newRow("any case") << "[gENERAL]\nmaxLEN=50\n"_ba << u"50"_s;
        QTest::newRow("other section") << "[Other]\nMaxLen=50\n[General]\n"_ba << u"default"_s;
        QTest::newRow("BOM, CR LF") << "\xEF\xBB\xBF[General]\r\nMaxLen=\xC3\xA7\r\n"_ba << u"\u00e7"_s;
        QTest::newRow("not cut at 254") << "[General]\nMaxLen=" + QByteArray(300, 'x') << QString(300, u'x');
    }

    void reads()
    {
        QFETCH(QByteArray, content);
        if (!content.isNull())
            QVERIFY(writeFile(path(), content));
        QTEST(IniFile(path()).GetString(u"MaxLen"_s, u"default"_s), "value");
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QByteArray>("after");  // MaxLen written as " 44"
        QTest::newRow("new file") << QByteArray() << "[General]\nMaxLen= 44\n"_ba;
        QTest::newRow("in place") << "[general]\n; why\nmaxlen = 50\nUnknown=x\n"_ba
                                  << "[general]\n\n; why\nmaxlen= 44\nUnknown=x\n"_ba;
        QTest::newRow("end of section") << "[General]\nA=1\n[Other]\nB=2\n"_ba
                                        << "[General]\nA=1\nMaxLen= 44\n\n\n[Other]\nB=2\n"_ba;
        QTest::newRow("section at end") << "[Other]\nB=2\n"_ba << "[Other]\nB=2\n\n\n[General]\nMaxLen= 44\n"_ba;
        QTest::newRow("last comment") << "[General]\nA=1\n; end\n"_ba << "[General]\nA=1\nMaxLen= 44\n; end\n"_ba;
        QTest::newRow("BOM, CR LF") << "\xEF\xBB\xBF[General]\r\nA=1\r\n"_ba
                                    << "\xEF\xBB\xBF[General]\r\nA=1\r\nMaxLen= 44\r\n"_ba;
    }

    void writes()
    {
        QFETCH(QByteArray, before);
        if (!before.isNull())
            QVERIFY(writeFile(path(), before));
        QVERIFY(IniFile(path()).PutString(u"MaxLen"_s, u" 44"_s) != 0);
        QTEST(readFile(path()), "after");
    }

    void successiveWrites()
    {
        IniFile ini(path());
        QVERIFY(ini.PutString(u"MaxLen"_s, u" 44"_s) != 0);
        QVERIFY(ini.PutString(u"LettersFor1Min"_s, u" 23"_s) != 0);
        QCOMPARE(readFile(path()), "[General]\nMaxLen= 44\nLettersFor1Min= 23\n"_ba);

        // A change made by someone else in between is not overwritten.
        QVERIFY(writeFile(path(), "[General]\nOther=1\n"));
        QVERIFY(ini.PutString(u"MaxLen"_s, u" 50"_s) != 0);
        QCOMPARE(readFile(path()), "[General]\nOther=1\nMaxLen= 50\n"_ba);
    }

    void refusedWritesChangeNothing()
    {
        const QByteArray content = "[General]\nA=1\n"_ba;
        QVERIFY(writeFile(path(), content));
        IniFile ini(path());
        QCOMPARE(ini.PutString(u"A"_s, u"2\nB=3"_s), qint16(0));
        QCOMPARE(ini.PutString(u"A=B"_s, u"2"_s), qint16(0));
        QCOMPARE(readFile(path()), content);
        // A NUL byte, or UTF-16 with no NUL byte to show it.
        for (const QByteArray &unfit : {QByteArray(content + '\0'), QByteArray("\xFF\xFE" + content)}) {
            QVERIFY(writeFile(path(), unfit));
            QCOMPARE(ini.PutString(u"A"_s, u"2"_s), qint16(0));
            QCOMPARE(readFile(path()), unfit);
        }

        const QString plainFile = m_dir->filePath(u"plain.txt"_s);
        QVERIFY(writeFile(plainFile, "text"));
        QStringList targets{plainFile + u"/Quillmend.ini"_s, m_dir->path()};
#ifdef Q_OS_UNIX
        // Opening a pipe with no writer would block for ever.
        targets << m_dir->filePath(u"pipe"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(targets.last()).constData(), 0600), 0);
#endif
        for (const QString &target : targets) {
            IniFile elsewhere(target);
            QCOMPARE(elsewhere.PutString(u"MaxLen"_s, u" 44"_s), qint16(0));
            QCOMPARE(elsewhere.GetString(u"MaxLen"_s, u"44"_s), u"44"_s);
        }

        QVERIFY(writeFile(path(), content));
        QVERIFY(QFile::setPermissions(path(), QFileDevice::ReadOwner));
        if (QFileInfo(path()).isWritable())
            QSKIP("this user may write to read-only files");
        QCOMPARE(ini.PutString(u"B"_s, u"2"_s), qint16(0));
        QCOMPARE(readFile(path()), content);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
