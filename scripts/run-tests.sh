#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds with warnings as errors, and runs every
# test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -DQUILLMEND_WERROR=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure
