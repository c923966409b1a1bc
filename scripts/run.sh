#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Installs what is missing, builds, and starts Ozvenka on FOLDER, or on the demo show (generated
# once into the build folder) when no folder is given. Other arguments go to the program.
#   scripts/run.sh [FOLDER] [-settings FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DOZV_TESTS=OFF -DOZV_BENCH=OFF >/dev/null
if [ $# -eq 0 ] || [[ "$1" == -* ]]; then
  demo="$build/demo-show"
  [ -d "$demo" ] || "$build/tools/ozv_make_demo_show" "$demo"
  set -- "$demo" "$@"
fi
exec "$build/app/ozvenka" "$@"
