// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/platformshellverb.h"

#include <QDir>
#include <QFileInfo>

#include "shell/compositeshellverb.h"

#ifdef Q_OS_WIN
#include "shell/registryshellverb.h"
#include "shell/winregistrystore.h"
#else
#include "shell/filemanagers/cajaactionshellverb.h"
#include "shell/filemanagers/nautilusscriptshellverb.h"
#include "shell/filemanagers/nemoactionshellverb.h"
#include "shell/filemanagers/olddesktopentryshellverb.h"
#include "shell/filemanagers/servicemenushellverb.h"
#include "shell/filemanagers/thunaractionshellverb.h"

#include <QStandardPaths>
#endif

namespace {

#ifdef Q_OS_WIN
// Keeps the native store alive as long as the verb that works on it.
class NativeRegistryShellVerb : public ShellVerb
{
public:
    NativeRegistryShellVerb(const QString &folder, const QString &baseName, const QString &extension)
        : m_verb(m_store, folder, baseName, extension)
    {
    }

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
    std::vector<std::unique_ptr<ShellVerb>> parts;
    for (const QString &extension : {QStringLiteral(".srt"), QStringLiteral(".vtt")})
        parts.push_back(std::make_unique<NativeRegistryShellVerb>(
            QDir::toNativeSeparators(executable.absolutePath()), executable.completeBaseName(), extension));
    return std::make_unique<CompositeShellVerb>(std::move(parts));
#else
    const QString path = executable.absoluteFilePath();
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QStringList configFolders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    const QString userConfig = configFolders.isEmpty() ? QString() : configFolders.takeFirst();
    std::vector<std::unique_ptr<ShellVerb>> parts;
    // No part is a desktop entry declaring the type, as file managers take
    // one for its default opener; the one earlier versions wrote goes first.
    parts.push_back(std::make_unique<OldDesktopEntryShellVerb>(
        path, QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)));
    parts.push_back(std::make_unique<ServiceMenuShellVerb>(path, data.filePath(QStringLiteral("kio/servicemenus"))));
    parts.push_back(std::make_unique<NemoActionShellVerb>(path, data.filePath(QStringLiteral("nemo/actions"))));
    parts.push_back(
        std::make_unique<CajaActionShellVerb>(path, data.filePath(QStringLiteral("file-manager/actions"))));
    parts.push_back(
        std::make_unique<NautilusScriptShellVerb>(path, data.filePath(QStringLiteral("nautilus/scripts"))));
    // Last, so that no other part's failure leaves a trace in a file that
    // holds the user's own actions.
    parts.push_back(std::make_unique<ThunarActionShellVerb>(path, userConfig, configFolders));
    return std::make_unique<CompositeShellVerb>(std::move(parts));
#endif
}
