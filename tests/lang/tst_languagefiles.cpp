// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <pugixml.hpp>

namespace {

QString text(const pugi::char_t *value)
{
    return QString::fromUtf8(value);
}

QStringList elementNames(const pugi::xml_node &root)
{
    QStringList names;
    for (const pugi::xml_node &child : root.children())
        names << text(child.name());
    return names;
}

// Attribute names prefixed with their element, so a mismatch says where.
QStringList attributeNames(const pugi::xml_node &element)
{
    QStringList names{text(element.name())};
    for (const pugi::xml_attribute &attribute : element.attributes())
        names << text(attribute.name());
    return names;
}

// What the program relies on when it glues numbers and paths into a text:
// a blank at either end, and each placeholder it fills.
QString shapeOf(const QString &where, const QString &value)
{
    const auto blank = [&](bool atEnd) {
        const bool found = !value.isEmpty() && (atEnd ? value.back() : value.front()).isSpace();
        return found ? u"yes"_qs : u"no"_qs;
    };
    return u"%1: blank before %2, blank after %3, placeholder 1 x%4, placeholder 2 x%5"_qs.arg(
        where, blank(false), blank(true), QString::number(value.count(u"%1"_qs)),
        QString::number(value.count(u"%2"_qs)));
}

} // namespace

// Every shipped translation against English, element by element and
// attribute by attribute.
class TestLanguageFiles : public QObject
{
    Q_OBJECT

private:
    QStringList m_translations;

private slots:
    void initTestCase()
    {
        const QDir folder(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR));
        for (const QString &file : folder.entryList({u"*.Quillmend.exe.xml"_qs}, QDir::Files, QDir::Name)) {
            if (file != u"English.Quillmend.exe.xml")
                m_translations << folder.filePath(file);
        }
        QVERIFY2(!m_translations.isEmpty(), "no translations found beside English");
    }

    void matchesEnglish_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &path : std::as_const(m_translations))
            QTest::newRow(qPrintable(QFileInfo(path).fileName().section(u'.', 0, 0))) << path;
    }

    void matchesEnglish()
    {
        QFETCH(QString, path);

        LangDoc english;
        QVERIFY(english.load(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/English.Quillmend.exe.xml")));
        LangDoc translated;
        QVERIFY2(translated.load(path), "does not parse");

        const pugi::xml_node englishRoot = english.document().document_element();
        const pugi::xml_node translatedRoot = translated.document().document_element();
        QCOMPARE(text(translatedRoot.name()), text(englishRoot.name()));
        QCOMPARE(elementNames(translatedRoot), elementNames(englishRoot));

        for (const pugi::xml_node &englishElement : englishRoot.children()) {
            const pugi::xml_node element = translatedRoot.child(englishElement.name());
            QCOMPARE(attributeNames(element), attributeNames(englishElement));

            for (const pugi::xml_attribute &englishAttribute : englishElement.attributes()) {
                const QString where = text(element.name()) + u' ' + text(englishAttribute.name());
                const QString value = text(element.attribute(englishAttribute.name()).value());
                QVERIFY2(!value.isEmpty(), qPrintable(where + u" is empty"_qs));
                QCOMPARE(shapeOf(where, value), shapeOf(where, text(englishAttribute.value())));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
