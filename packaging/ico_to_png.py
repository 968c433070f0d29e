#!/usr/bin/python3
"""Writes one image of a Windows .ico file as an RGBA PNG.

    ico_to_png.py ICO SIZE BITS OUT.png [SCALE]

picks the image of SIZE x SIZE pixels at BITS bits per pixel (a palette image), turns
its palette indices into colours and its AND mask into transparency; with SCALE, each
pixel becomes SCALE x SCALE pixels. Standard library
only; the output depends on the input alone, so a rebuild writes the same bytes.
"""

import struct
import sys
import zlib


def ico_images(data):
    """(width, height, bit count, image bytes) of each directory entry, in order."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    images = []
    for i in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images.append((w or 256, h or 256, bits, data[offset : offset + size]))
    return images


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def indices(rows, width, bits, y):
    """Palette indices of row y (top-down) of bottom-up, MSB-first packed rows."""
    stride = row_stride(width, bits)
    line = rows[(len(rows) // stride - 1 - y) * stride :][:stride]
    per_byte, mask = 8 // bits, (1 << bits) - 1
    return [(line[x // per_byte] >> (8 - bits * (x % per_byte + 1))) & mask for x in range(width)]


def decode(image):
    """RGBA rows of a palette DIB icon image (XOR bitmap plus AND mask)."""
    header, width, double_height, _, bits, compression, _, _, _, used, _ = struct.unpack_from(
        "<IiiHHIIiiII", image, 0
    )
    if header != 40 or compression != 0 or bits not in (1, 4, 8):
        raise ValueError("unsupported icon image")
    height = double_height // 2
    colours = used or 1 << bits
    palette = [tuple(image[header + 4 * i : header + 4 * i + 3]) for i in range(colours)]
    xor_start = header + 4 * colours
    and_start = xor_start + row_stride(width, bits) * height
    xor = image[xor_start:and_start]
    and_mask = image[and_start : and_start + row_stride(width, 1) * height]
    rows = []
    for y in range(height):
        row = bytearray()
        for index, transparent in zip(indices(xor, width, bits, y), indices(and_mask, width, 1, y)):
            b, g, r = palette[index]
            row += bytes((r, g, b, 0 if transparent else 255))
        rows.append(bytes(row))
    return width, height, rows


def scaled(width, height, rows, factor):
    wide = [b"".join(row[i : i + 4] * factor for i in range(0, len(row), 4)) for row in rows]
    return width * factor, height * factor, [row for row in wide for _ in range(factor)]


def png_bytes(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + row for row in rows)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def main(argv):
    if len(argv) not in (5, 6):
        sys.exit(__doc__)
    ico, size, bits, out = argv[1], int(argv[2]), int(argv[3]), argv[4]
    factor = int(argv[5]) if len(argv) == 6 else 1
    with open(ico, "rb") as f:
        images = ico_images(f.read())
    wanted = [img for w, h, b, img in images if (w, h, b) == (size, size, bits)]
    if len(wanted) != 1:
        sys.exit(f"{ico}: {len(wanted)} images of {size}x{size} at {bits} bits, expected one")
    with open(out, "wb") as f:
        f.write(png_bytes(*scaled(*decode(wanted[0]), factor)))


if __name__ == "__main__":
    main(sys.argv)
