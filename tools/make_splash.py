#!/usr/bin/env python3
"""Draws the start-up picture data/zolt_data/zoltstart.bmp: the program name under a lamp and its light cone.

Plain Python, no imaging library: the picture is computed pixel by pixel and written as a 24-bit
Windows bitmap (bottom-up rows, each padded to four bytes).

    python3 tools/make_splash.py [output.bmp]
"""
import math
import os
import struct
import sys

W, H = 400, 240

# A 5 x 7 block font for the letters of the name.
GLYPHS = {
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def picture():
    night_top, night_bottom = (12, 18, 40), (30, 40, 70)
    warm = (255, 236, 170)
    lamp_x, lamp_y = W * 0.5, 34.0
    floor_y = 170.0
    half_angle = math.radians(26)
    px = [[mix(night_top, night_bottom, y / H) for _ in range(W)] for y in range(H)]
    for y in range(H):
        for x in range(W):
            dy = y - lamp_y
            if 0 < dy <= floor_y - lamp_y:
                # Inside the cone the light fades with distance and towards the cone's edge.
                angle = abs(math.atan2(x - lamp_x, dy))
                if angle < half_angle:
                    edge = 1.0 - (angle / half_angle) ** 2
                    fall = 1.0 - 0.55 * dy / (floor_y - lamp_y)
                    px[y][x] = mix(px[y][x], warm, 0.75 * edge * fall)
            # The pool of light on the floor.
            rx, ry = (floor_y - lamp_y) * math.tan(half_angle) + 18, 14.0
            e = ((x - lamp_x) / rx) ** 2 + ((y - floor_y) / ry) ** 2
            if e < 1.0:
                px[y][x] = mix(px[y][x], warm, 0.6 * (1.0 - e))
    # The lamp shade: a small dark trapezoid with a bright lower rim.
    for y in range(22, 35):
        half = 8 + (y - 22)
        for x in range(int(lamp_x - half), int(lamp_x + half) + 1):
            px[y][x] = (200, 200, 210) if y >= 33 else (70, 78, 100)
    for y in range(0, 22):
        px[y][int(lamp_x)] = (90, 96, 120)
    # The name, each font dot a 5 x 5 block, centred below the pool of light.
    name, dot, gap = "ORDIVAN", 5, 1
    width = len(name) * (5 + gap) * dot - gap * dot
    x0, y0 = (W - width) // 2, 192
    for i, ch in enumerate(name):
        for r, row in enumerate(GLYPHS[ch]):
            for c, bit in enumerate(row):
                if bit == "1":
                    for yy in range(dot - 1):
                        for xx in range(dot - 1):
                            X = x0 + (i * (5 + gap) + c) * dot + xx
                            Y = y0 + r * dot + yy
                            px[Y][X] = (240, 240, 245)
    return px


def write_bmp(path, px):
    row_bytes = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "zolt_data", "zoltstart.bmp")
    write_bmp(out, picture())
