#!/usr/bin/python3
"""Writes lumeno's built-in resources next to this script.

    picture.bmp      the sample picture: a 180 x 200, 24-bit landscape at dusk
    lumeno.ico       the program icon: 32 x 32 in 2 and 16 colours, 16 x 16 in 16 colours
    lumeno-amd64.manifest, lumeno-x86.manifest
                     the Windows application manifests of the 64-bit and the 32-bit
                     program: common controls version 6, per-monitor DPI awareness and
                     the Windows versions the program supports
    lumeno.rc        the Windows resource script carrying the icon, the picture, the
                     manifest and the version record

Run it with `/usr/bin/python3 resources/make_resources.py`; it uses only the standard
library and is deterministic, so running it again rewrites the same bytes.

Every value 0..255 of each channel occurs in the picture's top-left COVER_WIDTH x
COVER_HEIGHT pixels, so every input level of each channel is exercised there; the picture
is rendered first and each missing level is given to a pixel holding the nearest level.
The script checks the coverage before writing.
"""

import math
import random
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent

WIDTH, HEIGHT = 180, 200
COVER_WIDTH, COVER_HEIGHT = 149, 165
SHORE = 120
BANK = 172
SUN = (121.0, 64.0, 7.5)
SEED = 1729


# ---------------------------------------------------------------- noise and helpers


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3.0 - 2.0 * t)


def gradient(stops, t):
    """Colour at t along (position, colour) stops sorted by position."""
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smoothstep(p0, p1, t))
    return stops[-1][1]


class ValueNoise:
    """Smoothly interpolated lattice noise in [0, 1], with fractal sums."""

    def __init__(self, rng, size=256):
        self.size = size
        self.values = [rng.random() for _ in range(size)]
        self.perm = list(range(size))
        rng.shuffle(self.perm)

    def _lattice(self, i, j):
        n = self.size
        return self.values[self.perm[(self.perm[i % n] + j) % n]]

    def at(self, x, y=0.0):
        i, j = math.floor(x), math.floor(y)
        fx, fy = x - i, y - j
        sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = lerp(self._lattice(i, j), self._lattice(i + 1, j), sx)
        bottom = lerp(self._lattice(i, j + 1), self._lattice(i + 1, j + 1), sx)
        return lerp(top, bottom, sy)

    def fbm(self, x, y=0.0, octaves=4):
        total, amplitude, norm = 0.0, 1.0, 0.0
        for _ in range(octaves):
            total += amplitude * self.at(x, y)
            norm += amplitude
            x, y, amplitude = x * 2.03, y * 2.03, amplitude * 0.5
        return total / norm


# ---------------------------------------------------------------- the landscape


def sky_colour(x, y, noise):
    stops = [
        (0.00, (18, 40, 104)),
        (0.35, (62, 112, 178)),
        (0.70, (196, 170, 170)),
        (1.00, (255, 196, 128)),
    ]
    colour = gradient(stops, y / SHORE)
    cloud = smoothstep(0.52, 0.75, noise.fbm(x / 38.0, y / 9.0, 5)) * smoothstep(90, 20, y)
    lit = mix((120, 110, 150), (255, 214, 200), smoothstep(10, 70, y))
    colour = mix(colour, lit, 0.75 * cloud)
    sx, sy, radius = SUN
    d = math.hypot(x - sx, y - sy)
    glow = math.exp(-max(0.0, d - radius) / 22.0)
    colour = tuple(min(255.0, c + g * glow) for c, g in zip(colour, (110, 70, 20)))
    if d < radius + 1.5:
        colour = mix(colour, (255, 255, 255), smoothstep(radius + 1.5, radius - 1.5, d))
    return colour


def mountain_ridge(x, noise):
    shape = 18 * math.sin(x / 23.0 + 0.8) + 9 * math.sin(x / 9.0 + 2.0)
    return 80 - shape - 16 * noise.fbm(x / 14.0, 3.7, 5)


def hill_ridge(x, noise):
    return 103 - 7 * math.sin(x / 31.0 + 2.4) - 8 * noise.fbm(x / 20.0, 9.1, 4)


