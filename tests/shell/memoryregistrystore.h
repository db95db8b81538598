// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/registrystore.h"

#include <map>
#include <stdexcept>
#include <utility>

// A registry in memory: a tree of keys per root, names without regard to
// case, with switches to refuse changes and to throw on the next call.
class MemoryRegistryStore : public RegistryStore
{
public:
    bool readOnly = false;       // refuses every change
    bool valuesReadOnly = false; // refuses value changes only
    bool throwOnNextCall = false;

    bool openKey(quint32 root, const QString &key) override { return find(root, key); }

    std::optional<Value> queryValue(quint32 root, const QString &key, const QString &name) override
    {
        const Node *node = find(root, key);
        if (!node || !node->values.contains(name.toLower()))
            return std::nullopt;
        return node->values.at(name.toLower()).value;
    }

    bool createKey(quint32 root, const QString &key) override
    {
        Node *node = find(root, QString());
        for (const QString &part : key.split(QLatin1Char('\\'))) {
            if (part.isEmpty() || readOnly)
                return false;
            node = &node->keys[part.toLower()];
            if (node->name.isEmpty())
                node->name = part;
        }
        return true;
    }

    bool setValue(quint32 root, const QString &key, const QString &name, const Value &value) override
    {
        Node *node = find(root, key);
        if (!node || readOnly || valuesReadOnly)
            return false;
        node->values[name.toLower()] = {name, value};
        return true;
    }

    std::optional<QStringList> subKeys(quint32 root, const QString &key) override
    {
        return names(find(root, key), &Node::keys);
    }

    std::optional<QStringList> valueNames(quint32 root, const QString &key) override
    {
        return names(find(root, key), &Node::values);
    }

    bool deleteKey(quint32 root, const QString &key) override
    {
        const qsizetype slash = key.lastIndexOf(QLatin1Char('\\'));
        Node *parent = find(root, key.left(qMax<qsizetype>(slash, 0)));
        const auto child = parent ? parent->keys.find(key.mid(slash + 1).toLower()) : KeyMap::iterator();
        if (!parent || readOnly || child == parent->keys.end() || !child->second.keys.empty())
            return false;
        parent->keys.erase(child);
        return true;
    }

    bool deleteValue(quint32 root, const QString &key, const QString &name) override
    {
        Node *node = find(root, key);
        return node && !readOnly && !valuesReadOnly && node->values.erase(name.toLower()) == 1;
    }

    // Every key and value below the classes root, one a line.
    QStringList dump(const QString &key = QString())
    {
        QStringList lines;
        for (const QString &name : valueNames(ClassesRoot, key).value_or(QStringList())) {
            const QByteArray data = queryValue(ClassesRoot, key, name)->data;
            lines.append(key + u" [" + name + u"] " + QString::fromLatin1(data.toHex()));
        }
        for (const QString &child : subKeys(ClassesRoot, key).value_or(QStringList())) {
            const QString path = key.isEmpty() ? child : key + u'\\' + child;
            lines += path;
            lines += dump(path);
        }
        return lines;
    }

private:
    struct Node;
    using KeyMap = std::map<QString, Node>; // by lower-case name
    struct NamedValue
    {
        QString name;
        Value value;
    };
    struct Node
    {
        QString name;
        KeyMap keys;
        std::map<QString, NamedValue> values; // by lower-case name
    };

    template<typename Map>
    static std::optional<QStringList> names(const Node *node, Map Node::*entries)
    {
        if (!node)
            return std::nullopt;
        QStringList list;
        for (const auto &entry : node->*entries)
            list.append(entry.second.name);
        return list;
    }

    Node *find(quint32 root, const QString &key)
    {
        if (std::exchange(throwOnNextCall, false))
            throw std::runtime_error("store failure");
        Node *node = &m_roots[root];
        for (const QString &part : key.isEmpty() ? QStringList() : key.split(QLatin1Char('\\'))) {
            const auto child = node->keys.find(part.toLower());
            if (child == node->keys.end())
                return nullptr;
            node = &child->second;
        }
        return node;
    }

    std::map<quint32, Node> m_roots;
};
