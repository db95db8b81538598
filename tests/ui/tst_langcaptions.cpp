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
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMessageBox>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QMenu>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QToolBar>

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
        auto *label = new QLabel(u"Original"_qs, &window);
        label->setObjectName(u"Label3"_qs);
        auto *blanked = new QLabel(u"Edited"_qs, &window);
        blanked->setObjectName(u"Label4"_qs);
        auto *box = new QLineEdit(&window);
        box->setObjectName(u"txtSub2"_qs);
        box->setToolTip(u"design tip"_qs);

        QMenu menu(&window);
        menu.setObjectName(u"mnuLanguages"_qs);
        QAction *item0 = menu.addAction(u"Default"_qs);
        item0->setObjectName(u"mnuLangDef"_qs);
        item0->setProperty(ControlIndexProperty, 0);
        QAction *item1 = menu.addAction(u"French"_qs);
        item1->setObjectName(u"mnuLangDef"_qs);
        item1->setProperty(ControlIndexProperty, 1);

        SubtitleTableModel model;
        auto *table = new QTableView(&window);
        table->setObjectName(u"ListView1"_qs);
        table->setModel(&model);

        auto *toolBar = new QToolBar(&window);
        toolBar->setObjectName(u"Toolbar1"_qs);
        QAction *open = toolBar->addAction(u"Open..."_qs);
        toolBar->addSeparator();
        QAction *correct = toolBar->addAction(u"Correct"_qs);

        // Another window parented to this one, with a list of the same name.
        QWidget other(&window, Qt::Window);
        other.setObjectName(u"Form3"_qs);
        SubtitleTableModel otherModel;
        auto *otherTable = new QTableView(&other);
        otherTable->setObjectName(u"ListView1"_qs);
        otherTable->setModel(&otherModel);

        LangDoc lang;
        QVERIFY(lang.loadData(R"xml(<Language><Form9_Design
            Form9="Fenêtre" Label3="Original (fr)" Label4="" txtSub2="ignored" txtSub2_ToolTipText="Astuce"
            mnuLanguages="Langues" mnuLangDef="bare name" mnuLangDef_0="Par défaut" mnuLangDef_1="Français"
            ListView1_2="Début" ListView1_5="no such column"
            Toolbar1_1_ToolTipText="Ouvrir" Toolbar1_2_ToolTipText="separator" Toolbar1_3_ToolTipText="Corriger"/>
            </Language>)xml"));
        ApplyLangCaptions(window, lang);

        QCOMPARE(window.windowTitle(), u"Fenêtre"_qs);
        QCOMPARE(label->text(), u"Original (fr)"_qs);
        QCOMPARE(blanked->text(), QString()); // present but empty blanks the caption
        QCOMPARE(box->text(), QString());     // a text box takes no caption
        QCOMPARE(box->toolTip(), u"Astuce"_qs);
        QCOMPARE(menu.title(), u"Langues"_qs);
        QCOMPARE(item0->text(), u"Par défaut"_qs); // indexed names only
        QCOMPARE(item1->text(), u"Français"_qs);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), u"A/A"_qs);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"Début"_qs);
        QCOMPARE(open->toolTip(), u"Ouvrir"_qs);
        QCOMPARE(correct->toolTip(), u"Corriger"_qs);
        QCOMPARE(otherModel.headerData(1, Qt::Horizontal).toString(), u"Show"_qs);

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
        auto *label = new QLabel(&window);
        label->setObjectName(u"Label3"_qs);
        LangDoc lang;
        QVERIFY(lang.loadData(R"xml(<Language><Form9_Design Label3="&lt;h1&gt;HUGE&lt;/h1&gt;&lt;img src=x.png&gt;"
            Label3_ToolTipText="&lt;b&gt;tip&lt;/b&gt;"/></Language>)xml"));
        ApplyLangCaptions(window, lang);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), u"<h1>HUGE</h1><img src=x.png>"_qs);
        QCOMPARE(label->toolTip(), u"<p style=\"white-space:pre-wrap\">&lt;b&gt;tip&lt;/b&gt;</p>"_qs);
        QCOMPARE(plainToolTip(u"Edits: 3 (with 1 time)"_qs), u"Edits: 3 (with 1 time)"_qs);

        MessageBoxPrompter prompter;
        const QString name = u"<h1>BIG<img src=x.png>.srt"_qs;
        Qt::TextFormat shown = Qt::AutoText;
        QString text;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->textFormat();
            text = box->text();
            box->accept();
        });
        prompter.inform(name);
        QCOMPARE(shown, Qt::PlainText);
        QCOMPARE(text, name);
    }

    // Through the real widgets: a question's buttons, the context menu a
    // right click opens in a line edit (the same as in a text box), and a
    // shortcut as a menu shows it. Greek comes from our file; German from
    // Qt's, even with a German file of ours beside it.
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
        const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (locale == u"de" && !QFileInfo::exists(qtTranslations + u"/qtbase_de.qm"_qs))
            QSKIP("Qt's German translation is not installed (qt6-translations-l10n).");
        LangDoc lang;
        QVERIFY(lang.load(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/") + language + u".Quillmend.exe.xml"));
        QTemporaryDir ours;
        QVERIFY(QFile::copy(QStringLiteral(QUILLMEND_BIN_DIR "/quillmend_qt_el.qm"),
                            ours.filePath(u"quillmend_qt_"_qs + locale + u".qm")));
        const auto askAndRead = [] {
            QStringList buttons;
            QTimer::singleShot(0, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    for (QMessageBox::StandardButton button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                        buttons << box->button(button)->text();
                    box->reject();
                }
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

    // Words once fixed in English follow each language, also on a switch:
    // the title with a file open, the About box's credits, the creator's
    // placeholder, "<create new>" entry and name prompt, which names the
    // folder the file really goes to.
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
