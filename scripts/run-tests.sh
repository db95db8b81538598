#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds with warnings as errors, and runs every
# test through ctest; then builds the tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them once more, so a memory fault fails
# here instead of passing by luck. QUILLMEND_SKIP_SANITIZED=1 skips that half.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -DQUILLMEND_WERROR=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure

if [[ "${QUILLMEND_SKIP_SANITIZED:-0}" != 1 ]]; then
    # -O1 -g1: fast enough to run, with file and line in every report; no benchmarks.
    cmake -S . -B build-sanitized -DQUILLMEND_WERROR=ON -DQUILLMEND_SANITIZE=ON \
        -DQUILLMEND_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1"
    cmake --build build-sanitized -j2
    # The package test (cpack and dpkg-deb around what tst_install already runs
    # from the tree) is left to the first run.
    # Leaks are not checked: the sound, font and video libraries keep their
    # allocations until exit on purpose, which would drown any real report.
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-sanitized --output-on-failure -E '^tst_install_package$'
fi
