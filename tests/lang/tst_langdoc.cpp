// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/form1messages.h"
#include "lang/form2messages.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "engine/weakwordfiles.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <pugixml.hpp>

#include <sys/stat.h>

namespace {

// Every element and attribute of a language file in order, each text reduced to what the program relies on when it
// glues numbers and paths into it: whether it is empty, a blank at either end, and each placeholder.
QStringList outline(const QString &path)
{
    LangDoc doc;
    if (!doc.load(path))
        return {path + u" does not parse"_qs};
    const pugi::xml_node root = doc.document().document_element();
    QStringList lines{QString::fromUtf8(root.name())};
    for (const pugi::xml_node &element : root.children()) {
        lines << QString::fromUtf8(element.name());
        for (const pugi::xml_attribute &attribute : element.attributes()) {
            const QString value = QString::fromUtf8(attribute.value());
            const auto blank = [&](bool end) { return value.size() && (end ? value.back() : value.front()).isSpace(); };
            lines << u"%1 %2: empty %3, blank before %4, blank after %5, placeholder 1 x%6, placeholder 2 x%7"_qs.arg(
                QString::fromUtf8(element.name()), QString::fromUtf8(attribute.name()),
                QString::number(value.isEmpty()), QString::number(blank(false)), QString::number(blank(true)),
                QString::number(value.count(u"%1"_qs)), QString::number(value.count(u"%2"_qs)));
        }
    }
    return lines;
}

} // namespace

// Message lookup with its quiet fallbacks, and finding language files.
class TestLangDoc : public QObject
{
    Q_OBJECT

private slots:
    void lookupFallsBackQuietly_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("notSaved");     // MainWindow message 13
        QTest::addColumn<QString>("errorInFile");  // MainWindow message 1
        QTest::addColumn<QString>("optionsFirst"); // OptionsDialog message 1

        const QString english13 = u"Not saved"_qs;
        const QString english1 = u"Error in file"_qs;
        const QString english2_1 = Form2Msg::AllAbove2Lines.englishText().toString();

