// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/clsinifile.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompter.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Settings)

namespace {

constexpr int NoProblem = -1;

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

private slots:
    void initTestCase();
    void init();
    void defaultsWithoutFile();
    void keyNames();
    void applyValue_data();
    void applyValue();
    void readProblemsKeepPreviousValues();
    void validate();
    void writesWholeFile();
    void languageNameBeforeFirstPoint_data();
    void languageNameBeforeFirstPoint();
    void roundTrip();
    void writeFailure();
    void defaultFilePath();

private:
    QString path() const { return m_dir->filePath(u"Quillmend.ini"_s); }
    clsIniFile iniAt(const QString &path);

    ScriptedPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SettingsStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_SettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

clsIniFile tst_SettingsStore::iniAt(const QString &path)
{
    clsIniFile ini(m_prompter, {});
    ini.setFullPath(path);
    ini.setSectionName(u"General"_s);
    return ini;
}

void tst_SettingsStore::defaultsWithoutFile()
{
    const SettingsReadResult result = SettingsStore::read(iniAt(path()));
    QVERIFY(result.problems.isEmpty());
    QVERIFY(result.settings == Settings{});
    QCOMPARE(result.settings.MaxLen, 44);
    QCOMPARE(result.settings.LettersFor1Min, 23);
    QCOMPARE(result.settings.LangFileBase, u"English.Quillmend.exe"_s);
    QCOMPARE(result.settings.MainWidthTwips, 9000.f);
    QCOMPARE(result.settings.List2ColTwips, (std::array<float, 4>{300, 870, 870, 3500}));
    QVERIFY(!QFile::exists(path()));
}

void tst_SettingsStore::keyNames()
{
    QCOMPARE(SettingsStore::keys().size(), std::size_t(29));
    QCOMPARE(SettingsStore::keys().front().name, "MainX"_L1);
    QVERIFY(SettingsStore::isKey(u"list2col4"));
    QVERIFY(!SettingsStore::isKey(u"List2Col5"));
    QCOMPARE(SettingsStore::canonicalKeyName(u"BRAKETO2"), u"BrakeTo2"_s);
    QCOMPARE(SettingsStore::canonicalKeyName(u"Brake"), QString());
}

void tst_SettingsStore::applyValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Settings>("expected"); // applied to defaults with BuyTime false
    QTest::addColumn<int>("problem");

    using Kind = SettingProblem::Kind;
    const auto base = [](const std::function<void(Settings &)> &change) {
        return changed([&](Settings &s) {
            s.BuyTime = false;
            change(s);
        });
    };
    QTest::newRow("half to even, down") << u"MaxLen"_s << u"42.5"_s << base([](Settings &s) { s.MaxLen = 42; })
                                        << NoProblem;
    QTest::newRow("key in any case") << u"maxlen"_s << u"45.5"_s << base([](Settings &s) { s.MaxLen = 46; })
                                     << NoProblem;
    QTest::newRow("empty integer is 0") << u"LettersFor1Min"_s << QString()
                                        << base([](Settings &s) { s.LettersFor1Min = 0; }) << NoProblem;
    QTest::newRow("beyond 32 bits") << u"MaxLen"_s << u"1e10"_s << base([](Settings &) {}) << int(Kind::NotInt32);
    QTest::newRow("Boolean 1") << u"BuyTime"_s << u"1"_s << base([](Settings &s) { s.BuyTime = true; })
                               << NoProblem;
    QTest::newRow("Boolean word True") << u"ShowMessage"_s << u"True"_s
                                       << base([](Settings &s) { s.ShowMessage = false; }) << NoProblem;
    QTest::newRow("Boolean empty") << u"BrakeTo2"_s << QString() << base([](Settings &s) { s.BrakeTo2 = false; })
                                   << NoProblem;
    QTest::newRow("language") << u"Lang"_s << u"French"_s
                              << base([](Settings &s) { s.LangFileBase = u"French.Quillmend.exe"_s; }) << NoProblem;
    QTest::newRow("column") << u"List2Col3"_s << u"283.4646"_s
                            << base([](Settings &s) { s.List2ColTwips[2] = 283.4646f; }) << NoProblem;
    QTest::newRow("negative geometry") << u"Diax"_s << u"-40"_s << base([](Settings &s) { s.DiaxTwips = -40; })
                                       << NoProblem;
    QTest::newRow("beyond single precision") << u"MainHeight"_s << u"1e39"_s << base([](Settings &) {})
                                             << int(Kind::NotFloat);
    QTest::newRow("unknown key") << u"MaxLength"_s << u"50"_s << base([](Settings &) {}) << int(Kind::UnknownKey);
}

void tst_SettingsStore::applyValue()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(Settings, expected);
    QFETCH(int, problem);

    Settings settings = changed([](Settings &s) { s.BuyTime = false; });
    const std::optional<SettingProblem> reported = SettingsStore::applyValue(settings, key, text);
    QVERIFY(settings == expected);
    QCOMPARE(reported.has_value(), problem != NoProblem);
    if (reported) {
        QCOMPARE(int(reported->kind), problem);
        QCOMPARE(reported->valueText, text);
    }
}

