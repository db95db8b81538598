// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/timeline/timelinepane.h"

#include "ui/video/timeline/timelineview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The scroll bar counts in tenths of a second, so a long film stays in an int.
constexpr qint64 ScrollUnitMs = 100;

} // namespace

TimelinePane::TimelinePane(SubtitleDocument &document, QWidget *parent)
    : QWidget(parent), m_view(new TimelineView(document, this)), m_scrollBar(new QScrollBar(Qt::Horizontal, this)),
      m_progressRow(new QWidget(this)), m_progressText(new QLabel(m_progressRow)),
      m_progress(new QProgressBar(m_progressRow)), m_cancel(new QToolButton(m_progressRow))
{
    setObjectName(QStringLiteral("timelinePane"));
    m_scrollBar->setObjectName(QStringLiteral("timelineScrollBar"));
    m_progressText->setTextFormat(Qt::PlainText);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_cancel->setObjectName(QStringLiteral("cmdCancelWaveform"));
    m_cancel->setText(QStringLiteral("Cancel"));

    auto *progress = new QHBoxLayout(m_progressRow);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(m_progressText);
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_cancel);
    m_progressRow->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_scrollBar);
    layout->addWidget(m_progressRow);

    connect(m_cancel, &QToolButton::clicked, this, &TimelinePane::cancelRequested);
    connect(m_view, &TimelineView::viewChanged, this, &TimelinePane::followView);
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { m_view->setViewStartMs(qint64(value) * ScrollUnitMs); });
    followView();
}

void TimelinePane::followView()
{
    const QSignalBlocker blocker(m_scrollBar);
    const qint64 spanMs = m_view->spanMs();
    m_scrollBar->setRange(0, int(std::max<qint64>(0, m_view->lengthMs() - spanMs / 2) / ScrollUnitMs));
    m_scrollBar->setPageStep(int(spanMs / ScrollUnitMs));
    m_scrollBar->setSingleStep(int(std::max<qint64>(1, spanMs / 10 / ScrollUnitMs)));
    m_scrollBar->setValue(int(m_view->viewStartMs() / ScrollUnitMs));
}

void TimelinePane::showProgress(const QString &text, double fraction)
{
    m_progressText->setText(text);
    m_progress->setValue(int(std::clamp(fraction, 0.0, 1.0) * 1000));
    m_progressRow->show();
}

void TimelinePane::hideProgress()
{
    m_progressRow->hide();
}
