// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/filemanagers/verbtext.h"

#include <QFile>

QString verbMenuText()
{
    return QStringLiteral("Correct subtitles");
}

QString verbComment()
{
    return QStringLiteral("Correct the subtitles of this file unattended with Quillmend");
}

QString verbMarkerKey()
{
    return QStringLiteral("X-Quillmend-Verb");
}

bool isCarriablePath(const QString &path)
{
    if (path.isEmpty() || QFile::decodeName(QFile::encodeName(path)) != path)
        return false;
    for (const QChar c : path) {
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

QString shellWord(const QString &path)
{
    QString word;
    for (const QChar c : path) {
        const bool plain = c.unicode() >= 0x80 || c.isLetterOrNumber()
            || QStringView(u"/._+,:@%-").contains(c);
        if (!plain)
            word += QLatin1Char('\\');
        word += c;
    }
    return word;
}

QString percentShellWord(const QString &path)
{
    return shellWord(path).replace(QLatin1Char('%'), QStringLiteral("%%"));
}

QString desktopEntryCommand(const QString &path)
{
    // Inside the double quotes of an Exec argument these four need a
    // backslash, and a literal "%" is doubled so it is no field code.
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        else if (c == u'%')
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QStringLiteral("\" /auto %f");
}

QString keyFileValue(const QString &text)
{
    QString value = text;
    return value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

KeyFileGroups parseKeyFile(const QByteArray &content)
{
    KeyFileGroups groups;
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
