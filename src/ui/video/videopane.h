// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;
class VideoPicture;
struct VideoActions;

// The video pane: the picture with the subtitle over it, and under it the
// position as an SRT time with the frame number, the play, play-subtitle
// and frame-step buttons (the Video menu's commands), the playback speed
// and the volume with its mute button.
class VideoPane : public QWidget
{
    Q_OBJECT

public:
    VideoPane(const VideoActions &actions, QWidget *parent = nullptr);

    VideoPicture &picture() const { return *m_picture; }
    QSlider &volume() const { return *m_volume; }
    QToolButton &speed() const { return *m_speed; }
    QToolButton &muteButton() const { return *m_mute; }
    // What the sound plays at: the slider's volume, 0 while muted.
    int playingVolume() const;
    // frameNumber -1: no picture, so no frame number.
    void showPosition(qint64 positionMs, qint64 frameNumber);
    void showPlaying(bool playing);

signals:
    // playingVolume() changed.
    void playingVolumeChanged(int percent);

private:
    void showMuted(bool muted);

    const VideoActions &m_actions;
    VideoPicture *m_picture;
    QLabel *m_position;
    QSlider *m_volume;
    QToolButton *m_speed;
    QToolButton *m_mute;
};
