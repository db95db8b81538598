#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Corrects a UTF-8 subtitle file with made-up shot changes and checks the timing a subtitler would check.

    scripts/check-shot-timing.py build/bin/quillmend-cli FILE.srt FPS WORKFOLDER

Cuts are put a few frames after ends, a few before starts, inside some subtitles and every few seconds; the
list goes to WORKFOLDER/cuts.txt and the correction (default settings) to WORKFOLDER/out.srt. Then: no
subtitle the correction touched crosses a cut it did not cross as read, no touched end is 1 to 12 frames
before a cut other than 2 (unless the next subtitle holds it there), and no gap next to a touched subtitle
is under 2 frames. Frames are counted as the correction counts them: a subtitle is on screen from the first
frame starting at or after its start to the frame before the first one starting at or after its end.
"""
import bisect, json, math, os, random, re, subprocess, sys

GAP, SNAP, MIN_GAP = 2, 12, 2


def read_srt(path):
    """(start ms, end ms) of each subtitle with text, as the correction reads them."""
    text = open(path, encoding='utf-8-sig').read().replace('\r\n', '\n').replace('\r', '\n')
    clock = re.compile(r'\s*(\d+):(\d\d):(\d\d),(\d+)\s*-->\s*(\d+):(\d\d):(\d\d),(\d+)')
    entries = []
    for line in text.split('\n'):
        m = clock.match(line)
        if m:
            # The line before a time line is the number when blank or all digits.
            if entries and entries[-1][2]:
                before = entries[-1][2][-1].strip()
                if not before or before.isdigit():
                    entries[-1][2].pop()
            g = [int(x) for x in m.groups()]
            entries.append((((g[0] * 60 + g[1]) * 60 + g[2]) * 1000 + g[3],
                            ((g[4] * 60 + g[5]) * 60 + g[6]) * 1000 + g[7], []))
        elif entries:
            entries[-1][2].append(line)
    return [(s, e) for s, e, body in entries if any(b.strip() for b in body)]


def main():
    cli, srt, rate_text, work = sys.argv[1:5]
    fps = float(rate_text)
    for whole in (24, 30, 60):
        if abs(fps - whole * 1000 / 1001) < 0.005:
            fps = whole * 1000 / 1001
    start_of = lambda frame: math.ceil(frame / fps * 1000 - 1e-6)

    def frame_from(ms):
        frame = math.floor(ms / 1000 * fps)
        while start_of(frame) < ms:
            frame += 1
        while start_of(frame - 1) >= ms:
            frame -= 1
        return frame

    read = read_srt(srt)
    rnd = random.Random(26)
    cuts = set()
    for s, e in read:
        cuts.add(frame_from(e) + rnd.randint(0, 20))
        cuts.add(frame_from(s) - rnd.randint(0, 15))
        if rnd.random() < 0.3:
            cuts.add((frame_from(s) + frame_from(e)) // 2 + rnd.randint(-15, 15))
    t = 0
    while t < read[-1][1] + 10000:
        t += rnd.randint(2000, 7000)
        cuts.add(frame_from(t))
    cuts = sorted(c for c in cuts if c > 0)
    os.makedirs(work, exist_ok=True)
    cut_list, out, ini = (os.path.join(work, n) for n in ('cuts.txt', 'out.srt', 'empty.ini'))
    with open(cut_list, 'w') as f:
        f.writelines('%.3f\n' % (c / fps) for c in cuts)
    with open(ini, 'w') as f:
        f.write('[General]\n')
    run = subprocess.run([cli, '--settings', ini, '--report', 'json', '--shot-changes', cut_list, '--frame-rate',
                          rate_text, '-o', out, srt], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(run.stderr)
    report = json.loads(run.stdout)
    split = {r['ordinal'] for r in report['records'] if r['kind'].startswith('Split')}
    written = iter(read_srt(out))
    rows = [(ordinal, *next(written), part) for ordinal in range(1, len(read) + 1)
            for part in range(2 if ordinal in split else 1)]

    def crossed(s, e):
        return set(cuts[bisect.bisect_right(cuts, frame_from(s)):bisect.bisect_left(cuts, frame_from(e))])

    touched = lambda row: row[1:3] != read[row[0] - 1] or row[0] in split
    counts = dict(touched=0, crossing=0, near=0, held=0, gaps=0, short=0)
    for i, row in enumerate(rows):
        ordinal, s, e, part = row
        if not touched(row):
            continue
        counts['touched'] += 1
        if crossed(s, e) - crossed(*read[ordinal - 1]):
            counts['crossing'] += 1
            print('crosses a new cut:', row)
        if e != read[ordinal - 1][1] or (ordinal in split and part == 0):
            k = bisect.bisect_left(cuts, frame_from(e))
            if k < len(cuts) and 1 <= cuts[k] - frame_from(e) <= SNAP and cuts[k] - frame_from(e) != GAP:
                following = rows[i + 1][1] if i + 1 < len(rows) else math.inf
                if frame_from(following) - MIN_GAP < cuts[k] - GAP:
                    counts['held'] += 1
                else:
                    counts['near'] += 1
                    print('end near a cut:', row, cuts[k] - frame_from(e), 'frames')
    for a, b in zip(rows, rows[1:]):
        if touched(a) or touched(b):
            counts['gaps'] += 1
            if frame_from(b[1]) - frame_from(a[2]) < MIN_GAP:
                counts['short'] += 1
                print('gap under', MIN_GAP, 'frames:', a, b)
    print(f"{len(read)} subtitles read, {len(rows)} written, {len(cuts)} cuts at {rate_text} fps; "
          f"{counts['touched']} written subtitles touched, {len(report['shotChange'])} with a shot-change time; "
          f"{counts['crossing']} cross a new cut; {counts['near']} touched ends 1-{SNAP} frames before a cut "
          f"(not {GAP}), {counts['held']} more held there by the next subtitle; {counts['short']} of "
          f"{counts['gaps']} gaps next to touched subtitles under {MIN_GAP} frames")
    sys.exit(1 if counts['crossing'] or counts['near'] or counts['short'] else 0)


main()
