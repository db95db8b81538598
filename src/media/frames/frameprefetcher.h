// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/frames/framecache.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>

class FrameGrabber;
class QThread;
class VideoPlayer;

// Decodes ahead, on a thread of its own, the frames a player is likely to
// be asked for next (the next corrections, the rows around the selection),
// so that a seek to one of those times shows its frame at once. It follows
// the player: a file loaded there is opened here, and a file closed there
// is dropped here with everything decoded for it.
class FramePrefetcher : public QObject
{
    Q_OBJECT

public:
    // 80 MB: nine frames at 1920 x 1080, forty at a pane of 960 x 540.
    static constexpr qint64 defaultBudgetBytes = 80'000'000;

    explicit FramePrefetcher(VideoPlayer &player, qint64 budgetBytes = defaultBudgetBytes);
    ~FramePrefetcher() override;

    // The times to have ready, most wanted first; it replaces the last
    // wish, and frames for other times go. Those the budget cannot hold
    // are left out.
    void prefetch(const QList<qint64> &timesMs);
    const FrameCache &cache() const { return m_cache; }

signals:
    void frameCached(qint64 ms);

private:
    void open();
    void close();
    void keep(quint64 generation, qint64 ms, const QImage &frame, qint64 positionMs);
    // The size the player draws frames at now.
    QSize frameSize() const;
    void sendWish();

    QPointer<VideoPlayer> m_player;
    FrameCache m_cache;
    QThread *m_thread;
    FrameGrabber *m_grabber; // lives on m_thread
    // Counts the files opened, so that frames of an earlier one are dropped.
    quint64 m_generation = 0;
    bool m_open = false;
    QSize m_grabberSize;
    QList<qint64> m_wanted;
};
