#!/usr/bin/env python3
"""Writes the demo projects in data/samples/: an empty plan and a small room with two fixture types.

The photometry is a plain physical model so that anyone can check the numbers by hand:
a cosine-power downlight I(g) = I0 * cos(g)^n for g < 90 degrees, and a linear luminaire whose
C0 plane is wider than its C90 plane. Intensities are in cd per 1000 lm, like the catalogue's.
Run: python3 tools/make_samples.py  (rewrites the files; commit them with this script).
"""
import math
import os

from stored_numbers import fixed

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "samples")


def downlight(i0, n):
    def f(g):
        if g >= 90:
            return 0.0
        return i0 * math.cos(math.radians(g)) ** n
    return f


def plane_lines(f):
    fine = [f(g) for g in range(0, 21)]
    low = [f(g) for g in range(0, 91, 5)]
    high = [f(g) for g in range(90, 181, 5)]
    return [",".join(fixed(v, 4) for v in vals) for vals in (fine, low, high)]


def touroku_block(slot, t):
    lines = [str(slot), t["hinban"], t["option"], t["haikou"], t["lampJ"], t["lampA"], t["note"],
             "%d" % t["tosu"], fixed(t["efficiency"], 4), "%d" % t["planes"],
             "%d,%d,%d,%d,%d" % (t["kou"], t["kou"], t["ct"], t["maint"], -1),
             "%s,%d,%d,%d" % (fixed(t["lampFactor"], 2), t["placed"], t["sizeX"], t["sizeY"])]
    for p in range(3):
        f = t["planeFns"][p] if p < len(t["planeFns"]) else (lambda g: 0.0)
        lines += plane_lines(f)
    return lines


def write(name, header, types, walls, kigu, hasira, areas=()):
    # The writer stores how many fixtures of each type are placed.
    for slot, t in types:
        t["placed"] = sum(1 for k in kigu if k[0] == slot)
    lines = list(header)
    lines.append("TOUROKU")
    for slot, t in types:
        lines += touroku_block(slot, t)
    lines.append("END")
    lines.append("LINE")
    for w in walls:
        lines.append(w[0] + "".join(",%d" % v for v in w[1:]))
    lines.append("END")
    lines.append("KIGU")
    for k in kigu:
        lines.append(",".join("%d" % v for v in k))
    lines.append("END")
    lines.append("HASIRA")
    for h in hasira:
        lines.append(",".join("%d" % v for v in h))
    lines.append("END")
    # Task areas: corners in plan pixels, the required average lux and uniformity, then the name.
    if areas:
        lines.append("AREA")
        for a in areas:
            lines.append("%d,%d,%d,%d,%d,%s,%s" % (a[0], a[1], a[2], a[3], a[4], fixed(a[5], 2), a[6]))
        lines.append("END")
    data = ("\r\n".join(lines) + "\r\n").encode("cp932")
    with open(os.path.join(OUT, name), "wb") as fh:
        fh.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("empty.OLE", ["3000", fixed(-1, 2), "-1", ""], [], [], [], [])

    # 10 mm per pixel (a scale measured on a drawing), so the room of 12 m x 8 m is 1200 x 800 pixels.
    downlight_type = dict(hinban="DL-1000", option="", haikou="D100", lampJ="LED 電球色", lampA="LED-27K",
                          note="埋込ダウンライト", tosu=1, efficiency=0.85, planes=1, kou=1500, ct=2700,
                          maint=1, lampFactor=1.0, sizeX=0, sizeY=0,
                          planeFns=[downlight(400.0, 2)])
    linear_type = dict(hinban="FL-4000", option="", haikou="L400", lampJ="LED 昼白色", lampA="LED-50K",
                       note="ベースライト", tosu=2, efficiency=0.9, planes=2, kou=2500, ct=5000,
                       maint=5, lampFactor=1.0, sizeX=1200, sizeY=100,
                       planeFns=[downlight(300.0, 1), downlight(360.0, 3)])
    x0, y0, x1, y1 = 100, 100, 1300, 900
    walls = [
        ("L", x0, y0, x1, y0, 0, 0, 0, 0),
        ("L", x1, y0, x1, y1, 0, 0, 0, 0),
        ("L", x1, y1, x0, y1, 0, 0, 0, 0),
        ("L", x0, y1, x0, y0, 0, 0, 0, 0),
        # A partition wall with a bay window arc on the top wall's outside.
        ("L", 700, 100, 700, 500, 0, 0, 0, 0),
        # Arc from (1000,100) to (800,100) counter-clockwise on screen: the upper half of the circle
        # centred at (900,100) with radius 100, bounding square (800,0)-(1000,200).
        ("A", 1000, 100, 800, 100, 800, 0, 1000, 200),
    ]
    kigu = []
    for gx in range(4):
        for gy in range(3):
            x, y = 250 + gx * 300, 233 + gy * 267
            offset = 500 if (gx, gy) == (3, 2) else 0
            kigu.append((1, x, y, offset, x, y, 0, 0))
    kigu.append((19, 400, 500, 0, 400, 500, 0, 90))
    kigu.append((19, 1000, 700, -200, 1000, 700, 0, 0))
    hasira = [(50, 700, 700, 25), (51, 400, 800, 20)]
    write("room_sample.OLE", ["3000", fixed(10, 2), "50", "サンプル事務所"],
          [(1, downlight_type), (19, linear_type)], walls, kigu, hasira)
    # The same room with two desks to check: the one under the downlight grid meets what it asks for,
    # the one by the window asks for more than the room gives. Both keep clear of walls and pillars.
    areas = [(200, 180, 600, 450, 150, 0.5, "机A"),
             (760, 560, 1250, 860, 300, 0.6, "窓際デスク")]
    write("task_areas.OLE", ["3000", fixed(10, 2), "50", "サンプル事務所 作業領域"],
          [(1, downlight_type), (19, linear_type)], walls, kigu, hasira, areas)


if __name__ == "__main__":
    main()
