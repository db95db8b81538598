// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"
#include "ui/options/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A check box takes clicks on its box and caption only, not on the rest of its row.
void click(const QWidget &parent, const QString &name)
{
    QWidget *widget = parent.findChild<QWidget *>(name);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
}

QLineEdit *edit(const QWidget &parent, const QString &name)
{
    return parent.findChild<QLineEdit *>(name);
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
    QWidget *control(const QString &name) const { return dialog->findChild<QWidget *>(name); }
    QCheckBox *box(const QString &name) const { return dialog->findChild<QCheckBox *>(name); }
    void click(const QString &name) const { ::click(*dialog, name); }
    void type(const QString &name, const QString &text) const
    {
        QLineEdit *box = edit(*dialog, name);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    QString hoverToolTip(const QString &name) const
    {
        QTest::mouseMove(control(name));
        return control(name)->toolTip();
    }
};

// The number boxes and the settings they fill, by the index in a row.
const std::pair<QString, qint32 Settings::*> NumberBoxes[] = {{u"txtMaxCharsPerLine"_s, &Settings::MaxLen},
                                                              {u"txtLettersFor1Min"_s, &Settings::LettersFor1Min},
                                                              {u"txtMinGapMs"_s, &Settings::MinGapMs},
                                                              {u"txtShotSnapFrames"_s, &Settings::ShotSnapFrames},
                                                              {u"txtMinGapFrames"_s, &Settings::MinGapFrames}};

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void enablingRulesOnOpening_data()
    {
        QTest::addColumn<bool>("join");
        QTest::addColumn<bool>("buyTime");
        QTest::addColumn<bool>("verb");
        QTest::addRow("no join: the time rules are off, whatever BuyTime") << false << true << false;
        QTest::addRow("join without buying time") << true << false << false;
        QTest::addRow("join and buy time, verb present") << true << true << true;
    }

    void enablingRulesOnOpening()
    {
        QFETCH(bool, join);
        QFETCH(bool, buyTime);
        QFETCH(bool, verb);
        Options options;
        options.settings.JoinSubsAbove2Lines = join;
        options.settings.BuyTime = buyTime;
        options.shellVerb.registered = verb;
        options.open();
        QCOMPARE(options.box(u"chkBuyTime"_s)->isChecked(), buyTime);
        QCOMPARE(options.box(u"chkAddToRightClick"_s)->isChecked(), verb);
        const std::pair<QStringList, bool> rules[] = {
            {{u"chkBuyTime"_s, u"chkBrakeTo2"_s}, join},
            {{u"Label1"_s, u"txtLettersFor1Min"_s, u"chkParseAllTimes"_s}, join && buyTime},
            {{u"chkCreateBakFileAuto"_s, u"chkShowMessageAuto"_s}, verb}};
        for (const auto &[names, enabled] : rules)
            for (const QString &name : names)
                QVERIFY2(options.control(name)->isEnabled() == enabled, qPrintable(name));
    }

    void enablingRulesFollowClicks()
    {
        Options options;
        options.open();
        QVERIFY(!options.box(u"chkShowMessageAuto"_s)->isEnabled());
        options.click(u"chkAddToRightClick"_s);
        QVERIFY(options.box(u"chkCreateBakFileAuto"_s)->isEnabled());
        QVERIFY(options.box(u"chkShowMessageAuto"_s)->isEnabled());
        options.click(u"chkBuyTime"_s);
        QVERIFY(!options.control(u"txtLettersFor1Min"_s)->isEnabled() && options.box(u"chkBrakeTo2"_s)->isEnabled());
        options.click(u"chkBuyTime"_s);
        QVERIFY(options.control(u"txtLettersFor1Min"_s)->isEnabled());
        // The tool tips quote the maximum as typed, in the language in use.
        options.type(u"txtMaxCharsPerLine"_s, u"30"_s);
        QCOMPARE(options.hoverToolTip(u"chkCorrectSubsAbove2Lines"_s),
                 u"All subtitles above 2 lines will be corrected, not only the ones that have above 30 chars"_s);
        options.type(u"txtMaxCharsPerLine"_s, u"3o"_s);
        QCOMPARE(options.hoverToolTip(u"chkParseAllTimes"_s),
                 u"Buy time for every subtitle, not only for the one that have above 3o chars"_s);
        QVERIFY(options.lang.loadData(R"(<Language><Form2_Module s1="Tous, au-dessus de " s2=" car."/></Language>)"));
        QCOMPARE(options.hoverToolTip(u"chkCorrectSubsAbove2Lines"_s), u"Tous, au-dessus de 3o car."_s);

        // Turning joining off disables buying time and breaking but keeps the tick, and Ok saves the tick as it stands.
        options.click(u"chkJoinSubsAbove2Lines"_s);
        QVERIFY(!options.box(u"chkBuyTime"_s)->isEnabled() && options.box(u"chkBuyTime"_s)->isChecked());
        QVERIFY(!options.control(u"chkParseAllTimes"_s)->isEnabled());
        QVERIFY(!options.box(u"chkGuidelineBreaks"_s)->isEnabled());
        // The frame boxes count only with the shot changes.
        QVERIFY(!options.control(u"txtShotGapFrames"_s)->isEnabled());
        QVERIFY(!options.control(u"lblMinGapFrames"_s)->isEnabled());
        options.click(u"chkShotChanges"_s);
        QVERIFY(options.control(u"txtShotSnapFrames"_s)->isEnabled());
        QVERIFY(options.control(u"lblShotGapFrames"_s)->isEnabled());
        options.click(u"Command1"_s);
        QVERIFY(!options.dialog->settings().JoinSubsAbove2Lines && options.dialog->settings().BuyTime);
    }

    void okCopiesEveryControl()
    {
        Options options;
        options.shellVerb.registered = true;
        options.settings.Encoding = u"iso-8859-16"_s; // set by hand in the file
        options.settings.GuidelineBreaks = true;
        options.settings.MinGapMs = 83;
        options.open();
        auto *encoding = options.dialog->findChild<QComboBox *>(u"cboEncoding"_s);
        QCOMPARE(encoding->currentText(), u"iso-8859-16"_s);
        QCOMPARE(encoding->itemText(0), u"Auto"_s);
        encoding->setCurrentText(u"windows-1251"_s);
        options.type(u"txtMaxCharsPerLine"_s, u"50abc"_s);
        options.type(u"txtLettersFor1Min"_s, u"17.5"_s);
        options.click(u"chkShotChanges"_s);
        options.type(u"txtShotGapFrames"_s, u"3"_s);
        options.type(u"txtShotSnapFrames"_s, u"0"_s);
        options.type(u"txtMinGapFrames"_s, u"1000"_s);
        for (const QString &name : {u"chkCorrectSubsAbove2Lines"_s, u"chkCreateBakFile"_s, u"chkParseAllTimes"_s,
                                    u"chkBrakeTo2"_s, u"chkShowMessage"_s, u"chkCreateBakFileAuto"_s,
                                    u"chkShowMessageAuto"_s, u"chkAddToRightClick"_s, u"chkLenientTimes"_s,
                                    u"chkGuidelineBreaks"_s, u"Command1"_s})
            options.click(name);
        QVERIFY(!options.dialog->isVisible());
        QCOMPARE(options.dialog->result(), int(QDialog::Accepted));
        Settings expected;
        expected.MaxLen = 50;
        expected.LettersFor1Min = 18; // halves go to the even integer
        expected.MinGapMs = 83;
        expected.CorrectSubsAbove2Lines = expected.CreateBakFile = expected.ParseAllTimes = expected.BrakeTo2 =
            expected.ShowMessage = expected.CreateBakFileAuto = expected.ShowMessageAuto = false;
        expected.Encoding = u"windows-1251"_s;
        expected.LenientTimes = true;
        expected.ShotChanges = true;
        expected.ShotGapFrames = 3;
        expected.ShotSnapFrames = 0;
        expected.MinGapFrames = 1000;
        QCOMPARE(options.dialog->settings(), expected);
        QVERIFY(!options.shellVerb.registered);
        QVERIFY(options.prompter.informed.isEmpty());
    }

    void unusableNumbersKeepTheDialogOpen_data()
    {
        QTest::addColumn<int>("box"); // in NumberBoxes
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("mended");
        QTest::addColumn<int>("value");
        const QString maxChars = u"Maximum characters per line must be a whole number of 1 or more, not \"%1\"."_s;
        const QString letters = u"Letters for about 1 sec must be a whole number of 1 or more, not \"%1\"."_s;
        const QString gap = u"Minimum gap between subtitles must be a whole number from 1 to 10000 ms, not \"%1\"."_s;
        QTest::addRow("maximum rounds to 0") << 0 << u"0.5"_s << maxChars << u"0.6"_s << 1;
        QTest::addRow("maximum not a number") << 0 << u"abc"_s << maxChars << u"0.6"_s << 1;
        QTest::addRow("reading speed negative") << 1 << u"-3"_s << letters << u"0.6"_s << 1;
        QTest::addRow("gap above 10000") << 2 << u"10001"_s << gap << u"10000"_s << 10000;
        const QString frames = u"Frames must be a whole number from 0 to 1000, not \"%1\"."_s;
        QTest::addRow("frames below 0") << 3 << u"-1"_s << frames << u"0"_s << 0;
        QTest::addRow("frames above 1000") << 4 << u"1001"_s << frames << u"1000"_s << 1000;
    }

    void unusableNumbersKeepTheDialogOpen()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, mended);
        const auto &[name, field] = NumberBoxes[box];
        Options options;
        options.settings.ShotChanges = true; // the frame boxes take typing
        options.open();
        options.type(name, text);
        options.click(u"chkShowMessage"_s);
        options.click(u"Command1"_s);
        QCOMPARE(options.prompter.informed, QStringList{message.arg(text)});
        QVERIFY(options.dialog->isVisible());
        QCOMPARE(options.dialog->settings(), options.settings);
        // Mended, the same dialog saves.
        options.type(name, mended);
        options.click(u"Command1"_s);
        QVERIFY(!options.dialog->isVisible());
        QTEST(int(options.dialog->settings().*field), "value");
        QVERIFY(!options.dialog->settings().ShowMessage);
    }

    void aFailedVerbChangeIsReported()
    {
        Options options;
        options.shellVerb.failure = u"Cannot write /home/x/.local/share/applications/q.desktop: Permission denied"_s;
        options.open();
        for (const QString &name : {u"chkAddToRightClick"_s, u"chkShowMessageAuto"_s, u"Command1"_s})
            options.click(name);
        QCOMPARE(options.prompter.informed,
                 QStringList{u"The option \"Correct subtitles\" could not be changed: "_s + options.shellVerb.failure});
        QVERIFY(!options.shellVerb.registered);
        QVERIFY(!options.dialog->settings().ShowMessageAuto);
        QVERIFY(!options.dialog->isVisible());
    }

    void optionsRoundTripThroughTheSettingsFile()
    {
        QTemporaryDir folder;
        const QString settingsPath = folder.filePath(u"Quillmend.ini"_s);
        MainWindowFixture main(settingsPath);
        MainWindow &window = *main.window;
        QVERIFY(main.show());
        QAction *options = main.action(u"mnuOptions"_s);
        QVERIFY(options->isEnabled());
        const QString movie = folder.filePath(u"movie.srt"_s);
        QVERIFY(writeFile(movie, "1\r\n00:00:01,000 --> 00:00:01,500\r\nHello there, my friend.\r\n"));
        main.open(movie);
        QVERIFY(window.originalList().isTooFast(0)); // 46 letters a second

        auto ran = whenModal([](QWidget &dialog) {
            QCOMPARE(dialog.objectName(), u"Form2"_s);
            QCOMPARE(edit(dialog, u"txtMaxCharsPerLine"_s)->text(), u"44"_s);
            edit(dialog, u"txtMaxCharsPerLine"_s)->setText(u"38"_s);
            edit(dialog, u"txtLettersFor1Min"_s)->setText(u"60"_s);
            for (const QString &name : {u"chkBrakeTo2"_s, u"chkAddToRightClick"_s, u"Command1"_s})
                click(dialog, name);
        });
        options->trigger();
        QVERIFY(*ran);
        QCOMPARE(window.settings().MaxLen, 38);
        QVERIFY(!window.settings().BrakeTo2);
        QVERIFY(!window.originalList().isTooFast(0)); // the marks follow the reading speed
        QVERIFY(main.shellVerb.registered);
        const QByteArray saved = readFile(settingsPath);
        QVERIFY2(saved.contains("MaxLen= 38") && saved.contains("BrakeTo2=0"), saved.constData());

        // Cancel (Esc) leaves the file and the verb as they were, however much was changed.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ran = whenModal([](QWidget &dialog) {
            QCOMPARE(edit(dialog, u"txtMaxCharsPerLine"_s)->text(), u"38"_s);
            edit(dialog, u"txtMaxCharsPerLine"_s)->setText(u"70"_s);
            click(dialog, u"chkBrakeTo2"_s);
            click(dialog, u"chkAddToRightClick"_s);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(*ran);
        QCOMPARE(window.settings().MaxLen, 38);
        QCOMPARE(readFile(settingsPath), saved);
        QVERIFY(main.shellVerb.registered);
    }

    void anUnwritableSettingsFileKeepsTheChoice()
    {
        // A folder where the settings file should be: nothing can be written.
        QTemporaryDir folder;
        const QString settingsPath = folder.filePath(u"Quillmend.ini"_s);
        QVERIFY(QDir().mkpath(settingsPath));
        MainWindowFixture main(settingsPath);
        const auto ran = whenModal([](QWidget &dialog) {
            edit(dialog, u"txtMaxCharsPerLine"_s)->setText(u"38"_s);
            click(dialog, u"Command1"_s);
        });
        main.action(u"mnuOptions"_s)->trigger();
        QVERIFY(*ran);
        QCOMPARE(main.window->settings().MaxLen, 38);
        QCOMPARE(main.prompter.informed.size(), 1);
        QVERIFY2(main.prompter.informed.first().startsWith(u"Cannot save "_s + settingsPath + u": "_s),
                 qPrintable(main.prompter.informed.first()));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
