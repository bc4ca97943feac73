"""Direct access to the X display the Wine desktop runs on, through Xlib and XTest (ctypes): pointer
presses stamped with the clock Wine's QueryPerformanceCounter reads (CLOCK_MONOTONIC_RAW), and quick
looks at a screen rectangle. A subprocess per click (xdotool) would add its own start-up to every figure.
"""

import ctypes
import ctypes.util
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")

_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XFlush.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XGetImage.restype = ctypes.c_void_p
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XFree.argtypes = [ctypes.c_void_p]
_xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_ulong]
_xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

_ALL_PLANES = 0xFFFFFFFF
SAMPLE_STEP = 4
_Z_PIXMAP = 2


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


def now_us():
    """Microseconds on the clock that Wine's QueryPerformanceCounter reads."""
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW) // 1000


class XServer:
    def __init__(self, display):
        self._dpy = _x11.XOpenDisplay(display.encode())
        if not self._dpy:
            raise RuntimeError(f"cannot open display {display}")
        self._root = _x11.XDefaultRootWindow(self._dpy)

    def close(self):
        if self._dpy:
            _x11.XCloseDisplay(self._dpy)
            self._dpy = None

    def move(self, point):
        _xtst.XTestFakeMotionEvent(self._dpy, -1, point[0], point[1], 0)
        _x11.XSync(self._dpy, 0)

    def press(self, point, button=1, hold_s=0.005):
        """Moves to point, presses and releases; returns the press time (now_us) taken just before the
        press is sent."""
        self.move(point)
        pressed = now_us()
        _xtst.XTestFakeButtonEvent(self._dpy, button, 1, 0)
        _x11.XFlush(self._dpy)
        time.sleep(hold_s)
        _xtst.XTestFakeButtonEvent(self._dpy, button, 0, 0)
        _x11.XFlush(self._dpy)
        return pressed

    def button(self, down, button=1):
        """Presses or releases a button where the pointer is; returns the time taken just before."""
        stamp = now_us()
        _xtst.XTestFakeButtonEvent(self._dpy, button, 1 if down else 0, 0)
        _x11.XFlush(self._dpy)
        return stamp

    def sample(self, rect, step=SAMPLE_STEP):
        """Every step-th pixel of rect (left, top, width, height), row by row, as bytes (4 a pixel)."""
        left, top, width, height = rect
        image_pointer = _x11.XGetImage(self._dpy, self._root, left, top, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not image_pointer:
            raise RuntimeError("XGetImage failed")
        try:
            image = _XImage.from_address(image_pointer)
            if image.bits_per_pixel != 32:
                raise RuntimeError(f"{image.bits_per_pixel} bits per pixel; the bench needs 32")
            data = ctypes.string_at(image.data, image.bytes_per_line * image.height)
            rows = []
            for y in range(0, height, step):
                row = data[y * image.bytes_per_line:y * image.bytes_per_line + width * 4]
                rows.append(b"".join(row[x * 4:x * 4 + 3] for x in range(0, width, step)))
            return b"".join(rows)
        finally:
            _x11.XFree(ctypes.c_void_p(image.data))
            _x11.XFree(ctypes.c_void_p(image_pointer))


def similarity(a, b):
    """Share of the sampled pixels that are equal in a and b."""
    pixels = len(a) // 3
    if pixels == 0 or len(a) != len(b):
        return 0.0
    same = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] == b[i:i + 3])
    return same / pixels
