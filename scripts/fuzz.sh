#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) on a copy of
# the committed seed corpus. A crash leaves its input in build-fuzz/ and fails the script.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
OZV_WITH_FUZZ=1 "$root/scripts/install-deps.sh"
build=${BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOZV_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_ini fuzz_names
# The code under test must carry both sanitizers, or memory errors that do not crash go
# unseen: its objects call into the AddressSanitizer and UndefinedBehaviorSanitizer runtimes.
for lib in "$build/core/libozv_core.a" "$build/fuzz/CMakeFiles/fuzz_ini.dir/fuzz_ini.cpp.o"; do
  for symbol in __asan_report_load __ubsan_handle_; do
    nm "$lib" | grep " U $symbol" >/dev/null || { echo "$lib is built without $symbol" >&2; exit 1; }
  done
done
echo "== fuzz targets built with AddressSanitizer and UndefinedBehaviorSanitizer"
for target in ini names; do
  corpus="$build/corpus-$target"
  mkdir -p "$corpus"
  cp -n "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "== fuzz_$target for ${seconds}s"
  (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12)
done