def mountain_colour(x, y, ridge, noise):
    below = y - ridge
    slope = mountain_ridge(x + 1, noise) - mountain_ridge(x - 1, noise)
    slant = x + 0.4 * y
    gully = noise.fbm(slant / 5.0, y / 11.0, 4) - noise.fbm((slant - 1) / 5.0, y / 11.0, 4)
    light = 0.5 + 0.5 * math.tanh(-slope * 0.5 * math.exp(-below / 18.0) + 9.0 * gully)
    haze = smoothstep(ridge, SHORE - 10, y)
    rock = mix((70, 66, 108), (156, 132, 150), light)
    rock = mix(rock, (170, 154, 176), 0.65 * haze)
    snow_depth = 16 * noise.fbm(x / 7.0, y / 4.0, 4) + 10 * light - 8
    if y < 66 and below < snow_depth:
        rock = mix(rock, mix((150, 160, 204), (255, 246, 240), light), 0.92)
    return rock


def hill_colour(x, y, ridge, noise):
    depth = smoothstep(ridge, SHORE, y)
    tone = noise.fbm(x / 5.0, y / 5.0, 3)
    far = mix((64, 96, 68), (104, 122, 74), tone)
    return mix(far, (28, 62, 40), 0.6 * depth)


def upper_scene(noise):
    rows = []
    for y in range(SHORE):
        row = []
        for x in range(WIDTH):
            mountain, hill = mountain_ridge(x, noise), hill_ridge(x, noise)
            if y >= hill:
                row.append(hill_colour(x, y, hill, noise))
            elif y >= mountain:
                row.append(mountain_colour(x, y, mountain, noise))
            else:
                row.append(sky_colour(x, y, noise))
        rows.append(row)
    return rows


def draw_pine(image, cx, base, height, width, shade, rng):
    """A layered conifer, lit from the right, with a short dark trunk."""
    top = base - height
    for y in range(max(0, int(top)), min(len(image), int(base) + 1)):
        t = (y - top) / height
        tier = (t * 6.0) % 1.0
        half = width * t * (0.65 + 0.35 * tier)
        for x in range(max(0, int(cx - half)), min(WIDTH, int(cx + half) + 1)):
            side = (x - cx) / (half + 0.5)
            light = (0.55 + 0.45 * side) * (1.15 - 0.5 * tier) + rng.uniform(-0.25, 0.25)
            image[y][x] = tuple(c * max(0.0, light) for c in shade)
    for y in range(int(base) + 1, min(len(image), int(base + height * 0.08) + 2)):
        for x in range(int(cx - 1), int(cx + 2)):
            if 0 <= x < WIDTH:
                image[y][x] = (22, 14, 8)


def draw_shore_trees(image, rng):
    for cx in [4, 9, 15, 22, 27, 34, 140, 146, 152, 159, 166, 172, 177]:
        height = rng.uniform(9, 17)
        draw_pine(image, cx, SHORE - 1, height, height * 0.3, (30, 66, 42), rng)


def lake_colour(x, y, above, noise):
    depth = (y - SHORE) / (BANK - SHORE)
    wobble = 2.5 * (noise.fbm(x / 10.0, y / 1.3, 3) - 0.5) * (1 + 3 * depth)
    src_y = min(SHORE - 1, max(0, 2 * SHORE - 1 - y + int(wobble * 0.5)))
    src_x = min(WIDTH - 1, max(0, int(x + wobble)))
    mirrored = above[src_y][src_x]
    water = mix((34, 64, 96), (14, 36, 56), depth)
    colour = mix(mirrored, water, 0.25 + 0.35 * depth)
    ripple = noise.at(x / 7.0, y * 1.7)
    if ripple > 0.8:
        colour = mix(colour, (255, 226, 190), (ripple - 0.8) * 2.0 * (1 - depth))
    spread = 3.0 + 14.0 * depth
    sparkle = smoothstep(0.5, 0.8, noise.at(x / 2.5, y * 2.3))
    glitter = math.exp(-(((x - SUN[0]) / spread) ** 2)) * sparkle
    return mix(colour, (255, 232, 184), 0.85 * glitter)


def bank_colour(x, y, noise, rng):
    depth = (y - BANK) / (HEIGHT - BANK)
    tone = noise.fbm(x / 3.0, y / 2.0, 3)
    grass = mix((44, 72, 28), (112, 142, 52), tone)
    grass = mix(grass, (40, 70, 26), 0.5 * depth)
    if rng.random() < 0.012:
        return rng.choice([(232, 210, 60), (236, 236, 228), (200, 70, 90)])
    return grass


