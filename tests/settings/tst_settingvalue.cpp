// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingvalue.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class tst_SettingValue : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void integer_data();
    void integer();
    void boolean_data();
    void boolean();
    void geometryOutOfRange();
    void texts();
    void ignoresUserLocale();
};

void tst_SettingValue::leadingNumber_data()
{
    constexpr double Inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::newRow("plain") << u"44"_s << 44.0;
    QTest::newRow("inner blank ends it") << u"4 4"_s << 4.0;
    QTest::newRow("leading blanks") << u"  7"_s << 7.0;
    QTest::newRow("leading tab") << u"\t-2.5e-1x"_s << -0.25;
    QTest::newRow("plus sign") << u"+3"_s << 3.0;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("exponent without digits") << u"1e"_s << 1.0;
    QTest::newRow("exponent sign without digits") << u"1E+"_s << 1.0;
    QTest::newRow("fraction only") << u".5"_s << 0.5;
    QTest::newRow("trailing point") << u"5."_s << 5.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("point only") << u"."_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("word") << u"abc"_s << 0.0;
    QTest::newRow("word True") << u"True"_s << 0.0;
    QTest::newRow("trailing junk") << u"50abc"_s << 50.0;
    QTest::newRow("comma is not a point") << u"1,5"_s << 1.0;
    QTest::newRow("no hexadecimal") << u"0x1A"_s << 0.0;
    QTest::newRow("no infinity word") << u"inf"_s << 0.0;
    QTest::newRow("no other digits") << u"\u0663"_s << 0.0;
    QTest::newRow("overflow") << u"-1e999"_s << -Inf;
    QTest::newRow("underflow") << u"1e-999"_s << 0.0;
    QTest::newRow("400 digits") << QString(400, u'9') << Inf;
}

void tst_SettingValue::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(::leadingNumber(text), number);
}

void tst_SettingValue::integer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("value");

    QTest::newRow("half down to even") << u"44.5"_s << true << 44;
    QTest::newRow("half up to even") << u"45.5"_s << true << 46;
    QTest::newRow("negative half") << u"-1.5"_s << true << -2;
    QTest::newRow("nearest") << u"22.51"_s << true << 23;
    QTest::newRow("empty is 0") << QString() << true << 0;
    QTest::newRow("largest") << u"2147483647"_s << true << 2147483647;
    QTest::newRow("smallest") << u"-2147483648"_s << true << int(-2147483647 - 1);
    QTest::newRow("rounds past largest") << u"2147483647.5"_s << false << 0;
    QTest::newRow("below smallest") << u"-2147483649"_s << false << 0;
    QTest::newRow("1e10") << u"1e10"_s << false << 0;
    QTest::newRow("overflow") << u"1e999"_s << false << 0;
}

void tst_SettingValue::integer()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(int, value);
    const std::optional<qint32> parsed = integerFromSettingText(text);
    QCOMPARE(parsed.has_value(), fits);
    if (fits)
        QCOMPARE(*parsed, value);
}

void tst_SettingValue::boolean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");

    QTest::newRow("-1") << u"-1"_s << true;
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("2") << u"2"_s << true;
    QTest::newRow("fraction") << u"0.1"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("yes") << u"yes"_s << false;
    QTest::newRow("True") << u"True"_s << false;
}

void tst_SettingValue::boolean()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    QCOMPARE(booleanFromSettingText(text), value);
}

void tst_SettingValue::geometryOutOfRange()
{
    QCOMPARE(geometryFromSettingText(u"-283.4646"), std::optional<float>(-283.4646f));
    QCOMPARE(geometryFromSettingText(u"1e39"), std::nullopt);
    QCOMPARE(geometryFromSettingText(u"1e999"), std::nullopt);
}

void tst_SettingValue::texts()
{
    QCOMPARE(settingTextFromInteger(44), u" 44"_s);
    QCOMPARE(settingTextFromInteger(0), u" 0"_s);
    QCOMPARE(settingTextFromInteger(-3), u"-3"_s);
    QCOMPARE(settingTextFromBoolean(true), u"-1"_s);
    QCOMPARE(settingTextFromBoolean(false), u"0"_s);
    QCOMPARE(settingTextFromGeometry(9000), u"9000"_s);
    QCOMPARE(settingTextFromGeometry(3500 - 283.4646f), u"3216.535"_s);
    QCOMPARE(settingTextFromGeometry(-150.5f), u"-150.5"_s);
}

void tst_SettingValue::ignoresUserLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const double number = ::leadingNumber(u"2,5");
    const QString text = settingTextFromGeometry(283.4646f);
    QLocale::setDefault(previous);
    QCOMPARE(number, 2.0);
    QCOMPARE(text, u"283.4646"_s);
}

QTEST_GUILESS_MAIN(tst_SettingValue)
#include "tst_settingvalue.moc"
