"""Gathers what scripts/bench measured into one JSON file and prints one table of the
figures against lumeno's goals.

Inputs: Google Benchmark JSON of map_bench and run_bench (with repetitions), and the JSON
of bench/window.py, bench/last_row.py, bench/peers.py and bench/web_bench.mjs. Every figure is a wall-clock
median over the repetitions. With --markdown the table, with where and when it was measured,
also replaces the one between the marker lines BEGIN and END of a Markdown file, so that a
rerun updates the document. Run with /usr/bin/python3.
"""

import argparse
import datetime
import json
import os
import statistics
import sys

# The lines of the Markdown file between which the table goes.
BEGIN = "<!-- bench table: scripts/bench replaces the lines from here to the end line -->"
END = "<!-- end of bench table -->"


def repetitions(path):
    """{benchmark name: [its repetitions' entries]}, aggregates left out."""
    runs = {}
    for entry in json.load(open(path))["benchmarks"]:
        if entry.get("run_type") == "iteration":
            runs.setdefault(entry["run_name"], []).append(entry)
    return runs


def to_ms(entry, key):
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry["time_unit"]]
    return entry[key] * factor


def wall_ns_per_px(entries):
    """Median ns per pixel by the wall clock. The ns_per_px counter is a rate over the
    benchmark's own time, CPU time unless it uses real time, and in seconds per pixel;
    scaling it by real / CPU time gives the wall-clock figure either way."""
    figures = []
    for entry in entries:
        real = entry["name"].endswith("/real_time")
        scale = 1.0 if real else entry["real_time"] / entry["cpu_time"]
        figures.append(entry["ns_per_px"] * 1e9 * scale)
    return statistics.median(figures)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for name in ("map", "run", "window", "last-row", "peers", "web", "out"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--windows-last-row", nargs=2, action="append", default=[], metavar=("ARCH", "JSON"),
                        help="last_row.py's figures for the Windows program of ARCH under Wine")
    parser.add_argument("--markdown", metavar="FILE",
                        help="a Markdown file whose table between its marker lines is replaced by this one")
    parser.add_argument("--note", action="append", default=[],
                        help="a line to print under the table, such as why a row is missing")
    parser.add_argument("--load-before", help="the load average before measuring, for --markdown")
    parser.add_argument("--load-after", help="the load average after measuring, for --markdown")
    args = parser.parse_args()

    maps = repetitions(args.map)
    runs = repetitions(args.run)
    window = json.load(open(args.window))
    last_row = json.load(open(args.last_row))
    peers = json.load(open(args.peers))

    by_size = {}
    for name, entries in runs.items():
        pixels = int(entries[0]["pixels"])
        by_size[pixels] = {
            "ms": statistics.median(to_ms(e, "real_time") for e in entries),
            "ns_per_px": wall_ns_per_px(entries),
            "max_stall_ms": statistics.median(e["max_stall_ms"] for e in entries),
            "max_stall_worst_ms": max(e["max_stall_ms"] for e in entries),
        }
    sizes = []
    for row in peers["sizes"]:
        if row["pixels"] not in by_size:
            sys.exit("report: run_bench has no run of %d x %d" % (row["width"], row["height"]))
        sizes.append(dict(row, lumeno_run_ms=by_size[row["pixels"]]["ms"]))
    largest = max(peers["sizes"], key=lambda r: r["pixels"])
    # The client area of a picture box at 192 dpi, the largest a window has, as last_row.py
    # laid it out.
    if "192" not in last_row:
        sys.exit("report: last_row.py measured no run at 192 dpi")
    box_192_dpi = tuple(last_row["192"]["box_size"])
    largest_box = by_size.get(box_192_dpi[0] * box_192_dpi[1])
    if largest_box is None:
        sys.exit("report: run_bench has no run of %d x %d" % box_192_dpi)
    pixels = largest["pixels"]

    def peer_ns(key):
        return None if largest[key] is None else largest[key] * 1e6 / pixels

    # ImageMagick is left out at the largest size when it would break the time budget;
    # its figure is then the one at the largest size it ran.
    fx = max((row for row in peers["sizes"] if row["imagemagick_fx_ms"] is not None),
             key=lambda row: row["pixels"], default=None)

    results = {
        "map_ns_per_px": wall_ns_per_px(maps["BM_MapTable"]),
        "map_direct_ns_per_px": wall_ns_per_px(maps["BM_MapDirect"]),
        "memcpy_ns_per_px": wall_ns_per_px(maps["BM_Memcpy"]),
        "opencv_lut_1t_ns_per_px": peer_ns("opencv_lut_1t_ms"),
        "pillow_point_ns_per_px": peer_ns("pillow_point_ms"),
        "imagemagick_fx_ns_per_px": fx and fx["imagemagick_fx_ms"] * 1e6 / fx["pixels"],
        "imagemagick_fx_size": fx and "%dx%d" % (fx["width"], fx["height"]),
        "run_ns_per_px": by_size[pixels]["ns_per_px"],
        "click_to_last_row": last_row,
        "click_to_last_row_windows": {arch: json.load(open(path)) for arch, path in args.windows_last_row},
        "browser": json.load(open(args.web)),
        "run_defined_window_ms": window["run_first_ms"],
        "run_defined_window_again_ms": window["run_again_ms"],
        # The longest stall of a run in the largest box a window has: at 192 dpi.
        "max_stall_ms": largest_box["max_stall_ms"],
        "max_stall_worst_ms": largest_box["max_stall_worst_ms"],
        "startup_ms": window["startup_ms"],
        "startup_bare_qt_ms": window["startup_bare_qt_ms"],
        "rss_mib": window["rss_mib"],
        "rss_bare_qt_mib": window["rss_bare_qt_mib"],
        "largest_size": "%dx%d" % (largest["width"], largest["height"]),
        "imagemagick_skipped": peers["imagemagick_skipped"],
        "imagemagick_threads": peers["imagemagick_threads"],
        "peer_checks": peers["checks"],
        "window_samples": window["samples"],
        "sizes": sizes,
    }
    with open(args.out, "w") as out:
        json.dump(results, out, indent=2)

    table = Table(results)
    table.notes += args.note
    for line in table.text():
        print(line)
    if args.markdown:
        write_markdown(args.markdown, table.markdown(machine(args.load_before, args.load_after)))


