"""Gathers what scripts/bench measured into one JSON file and prints one table of the
figures against lumeno's goals.

Inputs: Google Benchmark JSON of map_bench and run_bench (with repetitions), and the JSON
of bench/window.py, bench/last_row.py and bench/peers.py. Every figure is a wall-clock
median over the repetitions. Run with /usr/bin/python3.
"""

import argparse
import json
import statistics
import sys


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
    for name in ("map", "run", "window", "last-row", "peers", "out"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--windows-last-row", nargs=2, action="append", default=[], metavar=("ARCH", "JSON"),
                        help="last_row.py's figures for the Windows program of ARCH under Wine")
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

    r = results
    size = r["largest_size"]
    lut, bare = r["opencv_lut_1t_ns_per_px"], "bare Qt window"
    # (what, figure, unit, reference or None, factor, what the reference is)
    goals = [
        ("map, table, %s" % size, r["map_ns_per_px"], "ns/px", lut, 1.0, "cv2.LUT 1 thread"),
    ]
    for dpi, click in sorted(r["click_to_last_row"].items(), key=lambda item: int(item[0])):
        goals.append(("click to last row, %s dpi" % dpi, click["lumeno_ms"], "ms",
                      click["floor_ms"], 1.1, "floor"))
    for arch, clicks in r["click_to_last_row_windows"].items():
        for dpi, click in clicks.items():
            goals.append(("click to last row, Windows %s in Wine, %s dpi" % (arch, dpi), click["lumeno_ms"],
                          "ms", click["floor_ms"], 1.1, "Win32 floor"))
    goals += [
        ("run, defined window, in X", r["run_defined_window_ms"], "ms", None, 20.0, ""),
        ("max stall, %dx%d run" % box_192_dpi, r["max_stall_ms"], "ms", None, 16.0, ""),
        ("start-up to first paint", r["startup_ms"], "ms", r["startup_bare_qt_ms"], 1.25, bare),
        ("peak RSS after one run", r["rss_mib"], "MiB", r["rss_bare_qt_mib"], 1.2, bare),
    ]
    others = [
        ("map, exact steps, %s" % size, r["map_direct_ns_per_px"], "ns/px"),
        ("memcpy, %s" % size, r["memcpy_ns_per_px"], "ns/px"),
        ("cv2.LUT 1 thread, %s" % size, r["opencv_lut_1t_ns_per_px"], "ns/px"),
        ("Pillow Image.point, %s" % size, r["pillow_point_ns_per_px"], "ns/px"),
        ("ImageMagick -fx (%s threads), %s" % (r["imagemagick_threads"], r["imagemagick_fx_size"]),
         r["imagemagick_fx_ns_per_px"], "ns/px"),
        ("run again in X, warm process", r["run_defined_window_again_ms"], "ms"),
        ("run, %s offscreen" % size, r["run_ns_per_px"], "ns/px"),
        ("worst stall of the %dx%d runs" % box_192_dpi, r["max_stall_worst_ms"], "ms"),
        ("start-up of the bare Qt window", r["startup_bare_qt_ms"], "ms"),
        ("peak RSS of the bare Qt window", r["rss_bare_qt_mib"], "MiB"),
    ]

    def number(value):
        return "%.4g" % value

    lines = []
    for what, figure, unit, reference, factor, against in goals:
        if against and reference is None:
            goal, ratio = "<= %s x %s, not measured" % (number(factor), against), ""
            verdict = "MISSED"
        elif against:
            goal = "<= %s x %s (%s %s)" % (number(factor), against, number(reference), unit)
            ratio = "%.3f" % (figure / reference)
            verdict = "ok" if figure <= factor * reference else "MISSED"
        else:
            goal, ratio = "<= %s %s" % (number(factor), unit), "-"
            verdict = "ok" if figure <= factor else "MISSED"
        lines.append((what, "%s %s" % (number(figure), unit), goal, ratio, verdict))
    for what, figure, unit in others:
        value = "skipped" if figure is None else "%s %s" % (number(figure), unit)
        lines.append((what, value, "", "", ""))

    header = ("figure", "value", "goal", "ratio", "verdict")
    widths = [max(len(row[i]) for row in lines + [header]) for i in range(5)]
    rule = "  ".join("-" * w for w in widths)
    print("  ".join(h.ljust(w) for h, w in zip(header, widths)).rstrip())
    print(rule)
    for index, row in enumerate(lines):
        if index == len(goals):
            print(rule)
        print("  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip())
    if r["imagemagick_skipped"]:
        print("ImageMagick was not run at %s: it would not have ended within the time budget."
              % ", ".join(r["imagemagick_skipped"]))
    for name, check in r["peer_checks"].items():
        if check["share_differing"]:
            print("%s does not give the curve's own values: %.3g%% of components differ, by up"
                  " to %d" % (name, 100 * check["share_differing"], check["largest_difference"]))
    for dpi, click in sorted(r["click_to_last_row"].items(), key=lambda item: int(item[0])):
        print("click to last row, %s dpi, box %d x %d: %d alternating runs each; quartiles lumeno"
              " %.3g-%.3g ms, floor %.3g-%.3g ms; load %s" % (
                  dpi, *click["box_size"], len(click["samples"]["lumeno"]["ms"]),
                  click["lumeno_spread_ms"]["q1"], click["lumeno_spread_ms"]["q3"],
                  click["floor_spread_ms"]["q1"], click["floor_spread_ms"]["q3"],
                  " ".join(click["load_before"])))
    for arch, clicks in r["click_to_last_row_windows"].items():
        for dpi, click in clicks.items():
            print("click to last row, Windows %s in Wine, %s dpi: %d alternating runs each; quartiles"
                  " lumeno %.3g-%.3g ms, Win32 floor %.3g-%.3g ms; CPU per run lumeno %.3g ms, floor"
                  " %.3g ms" % (
                      arch, dpi, len(click["samples"]["lumeno"]["ms"]), click["lumeno_spread_ms"]["q1"],
                      click["lumeno_spread_ms"]["q3"], click["floor_spread_ms"]["q1"],
                      click["floor_spread_ms"]["q3"], click["lumeno_cpu_ms"], click["floor_cpu_ms"]))
    print("ratio: the value over the reference it is held against. Every value is a median of")
    print("wall-clock times; the rows below the line are for reference and hold no goal. The")
    print("floor is bench/floor_window: the least a run in the same window must do; the Win32")
    print("floor (bench/Win32FloorWindow.cpp) the same for the Windows program, under Wine.")


if __name__ == "__main__":
    main()
