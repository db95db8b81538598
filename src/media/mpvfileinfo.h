// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/audiotrack.h"

#include <QList>
#include <QSize>

struct mpv_event_command;
struct mpv_node;

// What mpv knows of the file it has just loaded: its picture, its sound
// streams, its length and frame rate.
struct MpvFileInfo
{
    bool hasVideo = false;   // a picture that is not cover art
    QSize storedSize;        // the first picture's size as stored
    QList<AudioTrack> audioTracks;
    QList<qint64> audioTrackIds; // mpv's id of each entry of audioTracks
    int selectedAudioTrack = -1; // stream index of the track mpv plays
    qint64 durationMs = -1;      // -1: not told
    double frameRate = 0;        // 0: not told

    // Fills in the picture and the sound streams from mpv's "track-list".
    void readTracks(const mpv_node &tracks);
    // The playlist entry a loadfile command's reply names; -1 without one.
    static qint64 loadedEntryId(const mpv_event_command &reply);
};
