#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# Builds the benchmarks in Release and runs them (arguments go to Google Benchmark, e.g.
# --benchmark_filter=Mixer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
BUILD_DIR=${BUILD_DIR:-$root/build-bench} BUILD_TYPE=Release "$root/scripts/build.sh" -DOZV_TESTS=OFF -DOZV_BENCH=ON
exec "${BUILD_DIR:-$root/build-bench}/bench/ozv_bench" "$@"
