// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QScrollBar;
class QToolButton;
class SubtitleDocument;
class TimelineView;

// The timeline pane: the timeline with a scroll bar under it, and, while
// the waveform is being computed, how far it has come with a button that
// stops it.
class TimelinePane : public QWidget
{
    Q_OBJECT

public:
    explicit TimelinePane(SubtitleDocument &document, QWidget *parent = nullptr);

    TimelineView &view() const { return *m_view; }
    // text: "Computing the waveform..." in the language in use.
    void showProgress(const QString &text, double fraction);
    void hideProgress();

signals:
    void cancelRequested();

private:
    void followView();

    TimelineView *m_view;
    QScrollBar *m_scrollBar;
    QWidget *m_progressRow;
    QLabel *m_progressText;
    QProgressBar *m_progress;
    QToolButton *m_cancel;
};
