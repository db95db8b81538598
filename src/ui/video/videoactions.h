// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

// The Video menu's commands, one QAction each (objectName = the menu
// item's name), shared by the menu, the video pane's buttons and the keys.
// The keys are ones no list or box of the window uses.
struct VideoActions
{
    // The menu goes into window's menu bar before the Help menu.
    explicit VideoActions(QMainWindow &window);

    QMenu *mnuVideo;
    QAction *mnuOpenVideo;    // Ctrl-Shift-O
    QAction *mnuCloseVideo;
    QAction *mnuPlayPause;    // Ctrl-Space
    QAction *mnuPlaySubtitle; // Ctrl-Shift-Space
    QAction *mnuFrameBack;    // Alt-Left
    QAction *mnuFrameForward; // Alt-Right
    QAction *mnuPlayAround;   // F5: from 1 s before the subtitle to 1 s after it
    QAction *mnuSetStartFromVideo; // F3: the selected corrected subtitle's start at the frame on screen
    QAction *mnuSetEndFromVideo;   // F4
    QMenu *mnuSpeed;
    QActionGroup *speeds; // the items of mnuSpeed, one checked; data: the speed
    QAction *mnuZoomIn;       // Ctrl-+ (and Ctrl-=)
    QAction *mnuZoomOut;      // Ctrl--
    QAction *mnuShowVideo;    // checkable: the video pane
    QAction *mnuShowTimeline; // checkable: the timeline pane
    QAction *mnuShowOriginal; // checkable: the subtitles as read over the picture
    QAction *mnuComputeWaveform;
    QAction *mnuFindShotChanges;
    QAction *mnuImportShotChanges;
    QAction *mnuExportShotChanges; // the plain list, one time in seconds a line
    QAction *mnuNextShotChange; // Alt-Shift-Right: the film to the next cut
    QAction *mnuPrevShotChange; // Alt-Shift-Left
    QMenu *mnuAudioTrack;
    QActionGroup *audioTracks; // the items of mnuAudioTrack, one checked
};
