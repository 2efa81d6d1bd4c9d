#!/usr/bin/env python3
"""Draws the utility's icon and writes it as quillon-admin.ico.

A white page with a folded corner and a blue "Q", in 16, 32 and 48 pixel
images (32-bit BGRA bitmaps with their AND masks, the classic icon layout that
every Windows version reads). Standard library only; the output depends on
nothing but this file, so running it again reproduces the committed icon.

Usage: make_icon.py [OUTPUT]   (default: quillon-admin.ico beside this script)
"""
import math
import os
import struct
import sys

SIZES = (16, 32, 48)
SUBSAMPLES = 8  # per pixel side, for smooth edges

# Shapes in unit coordinates: (0, 0) is the top left corner of the image.
PAGE = [(0.16, 0.04), (0.62, 0.04), (0.86, 0.28), (0.86, 0.96), (0.16, 0.96)]
FOLD = [(0.62, 0.04), (0.62, 0.28), (0.86, 0.28)]
Q_CENTRE = (0.50, 0.60)
Q_OUTER = 0.225
Q_STROKE = 0.09
Q_TAIL = ((0.56, 0.66), (0.74, 0.84))

PAPER = (255, 255, 255)
FOLD_SHADE = (206, 214, 222)
OUTLINE = (72, 84, 96)
INK = (28, 104, 178)


def point_in_polygon(x, y, polygon):
    inside = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def distance_to_segment(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def distance_to_outline(x, y, polygon):
    edges = zip(polygon, polygon[1:] + polygon[:1])
    return min(distance_to_segment(x, y, a, b) for a, b in edges)


def snapped(polygon, size):
    """The polygon with its corners on pixel boundaries, so its edges stay crisp."""
    return [(round(x * size) / size, round(y * size) / size) for x, y in polygon]


def layers(size):
    """The drawing, bottom to top: (colour, test of a sample point)."""
    page, fold = snapped(PAGE, size), snapped(FOLD, size)
    stroke = max(1.0, size / 32) / size  # outline of whole pixels at every size

    def page_fill(x, y):
        return point_in_polygon(x, y, page)

    def fold_fill(x, y):
        return point_in_polygon(x, y, fold)

    def outlines(x, y):
        return ((page_fill(x, y) and distance_to_outline(x, y, page) < stroke)
                or (fold_fill(x, y) and distance_to_outline(x, y, fold) < stroke))

    def q_mark(x, y):
        radius = math.hypot(x - Q_CENTRE[0], y - Q_CENTRE[1])
        in_ring = Q_OUTER - Q_STROKE <= radius <= Q_OUTER
        return in_ring or distance_to_segment(x, y, *Q_TAIL) <= Q_STROKE / 2

    return [(PAPER, page_fill), (FOLD_SHADE, fold_fill), (OUTLINE, outlines), (INK, q_mark)]


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, straight (not premultiplied) alpha."""
    drawing = layers(size)
    step = 1.0 / (size * SUBSAMPLES)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            # Premultiplied accumulation of the layers, "over" one another.
            r = g = b = a = 0.0
            for colour, test in drawing:
                hits = sum(test((px * SUBSAMPLES + sx + 0.5) * step,
                                (py * SUBSAMPLES + sy + 0.5) * step)
                           for sy in range(SUBSAMPLES) for sx in range(SUBSAMPLES))
                cover = hits / (SUBSAMPLES * SUBSAMPLES)
                r = colour[0] * cover + r * (1 - cover)
                g = colour[1] * cover + g * (1 - cover)
                b = colour[2] * cover + b * (1 - cover)
                a = cover + a * (1 - cover)
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
        rows.append(row)
    return rows


def icon_image(size, rows):
    """BITMAPINFOHEADER, BGRA pixels bottom-up, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, alpha) in enumerate(row):
            if alpha == 0:  # a set bit lets the background through
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + pixels + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size, render(size)) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "quillon-admin.ico")
    with open(output, "wb") as file:
        file.write(icon_file(SIZES))


if __name__ == "__main__":
    main()