def render_scene():
    rng = random.Random(SEED)
    noise = ValueNoise(rng)
    above = upper_scene(noise)
    draw_shore_trees(above, rng)
    image = [list(row) for row in above]
    for y in range(SHORE, HEIGHT):
        if y < BANK:
            image.append([lake_colour(x, y, above, noise) for x in range(WIDTH)])
        else:
            image.append([bank_colour(x, y, noise, rng) for x in range(WIDTH)])
    for cx, height in [(12, 118), (33, 96), (170, 84)]:
        draw_pine(image, cx, BANK + 14, height, height * 0.22, (26, 48, 30), rng)
    return finish(image, rng)


def finish(image, rng):
    """Adds film grain and rounds to bytes."""
    out = []
    for row in image:
        out_row = []
        for colour in row:
            grain = rng.gauss(0.0, 2.2)
            out_row.append([min(255, max(0, round(c + grain))) for c in colour])
        out.append(out_row)
    return out


# ---------------------------------------------------------------- channel coverage


def cover_region(image, rng):
    """Makes every channel take every value 0..255 inside the cover region.

    Each missing value is given to a pixel holding the nearest value that occurs more
    than once, so nothing else goes missing and no pixel moves by more than necessary.
    """
    region = [(x, y) for y in range(COVER_HEIGHT) for x in range(COVER_WIDTH)]
    largest = 0
    for channel in range(3):
        holders = {v: [] for v in range(256)}
        for x, y in region:
            holders[image[y][x][channel]].append((x, y))
        for value in range(256):
            if holders[value]:
                continue
            donor = min(
                (v for v in range(256) if len(holders[v]) > 1),
                key=lambda v: (abs(v - value), v),
            )
            pixel = holders[donor].pop(rng.randrange(len(holders[donor])))
            image[pixel[1]][pixel[0]][channel] = value
            holders[value].append(pixel)
            largest = max(largest, abs(donor - value))
    return largest


def assert_covered(image):
    for channel in range(3):
        seen = {image[y][x][channel] for y in range(COVER_HEIGHT) for x in range(COVER_WIDTH)}
        missing = sorted(set(range(256)) - seen)
        assert not missing, f"channel {channel} lacks {missing}"


# ---------------------------------------------------------------- file formats


