#!/usr/bin/env python3
"""x11probe: what a user of the desktop program sees, read from the X server itself.

  x11probe.py keys WINDOW COUNT INTERVAL OUT   press a key COUNT times, INTERVAL s apart; for each, the ms
                                               from the key press until the letter shows in the outgoing
                                               area ("<epoch s> <ms>" lines in OUT); each letter is
                                               removed again with BackSpace (not timed)
  x11probe.py arrival WINDOW OUT               write "ready" to OUT, wait until text shows in the incoming
                                               area, then write the epoch s at which it showed
  x11probe.py blur                             take the keyboard focus away from every window

The key goes in through the XTEST extension, as a keyboard's would, and "shows" means the pixels of the
outgoing area's first line on the X server changed: what the program has drawn, not what it holds.
Only libX11 and libXtst are used (through ctypes), so nothing needs building.
"""
import ctypes
import ctypes.util
import sys
import time

X11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
XTST = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("rest", ctypes.c_byte * 256)]


X11.XOpenDisplay.restype = ctypes.c_void_p
X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
X11.XGetImage.restype = ctypes.POINTER(XImage)
X11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
X11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
X11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
X11.XStringToKeysym.restype = ctypes.c_ulong
X11.XStringToKeysym.argtypes = [ctypes.c_char_p]
X11.XKeysymToKeycode.restype = ctypes.c_ubyte
X11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
X11.XFlush.argtypes = [ctypes.c_void_p]
X11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
XTST.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
# Where the outgoing area's first line is inside the main window: the client area (393 x 232) sits
# under the menu bar, the area at (8, 32) is 329 wide; a few pixels of frame and margin left out, and
# the scroll bar on the right.
CLIENT_HEIGHT, LEFT, TOP, WIDTH, LINE = 232, 8 + 3, 32 + 3, 329 - 3 - 20, 18
INCOMING_TOP = 144 + 3  # the incoming area's first line, the same way


class Display:
    def __init__(self):
        self.handle = X11.XOpenDisplay(None)
        if not self.handle:
            sys.exit("x11probe: cannot open the display")

    def key(self, name):
        code = X11.XKeysymToKeycode(self.handle, X11.XStringToKeysym(name.encode()))
        XTST.XTestFakeKeyEvent(self.handle, code, 1, 0)
        XTST.XTestFakeKeyEvent(self.handle, code, 0, 0)
        X11.XFlush(self.handle)

    def dark_columns(self, window, x, y, width, height):
        """Columns of the rectangle with a dark pixel: the text cursor is one, a letter several."""
        image = X11.XGetImage(self.handle, window, x, y, width, height, ALL_PLANES, Z_PIXMAP)
        if not image:
            return -1
        picture = image.contents
        step = picture.bits_per_pixel // 8
        dark = bytearray(width)
        for row in range(height):
            line = ctypes.string_at(ctypes.addressof(picture.data.contents) + row * picture.bytes_per_line,
                                    width * step)
            # The green byte of each pixel (0x00RRGGBB in memory order B, G, R, X): black text is below 128.
            for column, value in enumerate(line[1::step]):
                if value < 128:
                    dark[column] = 1
        X11.XDestroyImage(image)
        return sum(dark)


def probe_keys(window, count, interval, out):
    display = Display()
    attributes = XWindowAttributes()
    X11.XGetWindowAttributes(display.handle, window, ctypes.byref(attributes))
    area = (LEFT, attributes.height - CLIENT_HEIGHT + TOP, WIDTH, LINE)

    def wait_until(shown, limit):
        started = time.monotonic()
        while time.monotonic() - started < limit:
            columns = display.dark_columns(window, *area)
            if (columns >= 3) == shown:
                return True
        return False

    with open(out, "w") as results:
        for _ in range(count):
            wait_until(False, 5.0)  # the previous letter is gone
            pressed_at = time.time()
            started = time.monotonic()
            display.key("w")
            shown = wait_until(True, 10.0)
            elapsed = (time.monotonic() - started) * 1000.0
            results.write(f"{pressed_at:.3f} {elapsed:.1f}{'' if shown else ' timeout'}\n")
            results.flush()
            display.key("BackSpace")
            time.sleep(interval)


def probe_arrival(window, out):
    display = Display()
    attributes = XWindowAttributes()
    X11.XGetWindowAttributes(display.handle, window, ctypes.byref(attributes))
    area = (LEFT, attributes.height - CLIENT_HEIGHT + INCOMING_TOP, WIDTH, LINE)
    with open(out, "w") as result:
        result.write("ready\n")  # looking from now on: the caller may send
        result.flush()
        while display.dark_columns(window, *area) < 3:
            time.sleep(0.001)  # a poll a millisecond: the copy under test shares the processors
        result.write(f"{time.time():.6f}\n")


def blur():
    display = Display()
    X11.XSetInputFocus(display.handle, 0, 0, 0)  # None: no window has the keyboard
    X11.XSync(display.handle, 0)


if __name__ == "__main__":
    if len(sys.argv) == 6 and sys.argv[1] == "keys":
        probe_keys(int(sys.argv[2], 0), int(sys.argv[3]), float(sys.argv[4]), sys.argv[5])
    elif len(sys.argv) == 4 and sys.argv[1] == "arrival":
        probe_arrival(int(sys.argv[2], 0), sys.argv[3])
    elif len(sys.argv) == 2 and sys.argv[1] == "blur":
        blur()
    else:
        sys.exit(__doc__)
