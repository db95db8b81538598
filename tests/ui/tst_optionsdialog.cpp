// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "settings/settings.h"
#include "support/fakeshellverb.h"
#include "support/mainwindowfixture.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "ui/options/optionsdialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A check box takes clicks on its box and caption only, not on the rest of
// its row.
void clickOn(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
}

// The Options dialog over a copy of settings, its own verb and prompter.
struct Options
{
    Settings settings;
    FakeShellVerb shellVerb;
    LangDoc lang;
    ScriptedPrompter prompter;
    std::unique_ptr<OptionsDialog> dialog;

    void open()
    {
        dialog = std::make_unique<OptionsDialog>(settings, shellVerb, lang, prompter);
        dialog->show();
    }
    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        return dialog->findChild<T *>(name);
    }
    QCheckBox *box(const QString &name) const { return control<QCheckBox>(name); }
    void click(const QString &name) const { clickOn(control(name)); }
    void type(const QString &name, const QString &text) const
    {
        auto *edit = control<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    QString hoverToolTip(const QString &name) const
    {
        QTest::mouseMove(control(name));
        return control(name)->toolTip();
    }
};

// Runs act on the modal dialog as soon as it is shown; the flag tells
// whether it was.
std::shared_ptr<bool> whenModal(std::function<void(QWidget &)> act)
{
    auto ran = std::make_shared<bool>(false);
    QTimer::singleShot(0, [act, ran] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        *ran = true;
        act(*modal);
    });
    return ran;
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void enablingRulesOnOpening_data();
    void enablingRulesOnOpening();
    void enablingRulesFollowClicks();
    void tooltipsQuoteTheMaximumAsTyped();
    void okCopiesEveryControl();
    void unusableNumbersKeepTheDialogOpen_data();
    void unusableNumbersKeepTheDialogOpen();
    void aFailedVerbChangeIsReported();
    void optionsRoundTripThroughTheSettingsFile();
    void anUnwritableSettingsFileKeepsTheChoice();
    void guidelineBreaksAndMinimumGap();
};

void TestOptionsDialog::enablingRulesOnOpening_data()
{
    QTest::addColumn<bool>("join");
    QTest::addColumn<bool>("buyTime");
    QTest::addColumn<bool>("verb");
    QTest::addColumn<bool>("buyTimeEnabled");   // chkBuyTime and chkBrakeTo2
    QTest::addColumn<bool>("lettersEnabled");   // Label1, txtLettersFor1Min, chkParseAllTimes
    QTest::addRow("no join: the time rules are off whatever BuyTime is") << false << true << false << false << false;
    QTest::addRow("join without buying time") << true << false << false << true << false;
    QTest::addRow("join and buy time, verb present") << true << true << true << true << true;
}

void TestOptionsDialog::enablingRulesOnOpening()
{
    QFETCH(bool, join);
    QFETCH(bool, buyTime);
    QFETCH(bool, verb);
    QFETCH(bool, buyTimeEnabled);
    QFETCH(bool, lettersEnabled);
    Options options;
    options.settings.JoinSubsAbove2Lines = join;
    options.settings.BuyTime = buyTime;
    options.shellVerb.registered = verb;
    options.open();

    QCOMPARE(options.box(u"chkBuyTime"_s)->isEnabled(), buyTimeEnabled);
    QCOMPARE(options.box(u"chkBuyTime"_s)->isChecked(), buyTime);
    QCOMPARE(options.box(u"chkBrakeTo2"_s)->isEnabled(), buyTimeEnabled);
    for (const QString &name : {u"Label1"_s, u"txtLettersFor1Min"_s, u"chkParseAllTimes"_s})
        QVERIFY2(options.control(name)->isEnabled() == lettersEnabled, qPrintable(name));
    QCOMPARE(options.box(u"chkAddToRightClick"_s)->isChecked(), verb);
    QCOMPARE(options.box(u"chkCreateBakFileAuto"_s)->isEnabled(), verb);
    QCOMPARE(options.box(u"chkShowMessageAuto"_s)->isEnabled(), verb);
}

