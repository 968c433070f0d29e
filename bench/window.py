"""Start-up time, peak memory and the processing run of lumeno's own window, in a real
X server: the end-to-end harness's private Xvfb, with no window manager.

Each launch of a program is timed from just before the process is started to the first
screen grab of its window that is not one flat colour (the root window is painted black
first, so an unpainted window shows black or its flat background). Peak memory is the
process's VmHWM. For lumeno, each launch then types 2 and clicks Go with XTest, timed
from the button's release to the first grab in which PicTo's last row shows the curve
applied to PicFrom's last row; then the same again with 5, in the warm process.

Writes a JSON object of medians and samples. Run with /usr/bin/python3.
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
import platform_x11  # noqa: E402
import xwindow  # noqa: E402

TIMEOUT = 20.0


class Server(platform_x11.Session):
    """The harness's private Xvfb, without lumeno started in it."""

    def _start_lumeno(self):
        pass


def peak_rss_mib(process):
    with open("/proc/%d/status" % process.pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    raise RuntimeError("no VmHWM for process %d" % process.pid)


def launch(server, display, command, title, log, client_size=h.CLIENT_SIZE):
    """Starts command (a program and its arguments); returns (process, window, ms from
    process start to first paint)."""
    display.watch_windows()
    start = time.perf_counter()
    process = subprocess.Popen(command, env=server.environment(), stdin=subprocess.DEVNULL,
                               stdout=log, stderr=subprocess.STDOUT, preexec_fn=h.die_with_parent)

    def mapped():
        if process.poll() is not None:
            raise AssertionError("%s ended with status %d" % (command[0], process.returncode))
        return display.mapped_window(title)

    window, _ = xwindow.poll(mapped, TIMEOUT, "a window titled %r" % title)
    whole = (0, 0) + tuple(client_size)

    def painted():
        return display.flat(window, whole) is False

    _, first_paint = xwindow.poll(painted, TIMEOUT, "the first paint of %r" % title)
    return process, window, (first_paint - start) * 1000.0


def last_row(rect):
    x, y, width, height = rect
    return (x, y + height - 1, width, 1)


def type_and_press_go(display, window, text, field, source, result, go, what):
    """Types text into the field at `field`, checks that the last row of the box at `result`
    does not show yet the curve for text applied to the last row of the box at `source`, and
    presses the button at `go`, leaving its release (the click) to the caller. Returns the
    expected last row and where it is. `what` names the result box in the error."""
    display.click(window, *h.centre(field))
    display.focus(window)
    display.keys("Control_L", "a")
    for character in text:
        display.keys({".": "period", "-": "minus"}.get(character, character))
    table = h.curve_table(text)
    expected = bytes(table[c] for c in display.grab(window, last_row(source)))
    target = last_row(result)
    if display.grab(window, target) == expected:
        raise AssertionError("%s already shows the result for b = %s before Go" % (what, text))

    display.move(window, *h.centre(go))
    display.button(True)
    display.sync()
    time.sleep(0.05)  # the press is handled; the release is the click
    return expected, target


def timed_run(display, window, text):
    """Types text into txtBrightness, clicks Go; ms from the click to PicTo's last row shown."""
    expected, target = type_and_press_go(display, window, text, h.TXT_BRIGHTNESS, h.PIC_FROM,
                                         h.PIC_TO, h.CMD_GO, "PicTo")
    start = time.perf_counter()
    display.button(False)
    _, shown = xwindow.poll(lambda: display.grab(window, target) == expected,
                            TIMEOUT, "PicTo's last row for b = %s" % text)
    return (shown - start) * 1000.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--lumeno", required=True)
    parser.add_argument("--bare", required=True, help="the bare Qt window to compare with")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--logs", required=True, help="folder for the programs' output")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    h.config.screenshots = args.logs
    samples = {"startup_ms": [], "startup_bare_qt_ms": [], "rss_mib": [], "rss_bare_qt_mib": [],
               "run_first_ms": [], "run_again_ms": []}
    log_path = os.path.join(args.logs, "bench-programs.log")
    with Server("bench").start() as server, open(log_path, "wb") as log:
        display = xwindow.Display(server.display)
        display.black_root()
        # The first launch of each is left out: it fills the page cache and font caches.
        for launch_number in range(args.runs + 1):
            measured = launch_number > 0

            process, _, startup = launch(server, display, [args.bare], "Bare", log)
            time.sleep(0.3)
            if measured:
                samples["startup_bare_qt_ms"].append(startup)
                samples["rss_bare_qt_mib"].append(peak_rss_mib(process))
            h.stop(process)

            process, window, startup = launch(server, display, [args.lumeno], h.MAIN_TITLE, log)
            time.sleep(0.3)  # idle before typing, as a person would be
            first = timed_run(display, window, "2")
            time.sleep(0.3)
            rss = peak_rss_mib(process)
            again = timed_run(display, window, "5")
            if measured:
                samples["startup_ms"].append(startup)
                samples["run_first_ms"].append(first)
                samples["rss_mib"].append(rss)
                samples["run_again_ms"].append(again)
            h.stop(process)
        display.close()

    result = {name: statistics.median(values) for name, values in samples.items()}
    result["samples"] = samples
    with open(args.out, "w") as out:
        json.dump(result, out, indent=2)


if __name__ == "__main__":
    main()
