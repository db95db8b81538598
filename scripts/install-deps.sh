#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quillmend developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian 12 packages that building and testing Quillmend need.
# Does nothing when they are all present; uses sudo only when not root.
set -euo pipefail

packages=(
    build-essential
    cmake
    pkg-config
    qt6-base-dev
    # Qt's own texts (standard buttons, file dialogs) in the chosen language.
    qt6-translations-l10n
    # lrelease, for our own Qt texts of the languages Qt has no translation of.
    qt6-l10n-tools
    libgl-dev
    libpugixml-dev
    libsimpleini-dev
    libuchardet-dev
    # The video pane plays with libmpv; the waveform's peaks and the shot
    # changes are decoded with FFmpeg's libraries (pictures in formats other
    # than 8-bit YUV are turned grey with libswscale), and the media tests and
    # benchmarks make their clips with the ffmpeg program.
    libmpv-dev
    libavformat-dev
    libavcodec-dev
    libswresample-dev
    libswscale-dev
    libavutil-dev
    ffmpeg
    # The tests check the installed files with these validators where present.
    appstream
    desktop-file-utils
    libxml2-utils
    # The file-manager test asks gio and xdg-mime which program opens .srt files.
    libglib2.0-bin
    xdg-utils
    # cpack -G DEB: dpkg-shlibdeps finds the package's dependencies, and CPack
    # picks the programs to give it with file.
    dpkg-dev
    file
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