void TestOptionsDialog::enablingRulesFollowClicks()
{
    Options options;
    options.open();
    QVERIFY(!options.box(u"chkShowMessageAuto"_s)->isEnabled());
    options.click(u"chkAddToRightClick"_s);
    QVERIFY(options.box(u"chkCreateBakFileAuto"_s)->isEnabled());
    QVERIFY(options.box(u"chkShowMessageAuto"_s)->isEnabled());

    options.click(u"chkBuyTime"_s);
    QVERIFY(!options.control(u"txtLettersFor1Min"_s)->isEnabled());
    QVERIFY(options.box(u"chkBrakeTo2"_s)->isEnabled());
    options.click(u"chkBuyTime"_s);
    QVERIFY(options.control(u"txtLettersFor1Min"_s)->isEnabled());

    // Turning joining off disables buying time but keeps its tick, and Ok
    // saves the tick as it stands.
    options.click(u"chkJoinSubsAbove2Lines"_s);
    QVERIFY(!options.box(u"chkBuyTime"_s)->isEnabled());
    QVERIFY(options.box(u"chkBuyTime"_s)->isChecked());
    QVERIFY(!options.control(u"chkParseAllTimes"_s)->isEnabled());
    options.click(u"Command1"_s);
    QVERIFY(!options.dialog->settings().JoinSubsAbove2Lines);
    QVERIFY(options.dialog->settings().BuyTime);
}

void TestOptionsDialog::tooltipsQuoteTheMaximumAsTyped()
{
    Options options;
    options.open();
    options.type(u"txtMaxCharsPerLine"_s, u"30"_s);
    QCOMPARE(options.hoverToolTip(u"chkCorrectSubsAbove2Lines"_s),
             u"All subtitles above 2 lines will be corrected, not only the ones that have above 30 chars"_s);
    options.type(u"txtMaxCharsPerLine"_s, u"3o"_s);
    QCOMPARE(options.hoverToolTip(u"chkParseAllTimes"_s),
             u"Buy time for every subtitle, not only for the one that have above 3o chars"_s);

    QVERIFY(options.lang.loadData(R"(<Language><Form2_Module s1="Tous, au-dessus de " s2=" car."/></Language>)"));
    QCOMPARE(options.hoverToolTip(u"chkCorrectSubsAbove2Lines"_s), u"Tous, au-dessus de 3o car."_s);
}

void TestOptionsDialog::okCopiesEveryControl()
{
    Options options;
    options.shellVerb.registered = true;
    options.settings.Encoding = u"iso-8859-16"_s; // set by hand in the file
    options.open();
    auto *encoding = options.control<QComboBox>(u"cboEncoding"_s);
    QCOMPARE(encoding->currentText(), u"iso-8859-16"_s);
    QCOMPARE(encoding->itemText(0), u"Auto"_s);
    encoding->setCurrentText(u"windows-1251"_s);
    options.type(u"txtMaxCharsPerLine"_s, u"50abc"_s);
    options.type(u"txtLettersFor1Min"_s, u"17.5"_s);
    for (const QString &name : {u"chkCorrectSubsAbove2Lines"_s, u"chkCreateBakFile"_s, u"chkParseAllTimes"_s,
                                u"chkBrakeTo2"_s, u"chkShowMessage"_s, u"chkCreateBakFileAuto"_s,
                                u"chkShowMessageAuto"_s, u"chkAddToRightClick"_s, u"chkLenientTimes"_s})
        options.click(name);
    options.click(u"Command1"_s);

    QVERIFY(!options.dialog->isVisible());
    QCOMPARE(options.dialog->result(), int(QDialog::Accepted));
    Settings expected;
    expected.MaxLen = 50;
    expected.LettersFor1Min = 18; // halves go to the even integer
    expected.CorrectSubsAbove2Lines = expected.CreateBakFile = expected.ParseAllTimes = expected.BrakeTo2 =
        expected.ShowMessage = expected.CreateBakFileAuto = expected.ShowMessageAuto = false;
    expected.Encoding = u"windows-1251"_s;
    expected.LenientTimes = true;
    QCOMPARE(options.dialog->settings(), expected);
    QVERIFY(!options.shellVerb.registered);
    QVERIFY(options.prompter.informed.isEmpty());
}

