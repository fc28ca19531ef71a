#!/usr/bin/env python3
"""Draws Tunewick's application icon and writes it as a Windows .ico file.

The picture: a small bird perched on top of an eighth note whose flag is the bird's wing,
white on a black rounded square. It is drawn from shapes in unit coordinates (0..1, y down)
with 8 x 8 supersampling, afresh at every size that Windows asks for: the small and large
icons at 100 % to 250 % (16, 20, 24, 28, 32, 40 and 48 pixels), each stored as a 32-bit DIB
(straight alpha) followed by its 1-bit AND mask, which Windows XP reads and older shells use
for transparency; and 64 and 256 pixels as PNG, which Windows Vista and later read (Explorer's
large views), small in the file where a DIB of 256 pixels would take 256 KB.

Standard library only, so the icon can be redrawn on any machine:
    tools/make_icon.py src/platform/resources/tunewick.ico
"""

import math
import struct
import sys
import zlib

DIB_SIZES = (16, 20, 24, 28, 32, 40, 48)
PNG_SIZES = (64, 256)
SAMPLES = 8


def in_rounded_square(x, y, margin=0.02, radius=0.2):
    lo, hi = margin, 1.0 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2


def in_ellipse(x, y, cx, cy, rx, ry, degrees):
    a = math.radians(degrees)
    dx, dy = x - cx, y - cy
    u = dx * math.cos(a) + dy * math.sin(a)
    v = -dx * math.sin(a) + dy * math.cos(a)
    return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0


def in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# The wing: it leaves the stem below the bird and sweeps down to the right like a note's flag.
WING = [(0.55, 0.30), (0.66, 0.33), (0.77, 0.41), (0.83, 0.52), (0.81, 0.66),
        (0.76, 0.55), (0.69, 0.47), (0.60, 0.43), (0.55, 0.43)]
# The beak points right, away from the wing's sweep.
BEAK = [(0.61, 0.14), (0.76, 0.185), (0.61, 0.23)]
# The tail points left, behind the bird.
TAIL = [(0.46, 0.20), (0.30, 0.12), (0.34, 0.22), (0.46, 0.27)]


def in_motif(x, y):
    """White parts of the picture."""
    if in_ellipse(x, y, 0.545, 0.175, 0.03, 0.03, 0):  # the bird's eye stays black
        return False
    return (in_ellipse(x, y, 0.37, 0.73, 0.17, 0.115, -25)  # note head
            or (0.485 <= x <= 0.56 and 0.20 <= y <= 0.73)  # stem
            or in_polygon(x, y, WING)
            or in_ellipse(x, y, 0.52, 0.19, 0.11, 0.095, 0)  # bird's head
            or in_polygon(x, y, BEAK)
            or in_polygon(x, y, TAIL))


def render(size):
    """Rows of (blue, green, red, alpha) from top to bottom."""
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            background = motif = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    y = (py * SAMPLES + sy + 0.5) * step
                    if in_rounded_square(x, y):
                        background += 1
                        if in_motif(x, y):
                            motif += 1
            alpha = round(255 * background / SAMPLES**2)
            grey = round(255 * motif / background) if background else 0
            row.append((grey, grey, grey, alpha))
        rows.append(row)
    return rows


def dib(size, rows):
    """BITMAPINFOHEADER, bottom-up 32-bit pixels, then the AND mask (1 = transparent)."""
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for px, (b, g, r, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                line[px // 8] |= 0x80 >> (px % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png(size, rows):
    """An 8-bit RGBA PNG, each row unfiltered, at the strongest compression."""

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for b, g, r, a in row:
            raw += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def icon_file(dib_sizes, png_sizes):
    sizes = dib_sizes + png_sizes
    images = ([dib(size, render(size)) for size in dib_sizes]
              + [png(size, render(size)) for size in png_sizes])
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        # A size of 256 is written as 0.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icon.py OUTPUT.ico\n")
        return 2
    with open(argv[1], "wb") as f:
        f.write(icon_file(DIB_SIZES, PNG_SIZES))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
