// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/registryshellverb.h"

#include "shell/registryclass.h"
#include "shell/registryerror.h"

#include <QtGlobal>

namespace {

QString verbKey(const QString &base)
{
    return base + QStringLiteral("\\Correct subtitles");
}

QString commandKey(const QString &base)
{
    return verbKey(base) + QStringLiteral("\\command");
}

void setError(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
}

QString failureText(bool add, const QString &reason)
{
    return (add ? QStringLiteral("Could not add the \"Correct subtitles\" verb: ")
                : QStringLiteral("Could not remove the \"Correct subtitles\" verb: "))
        + reason;
}

QString keyFailure(const QString &key, bool add)
{
    return failureText(add,
                       QStringLiteral("the registry key HKEY_CLASSES_ROOT\\%1 could not be %2.")
                           .arg(key, add ? QStringLiteral("written") : QStringLiteral("deleted")));
}

} // namespace

RegistryShellVerb::RegistryShellVerb(RegistryStore &store, const QString &executableFolder,
                                     const QString &executableBaseName, const QString &extension)
    : m_store(store), m_executableFolder(executableFolder), m_executableBaseName(executableBaseName),
      m_extension(extension)
{
}

QString RegistryShellVerb::commandLine() const
{
    // A drive's root already ends in a backslash.
    const QString folder = m_executableFolder.endsWith(QLatin1Char('\\')) ? m_executableFolder
                                                                            : m_executableFolder + QLatin1Char('\\');
    return QLatin1Char('"') + folder + m_executableBaseName + QStringLiteral(".exe\" /auto %1");
}

std::optional<QString> RegistryShellVerb::baseKey(RegistryClass &registry) const
{
    const QString &extensionKey = m_extension;
    // Without an extension key the verb goes under the extension itself,
    // created on the way.
    if (!registry.KeyExists(extensionKey))
        return extensionKey + QStringLiteral("\\shell");
    const QString typeKey = registry.GetValue(extensionKey, QString(), QString()).toString();
    if (typeKey.isEmpty())
        return extensionKey + QStringLiteral("\\shell");
    if (!registry.KeyExists(typeKey))
        return std::nullopt;
    return typeKey + QStringLiteral("\\shell");
}

bool RegistryShellVerb::IsShellVerbRegistered()
{
    RegistryClass registry(m_store, m_executableBaseName);
    registry.Init(RegistryStore::ClassesRoot);
    try {
        const std::optional<QString> base = baseKey(registry);
        return base && registry.KeyExists(verbKey(*base));
    } catch (const RegistryError &error) {
        qWarning("%s", qUtf8Printable(error.text()));
        return false;
    }
}

bool RegistryShellVerb::SetShellVerb(bool add, QString *errorText)
{
    RegistryClass registry(m_store, m_executableBaseName);
    registry.Init(RegistryStore::ClassesRoot);
    try {
        const std::optional<QString> base = baseKey(registry);
        const bool registered = base && registry.KeyExists(verbKey(*base));
        if (add == registered)
            return true;
        if (!base) {
            const QString reason = QStringLiteral("HKEY_CLASSES_ROOT\\%1 names a file type that has no key.");
            setError(errorText, failureText(add, reason.arg(m_extension)));
            return false;
        }
        return add ? addVerb(registry, *base, errorText) : removeVerb(registry, *base, errorText);
    } catch (const RegistryError &error) {
        setError(errorText, failureText(add, error.text()));
        return false;
    }
}

bool RegistryShellVerb::addVerb(RegistryClass &registry, const QString &base, QString *errorText) const
{
    const QString verb = verbKey(base);
    const QString command = commandKey(base);
    // The verb key did not exist, so removing it with all it holds puts the
    // registry back as it was; a verb without its command must not remain.
    const auto undo = [&] {
        try {
            registry.DeleteKey(verb, true);
        } catch (const RegistryError &error) {
            qWarning("%s", qUtf8Printable(error.text()));
        }
    };
    QString failedKey;
    try {
        for (const QString &key : {base, verb, command}) {
            if (!registry.CreateKey(key)) {
                failedKey = key;
                break;
            }
        }
        if (failedKey.isEmpty() && !registry.SetValue(command, QString(), commandLine(), RegistryStore::String))
            failedKey = command;
    } catch (const RegistryError &) {
        undo();
        throw;
    }
    if (failedKey.isEmpty())
        return true;
    undo();
    setError(errorText, keyFailure(failedKey, true));
    return false;
}

bool RegistryShellVerb::removeVerb(RegistryClass &registry, const QString &base, QString *errorText) const
{
    const QString verb = verbKey(base);
    // The command may be missing already; the verb key's removal decides.
    registry.DeleteKey(commandKey(base), false);
    registry.DeleteKey(verb, false);
    if (!registry.KeyExists(verb))
        return true;
    setError(errorText, keyFailure(verb, false));
    return false;
}
