// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class VideoPlayer;

// A silent second player that shows each time it is given and hands back
// the frame. It seeks as the player on screen does, so for every time it
// gets the very frame that player would show. Meant to live on a thread
// of its own (see FramePrefetcher): every call returns at once.
class FrameGrabber : public QObject
{
    Q_OBJECT

public:
    FrameGrabber();
    ~FrameGrabber() override;

    // Opens path, frames drawn at frameSize; what is reported carries
    // generation, so that the caller can tell the file it belongs to.
    void open(quint64 generation, const QString &path, const QSize &frameSize);
    void close();
    void setFrameSize(const QSize &frameSize);
    // The times to grab, most wanted first; replaces the earlier list.
    void grab(const QList<qint64> &timesMs);

signals:
    void grabbed(quint64 generation, qint64 ms, const QImage &frame, qint64 positionMs);

private:
    void grabNext();
    void finishGrab();

    VideoPlayer *m_player = nullptr;
    quint64 m_generation = 0;
    QList<qint64> m_queue;
    qint64 m_grabbingMs = -1;
    QElapsedTimer m_grabClock;
};
