"""A few calls of Xlib and XTest through ctypes, for timing windows to the millisecond.

xdotool and import start a process per call, which costs more than what is measured
here; these calls talk to the X server over one connection instead.

Standard library only; run with /usr/bin/python3.
"""

import ctypes
import time

_x11 = ctypes.CDLL("libX11.so.6")
_xtst = ctypes.CDLL("libXtst.so.6")

_Window = ctypes.c_ulong
_ZPixmap = 2
_AllPlanes = 0xFFFFFFFFFFFFFFFF
_MapNotify = 19
_SubstructureNotifyMask = 1 << 19
_RevertToParent = 2


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]  # followed by fields not used here


class _XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", _Window), ("window", _Window)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", _XMapEvent), ("pad", ctypes.c_long * 24)]


_ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)

for name, result, args in [
        ("XOpenDisplay", ctypes.c_void_p, [ctypes.c_char_p]),
        ("XCloseDisplay", ctypes.c_int, [ctypes.c_void_p]),
        ("XDefaultRootWindow", _Window, [ctypes.c_void_p]),
        ("XBlackPixel", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_int]),
        ("XSetWindowBackground", ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.c_ulong]),
        ("XClearWindow", ctypes.c_int, [ctypes.c_void_p, _Window]),
        ("XSelectInput", ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.c_long]),
        ("XPending", ctypes.c_int, [ctypes.c_void_p]),
        ("XNextEvent", ctypes.c_int, [ctypes.c_void_p, ctypes.POINTER(_XEvent)]),
        ("XFetchName", ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.POINTER(ctypes.c_char_p)]),
        ("XFree", ctypes.c_int, [ctypes.c_void_p]),
        ("XTranslateCoordinates", ctypes.c_int,
         [ctypes.c_void_p, _Window, _Window, ctypes.c_int, ctypes.c_int,
          ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(_Window)]),
        ("XGetImage", ctypes.POINTER(_XImage),
         [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
          ctypes.c_ulong, ctypes.c_int]),
        ("XDestroyImage", ctypes.c_int, [ctypes.POINTER(_XImage)]),
        ("XGetGeometry", ctypes.c_int,
         [ctypes.c_void_p, _Window, ctypes.POINTER(_Window)] + [ctypes.POINTER(ctypes.c_int)] * 2
         + [ctypes.POINTER(ctypes.c_uint)] * 4),
        ("XMoveWindow", ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int]),
        ("XSync", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XFlush", ctypes.c_int, [ctypes.c_void_p]),
        ("XSetInputFocus", ctypes.c_int, [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_ulong]),
        ("XStringToKeysym", ctypes.c_ulong, [ctypes.c_char_p]),
        ("XKeysymToKeycode", ctypes.c_ubyte, [ctypes.c_void_p, ctypes.c_ulong]),
        ("XSetErrorHandler", ctypes.c_void_p, [_ErrorHandler])]:
    function = getattr(_x11, name)
    function.restype, function.argtypes = result, args

for name, args in [
        ("XTestFakeMotionEvent", [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_ulong]),
        ("XTestFakeButtonEvent", [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]),
        ("XTestFakeKeyEvent", [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong])]:
    function = getattr(_xtst, name)
    function.restype, function.argtypes = ctypes.c_int, args


# An error (such as asking for the pixels of a window that has just gone) must not end
# this process, which Xlib's default handler does; the call that failed returns nothing.
@_ErrorHandler
def _ignore_error(display, event):
    return 0


_x11.XSetErrorHandler(_ignore_error)


