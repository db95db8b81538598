// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/frames/framecache.h"

#include <algorithm>

namespace {

// What a frame of size takes as the renderer lays it out: rows of 4-byte
// pixels aligned to 64 bytes.
qint64 frameBytes(const QSize &size)
{
    return (qint64(size.width()) * 4 + 63) / 64 * 64 * size.height();
}

} // namespace

FrameCache::FrameCache(qint64 budgetBytes) : m_budgetBytes(budgetBytes) {}

const FrameCache::Frame *FrameCache::find(qint64 ms, const QSize &size) const
{
    for (const Entry &entry : m_frames) {
        if (entry.ms == ms && entry.frame.image.size() == size)
            return &entry.frame;
    }
    return nullptr;
}

bool FrameCache::insert(qint64 ms, Frame frame)
{
    if (frame.image.isNull())
        return false;
    const auto old = std::find_if(m_frames.begin(), m_frames.end(), [ms](const Entry &entry) { return entry.ms == ms; });
    const qint64 freed = old == m_frames.end() ? 0 : old->frame.image.sizeInBytes();
    const qint64 bytes = frame.image.sizeInBytes();
    if (m_bytes - freed + bytes > m_budgetBytes)
        return false;
    m_bytes += bytes - freed;
    if (old != m_frames.end())
        old->frame = std::move(frame);
    else
        m_frames.push_back({ms, std::move(frame)});
    return true;
}

void FrameCache::keepOnly(const QList<qint64> &times, const QSize &size)
{
    // Partitioned, not removed, so that the frames dropped still tell their size.
    const auto dropped = std::partition(m_frames.begin(), m_frames.end(), [&](const Entry &entry) {
        return entry.frame.image.size() == size && times.contains(entry.ms);
    });
    for (auto entry = dropped; entry != m_frames.end(); ++entry)
        m_bytes -= entry->frame.image.sizeInBytes();
    m_frames.erase(dropped, m_frames.end());
}

void FrameCache::clear()
{
    m_frames.clear();
    m_bytes = 0;
}

qsizetype FrameCache::capacityFor(const QSize &size) const
{
    const qint64 bytes = frameBytes(size);
    return bytes > 0 ? qsizetype(m_budgetBytes / bytes) : 0;
}
