"""Drives the real lumeno executable in an X server of its own.

Each Session starts a private Xvfb (the server picks a free display through -displayfd,
so parallel sessions never collide), starts lumeno on it with no window manager, and
offers what a person does: click, type, press keys, look at the screen. Without a
window manager a top-level window is not reparented or decorated, so the window's
position on the screen is its client area's.

Screenshots are grabbed with ImageMagick's import as binary PPM and parsed here; those
the tests look at are also kept as PNG files for a person to inspect.

Standard library only; run with /usr/bin/python3.
"""

import argparse
import atexit
import ctypes
import os
import re
import select
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

# Where things are in the client area (x, y, width, height), in pixels at 96 dpi.
CLIENT_SIZE = (500, 355)
PIC_FROM = (10, 10, 149, 165)  # client area inside the 2-pixel border
PIC_TO = (226, 10, 149, 165)
TXT_BRIGHTNESS = (96, 232, 41, 25)
CMD_GO = (304, 232, 97, 41)

MAIN_TITLE = "Form1"
ERROR_TITLE = "lumeno"

# Long enough for a loaded two-core machine; a passing wait returns as soon as it can.
START_TIMEOUT = 20.0
WAIT_TIMEOUT = 15.0
EXIT_TIMEOUT = 5.0


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


# --- the brightness curve ---------------------------------------------------------


def to_single(value):
    """value rounded to the nearest single-precision float, as a Python float."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def curve(v, b):
    """One colour component through the curve; b is already a single-precision value.

    Python floats are IEEE doubles and round() rounds half to even.
    """
    x = v / 255.0
    p = b * x
    y = p / (p + 1.0)
    t = y * 255.0
    return round(t)


def curve_table(text):
    """The 256 outputs of the curve for the parameter as typed into the field."""
    b = to_single(float(text))
    return [curve(v, b) for v in range(256)]


# --- images -----------------------------------------------------------------------


class Image:
    """RGB pixels, rows top to bottom, 3 bytes a pixel."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise ValueError("%d bytes for %d x %d pixels" % (len(data), width, height))
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i : i + 3])

    def crop(self, rect):
        x, y, w, h = rect
        if x < 0 or y < 0 or x + w > self.width or y + h > self.height:
            raise ValueError("%r is outside the %d x %d image" % (rect, self.width, self.height))
        stride = self.width * 3
        rows = [self.data[(y + r) * stride + x * 3 : (y + r) * stride + (x + w) * 3] for r in range(h)]
        return Image(w, h, b"".join(rows))

    def map_components(self, table):
        """Every component replaced by table[component]."""
        return Image(self.width, self.height, bytes(table[c] for c in self.data))

    def difference(self, expected, limit=5):
        """None when equal, otherwise a description of how this differs from expected."""
        if (self.width, self.height) != (expected.width, expected.height):
            return "size %d x %d, expected %d x %d" % (
                self.width, self.height, expected.width, expected.height)
        if self.data == expected.data:
            return None
        wrong = []
        for i in range(0, len(self.data), 3):
            if self.data[i : i + 3] != expected.data[i : i + 3]:
                wrong.append(i // 3)
        shown = ", ".join(
            "(%d, %d) is %s, expected %s"
            % (n % self.width, n // self.width, self.pixel(n % self.width, n // self.width),
               expected.pixel(n % self.width, n // self.width))
            for n in wrong[:limit]
        )
        return "%d of %d pixels differ: %s%s" % (
            len(wrong), self.width * self.height, shown, ", ..." if len(wrong) > limit else "")

    def save_png(self, path):
        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        stride = self.width * 3
        raw = b"".join(b"\0" + self.data[r * stride : (r + 1) * stride] for r in range(self.height))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6))
                      + chunk(b"IEND", b""))