        QTest::newRow("no document") << QByteArray() << english13 << english1 << english2_1;
        QTest::newRow("not XML") << QByteArray("<Language><Form1_Module s13=") << english13 << english1 << english2_1;
        QTest::newRow("translated")
            << QByteArray(R"(<L><Form1_Module s13="Non enregistré" s1="Erreur"/><Form2_Module s1="Tous"/></L>)")
            << u"Non enregistré"_qs << u"Erreur"_qs << u"Tous"_qs;
        QTest::newRow("empty and blank texts as they are")
            << QByteArray(R"(<L><Form1_Module s13="" s1="  x  "/></L>)") << QString() << u"  x  "_qs << english2_1;
        QTest::newRow("each window its own messages")
            << QByteArray(R"(<L><Form2_Module s1="Options one"/></L>)") << english13 << english1 << u"Options one"_qs;
        QTest::newRow("UTF-16 file") << QByteArray("\xFF\xFE<\0L\0>\0<\0F\0o\0r\0m\0001\0_\0M\0o\0d\0u\0l\0e\0 \0s\0001\0=\0\"\0\xb1\x03\"\0/\0>\0<\0/\0L\0>\0", 60)
                                     << english13 << u"α"_qs << english2_1;
    }

    void lookupFallsBackQuietly()
    {
        QFETCH(QByteArray, xml);
        LangDoc doc;
        if (!xml.isEmpty())
            doc.loadData(xml);
        QTEST(GetLangText(doc, Form1Msg::NotSaved), "notSaved");
        QTEST(GetLangText(doc, Form1Msg::ErrorInFile), "errorInFile");
        QTEST(GetLangText(doc, Form2Msg::AllAbove2Lines), "optionsFirst");
    }

    // Limits that keep a hostile file from stalling the start, at and just past each threshold.
    void limitsOnFilesAndTexts_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("error");

        const auto caption = [](qsizetype length) -> QByteArray {
            return "<L><Form1_Design Label3=\"" + QByteArray(length - 1, 'x') + "\u03b1\"/></L>";
        };
        const auto padded = [](qsizetype size) -> QByteArray {
            return "<L><!--" + QByteArray(size - 14, ' ') + "--></L>";
        };
        QTest::newRow("text at the limit") << caption(LangDoc::MaxTextCharacters) << true << QString();
        QTest::newRow("text past the limit") << caption(LangDoc::MaxTextCharacters + 1) << false
                                             << u"the text Label3 is longer than 4096 characters"_qs;
        QTest::newRow("file at the limit") << padded(LangDoc::MaxFileBytes) << true << QString();
        QTest::newRow("file past the limit") << padded(LangDoc::MaxFileBytes + 1) << false
                                             << u"the file is larger than 4194304 bytes"_qs;
        const QByteArray nested = QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000);
        QTest::newRow("deeply nested") << nested << true << QString();
        QTest::newRow("no file") << QByteArray() << false << u"the file does not exist"_qs;
    }

    void limitsOnFilesAndTexts()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, loads);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Big.Quillmend.exe.xml"_qs);
        QVERIFY(xml.isNull() || writeFile(path, xml));
        LangDoc doc;
        QVERIFY(doc.loadData(R"(<L><Form1_Module s13="x"/></L>)")); // a failed load leaves nothing of it
        QCOMPARE(doc.load(path), loads);
        QCOMPARE(doc.isEmpty(), !loads);
        QVERIFY2(doc.errorString().startsWith(error), qPrintable(doc.errorString()));
    }

    // A translation that lost a placeholder still shows what it stood for.
    void missingPlaceholdersAreAppended()
    {
        LangDoc doc;
        QVERIFY(doc.loadData(R"(<L><Form1_Module s18="ligne %2" s26="Impossible"/></L>)"));
        QCOMPARE(GetLangText(doc, Form1Msg::AtLine).arg(u"6"_qs, u"x"_qs), u"ligne x 6"_qs);
        QCOMPARE(GetLangText(doc, Form1Msg::CannotSave).arg(u"a.srt"_qs, u"full"_qs), u"Impossible a.srt full"_qs);
    }

    void shippedEnglishMatchesTheProgram()
    {
        LangDoc doc;
        QVERIFY(doc.load(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/English.Quillmend.exe.xml")));
        for (const Message &message : Form1Msg::All)
            QCOMPARE(GetLangText(doc, message), message.englishText());
        for (const Message &message : Form2Msg::All)
            QCOMPARE(GetLangText(doc, message), message.englishText());
    }

    // Every shipped translation against English, element by element and attribute by attribute.
    void shippedTranslationsMatchEnglish_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR));
        QStringList files = folder.entryList({u"*.Quillmend.exe.xml"_qs}, QDir::Files, QDir::Name);
        files.removeOne(u"English.Quillmend.exe.xml"_qs);
        for (const QString &file : std::as_const(files))
            QTest::newRow(qPrintable(file.section(u'.', 0, 0))) << folder.filePath(file);
        if (files.isEmpty())
            QTest::newRow("no translations found beside English") << QString();
    }

    void shippedTranslationsMatchEnglish()
    {
        QFETCH(QString, path);
        QCOMPARE(outline(path), outline(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/English.Quillmend.exe.xml")));
    }

    void locatorFindsFilesAndOverrides()
    {
        QTemporaryDir beside, installed;
        for (const QString &name : {u"German.Quillmend.exe.xml"_qs, u"German.Quillmend.exe.xml.New"_qs,
                                    u"Pt.BR.Quillmend.exe.xml"_qs, u"Klingon.Quillmend.exe.xml.New"_qs, u"Quillmend.exe.xml"_qs})
            QVERIFY(writeFile(beside.filePath(name), "<L/>"));
        for (const QString &name : {u"German.Quillmend.exe.xml"_qs, u"English.Quillmend.exe.xml"_qs})
            QVERIFY(writeFile(installed.filePath(name), "<L/>"));

        const LanguageLocator locator({beside.path(), installed.path()});
        QCOMPARE(locator.languageNames(), (QStringList{u"German"_qs, u"Pt.BR"_qs, u"English"_qs}));
        QCOMPARE(locator.fileFor(u"German.Quillmend.exe"_qs), beside.filePath(u"German.Quillmend.exe.xml.New"_qs));
        QCOMPARE(locator.fileFor(u"Klingon.Quillmend.exe"_qs), beside.filePath(u"Klingon.Quillmend.exe.xml.New"_qs));
        QCOMPARE(locator.fileFor(u"English.Quillmend.exe"_qs), installed.filePath(u"English.Quillmend.exe.xml"_qs));
        QCOMPARE(locator.fileFor(u"Welsh.Quillmend.exe"_qs), std::nullopt);
        QCOMPARE(locator.fileFor(u"../German.Quillmend.exe"_qs), std::nullopt);

        QCOMPARE(LanguageLocator::languageNameOf(u"Pt.BR.Quillmend.exe"_qs), u"Pt.BR"_qs);

        // What a user can pick loads: no pipe, device or broken XML.
        QVERIFY(writeFile(beside.filePath(u"Broken.Quillmend.exe.xml"_qs), "<L><A></L>"));
        QVERIFY(QFile::link(u"/dev/zero"_qs, beside.filePath(u"Zero.Quillmend.exe.xml"_qs)));
        QCOMPARE(::mkfifo(QFile::encodeName(beside.filePath(u"Pipe.Quillmend.exe.xml"_qs)).constData(), 0600), 0);
        QCOMPARE(locator.loadableLanguageNames(), (QStringList{u"German"_qs, u"Pt.BR"_qs, u"English"_qs}));
    }

    // The first folder's file of a language wins, unless it cannot be used.
    void weakWordFilesAreFoundLikeLanguageFiles()
    {
        QTemporaryDir beside, installed;
        QVERIFY(writeFile(beside.filePath(u"Welsh.weakwords.txt"_qs), "\xEF\xBB\xBFY # article\r\n\nMr.\n  Ac\n"));
        QVERIFY(writeFile(beside.filePath(u"French.weakwords.txt"_qs), "le\n\xFF\n"));
        QVERIFY(writeFile(installed.filePath(u"French.weakwords.txt"_qs), "\xC3\x80\n"));
        QVERIFY(writeFile(installed.filePath(u"Welsh.weakwords.txt"_qs), "yn\n"));
        QVERIFY(writeFile(installed.filePath(u"Welsh.Quillmend.exe.xml"_qs), "<L/>"));

        QStringList problems;
        const WeakWordLists lists = loadWeakWordLists({beside.path(), installed.path()}, LangDoc(), problems);
        QCOMPARE(problems, QStringList{beside.filePath(u"French.weakwords.txt"_qs) + u": invalid UTF-8 at byte 3"_qs});
        QCOMPARE(lists.size(), size_t(2));
        QCOMPARE(lists[0].language, u"Welsh"_qs);
        QCOMPARE(lists[0].words, (decltype(lists[0].words){U"y", U"mr.", U"ac"}));
        QCOMPARE(lists[1].language, u"French"_qs);
        QCOMPARE(lists[1].words, (decltype(lists[1].words){U"\u00E0"}));
    }

    // New files go where they can be written, and that folder is searched
    // first, so a file completed there wins over the one it came from.
    void defaultFoldersPutTheWritableOneFirst()
    {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath(u"data"_qs).toUtf8());
        const QString user = home.filePath(u"data/quillmend/lang"_qs);
        const QString installedBin = home.filePath(u"missing/bin"_qs);
        QCOMPARE(LanguageLocator::writableFolder(installedBin), user);
        QCOMPARE(LanguageLocator::defaultFolders(installedBin).mid(0, 3),
                 (QStringList{user, installedBin, home.filePath(u"missing/share/quillmend/lang"_qs)}));

        // A writable folder is the user's; one with a Quillmend.ini is portable.
        QCOMPARE(LanguageLocator::writableFolder(home.path()), user);
        QVERIFY(writeFile(home.filePath(u"Quillmend.ini"_qs), ""));
        QCOMPARE(LanguageLocator::writableFolder(home.path()), home.path());
        QCOMPARE(LanguageLocator::defaultFolders(home.path()).mid(0, 2), (QStringList{home.path(), user}));
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_GUILESS_MAIN(TestLangDoc)
#include "tst_langdoc.moc"
