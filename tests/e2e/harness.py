"""Drives the real lumeno executable on a display of its own, as a person would.

A Session starts a private display server, starts lumeno on it and offers what a person
does: click, type, press keys, look at the screen. What differs between platforms (the
server, input, finding windows, screenshots) is in a module platform_NAME.py beside this
one, whose Session class derives from the Session here; --platform NAME picks it:
  x11      Xvfb with no window manager, xdotool, ImageMagick's import
  wayland  a headless sway, the virtual_input helper, grim
  wine     lumeno.exe under Wine in Xvfb, with x11's tools
  web      the browser build's site in headless Chromium or Firefox ESR (--browser)

Positions in the client area are in the window definition's pixels at 96 dpi (CLIENT_SIZE
and the rectangles below); screenshots and window geometries are in screen pixels, which
are `scale` times as many. Screenshots the tests look at are also kept as PNG files for a
person to inspect.

Standard library only; run with /usr/bin/python3.
"""

import argparse
import atexit
import ctypes
import importlib
import os
import signal
import struct
import subprocess
import sys
import tempfile
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

# The locale lumeno and the tools run in unless a session names another, whatever the
# developer's: the number format, for one, decides which texts lumeno reads as numbers.
FIXED_LOCALE = "C.UTF-8"

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

    def scaled(self, factor):
        """Every pixel as a factor x factor square, as a display at that scale shows it."""
        rows = []
        stride = self.width * 3
        for r in range(self.height):
            row = self.data[r * stride : (r + 1) * stride]
            wide = b"".join(row[i : i + 3] * factor for i in range(0, stride, 3))
            rows.extend([wide] * factor)
        return Image(self.width * factor, self.height * factor, b"".join(rows))

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

    def difference_from_colour(self, colour):
        """As difference(), against an image of this size all in colour (r, g, b)."""
        return self.difference(Image(self.width, self.height, bytes(colour) * (self.width * self.height)))

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
    platform = "x11"
    lumeno = None
    picture = None
    screenshots = None
    close_window = None  # x11: sends a window the window manager's close message
    virtual_input = None  # wayland: the pointer and keyboard helper
    slow_poll = None  # a library that, preloaded, slows lumeno's polls (POLL_DELAY_MS)
    wine_prefix = None  # wine: the Wine prefix lumeno.exe runs in
    browser = None  # web: chromium or firefox


config = Config()


def parse_command_line(argv):
    """Takes the harness's options from argv; returns the rest (for unittest.main)."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--platform", default=os.environ.get("LUMENO_PLATFORM", "x11"))
    for option in ("lumeno", "picture", "screenshots", "close-window", "virtual-input", "slow-poll",
                   "wine-prefix", "browser"):
        variable = "LUMENO_" + ("EXECUTABLE" if option == "lumeno" else option.replace("-", "_").upper())
        parser.add_argument("--" + option, default=os.environ.get(variable))
    known, rest = parser.parse_known_args(argv[1:])
    for name, value in vars(known).items():
        setattr(config, name, value)
    config.screenshots = config.screenshots or tempfile.mkdtemp(prefix="lumeno-screenshots-")
    if not os.path.exists(os.path.join(os.path.dirname(__file__), "platform_%s.py" % config.platform)):
        sys.exit("no platform %r" % config.platform)
    for name in ("lumeno", "picture"):
        if not getattr(config, name):
            sys.exit("missing --%s" % name)
    return argv[:1] + rest


# --- processes --------------------------------------------------------------------


def die_with_parent():
    """Run in the child before exec: end it when the harness dies, e.g. killed by a timeout."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def _raise_on_termination():
    """SIGTERM unwinds like Ctrl-C, so that cleanups stop lumeno and the display server."""
    def handler(signum, frame):
        raise KeyboardInterrupt("signal %d" % signum)

    signal.signal(signal.SIGTERM, handler)


def stop(process, grace=3.0):
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

def new_session(name, **options):
    """A Session of the platform chosen with --platform; options as its class takes them."""
    return importlib.import_module("platform_" + config.platform).Session(name, **options)


