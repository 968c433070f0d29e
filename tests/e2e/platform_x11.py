"""The x11 platform: lumeno in an X server of its own.

Each session starts a private Xvfb (the server picks a free display through -displayfd,
so parallel sessions never collide) and starts lumeno on it with no window manager.
Without a window manager a top-level window is not reparented or decorated, so the
window's position on the screen is its client area's. Input goes through xdotool (XTEST,
like a person's mouse and keyboard); screenshots are grabbed with ImageMagick's import as
binary PPM.
"""

import ctypes
import os
import re
import select
import subprocess
import threading
import time

import harness
from harness import START_TIMEOUT, centre, config


def start_xvfb(session, screen):
    """Starts a private Xvfb of that screen (width x height x depth) for the session, logged
    as its "xvfb"; returns the process and its display's name."""
    read_end, write_end = os.pipe()
    with open(session._log_path("xvfb"), "wb") as log:
        xvfb = subprocess.Popen(
            # Without -noreset Xvfb resets when its last client leaves, which drops the
            # resources xrdb set and refuses clients that connect meanwhile.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp",
             "-noreset"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,),
            preexec_fn=harness.die_with_parent)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + START_TIMEOUT
    try:
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                raise RuntimeError("Xvfb did not report its display in time\n" + session.log("xvfb"))
            more = os.read(read_end, 16)
            if not more:
                raise RuntimeError("Xvfb ended before reporting a display\n" + session.log("xvfb"))
            number += more
    finally:
        os.close(read_end)
    return xvfb, ":" + number.decode().strip()


class Session(harness.Session):
    def __init__(self, name, scale=1, poll_delay=None, dpi=None, screen="1024x768x24",
                 locale=harness.FIXED_LOCALE, user_scaling=False):
        """dpi: when given, the server's Xft.dpi resource, which sets lumeno's logical dpi.
        scale: Qt's scale factor (QT_SCALE_FACTOR); with user_scaling instead the server's
        density (Xft.dpi 96 times scale) with Qt's own scaling for it, which the user turns on
        (QT_ENABLE_HIGHDPI_SCALING=1). screen: Xvfb's, width x height x depth."""
        super().__init__(name, scale, poll_delay, locale)
        self.user_scaling = user_scaling
        self.dpi = 96 * scale if user_scaling else dpi
        self.xvfb_screen = screen
        self.xvfb = None
        self.display = None

    def start_display(self):
        self.xvfb, self.display = start_xvfb(self, self.xvfb_screen)
        if self.dpi is not None:
            self._set_dpi()

    def _set_dpi(self):
        path = self._log_path("xresources")
        with open(path, "w") as f:
            f.write("Xft.dpi: %d\n" % self.dpi)
        self.x("xrdb", "-nocpp", "-load", path)

    def stop_display(self):
        harness.stop(self.xvfb)

    def environment(self):
        env = super().environment()
        env["DISPLAY"] = self.display
        if self.user_scaling:
            env["QT_ENABLE_HIGHDPI_SCALING"] = "1"
        elif self.scale != 1:
            env["QT_SCALE_FACTOR"] = str(self.scale)
        return env

    # X tools.

    def x(self, *args, check=True, timeout=10.0):
        """Runs an X client on this session's display; returns its standard output."""
        return self.run_tool(*args, check=check, timeout=timeout).stdout

    def windows(self, title):
        out = self.x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check=False)
        return [int(w) for w in out.split()]

    def exists(self, window):
        return self.run_tool("xwininfo", "-id", str(window), check=False).returncode == 0

    def title(self, window):
        return self.x("xdotool", "getwindowname", str(window)).decode().rstrip("\n")

    def geometry(self, window=None):
        info = self.x("xwininfo", "-id", str(window or self.window)).decode()

        def field(label):
            return int(re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(label), info, re.M).group(1))

        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def close_window(self, window):
        self.x(config.close_window, str(window))

    # Input, as real X events (XTEST) like a person's mouse and keyboard.

    def _move_arguments(self, x, y, window, sync=True):
        return ["mousemove", *(["--sync"] if sync else []), "--window", str(window or self.window),
                str(x * self.scale), str(y * self.scale)]

    def move(self, x, y, window=None):
        self.x("xdotool", *self._move_arguments(x, y, window))

    def click(self, x, y, window=None):
        self.x("xdotool", *self._move_arguments(x, y, window), "click", "1")

    def press(self, rect):
        self.x("xdotool", *self._move_arguments(*centre(rect), None), "mousedown", "1")

    def release(self):
        self.x("xdotool", "mouseup", "1")

    def release_and_click(self, rect):
        # One xdotool call, so that the click follows the release as closely as it can.
        self.x("xdotool", "mouseup", "1", *self._move_arguments(*centre(rect), None, sync=False), "click", "1")

    def type_text(self, text):
        self.x("xdotool", "type", "--delay", "30", text)

    def key(self, *keys, window=None):
        self.x("xdotool", "windowfocus", "--sync", str(window or self.window), "key", "--delay", "30", *keys)

    def park_pointer(self):
        self.x("xdotool", "mousemove", "--sync", "1000", "740")

    def focus_window(self, window=None):
        self.x("xdotool", "windowfocus", "--sync", str(window or self.window))

    def screen(self):
        return harness.parse_ppm(self.x("import", "-silent", "-window", "root", "-depth", "8", "ppm:-"))


