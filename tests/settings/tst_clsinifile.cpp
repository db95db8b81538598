// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/clsinifile.h"
#include "support/scriptedprompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

class tst_clsIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusesUntilRegistered();
    void blankSectionRefuses();
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void successiveWrites();
    void refusedWriteKeepsFile_data();
    void refusedWriteKeepsFile();
    void impossiblePaths();
    void readOnlyFile();

private:
    QString path() const { return m_dir->filePath(u"Quillmend.ini"_s); }
    clsIniFile registered(const QString &path);
    void createFile(const QString &path, const QByteArray &content);
    QByteArray fileContent() const;

    ScriptedPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_clsIniFile::init()
{
    m_prompter = ScriptedPrompter();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

clsIniFile tst_clsIniFile::registered(const QString &path)
{
    clsIniFile ini(m_prompter, {});
    ini.setFullPath(path);
    ini.setSectionName(u"General"_s);
    return ini;
}

void tst_clsIniFile::createFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

QByteArray tst_clsIniFile::fileContent() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_clsIniFile::refusesUntilRegistered()
{
    const QString text = u"[Section] and FileName Not Registered in Private.Ini!"_s;
    const QString title = u"IniFile Logic Error"_s;
    clsIniFile ini(m_prompter, path());
    QCOMPARE(ini.fullPath(), path());
    QCOMPARE(ini.sectionName(), u"General"_s);
    QVERIFY(!ini.isRegistered());

    QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), QString());
    QCOMPARE(ini.PutString(u"MaxLen"_s, u" 50"_s), qint16(0));
    QVERIFY(!QFile::exists(path()));
    QCOMPARE(m_prompter.informed, QStringList(2, text));
    QCOMPARE(m_prompter.informTitles, QStringList(2, title));

    ini.setFullPath(path());
    QVERIFY(ini.isRegistered());
    QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), u"44"_s);
    QVERIFY(ini.PutString(u"MaxLen"_s, u" 50"_s) != 0);
    QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), u"50"_s);
    QCOMPARE(m_prompter.informed.size(), 2);
}

void tst_clsIniFile::blankSectionRefuses()
{
    createFile(path(), "[General]\nMaxLen=50\n");
    clsIniFile ini = registered(path());
    ini.setSectionName(u" \t "_s);
    ini.setFullPath(path());
    QVERIFY(!ini.isRegistered());
    QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), QString());
    QCOMPARE(ini.PutString(u"MaxLen"_s, u" 50"_s), qint16(0));
    QCOMPARE(m_prompter.informed.size(), 2);
}

void tst_clsIniFile::reads_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QString longValue(300, u'x');
    QTest::newRow("missing file") << QByteArray() << u"MaxLen"_s << u"default"_s;
    QTest::newRow("blanks removed") << "[General]\nMaxLen = \t 50  \n"_ba << u"MaxLen"_s << u"50"_s;
    QTest::newRow("empty value, not default") << "[General]\nMaxLen=\n"_ba << u"MaxLen"_s << QString();
    QTest::newRow("absent key") << "[General]\nOther=1\n"_ba << u"MaxLen"_s << u"default"_s;
    QTest::newRow("any case") << "[gENERAL]\nmaxLEN=50\n"_ba << u"MAXLEN"_s << u"50"_s;
    QTest::newRow("other section") << "[Other]\nMaxLen=50\n[General]\n"_ba << u"MaxLen"_s << u"default"_s;
    QTest::newRow("commented out") << "[General]\n;MaxLen=50\n"_ba << u"MaxLen"_s << u"default"_s;
    QTest::newRow("BOM and CR LF") << "\xEF\xBB\xBF[General]\r\nLang=Fran\xC3\xA7ws\r\n"_ba << u"Lang"_s
                                   << u"Fran\u00e7ws"_s;
    QTest::newRow("quotes and equals kept") << "[General]\nLang=\"a=b\"\n"_ba << u"Lang"_s << u"\"a=b\""_s;
    QTest::newRow("not cut at 254") << "[General]\nLang=" + longValue.toUtf8() + '\n' << u"Lang"_s << longValue;
    QTest::newRow("binary file") << "[General]\nMaxLen=50\n\0\x01"_ba << u"MaxLen"_s << u"default"_s;
}

void tst_clsIniFile::reads()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, value);
    if (!content.isNull())
        createFile(path(), content);
    QCOMPARE(registered(path()).GetString(key, u"default"_s), value);
    QVERIFY(m_prompter.informed.isEmpty());
}

