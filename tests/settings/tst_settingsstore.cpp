// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsfile.h"
#include "settings/settingsstore.h"
#include "settings/settingvalue.h"
#include "support/testfiles.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Settings)

namespace {

Settings changed(const std::function<void(Settings &)> &change)
{
    Settings settings;
    change(settings);
    return settings;
}

} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString path() const { return m_dir->filePath(u"Quillmend.ini"_s); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Numbers in the file are read and written the same whatever the user's locale.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const double inf = std::numeric_limits<double>::infinity();
        for (const auto &[text, number] : std::initializer_list<std::pair<QString, double>>{
                 {u"4 4"_s, 4.0},    {u"  7"_s, 7.0},     {u"\t-2.5e-1x"_s, -0.25}, {u"+3"_s, 3.0},
                 {u"1e3"_s, 1000.0}, {u"1e"_s, 1.0},      {u"1E+"_s, 1.0},          {u".5"_s, 0.5},
                 {u"5."_s, 5.0},     {u"-"_s, 0.0},       {u"."_s, 0.0},            {QString(), 0.0},
                 {u"abc"_s, 0.0},    {u"50abc"_s, 50.0},  {u"1,5"_s, 1.0},          {u"0x1A"_s, 0.0},
                 {u"inf"_s, 0.0},    {u"\u0663"_s, 0.0}, {u"-1e999"_s, -inf},      {u"1e-999"_s, 0.0}})
            QTest::addRow("\"%s\"", text.toUtf8().constData()) << text << number;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QTEST(::leadingNumber(text), "number");
    }

    void defaultsWithoutFile()
    {
        const SettingsFile::Loaded loaded = SettingsFile(path()).load();
        QVERIFY(!loaded.fileProblem && loaded.problems.isEmpty() && !loaded.hasMainWindowPlace);
        QVERIFY(loaded.settings == Settings{});
        QCOMPARE(SettingsStore::canonicalKeyName(u"list2col4"), u"List2Col4"_s);
        QVERIFY(SettingsStore::canonicalKeyName(u"List2Col6").isEmpty());
    }

    void applyValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Settings>("expected"); // from defaults with BuyTime false
        QTest::addColumn<int>("problem");       // -1: none

        const auto from = [](const std::function<void(Settings &)> &change) {
            return changed([&](Settings &s) {
                s.BuyTime = false;
                change(s);
            });
        };
        const auto same = [](Settings &) {};
        using Kind = SettingProblem::Kind;
        QTest::newRow("any case, half to even") << u"maxlen"_s << u"44.5"_s << from([](Settings &s) { s.MaxLen = 44; })
                                                << -1;
        QTest::newRow("rounds past 32 bits") << u"MaxLen"_s << u"2147483647.5"_s << from(same) << int(Kind::NotInt32);
        QTest::newRow("no digits") << u"Diax"_s << u" .e5"_s << from(same) << int(Kind::NotANumber);
        QTest::newRow("1 is True") << u"BuyTime"_s << u"1"_s << from([](Settings &s) { s.BuyTime = true; }) << -1;
        QTest::newRow("True is False") << u"ShowMessage"_s << u"True"_s
                                       << from([](Settings &s) { s.ShowMessage = false; }) << -1;
        QTest::newRow("language") << u"Lang"_s << u"French"_s
                                  << from([](Settings &s) { s.LangFileBase = u"French.Quillmend.exe"_s; }) << -1;
        QTest::newRow("unknown") << u"MaxLength"_s << u"50"_s << from(same) << int(Kind::UnknownKey);
        QTest::newRow("encoding by any name") << u"Encoding"_s << u" cp1251"_s
                                              << from([](Settings &s) { s.Encoding = u"cp1251"_s; }) << -1;
        QTest::newRow("auto in any case") << u"Encoding"_s << u"AUTO"_s << from(same) << -1;
        QTest::newRow("unknown encoding") << u"Encoding"_s << u"klingon-8"_s << from(same)
                                          << int(Kind::UnknownEncoding);
    }

    void applyValue()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        Settings settings = changed([](Settings &s) { s.BuyTime = false; });
        const std::optional<SettingProblem> reported = SettingsStore::applyValue(settings, key, text);
        QTEST(settings, "expected");
        QTEST(reported ? int(reported->kind) : -1, "problem");
    }

    // A value that cannot be taken leaves the default; a blank main-window place is no place.
    void readProblemsKeepDefaults()
    {
        QVERIFY(writeFile(path(), "[General]\nDiax=1e39\nMaxLen=1e10\nLettersFor1Min=\nMainX= \n"));
        const SettingsFile::Loaded loaded = SettingsFile(path()).load();
        const QList<SettingProblem> problems{{SettingProblem::Kind::NotInt32, u"MaxLen"_s, u"1e10"_s},
                                             {SettingProblem::Kind::NotFloat, u"Diax"_s, u"1e39"_s}};
        QCOMPARE(loaded.problems, problems);
        QVERIFY(loaded.settings == changed([](Settings &s) { s.LettersFor1Min = s.MainXTwips = 0; }));
        QVERIFY(!loaded.hasMainWindowPlace);
    }

    // What a correction run cannot use, at each rule's edges.
    void rules_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("usable");
        QTest::newRow("defaults") << Settings{} << true;
        for (const auto &[gapMs, usable] : {std::pair(0, false), {1, true}, {10000, true}, {10001, false}})
            QTest::addRow("MinGapMs %d", gapMs) << changed([gapMs](Settings &s) { s.MinGapMs = gapMs; }) << usable;
        // Frames may be 0: no gap before a cut, no snapping, the gap in milliseconds.
        for (qint32 Settings::*frames : {&Settings::ShotGapFrames, &Settings::ShotSnapFrames, &Settings::MinGapFrames})
            for (const auto &[value, usable] : {std::pair(-1, false), {0, true}, {1000, true}, {1001, false}})
                QTest::addRow("frames %d", value) << changed([=](Settings &s) { s.*frames = value; }) << usable;
        QTest::newRow("unknown encoding") << changed([](Settings &s) { s.Encoding = u"klingon-8"_s; }) << false;
    }

    void rules()
    {
        QFETCH(Settings, settings);
        QTEST(settings.problems().isEmpty(), "usable");
    }

    void writesEveryKeyAsItWasRead()
    {
        // Values differ from their neighbours and defaults, so a key read into
        // or written from another key's field shows.
        const QByteArray file = "[General]\nMaxLen= 40\nJoinSubsAbove2Lines=0\nBuyTime=-1\nLettersFor1Min=-5\n"
                                "CorrectSubsAbove2Lines=0\nCreateBakFile=-1\nParseAllTimes=0\nBrakeTo2=-1\n"
                                "ShowMessage=0\nCreateBakFileAuto=-1\nShowMessageAuto=0\n"
                                "MainX=1\nMainY=2\nMainWidth=3\nMainHeight=4\nEditX=5\nEditY=6\nEditWidth=7\nEditHeight=8\n"
                                "Diax=9\nList1Col1=10\nList1Col2=11\nList1Col3=12\nList1Col4=283.4646\n"
                                "List2Col1=-14\nList2Col2=15\nList2Col3=16\nList2Col4=17\nLang=French\n"
                                "List1Col5=18\nList2Col5=19\nGuidelineBreaks=-1\nMinGapMs= 83\n"
                                "Encoding=windows-1251\nLenientTimes=-1\nAutoOpenVideo=0\nVideoPane=-1\nTimelinePane=0\n"
                                "VideoPaneWidth=20\nTimelinePaneHeight=21\nTimelineSpanMs= 22\nVideoVolume= 23\n"
                                "MainMaximized=-1\n"
                                "ShotChanges=-1\nShotGapFrames= 3\nShotSnapFrames= 0\nMinGapFrames= 1\n"_ba;
        for (const SettingKey &key : SettingsStore::keys())
            QVERIFY2(file.contains(QByteArray('\n' + QString(key.name).toLatin1() + '=')), key.name.data());
        QVERIFY(writeFile(path(), file));
        const SettingsFile::Loaded loaded = SettingsFile(path()).load();
        QVERIFY(loaded.problems.isEmpty() && loaded.hasMainWindowPlace);
        QCOMPARE(loaded.settings.LangFileBase, u"French.Quillmend.exe"_s);

        // The folder is created, as on the first save to the configuration folder.
        SettingsFile target(m_dir->filePath(u"config/quillmend/Quillmend.ini"_s));
        QVERIFY(target.save(loaded.settings));
        QCOMPARE(readFile(target.path()), file);

        // A language name that holds a point comes back whole.
        QVERIFY(target.save(changed([](Settings &s) { s.LangFileBase = u"Pt.BR.Quillmend.exe"_s; })));
        const QByteArray saved = readFile(target.path());
        QCOMPARE(target.load().settings.LangFileBase, u"Pt.BR.Quillmend.exe"_s);
        // One replacement: a value the file cannot hold leaves every key as it was.
        QVERIFY(!target.save(changed([](Settings &s) {
            s.MaxLen = 7;
            s.LangFileBase = u"A\nB.Quillmend.exe"_s;
        })));
        QCOMPARE(readFile(target.path()), saved);

        SettingsFile onFolder(m_dir->path());
        QVERIFY(!onFolder.save(Settings{}));
        QVERIFY(!onFolder.errorString().isEmpty());
    }

    // Portable only with the file already there; a writable folder alone is not.
    void defaultFilePath()
    {
        const QString inConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                 + u"/quillmend/Quillmend.ini"_s;
        QVERIFY(QDir(m_dir->path()).mkdir(u"Quillmend.ini"_s)); // a folder by that name is not the file
        QCOMPARE(SettingsStore::defaultFilePath(m_dir->path()), inConfig);
        QVERIFY(QDir(m_dir->path()).rmdir(u"Quillmend.ini"_s) && writeFile(path(), ""));
        QCOMPARE(SettingsStore::defaultFilePath(m_dir->path()), path());
        QCOMPARE(SettingsStore::defaultFilePath(QString()), inConfig);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