class Display:
    """One connection to an X server; without a window manager, as the harness runs."""

    def __init__(self, name):
        self.handle = _x11.XOpenDisplay(name.encode())
        if not self.handle:
            raise RuntimeError("cannot open display %s" % name)
        self.root = _x11.XDefaultRootWindow(self.handle)

    def close(self):
        _x11.XCloseDisplay(self.handle)

    def black_root(self):
        """Paints the root window black, so that nothing but a window's own paint shows
        anything but black where the window is."""
        _x11.XSetWindowBackground(self.handle, self.root, _x11.XBlackPixel(self.handle, 0))
        _x11.XClearWindow(self.handle, self.root)
        _x11.XSync(self.handle, 0)

    def watch_windows(self):
        """From now on, the mapping of every top-level window is reported to wait_for_map."""
        _x11.XSelectInput(self.handle, self.root, _SubstructureNotifyMask)
        _x11.XSync(self.handle, 1)  # drop what happened before

    def title(self, window):
        name = ctypes.c_char_p()
        if not _x11.XFetchName(self.handle, window, ctypes.byref(name)) or not name.value:
            return None
        text = name.value.decode(errors="replace")
        _x11.XFree(name)
        return text

    def mapped_window(self, title):
        """A window titled title that was mapped since the last call, or None; does not wait."""
        event = _XEvent()
        while _x11.XPending(self.handle):
            _x11.XNextEvent(self.handle, ctypes.byref(event))
            if event.type == _MapNotify and self.title(event.xmap.window) == title:
                return event.xmap.window
        return None

    def origin(self, window):
        """Where the window's top-left pixel is on the screen."""
        x, y, child = ctypes.c_int(), ctypes.c_int(), _Window()
        _x11.XTranslateCoordinates(self.handle, window, self.root, 0, 0, ctypes.byref(x),
                                   ctypes.byref(y), ctypes.byref(child))
        return x.value, y.value

    def size(self, window):
        """(width, height) of a window."""
        root, x, y = _Window(), ctypes.c_int(), ctypes.c_int()
        width, height, border, depth = (ctypes.c_uint() for _ in range(4))
        _x11.XGetGeometry(self.handle, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                          ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                          ctypes.byref(depth))
        return width.value, height.value

    def place(self, window, x, y):
        """Moves a top-level window so that its top-left pixel is at (x, y) on the screen."""
        _x11.XMoveWindow(self.handle, window, x, y)
        self.sync()

    def _pixels(self, window, rect):
        """(bytes per line, the X image's bytes) of rect (x, y, width, height) of a window,
        4 bytes a pixel (blue, green, red, unused); None when it cannot be read."""
        x, y, width, height = rect
        image = _x11.XGetImage(self.handle, window, x, y, width, height, _AllPlanes, _ZPixmap)
        if not image:
            return None
        try:
            info = image.contents
            if info.bits_per_pixel != 32 or info.red_mask != 0xFF0000 or info.blue_mask != 0xFF:
                raise RuntimeError("unexpected X image format: %d bits, red mask %#x"
                                   % (info.bits_per_pixel, info.red_mask))
            return info.bytes_per_line, ctypes.string_at(info.data, info.bytes_per_line * height)
        finally:
            _x11.XDestroyImage(image)

    def grab(self, window, rect):
        """The RGB bytes of rect (x, y, width, height) of a window, rows top to bottom; None
        when the window or the rectangle cannot be read."""
        pixels = self._pixels(window, rect)
        if pixels is None:
            return None
        stride, raw = pixels
        width, height = rect[2], rect[3]
        rgb = bytearray(width * height * 3)
        for row in range(height):
            line = raw[row * stride : row * stride + width * 4]
            out = row * width * 3
            rgb[out : out + width * 3 : 3] = line[2::4]
            rgb[out + 1 : out + width * 3 : 3] = line[1::4]
            rgb[out + 2 : out + width * 3 : 3] = line[0::4]
        return bytes(rgb)

    def flat(self, window, rect):
        """Whether rect of a window is all one colour; None when it cannot be read."""
        pixels = self._pixels(window, rect)
        if pixels is None:
            return None
        width = rect[2] * 4
        raw = b"".join(pixels[1][r * pixels[0] : r * pixels[0] + width] for r in range(rect[3]))
        return raw == raw[:4] * (len(raw) // 4)

    def sync(self):
        _x11.XSync(self.handle, 0)

    def focus(self, window):
        _x11.XSetInputFocus(self.handle, window, _RevertToParent, 0)
        self.sync()

    def move(self, window, x, y):
        """Moves the pointer to (x, y) in the window."""
        left, top = self.origin(window)
        _xtst.XTestFakeMotionEvent(self.handle, -1, left + x, top + y, 0)
        self.sync()

    def button(self, pressed):
        _xtst.XTestFakeButtonEvent(self.handle, 1, 1 if pressed else 0, 0)
        _x11.XFlush(self.handle)

    def click(self, window, x, y):
        self.move(window, x, y)
        self.button(True)
        self.button(False)
        self.sync()

    def keys(self, *names):
        """Presses the keys named (X key symbols such as "Control_L", "a", "2") in order
        and releases them in reverse order."""
        codes = [_x11.XKeysymToKeycode(self.handle, _x11.XStringToKeysym(name.encode()))
                 for name in names]
        for code in codes:
            _xtst.XTestFakeKeyEvent(self.handle, code, 1, 0)
        for code in reversed(codes):
            _xtst.XTestFakeKeyEvent(self.handle, code, 0, 0)
        self.sync()


def poll(condition, timeout, what, interval=0.0005):
    """Calls condition() until it returns a true value; returns (value, time.perf_counter()
    right after the call that returned it)."""
    deadline = time.perf_counter() + timeout
    while True:
        value = condition()
        now = time.perf_counter()
        if value:
            return value, now
        if now > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)
