#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
"""The picture window's GPU path on a real X server: the frame-path widget tests run on the xcb
platform, where an OpenGL context exists (Mesa's software renderer on a machine without a
graphics card), so the shader and the GL window are checked against the reference frame
instead of being skipped."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_test  # noqa: E402  (its X server)


def main():
    tests = sys.argv[1]
    display = ":%d" % (80 + os.getpid() % 9)
    server, _ = e2e_test.start_x(display)
    try:
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", OZV_QUIET_ERRORS="1")
        result = subprocess.run([tests, "--gtest_filter=FramePaths.*"], env=env, capture_output=True,
                                text=True, timeout=240)
        print(result.stdout)
        if "SKIPPED" in result.stdout:
            print("FAILED: a GPU case was skipped: no OpenGL on the X server")
            return 1
        return result.returncode
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
