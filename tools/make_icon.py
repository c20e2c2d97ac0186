#!/usr/bin/env python3
"""Draws the program icon at the usual hicolor sizes: a ceiling lamp whose cone of light falls on a floor
coloured like the program's illuminance map (warm in the middle, cooler rings outwards).

Plain Python, no imaging library: each pixel is the average of 4 x 4 samples (smooth edges), and the
picture is written as an 8-bit RGBA PNG with zlib.

    python3 tools/make_icon.py [output-folder]     (default data/icons; writes hicolor/NxN/apps/ordivan.png
                                                    and the same drawing as hicolor/scalable/apps/ordivan.svg)
"""
import math
import os
import struct
import sys
import zlib

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
SAMPLES = 4

BACKGROUND = (22, 34, 66)
# The six illuminance classes of the colour map, brightest first, as rings of the pool of light.
RINGS = [(226, 60, 40), (240, 150, 40), (240, 220, 60), (120, 200, 80), (60, 170, 200), (52, 96, 226)]
LIGHT = (255, 240, 190)
LAMP = (235, 235, 240)


def inside_rounded_square(x, y, radius):
    """x, y in 0..1; the icon's tile with rounded corners."""
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """The colour (r, g, b, a) of the point x, y in 0..1, y downwards."""
    if not inside_rounded_square(x, y, 0.18):
        return (0, 0, 0, 0)
    colour = BACKGROUND
    # The pool of light on the floor: an ellipse with six rings.
    ex, ey = (x - 0.5) / 0.42, (y - 0.74) / 0.16
    d = math.hypot(ex, ey)
    if d < 1.0:
        colour = RINGS[min(5, int(d * 6))]
    # The cone from the lamp to the floor, a soft light over whatever lies behind it.
    top, floor = 0.30, 0.74
    if top < y < floor:
        half = 0.06 + (y - top) / (floor - top) * 0.36
        if abs(x - 0.5) < half:
            t = 0.45 * (1 - abs(x - 0.5) / half)
            colour = tuple(int(round(colour[i] + (LIGHT[i] - colour[i]) * t)) for i in range(3))
    # The lamp: a cord and a shade.
    if abs(x - 0.5) < 0.025 and 0.08 < y < 0.22:
        colour = LAMP
    if 0.20 <= y <= 0.31 and abs(x - 0.5) < 0.06 + (y - 0.20) * 1.1:
        colour = LAMP
    return colour + (255,)


def picture(size):
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    # Colours are averaged weighted by their coverage, so the rim does not darken.
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            rgb = [int(round(acc[i] / acc[3])) if acc[3] else 0 for i in range(3)]
            row += bytes(rgb + [int(round(alpha))])
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + r for r in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def svg():
    """The same drawing in vector form, on a 256 unit square, for desktops that scale icons freely."""
    u = 256

    def hexcolour(c):
        return "#%02x%02x%02x" % c

    def n(v):
        return ("%.2f" % (v * u)).rstrip("0").rstrip(".")

    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (u, u, u, u),
             '  <title>ORDIVAN</title>',
             '  <defs>',
             '    <linearGradient id="cone" x1="0" y1="0" x2="1" y2="0">',
             '      <stop offset="0" stop-color="%s" stop-opacity="0"/>' % hexcolour(LIGHT),
             '      <stop offset="0.5" stop-color="%s" stop-opacity="0.45"/>' % hexcolour(LIGHT),
             '      <stop offset="1" stop-color="%s" stop-opacity="0"/>' % hexcolour(LIGHT),
             '    </linearGradient>',
             '  </defs>',
             '  <rect width="%s" height="%s" rx="%s" fill="%s"/>' % (n(1), n(1), n(0.18), hexcolour(BACKGROUND))]
    # The rings of the pool of light, the outermost first so each inner one covers the middle.
    for k in range(5, -1, -1):
        f = (k + 1) / 6
        parts.append('  <ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' %
                     (n(0.5), n(0.74), n(0.42 * f), n(0.16 * f), hexcolour(RINGS[k])))
    parts.append('  <polygon points="%s,%s %s,%s %s,%s %s,%s" fill="url(#cone)"/>' %
                 (n(0.44), n(0.30), n(0.56), n(0.30), n(0.92), n(0.74), n(0.08), n(0.74)))
    parts.append('  <rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' %
                 (n(0.475), n(0.08), n(0.05), n(0.14), hexcolour(LAMP)))
    shade = 0.06 + 0.11 * 1.1
    parts.append('  <polygon points="%s,%s %s,%s %s,%s %s,%s" fill="%s"/>' %
                 (n(0.44), n(0.20), n(0.56), n(0.20), n(0.5 + shade), n(0.31), n(0.5 - shade), n(0.31), hexcolour(LAMP)))
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "icons")
    for size in SIZES:
        folder = os.path.join(out, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "ordivan.png"), "wb") as f:
            f.write(png(size, picture(size)))
    folder = os.path.join(out, "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "ordivan.svg"), "w") as f:
        f.write(svg())


if __name__ == "__main__":
    main()
