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
#include <QProxyStyle>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A click on a slider puts its handle there, as a player's volume does,
// instead of moving it one page towards the click.
class ClickToValueStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

VideoPane::VideoPane(const VideoActions &actions, QWidget *parent)
    : QWidget(parent), m_actions(actions), m_picture(new VideoPicture(this)), m_position(new QLabel(this)),
      m_volume(new QSlider(Qt::Horizontal, this)), m_speed(new QToolButton(this)), m_mute(new QToolButton(this))
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
    // The style goes with the slider, after it.
    auto *clickToValue = new ClickToValueStyle;
    clickToValue->setParent(m_volume);
    m_volume->setStyle(clickToValue);
    m_mute->setObjectName(QStringLiteral("cmdMute"));
    m_mute->setCheckable(true);
    m_mute->setAutoRaise(true);
    m_mute->setToolTip(QStringLiteral("Mute"));

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
    controls->addWidget(m_mute);
    controls->addWidget(m_volume);
    connect(m_mute, &QToolButton::toggled, this, &VideoPane::showMuted);
    connect(m_volume, &QSlider::valueChanged, this, [this] {
        // A volume chosen is meant to be heard.
        if (m_mute->isChecked())
            m_mute->setChecked(false);
        else
            emit playingVolumeChanged(playingVolume());
    });
    showMuted(false);

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

int VideoPane::playingVolume() const
{
    return m_mute->isChecked() ? 0 : m_volume->value();
}

void VideoPane::showMuted(bool muted)
{
    m_mute->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
    emit playingVolumeChanged(playingVolume());
}

void VideoPane::showPlaying(bool playing)
{
    m_actions.mnuPlayPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}
