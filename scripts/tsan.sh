#!/usr/bin/env bash
# The sound engine's tests under ThreadSanitizer: the mixer, the loader, the streaming thread and
# the device watch share data only through atomics and their queue, and TSan checks that.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${BUILD_DIR:-$root/build-tsan}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOZV_TSAN=ON -DOZV_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ozv_audio_tests
TSAN_OPTIONS="halt_on_error=1 suppressions=$root/tests/tsan-qt.supp" "$build/tests/ozv_audio_tests"
