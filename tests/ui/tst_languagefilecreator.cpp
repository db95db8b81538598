// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "ui/language/languagefilecreator.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using Answer = Prompter::Answer;

namespace {

const QString English = u"English.Quillmend.exe.xml"_qs;
const QString French = u"French.Quillmend.exe.xml"_qs;
const QString CreateNew = u"<create new>"_qs;

// Two sections of two items, after the Private section the tree hides.
const QByteArray Source = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language>\n"
                          "  <Private Creator=\"Source\"/>\n"
                          "  <Form1_Design mnuFile=\"File\" mnuOpen=\"Open...\"/>\n"
                          "  <Form2_Design Command1=\"Ok\" Command2=\"Cancel\"/>\n</Language>\n";

QString caption()
{
    return u"Create new language for program "_qs + QCoreApplication::applicationName();
}

QString fileName(const QString &language)
{
    return LanguageLocator::langFileBaseFor(language) + u".xml";
}

} // namespace

// One creator window over a read-only installed folder and a user folder.
struct Creator
{
    ScriptedPrompter prompter;
    LanguageLocator languages;
    std::unique_ptr<LanguageFileCreator> window;

    Creator(const QString &installed, const QString &writable)
        : languages(QStringList{writable, installed}),
          window(std::make_unique<LanguageFileCreator>(languages, writable, prompter))
    {
        window->show();
    }