def parse_ppm(blob):
    """A binary (P6) PPM with 8-bit components, as ImageMagick writes it."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while pos < len(blob) and blob[pos : pos + 1].isspace():
            pos += 1
        if blob[pos : pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while end < len(blob) and not blob[end : end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    pos += 1  # the single whitespace byte before the pixels
    if fields[0] != b"P6":
        raise ValueError("not a binary PPM: %r" % fields[0])
    width, height, maxval = (int(f) for f in fields[1:])
    if maxval != 255:
        raise ValueError("PPM with maximum value %d, expected 255" % maxval)
    return Image(width, height, blob[pos : pos + width * height * 3])


def read_bmp(path):
    """An uncompressed 24-bit bottom-up BMP, such as the built-in picture."""
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:2] != b"BM":
        raise ValueError("%s is not a BMP file" % path)
    offset = struct.unpack_from("<I", blob, 10)[0]
    width, height = struct.unpack_from("<ii", blob, 18)
    bits, compression = struct.unpack_from("<HI", blob, 28)
    if bits != 24 or compression != 0 or height <= 0:
        raise ValueError("%s: %d bits, compression %d, height %d; expected 24-bit bottom-up"
                         % (path, bits, compression, height))
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for r in range(height):
        start = offset + (height - 1 - r) * stride
        bgr = blob[start : start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return Image(width, height, b"".join(rows))


# --- configuration ----------------------------------------------------------------


class Config:
    lumeno = None
    close_window = None
    picture = None
    screenshots = None


config = Config()


def parse_command_line(argv):
    """Takes the harness's options from argv; returns the rest (for unittest.main)."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--lumeno", default=os.environ.get("LUMENO_EXECUTABLE"))
    parser.add_argument("--close-window", default=os.environ.get("LUMENO_CLOSE_WINDOW"))
    parser.add_argument("--picture", default=os.environ.get("LUMENO_PICTURE"))
    parser.add_argument("--screenshots", default=os.environ.get("LUMENO_SCREENSHOTS"))
    known, rest = parser.parse_known_args(argv[1:])
    config.lumeno = known.lumeno
    config.close_window = known.close_window
    config.picture = known.picture
    config.screenshots = known.screenshots or tempfile.mkdtemp(prefix="lumeno-screenshots-")
    for name in ("lumeno", "close_window", "picture"):
        if not getattr(config, name):
            sys.exit("missing --%s (or its LUMENO_ environment variable)" % name.replace("_", "-"))
    return argv[:1] + rest


# --- processes --------------------------------------------------------------------


