// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// A WebVTT file with every kind of block, tag and entity, a cue without text, and one cue with CR LF line ends.
inline const QByteArray EveryKindVtt =
    "WEBVTT - every kind of block\nKind: captions\nLanguage: en\n\n"
    "NOTE\nThis file has every kind of block\nand every kind of tag.\n\n"
    "STYLE\n::cue(.yellow) { color: yellow; }\n\n"
    "REGION\nid:fred\nwidth:40%\nlines:3\n\n"
    "intro\n00:01.000 --> 00:06.000 region:fred align:start\n"
    "<v Anna><i>The lighthouse keeper climbed the stairs twice every night, and twice every morning he came down "
    "again.</i></v>\n\n"
    "00:00:06.500 --> 00:00:08.000 position:10% line:0\n"
    "<c.yellow>Tom &amp; Jerry</c> &lt;3 <b>bold</b> <u>under</u>\n\n"
    "NOTE between cues\n\n"
    "2\n00:09.000 --> 00:11.000 size:50%\n"
    "<lang en>Hello</lang> <ruby>\xE6\xBC\xA2<rt>kan</rt></ruby>&nbsp;&lrm;&rlm;\nsecond line <00:10.000>timed\n\n"
    "00:11.500 --> 00:12.000\n\n"
    "cr lf\r\n00:12.500 --> 00:16.000 align:end\r\n"
    "A cue with CR LF line ends whose <b>only line</b> is much too long.\r\n\r\n"
    "00:16.500 --> 00:18.000\nA plain cue that nobody touches.\n";

// What the default correction makes of it: the first cue split in two balanced cues that keep its settings, the
// second part without the identifier; the CR LF cue re-broken at 42 characters seen; every other byte as it was.
inline QByteArray everyKindCorrected()
{
    return QByteArray(EveryKindVtt)
        .replace("00:01.000 --> 00:06.000 region:fred align:start\n"
                 "<v Anna><i>The lighthouse keeper climbed the stairs twice every night, and twice every morning he "
                 "came down again.</i></v>",
                 "00:01.000 --> 00:03.864 region:fred align:start\n"
                 "<v Anna><i>The lighthouse keeper climbed\nthe stairs twice every night,</i></v>\n\n"
                 "00:03.865 --> 00:06.000 region:fred align:start\n"
                 "<v Anna><i>and twice every morning he came down again.</i></v>")
        .replace("<b>only line</b> is", "<b>only line</b>\r\nis");
}
