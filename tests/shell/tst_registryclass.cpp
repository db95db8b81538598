// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/memoryregistrystore.h"
#include "shell/registryclass.h"
#include "shell/registryerror.h"

#include <QStringEncoder>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Registry text: UTF-16LE ending in one NUL.
QByteArray utf16WithNul(QStringView text)
{
    const QByteArray data = QStringEncoder(QStringEncoder::Utf16LE)(text);
    return data + QByteArray(2, '\0');
}

} // namespace

class tst_RegistryClass : public QObject
{
    Q_OBJECT

    MemoryRegistryStore m_store;
    RegistryClass m_registry{m_store, u"Quillmend"_s};

    // What the call raised, as "number description source".
    static QString raised(const std::function<void()> &call)
    {
        try {
            call();
        } catch (const RegistryError &error) {
            return QStringLiteral("%1 %2 %3").arg(error.number()).arg(error.description(), error.source());
        }
        return u"nothing"_s;
    }

private slots:
    void initTestCase() { qputenv("QUILLMEND_TEST_FOLDER", "/srv/subs"); }

    void init()
    {
        m_store = MemoryRegistryStore();
        m_registry.Init(RegistryStore::ClassesRoot);
    }

    void getValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("plain") << 1u << utf16WithNul(u"C:\\Subs") << QVariant(u"C:\\Subs"_s);
        QTest::newRow("plain, no NUL") << 1u << "a\0b\0"_ba << QVariant(u"ab"_s);
        QTest::newRow("multi") << 7u << "a\0\0\0b\0\0\0\0\0"_ba << QVariant(u"a\0b\0"_s);
        QTest::newRow("expandable") << 2u << utf16WithNul(u"%QUILLMEND_TEST_FOLDER%\\x")
                                    << QVariant(u"/srv/subs\\x"_s);
        QTest::newRow("expandable, unset") << 2u << utf16WithNul(u"100% %QUILLMEND_UNSET%")
                                           << QVariant(u"100% %QUILLMEND_UNSET%"_s);
        QTest::newRow("32-bit") << 4u << "\x01\x02\x03\x84"_ba << QVariant(qint32(0x84030201));
        QTest::newRow("big-endian") << 5u << "\x01\x02\x03\x04"_ba << QVariant(qint32(0x01020304));
        QTest::newRow("short 32-bit") << 4u << "\x01\x02"_ba << QVariant("\x01\x02"_ba);
        QTest::newRow("binary") << 3u << "\x00\xff"_ba << QVariant("\x00\xff"_ba);
    }

    void getValue()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QVariant, expected);
        QVERIFY(m_store.createKey(RegistryStore::ClassesRoot, u"Key"_s));
        QVERIFY(m_store.setValue(RegistryStore::ClassesRoot, u"Key"_s, u"Value"_s, {type, data}));
        const QVariant value = m_registry.GetValue(u"Key"_s, u"Value"_s, 42);
        QCOMPARE(value.metaType(), expected.metaType());
        QCOMPARE(value, expected);
        QCOMPARE(m_registry.GetValue(u"Missing"_s, u"Value"_s, 42), QVariant(42));
    }

    // Read back as written; text that may hold an environment reference is
    // stored as expandable.
    void setValue_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<quint32>("requested");
        QTest::addColumn<quint32>("stored");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("one character between") << QVariant(u"50%a%"_s) << 1u << 2u << utf16WithNul(u"50%a%");
        QTest::newRow("adjacent") << QVariant(u"100%%"_s) << 1u << 1u << utf16WithNul(u"100%%");
        QTest::newRow("expandable asked, none") << QVariant(u"x"_s) << 2u << 1u << utf16WithNul(u"x");
        QTest::newRow("empty") << QVariant(QString()) << 1u << 1u << utf16WithNul(u"");
        QTest::newRow("32-bit") << QVariant(-2) << 4u << 4u << "\xFE\xFF\xFF\xFF"_ba;
        QTest::newRow("big-endian") << QVariant(7) << 5u << 5u << "\0\0\0\x07"_ba;
    }

    void setValue()
    {
        QFETCH(QVariant, value);
        QFETCH(quint32, requested);
        QVERIFY(m_registry.SetValue(u"New\\Key"_s, QString(), value, requested));
        const auto stored = m_store.queryValue(RegistryStore::ClassesRoot, u"New\\Key"_s, QString());
        QVERIFY(stored);
        QTEST(stored->type, "stored");
        QTEST(stored->data, "data");
        QCOMPARE(m_registry.GetValue(u"New\\Key"_s, QString()), value);
    }

    void deleteKey()
    {
        QVERIFY(m_registry.CreateKey(u"Tree\\a\\b"_s) && m_registry.CreateKey(u"Tree\\c"_s));
        QVERIFY(m_registry.CreateKey(u"Other"_s));
        QVERIFY(!m_registry.DeleteKey(u"Tree"_s, false));
        m_store.readOnly = true;
        QVERIFY(!m_registry.DeleteKey(u"Tree"_s, true));
        m_store.readOnly = false;
        QVERIFY(m_registry.DeleteKey(u"Tree"_s, true));
        QCOMPARE(m_store.dump(), QStringList(u"Other"_s));
        QVERIFY(!m_registry.DeleteKey(u"Tree"_s, true));
        // Each root holds its own keys.
        m_registry.Init(RegistryStore::CurrentUser);
        QVERIFY(!m_registry.KeyExists(u"Other"_s));
    }

    void errors()
    {
        const QString invalid = u"-2147203503 Invalid KeyName value Quillmend.CRegistry"_s;
        QCOMPARE(raised([&] { m_registry.CreateKey(QString()); }), invalid);
        QCOMPARE(raised([&] { m_registry.DeleteKey(QString(), true); }), invalid);
        QCOMPARE(raised([&] { m_registry.SetValue(QString(), QString(), u"x"_s, 1); }), invalid);

        const QString failure = u"-2147203501 CRegistry component failure Quillmend.CRegistry"_s;
        const std::function<void()> storeCalls[] = {
            [&] { m_registry.GetValue(u"Key"_s, QString()); },
            [&] { m_registry.SetValue(u"Key"_s, QString(), u"x"_s, 1); },
            [&] { m_registry.DeleteKey(u"Key"_s, true); },
        };
        for (const auto &call : storeCalls) {
            m_store.throwOnNextCall = true;
            QCOMPARE(raised(call), failure);
        }
    }
};

QTEST_GUILESS_MAIN(tst_RegistryClass)
#include "tst_registryclass.moc"
