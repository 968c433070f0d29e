"""The wayland platform: lumeno as a native Wayland client of a headless sway of its own.

sway runs with no X server (XWayland disabled), so lumeno must use Qt's Wayland plugin. It
floats lumeno's windows at their own size with no border, so a window's area on the screen
is its client area. sway refuses to run as root: as root, the harness runs it as the user
nobody (every Debian system has it, and it owns no files), with a private runtime directory
that only that user can enter; lumeno and the tools run as the caller and reach sway's
socket by its path. A headless seat has no input devices: the virtual_input helper gives it
one pointer and one keyboard for the whole session. Screenshots come from grim.
"""

import json
import os
import pwd
import shutil
import subprocess
import tempfile

import harness
from harness import START_TIMEOUT, centre, config

APP_ID = "lumeno"  # the name of the desktop entry, which Wayland compositors match windows by
# The output layout in logical pixels; an output at scale s has s times as many device pixels.
LAYOUT_SIZE = (1024, 768)

SWAY_CONFIG = """\
xwayland disable
output * resolution {width}x{height} scale {scale}
for_window [app_id="{app_id}"] floating enable
default_border none
default_floating_border none
focus_follows_mouse no
"""


class Session(harness.Session):
    SHOWS_POINTER = True

    def __init__(self, name, scale=1, poll_delay=None, locale=harness.FIXED_LOCALE):
        """scale: the output's scale."""
        super().__init__(name, scale, poll_delay, locale)
        self.sway_process = None
        self.input = None
        self.sway_runtime = None
        self.client_runtime = None
        self.socket = None
        self.ipc_socket = None

    def start_display(self):
        self.sway_runtime = tempfile.mkdtemp(prefix="lumeno-sway-")
        self.client_runtime = tempfile.mkdtemp(prefix="lumeno-client-")
        config_path = os.path.join(self.sway_runtime, "config")
        with open(config_path, "w") as f:
            f.write(SWAY_CONFIG.format(width=LAYOUT_SIZE[0] * self.scale, height=LAYOUT_SIZE[1] * self.scale,
                                       scale=self.scale, app_id=APP_ID))
        command = ["sway", "--config", config_path]
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.sway_runtime, nobody.pw_uid, nobody.pw_gid)
            command = ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                       "--clear-groups", "--pdeathsig=SIGKILL", "--"] + command
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.sway_runtime,
               "XDG_RUNTIME_DIR": self.sway_runtime, "WLR_BACKENDS": "headless",
               "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        with open(self._log_path("sway"), "wb") as log:
            self.sway_process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                                 stderr=log, preexec_fn=harness.die_with_parent)

        def sockets():
            if self.sway_process.poll() is not None:
                raise RuntimeError("sway ended with status %d\n%s"
                                   % (self.sway_process.returncode, self.log("sway")))
            names = os.listdir(self.sway_runtime)
            wayland = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            return wayland and ipc and (wayland[0], ipc[0])

        found = harness.wait_until(sockets, START_TIMEOUT, "sway's sockets")
        self.socket, self.ipc_socket = (os.path.join(self.sway_runtime, n) for n in found)
        harness.wait_until(lambda: self.sway("-t", "get_outputs", check=False), START_TIMEOUT,
                           "sway's output")
        with open(self._log_path("input"), "wb") as log:
            self.input = subprocess.Popen(
                [config.virtual_input, *map(str, LAYOUT_SIZE)], env=self.environment(),
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log, text=True,
                preexec_fn=harness.die_with_parent)
        self.park_pointer()

    def stop_display(self):
        if self.input is not None and self.input.poll() is None:
            self.input.stdin.close()
        harness.stop(self.input)
        harness.stop(self.sway_process)
        for directory in (self.sway_runtime, self.client_runtime):
            if directory:
                shutil.rmtree(directory, ignore_errors=True)

    def environment(self):
        env = super().environment()
        env.update(WAYLAND_DISPLAY=self.socket, XDG_RUNTIME_DIR=self.client_runtime,
                   SWAYSOCK=self.ipc_socket, XDG_SESSION_TYPE="wayland")
        return env

    # sway.

    def sway(self, *args, check=True):
        """Runs swaymsg; returns its JSON answer (None when it fails and check is off)."""
        done = self.run_tool("swaymsg", "--raw", *args, check=check)
        return json.loads(done.stdout) if done.returncode == 0 else None

    def _nodes(self):
        """sway's windows of lumeno, by id."""
        found = {}

        def walk(node):
            if node.get("app_id") == APP_ID:
                found[node["id"]] = node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(self.sway("-t", "get_tree"))
        return found

    def windows(self, title):
        return [i for i, node in self._nodes().items() if node.get("name") == title and node.get("visible")]

    def exists(self, window):
        return window in self._nodes()

    def title(self, window):
        return self._nodes()[window]["name"]

    def _layout_geometry(self, window):
        node = self._nodes()[window or self.window]
        rect, inner = node["rect"], node["window_rect"]
        return rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"], inner["height"]

    def geometry(self, window=None):
        return harness.scaled_rect(self._layout_geometry(window), self.scale)

    def close_window(self, window):
        self.sway("[con_id=%d]" % window, "kill")

    # Input through the virtual pointer and keyboard; positions are logical pixels.

    def _input(self, command):
        self.input.stdin.write(command + "\n")
        self.input.stdin.flush()
        answer = self.input.stdout.readline()
        if answer != "done\n":
            raise RuntimeError("virtual_input failed on %r\n%s" % (command, self.log("input")))

    def move(self, x, y, window=None):
        left, top = self._layout_geometry(window)[:2]
        self._input("move %d %d" % (left + x, top + y))

    def click(self, x, y, window=None):
        self.move(x, y, window)
        self._input("press")
        self._input("release")

    def press(self, rect):
        self.move(*centre(rect))
        self._input("press")

    def release(self):
        self._input("release")

    def type_text(self, text):
        self._input("type " + text)

    def key(self, *keys, window=None):
        window = window or self.window
        if not self._nodes()[window].get("focused"):
            self.sway("[con_id=%d]" % window, "focus")
        self._input("key " + " ".join(keys))

    def park_pointer(self):
        self._input("move %d %d" % (LAYOUT_SIZE[0] - 4, LAYOUT_SIZE[1] - 4))

    def screen(self):
        return harness.parse_ppm(self.run_tool("grim", "-c", "-t", "ppm", "-").stdout)
