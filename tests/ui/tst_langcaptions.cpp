// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/form1messages.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"
#include "ui/about/aboutdialog.h"
#include "ui/language/languagefilecreator.h"
#include "ui/language/langcaptions.h"
#include "ui/language/qttexts.h"
#include "ui/messageboxprompter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

template<typename T>
T *named(T *object, const QString &name)
{
    object->setObjectName(name);
    return object;
}

} // namespace

// Captions found by control name: plain, indexed, table headers, tool-bar
// buttons counted with their separators, and never another window's controls.
class TestLangCaptions : public QObject
{
    Q_OBJECT

private slots:
    void captionsByControlName()
    {
        QWidget window;
        window.setObjectName(u"Form9"_qs);
        auto *label = named(new QLabel(u"Original"_qs, &window), u"Label3"_qs);
        auto *blanked = named(new QLabel(u"Edited"_qs, &window), u"Label4"_qs);
        auto *box = named(new QLineEdit(&window), u"txtSub2"_qs);
        box->setToolTip(u"design tip"_qs);
        QMenu *menu = named(new QMenu(&window), u"mnuLanguages"_qs);
        QAction *items[2] = {named(menu->addAction(u"Default"_qs), u"mnuLangDef"_qs),
                             named(menu->addAction(u"French"_qs), u"mnuLangDef"_qs)};
        items[0]->setProperty(ControlIndexProperty, 0);
        items[1]->setProperty(ControlIndexProperty, 1);
        SubtitleList list;
        SubtitleTableModel model(list);
        named(new QTableView(&window), u"ListView1"_qs)->setModel(&model);
        auto *toolBar = named(new QToolBar(&window), u"Toolbar1"_qs);
        QAction *open = toolBar->addAction(u"Open..."_qs);
        toolBar->addSeparator();
        QAction *correct = toolBar->addAction(u"Correct"_qs);
        // Another window parented to this one, with a list of the same name.
        QWidget *other = named(new QWidget(&window, Qt::Window), u"Form3"_qs);
        SubtitleTableModel otherModel(list);
        named(new QTableView(other), u"ListView1"_qs)->setModel(&otherModel);

        LangDoc lang;
        QVERIFY(lang.loadData(R"xml(<Language><Form9_Design
            Form9="Fenêtre" Label3="Original (fr)" Label4="" txtSub2="ignored" txtSub2_ToolTipText="Astuce"
            mnuLanguages="Langues" mnuLangDef="bare name" mnuLangDef_0="Par défaut" mnuLangDef_1="Français"
            ListView1_2="Début" ListView1_5="no such column"
            Toolbar1_1_ToolTipText="Ouvrir" Toolbar1_2_ToolTipText="separator" Toolbar1_3_ToolTipText="Corriger"/>
            </Language>)xml"));
        ApplyLangCaptions(window, lang);
        // Label4 present but empty blanks the caption; a text box takes none; menu items take indexed names only.
        QCOMPARE((QStringList{window.windowTitle(), label->text(), blanked->text(), box->text(), box->toolTip(),
                              menu->title(), items[0]->text(), items[1]->text(), open->toolTip(), correct->toolTip()}),
                 (QStringList{u"Fenêtre"_qs, u"Original (fr)"_qs, QString(), QString(), u"Astuce"_qs, u"Langues"_qs,
                              u"Par défaut"_qs, u"Français"_qs, u"Ouvrir"_qs, u"Corriger"_qs}));
        const auto header = [](const SubtitleTableModel &table, int column) {
            return table.headerData(column, Qt::Horizontal).toString();
        };
        QCOMPARE((QStringList{header(model, 0), header(model, 1), header(otherModel, 1)}),
                 (QStringList{u"A/A"_qs, u"Début"_qs, u"Show"_qs}));
        // An empty document changes nothing.
        ApplyLangCaptions(window, LangDoc());
        QCOMPARE(label->text(), u"Original (fr)"_qs);
    }

    // Whatever a language file or a file name holds is shown as written,
    // never taken for HTML (which would also load images).
    void htmlIsShownAsText()
    {
        QWidget window;
        window.setObjectName(u"Form9"_qs);
        auto *label = named(new QLabel(&window), u"Label3"_qs);
        LangDoc lang;
        QVERIFY(lang.loadData(R"xml(<Language><Form9_Design Label3="&lt;h1&gt;HUGE&lt;/h1&gt;&lt;img src=x.png&gt;"
            Label3_ToolTipText="&lt;b&gt;tip&lt;/b&gt;"/></Language>)xml"));
        ApplyLangCaptions(window, lang);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), u"<h1>HUGE</h1><img src=x.png>"_qs);
        QCOMPARE(label->toolTip(), u"<p style=\"white-space:pre-wrap\">&lt;b&gt;tip&lt;/b&gt;</p>"_qs);
        QCOMPARE(plainToolTip(u"Edits: 3 (with 1 time)"_qs), u"Edits: 3 (with 1 time)"_qs);

        const QString name = u"<h1>BIG<img src=x.png>.srt"_qs;
        std::pair<Qt::TextFormat, QString> shown;
        whenModal([&shown](QWidget &dialog) {
            auto *box = qobject_cast<QMessageBox *>(&dialog);
            QVERIFY(box);
            shown = {box->textFormat(), box->text()};
            box->accept();
        });
        MessageBoxPrompter().inform(name);
        QCOMPARE(shown, std::pair(Qt::PlainText, name));
    }