    template<typename T>
    T *get(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    QLineEdit *line(const QString &name) const { return get<QLineEdit>(name); }
    QTreeWidget *tree(const QString &name) const { return get<QTreeWidget>(name); }
    QComboBox *combo(const QString &name) const { return get<QComboBox>(name); }

    // As a user does: open the list, move to the entry, press Enter.
    void choose(const QString &comboName, const QString &entry) const
    {
        QComboBox *box = combo(comboName);
        const int index = box->findText(entry);
        QVERIFY2(index >= 0, qPrintable(entry));
        box->showPopup();
        box->view()->setCurrentIndex(box->model()->index(index, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
    }
    QStringList entries(const QString &comboName) const
    {
        QStringList texts;
        for (int i = 0; i < combo(comboName)->count(); ++i)
            texts << combo(comboName)->itemText(i);
        return texts;
    }
    QStringList texts(const QString &treeName) const
    {
        QStringList all;
        for (QTreeWidgetItemIterator it(tree(treeName)); *it; ++it)
            all << (*it)->text(0);
        return all;
    }
    void click(const QString &treeName, const QString &text) const
    {
        QTreeWidget *view = tree(treeName);
        const QList<QTreeWidgetItem *> found = view->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        view->scrollToItem(found.first());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(found.first()).center());
    }
    QString selected(const QString &treeName) const
    {
        const QTreeWidgetItem *current = tree(treeName)->currentItem();
        return current ? current->text(0) : QString();
    }
    // Typing replaces the selected text, as after every move.
    void enter(const QString &typed = {}) const
    {
        QLineEdit *text2 = line(u"Text2"_qs);
        text2->setFocus();
        if (!typed.isEmpty())
            QTest::keyClicks(text2, typed);
        QTest::keyClick(text2, Qt::Key_Return);
    }
    void save() const { QTest::mouseClick(get<QPushButton>(u"Command1"_qs), Qt::LeftButton); }
};

class TestLanguageFileCreator : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_installed;
    QString m_user;

    void install(const QString &language, const QByteArray &content)
    {
        const QString path = QDir(m_installed).filePath(fileName(language));
        QVERIFY(writeFile(path, content));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    QString userFile(const QString &language) const { return QDir(m_user).filePath(fileName(language)); }
    static QString attribute(const QString &path, QStringView element, QStringView name)
    {
        LangDoc doc;
        doc.load(path);
        return doc.attribute(element, name).value_or(u"<missing>"_qs);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_installed = m_dir->filePath(u"installed"_qs);
        m_user = m_dir->filePath(u"user"_qs);
        QVERIFY(QDir().mkpath(m_installed));
        const QByteArray english = readFile(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/English.Quillmend.exe.xml"));
        install(u"English"_qs, english);
        install(u"Source"_qs, Source);
    }

    void createTranslateSaveAndReopen()
    {
        {
            Creator c(m_installed, m_user);
            QCOMPARE(c.window->windowTitle(), caption());
            QCOMPARE(c.combo(u"Combo1"_qs)->currentText(), English);
            QCOMPARE(c.combo(u"Combo2"_qs)->currentIndex(), -1);

            c.prompter.textAnswers = {u"French"_qs};
            c.choose(u"Combo2"_qs, CreateNew);
            QCOMPARE(c.prompter.asked, QStringList{u"Type the new language name\n(New file will be created in "_qs
                                                   + QDir::toNativeSeparators(m_user) + u')'});
            QCOMPARE(c.entries(u"Combo2"_qs), (QStringList{English, fileName(u"Source"_qs), French, CreateNew}));
            QCOMPARE(c.combo(u"Combo2"_qs)->currentText(), French);
            QCOMPARE(c.texts(u"Tree2"_qs), c.texts(u"Tree1"_qs));
            QCOMPARE(c.line(u"txtCreator"_qs)->text(), QString());

            c.click(u"Tree1"_qs, u"mnuFile = File"_qs);
            QCOMPARE(c.line(u"Text1"_qs)->text(), u"File"_qs);
            QCOMPARE(c.line(u"Text2"_qs)->text(), u"File"_qs);
            c.enter(u"Fichier"_qs);
            QCOMPARE(c.line(u"Text1"_qs)->text(), u"Open..."_qs);
            c.enter(u"Ouvrir..."_qs);
            c.enter(u"Enregistrer"_qs);
            QCOMPARE(c.selected(u"Tree2"_qs), u"mnuSaveAS = Save as..."_qs);
            c.save();
            QCOMPARE(c.prompter.informed, QStringList());
            QVERIFY(c.window->close());
            QCOMPARE(c.prompter.asked.size(), 1);
        }
        // Saved in the user's folder, shaped like the shipped files.
        const QByteArray saved = readFile(userFile(u"French"_qs));
        QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language>\n  <Private\n"));
        QVERIFY(saved.contains("\n    mnuFile=\"Fichier\"\n"));

        Creator c(m_installed, m_user);
        c.choose(u"Combo2"_qs, French);
        const QStringList tree2 = c.texts(u"Tree2"_qs);
        for (const QString &kept : {u"mnuFile = Fichier"_qs, u"mnuOpen = Ouvrir..."_qs, u"mnuSave = Enregistrer"_qs,
                                    u"mnuSaveAS = Save as..."_qs, u"s1 = Error in file"_qs})
            QVERIFY2(tree2.contains(kept), qPrintable(kept));
    }

    void missingItems_data()
    {
        QTest::addColumn<bool>("autoCreate");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("tree2");

        const QString item = u"Value/Node mnuOpen = Open... not found. Create it?"_qs;
        const QString section = u"Section/Node Form2_Design not found. Create it?"_qs;
        const QStringList complete{u"Language"_qs, u"Form1_Design"_qs, u"mnuFile = Fichier"_qs, u"mnuOpen = Open..."_qs,
                                   u"Form2_Design"_qs, u"Command1 = Ok"_qs, u"Command2 = Annuler"_qs};
        QTest::newRow("auto create asks nothing") << true << QList<Answer>{} << QStringList{} << complete;
        const QString lastItem = u"Value/Node Command2 = Cancel not found. Create it?"_qs;
        QTest::newRow("asked, Yes") << false << QList<Answer>{} << QStringList{item, section, lastItem} << complete;
        // The missing item is asked about once while the file opens.
        QTest::newRow("asked, No") << false << QList<Answer>{Answer::No, Answer::No, Answer::No}
                                   << QStringList{item, section, section}
                                   << QStringList{u"Language"_qs, u"Form1_Design"_qs, u"mnuFile = Fichier"_qs};
    }

    void missingItems()
    {
        QFETCH(bool, autoCreate);
        QFETCH(QList<Answer>, answers);
        QVERIFY(QDir().mkpath(m_user));
        QVERIFY(writeFile(userFile(u"Thin"_qs), "<Language><Form1_Design mnuFile=\"Fichier\"/></Language>"));
        Creator c(m_installed, m_user);
        c.choose(u"Combo1"_qs, fileName(u"Source"_qs));
        c.get<QCheckBox>(u"chkAutoCreate"_qs)->setChecked(autoCreate);
        c.click(u"Tree1"_qs, u"mnuOpen = Open..."_qs);
        c.prompter.answers = answers;
        c.choose(u"Combo2"_qs, fileName(u"Thin"_qs));
        c.enter();
        c.enter();
        QCOMPARE(c.selected(u"Tree1"_qs), u"Command2 = Cancel"_qs);
        // Enter on the last item stores the text and stays there.
        c.enter(u"Annuler"_qs);
        QCOMPARE(c.selected(u"Tree1"_qs), u"Command2 = Cancel"_qs);
        QTEST(c.prompter.asked, "asked");
        QTEST(c.texts(u"Tree2"_qs), "tree2");
    }

    // Closing, or taking the open new file as the source too, asks only about changes, and Cancel keeps everything as
    // it was. The file closed is a copy in the user's folder; the one taken as the source is the installed one, saved
    // to the user's folder and read back from there.
    void unsavedChangesAskFirst_data()
    {
        QTest::addColumn<bool>("closing"); // else the source becomes the new file
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<QString>("onDisk"); // in the user's folder

        const QString file = u"File"_qs, datei = u"Datei"_qs, none = u"<missing>"_qs;
        QTest::newRow("closing, nothing changed") << true << QString() << QList<Answer>{} << true << file;
        QTest::newRow("closing, Cancel") << true << datei << QList<Answer>{Answer::Cancel} << false << file;
        QTest::newRow("closing, No drops the change") << true << datei << QList<Answer>{Answer::No} << true << file;
        QTest::newRow("closing, Yes saves") << true << datei << QList<Answer>{Answer::Yes} << true << datei;
        QTest::newRow("switching, Cancel") << false << datei << QList<Answer>{Answer::Cancel} << false << none;
        QTest::newRow("switching, No closes the new side") << false << datei << QList<Answer>{Answer::No} << true << none;
        QTest::newRow("switching, Yes saves first") << false << datei << QList<Answer>{Answer::Yes} << true << datei;
    }

    void unsavedChangesAskFirst()
    {
        QFETCH(bool, closing);
        QFETCH(QString, typed);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, goOn);
        QFETCH(QString, onDisk);
        const QString language = closing ? u"German"_qs : u"Source"_qs;
        if (closing) {
            QVERIFY(QDir().mkpath(m_user));
            QVERIFY(QFile::copy(QDir(m_installed).filePath(fileName(u"Source"_qs)), userFile(language)));
        }
        Creator c(m_installed, m_user);
        if (closing)
            c.choose(u"Combo1"_qs, fileName(u"Source"_qs));
        c.choose(u"Combo2"_qs, fileName(language));
        c.click(u"Tree1"_qs, u"mnuFile = File"_qs);
        c.enter(typed);
        const QStringList source = c.texts(u"Tree1"_qs);
        const QStringList edited = c.texts(u"Tree2"_qs);
        c.prompter.answers = answers;
        if (closing) {
            QCOMPARE(c.window->close(), goOn);
            QCOMPARE(c.window->isVisible(), !goOn);
        } else {
            c.choose(u"Combo1"_qs, fileName(language));
            QCOMPARE(c.combo(u"Combo1"_qs)->currentText(), goOn ? fileName(language) : English);
            QCOMPARE(c.texts(u"Tree1"_qs).value(2), !goOn ? source.value(2)
                                                           : u"mnuFile = "_qs + (onDisk == u"Datei" ? onDisk : u"File"_qs));
            QCOMPARE(c.combo(u"Combo2"_qs)->currentText(), goOn ? QString() : fileName(language));
            QCOMPARE(c.texts(u"Tree2"_qs), goOn ? QStringList() : edited);
        }
        QCOMPARE(c.prompter.asked, typed.isEmpty() ? QStringList()
                                                   : QStringList{u"Language file "_qs + fileName(language)
                                                                 + u" is not saved. Save it now?"_qs});
        QCOMPARE(attribute(userFile(language), u"Form1_Design", u"mnuFile"), onDisk);
        if (goOn && !closing) // nothing left to ask about
            QVERIFY(c.window->close());
        QCOMPARE(c.prompter.asked.size(), typed.isEmpty() ? 0 : 1);
    }

    void refusedNewFiles_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<std::optional<QString>>("typed");
        QTest::addColumn<QString>("notice"); // part of the only notice; empty for none

        using Typed = std::optional<QString>;
        QTest::newRow("same file both sides")
            << English << Typed() << u"Can not load the same file as the original one"_qs;
        QTest::newRow("existing name")
            << CreateNew << Typed(u"Source"_qs) << u"This name exist, just select it from list"_qs;
        QTest::newRow("blanks only") << CreateNew << Typed(u"   "_qs) << QString();
        QTest::newRow("input box cancelled") << CreateNew << Typed() << QString();
        QTest::newRow("slash") << CreateNew << Typed(u"../Evil"_qs) << u"\"../Evil\""_qs;
        QTest::newRow("backslash") << CreateNew << Typed(u"a\\b"_qs) << u"\"a\\b\""_qs;
        QTest::newRow("dot dot") << CreateNew << Typed(u".."_qs) << u"\"..\""_qs;
        // The settings file would trim the blank or break the line.
        QTest::newRow("trailing blank") << CreateNew << Typed(u"Welsh "_qs) << u"\"Welsh \""_qs;
        QTest::newRow("line break") << CreateNew << Typed(u"We\nlsh"_qs) << u"\"We\nlsh\""_qs;
    }

    void refusedNewFiles()
    {
        QFETCH(QString, notice);
        Creator c(m_installed, m_user);
        QFETCH(std::optional<QString>, typed);
        c.prompter.textAnswers = {typed};
        QFETCH(QString, entry);
        c.choose(u"Combo2"_qs, entry);
        QCOMPARE(c.prompter.informed.size(), notice.isEmpty() ? 0 : 1);
        if (!notice.isEmpty())
            QVERIFY2(c.prompter.informed.first().contains(notice), qPrintable(c.prompter.informed.first()));
        QCOMPARE(c.combo(u"Combo2"_qs)->currentIndex(), -1);
        QCOMPARE(c.tree(u"Tree2"_qs)->topLevelItemCount(), 0);
        QCOMPARE(filesIn(m_user), QStringList());
        QCOMPARE(filesIn(m_dir->path()), QStringList());
    }

    void creatorSavedInPrivate_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("creatorShown");

        QTest::newRow("any letter case") << QByteArray("<L><Private creator=\" Ann \"/><A a=\"1\"/></L>") << u"Ann"_qs;
        QTest::newRow("Creator replaced") << QByteArray("<L><Private Creator=\"Ann\"/><A a=\"1\"/></L>") << u"Ann"_qs;
        QTest::newRow("no Private") << QByteArray("<L><!-- hand made --><A a=\"1\"/></L>") << QString();
    }

