// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/registrystore.h"

#include <QString>
#include <QVariant>

// Reads and writes registry keys and values below one root key. Plain
// failures (a missing key, access denied) give false or the default; an
// empty key name where one is needed, or anything unexpected from the
// store, raises a RegistryError.
class RegistryClass
{
public:
    // executableBaseName names the component in raised errors.
    RegistryClass(RegistryStore &store, const QString &executableBaseName);

    void Init(quint32 rootKey) { m_rootKey = rootKey; }

    bool KeyExists(const QString &keyName);
    // The value as text, a 32-bit integer or bytes according to its stored
    // type; defaultValue when the key or value cannot be read. An empty
    // valueName is the key's default value.
    QVariant GetValue(const QString &keyName, const QString &valueName, const QVariant &defaultValue = {});
    bool CreateKey(const QString &keyName);
    // Text (valueType 1 or 2) is stored as an expandable string when it holds
    // a %...% reference, else as a plain string.
    bool SetValue(const QString &keyName, const QString &valueName, const QVariant &value, quint32 valueType);
    // With allSubKeys, removes the subtree depth first and stops at the first
    // failure; without, fails when the key has subkeys.
    bool DeleteKey(const QString &keyName, bool allSubKeys = false);

private:
    // The text with %NAME% references to set environment variables replaced.
    static QString expandEnvironmentReferences(const QString &text);

    template<typename Function>
    auto guarded(Function function);
    void requireKeyName(const QString &keyName) const;
    bool deleteTree(const QString &keyName, int depth);

    RegistryStore &m_store;
    QString m_source;
    quint32 m_rootKey = RegistryStore::ClassesRoot;
};