class Session:
    """lumeno on a display of its own. Use as a context manager, or call close().

    A platform's Session provides the display server and the primitives below that raise
    NotImplementedError; the rest is shared."""

    # Whether screenshots show the mouse pointer.
    SHOWS_POINTER = False

    def __init__(self, name, scale=1, poll_delay=None, locale=FIXED_LOCALE):
        """scale: device pixels a pixel, as a high-density screen has them.
        poll_delay: when given, lumeno sleeps that many milliseconds before each poll, so a
        run lasts long enough to be watched (needs --slow-poll).
        locale: the name LANG gives lumeno and the tools; no other locale variable is set."""
        self.name = name
        self.scale = scale
        self.poll_delay = poll_delay
        self.locale = locale
        self.lumeno = None
        self.window = None
        self.shots = 0
        # Each platform's screenshots and logs in a folder of their own, so that the same case
        # on two platforms can run at the same time.
        self.directory = os.path.join(config.screenshots, "-".join(filter(None, (config.platform, config.browser))))
        os.makedirs(self.directory, exist_ok=True)
        for old in os.listdir(self.directory):
            if old.startswith(name + "-") and old.endswith((".png", ".log")):
                os.remove(os.path.join(self.directory, old))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # The display server and the program.

    def start(self):
        _raise_on_termination()
        atexit.register(self.close)  # also when a signal ends the run outside the test's cleanup
        self.start_display()
        self._start_lumeno()
        return self

    def start_display(self):
        raise NotImplementedError

    def stop_display(self):
        raise NotImplementedError

    def environment(self):
        """The environment of lumeno and of the tools that work on its display."""
        env = dict(os.environ)
        # The caller's environment without what would point lumeno elsewhere than this display
        # (such as Qt's offscreen platform, which unit tests use) or change its scaling.
        for name in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                     "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI",
                     "DISPLAY", "WAYLAND_DISPLAY"):
            env.pop(name, None)
        for name in [name for name in env if name.startswith("LC_") or name == "LANGUAGE"]:
            del env[name]
        env["LANG"] = self.locale
        return env

    def run_tool(self, *args, check=True, timeout=10.0):
        """Runs a program in this session's environment with its output captured; returns the
        CompletedProcess. With check, a failure raises an error that shows both outputs.

        The output goes through files, not pipes: a tool that leaves a process behind holding
        them (wine leaves its server running for a while) must not keep the caller waiting."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(args, env=self.environment(), stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=timeout)
            out.seek(0)
            err.seek(0)
            done.stdout, done.stderr = out.read(), err.read()
        if check and done.returncode != 0:
            raise RuntimeError("%s failed with status %d\n--- stdout ---\n%s\n--- stderr ---\n%s"
                               % (" ".join(args), done.returncode, done.stdout.decode(errors="replace"),
                                  done.stderr.decode(errors="replace")))
        return done

    def command(self):
        """The command line that starts lumeno."""
        return [config.lumeno]

    def _start_lumeno(self):
        env = self.environment()
        if self.poll_delay is not None:
            env["LD_PRELOAD"] = config.slow_poll
            env["POLL_DELAY_MS"] = str(self.poll_delay)
            # A sanitizer build wants its run-time first among the libraries.
            env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        with open(self._log_path("lumeno"), "wb") as log:
            self.lumeno = subprocess.Popen(
                self.command(), env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                preexec_fn=die_with_parent)

        def shown():
            if self.lumeno.poll() is not None:
                raise AssertionError("lumeno ended with status %d before showing its window\n%s"
                                     % (self.lumeno.returncode, self.log("lumeno")))
            return self.windows(MAIN_TITLE)

        try:
            self.window = wait_until(shown, START_TIMEOUT, "a visible %s window" % MAIN_TITLE)[0]
        except AssertionError as error:
            raise AssertionError("%s\n%s" % (error, self.log("lumeno"))) from None

    def close(self):
        stop(self.lumeno)
        self.stop_display()

    def _log_path(self, which):
        """What lumeno or the display server prints is kept beside the screenshots."""
        return os.path.join(self.directory, "%s-%s.log" % (self.name, which))

    def log(self, which):
        """What lumeno or the display server printed, for failure messages."""
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

    # Windows: a platform's own ids.

    def windows(self, title):
        """Ids of lumeno's visible windows whose title is exactly title."""
        raise NotImplementedError

    def exists(self, window):
        raise NotImplementedError

    def title(self, window):
        raise NotImplementedError

    def geometry(self, window=None):
        """(x, y, width, height) of a window's client area on the screen, in screen pixels."""
        raise NotImplementedError

    def close_window(self, window):
        """Asks a window to close, as the close button of its frame does."""
        raise NotImplementedError

    def wait_for_window(self, title, timeout=WAIT_TIMEOUT):
        found = wait_until(lambda: self.windows(title), timeout, "a visible window titled %r" % title)
        return found[0]

    def wait_for_no_window(self, title, timeout=WAIT_TIMEOUT):
        wait_until(lambda: not self.windows(title), timeout, "no visible window titled %r" % title)

    # Input, as real input events. Positions are in the window's client area.

    def move(self, x, y, window=None):
        """Moves the pointer to (x, y) in the window (default: the main window)."""
        raise NotImplementedError

    def press(self, rect):
        """Moves to the middle of a control and presses the left button, without releasing it."""
        raise NotImplementedError

    def release(self):
        """Releases the left button: a button pressed with press() is clicked now."""
        raise NotImplementedError

    def click(self, x, y, window=None):
        """Left click at (x, y) in the window (default: the main window)."""
        raise NotImplementedError

    def release_and_click(self, rect):
        """Releases the left button, then clicks the middle of a control in the main window."""
        self.release()
        self.click_control(rect)

    def type_text(self, text):
        """Types into whatever has the keyboard focus."""
        raise NotImplementedError

    def key(self, *keys, window=None):
        """Gives window (default: the main window) the keyboard focus and presses keys, each
        an X keysym name with modifiers before it joined by "+" (ctrl+a)."""
        raise NotImplementedError

    def park_pointer(self):
        """Moves the pointer off the window, so no control shows a hover state."""
        raise NotImplementedError

    def focus_window(self, window=None):
        """Gives a window (default: the main window) the keyboard focus."""
        raise NotImplementedError

    def click_control(self, rect):
        self.click(*centre(rect))

    def type_parameter(self, text, field=TXT_BRIGHTNESS):
        """Clicks into the text field (its rectangle in the client area) and replaces its text."""
        self.click_control(field)
        self.key("ctrl+a")
        self.type_text(text)

    def enter_parameter(self, text):
        """Types the parameter and clicks Go."""
        self.type_parameter(text)
        self.click_control(CMD_GO)

    # The screen.

    def screen(self):
        raise NotImplementedError

    def client_area(self, window=None):
        """A window's client area (default: the main window's) from a screenshot."""
        return self.screen().crop(self.geometry(window))

    def keep(self, image, label):
        """Saves image as a PNG named after the session and label; returns the path."""
        self.shots += 1
        path = os.path.join(self.directory, "%s-%02d-%s.png" % (self.name, self.shots, label))
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


