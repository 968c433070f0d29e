"""The same brightness curve, b = 2, done by other tools on the picture run_bench uses,
at the sizes run_bench runs but 302 x 334 (the box at 192 dpi):

  OpenCV     cv2.LUT(img, lut) on one thread, a new result each call as users call it
  Pillow     Image.point with a 768-entry table (one 256-entry table per band)
  ImageMagick  convert in.ppm -fx "2*u/(2*u+1)" out.ppm, the whole command, with its
             default thread count; the slowest by far, so it runs once a size (three
             times at the small ones) and the largest size is left out when it would
             not end before --deadline

Times are wall-clock medians in ms. Each tool's output is compared with the curve's
own table, so a tool that does something else is noticed. Writes a JSON object.
Run with /usr/bin/python3.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

import cv2
import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402

SIZES = [(149, 165), (500, 500), (1000, 1000), (2000, 1500), (4000, 3000)]
FX = "2*u/(2*u+1)"


def lcg_noise(count):
    """The first count states of RunBench's generator, noise = noise * 1103515245 + 12345
    (mod 2^32) from 12345, all at once: state k = a^k * s + c * (a^0 + ... + a^(k-1))."""
    powers = np.cumprod(np.full(count, 1103515245, dtype=np.uint32), dtype=np.uint32)
    sums = np.cumsum(np.concatenate(([1], powers[:-1])).astype(np.uint32), dtype=np.uint32)
    return powers * np.uint32(12345) + sums * np.uint32(12345)


def picture(width, height):
    """RunBench's picture of gradients with noise, as height x width x RGB bytes."""
    noise = (lcg_noise(width * height) >> 28).astype(np.int64).reshape(height, width)
    x = np.arange(width, dtype=np.int64)[None, :]
    y = np.arange(height, dtype=np.int64)[:, None]
    image = np.empty((height, width, 3), np.uint8)
    image[..., 0] = (x * 255 // width + noise) & 0xFF
    image[..., 1] = (y * 255 // height + noise) & 0xFF
    image[..., 2] = ((x + y) * 255 // (width + height)) & 0xFF
    return image


def timed(call, least_seconds=0.2, least_calls=5):
    """(median ms of a call, the last result), calling at least least_calls times and for
    at least least_seconds."""
    times = []
    began = time.perf_counter()
    while len(times) < least_calls or time.perf_counter() - began < least_seconds:
        start = time.perf_counter()
        result = call()
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1000.0, result


def mismatch(result, expected):
    """(share of components that differ, largest difference) between two arrays."""
    difference = np.abs(result.astype(np.int16) - expected.astype(np.int16))
    return float(np.count_nonzero(difference)) / difference.size, int(difference.max())


def write_ppm(path, image):
    with open(path, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (image.shape[1], image.shape[0]))
        out.write(image.tobytes())


def read_ppm(path):
    parsed = h.parse_ppm(open(path, "rb").read())
    return np.frombuffer(parsed.data, np.uint8).reshape(parsed.height, parsed.width, 3)


def imagemagick_threads():
    out = subprocess.run(["convert", "-list", "resource"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if line.strip().startswith("Thread:"):
            return int(line.split(":")[1])
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--deadline", type=float, default=float("inf"),
                        help="time.time() by which ImageMagick must be done")
    args = parser.parse_args()

    cv2.setNumThreads(1)
    table = h.curve_table("2")
    lut = np.array(table, dtype=np.uint8)
    rows = []
    checks = {}
    pictures = {}
    for width, height in SIZES:
        image = pictures[width, height] = picture(width, height)
        expected = lut[image]
        opencv_ms, opencv_result = timed(lambda: cv2.LUT(image, lut))
        source = Image.fromarray(image, "RGB")
        pillow_ms, pillow_result = timed(lambda: source.point(table * 3))
        checks["opencv %dx%d" % (width, height)] = mismatch(opencv_result, expected)
        checks["pillow %dx%d" % (width, height)] = mismatch(np.asarray(pillow_result), expected)
        rows.append({"width": width, "height": height, "pixels": width * height,
                     "opencv_lut_1t_ms": opencv_ms, "pillow_point_ms": pillow_ms,
                     "imagemagick_fx_ms": None})

    skipped = []
    ns_per_px = None
    with tempfile.TemporaryDirectory(prefix="lumeno-peers-") as folder:
        source, target = os.path.join(folder, "in.ppm"), os.path.join(folder, "out.ppm")
        for row in rows:
            size = "%dx%d" % (row["width"], row["height"])
            # The time per pixel grows with the size: 1.5 times the last size's is the guess.
            guess = None if ns_per_px is None else 1.5 * ns_per_px * row["pixels"] / 1e9
            if guess is not None and time.time() + guess > args.deadline:
                skipped.append(size)
                continue
            image = pictures[row["width"], row["height"]]
            write_ppm(source, image)
            command = ["convert", source, "-fx", FX, target]
            times = []
            for _ in range(3 if row["pixels"] <= 250000 else 1):
                start = time.perf_counter()
                subprocess.run(command, check=True)
                times.append(time.perf_counter() - start)
            row["imagemagick_fx_ms"] = statistics.median(times) * 1000.0
            ns_per_px = row["imagemagick_fx_ms"] * 1e6 / row["pixels"]
            checks["imagemagick " + size] = mismatch(read_ppm(target), lut[image])

    with open(args.out, "w") as out:
        json.dump({"sizes": rows, "imagemagick_skipped": skipped,
                   "imagemagick_threads": imagemagick_threads(), "opencv": cv2.__version__,
                   "checks": {name: {"share_differing": share, "largest_difference": largest}
                              for name, (share, largest) in checks.items()}},
                  out, indent=2)


if __name__ == "__main__":
    main()
