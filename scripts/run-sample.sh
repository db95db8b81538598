#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds, and corrects a copy of the bundled
# sample with quillmend-cli, showing the summary and the corrected file.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j2

mkdir -p build/sample
cp examples/sample.srt build/sample/sample.srt
rm -f build/sample/sample.srt.bak
build/bin/quillmend-cli build/sample/sample.srt
echo
echo "---- build/sample/sample.srt (the original is kept as sample.srt.bak) ----"
cat build/sample/sample.srt
