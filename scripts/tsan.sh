#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# The core, engine and widget tests under ThreadSanitizer: the mixer, the loader, the streaming
# thread and the device watch, the thumbnail workers and the picture preparation share data only
# through atomics, their own locks and queues, and TSan checks every access of ours.
#
# Qt's libraries are not built for TSan. ignore_noninstrumented_modules stops TSan from checking
# the memory that Qt and the image libraries copy through intercepted calls (memcpy) - their
# locks are invisible to it, so it could only report them falsely, and slowly. Our own code is
# checked in full, with no suppressions.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${BUILD_DIR:-$root/build-tsan}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOZV_TSAN=ON -DOZV_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ozv_core_tests ozv_audio_tests ozv_widget_tests >/dev/null
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1"
export QT_QPA_PLATFORM="offscreen:configfile=$root/tests/widgets/two-screens.json" OZV_QUIET_ERRORS=1
failed=0
for suite in core audio widget; do
    log="$build/tsan-$suite.log"
    if "$build/tests/ozv_${suite}_tests" >"$log" 2>&1; then
        echo "$suite: $(grep -oE '^\[  PASSED  \] [0-9]+ tests?' "$log" | tail -n 1 | cut -c 14-) passed, no ThreadSanitizer reports"
    else
        failed=1
        echo "$suite: FAILED (log: $log)"
        grep -E -A40 'WARNING: ThreadSanitizer|\[  FAILED  \]' "$log" | head -n 120
    fi
done
exit $failed