# --- the clipboard ----------------------------------------------------------------


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class _XSelectionRequestEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong), ("property", ctypes.c_ulong),
                ("time", ctypes.c_ulong)]


class _XSelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class ClipboardOwner:
    """Owns the CLIPBOARD selection on a display and hands out text as UTF-8, in one property
    (the server's big-requests extension takes a few megabytes in one request).

    Serves requests on a thread of its own until close()."""

    SELECTION_REQUEST = 30
    SELECTION_NOTIFY = 31
    PROP_MODE_REPLACE = 0
    XA_ATOM = 4

    def __init__(self, display, text):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XCreateSimpleWindow.restype = ctypes.c_ulong
        x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + [
            ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
        x.XGetSelectionOwner.restype = ctypes.c_ulong
        x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                      ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x = x
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display %s" % display)
        self.data = text.encode("utf-8")
        root = x.XDefaultRootWindow(self.dpy)
        self.window = x.XCreateSimpleWindow(self.dpy, root, 0, 0, 1, 1, 0, 0, 0)
        atom = lambda name: x.XInternAtom(self.dpy, name.encode(), 0)
        self.clipboard = atom("CLIPBOARD")
        self.targets = atom("TARGETS")
        self.texts = [atom("UTF8_STRING"), atom("text/plain;charset=utf-8"), atom("STRING"), atom("TEXT")]
        self.requests = 0
        x.XSetSelectionOwner(self.dpy, self.clipboard, self.window, 0)
        if x.XGetSelectionOwner(self.dpy, self.clipboard) != self.window:
            raise RuntimeError("could not take the CLIPBOARD selection")
        x.XFlush(self.dpy)
        self.stopping = False
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        x = self.x
        event = _XEvent()
        while not self.stopping:
            if not x.XPending(self.dpy):
                time.sleep(0.005)
                continue
            x.XNextEvent(self.dpy, ctypes.byref(event))
            if event.type == self.SELECTION_REQUEST:
                self._answer(_XSelectionRequestEvent.from_buffer(event))

    def _answer(self, request):
        x = self.x
        prop = request.property or request.target
        if request.target == self.targets:
            atoms = (ctypes.c_ulong * (1 + len(self.texts)))(self.targets, *self.texts)
            x.XChangeProperty(self.dpy, request.requestor, prop, self.XA_ATOM, 32, self.PROP_MODE_REPLACE,
                              atoms, len(atoms))
        elif request.target in self.texts:
            self.requests += 1
            x.XChangeProperty(self.dpy, request.requestor, prop, request.target, 8, self.PROP_MODE_REPLACE,
                              self.data, len(self.data))
        else:
            prop = 0  # refused
        reply = _XEvent()
        notify = _XSelectionEvent.from_buffer(reply)
        notify.type = self.SELECTION_NOTIFY
        notify.send_event = 1
        notify.display = self.dpy
        notify.requestor = request.requestor
        notify.selection = request.selection
        notify.target = request.target
        notify.property = prop
        notify.time = request.time
        x.XSendEvent(self.dpy, request.requestor, 0, 0, ctypes.byref(reply))
        x.XFlush(self.dpy)

    def close(self):
        if self.dpy:
            self.stopping = True
            self.thread.join()
            self.x.XCloseDisplay(self.dpy)
            self.dpy = None
