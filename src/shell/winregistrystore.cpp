// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/winregistrystore.h"

#include <qt_windows.h>

#include <vector>

namespace {

// The predefined roots are 32-bit values that the API sign-extends.
HKEY rootHandle(quint32 root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

// An open key, closed when it goes out of scope.
struct OpenKey
{
    HKEY handle = nullptr;
    OpenKey(quint32 root, const QString &key, REGSAM access)
    {
        if (RegOpenKeyExW(rootHandle(root), wide(key), 0, access, &handle) != ERROR_SUCCESS)
            handle = nullptr;
    }
    ~OpenKey()
    {
        if (handle)
            RegCloseKey(handle);
    }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;
    explicit operator bool() const { return handle != nullptr; }
};

// Names of subkeys (at most 255 characters) or of values (at most 16383).
template<typename Enumerate>
std::optional<QStringList> enumerateNames(const OpenKey &key, DWORD maximumLength, Enumerate enumerate)
{
    if (!key)
        return std::nullopt;
    QStringList names;
    std::vector<wchar_t> buffer(maximumLength + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = DWORD(buffer.size());
        const LSTATUS status = enumerate(key.handle, index, buffer.data(), &length);
        if (status == ERROR_NO_MORE_ITEMS)
            return names;
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        names.append(QString::fromWCharArray(buffer.data(), length));
    }
}

} // namespace

bool WinRegistryStore::openKey(quint32 root, const QString &key)
{
    return bool(OpenKey(root, key, KEY_QUERY_VALUE));
}

std::optional<RegistryStore::Value> WinRegistryStore::queryValue(quint32 root, const QString &key, const QString &name)
{
    const OpenKey opened(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return std::nullopt;
    Value value;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(opened.handle, wide(name), nullptr, nullptr, nullptr, &size);
    // The value may grow between asking its size and reading it.
    for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
        value.data.resize(qsizetype(size));
        DWORD type = 0;
        status = RegQueryValueExW(opened.handle, wide(name), nullptr, &type,
                                  reinterpret_cast<BYTE *>(value.data.data()), &size);
        if (status == ERROR_SUCCESS) {
            value.type = type;
            value.data.resize(qsizetype(size));
            return value;
        }
        if (status == ERROR_MORE_DATA)
            status = ERROR_SUCCESS;
    }
    return std::nullopt;
}

bool WinRegistryStore::createKey(quint32 root, const QString &key)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(rootHandle(root), wide(key), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool WinRegistryStore::setValue(quint32 root, const QString &key, const QString &name, const Value &value)
{
    const OpenKey opened(root, key, KEY_SET_VALUE);
    return opened
        && RegSetValueExW(opened.handle, wide(name), 0, value.type,
                          reinterpret_cast<const BYTE *>(value.data.constData()), DWORD(value.data.size()))
        == ERROR_SUCCESS;
}

std::optional<QStringList> WinRegistryStore::subKeys(quint32 root, const QString &key)
{
    return enumerateNames(OpenKey(root, key, KEY_ENUMERATE_SUB_KEYS), 255,
                          [](HKEY handle, DWORD index, wchar_t *name, DWORD *length) {
                              return RegEnumKeyExW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
                          });
}

std::optional<QStringList> WinRegistryStore::valueNames(quint32 root, const QString &key)
{
    return enumerateNames(OpenKey(root, key, KEY_QUERY_VALUE), 16383,
                          [](HKEY handle, DWORD index, wchar_t *name, DWORD *length) {
                              return RegEnumValueW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
                          });
}

bool WinRegistryStore::deleteKey(quint32 root, const QString &key)
{
    return RegDeleteKeyW(rootHandle(root), wide(key)) == ERROR_SUCCESS;
}

bool WinRegistryStore::deleteValue(quint32 root, const QString &key, const QString &name)
{
    const OpenKey opened(root, key, KEY_SET_VALUE);
    return opened && RegDeleteValueW(opened.handle, wide(name)) == ERROR_SUCCESS;
}
