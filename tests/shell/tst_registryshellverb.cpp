// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/memoryregistrystore.h"
#include "shell/registryclass.h"
#include "shell/registryshellverb.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_RegistryShellVerb : public QObject
{
    Q_OBJECT

    MemoryRegistryStore m_store;
    RegistryClass m_registry{m_store, u"Quillmend"_s};
    RegistryShellVerb m_verb{m_store, u"C:\\Program Files\\Quill mend"_s, u"Quillmend"_s};

    QStringList verbLines() { return m_store.dump().filter(u"Correct subtitles"_s); }

private slots:
    void init() { m_store = MemoryRegistryStore(); }

    void add_data()
    {
        QTest::addColumn<QString>("srtDefault"); // null: no .srt key, "-": no default value
        QTest::addColumn<QString>("typeKey");    // created beforehand when not empty
        QTest::addColumn<QString>("verbKey");    // empty: nothing may be created
        QTest::newRow("type key") << u"SubRip.File"_s << u"SubRip.File"_s << u"SubRip.File\\shell\\Correct subtitles"_s;
        QTest::newRow("empty default") << u""_s << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("no default value") << u"-"_s << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("no .srt key") << QString() << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("missing type key") << u"SubRip.File"_s << QString() << QString();
    }

    void add()
    {
        QFETCH(QString, srtDefault);
        QFETCH(QString, typeKey);
        QFETCH(QString, verbKey);
        if (srtDefault == u"-")
            QVERIFY(m_registry.CreateKey(u".srt"_s));
        else if (!srtDefault.isNull())
            QVERIFY(m_registry.SetValue(u".srt"_s, QString(), srtDefault, 1));
        if (!typeKey.isEmpty())
            QVERIFY(m_registry.CreateKey(typeKey));
        const QStringList before = m_store.dump();
        QVERIFY(!m_verb.IsShellVerbRegistered());

        QString error;
        const bool added = m_verb.SetShellVerb(true, &error);
        if (verbKey.isEmpty()) {
            QVERIFY(!added);
            QVERIFY2(error.contains(u"HKEY_CLASSES_ROOT\\.srt"_s), qPrintable(error));
            QCOMPARE(m_store.dump(), before);
            return;
        }
        QVERIFY2(added, qPrintable(error));
        QVERIFY(m_verb.IsShellVerbRegistered());
        // The verb, its command key and the command value, nowhere else.
        QCOMPARE(verbLines().size(), 3);
        QCOMPARE(verbLines().first(), verbKey);
        const QString command = verbKey + u"\\command"_s;
        QCOMPARE(m_store.queryValue(RegistryStore::ClassesRoot, command, QString())->type, 1u);
        QCOMPARE(m_registry.GetValue(command, QString()),
                 QVariant(u"\"C:\\Program Files\\Quill mend\\Quillmend.exe\" /auto %1"_s));
    }

    void removeKeepsShellKey()
    {
        QVERIFY(m_verb.SetShellVerb(true));
        QString error;
        QVERIFY2(m_verb.SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!m_verb.IsShellVerbRegistered());
        QCOMPARE(m_store.dump(), QStringList({u".srt"_s, u".srt\\shell"_s}));
    }

    void unchangedWhenAlreadySo()
    {
        QVERIFY(m_registry.SetValue(u".srt\\shell\\Correct subtitles\\command"_s, QString(), u"other.exe %1"_s, 1));
        QStringList before = m_store.dump();
        QVERIFY(m_verb.SetShellVerb(true));
        QCOMPARE(m_store.dump(), before);

        QVERIFY(m_registry.DeleteKey(u".srt\\shell\\Correct subtitles"_s, true));
        QVERIFY(m_registry.SetValue(u".srt"_s, QString(), u"Missing.Type"_s, 1));
        before = m_store.dump();
        QVERIFY(m_verb.SetShellVerb(false));
        QCOMPARE(m_store.dump(), before);
    }

    void failures()
    {
        QString error;
        m_store.valuesReadOnly = true;
        QVERIFY(!m_verb.SetShellVerb(true, &error));
        QVERIFY2(error.contains(u"HKEY_CLASSES_ROOT\\.srt\\shell\\Correct subtitles\\command could not be written"_s),
                 qPrintable(error));
        // No verb without its command is left behind.
        QVERIFY(verbLines().isEmpty());

        m_store.valuesReadOnly = false;
        QVERIFY(m_verb.SetShellVerb(true));
        m_store.readOnly = true;
        QVERIFY(!m_verb.SetShellVerb(false, &error));
        QVERIFY2(error.contains(u"Correct subtitles could not be deleted"_s), qPrintable(error));
        QVERIFY(m_verb.IsShellVerbRegistered());

        m_store.throwOnNextCall = true;
        QVERIFY(!m_verb.SetShellVerb(false, &error));
        QVERIFY2(error.contains(u"CRegistry component failure (error -2147203501, Quillmend.CRegistry)"_s),
                 qPrintable(error));
        m_store.throwOnNextCall = true;
        QTest::ignoreMessage(QtWarningMsg, "CRegistry component failure (error -2147203501, Quillmend.CRegistry)");
        QVERIFY(!m_verb.IsShellVerbRegistered());
    }
};

QTEST_GUILESS_MAIN(tst_RegistryShellVerb)
#include "tst_registryshellverb.moc"