void tst_clsIniFile::writes_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << u"MaxLen"_s << "[General]\nMaxLen= 44\n"_ba;
    QTest::newRow("in place, comments kept")
        << "[General]\n; line length\nmaxlen = 50\nUnknown=x\n"_ba << u"MAXLEN"_s
        << "[General]\n\n; line length\nmaxlen= 44\nUnknown=x\n"_ba;
    QTest::newRow("end of its section") << "[General]\nA=1\n[Other]\nB=2\n"_ba << u"MaxLen"_s
                                        << "[General]\nA=1\nMaxLen= 44\n\n\n[Other]\nB=2\n"_ba;
    QTest::newRow("section added at end") << "[Other]\nB=2\n"_ba << u"MaxLen"_s
                                          << "[Other]\nB=2\n\n\n[General]\nMaxLen= 44\n"_ba;
    QTest::newRow("comment after last entry") << "[General]\nA=1\n; end\n"_ba << u"MaxLen"_s
                                              << "[General]\nA=1\nMaxLen= 44\n; end\n"_ba;
    QTest::newRow("comments only") << "; a\n\n; b\n"_ba << u"MaxLen"_s
                                   << "; a\n\n\n[General]\nMaxLen= 44\n; b\n"_ba;
    QTest::newRow("BOM and CR LF kept") << "\xEF\xBB\xBF[General]\r\nA=1\r\n"_ba << u"MaxLen"_s
                                        << "\xEF\xBB\xBF[General]\r\nA=1\r\nMaxLen= 44\r\n"_ba;
}

void tst_clsIniFile::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    if (!before.isNull())
        createFile(path(), before);
    QVERIFY(registered(path()).PutString(key, u" 44"_s) != 0);
    QCOMPARE(fileContent(), after);
}

void tst_clsIniFile::successiveWrites()
{
    clsIniFile ini = registered(path());
    QVERIFY(ini.PutString(u"MaxLen"_s, u" 44"_s) != 0);
    QVERIFY(ini.PutString(u"LettersFor1Min"_s, u" 23"_s) != 0);
    QCOMPARE(fileContent(), "[General]\nMaxLen= 44\nLettersFor1Min= 23\n"_ba);

    // A change made by someone else in between is not overwritten.
    createFile(path(), "[General]\nOther=1\n");
    QVERIFY(ini.PutString(u"MaxLen"_s, u" 50"_s) != 0);
    QCOMPARE(fileContent(), "[General]\nOther=1\nMaxLen= 50\n"_ba);
}

void tst_clsIniFile::refusedWriteKeepsFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray ini = "[General]\nA=1\n"_ba;
    QTest::newRow("line break in value") << ini << u"A"_s << u"2\nB=3"_s;
    QTest::newRow("equals in key") << ini << u"A=B"_s << u"2"_s;
    QTest::newRow("comment as key") << ini << u";A"_s << u"2"_s;
    QTest::newRow("blank key") << ini << u"  "_s << u"2"_s;
    QTest::newRow("binary file") << "[General]\nA=1\n\0rest"_ba << u"A"_s << u"2"_s;
}

void tst_clsIniFile::refusedWriteKeepsFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    createFile(path(), before);
    QCOMPARE(registered(path()).PutString(key, value), qint16(0));
    QCOMPARE(fileContent(), before);
}

void tst_clsIniFile::impossiblePaths()
{
    const QString plainFile = m_dir->filePath(u"plain.txt"_s);
    createFile(plainFile, "text");
    QStringList targets{plainFile + u"/Quillmend.ini"_s, m_dir->path()};
#ifdef Q_OS_UNIX
    // Opening a pipe with no writer would block for ever.
    const QString pipe = m_dir->filePath(u"pipe"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    targets << pipe;
#endif
    for (const QString &target : targets) {
        clsIniFile ini = registered(target);
        QCOMPARE(ini.PutString(u"MaxLen"_s, u" 44"_s), qint16(0));
        QCOMPARE(ini.GetString(u"MaxLen"_s, u"44"_s), u"44"_s);
    }
    QVERIFY(QFileInfo(m_dir->path()).isDir());
}

void tst_clsIniFile::readOnlyFile()
{
    createFile(path(), "[General]\nA=1\n");
    QVERIFY(QFile::setPermissions(path(), QFileDevice::ReadOwner));
    if (QFileInfo(path()).isWritable())
        QSKIP("this user may write to any file");
    QCOMPARE(registered(path()).PutString(u"A"_s, u"2"_s), qint16(0));
    QCOMPARE(fileContent(), "[General]\nA=1\n"_ba);
}

QTEST_GUILESS_MAIN(tst_clsIniFile)
#include "tst_clsinifile.moc"