def number(value):
    return "%.4g" % value


class Table:
    """The figures against their goals, then the reference figures, and notes on both; as text
    for the terminal or as Markdown."""

    def __init__(self, r):
        size = r["largest_size"]
        box = "%dx%d" % tuple(r["click_to_last_row"]["192"]["box_size"])
        lut, bare = r["opencv_lut_1t_ns_per_px"], "bare Qt window"
        # (what, figure, unit, reference or None, factor, what the reference is)
        goals = [
            ("map, table, %s" % size, r["map_ns_per_px"], "ns/px", lut, 1.0, "cv2.LUT 1 thread"),
        ]
        for dpi, click in sorted(r["click_to_last_row"].items(), key=lambda item: int(item[0])):
            goals.append(("click to last row, %s dpi (box %dx%d)" % (dpi, *click["box_size"]),
                          click["lumeno_ms"], "ms", click["floor_ms"], 1.1, "floor"))
        for arch, clicks in r["click_to_last_row_windows"].items():
            for dpi, click in clicks.items():
                goals.append(("click to last row, Windows %s in Wine, %s dpi" % (arch, dpi),
                              click["lumeno_ms"], "ms", click["floor_ms"], 1.1, "Win32 floor"))
        web = r["browser"]
        for dpi, click in sorted(web["click"].items(), key=lambda item: int(item[0])):
            goals.append(("click to last row, Chromium, %s dpi (box %dx%d)" % (dpi, *click["box_size"]),
                          click["lumeno_ms"], "ms", click["floor_ms"], 1.1, "floor page"))
        goals += [
            ("start-up to first paint, Chromium", web["startup_lumeno_ms"], "ms", web["startup_floor_ms"], 1.25,
             "bare page"),
            ("site, each file gzip -9", web["site_gzip_bytes"] / 1024, "KiB", None, 256.0, ""),
            ("run, defined window, in X", r["run_defined_window_ms"], "ms", None, 20.0, ""),
            ("max stall, %s run" % box, r["max_stall_ms"], "ms", None, 16.0, ""),
            ("start-up to first paint", r["startup_ms"], "ms", r["startup_bare_qt_ms"], 1.25, bare),
            ("peak RSS after one run", r["rss_mib"], "MiB", r["rss_bare_qt_mib"], 1.2, bare),
        ]
        self.goals = [self.goal_row(*goal) for goal in goals]
        others = [
            ("map, exact steps, %s" % size, r["map_direct_ns_per_px"], "ns/px"),
            ("memcpy, %s" % size, r["memcpy_ns_per_px"], "ns/px"),
            ("cv2.LUT 1 thread, %s" % size, r["opencv_lut_1t_ns_per_px"], "ns/px"),
            ("Pillow Image.point, %s" % size, r["pillow_point_ns_per_px"], "ns/px"),
            ("ImageMagick -fx (%s threads), %s" % (r["imagemagick_threads"], r["imagemagick_fx_size"]),
             r["imagemagick_fx_ns_per_px"], "ns/px"),
            ("run again in X, warm process", r["run_defined_window_again_ms"], "ms"),
            ("run, %s offscreen" % size, r["run_ns_per_px"], "ns/px"),
            ("worst stall of the %s runs" % box, r["max_stall_worst_ms"], "ms"),
            ("start-up of the bare Qt window", r["startup_bare_qt_ms"], "ms"),
            ("peak RSS of the bare Qt window", r["rss_bare_qt_mib"], "MiB"),
        ]
        for dpi, click in sorted(web["click"].items(), key=lambda item: int(item[0])):
            others += [("click to the last row's put, Chromium, %s dpi" % dpi, click["lumeno_put_ms"], "ms"),
                       ("the same in the floor page, %s dpi" % dpi, click["floor_put_ms"], "ms")]
        others.append(("lumeno.wasm, gzip -9", web["site_files_gzip_bytes"]["lumeno.wasm"] / 1024, "KiB"))
        self.others = [(what, "skipped" if figure is None else "%s %s" % (number(figure), unit), "", "", "")
                       for what, figure, unit in others]
        self.notes = self.spread_notes(r)

    @staticmethod
    def goal_row(what, figure, unit, reference, factor, against):
        """(what, value, goal, ratio, verdict); the goal with <= and x for ≤ and ×."""
        if against and reference is None:
            goal, ratio = "<= %s x %s, not measured" % (number(factor), against), ""
            verdict = "MISSED"
        elif against:
            goal = "<= %s x %s (%s %s)" % (number(factor), against, number(reference), unit)
            ratio = "%.2f" % (figure / reference)
            verdict = "ok" if figure <= factor * reference else "MISSED"
        else:
            goal, ratio = "<= %s %s" % (number(factor), unit), ""
            verdict = "ok" if figure <= factor else "MISSED"
        return what, "%s %s" % (number(figure), unit), goal, ratio, verdict

    @staticmethod
    def spread_notes(r):
        notes = []
        if r["imagemagick_skipped"]:
            notes.append("ImageMagick was not run at %s: it would not have ended within the time budget."
                         % ", ".join(r["imagemagick_skipped"]))
        for name, check in r["peer_checks"].items():
            if check["share_differing"]:
                notes.append("%s does not give the curve's own values: %.3g%% of components differ, by up"
                             " to %d" % (name, 100 * check["share_differing"], check["largest_difference"]))
        for dpi, click in sorted(r["click_to_last_row"].items(), key=lambda item: int(item[0])):
            notes.append("click to last row, %s dpi: %d alternating runs each; quartiles lumeno %.3g-%.3g"
                         " ms, floor %.3g-%.3g ms; load %s" % (
                             dpi, len(click["samples"]["lumeno"]["ms"]), click["lumeno_spread_ms"]["q1"],
                             click["lumeno_spread_ms"]["q3"], click["floor_spread_ms"]["q1"],
                             click["floor_spread_ms"]["q3"], " ".join(click["load_before"])))
        for arch, clicks in r["click_to_last_row_windows"].items():
            for dpi, click in clicks.items():
                notes.append("click to last row, Windows %s in Wine, %s dpi: %d alternating runs each;"
                             " quartiles lumeno %.3g-%.3g ms, Win32 floor %.3g-%.3g ms; CPU per run"
                             " lumeno %.3g ms, floor %.3g ms" % (
                                 arch, dpi, len(click["samples"]["lumeno"]["ms"]),
                                 click["lumeno_spread_ms"]["q1"], click["lumeno_spread_ms"]["q3"],
                                 click["floor_spread_ms"]["q1"], click["floor_spread_ms"]["q3"],
                                 click["lumeno_cpu_ms"], click["floor_cpu_ms"]))
        web = r["browser"]
        samples = dict(web["samples"]["click"], startup=web["samples"]["startup"])
        spreads = []
        for kind, runs in samples.items():
            lumeno, floor = (statistics.quantiles(runs[name], n=4) for name in ("lumeno", "floor"))
            spreads.append("%s lumeno %.3g-%.3g ms, %s %.3g-%.3g ms" % (
                "start-up:" if kind == "startup" else "click, %s dpi:" % kind, lumeno[0], lumeno[2],
                "bare page" if kind == "startup" else "floor page", floor[0], floor[2]))
        notes.append("Chromium %s: %d alternating runs each; quartiles of %s; load %s" % (
            web["browser"], web["runs"], "; ".join(spreads), " ".join("%.2f" % x for x in web["load_before"])))
        return notes

    def text(self):
        header = ("figure", "value", "goal", "ratio", "verdict")
        rows = self.goals + self.others
        widths = [max(len(row[i]) for row in rows + [header]) for i in range(5)]
        rule = "  ".join("-" * w for w in widths)

        def line(row):
            return "  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip()

        return ([line(header), rule] + [line(row) for row in self.goals] + [rule]
                + [line(row) for row in self.others] + self.notes + [
                    "ratio: the value over the reference it is held against. Every value is a median of",
                    "wall-clock times; the rows below the line are for reference and hold no goal. The",
                    "floor is bench/floor_window: the least a run in the same window must do; the Win32",
                    "floor (bench/Win32FloorWindow.cpp) the same for the Windows program, under Wine;",
                    "the floor page and the bare page (bench/web) the same for the site in a browser."])

    def markdown(self, measured_on):
        def line(row):
            return "| " + " | ".join(cell.replace("<=", "≤").replace(" x ", " × ") for cell in row) + " |"

        return ([measured_on, "", line(("figure", "value", "goal", "ratio", "verdict")), "|---|---|---|---|---|"]
                + [line(row) for row in self.goals] + ["", "For reference, with no goal:", "",
                                                       "| figure | value |", "|---|---|"]
                + ["| %s | %s |" % row[:2] for row in self.others] + [""]
                + ["- " + note for note in self.notes])


def machine(load_before, load_after):
    """The sentence that says where and when the figures were measured."""
    system = "Linux"
    for entry in open("/etc/os-release"):
        if entry.startswith("PRETTY_NAME="):
            system = entry.split("=", 1)[1].strip().strip('"')
    processor = next((entry.split(":", 1)[1].strip() for entry in open("/proc/cpuinfo")
                      if entry.startswith("model name")), "an unnamed processor")
    load = "" if load_before is None else ", load average %s before" % load_before
    if load_after is not None:
        load += " and %s after" % load_after if load else ", load average %s after" % load_after
    return "Measured on %s by scripts/bench: %s, %d cores (%s)%s." % (
        datetime.date.today().isoformat(), system, os.cpu_count(), processor, load)


def write_markdown(path, lines):
    """Puts the lines between the marker lines of the file at path, in place of what was there."""
    with open(path) as document:
        text = document.read().split("\n")
    if BEGIN not in text or END not in text or text.index(BEGIN) > text.index(END):
        sys.exit("report: %s has no lines %r and %r, in that order" % (path, BEGIN, END))
    text[text.index(BEGIN) + 1 : text.index(END)] = lines
    with open(path, "w") as document:
        document.write("\n".join(text))

if __name__ == "__main__":
    main()
