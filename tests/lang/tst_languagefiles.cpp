// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/langdoc.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <pugixml.hpp>

namespace {

// Every element and attribute of a language file in order, each text
// reduced to what the program relies on when it glues numbers and paths
// into it: whether it is empty, a blank at either end, and each placeholder.
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
            const auto blank = [&](bool atEnd) {
                return !value.isEmpty() && (atEnd ? value.back() : value.front()).isSpace();
            };
            lines << u"%1 %2: empty %3, blank before %4, blank after %5, placeholder 1 x%6, placeholder 2 x%7"_qs.arg(
                QString::fromUtf8(element.name()), QString::fromUtf8(attribute.name()),
                QString::number(value.isEmpty()), QString::number(blank(false)), QString::number(blank(true)),
                QString::number(value.count(u"%1"_qs)), QString::number(value.count(u"%2"_qs)));
        }
    }
    return lines;
}

} // namespace

// Every shipped translation against English, element by element and
// attribute by attribute.
class TestLanguageFiles : public QObject
{
    Q_OBJECT

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
        QCOMPARE(outline(path), outline(QStringLiteral(QUILLMEND_LANG_SOURCE_DIR "/English.Quillmend.exe.xml")));
    }
};

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
