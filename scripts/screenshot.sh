#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Takes docs/main-window.png (the main window after correcting the bundled
# sample), docs/review.png (a correction restored, beside the edits window),
# docs/options.png, docs/create-language.png, docs/film-review.png (the
# sample beside a clip this script makes, with the video and the timeline)
# and docs/shot-changes.png (the timeline of a clip of hard cuts) under a
# virtual X server; with --shot-changes only the last. Needs xvfb, xdotool, x11-apps, imagemagick and
# ffmpeg (apt-get install xvfb xdotool x11-apps imagemagick ffmpeg) and a
# build in build/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

# The sample's first seconds beside scenes joined by hard cuts, corrected
# with ShotChanges on: the timeline's cut lines across waveform and boxes.
take_shot_changes() {
    shots=$(mktemp -d)
    cp "$root/build/bin/quillmend" "$root"/build/bin/*.Quillmend.exe.xml "$root/examples/sample.srt" "$shots/"
    ffmpeg -loglevel error -nostdin -y -filter_complex \
        "testsrc2=s=640x360:r=25,trim=end_frame=95,format=yuv420p[a];mandelbrot=s=640x360:r=25,trim=end_frame=72,format=yuv420p[b];cellauto=s=640x360:r=25:rule=110,trim=end_frame=70,format=yuv420p[c];life=s=640x360:r=25:mold=10:life_color=#40c0ff,trim=end_frame=118,format=yuv420p[d];sierpinski=s=640x360:r=25,trim=end_frame=120,format=yuv420p[e];[a][b][c][d][e]concat=n=5:v=1:a=0[v]" \
        -f lavfi -i "aevalsrc=exprs='0.6*sin(2*PI*(170+40*sin(2*PI*3*t))*t)*gt(sin(2*PI*0.21*t)+0.4*sin(2*PI*1.3*t)\,0.15)':s=48000:d=19" \
        -map "[v]" -map 0:a -c:v libx264 -preset veryfast -crf 30 -c:a aac -b:a 64k -shortest "$shots/sample.mp4"
    cat > "$shots/Quillmend.ini" <<'INI'
[General]
MainX=0
MainY=0
MainWidth=21000
MainHeight=13400
ShowMessage=0
Diax=6200
VideoPaneWidth=5000
TimelinePaneHeight=3300
TimelineSpanMs=16000
ShotChanges=-1
INI
    cat > "$shots/take.sh" <<'SH'
#!/bin/sh
set -eu
cd "$1"
XDG_CACHE_HOME="$1/cache" ./quillmend sample.srt &
pid=$!
sleep 6
xdotool key F8
sleep 2
# No window manager here: the edits window, mapped last, may hold the keyboard.
xdotool search --name " - Quillmend" windowfocus --sync
xdotool key alt+Down
sleep 2
xwd -root -silent | convert xwd:- "$1/whole.png"
kill "$pid"
SH
    chmod +x "$shots/take.sh"
    xvfb-run -a -s "-screen 0 1400x900x24" "$shots/take.sh" "$shots"
    # The timeline pane alone: the bottom of the window, left of the video.
    convert "$shots/whole.png" -crop "${SHOTS_CROP:-1030x195+0+691}" +repage "$root/docs/shot-changes.png"
    rm -rf "$shots"
    echo "wrote docs/shot-changes.png"
}
if [ "${1:-}" = --shot-changes ]; then
    take_shot_changes
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$root/build/bin/quillmend" "$root"/build/bin/*.Quillmend.exe.xml "$work/"
cp "$root/examples/sample.srt" "$work/"
# A translation under way, for the language-file creator to open.
sed -e 's/Creator="[^"]*"/Creator="Lucia"/' -e 's/mnuOpen="Open..."/mnuOpen="Apri..."/' \
    -e 's/mnuSave="Save"/mnuSave="Salva"/' "$root/lang/English.Quillmend.exe.xml" > "$work/Italian.Quillmend.exe.xml"
# A desktop-sized window, the edits window beside it, no summary box.
cat > "$work/Quillmend.ini" <<'INI'
[General]
MainX=0
MainY=0
MainWidth=16500
MainHeight=10800
ShowMessage=0
Diax=8200
EditX=16600
EditY=0
EditWidth=4300
EditHeight=6000
List1Col4=5000
List2Col4=5000
INI

cat > "$work/take.sh" <<'SH'
#!/bin/sh
set -eu
cd "$1"
./quillmend sample.srt &
pid=$!
sleep 3
# Select the first corrected subtitle, then step to the fourth correction.
# No window manager here: the edits window, mapped last, may hold the keyboard.
xdotool search --name " - Quillmend" windowfocus --sync
xdotool key alt+Down
for step in 1 2 3 4; do xdotool key ctrl+Down; sleep 0.3; done
sleep 1
xwd -root -silent | convert xwd:- -crop 1390x730+0+0 "$2/main-window.png"

# Restore that correction (Ctrl-R): the list shows it as read, marked
# restored, and so does its record in the edits window beside.
xdotool key ctrl+r
sleep 1
xwd -root -silent | convert xwd:- -crop 1400x740+0+0 "$2/review.png"

# Dialogs are taken by window, as a root grab shows them black.
shoot() {
    id=$(xdotool search --name "$1" | head -1)
    xwd -id "$id" -silent | convert xwd:- "$2"
}
xdotool search --name " - Quillmend" windowfocus --sync
xdotool key ctrl+p
sleep 2
shoot '^Options$' "$2/options.png"
xdotool key Escape
sleep 0.5

# Help, Languages, Create new Language...; then open the Italian file on
# the right, pick an item and translate two with Enter.
xdotool mousemove 141 8 click 1
sleep 0.5
xdotool key Down Right Return
sleep 2
creator=$(xdotool search --name '^Create new language' | head -1)
xdotool mousemove --window "$creator" 795 21 click 1
sleep 0.7
xdotool type I
xdotool key Return
sleep 1
xdotool mousemove --window "$creator" 150 116 click 1
sleep 0.5
xdotool mousemove --window "$creator" 480 90 click 1
xdotool key ctrl+a
xdotool type --delay 40 'Salva come...'
xdotool key Return
sleep 0.3
xdotool key Return
sleep 0.3
xdotool type --delay 40 'Opzioni...'
sleep 0.5
shoot '^Create new language' "$2/create-language.png"
kill "$pid"
SH
chmod +x "$work/take.sh"
xvfb-run -a -s "-screen 0 1400x740x24" "$work/take.sh" "$work" "$root/docs"
echo "wrote docs/main-window.png, docs/review.png, docs/options.png and docs/create-language.png"

# The film: the sample's subtitles beside a clip of their length, moving
# colours and a voice-like sound, opened with them.
film=$(mktemp -d)
trap 'rm -rf "$work" "$film"' EXIT
cp "$root/build/bin/quillmend" "$root"/build/bin/*.Quillmend.exe.xml "$root/examples/sample.srt" "$film/"
ffmpeg -loglevel error -nostdin -y -f lavfi -i "gradients=s=960x540:rate=25:speed=0.005:d=115" \
    -f lavfi -i "aevalsrc=exprs='0.6*sin(2*PI*(170+40*sin(2*PI*3*t))*t)*gt(sin(2*PI*0.21*t)+0.4*sin(2*PI*1.3*t)\,0.15)':s=48000:d=115" \
    -c:v libx264 -preset veryfast -crf 30 -bf 2 -pix_fmt yuv420p -c:a aac -b:a 64k -shortest "$film/sample.mp4"
cat > "$film/Quillmend.ini" <<'INI'
[General]
MainX=0
MainY=0
MainWidth=21000
MainHeight=13400
ShowMessage=0
Diax=6200
EditX=21100
EditY=0
VideoPaneWidth=8400
TimelinePaneHeight=3300
TimelineSpanMs=16000
INI
cat > "$film/take.sh" <<'SH'
#!/bin/sh
set -eu
cd "$1"
XDG_CACHE_HOME="$1/cache" ./quillmend sample.srt &
pid=$!
sleep 4
# The fourth correction: a subtitle given more time, over its sound.
# No window manager here: the edits window, mapped last, may hold the keyboard.
xdotool search --name " - Quillmend" windowfocus --sync
xdotool key alt+Down
for step in 1 2 3 4; do xdotool key ctrl+Down; sleep 0.4; done
sleep 2
xwd -root -silent | convert xwd:- -crop 1400x900+0+0 "$2/film-review.png"
kill "$pid"
SH
chmod +x "$film/take.sh"
xvfb-run -a -s "-screen 0 1400x900x24" "$film/take.sh" "$film" "$root/docs"
echo "wrote docs/film-review.png"
take_shot_changes
