#!/usr/bin/env python3
"""The X server's screen saver, on the display in DISPLAY.

screensaver_state.py            prints its state: "on" while it runs, "off"
                                while it waits for its time, "disabled" when
                                it never starts
screensaver_state.py SECONDS    sets it to start after SECONDS without input
                                (as `xset s SECONDS 0`) and prints the state

Exits 2 where the server cannot be reached or has no MIT-SCREEN-SAVER
extension. xset shows the timeout but not the state; libXss's
XScreenSaverQueryInfo does."""
import ctypes
import sys

SCREEN_SAVER_STATES = {0: "off", 1: "on", 3: "disabled"}


class XScreenSaverInfo(ctypes.Structure):
    _fields_ = [
        ("window", ctypes.c_ulong),
        ("state", ctypes.c_int),
        ("kind", ctypes.c_int),
        ("til_or_since", ctypes.c_ulong),
        ("idle", ctypes.c_ulong),
        ("event_mask", ctypes.c_ulong),
    ]


def main():
    try:
        xlib = ctypes.CDLL("libX11.so.6")
        xss = ctypes.CDLL("libXss.so.1")
    except OSError as error:
        print(f"cannot load Xlib or libXss: {error}", file=sys.stderr)
        return 2
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xlib.XSetScreenSaver.argtypes = [ctypes.c_void_p] + [ctypes.c_int] * 4
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xss.XScreenSaverQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 2
    xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XScreenSaverInfo)]

    display = xlib.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 2
    event_base, error_base = ctypes.c_int(), ctypes.c_int()
    info = XScreenSaverInfo()
    try:
        if len(sys.argv) > 1:
            # Blanking and exposures as the server prefers (DefaultBlanking, DefaultExposures).
            xlib.XSetScreenSaver(display, int(sys.argv[1]), 0, 2, 2)
            xlib.XSync(display, 0)
        if not xss.XScreenSaverQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
            print("the server has no MIT-SCREEN-SAVER extension", file=sys.stderr)
            return 2
        if not xss.XScreenSaverQueryInfo(display, xlib.XDefaultRootWindow(display), ctypes.byref(info)):
            print("XScreenSaverQueryInfo failed", file=sys.stderr)
            return 2
    finally:
        xlib.XCloseDisplay(display)
    print(SCREEN_SAVER_STATES.get(info.state, f"unknown {info.state}"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
