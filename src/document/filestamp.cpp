// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/filestamp.h"

#include "document/subtitlefile.h"

#include <QFileInfo>
#include <QHashFunctions>

FileStamp FileStamp::statOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified(), 0};
}

FileStamp FileStamp::withContent(QByteArrayView bytes) const
{
    FileStamp stamped = *this;
    stamped.hash = qHashBits(bytes.data(), size_t(bytes.size()), 0);
    return stamped;
}

FileStamp FileStamp::read(const QString &path)
{
    const FileStamp stat = statOf(path);
    QByteArray bytes;
    ReadError error;
    if (!stat.isValid() || !readFileBytes(path, bytes, error))
        return {};
    return stat.withContent(bytes);
}

bool FileStamp::differsOnDisk(const QString &path) const
{
    if (!isValid())
        return false;
    const FileStamp now = statOf(path);
    if (!now.isValid())
        return false;
    if (now.size != size)
        return true;
    // Touched or rewritten with the same size: only the bytes can tell.
    if (now.modified == modified)
        return false;
    const FileStamp current = read(path);
    return current.isValid() && current.hash != hash;
}
