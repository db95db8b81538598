// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/videopicture.h"

#include <QPainter>
#include <QResizeEvent>

VideoPicture::VideoPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("videoPicture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 90);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void VideoPicture::setFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void VideoPicture::setPictureSize(const QSize &size)
{
    m_pictureSize = size;
    update();
}

void VideoPicture::setSubtitle(const QString &text)
{
    if (text == m_overlay.text())
        return;
    m_overlay.setText(text);
    update();
}

void VideoPicture::setNote(const QString &note)
{
    m_note = note;
    update();
}

void VideoPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QRectF picture = rect();
    if (!m_frame.isNull()) {
        // The film's own proportions, centred.
        const QSizeF shown = QSizeF(m_frame.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        picture = QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(picture, m_frame);
    } else if (!m_note.isEmpty()) {
        painter.setPen(Qt::lightGray);
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_note);
    }
    if (m_frame.isNull())
        return;
    if (!m_pictureSize.isEmpty()) {
        const QSizeF film = QSizeF(m_pictureSize).scaled(picture.size(), Qt::KeepAspectRatio);
        picture = QRectF(picture.center() - QPointF(film.width() / 2, film.height() / 2), film);
    }
    m_overlay.paint(painter, picture);
}

void VideoPicture::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized(event->size());
}