void TestOptionsDialog::unusableNumbersKeepTheDialogOpen_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString maxChars = u"Maximum characters per line must be a whole number of 1 or more, not \"%1\"."_s;
    const QString letters = u"Letters for about 1 sec must be a whole number of 1 or more, not \"%1\"."_s;
    QTest::addRow("maximum rounds to 0") << u"txtMaxCharsPerLine"_s << u"0.5"_s << maxChars;
    QTest::addRow("maximum not a number") << u"txtMaxCharsPerLine"_s << u"abc"_s << maxChars;
    QTest::addRow("reading speed negative") << u"txtLettersFor1Min"_s << u"-3"_s << letters;
}

void TestOptionsDialog::unusableNumbersKeepTheDialogOpen()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Options options;
    options.open();
    options.type(box, text);
    options.click(u"chkShowMessage"_s);
    options.click(u"Command1"_s);

    QCOMPARE(options.prompter.informed, QStringList{message.arg(text)});
    QVERIFY(options.dialog->isVisible());
    QCOMPARE(options.dialog->settings(), Settings());

    // Mended, the same dialog saves.
    options.type(box, u"0.6"_s);
    options.click(u"Command1"_s);
    QVERIFY(!options.dialog->isVisible());
    const Settings &edited = options.dialog->settings();
    QCOMPARE(box == u"txtMaxCharsPerLine"_s ? edited.MaxLen : edited.LettersFor1Min, 1);
    QVERIFY(!edited.ShowMessage);
}

void TestOptionsDialog::aFailedVerbChangeIsReported()
{
    Options options;
    options.shellVerb.failure = u"Cannot write /home/x/.local/share/applications/q.desktop: Permission denied"_s;
    options.open();
    options.click(u"chkAddToRightClick"_s);
    options.click(u"chkShowMessageAuto"_s);
    options.click(u"Command1"_s);

    QCOMPARE(options.prompter.informed,
             QStringList{u"The option \"Correct subtitles\" could not be changed: "_s + options.shellVerb.failure});
    QVERIFY(!options.shellVerb.registered);
    QVERIFY(!options.dialog->settings().ShowMessageAuto);
    QVERIFY(!options.dialog->isVisible());
}

