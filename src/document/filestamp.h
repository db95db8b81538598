// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// What a file was when it was read: its size, modification time and a hash
// of its bytes, enough to tell later whether another program changed it.
struct FileStamp
{
    qint64 size = -1;
    QDateTime modified;
    size_t hash = 0;

    bool isValid() const { return size >= 0; }

    // The size and time of the file at path now, without its hash; taken
    // before reading, so a change made during the read still shows later.
    static FileStamp statOf(const QString &path);
    // This stamp with the hash of the bytes read.
    FileStamp withContent(QByteArrayView bytes) const;
    // Reads the file at path whole; invalid when it cannot be read.
    static FileStamp read(const QString &path);

    // Whether the file at path is no longer what this stamp recorded. A
    // file that is gone or unreadable holds nothing to lose and counts as
    // unchanged; an invalid stamp never differs.
    bool differsOnDisk(const QString &path) const;
};
