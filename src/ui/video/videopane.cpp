// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/videopane.h"

#include "document/timecode.h"
#include "ui/video/videoactions.h"
#include "ui/video/videopicture.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

VideoPane::VideoPane(const VideoActions &actions, QWidget *parent)
    : QWidget(parent), m_actions(actions), m_picture(new VideoPicture(this)), m_position(new QLabel(this)),
      m_volume(new QSlider(Qt::Horizontal, this)), m_speed(new QToolButton(this))
{
    setObjectName(QStringLiteral("videoPane"));
    m_position->setObjectName(QStringLiteral("lblVideoPosition"));
    m_position->setTextFormat(Qt::PlainText);
    m_position->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Wide enough for the longest time and frame number, so nothing jumps.
    m_position->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,000  #0000000")) + 8);
    m_volume->setObjectName(QStringLiteral("sldVolume"));
    m_volume->setRange(0, 100);
    m_volume->setMaximumWidth(120);

    const QStyle &style = *this->style();
    actions.mnuPlayPause->setIcon(style.standardIcon(QStyle::SP_MediaPlay));
    actions.mnuPlaySubtitle->setIcon(style.standardIcon(QStyle::SP_MediaSkipForward));
    actions.mnuFrameBack->setIcon(style.standardIcon(QStyle::SP_MediaSeekBackward));
    actions.mnuFrameForward->setIcon(style.standardIcon(QStyle::SP_MediaSeekForward));

    auto *controls = new QHBoxLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(m_position);
    for (QAction *action :
         {actions.mnuFrameBack, actions.mnuPlayPause, actions.mnuPlaySubtitle, actions.mnuFrameForward}) {
        auto *button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        controls->addWidget(button);
    }
    // The speed as a button showing it, whose menu is the Video menu's.
    m_speed->setObjectName(QStringLiteral("cmdSpeed"));
    m_speed->setMenu(actions.mnuSpeed);
    m_speed->setPopupMode(QToolButton::InstantPopup);
    m_speed->setAutoRaise(true);
    const auto showSpeed = [this] {
        if (const QAction *checked = m_actions.speeds->checkedAction())
            m_speed->setText(checked->text());
    };
    connect(actions.speeds, &QActionGroup::triggered, m_speed, showSpeed);
    showSpeed();
    controls->addWidget(m_speed);
    controls->addStretch(1);
    auto *speaker = new QLabel(this);
    speaker->setPixmap(style.standardIcon(QStyle::SP_MediaVolume).pixmap(16, 16));
    controls->addWidget(speaker);
    controls->addWidget(m_volume);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_picture, 1);
    layout->addLayout(controls);
    showPosition(0, -1);
}

void VideoPane::showPosition(qint64 positionMs, qint64 frameNumber)
{
    const QString time = MillisecondsToTimeText(std::max<qint64>(positionMs, 0));
    m_position->setText(frameNumber < 0 ? time : time + QStringLiteral("  #") + QString::number(frameNumber));
}

void VideoPane::showPlaying(bool playing)
{
    m_actions.mnuPlayPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}
