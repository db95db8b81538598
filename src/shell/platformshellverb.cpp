// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/platformshellverb.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include "shell/registryshellverb.h"
#include "shell/winregistrystore.h"
#else
#include "shell/desktopentryshellverb.h"
#endif

namespace {

#ifdef Q_OS_WIN
// Keeps the native store alive as long as the verb that works on it.
class NativeRegistryShellVerb : public ShellVerb
{
public:
    NativeRegistryShellVerb(const QString &folder, const QString &baseName) : m_verb(m_store, folder, baseName) {}

    bool IsShellVerbRegistered() override { return m_verb.IsShellVerbRegistered(); }
    bool SetShellVerb(bool add, QString *errorText) override { return m_verb.SetShellVerb(add, errorText); }

private:
    WinRegistryStore m_store;
    RegistryShellVerb m_verb;
};
#endif

} // namespace

std::unique_ptr<ShellVerb> makePlatformShellVerb(const QString &executablePath)
{
    const QFileInfo executable(executablePath);
#ifdef Q_OS_WIN
    return std::make_unique<NativeRegistryShellVerb>(QDir::toNativeSeparators(executable.absolutePath()),
                                                     executable.completeBaseName());
#else
    return std::make_unique<DesktopEntryShellVerb>(executable.absoluteFilePath(),
                                                   DesktopEntryShellVerb::defaultApplicationsFolder());
#endif
}
