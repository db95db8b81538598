#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Checks the WebVTT files that quillmend-webvttcheck leaves in its work folder
# (NAME.vtt as made, NAME[.setN].out.vtt as corrected) with two readers of
# other makers, a development check only:
# - the W3C's parser (the npm package webvtt-parser, installed by hand in
#   CHECKER_DIR with "npm install webvtt-parser"): no kind of error may come
#   more often in a corrected file than in the file it was made from;
# - FFmpeg, for files without STYLE or REGION blocks (its reader returns no
#   cue from a file with one): "ffmpeg -i out.vtt out.srt" must give as many
#   cues as the file has cues with text.
# usage: bench/webvtt-external-check.sh WORK_DIR CHECKER_DIR [QUILLMEND_CLI] [EXTRA.vtt:EXTRA.out.vtt ...]
set -eu
work=${1:?usage: webvtt-external-check.sh WORK_DIR CHECKER_DIR [QUILLMEND_CLI] [IN:OUT ...]}
checker=${2:?usage: webvtt-external-check.sh WORK_DIR CHECKER_DIR [QUILLMEND_CLI] [IN:OUT ...]}
cli=${3:-build/bin/quillmend-cli}
[ $# -ge 3 ] && shift 3 || shift $#

pairs=
for out in "$work"/*.out.vtt; do
    base=${out%.out.vtt}
    base=${base%.set[0-9]}
    pairs="$pairs $base.vtt $out"
done
for pair in "$@"; do
    pairs="$pairs ${pair%%:*} ${pair#*:}"
done

# shellcheck disable=SC2086
NODE_PATH="$checker/node_modules" node -e '
const fs = require("fs");
const { WebVTTParser } = require("webvtt-parser");
const kinds = (file) => {
  const counts = {};
  for (const e of new WebVTTParser().parse(fs.readFileSync(file, "utf8"), "subtitles").errors)
    counts[e.message] = (counts[e.message] || 0) + 1;
  return counts;
};
const files = process.argv.slice(1);
let pairs = 0, worse = 0;
const seen = {};
for (let i = 0; i + 1 < files.length; i += 2) {
  const before = kinds(files[i]), after = kinds(files[i + 1]);
  ++pairs;
  for (const [kind, count] of Object.entries(after)) {
    seen[kind] = (seen[kind] || 0) + count;
    if (count > (before[kind] || 0)) {
      ++worse;
      console.log(`${files[i + 1]}: "${kind}" ${count} times, ${before[kind] || 0} in ${files[i]}`);
    }
  }
}
console.log(`W3C parser: ${pairs} corrected files, ${worse} kinds of error more often than before`);
for (const [kind, count] of Object.entries(seen)) console.log(`  in the corrected files: ${count} x ${kind}`);
' $pairs

checked=0
differ=0
skipped=0
set -- $pairs
while [ $# -ge 2 ]; do
    out=$2
    shift 2
    if tr '\r' '\n' <"$out" | grep -qE '^(STYLE|REGION)([ 	]|$)'; then
        skipped=$((skipped + 1))
        continue
    fi
    ours=$("$cli" --dry-run --report json "$out" | sed -n 's/.*"subtitlesIn":\([0-9]*\).*/\1/p')
    ffmpeg -v error -y -i "$out" -f srt "$work/ffmpeg.srt"
    theirs=$(grep -c -- '-->' "$work/ffmpeg.srt" || true)
    checked=$((checked + 1))
    if [ "$ours" != "$theirs" ]; then
        differ=$((differ + 1))
        echo "$out: $ours cues with text, FFmpeg reads $theirs"
    fi
done
rm -f "$work/ffmpeg.srt"
echo "FFmpeg: $checked corrected files read, $differ with another number of cues ($skipped with STYLE or REGION left out)"
