# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
"""Real X key presses from one long-lived connection (the XTEST extension through libXtst).

xdotool starts a process for every key: tens of milliseconds that swing with whatever else the
machine does (page faults, memory traffic), so a latency measured from before its start carries
that swing. Here the press is one request on an open connection, and the time taken just before
it is when the X server is asked to press the key.
"""
import ctypes
import ctypes.util
import time


class XKeys:
    def __init__(self, display):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open X display {display}")

    def _code(self, name):
        sym = self.x11.XStringToKeysym(name.encode())
        code = self.x11.XKeysymToKeycode(self.dpy, sym) if sym else 0
        if not code:
            raise ValueError(f"no key code for {name!r}")
        return code

    def down(self, name):
        """Presses the key; returns once the request is on its way to the server."""
        self.xtst.XTestFakeKeyEvent(self.dpy, self._code(name), 1, 0)
        self.x11.XFlush(self.dpy)

    def press_handled(self, name):
        """Presses the key and waits until the X server has handled the press (a round trip on
        this connection); returns the seconds that took. Until then the server has not made the
        key event that the program is to receive, so this is the server's share of a latency."""
        t = time.monotonic()
        self.xtst.XTestFakeKeyEvent(self.dpy, self._code(name), 1, 0)
        self.x11.XSync(self.dpy, 0)
        return time.monotonic() - t

    def up(self, name):
        self.xtst.XTestFakeKeyEvent(self.dpy, self._code(name), 0, 0)
        self.x11.XSync(self.dpy, 0)

    def key(self, name):
        self.down(name)
        self.up(name)

    def close(self):
        self.x11.XCloseDisplay(self.dpy)