void TestOptionsDialog::optionsRoundTripThroughTheSettingsFile()
{
    QTemporaryDir folder;
    const QString settingsPath = folder.filePath(u"Quillmend.ini"_s);
    MainWindowFixture main(settingsPath);
    MainWindow &window = *main.window;
    FakeShellVerb &shellVerb = main.shellVerb;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QAction *options = window.findChild<QAction *>(u"mnuOptions"_s);
    QVERIFY(options->isEnabled());
    const QString movie = folder.filePath(u"movie.srt"_s);
    QVERIFY(writeFile(movie, "1\r\n00:00:01,000 --> 00:00:01,500\r\nHello there, my friend.\r\n"));
    main.open(movie);
    QVERIFY(window.originalModel().isTooFast(0)); // 46 letters a second

    auto ran = whenModal([](QWidget &dialog) {
        QCOMPARE(dialog.objectName(), u"Form2"_s);
        auto *maxChars = dialog.findChild<QLineEdit *>(u"txtMaxCharsPerLine"_s);
        QCOMPARE(maxChars->text(), u"44"_s);
        maxChars->setText(u"38"_s);
        dialog.findChild<QLineEdit *>(u"txtLettersFor1Min"_s)->setText(u"60"_s);
        clickOn(dialog.findChild<QCheckBox *>(u"chkBrakeTo2"_s));
        clickOn(dialog.findChild<QCheckBox *>(u"chkAddToRightClick"_s));
        clickOn(dialog.findChild<QPushButton *>(u"Command1"_s));
    });
    options->trigger();
    QVERIFY(*ran);
    QCOMPARE(window.settings().MaxLen, 38);
    QVERIFY(!window.settings().BrakeTo2);
    QVERIFY(!window.originalModel().isTooFast(0)); // the marks follow the reading speed
    QVERIFY(shellVerb.registered);
    const QByteArray saved = readFile(settingsPath);
    QVERIFY2(saved.contains("MaxLen= 38") && saved.contains("BrakeTo2=0"), saved.constData());

    // Cancel (Esc) leaves the file and the verb as they were, however much
    // was changed.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ran = whenModal([](QWidget &dialog) {
        QCOMPARE(dialog.findChild<QLineEdit *>(u"txtMaxCharsPerLine"_s)->text(), u"38"_s);
        dialog.findChild<QLineEdit *>(u"txtMaxCharsPerLine"_s)->setText(u"70"_s);
        clickOn(dialog.findChild<QCheckBox *>(u"chkBrakeTo2"_s));
        clickOn(dialog.findChild<QCheckBox *>(u"chkAddToRightClick"_s));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(*ran);
    QCOMPARE(window.settings().MaxLen, 38);
    QCOMPARE(readFile(settingsPath), saved);
    QVERIFY(shellVerb.registered);
}

void TestOptionsDialog::anUnwritableSettingsFileKeepsTheChoice()
{
    // A folder where the settings file should be: nothing can be written.
    QTemporaryDir folder;
    const QString settingsPath = folder.filePath(u"Quillmend.ini"_s);
    QVERIFY(QDir().mkpath(settingsPath));
    MainWindowFixture main(settingsPath);
    MainWindow &window = *main.window;
    const ScriptedPrompter &prompter = main.prompter;

    const auto ran = whenModal([](QWidget &dialog) {
        dialog.findChild<QLineEdit *>(u"txtMaxCharsPerLine"_s)->setText(u"38"_s);
        clickOn(dialog.findChild<QPushButton *>(u"Command1"_s));
    });
    window.findChild<QAction *>(u"mnuOptions"_s)->trigger();
    QVERIFY(*ran);
    QCOMPARE(window.settings().MaxLen, 38);
    QCOMPARE(prompter.informed.size(), 1);
    QVERIFY2(prompter.informed.first().startsWith(u"Cannot save "_s + settingsPath + u": "_s),
             qPrintable(prompter.informed.first()));
}

void TestOptionsDialog::guidelineBreaksAndMinimumGap()
{
    Options options;
    options.settings.GuidelineBreaks = true;
    options.settings.MinGapMs = 83;
    options.open();
    QVERIFY(options.box(u"chkGuidelineBreaks"_s)->isChecked());
    QCOMPARE(options.control<QLineEdit>(u"txtMinGapMs"_s)->text(), u"83"_s);
    options.click(u"chkGuidelineBreaks"_s);
    options.type(u"txtMinGapMs"_s, u"10001"_s);
    options.click(u"Command1"_s);
    QCOMPARE(options.prompter.informed,
             QStringList{u"Minimum gap between subtitles must be a whole number from 1 to 10000 ms, not \"10001\"."_s});
    QVERIFY(options.dialog->isVisible());
    options.type(u"txtMinGapMs"_s, u"10000"_s);
    options.click(u"chkJoinSubsAbove2Lines"_s); // breaking follows joining
    QVERIFY(!options.box(u"chkGuidelineBreaks"_s)->isEnabled());
    options.click(u"Command1"_s);
    QVERIFY(!options.dialog->isVisible());
    QVERIFY(!options.dialog->settings().GuidelineBreaks);
    QCOMPARE(options.dialog->settings().MinGapMs, 10000);
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