    void creatorSavedInPrivate()
    {
        QFETCH(QByteArray, xml);
        QVERIFY(QDir().mkpath(m_user));
        QVERIFY(writeFile(userFile(u"Mine"_qs), xml));
        Creator c(m_installed, m_user);
        c.choose(u"Combo2"_qs, fileName(u"Mine"_qs));
        QLineEdit *creator = c.line(u"txtCreator"_qs);
        QTEST(creator->text(), "creatorShown");
        creator->selectAll();
        QTest::keyClicks(creator, u"Bob"_qs);
        c.save();
        QCOMPARE(c.prompter.informed, QStringList());
        const QByteArray saved = readFile(userFile(u"Mine"_qs));
        QCOMPARE(attribute(userFile(u"Mine"_qs), u"Private", u"Creator"), u"Bob"_qs);
        QCOMPARE(saved.count("Creator="), 1);
        QVERIFY(saved.indexOf("<Private") < saved.indexOf("<!--") || !saved.contains("<!--"));
    }

    // Names repeated in a file are noted in the caption; a file that cannot
    // be read is said and never becomes the new file.
    void filesShownAsFarAsTheyRead()
    {
        install(u"Repeats"_qs, "<L><A a=\"1\" b=\"2\"/><A a=\"x\"/><Aa/></L>");
        const QByteArray broken = "<Language><Form1_Design a=\"1\"></Language>";
        install(u"Broken"_qs, broken);
        Creator c(m_installed, m_user);
        c.choose(u"Combo1"_qs, fileName(u"Repeats"_qs));
        QCOMPARE(c.texts(u"Tree1"_qs), (QStringList{u"L"_qs, u"A"_qs, u"a = 1"_qs, u"b = 2"_qs}));
        QCOMPARE(c.window->windowTitle(), caption() + u" (Repeats.Quillmend.exe.xml: repeated names not shown: A, Aa)"_qs);
        QCOMPARE(c.prompter.informed, QStringList());

        const QString path = QDir(m_installed).filePath(fileName(u"Broken"_qs));
        c.choose(u"Combo1"_qs, fileName(u"Broken"_qs));
        QCOMPARE(c.prompter.informed.size(), 1);
        QVERIFY2(c.prompter.informed.first().startsWith(u"Error loading xml file " + path),
                 qPrintable(c.prompter.informed.first()));
        QCOMPARE(c.tree(u"Tree1"_qs)->topLevelItemCount(), 0);
        QCOMPARE(c.window->windowTitle(), caption());
        c.choose(u"Combo1"_qs, English);
        c.choose(u"Combo2"_qs, fileName(u"Broken"_qs));
        QCOMPARE(c.prompter.informed.size(), 2);
        QCOMPARE(c.combo(u"Combo2"_qs)->currentIndex(), -1);
        c.save();
        QCOMPARE(c.prompter.informed.last(), u"Select or create a new language file first"_qs);
        QCOMPARE(readFile(path), broken);
        QCOMPARE(filesIn(m_user), QStringList());
    }

    void failedSaveKeepsTheChanges()
    {
        Creator c(m_installed, m_user);
        c.prompter.textAnswers = {u"French"_qs};
        c.choose(u"Combo2"_qs, CreateNew);
        // A folder where the file was: nothing can be written there.
        const QString path = userFile(u"French"_qs);
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path + u"/inside"));
        c.click(u"Tree1"_qs, u"mnuFile = File"_qs);
        c.enter(u"Fichier"_qs);
        c.save();
        QCOMPARE(c.prompter.informed.size(), 1);
        QVERIFY2(c.prompter.informed.first().startsWith(u"Error saving language file " + path + u": "),
                 qPrintable(c.prompter.informed.first()));

        c.prompter.answers = {Answer::Yes, Answer::No};
        QVERIFY(!c.window->close());
        QCOMPARE(c.prompter.informed.size(), 2);
        QVERIFY(c.window->close());
        QCOMPARE(c.prompter.asked.size(), 3);
    }
};

QTEST_MAIN(TestLanguageFileCreator)
#include "tst_languagefilecreator.moc"
