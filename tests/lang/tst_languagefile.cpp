// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/languagefile.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

// What a load and save must keep of a hand-made file, and what a load that fails reports.
class TestLanguageFile : public QObject
{
    Q_OBJECT

private slots:
    void savedAsWrittenAndAFailedLoadSaysWhere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Latin.Quillmend.exe.xml"_qs);
        QVERIFY(writeFile(path, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- made by hand -->\n"
                                "<Language><Form1_Design z=\"caf\xe9\" a=\"1\"><!-- keep --></Form1_Design>"
                                "</Language>"));
        LanguageFile file;
        QString error;
        QVERIFY2(file.load(path, error), qPrintable(error));
        QVERIFY(file.WriteAttribute(u"Form1_Design", u"a", u"<2 & \"3\""_qs));
        QVERIFY(!file.WriteAttribute(u"Form1_Design", u"missing", u"x"_qs));
        QVERIFY(!file.createAttribute(u"Form1_Design", u"z", u"again"_qs));
        QVERIFY(file.createSection(u"Form2_Design"));
        QVERIFY(!file.createSection(u"Form2_Design"));
        QVERIFY(file.createAttribute(u"Form2_Design", u"Command1", u"Ok"_qs));
        file.setCreator(u"Ann"_qs);
        QVERIFY2(file.save(path, error), qPrintable(error));

        // Written as UTF-8, so the declaration says so now.
        QCOMPARE(readFile(path), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                            "<!-- made by hand -->\n"
                                            "<Language>\n"
                                            "  <Private\n"
                                            "    Creator=\"Ann\" />\n"
                                            "  <Form1_Design\n"
                                            "    z=\"caf\xc3\xa9\"\n"
                                            "    a=\"&lt;2 &amp; &quot;3&quot;\">\n"
                                            "    <!-- keep -->\n"
                                            "  </Form1_Design>\n"
                                            "  <Form2_Design\n"
                                            "    Command1=\"Ok\" />\n"
                                            "</Language>\n"));

        // A load that fails says where, and leaves nothing of the file before.
        QVERIFY(writeFile(path, "<Language>\n<Form1_Design a=\"1\">\n</Language>\n"));
        QVERIFY(!file.load(path, error));
        QVERIFY2(error.contains(u"line 3"_qs), qPrintable(error));
        QVERIFY(file.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLanguageFile)
#include "tst_languagefile.moc"
