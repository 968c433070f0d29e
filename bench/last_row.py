"""The time from the click on Go to the last row on screen: lumeno against the floor,
the least a processing run in the same window must do (bench/FloorWindow.cpp), in one
private Xvfb with no window manager.

At each density (the server's Xft.dpi, which sets both programs' logical dpi), each
program is started once and its window placed beside the other's, so that neither
covers the other and nothing but the runs happens in between. Starting once measures
what the user feels on a click in a running window: start-up is timed by window.py,
and a fresh process per run would add its page faults and lazy set-up to every run.
The first run of each process is left out of the medians and reported apart.

Runs alternate between the programs, in turns that swap which goes first every round.
A run types b into the field (5 and 2 in turn, so each run changes the result), moves
the pointer to Go and presses the button with XTest, and times from the release to the
first XGetImage of the result box's last row showing the curve applied to the source
box's last row; the time of the read before, which did not show it yet, is kept too.
Positions come from Form1's twips at the density. Each run also records the CPU time
the program (all its threads) and the X server took from the release to the last row,
from /proc/PID/task/*/schedstat; the X server's includes the polling reads.

With --wine-prefix both programs are Windows programs (lumeno.exe and
bench/Win32FloorWindow.cpp) run under Wine in that prefix, which is given each density as
its LogPixels; Wine draws each window's frame inside its X window, and positions are
shifted by the frame to the client area.

Writes a JSON object per density and prints a summary. Run with /usr/bin/python3.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402
import platform_wine  # noqa: E402
import window as window_bench  # noqa: E402
import xwindow  # noqa: E402

# Form1's geometry in twips (app/Form1.cpp): left, top, width, height.
CLIENT_TWIPS = (7500, 5328)
PIC_FROM_TWIPS = (120, 120, 2292, 2532)
PIC_TO_TWIPS = (3360, 120, 2292, 2532)
TXT_BRIGHTNESS_TWIPS = (1440, 3480, 615, 375)
CMD_GO_TWIPS = (4560, 3480, 1455, 615)
BOX_BORDER = 2  # pixels on each side

# Wide enough for two windows side by side at 192 dpi.
SCREEN = (2048, 768)
FLOOR_TITLE = "Floor"
VALUES = ("5", "2")


class Layout:
    """Where Form1's controls are at a density: twips to the nearest pixel, ties to even,
    as lumeno lays out (Python's round on a float does the same)."""

    def __init__(self, dpi):
        twips_per_pixel = 1440.0 / dpi

        def pixels(twips):
            return tuple(round(t / twips_per_pixel) for t in twips)

        def inside_border(twips):
            x, y, w, h = pixels(twips)
            return (x + BOX_BORDER, y + BOX_BORDER, w - 2 * BOX_BORDER, h - 2 * BOX_BORDER)

        self.client_size = pixels(CLIENT_TWIPS)
        self.pic_from = inside_border(PIC_FROM_TWIPS)
        self.pic_to = inside_border(PIC_TO_TWIPS)
        self.txt_brightness = pixels(TXT_BRIGHTNESS_TWIPS)
        self.cmd_go = pixels(CMD_GO_TWIPS)


class WineFrame:
    """A display on which a window's positions are those of the Windows client area that
    Wine draws, with its frame, inside the X window."""

    def __init__(self, display, dpi):
        self.display = display
        self.border, self.top = platform_wine.FRAME[dpi]

    def __getattr__(self, name):
        return getattr(self.display, name)

    def _client(self, rect):
        return (rect[0] + self.border, rect[1] + self.top) + tuple(rect[2:])

    def grab(self, window, rect):
        return self.display.grab(window, self._client(rect))

    def flat(self, window, rect):
        return self.display.flat(window, self._client(rect))

    def size(self, window):
        width, height = self.display.size(window)
        return width - 2 * self.border, height - self.top - self.border

    def move(self, window, x, y):
        self.display.move(window, *self._client((x, y)))

    def focus(self, window):
        """Nothing: Wine moves the focus to the window clicked itself, and loses track of it
        when another X client sets it."""

    def click(self, window, x, y):
        self.move(window, x, y)
        self.button(True)
        self.button(False)
        self.sync()
        time.sleep(0.2)  # Wine gives the window the X focus after it has handled the click


class Wine:
    """Runs Windows programs in a Wine prefix."""

    def __init__(self, prefix):
        self.environment = ["WINEPREFIX=" + prefix, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="]

    def command(self, *command):
        return ["env", *self.environment, "wine", *command]

    def run(self, server, *command):
        subprocess.run(["env", *self.environment, *command], env=server.environment(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=60)

    def set_dpi(self, server, dpi):
        """Ends the prefix's programs and gives it the density for the next ones."""
        self.stop(server)
        self.run(server, "wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                 "/t", "REG_DWORD", "/d", str(dpi), "/f")

    def stop(self, server):
        subprocess.run(["env", *self.environment, "wineserver", "-k"], stderr=subprocess.DEVNULL)
        self.run(server, "wineserver", "-w")


def windows_process(program):
    """The process of a Windows program that Wine runs, named by its path (64-bit Wine starts
    it from start.exe, as a process of its own, named by its Windows path on drive Z:, which is
    the root folder; 32-bit Wine runs it in the process started, named as it was started). The
    whole path tells it from the same program run from another folder."""
    path = os.path.abspath(program).encode()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as cmdline:
                name = cmdline.read().split(b"\0")[0].replace(b"\\", b"/")
            name = name.removeprefix(b"Z:").removeprefix(b"z:")
            if os.path.normpath(os.path.join(os.readlink(b"/proc/%s/cwd" % pid.encode()), name)) == path:
                return int(pid)
        except OSError:  # a process that has just ended
            pass
    raise AssertionError("no Wine process runs %s" % program)


def cpu_ns(pid):
    """CPU time of all threads of a process so far, in ns."""
    total = 0
    tasks = "/proc/%d/task" % pid
    for task in os.listdir(tasks):
        try:
            with open("%s/%s/schedstat" % (tasks, task)) as stat:
                total += int(stat.read().split()[0])
        except FileNotFoundError:  # a thread that has just ended
            pass
    return total


class Program:
    """One of the two programs, running in the server with its window at `left` (None: where
    it opens)."""

    def __init__(self, name, command, title, server, display, layout, left, picture, log, wine=False):
        self.name = name
        self.display = display
        self.layout = layout
        self.process, self.window, _ = window_bench.launch(server, display, command, title, log,
                                                           layout.client_size)
        self.pid = windows_process(command[-1]) if wine else self.process.pid
        if left is not None:
            display.place(self.window, left, 0)
        time.sleep(0.3)  # repainted where the other window covered it
        size = display.size(self.window)
        if size != layout.client_size:
            raise AssertionError("%s: client area %r, expected %r at this density"
                                 % (name, size, layout.client_size))
        # The source box shows the picture from its top-left corner: the layout is right.
        width, height = min(layout.pic_from[2], picture.width), min(layout.pic_from[3], picture.height)
        shown = display.grab(self.window, layout.pic_from[:2] + (width, height))
        if shown != picture.crop((0, 0, width, height)).data:
            raise AssertionError("%s: the source box does not show the picture at %r"
                                 % (name, layout.pic_from))

    def timed_run(self, text, server_pid, poll_interval):
        """Types text into the field and clicks Go; returns (ms from the click to the first
        read of the result box's last row showing the result, ms to the last read before
        that, the program's CPU ms, the server's CPU ms, reads)."""
        display, window, layout = self.display, self.window, self.layout
        expected, target = window_bench.type_and_press_go(
            display, window, text, layout.txt_brightness, layout.pic_from, layout.pic_to,
            layout.cmd_go, self.name)
        reads = []  # when each read returned

        def shown():
            result = display.grab(window, target) == expected
            reads.append(time.perf_counter())
            return result

        program_before, server_before = cpu_ns(self.pid), cpu_ns(server_pid)
        start = time.perf_counter()
        display.button(False)
        _, end = xwindow.poll(shown, window_bench.TIMEOUT, "%s's last row for b = %s"
                              % (self.name, text), poll_interval)
        program_cpu = (cpu_ns(self.pid) - program_before) / 1e6
        server_cpu = (cpu_ns(server_pid) - server_before) / 1e6
        time.sleep(0.15)  # the run ends and the program idles
        before = reads[-2] if len(reads) > 1 else start
        return ((end - start) * 1000.0, (before - start) * 1000.0, program_cpu, server_cpu,
                len(reads))

    def stop(self):
        h.stop(self.process)


def spread(values):
    quartiles = statistics.quantiles(values, n=4)
    return {"min": min(values), "q1": quartiles[0], "median": statistics.median(values),
            "q3": quartiles[2], "max": max(values)}


def measure(server, display, dpi, args, picture, log):
    """Both programs at one density; the results as a dict."""
    server.dpi = dpi
    server._set_dpi()
    layout = Layout(dpi)
    load_before = open("/proc/loadavg").read().split()[:3]
    if args.wine_prefix:
        wine = Wine(args.wine_prefix)
        wine.set_dpi(server, dpi)
        display = WineFrame(display, dpi)
        commands = wine.command(args.lumeno), wine.command(args.floor)
        # Wine does not follow a move of its windows behind its back: lumeno stays where it
        # opens, top left, and the floor opens in the right half of the screen.
        lefts = None, None
    else:
        commands = [args.lumeno], [args.floor, args.picture]
        lefts = 0, SCREEN[0] // 2
    wine_mode = bool(args.wine_prefix)
    programs = [
        Program("lumeno", commands[0], h.MAIN_TITLE, server, display, layout, lefts[0], picture, log,
                wine_mode),
        Program("floor", commands[1], FLOOR_TITLE, server, display, layout, lefts[1], picture, log,
                wine_mode)]
    keys = ("ms", "ms_read_before", "cpu_ms", "server_cpu_ms", "reads")
    samples = {p.name: {key: [] for key in keys} for p in programs}
    first = {}
    try:
        for turn in range(args.runs + 1):
            order = programs if turn % 2 == 0 else programs[::-1]
            for program in order:
                run = program.timed_run(VALUES[turn % 2], server.xvfb.pid, args.poll_interval)
                if turn == 0:
                    first[program.name] = run[0]
                    continue
                for key, value in zip(keys, run):
                    samples[program.name][key].append(value)
    finally:
        for program in programs:
            program.stop()
        if args.wine_prefix:
            wine.stop(server)
    lumeno, floor = samples["lumeno"], samples["floor"]
    return {
        "dpi": dpi,
        "client_size": layout.client_size,
        "box_size": layout.pic_to[2:],
        "lumeno_ms": statistics.median(lumeno["ms"]),
        "floor_ms": statistics.median(floor["ms"]),
        "lumeno_read_before_ms": statistics.median(lumeno["ms_read_before"]),
        "floor_read_before_ms": statistics.median(floor["ms_read_before"]),
        "ratio": statistics.median(lumeno["ms"]) / statistics.median(floor["ms"]),
        "lumeno_spread_ms": spread(lumeno["ms"]),
        "floor_spread_ms": spread(floor["ms"]),
        "lumeno_first_ms": first["lumeno"],
        "floor_first_ms": first["floor"],
        "lumeno_cpu_ms": statistics.median(lumeno["cpu_ms"]),
        "floor_cpu_ms": statistics.median(floor["cpu_ms"]),
        "lumeno_server_cpu_ms": statistics.median(lumeno["server_cpu_ms"]),
        "floor_server_cpu_ms": statistics.median(floor["server_cpu_ms"]),
        "lumeno_reads": statistics.median(lumeno["reads"]),
        "floor_reads": statistics.median(floor["reads"]),
        "load_before": load_before,
        "load_after": open("/proc/loadavg").read().split()[:3],
        "samples": samples,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--lumeno", required=True)
    parser.add_argument("--floor", required=True, help="bench/floor_window, or with --wine-prefix"
                        " bench/win32_floor_window.exe")
    parser.add_argument("--picture", required=True, help="resources/picture.bmp")
    parser.add_argument("--wine-prefix", help="run lumeno.exe and the Win32 floor in this Wine prefix")
    parser.add_argument("--dpi", type=int, nargs="+", default=[96, 192])
    parser.add_argument("--runs", type=int, default=21, help="measured runs of each program")
    parser.add_argument("--poll-interval", type=float, default=0.0005,
                        help="seconds between reads of the last row")
    parser.add_argument("--logs", required=True, help="folder for the programs' output")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    h.config.screenshots = args.logs
    picture = h.read_bmp(args.picture)
    results = {}
    log_path = os.path.join(args.logs, "last-row-programs.log")
    server = window_bench.Server("last-row", screen="%dx%dx24" % SCREEN)
    with server.start(), open(log_path, "wb") as log:
        display = xwindow.Display(server.display)
        display.black_root()
        for dpi in args.dpi:
            result = measure(server, display, dpi, args, picture, log)
            results[str(dpi)] = result
            print("%3d dpi, box %d x %d: lumeno %.2f ms (%.2f-%.2f), floor %.2f ms (%.2f-%.2f),"
                  " ratio %.3f; CPU per run: lumeno %.2f + X %.2f ms, floor %.2f + X %.2f ms;"
                  " load %s" % (
                      dpi, *result["box_size"], result["lumeno_ms"],
                      result["lumeno_spread_ms"]["q1"], result["lumeno_spread_ms"]["q3"],
                      result["floor_ms"], result["floor_spread_ms"]["q1"],
                      result["floor_spread_ms"]["q3"], result["ratio"], result["lumeno_cpu_ms"],
                      result["lumeno_server_cpu_ms"], result["floor_cpu_ms"],
                      result["floor_server_cpu_ms"], " ".join(result["load_before"])))
        display.close()
    with open(args.out, "w") as out:
        json.dump(results, out, indent=2)


if __name__ == "__main__":
    main()
