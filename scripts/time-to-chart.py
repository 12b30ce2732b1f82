#!/usr/bin/env python3
"""Seconds from starting Plotwell with FILE until its chart is on screen.

The pixel at X,Y of the screen (a point inside the plot where the file's curve is drawn) is read
about every 2 ms through the X library; the chart is on screen when that pixel takes a colour
other than those seen before the curve: black (no window yet), white (the empty chart) and the
window's background. Needs an X display (Xvfb will do):

    Xvfb :140 -screen 0 1600x1000x24 &
    DISPLAY=:140 scripts/time-to-chart.py build/release/bin FILE [X Y]

With --trace every colour change is printed with its time. With --colour RRGGBB the time is
taken when the pixel takes that colour instead: the program panel's line-number gutter (F3F3F3)
tells when a program is shown, for example.
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
NOT_THE_CURVE = {0x000000, 0xFFFFFF, 0xEFEFEF}
TIME_LIMIT_S = 60.0


class Screen:
    """One pixel of the default screen, read with XGetImage."""

    def __init__(self):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display " + os.environ.get("DISPLAY", "(unset)"))
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError(f"cannot read the screen at {x},{y}")
        colour = self.x11.XGetPixel(image, 0, 0) & 0xFFFFFF
        self.x11.XDestroyImage(image)
        return colour


def time_to_chart(bin_dir, path, x, y, trace, wanted=None):
    screen = Screen()
    start = time.monotonic()
    program = subprocess.Popen([os.path.join(bin_dir, "Plotwell"), path],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        last = None
        while True:
            elapsed = time.monotonic() - start
            if program.poll() is not None:
                raise RuntimeError("Plotwell ended before its chart showed")
            if elapsed > TIME_LIMIT_S:
                raise RuntimeError(f"no chart at {x},{y} after {TIME_LIMIT_S:.0f} s")
            colour = screen.pixel(x, y)
            if trace and colour != last:
                print(f"{elapsed:.3f} s  #{colour:06X}")
            last = colour
            if colour == wanted or (wanted is None and colour not in NOT_THE_CURVE):
                return elapsed
            time.sleep(0.002)
    finally:
        program.kill()
        program.wait()


def main(argv):
    trace = "--trace" in argv
    args = [a for a in argv[1:] if a != "--trace"]
    wanted = None
    if "--colour" in args:
        at = args.index("--colour")
        wanted = int(args[at + 1], 16) if at + 1 < len(args) else None
        del args[at:at + 2]
    if len(args) not in (2, 4):
        print(f"usage: {argv[0]} [--trace] [--colour RRGGBB] BIN_DIR FILE [X Y]",
              file=sys.stderr)
        return 2
    x, y = (int(args[2]), int(args[3])) if len(args) == 4 else (800, 450)
    try:
        seconds = time_to_chart(args[0], args[1], x, y, trace, wanted)
        print(f"{'chart' if wanted is None else 'colour'} after {seconds:.3f} s")
    except (RuntimeError, OSError, ValueError) as error:
        print(f"{argv[0]}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