# --- checks on the client area ----------------------------------------------------


def scaled_rect(rect, scale):
    return tuple(v * scale for v in rect)


def shown_part(picture):
    """The part of a picture that a box shows: its top-left corner, at the box's size."""
    return picture.crop((0, 0, PIC_FROM[2], PIC_FROM[3]))


def picture_shown(picture, scale=1):
    """Both boxes show the top-left of the built-in picture, as after start-up."""
    expected = shown_part(picture).scaled(scale)

    def check(image):
        for name, rect in (("PicFrom", PIC_FROM), ("PicTo", PIC_TO)):
            problem = image.crop(scaled_rect(rect, scale)).difference(expected)
            if problem:
                return "%s: %s" % (name, problem)
        return None

    return check


def result_shown(picture, text, scale=1):
    """PicFrom still shows the picture and PicTo shows the curve for text applied to PicFrom,
    both read from the same screenshot."""
    expected_from = shown_part(picture).scaled(scale)
    table = curve_table(text)

    def check(image):
        shown_from = image.crop(scaled_rect(PIC_FROM, scale))
        problem = shown_from.difference(expected_from)
        if problem:
            return "PicFrom: " + problem
        problem = image.crop(scaled_rect(PIC_TO, scale)).difference(shown_from.map_components(table))
        return "PicTo against the curve for b = %s: %s" % (text, problem) if problem else None

    return check
