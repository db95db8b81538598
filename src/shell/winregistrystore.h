// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/registrystore.h"

// The Windows registry itself, through the Win32 registry functions.
class WinRegistryStore : public RegistryStore
{
public:
    bool openKey(quint32 root, const QString &key) override;
    std::optional<Value> queryValue(quint32 root, const QString &key, const QString &name) override;
    bool createKey(quint32 root, const QString &key) override;
    bool setValue(quint32 root, const QString &key, const QString &name, const Value &value) override;
    std::optional<QStringList> subKeys(quint32 root, const QString &key) override;
    std::optional<QStringList> valueNames(quint32 root, const QString &key) override;
    bool deleteKey(quint32 root, const QString &key) override;
    bool deleteValue(quint32 root, const QString &key, const QString &name) override;
};
