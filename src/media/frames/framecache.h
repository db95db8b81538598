// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QSize>

#include <vector>

// Frames decoded ahead of the player, each under the time it was decoded
// for: the frame the player shows for that time, drawn at one size. It
// holds at most a budget of bytes and lives on the player's thread.
class FrameCache
{
public:
    struct Frame
    {
        QImage image;
        qint64 positionMs = 0; // the frame's start in the player's clock
    };

    explicit FrameCache(qint64 budgetBytes);

    // The frame for ms drawn at size; nullptr when there is none.
    const Frame *find(qint64 ms, const QSize &size) const;
    // Keeps frame for ms, replacing one kept for it before; false when it
    // does not fit in what the budget leaves.
    bool insert(qint64 ms, Frame frame);
    // Drops every frame that is not for one of times or not of size.
    void keepOnly(const QList<qint64> &times, const QSize &size);
    void clear();

    qsizetype count() const { return qsizetype(m_frames.size()); }
    qint64 bytes() const { return m_bytes; }
    qint64 budgetBytes() const { return m_budgetBytes; }
    // How many frames of size the budget holds.
    qsizetype capacityFor(const QSize &size) const;

private:
    struct Entry
    {
        qint64 ms;
        Frame frame;
    };
    std::vector<Entry> m_frames;
    qint64 m_bytes = 0;
    qint64 m_budgetBytes;
};
