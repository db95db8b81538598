// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mpvfileinfo.h"

#include <cstring>

#include <mpv/client.h>

namespace {

const mpv_node *member(const mpv_node &map, const char *key)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

QString text(const mpv_node &map, const char *key)
{
    const mpv_node *value = member(map, key);
    return value && value->format == MPV_FORMAT_STRING ? QString::fromUtf8(value->u.string) : QString();
}

qint64 number(const mpv_node &map, const char *key, qint64 absent = -1)
{
    const mpv_node *value = member(map, key);
    return value && value->format == MPV_FORMAT_INT64 ? value->u.int64 : absent;
}

bool flag(const mpv_node &map, const char *key)
{
    const mpv_node *value = member(map, key);
    return value && value->format == MPV_FORMAT_FLAG && value->u.flag;
}

} // namespace

void MpvFileInfo::readTracks(const mpv_node &tracks)
{
    if (tracks.format != MPV_FORMAT_NODE_ARRAY)
        return;
    for (int i = 0; i < tracks.u.list->num; ++i) {
        const mpv_node &track = tracks.u.list->values[i];
        const QString type = text(track, "type");
        if (type == u"video" && !flag(track, "albumart") && !hasVideo) {
            hasVideo = true;
            storedSize = QSize(int(number(track, "demux-w", 0)), int(number(track, "demux-h", 0)));
        }
        if (type != u"audio")
            continue;
        AudioTrack audio;
        audio.streamIndex = int(number(track, "ff-index"));
        audio.number = int(audioTracks.size()) + 1;
        audio.codec = text(track, "codec");
        audio.channels = int(number(track, "demux-channel-count", 0));
        audio.channelLayout = text(track, "demux-channels");
        audio.sampleRate = int(number(track, "demux-samplerate", 0));
        audio.language = text(track, "lang");
        audio.title = text(track, "title");
        audio.isDefault = flag(track, "default");
        if (flag(track, "selected"))
            selectedAudioTrack = audio.streamIndex;
        audioTracks << audio;
        audioTrackIds << number(track, "id");
    }
}

qint64 MpvFileInfo::loadedEntryId(const mpv_event_command &reply)
{
    return number(reply.result, "playlist_entry_id");
}
