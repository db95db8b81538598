// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/registrystore.h"

#include <map>
#include <stdexcept>
#include <utility>

// A registry in memory, with switches to refuse changes and to throw on the
// next call. Names compare exactly (the tests spell each one way) and only
// the calls RegistryClass makes here do anything.
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
        if (readOnly)
            return false;
        const QStringList parts = key.split(u'\\');
        for (qsizetype count = 1; count <= parts.size(); ++count)
            m_keys[{root, parts.first(count).join(u'\\')}];
        return true;
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
        const QString prefix = key + u'\\';
        QStringList children;
        for (const auto &[id, values] : m_keys) {
            if (id.first == root && id.second.startsWith(prefix) && !id.second.mid(prefix.size()).contains(u'\\'))
                children << id.second.mid(prefix.size());
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