    // Through the real widgets: a question's buttons, the context menu a right click opens in a line edit (the same as
    // in a text box), and a shortcut as a menu shows it. Greek comes from our file; German from Qt's, even with a
    // German file of ours beside it.
    void qtTextsFollowTheLanguageFile_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("locale"); // of our file put beside
        QTest::addColumn<QString>("expected"); // joined by '|'
        QTest::newRow("Greek, ours") << u"Greek"_qs << u"el"_qs
                                     << u"&Ναι|&Όχι|Ακύρωση|&Αναίρεση\tCtrl+Z|&Επανάληψη\tCtrl+Y||Απο&κοπή\tCtrl+X|"
                                        u"Α&ντιγραφή\tCtrl+C|Ε&πικόλληση\tCtrl+V|Διαγραφή||Επιλογή όλων\tCtrl+A|"
                                        u"x\tCtrl+Shift+Κάτω"_qs;
        QTest::newRow("German, Qt's") << u"German"_qs << u"de"_qs
                                      << u"&Ja|&Nein|Abbrechen|&Rückgängig\tStrg+Z|Wieder&herstellen\tStrg+Y||"
                                         u"&Ausschneiden\tStrg+X|&Kopieren\tStrg+C|Einf&ügen\tStrg+V|Löschen||"
                                         u"Alles auswählen\tStrg+A|x\tStrg+Umschalt+Herunter"_qs;
    }

    void qtTextsFollowTheLanguageFile()
    {
        QFETCH(QString, language);
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        QCOMPARE(QtTexts::localeOf(LangDoc()), QLocale::system()); // a file without a Locale item
        if (locale == u"de" && !QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_de.qm"))
            QSKIP("Qt's German translation is not installed (qt6-translations-l10n).");
        LangDoc lang;
        QVERIFY(lang.load(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/") + language + u".Quillmend.exe.xml"));
        QTemporaryDir ours;
        QVERIFY(QFile::copy(QStringLiteral(QUILLMEND_BIN_DIR "/quillmend_qt_el.qm"),
                            ours.filePath(u"quillmend_qt_"_qs + locale + u".qm")));
        const auto askAndRead = [] {
            QStringList buttons;
            whenModal([&buttons](QWidget &dialog) {
                auto *box = qobject_cast<QMessageBox *>(&dialog);
                QVERIFY(box);
                for (QMessageBox::StandardButton button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                    buttons << box->button(button)->text();
                box->reject();
            });
            MessageBoxPrompter().ask(u"?"_qs, Prompter::Buttons::YesNoCancel, Prompter::Answer::No);
            return buttons;
        };
        // What a right click delivers (QTest's clicks bring no context menu).
        const auto contextMenuOf = [](QWidget *box, QWidget *clicked) {
            box->show();
            const QPoint at = clicked->rect().center();
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, clicked->mapToGlobal(at));
            QApplication::sendEvent(clicked, &rightClick);
            QStringList texts;
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *item : menu->actions())
                    texts << item->text();
                menu->close();
            }
            return texts;
        };
        {
            QtTexts qtTexts({ours.path()});
            qtTexts.follow(lang);
            QLineEdit line;
            QPlainTextEdit text;
            QStringList shown = askAndRead() << contextMenuOf(&line, &line);
            QCOMPARE(contextMenuOf(&text, text.viewport()), shown.mid(3));
            struct Menu : QMenu { using QMenu::initStyleOption; } menu;
            QStyleOptionMenuItem option;
            menu.initStyleOption(&option, menu.addAction(u"x"_qs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)));
            QCOMPARE(shown << option.text, expected.split(u'|'));
        }
        QCOMPARE(askAndRead().value(0), u"&Yes"_qs); // gone with the object that installed it
    }

    // Words once fixed in English follow each language, also on a switch: the title with a file open, the About box's
    // credits, the creator's placeholder, "<create new>" entry and name prompt, which names the folder the file really
    // goes to.
    void onceEnglishWordsFollowTheLanguage()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"a.srt"_qs), "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"));
        MainWindowFixture s(dir.filePath(u"Quillmend.ini"_qs));
        s.open(dir.filePath(u"a.srt"_qs));
        QStringList english;
        for (const QString &language : {u"English"_qs, u"French"_qs, u"German"_qs, u"Spanish"_qs, u"Greek"_qs}) {
            s.language(language)->trigger();
            AboutDialog about;
            about.applyCaptions(s.lang);
            LanguageFileCreator creator(s.languages, dir.path(), s.prompter);
            creator.applyCaptions(s.lang);
            auto *combo = creator.findChild<QComboBox *>(u"Combo2"_qs);
            s.prompter.asked.clear();
            combo->setCurrentIndex(combo->count() - 1); // "<create new>" chosen
            emit combo->activated(combo->count() - 1);
            const QStringList shown{s.window->windowTitle(), about.findChild<QLabel *>(u"lblCredits"_qs)->text(),
                                    combo->placeholderText(), combo->itemText(combo->count() - 1),
                                    s.prompter.asked.value(0)};
            const auto item = [&](const char16_t *key, const char16_t *section = u"frmCreateLang_Design") {
                return s.lang.attribute(section, key).value_or(u"<missing>"_qs);
            };
            QCOMPARE(shown, (QStringList{GetLangText(s.lang, Form1Msg::TitleWithFile).arg(u"a.srt"_qs, qAppName()),
                                         item(u"lblCredits", u"frmAbout_Design"), item(u"Combo2"), item(u"s1"),
                                         item(u"s2").replace(u"%1"_qs, dir.path())}));
            for (qsizetype i = 0; i < english.size(); ++i)
                QVERIFY2(shown.at(i) != english.at(i), qPrintable(language + u": " + shown.at(i)));
            if (english.isEmpty())
                english = shown;
        }
    }
};

QTEST_MAIN(TestLangCaptions)
#include "tst_langcaptions.moc"
