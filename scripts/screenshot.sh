#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Takes docs/main-window.png: the main window after correcting the bundled
# sample, under a virtual X server. Needs xvfb, xdotool, x11-apps and
# imagemagick (apt-get install xvfb xdotool x11-apps imagemagick) and a build
# in build/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$root/build/bin/quillmend" "$root"/build/bin/*.Quillmend.exe.xml "$work/"
cp "$root/examples/sample.srt" "$work/"
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
xdotool key alt+Down
for step in 1 2 3 4; do xdotool key ctrl+Down; sleep 0.3; done
sleep 1
xwd -root -silent | convert xwd:- -crop 1390x730+0+0 "$2"
kill "$pid"
SH
chmod +x "$work/take.sh"
xvfb-run -a -s "-screen 0 1400x740x24" "$work/take.sh" "$work" "$root/docs/main-window.png"
echo "wrote docs/main-window.png"
