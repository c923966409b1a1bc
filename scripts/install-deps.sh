#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Installs every Debian package that building, testing and running Ozvenka needs.
# Idempotent and quiet when everything is there. Runs as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
  libsdl2-dev libsndfile1-dev libmpg123-dev libsamplerate0-dev
  libgtest-dev libbenchmark-dev
)
# The end-to-end tools: a real X server with two monitors, input and screenshots.
if [ "${OZV_WITH_X:-0}" = 1 ]; then
  packages+=(xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xdotool imagemagick python3
    libgl1-mesa-dri)
fi

# Fuzzing: clang with libFuzzer.
if [ "${OZV_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

# The soak run's device loss: a sound server to stop and start.
if [ "${OZV_WITH_SOUND_SERVER:-0}" = 1 ]; then
  packages+=(pulseaudio pulseaudio-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