def _die_with_parent():
    """Run in the child before exec: end it when the harness dies, e.g. killed by a timeout."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def _raise_on_termination():
    """SIGTERM unwinds like Ctrl-C, so that cleanups stop lumeno and Xvfb."""
    def handler(signum, frame):
        raise KeyboardInterrupt("signal %d" % signum)

    signal.signal(signal.SIGTERM, handler)


def _stop(process, grace=3.0):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def wait_until(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Session:
    """A private Xvfb with lumeno running on it. Use as a context manager, or call close()."""

    def __init__(self, name, dpi=None, screen="1024x768x24"):
        """dpi: when given, the server's Xft.dpi resource, which sets lumeno's logical dpi.
        screen: the server's screen, width x height x depth."""
        self.name = name
        self.dpi = dpi
        self.xvfb_screen = screen
        self.xvfb = None
        self.lumeno = None
        self.display = None
        self.window = None
        self.shots = 0
        os.makedirs(config.screenshots, exist_ok=True)
        for old in os.listdir(config.screenshots):
            if old.startswith(name + "-") and old.endswith((".png", ".log")):
                os.remove(os.path.join(config.screenshots, old))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # The X server and the program.

    def start(self):
        _raise_on_termination()
        atexit.register(self.close)  # also when a signal ends the run outside the test's cleanup
        self._start_xvfb()
        if self.dpi is not None:
            self._set_dpi()
        self._start_lumeno()
        return self

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        with open(self._log_path("xvfb"), "wb") as log:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.xvfb_screen, "-nolisten", "tcp"]
                # Xvfb resets when its last client leaves, which drops the resources xrdb set.
                + (["-noreset"] if self.dpi is not None else []),
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,),
                preexec_fn=_die_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise RuntimeError("Xvfb did not report its display in time\n" + self.log("xvfb"))
                more = os.read(read_end, 16)
                if not more:
                    raise RuntimeError("Xvfb ended before reporting a display\n" + self.log("xvfb"))
                number += more
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _set_dpi(self):
        path = self._log_path("xresources")
        with open(path, "w") as f:
            f.write("Xft.dpi: %d\n" % self.dpi)
        self.x("xrdb", "-nocpp", "-load", path)

    def _environment(self):
        env = dict(os.environ)
        # The caller's environment without what would point lumeno elsewhere than this display
        # (such as Qt's offscreen platform, which unit tests use) or change its scaling.
        for name in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                     "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI",
                     "WAYLAND_DISPLAY"):
            env.pop(name, None)
        env["DISPLAY"] = self.display
        return env

    def _start_lumeno(self):
        with open(self._log_path("lumeno"), "wb") as log:
            self.lumeno = subprocess.Popen(
                [config.lumeno], env=self._environment(), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        search = subprocess.Popen(
            ["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % MAIN_TITLE],
            env=self._environment(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            deadline = time.monotonic() + START_TIMEOUT
            while search.poll() is None:
                if self.lumeno.poll() is not None:
                    raise AssertionError("lumeno ended with status %d before showing its window\n%s"
                                         % (self.lumeno.returncode, self.log("lumeno")))
                if time.monotonic() > deadline:
                    raise AssertionError("no visible %s window after %.0f s\n%s"
                                         % (MAIN_TITLE, START_TIMEOUT, self.log("lumeno")))
                time.sleep(0.05)
            found = search.stdout.read().split()
        finally:
            _stop(search)
            search.stdout.close()
        if not found:
            raise AssertionError("xdotool found no %s window" % MAIN_TITLE)
        self.window = int(found[0])

    def close(self):
        _stop(self.lumeno)
        _stop(self.xvfb)

    def _log_path(self, which):
        """What lumeno or Xvfb prints is kept beside the screenshots."""
        return os.path.join(config.screenshots, "%s-%s.log" % (self.name, which))

    def log(self, which):
        """What lumeno or Xvfb printed, for failure messages."""
        try:
            with open(self._log_path(which), errors="replace") as f:
                text = f.read().strip()
        except OSError:
            return ""
        return "--- %s output ---\n%s" % (which, text or "(nothing)")

    def alive(self):
        return self.lumeno.poll() is None

    def wait_for_exit(self, timeout=EXIT_TIMEOUT):
        """lumeno's exit status; fails when it is still running after timeout seconds."""
        try:
            return self.lumeno.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("lumeno still running %.0f s later\n%s" % (timeout, self.log("lumeno")))

    # X tools.

    def x(self, *args, check=True, timeout=10.0):
        """Runs an X client on this session's display; returns its standard output."""
        done = subprocess.run(list(args), env=self._environment(), stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
        if check and done.returncode != 0:
            raise RuntimeError("%s failed with status %d: %s"
                               % (" ".join(args), done.returncode, done.stderr.decode(errors="replace")))
        return done.stdout

    def windows(self, title):
        """Ids of the visible windows whose title is exactly title."""
        out = self.x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check=False)
        return [int(w) for w in out.split()]

    def wait_for_window(self, title, timeout=WAIT_TIMEOUT):
        found = wait_until(lambda: self.windows(title), timeout, "a visible window titled %r" % title)
        return found[0]

    def wait_for_no_window(self, title, timeout=WAIT_TIMEOUT):
        wait_until(lambda: not self.windows(title), timeout, "no visible window titled %r" % title)

    def exists(self, window):
        return subprocess.run(["xwininfo", "-id", str(window)], env=self._environment(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    def title(self, window):
        return self.x("xdotool", "getwindowname", str(window)).decode().rstrip("\n")

    def geometry(self, window=None):
        """(x, y, width, height) of a window on the screen; without a window manager the
        window's own area is its client area."""
        info = self.x("xwininfo", "-id", str(window or self.window)).decode()

        def field(label):
            return int(re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(label), info, re.M).group(1))

        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    # Input, as real X events (XTEST) like a person's mouse and keyboard.

    def click(self, x, y, window=None):
        """Left click at (x, y) in the window's client area."""
        self.x("xdotool", "mousemove", "--sync", "--window", str(window or self.window), str(x), str(y),
               "click", "1")

    def click_control(self, rect):
        self.click(*centre(rect))

    def press(self, rect):
        """Moves to the middle of a control and presses the left button, without releasing it."""
        x, y = centre(rect)
        self.x("xdotool", "mousemove", "--sync", "--window", str(self.window), str(x), str(y),
               "mousedown", "1")

    def release(self):
        """Releases the left button: a button pressed with press() is clicked now."""
        self.x("xdotool", "mouseup", "1")

    def type_text(self, text):
        """Types into whatever has the keyboard focus."""
        self.x("xdotool", "type", "--delay", "30", text)

    def key(self, *keys, window=None):
        """Gives window (default: the main window) the keyboard focus and presses keys."""
        self.x("xdotool", "windowfocus", "--sync", str(window or self.window), "key", "--delay", "30", *keys)

    def park_pointer(self):
        """Moves the pointer off the window, so no control shows a hover state."""
        self.x("xdotool", "mousemove", "--sync", "1000", "740")

    def type_parameter(self, text, field=TXT_BRIGHTNESS):
        """Clicks into the text field (its rectangle on the screen) and replaces its text."""
        self.click_control(field)
        self.key("ctrl+a")
        self.type_text(text)

    def enter_parameter(self, text):
        """Types the parameter and clicks Go."""
        self.type_parameter(text)
        self.click_control(CMD_GO)

    # The screen.

    def screen(self):
        return parse_ppm(self.x("import", "-silent", "-window", "root", "-depth", "8", "ppm:-"))

    def client_area(self, screen=None):
        """The main window's client area from a screenshot."""
        return (screen or self.screen()).crop(self.geometry())

    def keep(self, image, label):
        """Saves image as a PNG named after the session and label; returns the path."""
        self.shots += 1
        path = os.path.join(config.screenshots, "%s-%02d-%s.png" % (self.name, self.shots, label))
        image.save_png(path)
        return path

    def wait_for_client_area(self, check, label, timeout=WAIT_TIMEOUT):
        """Polls screenshots of the client area until check(image) returns None (meaning all is
        as expected; otherwise it returns what is wrong). The last screenshot is kept as label;
        on timeout the failure says what was still wrong and where the screenshot is."""
        deadline = time.monotonic() + timeout
        while True:
            image = self.client_area()
            problem = check(image)
            if problem is None or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        path = self.keep(image, label)
        if problem is not None:
            raise AssertionError("%s after %.0f s: %s\nscreenshot: %s\n%s"
                                 % (label, timeout, problem, path, self.log("lumeno")))
        return image


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


# --- checks on the client area ----------------------------------------------------


def picture_shown(picture):
    """Both boxes show the top-left of the built-in picture, as after start-up."""
    expected = picture.crop((0, 0, PIC_FROM[2], PIC_FROM[3]))

    def check(image):
        for name, rect in (("PicFrom", PIC_FROM), ("PicTo", PIC_TO)):
            problem = image.crop(rect).difference(expected)
            if problem:
                return "%s: %s" % (name, problem)
        return None

    return check


def result_shown(picture, text):
    """PicFrom still shows the picture and PicTo shows the curve for text applied to PicFrom,
    both read from the same screenshot."""
    expected_from = picture.crop((0, 0, PIC_FROM[2], PIC_FROM[3]))
    table = curve_table(text)

    def check(image):
        shown_from = image.crop(PIC_FROM)
        problem = shown_from.difference(expected_from)
        if problem:
            return "PicFrom: " + problem
        problem = image.crop(PIC_TO).difference(shown_from.map_components(table))
        return "PicTo against the curve for b = %s: %s" % (text, problem) if problem else None

    return check
