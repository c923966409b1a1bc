#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Installs what is missing, builds (showing its progress), and starts Ozvenka on FOLDER, or on
# the demo show (generated once into the build folder) when no folder is given. The demo keeps
# its own settings file in the build folder, so it never becomes the folder a plain `ozvenka`
# opens. Other arguments go to the program.
#   scripts/run.sh [FOLDER] [-settings FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ "${OZV_NO_BUILD:-0}" != 1 ]; then # (tests run what is built already)
  "$root/scripts/install-deps.sh"
  echo "Building Ozvenka in $build (a minute or two the first time) ..."
  "$root/scripts/build.sh" -DOZV_TESTS=OFF -DOZV_BENCH=OFF
fi
if [ $# -eq 0 ] || [[ "$1" == -* ]]; then
  demo="$build/demo-show"
  [ -d "$demo" ] || "$build/tools/ozv_make_demo_show" "$demo"
  set -- "$demo" -settings "$build/demo-settings.ini" "$@"
fi
exec "$build/app/ozvenka" "$@"
