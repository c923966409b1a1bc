#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Installs what is missing, builds with the tests, and runs the whole test suite.
#   OZV_SANITIZE=1 scripts/test.sh   the same under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
OZV_WITH_X=1 "$root/scripts/install-deps.sh"
args=(-DOZV_TESTS=ON -DOZV_BENCH=OFF)
build=${BUILD_DIR:-$root/build}
if [ "${OZV_SANITIZE:-0}" = 1 ]; then
  build=${BUILD_DIR:-$root/build-asan}
  args+=(-DOZV_SANITIZE=ON)
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
fi
BUILD_DIR="$build" "$root/scripts/build.sh" "${args[@]}"
cd "$build"
ctest --output-on-failure --timeout 600 -j2
