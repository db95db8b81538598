// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/languagelocator.h"
#include "settings/settingproblem.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// Every value kept in the settings file, with its default: a key missing
// from the file takes the value it has here. Field names are the settings
// keys; geometry is in twips (1/1440 inch).
struct Settings
{
    qint32 MaxLen = 44; // characters per subtitle line
    bool JoinSubsAbove2Lines = true;
    bool BuyTime = true;
    qint32 LettersFor1Min = 23; // letters read per second
    bool CorrectSubsAbove2Lines = true;
    bool CreateBakFile = true;
    bool ParseAllTimes = true;
    bool BrakeTo2 = true;
    bool ShowMessage = true;
    bool CreateBakFileAuto = true;
    bool ShowMessageAuto = true;
    // Language name, ".", the application name and ".exe".
    QString LangFileBase = LanguageLocator::defaultLangFileBase();

    float MainXTwips = 150;
    float MainYTwips = 150;
    float MainWidthTwips = 9000;
    float MainHeightTwips = 5000;
    float EditXTwips = 150;
    float EditYTwips = 150;
    float EditWidthTwips = 4700;
    float EditHeightTwips = 4500;
    float DiaxTwips = 3000;
    // Number, show, hide, text and reading speed, in the model's column order.
    std::array<float, 5> List1ColTwips{300, 870, 870, 3500, 600};
    std::array<float, 5> List2ColTwips{300, 870, 870, 3500, 600};

    // Added after the first release, so they default to the behaviour before them.
    bool GuidelineBreaks = false; // choose line breaks as subtitling guidelines advise
    qint32 MinGapMs = 1;          // kept between subtitles by overlap correction and time buying

    // How files are read: "auto" to detect the encoding, else its name; and
    // whether common time-format variants are read.
    QString Encoding = QStringLiteral("auto");
    bool LenientTimes = false;

    // The film under review: a video beside a subtitle file opens with it;
    // the panes shown and their sizes, the timeline's span and the volume.
    bool AutoOpenVideo = true;
    bool VideoPane = true;
    bool TimelinePane = true;
    // The video stands beside the timeline: 440 by 280 pixels at 96 dpi
    // shows a 16:9 picture over its controls.
    float VideoPaneWidthTwips = 6600;
    float TimelinePaneHeightTwips = 4200;
    qint32 TimelineSpanMs = 20'000;
    qint32 VideoVolume = 100; // percent
    // Whether the main window was closed maximised; MainX and the rest keep
    // its normal place either way.
    bool MainMaximized = false;

    // Timing that respects the film, used only when its shot changes are
    // known: no bought time crosses a cut, times near a cut go to it, and
    // with a frame rate every written time is a frame's start.
    bool ShotChanges = false;
    qint32 ShotGapFrames = 2;   // an end near a cut is kept this many frames before it
    qint32 ShotSnapFrames = 12; // how near a written time must be to go to the cut; 0: never
    qint32 MinGapFrames = 2;    // gap between subtitles in whole frames; 0: MinGapMs

    // The values a correction run cannot use, by the rules of the key table
    // (settingsstore.cpp), in the table's order; empty when it can run.
    QList<SettingProblem> problems() const;

    friend bool operator==(const Settings &, const Settings &) = default;
};