void tst_SettingsStore::readProblemsKeepPreviousValues()
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nDiax=1e39\nMaxLen=1e10\nLettersFor1Min=\nBuyTime=True\nLang=German\n");
    file.close();

    const Settings previous = changed([](Settings &s) { s.MaxLen = 30; });
    const SettingsReadResult result = SettingsStore::read(iniAt(path()), previous);
    const QList<SettingProblem> problems{{SettingProblem::Kind::NotInt32, u"MaxLen"_s, u"1e10"_s},
                                         {SettingProblem::Kind::NotFloat, u"Diax"_s, u"1e39"_s}};
    QCOMPARE(result.problems, problems);
    QVERIFY(result.settings == changed([](Settings &s) {
        s.MaxLen = 30;
        s.LettersFor1Min = 0;
        s.BuyTime = false;
        s.LangFileBase = u"German.Quillmend.exe"_s;
    }));
}

void tst_SettingsStore::validate()
{
    QVERIFY(SettingsStore::validate(Settings{}).isEmpty());
    const QList<SettingProblem> problems{{SettingProblem::Kind::BelowOne, u"MaxLen"_s, u"0"_s},
                                         {SettingProblem::Kind::BelowOne, u"LettersFor1Min"_s, u"-3"_s}};
    QCOMPARE(SettingsStore::validate(changed([](Settings &s) {
                 s.MaxLen = 0;
                 s.LettersFor1Min = -3;
             })),
             problems);
}

void tst_SettingsStore::writesWholeFile()
{
    // The folder is created, as for a first save to the configuration folder.
    const QString target = m_dir->filePath(u"config/quillmend/Quillmend.ini"_s);
    clsIniFile ini = iniAt(target);
    QVERIFY(SettingsStore::write(ini, changed([](Settings &s) {
        s.BuyTime = false;
        s.LettersFor1Min = -5;
        s.List1ColTwips[3] = 283.4646f;
        s.LangFileBase = u"French.Quillmend.exe"_s;
    })));

    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "[General]\nMaxLen= 44\nJoinSubsAbove2Lines=-1\nBuyTime=0\nLettersFor1Min=-5\n"
                             "CorrectSubsAbove2Lines=-1\nCreateBakFile=-1\nParseAllTimes=-1\nBrakeTo2=-1\n"
                             "ShowMessage=-1\nCreateBakFileAuto=-1\nShowMessageAuto=-1\n"
                             "MainX=150\nMainY=150\nMainWidth=9000\nMainHeight=5000\n"
                             "EditX=150\nEditY=150\nEditWidth=4700\nEditHeight=4500\nDiax=3000\n"
                             "List1Col1=300\nList1Col2=870\nList1Col3=870\nList1Col4=283.4646\n"
                             "List2Col1=300\nList2Col2=870\nList2Col3=870\nList2Col4=3500\nLang=French\n"_ba);
}

void tst_SettingsStore::languageNameBeforeFirstPoint_data()
{
    QTest::addColumn<QString>("langFileBase");
    QTest::addColumn<QString>("lang");
    QTest::newRow("name with a point") << u"Pt.BR.Quillmend.exe"_s << u"Pt"_s;
    QTest::newRow("no point") << u"Deutsch"_s << u"Deutsch"_s;
}

void tst_SettingsStore::languageNameBeforeFirstPoint()
{
    QFETCH(QString, langFileBase);
    QFETCH(QString, lang);
    clsIniFile ini = iniAt(path());
    QVERIFY(SettingsStore::write(ini, changed([&](Settings &s) { s.LangFileBase = langFileBase; })));
    QCOMPARE(ini.GetString(u"Lang"_s, {}), lang);
}

void tst_SettingsStore::roundTrip()
{
    // Every field away from its default; geometry that seven digits hold exactly.
    const Settings settings = changed([](Settings &s) {
        s.MaxLen = -7;
        s.LettersFor1Min = 2147483647;
        s.JoinSubsAbove2Lines = s.BuyTime = s.CorrectSubsAbove2Lines = s.CreateBakFile = false;
        s.ParseAllTimes = s.BrakeTo2 = s.ShowMessage = s.CreateBakFileAuto = s.ShowMessageAuto = false;
        s.LangFileBase = u"Deutsch.Quillmend.exe"_s;
        s.MainXTwips = -150.25f;
        s.MainYTwips = 0.5f;
        s.MainWidthTwips = 1e7f;
        s.MainHeightTwips = 0;
        s.EditXTwips = 3216.535f;
        s.EditYTwips = 1.5e-5f;
        s.EditWidthTwips = 1;
        s.EditHeightTwips = 2;
        s.DiaxTwips = -3000;
        s.List1ColTwips = {3, 4, 5, 6};
        s.List2ColTwips = {7, 8, 9, 10};
    });
    clsIniFile ini = iniAt(path());
    QVERIFY(SettingsStore::write(ini, settings));
    const SettingsReadResult result = SettingsStore::read(ini);
    QVERIFY(result.problems.isEmpty());
    QVERIFY(result.settings == settings);
}

void tst_SettingsStore::writeFailure()
{
    const QString plainFile = m_dir->filePath(u"plain.txt"_s);
    QFile file(plainFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    clsIniFile ini = iniAt(plainFile + u"/Quillmend.ini"_s);
    QVERIFY(!SettingsStore::write(ini, Settings{}));
    QVERIFY(m_prompter.informed.isEmpty());
}

void tst_SettingsStore::defaultFilePath()
{
    QCOMPARE(SettingsStore::defaultFilePath(m_dir->path()), path());
    const QString inConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             + u"/quillmend/Quillmend.ini"_s;
    QCOMPARE(SettingsStore::defaultFilePath(m_dir->filePath(u"missing"_s)), inConfig);
    QCOMPARE(SettingsStore::defaultFilePath(QString()), inConfig);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
