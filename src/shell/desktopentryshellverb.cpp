// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/desktopentryshellverb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// No entry of ours comes near this; a larger file is not read at all.
constexpr qint64 MaximumEntryBytes = 1024 * 1024;
// How long the desktop database refresh may take before it is given up, in ms.
constexpr int RefreshTimeoutMilliseconds = 10000;

using Groups = QHash<QString, QHash<QString, QString>>;

// Groups and their keys; comments, blank lines and keys before the first
// group are skipped, and the first of two equal keys counts.
Groups parseEntry(const QByteArray &content)
{
    Groups groups;
    QHash<QString, QString> *group = nullptr;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = &groups[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (group && equals > 0) {
            const QString key = line.left(equals).trimmed();
            if (!group->contains(key))
                group->insert(key, line.mid(equals + 1).trimmed());
        }
    }
    return groups;
}

enum class EntryState { Missing, Foreign, OursWithoutAction, Registered };

EntryState entryState(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return EntryState::Missing;
    QFile file(path);
    if (!info.isFile() || info.size() > MaximumEntryBytes || !file.open(QIODevice::ReadOnly))
        return EntryState::Foreign;
    const Groups groups = parseEntry(file.read(MaximumEntryBytes));
    if (groups.value(QStringLiteral("Desktop Entry")).value(QStringLiteral("X-Quillmend-Verb")) != u"true")
        return EntryState::Foreign;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        if (group.key().startsWith(u"Desktop Action ")
            && group.value().value(QStringLiteral("Name")) == u"Correct subtitles")
            return EntryState::Registered;
    }
    return EntryState::OursWithoutAction;
}

// A path that a desktop entry can carry as it is: text that is its own file
// name (so not bytes that are no UTF-8) and no control character, which the
// file manager would pass on to a shell or end the line with.
bool isWritableInEntry(const QString &path)
{
    if (path.isEmpty() || QFile::decodeName(QFile::encodeName(path)) != path)
        return false;
    for (const QChar c : path) {
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

void setError(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
}

} // namespace

DesktopEntryShellVerb::DesktopEntryShellVerb(const QString &executablePath, const QString &applicationsFolder)
    : m_executablePath(executablePath), m_applicationsFolder(applicationsFolder)
{
}

QString DesktopEntryShellVerb::defaultApplicationsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

QString DesktopEntryShellVerb::entryFileName()
{
    return QStringLiteral("quillmend-correct-subtitles.desktop");
}

QString DesktopEntryShellVerb::entryPath() const
{
    return QDir(m_applicationsFolder).filePath(entryFileName());
}

QString DesktopEntryShellVerb::execValue() const
{
    // Inside the double quotes of an Exec argument these four need a
    // backslash, and a literal "%" is doubled so it is no field code.
    QString quoted;
    for (const QChar c : m_executablePath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        else if (c == u'%')
            quoted += QLatin1Char('%');
        quoted += c;
    }
    const QString command = QLatin1Char('"') + quoted + QStringLiteral("\" /auto %f");
    // Exec is also a string value, whose own escapes come on top.
    QString value = command;
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return value;
}

bool DesktopEntryShellVerb::IsShellVerbRegistered()
{
    return entryState(entryPath()) == EntryState::Registered;
}

bool DesktopEntryShellVerb::SetShellVerb(bool add, QString *errorText)
{
    const EntryState state = entryState(entryPath());
    if (add == (state == EntryState::Registered))
        return true;
    if (add && state == EntryState::Foreign) {
        setError(errorText,
                 QStringLiteral("Could not add the \"Correct subtitles\" verb: %1 already exists and is not "
                                "Quillmend's; it was left as it is.")
                     .arg(QDir::toNativeSeparators(entryPath())));
        return false;
    }
    if (!(add ? writeEntry(errorText) : removeEntry(errorText)))
        return false;
    refreshDesktopDatabase();
    return true;
}

bool DesktopEntryShellVerb::writeEntry(QString *errorText) const
{
    const QString path = QDir::toNativeSeparators(entryPath());
    if (!isWritableInEntry(m_executablePath)) {
        setError(errorText,
                 QStringLiteral("Could not add the \"Correct subtitles\" verb: the program's path %1 cannot be "
                                "written in a desktop entry (it is not UTF-8 text or holds a control character).")
                     .arg(m_executablePath));
        return false;
    }
    if (!QDir().mkpath(m_applicationsFolder)) {
        setError(errorText,
                 QStringLiteral("Could not write %1: the folder %2 could not be created.")
                     .arg(path, QDir::toNativeSeparators(m_applicationsFolder)));
        return false;
    }
    const QByteArray content = QStringLiteral("[Desktop Entry]\n"
                                              "Type=Application\n"
                                              "Name=Correct subtitles\n"
                                              "Comment=Correct the subtitles of this file unattended with Quillmend\n"
                                              "Exec=%1\n"
                                              "MimeType=application/x-subrip;\n"
                                              "NoDisplay=true\n"
                                              "Icon=quillmend\n"
                                              "Actions=correct-subtitles;\n"
                                              "X-Quillmend-Verb=true\n"
                                              "\n"
                                              "[Desktop Action correct-subtitles]\n"
                                              "Name=Correct subtitles\n"
                                              "Exec=%1\n")
                                   .arg(execValue())
                                   .toUtf8();
    // Written beside the target and renamed over it, so no half entry is seen.
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        setError(errorText, QStringLiteral("Could not write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool DesktopEntryShellVerb::removeEntry(QString *errorText) const
{
    QFile file(entryPath());
    if (file.remove())
        return true;
    setError(errorText,
             QStringLiteral("Could not remove %1: %2").arg(QDir::toNativeSeparators(entryPath()), file.errorString()));
    return false;
}

void DesktopEntryShellVerb::refreshDesktopDatabase() const
{
    // File managers read the open-with choices from a cache; an old one only
    // delays the change, so a failure here is not the user's concern.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {m_applicationsFolder});
    if (process.waitForStarted() && !process.waitForFinished(RefreshTimeoutMilliseconds)) {
        process.kill();
        process.waitForFinished();
    }
}
