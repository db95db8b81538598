// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/videoactions.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *makeAction(QMenu *menu, const char16_t *name, const char16_t *caption, const QList<QKeySequence> &keys = {})
{
    QAction *action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QString::fromUtf16(name));
    action->setShortcuts(keys);
    // The main window's keys, wherever the focus is in it or its panes.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QAction *makeCheckable(QMenu *menu, const char16_t *name, const char16_t *caption, bool checked)
{
    QAction *action = makeAction(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

VideoActions::VideoActions(QMainWindow &window)
{
    mnuVideo = new QMenu(QStringLiteral("Video"), &window);
    mnuVideo->setObjectName(QStringLiteral("mnuVideo"));
    QAction *help = nullptr;
    for (QAction *item : window.menuBar()->actions()) {
        if (item->menu() && item->menu()->objectName() == u"mnuHelp")
            help = item;
    }
    window.menuBar()->insertMenu(help, mnuVideo);

    mnuOpenVideo = makeAction(mnuVideo, u"mnuOpenVideo", u"Open video...", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)});
    mnuCloseVideo = makeAction(mnuVideo, u"mnuCloseVideo", u"Close video");
    mnuVideo->addSeparator();
    mnuPlayPause = makeAction(mnuVideo, u"mnuPlayPause", u"Play / pause", {QKeySequence(Qt::CTRL | Qt::Key_Space)});
    mnuPlaySubtitle = makeAction(mnuVideo, u"mnuPlaySubtitle", u"Play the selected subtitle",
                                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space)});
    mnuFrameBack = makeAction(mnuVideo, u"mnuFrameBack", u"One frame back", {QKeySequence(Qt::ALT | Qt::Key_Left)});
    mnuFrameForward =
        makeAction(mnuVideo, u"mnuFrameForward", u"One frame forward", {QKeySequence(Qt::ALT | Qt::Key_Right)});
    mnuPlayAround = makeAction(mnuVideo, u"mnuPlayAround", u"Play around the subtitle", {QKeySequence(Qt::Key_F5)});
    mnuSpeed = mnuVideo->addMenu(QStringLiteral("Playback speed"));
    mnuSpeed->setObjectName(QStringLiteral("mnuSpeed"));
    speeds = new QActionGroup(mnuSpeed);
    speeds->setExclusive(true);
    for (const auto &[name, speed] : {std::pair{u"mnuSpeed050", 0.5}, std::pair{u"mnuSpeed075", 0.75},
                                      std::pair{u"mnuSpeed100", 1.0}, std::pair{u"mnuSpeed150", 1.5},
                                      std::pair{u"mnuSpeed200", 2.0}}) {
        QAction *item = makeCheckable(mnuSpeed, name, u"", speed == 1.0);
        item->setText(QString::number(speed) + u'x');
        item->setData(speed);
        speeds->addAction(item);
    }
    mnuVideo->addSeparator();
    mnuSetStartFromVideo =
        makeAction(mnuVideo, u"mnuSetStartFromVideo", u"Set start from video", {QKeySequence(Qt::Key_F3)});
    mnuSetEndFromVideo = makeAction(mnuVideo, u"mnuSetEndFromVideo", u"Set end from video", {QKeySequence(Qt::Key_F4)});
    mnuVideo->addSeparator();
    mnuZoomIn = makeAction(mnuVideo, u"mnuZoomIn", u"Zoom in",
                           {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuZoomOut = makeAction(mnuVideo, u"mnuZoomOut", u"Zoom out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    mnuVideo->addSeparator();
    mnuShowVideo = makeCheckable(mnuVideo, u"mnuShowVideo", u"Show video", true);
    mnuShowTimeline = makeCheckable(mnuVideo, u"mnuShowTimeline", u"Show timeline", true);
    mnuShowOriginal = makeCheckable(mnuVideo, u"mnuShowOriginal", u"Show original subtitles", false);
    mnuComputeWaveform = makeAction(mnuVideo, u"mnuComputeWaveform", u"Compute waveform");
    mnuAudioTrack = mnuVideo->addMenu(QStringLiteral("Audio track"));
    mnuAudioTrack->setObjectName(QStringLiteral("mnuAudioTrack"));
    audioTracks = new QActionGroup(mnuAudioTrack);
    audioTracks->setExclusive(true);
    mnuVideo->addSeparator();
    mnuFindShotChanges = makeAction(mnuVideo, u"mnuFindShotChanges", u"Find shot changes");
    mnuImportShotChanges = makeAction(mnuVideo, u"mnuImportShotChanges", u"Import shot changes...");
    mnuExportShotChanges = makeAction(mnuVideo, u"mnuExportShotChanges", u"Export shot changes...");
    mnuNextShotChange = makeAction(mnuVideo, u"mnuNextShotChange", u"Next shot change",
                                   {QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right)});
    mnuPrevShotChange = makeAction(mnuVideo, u"mnuPrevShotChange", u"Previous shot change",
                                   {QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left)});
    // The keys work in the window and in its panes, docked or not.
    window.addActions(mnuVideo->actions());
}
