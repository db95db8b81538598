// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/registryclass.h"

#include "shell/registryerror.h"

#include <QtEndian>

#include <exception>

namespace {

// The registry allows no deeper paths; a deeper walk means a link cycle.
constexpr int MaximumKeyDepth = 512;

// Registry text is UTF-16LE, normally ending in one NUL, which is dropped.
QString textFromData(const QByteArray &data)
{
    QString text(data.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(data.constData(), text.size(), text.data());
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

QByteArray dataFromText(const QString &text)
{
    QByteArray data((text.size() + 1) * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.constData(), text.size() + 1, data.data());
    return data;
}

// A "%" with a second "%" at least two characters after it may be an
// environment reference, so the text is stored as expandable.
bool mayHoldReference(const QString &text)
{
    const qsizetype first = text.indexOf(u'%');
    return first >= 0 && text.indexOf(u'%', first + 2) >= 0;
}

RegistryStore::Value encode(const QVariant &value, quint32 valueType)
{
    RegistryStore::Value stored{valueType, {}};
    switch (valueType) {
    case RegistryStore::String:
    case RegistryStore::ExpandString: {
        const QString text = value.toString();
        stored.type = mayHoldReference(text) ? RegistryStore::ExpandString : RegistryStore::String;
        stored.data = dataFromText(text);
        break;
    }
    case RegistryStore::DWord:
    case RegistryStore::DWordBigEndian: {
        stored.data.resize(4);
        const qint32 number = value.toInt();
        if (valueType == RegistryStore::DWord)
            qToLittleEndian(number, stored.data.data());
        else
            qToBigEndian(number, stored.data.data());
        break;
    }
    default:
        stored.data = value.toByteArray();
        break;
    }
    return stored;
}

} // namespace

RegistryClass::RegistryClass(RegistryStore &store, const QString &executableBaseName)
    : m_store(store), m_source(executableBaseName + QStringLiteral(".CRegistry"))
{
}

template<typename Function>
auto RegistryClass::guarded(Function function)
{
    try {
        return function();
    } catch (const RegistryError &) {
        throw;
    } catch (const std::exception &) {
        throw RegistryError(RegistryError::ComponentFailure, QStringLiteral("CRegistry component failure"), m_source);
    }
}

void RegistryClass::requireKeyName(const QString &keyName) const
{
    if (keyName.isEmpty())
        throw RegistryError(RegistryError::InvalidKeyName, QStringLiteral("Invalid KeyName value"), m_source);
}

bool RegistryClass::KeyExists(const QString &keyName)
{
    return guarded([&] { return m_store.openKey(m_rootKey, keyName); });
}

QVariant RegistryClass::GetValue(const QString &keyName, const QString &valueName, const QVariant &defaultValue)
{
    return guarded([&]() -> QVariant {
        const std::optional<RegistryStore::Value> value = m_store.queryValue(m_rootKey, keyName, valueName);
        if (!value)
            return defaultValue;
        const QByteArray &data = value->data;
        switch (value->type) {
        case RegistryStore::String:
        case RegistryStore::MultiString:
            return textFromData(data);
        case RegistryStore::ExpandString:
            return expandEnvironmentReferences(textFromData(data));
        case RegistryStore::DWord:
            if (data.size() >= 4)
                return qFromLittleEndian<qint32>(data.constData());
            break;
        case RegistryStore::DWordBigEndian:
            if (data.size() >= 4)
                return qFromBigEndian<qint32>(data.constData());
            break;
        default:
            break;
        }
        // Other types, and numbers too short to be one, as the bytes stored.
        return data;
    });
}

bool RegistryClass::CreateKey(const QString &keyName)
{
    requireKeyName(keyName);
    return guarded([&] { return m_store.createKey(m_rootKey, keyName); });
}

bool RegistryClass::SetValue(const QString &keyName, const QString &valueName, const QVariant &value, quint32 valueType)
{
    requireKeyName(keyName);
    return guarded([&] {
        const RegistryStore::Value stored = encode(value, valueType);
        return m_store.createKey(m_rootKey, keyName) && m_store.setValue(m_rootKey, keyName, valueName, stored);
    });
}

bool RegistryClass::DeleteKey(const QString &keyName, bool allSubKeys)
{
    requireKeyName(keyName);
    return guarded([&] { return allSubKeys ? deleteTree(keyName, 0) : m_store.deleteKey(m_rootKey, keyName); });
}

bool RegistryClass::deleteTree(const QString &keyName, int depth)
{
    if (depth > MaximumKeyDepth)
        return false;
    const std::optional<QStringList> children = m_store.subKeys(m_rootKey, keyName);
    if (!children)
        return false;
    for (const QString &child : *children) {
        if (!deleteTree(keyName + QLatin1Char('\\') + child, depth + 1))
            return false;
    }
    return m_store.deleteKey(m_rootKey, keyName);
}

QString RegistryClass::expandEnvironmentReferences(const QString &text)
{
    QString expanded;
    expanded.reserve(text.size());
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype open = text.indexOf(u'%', from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            expanded += QStringView(text).mid(from);
            break;
        }
        expanded += QStringView(text).mid(from, open - from);
        const QString name = text.mid(open + 1, close - open - 1);
        const QByteArray variable = name.toLocal8Bit();
        if (!name.isEmpty() && qEnvironmentVariableIsSet(variable.constData())) {
            expanded += qEnvironmentVariable(variable.constData());
            from = close + 1;
        } else {
            // Not a reference: keep it, and let its closing "%" open the next one.
            expanded += QStringView(text).mid(open, close - open);
            from = close;
        }
    }
    return expanded;
}
