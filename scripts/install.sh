#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Installs what building needs, builds a release of Ozvenka into build-release, and installs it
# stripped into PREFIX (default /usr/local): the program, desktop entry, icon, AppStream data
# and the copyright file. DESTDIR is honoured, as by any install.
#   scripts/install.sh [PREFIX]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-/usr/local}
build=${BUILD_DIR:-$root/build-release}
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" BUILD_TYPE=Release "$root/scripts/build.sh" -DOZV_TESTS=OFF -DOZV_BENCH=OFF
cmake --install "$build" --prefix "$prefix" --strip
