// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/registryclass.h"
#include "shell/registryerror.h"
#include "shell/registryshellverb.h"

#include <QStringEncoder>
#include <QTest>

#include <functional>
#include <map>
#include <stdexcept>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A registry in memory, with switches to refuse changes and to throw on the next call. Names compare exactly (the tests
// spell each one way) and only the calls RegistryClass makes here do anything.
class MemoryRegistryStore : public RegistryStore
{
public:
    bool readOnly = false;       // refuses every change
    bool valuesReadOnly = false; // refuses value changes only
    bool throwOnNextCall = false;

    bool openKey(quint32 root, const QString &key) override { return find(root, key); }
    std::optional<Value> queryValue(quint32 root, const QString &key, const QString &name) override
    {
        const Values *values = find(root, key);
        return values && values->contains(name) ? std::optional(values->at(name)) : std::nullopt;
    }

    bool createKey(quint32 root, const QString &key) override
    {
        throwIfAsked();
        const QStringList parts = key.split(u'\\');
        for (qsizetype count = 1; count <= parts.size() && !readOnly; ++count)
            m_keys[{root, parts.first(count).join(u'\\')}];
        return !readOnly;
    }

    bool setValue(quint32 root, const QString &key, const QString &name, const Value &value) override
    {
        Values *values = find(root, key);
        if (!values || readOnly || valuesReadOnly)
            return false;
        (*values)[name] = value;
        return true;
    }

    std::optional<QStringList> subKeys(quint32 root, const QString &key) override
    {
        if (!find(root, key))
            return std::nullopt;
        QStringList children;
        for (const auto &[id, values] : m_keys) {
            if (const QString rest = id.second.mid(key.size() + 1); id.first == root
                && id.second.startsWith(key + u'\\') && !rest.contains(u'\\'))
                children << rest;
        }
        return children;
    }

    bool deleteKey(quint32 root, const QString &key) override
    {
        const std::optional<QStringList> children = subKeys(root, key);
        return children && children->isEmpty() && !readOnly && m_keys.erase({root, key}) == 1;
    }

    std::optional<QStringList> valueNames(quint32, const QString &) override { return std::nullopt; }
    bool deleteValue(quint32, const QString &, const QString &) override { return false; }

    // Every key and value, one a line, in path order.
    QStringList dump() const
    {
        QStringList lines;
        for (const auto &[id, values] : m_keys) {
            lines << id.second;
            for (const auto &[name, value] : values)
                lines << id.second + u" [" + name + u"] " + QString::fromLatin1(value.data.toHex());
        }
        return lines;
    }

private:
    using Values = std::map<QString, Value>;

    void throwIfAsked()
    {
        if (std::exchange(throwOnNextCall, false))
            throw std::runtime_error("store failure");
    }
    Values *find(quint32 root, const QString &key)
    {
        throwIfAsked();
        const auto found = m_keys.find({root, key});
        return found == m_keys.end() ? nullptr : &found->second;
    }

    std::map<std::pair<quint32, QString>, Values> m_keys;
};

// Registry text: UTF-16LE ending in one NUL.
QByteArray utf16WithNul(QStringView text)
{
    return QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(text)) + QByteArray(2, '\0');
}

} // namespace

// The registry class, and the shell verb written through it, over a registry in memory.
class tst_Registry : public QObject
{
    Q_OBJECT

    MemoryRegistryStore m_store;
    RegistryClass m_registry{m_store, u"Quillmend"_s};
    RegistryShellVerb m_verb{m_store, u"C:\\Program Files\\Quill mend"_s, u"Quillmend"_s};

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

    QStringList verbLines() { return m_store.dump().filter(u"Correct subtitles"_s); }

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
        QTest::newRow("expandable") << 2u << utf16WithNul(u"%QUILLMEND_TEST_FOLDER%\\x") << QVariant(u"/srv/subs\\x"_s);
        QTest::newRow("unset") << 2u << utf16WithNul(u"100% %QUILLMEND_UNSET%") << QVariant(u"100% %QUILLMEND_UNSET%"_s);
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

    // Read back as written; text that may hold an environment reference is stored as expandable.
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
    void add_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("extensionDefault"); // null: no key for the extension, "-": no default value
        QTest::addColumn<QString>("typeKey");          // created beforehand when not empty
        QTest::addColumn<QString>("verbKey");          // empty: nothing may be created
        const QString srt = u".srt"_s, vtt = u".vtt"_s;
        QTest::newRow("type key") << srt << u"SubRip.File"_s << u"SubRip.File"_s
                                  << u"SubRip.File\\shell\\Correct subtitles"_s;
        QTest::newRow("empty default") << srt << u""_s << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("no default value") << srt << u"-"_s << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("no .srt key") << srt << QString() << QString() << u".srt\\shell\\Correct subtitles"_s;
        QTest::newRow("missing type key") << srt << u"SubRip.File"_s << QString() << QString();
        QTest::newRow(".vtt, type key") << vtt << u"WebVTT.File"_s << u"WebVTT.File"_s
                                        << u"WebVTT.File\\shell\\Correct subtitles"_s;
        QTest::newRow("no .vtt key") << vtt << QString() << QString() << u".vtt\\shell\\Correct subtitles"_s;
        QTest::newRow(".vtt, missing type key") << vtt << u"WebVTT.File"_s << QString() << QString();
    }

    void add()
    {
        QFETCH(QString, extension);
        QFETCH(QString, extensionDefault);
        QFETCH(QString, typeKey);
        QFETCH(QString, verbKey);
        RegistryShellVerb verb{m_store, u"C:\\Program Files\\Quill mend"_s, u"Quillmend"_s, extension};
        if (extensionDefault == u"-")
            QVERIFY(m_registry.CreateKey(extension));
        else if (!extensionDefault.isNull())
            QVERIFY(m_registry.SetValue(extension, QString(), extensionDefault, 1));
        if (!typeKey.isEmpty())
            QVERIFY(m_registry.CreateKey(typeKey));
        const QStringList before = m_store.dump();
        QVERIFY(!verb.IsShellVerbRegistered());

        QString error;
        const bool added = verb.SetShellVerb(true, &error);
        if (verbKey.isEmpty()) {
            QVERIFY(!added);
            QVERIFY2(error.contains(u"HKEY_CLASSES_ROOT\\"_s + extension + u" names"_s), qPrintable(error));
            QCOMPARE(m_store.dump(), before);
            return;
        }
        QVERIFY2(added, qPrintable(error));
        QVERIFY(verb.IsShellVerbRegistered());
        // The verb, its command key and the command value, nowhere else.
        QCOMPARE(verbLines().size(), 3);
        QCOMPARE(verbLines().first(), verbKey);
        const QString command = verbKey + u"\\command"_s;
        QCOMPARE(m_store.queryValue(RegistryStore::ClassesRoot, command, QString())->type, 1u);
        QCOMPARE(m_registry.GetValue(command, QString()),
                 QVariant(u"\"C:\\Program Files\\Quill mend\\Quillmend.exe\" /auto %1"_s));

        // Removing takes the verb and keeps the shell key, which other verbs may share.
        QVERIFY2(verb.SetShellVerb(false, &error), qPrintable(error));
        QVERIFY(!verb.IsShellVerbRegistered());
        QStringList kept = before + QStringList{verbKey.section(u'\\', 0, 0), verbKey.section(u'\\', 0, 1)};
        kept.removeDuplicates();
        kept.sort();
        QCOMPARE(m_store.dump(), kept);
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

QTEST_GUILESS_MAIN(tst_Registry)
#include "tst_registry.moc"
