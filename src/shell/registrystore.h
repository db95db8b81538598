// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The primitive operations of a registry of keys and typed values, relative
// to a predefined root. Key names are backslash-separated paths of subkeys
// and compare without regard to case. Failures are plain (false, nullopt);
// an implementation may throw only for something truly unexpected.
class RegistryStore
{
public:
    // Handle values of the predefined roots.
    static constexpr quint32 ClassesRoot = 0x80000000u;
    static constexpr quint32 CurrentUser = 0x80000001u;
    static constexpr quint32 LocalMachine = 0x80000002u;

    // Value type numbers as the registry stores them.
    enum ValueType : quint32 {
        None = 0,
        String = 1,
        ExpandString = 2,
        Binary = 3,
        DWord = 4,
        DWordBigEndian = 5,
        MultiString = 7,
    };

    struct Value
    {
        quint32 type = None;
        QByteArray data;
    };

    virtual ~RegistryStore() = default;

    // Whether the key can be opened for reading its values.
    virtual bool openKey(quint32 root, const QString &key) = 0;
    // An empty name is the key's default value.
    virtual std::optional<Value> queryValue(quint32 root, const QString &key, const QString &name) = 0;
    // Creates the key and its missing parents, or opens it when it exists.
    virtual bool createKey(quint32 root, const QString &key) = 0;
    // Writes the value into an existing key.
    virtual bool setValue(quint32 root, const QString &key, const QString &name, const Value &value) = 0;
    virtual std::optional<QStringList> subKeys(quint32 root, const QString &key) = 0;
    virtual std::optional<QStringList> valueNames(quint32 root, const QString &key) = 0;
    // Fails when the key still has subkeys.
    virtual bool deleteKey(quint32 root, const QString &key) = 0;
    virtual bool deleteValue(quint32 root, const QString &key, const QString &name) = 0;
};
