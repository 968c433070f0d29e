"""The web platform: lumeno's site in a browser of the system's.

--lumeno names the program's .js in the site folder (build-web/site); --browser picks
Debian's chromium or firefox-esr, driven through web/driver.mjs (npm packages installed by
`npm ci` in web/, which never download a browser). Each session serves the site on
127.0.0.1 at a port of its own, opens it in a fresh profile with trusted input, and sees the
page as a person does. Chromium runs headless; Firefox in an Xvfb of its own, as headless
Firefox never gives its page the focus (no focus events, no :focus), which keyboard use
needs. A window is the page's element of a lumeno window, or the open error
dialog, by its id; screenshots are the browser's, in device pixels.

A session's density is a device pixel ratio: dpi / 96, with positions in the client area in
that density's pixels as on the desktop, or `scale` with positions at 96 dpi.
"""

import base64
import functools
import http.server
import json
import os
import subprocess
import threading

import harness
import platform_x11
from harness import FIXED_LOCALE, START_TIMEOUT, centre, config

DRIVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "web", "driver.mjs")
VIEWPORT = (640, 480)  # CSS pixels: the window and its error box
# The browser's language for a session's locale, which gives the page its number format.
LANGUAGES = {"C.UTF-8": "en-US", "de_DE.UTF-8": "de-DE"}

# The page's windows, visible: each lumeno window and the open error box, with its title.
WINDOWS = """[...document.querySelectorAll('section.form, dialog[open]')]
  .filter((e) => e.isConnected && getComputedStyle(e).visibility !== 'hidden')
  .map((e) => [e.id, e.localName === 'dialog' ? e.querySelector('h1').textContent : e.getAttribute('aria-label')])"""
CACHED = """navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller &&
  caches.keys().then((names) => Promise.all(names.map((name) => caches.open(name).then((c) => c.keys()))))
  .then((kept) => kept.flat().length >= 7))"""


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Session(harness.Session):
    def __init__(self, name, scale=1, poll_delay=None, dpi=None, locale=FIXED_LOCALE):
        super().__init__(name, scale, poll_delay, locale)
        self.ratio = dpi / 96 if dpi else scale
        self.unit = self.ratio if dpi else 1  # client-area pixels a CSS pixel
        self.server = None
        self.url = None
        self.xvfb = None

    # The server and the browser.

    def start_display(self):
        site = os.path.dirname(os.path.abspath(config.lumeno))
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(_Quiet, directory=site))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def stop_display(self):
        if self.server is not None:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def _start_lumeno(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        if config.browser == "firefox":
            self.xvfb, env["DISPLAY"] = platform_x11.start_xvfb(self, "1600x1200x24")
        with open(self._log_path("lumeno"), "wb") as log:
            self.lumeno = subprocess.Popen(
                ["node", DRIVER, config.browser, *map(str, VIEWPORT), str(self.ratio), LANGUAGES[self.locale]],
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log, cwd=os.path.dirname(DRIVER), env=env,
                preexec_fn=harness.die_with_parent)
        self.call("goto", self.url)
        self._wait_for_main_window()

    def _wait_for_main_window(self):
        try:
            self.window = self.wait_for_window(harness.MAIN_TITLE, START_TIMEOUT)
        except AssertionError as error:
            raise AssertionError("%s\n%s" % (error, self.log("lumeno"))) from None

    def call(self, *command):
        """Runs a command of the driver; returns its value."""
        self.lumeno.stdin.write((json.dumps(command) + "\n").encode())
        self.lumeno.stdin.flush()
        line = self.lumeno.stdout.readline()
        if not line:
            raise AssertionError("the browser's driver ended\n" + self.log("lumeno"))
        answer = json.loads(line)
        if "error" in answer:
            raise RuntimeError("%s: %s" % (command[0], answer["error"]))
        return answer["value"]

    def close(self):
        if self.lumeno is not None and self.lumeno.poll() is None:
            with open(self._log_path("lumeno"), "a") as log:
                log.write("\n".join(self.call("messages")))
            self.lumeno.stdin.close()  # the driver closes the browser and ends
            try:
                self.lumeno.wait(10)
            except subprocess.TimeoutExpired:
                harness.stop(self.lumeno)
        self.stop_display()
        if self.xvfb is not None:
            harness.stop(self.xvfb)

    def start_again_offline(self):
        """Once the browser keeps the site's files, cuts the network and loads the page again."""
        harness.wait_until(lambda: self.call("evaluate", CACHED), START_TIMEOUT, "the site's files kept")
        self.stop_display()
        self.call("reload")
        self._wait_for_main_window()

    # The program: it has ended when the page says so.

    def exit_status(self):
        status = self.call("evaluate", "document.documentElement.dataset.exitStatus")
        return None if status is None else int(status)

    def alive(self):
        return self.exit_status() is None

    def wait_for_exit(self, timeout=harness.EXIT_TIMEOUT):
        return harness.wait_until(lambda: self.exit_status() is not None and [self.exit_status()], timeout,
                                  "lumeno to end")[0]

    # Windows.

    def windows(self, title):
        return [id for id, name in self.call("evaluate", WINDOWS) if name == title]

    def exists(self, window):
        return self.call("evaluate", "!!document.getElementById(%s)" % json.dumps(window))

    def title(self, window):
        return dict(self.call("evaluate", WINDOWS))[window]

    def _rect(self, window):
        """The window's client area in CSS pixels."""
        rect = self.call("evaluate", "(() => { const r = document.getElementById(%s).getBoundingClientRect(); "
                                     "return [r.left, r.top, r.width, r.height]; })()" % json.dumps(window or self.window))
        return rect

    def geometry(self, window=None):
        return tuple(round(v * self.ratio) for v in self._rect(window))

    def focus_window(self, window=None):
        pass  # the page has the keyboard

    # Input.

    def _point(self, x, y, window):
        left, top = self._rect(window)[:2]
        return left + x / self.unit, top + y / self.unit

    def move(self, x, y, window=None):
        self.call("move", *self._point(x, y, window))

    def click(self, x, y, window=None):
        self.call("click", *self._point(x, y, window))

    def press(self, rect):
        self.move(*centre(rect))
        self.call("down")

    def release(self):
        self.call("up")

    def release_and_click(self, rect):
        self.call("up_and_click", *self._point(*centre(rect), None))

    def type_text(self, text):
        self.call("type", text)

    def key(self, *keys, window=None):
        self.call("keys", *keys)

    def park_pointer(self):
        self.call("move", VIEWPORT[0] - 1, VIEWPORT[1] - 1)

    def screen(self):
        png = base64.b64decode(self.call("screenshot"))
        ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png, capture_output=True,
                             check=True, timeout=10).stdout
        return harness.parse_ppm(ppm)
