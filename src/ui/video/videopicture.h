// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/video/subtitleoverlay.h"

#include <QImage>
#include <QWidget>

// The film's picture as the player rendered it, kept to its proportions on
// black, with the subtitle shown at the position drawn over it as a viewer
// sees it; a note in its place where there is no picture.
class VideoPicture : public QWidget
{
    Q_OBJECT

public:
    explicit VideoPicture(QWidget *parent = nullptr);

    void setFrame(const QImage &frame);
    // The film's own size: the frame may come with black bars around it,
    // and the subtitle goes over the picture, not the bars.
    void setPictureSize(const QSize &size);
    void setSubtitle(const QString &text);
    const QString &subtitle() const { return m_overlay.text(); }
    // Shown when there is no frame ("No picture: a sound file").
    void setNote(const QString &note);

signals:
    // The picture's size changed: frames are best rendered at this size.
    void resized(const QSize &size);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage m_frame;
    QSize m_pictureSize;
    SubtitleOverlay m_overlay;
    QString m_note;
};