def bmp_bytes(image):
    row_bytes = WIDTH * 3
    pixels = bytearray()
    for row in reversed(image):
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += bytes((-row_bytes) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def pack_rows(rows, bits):
    """Packs palette indices MSB first, rows bottom-up, each padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        acc, count, line = 0, 0, bytearray()
        for index in row:
            acc, count = (acc << bits) | index, count + bits
            if count == 8:
                line.append(acc)
                acc, count = 0, 0
        line += bytes((-len(line)) % 4)
        out += line
    return out


def icon_image(indices, mask, palette, bits):
    size = len(indices)
    xor = pack_rows(indices, bits)
    and_mask = pack_rows(mask, 1)
    info = struct.pack(
        "<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, len(xor) + len(and_mask), 0, 0, 0, 0
    )
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return info + colours + xor + and_mask


def ico_bytes(images):
    """images: (size, palette length, bit count, image bytes) in directory order."""
    offset = 6 + 16 * len(images)
    directory, data = bytearray(struct.pack("<HHH", 0, 1, len(images))), bytearray()
    for size, colours, bits, blob in images:
        directory += struct.pack(
            "<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset + len(data)
        )
        data += blob
    return bytes(directory + data)


# ---------------------------------------------------------------- the icon

VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # fmt: skip
MONO = [(0, 0, 0), (255, 255, 255)]

# Palette index of each part of the motif, per colour depth; the 2-colour grid is dotted.
ROLES_16 = {"frame": 0, "panel": 4, "grid": 6, "dot": 6, "curve": 11}
ROLES_2 = {"frame": 0, "panel": 1, "grid": 0, "dot": 1, "curve": 0}


def tone_curve(t):
    """The drawn curve: rises steeply from black and saturates towards white."""
    return (1.0 - math.exp(-2.6 * t)) / (1.0 - math.exp(-2.6))


def icon_roles(size):
    """Role of every pixel: a framed panel with a quarter grid and a rising curve."""
    grid = [[None] * size for _ in range(size)]
    lo, hi = 1, size - 2
    lines = {lo + round(i * (hi - lo) / 4) for i in (1, 2, 3)} if size >= 32 else set()
    for y in range(lo, hi + 1):
        for x in range(lo, hi + 1):
            if x in (lo, hi) or y in (lo, hi):
                grid[y][x] = "frame"
            elif x in lines or y in lines:
                grid[y][x] = "grid" if (x + y) % 2 == 0 else "dot"
            else:
                grid[y][x] = "panel"
    span = hi - lo - 2
    radius = 1.0 if size >= 32 else 0.6
    for k in range(size * 8 + 1):
        t = k / (size * 8)
        cx, cy = lo + 1 + t * span, hi - 1 - tone_curve(t) * span
        for y in range(lo + 1, hi):
            for x in range(lo + 1, hi):
                if math.hypot(x - cx, y - cy) <= radius:
                    grid[y][x] = "curve"
    return grid


def icon_entry(size, bits):
    roles = icon_roles(size)
    table, palette = (ROLES_2, MONO) if bits == 1 else (ROLES_16, VGA)
    indices = [[0 if r is None else table[r] for r in row] for row in roles]
    mask = [[1 if r is None else 0 for r in row] for row in roles]
    return size, len(palette), bits, icon_image(indices, mask, palette, bits)


# ---------------------------------------------------------------- resource script

# The program finds its icon and picture by the names its window definition gives them;
# Windows looks string names up in capitals. 24 is RT_MANIFEST and manifest 1 the one a
# program's process starts with; the compiler for 64-bit Windows defines _WIN64.
RC_TEXT = """\
// lumeno's Windows resources: the program icon, the built-in picture, the application
// manifest and the version record.
// Written by make_resources.py; numeric values stand for the winuser.h and winver.h names.

LUMENO ICON "lumeno.ico"
PICTURE RCDATA "picture.bmp"
#ifdef _WIN64
1 24 "lumeno-amd64.manifest"
#else
1 24 "lumeno-x86.manifest"
#endif

1 VERSIONINFO
FILEVERSION 1,0,0,0
PRODUCTVERSION 1,0,0,0
FILEFLAGSMASK 0x3F
FILEFLAGS 0x0
FILEOS 0x40004
FILETYPE 0x1
FILESUBTYPE 0x0
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904B0"
        BEGIN
            VALUE "FileDescription", "lumeno"
            VALUE "FileVersion", "1.00"
            VALUE "InternalName", "lumeno"
            VALUE "OriginalFilename", "lumeno.exe"
            VALUE "ProductName", "lumeno"
            VALUE "ProductVersion", "1.00"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
"""


# Common controls version 6 give the controls the system's current look. Per-monitor
# awareness (version 2, else version 1) makes Windows tell the program each window's own
# density, at which it lays the window out by twips, instead of stretching its bitmap; Windows
# 8.1 knows version 1 only, 7 and 8 neither. supportedOS names Windows 7, 8, 8.1 and 10/11.
MANIFEST_ARCHITECTURES = ("amd64", "x86")
MANIFEST_TEXT = """\
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="lumeno" version="1.0.0.0" processorArchitecture="{architecture}"/>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
          processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
  <application xmlns="urn:schemas-microsoft-com:asm.v3">
    <windowsSettings>
      <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>
      <dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>
    </windowsSettings>
  </application>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <supportedOS Id="{{35138b9a-5d96-4fbd-8e2d-a2440225f93a}}"/>
      <supportedOS Id="{{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}}"/>
      <supportedOS Id="{{1f676c76-80e1-4239-95bb-83d0f6d0da78}}"/>
      <supportedOS Id="{{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}}"/>
    </application>
  </compatibility>
</assembly>
"""


def main():
    image = render_scene()
    largest = cover_region(image, random.Random(SEED + 1))
    assert_covered(image)
    picture = bmp_bytes(image)
    assert len(picture) == 108054
    icon = ico_bytes([icon_entry(32, 1), icon_entry(32, 4), icon_entry(16, 4)])
    (HERE / "picture.bmp").write_bytes(picture)
    (HERE / "lumeno.ico").write_bytes(icon)
    for architecture in MANIFEST_ARCHITECTURES:
        (HERE / f"lumeno-{architecture}.manifest").write_text(MANIFEST_TEXT.format(architecture=architecture))
    (HERE / "lumeno.rc").write_text(RC_TEXT)
    print(f"picture.bmp {len(picture)} bytes, largest coverage nudge {largest}")
    print(f"lumeno.ico {len(icon)} bytes")


if __name__ == "__main__":
    main()
