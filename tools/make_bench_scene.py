#!/usr/bin/env python3
# Generates data/samples/bench_office.OLE, the fixed benchmark scene of the illuminance calculation.
#
# An open-plan office at 1/100 on the 1915 x 900 drawing surface: six meeting rooms along the top,
# a corridor, an open office with a core, rounded meeting pods and desk screens (60 wall segments with
# arcs), 20 pillars of both kinds and about 200 luminaires of five types: compact cosine-power
# downlights (wide, medium and a narrow spot) and two linear types with a batwing across the length
# and a narrower distribution along it (C0 differs from C90), long enough to be split into point
# sources. Some luminaires hang lower or sit higher than the reference height, some linear ones are
# placed vertically. The script is deterministic (fixed seed); run it from the repository root:
#
#     python3 tools/make_bench_scene.py [OUTPUT]
import math
import random
import sys

from stored_numbers import fixed

TEN_DAKA = 2400          # mm between luminaires and the working plane
MM_PER_PIXEL = 26.32     # 1/100 on a 96 dpi screen: 38 pixels a metre
SCALE = 100


def cosine_power(n, peak_scale=1.0):
    """Intensity in cd per 1000 lm of I = I0 cos^n(gamma) emitting 1000 lm into the lower hemisphere."""
    i0 = (n + 1) * 1000.0 / (2 * math.pi) * peak_scale
    return [i0 * math.cos(math.radians(g)) ** n if g <= 90 else 0.0 for g in range(181)]


def batwing(peak, wing):
    """Across a linear luminaire: more light at 30-40 degrees than straight down, cut off at 90."""
    out = []
    for g in range(181):
        if g > 90:
            out.append(0.0)
            continue
        r = math.radians(g)
        out.append(peak * math.cos(r) * (1.0 + wing * math.sin(r) ** 2))
    return out


def stored_lines(plane):
    """The three table lines of a plane: 0..20 by 1 degree, 0..90 and 90..180 by 5 degrees."""
    fmt = lambda vals: ",".join(fixed(v, 4) for v in vals)
    return [fmt(plane[0:21]), fmt(plane[0:91:5]), fmt(plane[90:181:5])]


# slot, hinban, haikou code, lamp name J / A, tosu, efficiency, planes, kou, colour temperature,
# maintenance class, sizeX, sizeY, plane C0, plane C90
TYPES = [
    (1, "BD-DL150W", "W", "LED電球色", "LED-27K", 1, 88.0, 1, 1500, 2700, 1, 150, 150, cosine_power(1.6), None),
    (2, "BD-DL150M", "M", "LED温白色", "LED-35K", 1, 86.0, 1, 2200, 3500, 1, 150, 150, cosine_power(4.0), None),
    (7, "BD-SP100N", "N", "LED白色", "LED-40K", 1, 80.0, 1, 900, 4000, 1, 100, 100, cosine_power(14.0), None),
    (19, "BL-LN1250", "BW", "LED昼白色", "LED-50K", 2, 90.0, 2, 3200, 5000, 1, 1250, 90,
     batwing(260.0, 1.1), cosine_power(1.3, 0.62)),
    (20, "BL-LN2400", "BW", "LED昼光色", "LED-65K", 1, 91.0, 2, 6000, 6500, 1, 2400, 120,
     batwing(230.0, 1.4), cosine_power(1.1, 0.6)),
]


def touroku_block(t, placed):
    slot, hinban, code, lamp_j, lamp_a, tosu, eff, planes, kou, ct, mclass, sx, sy, c0, c90 = t
    lines = [
        "%d" % slot, hinban, "", code, lamp_j, lamp_a, "ベンチマーク用", "%d" % tosu, fixed(eff, 4),
        "%d" % planes, "%d,%d,%d,%d,%d" % (kou, kou, ct, mclass, 0), "%s,%d,%d,%d" % (fixed(1.0, 2), placed, sx, sy),
    ]
    p1 = c90 if c90 is not None else c0
    for plane in (c0, p1, [0.0] * 181):
        lines += stored_lines(plane)
    return lines


def build(rng):
    walls, kigu, hasira = [], [], []

    def wall(x1, y1, x2, y2):
        walls.append("L,%d,%d,%d,%d,0,0,0,0" % (x1, y1, x2, y2))

    def arc(cx, cy, r, a0, a1):
        """Counter-clockwise on screen from angle a0 to a1 (degrees), on the circle about (cx, cy)."""
        p = lambda a: (int(round(cx + r * math.cos(math.radians(a)))), int(round(cy - r * math.sin(math.radians(a)))))
        (x1, y1), (x2, y2) = p(a0), p(a1)
        walls.append("A,%d,%d,%d,%d,%d,%d,%d,%d" % (x1, y1, x2, y2, cx - r, cy - r, cx + r, cy + r))

    # Shell.
    wall(30, 30, 1880, 30)
    wall(1880, 30, 1880, 870)
    wall(1880, 870, 30, 870)
    wall(30, 870, 30, 30)
    # Meeting rooms along the top with doors onto the corridor.
    for x in (330, 630, 930, 1230, 1530):
        wall(x, 30, x, 330)
    for x0, x1 in ((30, 280), (340, 580), (640, 880), (940, 1180), (1240, 1480), (1540, 1880)):
        wall(x0, 330, x1, 330)
    # Core of the open office (lifts, stairs) and an angled reception.
    wall(820, 520, 1100, 520)
    wall(1100, 520, 1100, 700)
    wall(1100, 700, 820, 700)
    wall(820, 700, 820, 520)
    wall(60, 600, 200, 460)
    wall(200, 860, 60, 720)
    # Rounded meeting pods and a curved feature wall.
    arc(480, 620, 70, 20, 160)
    arc(480, 620, 70, 200, 340)
    arc(1420, 620, 80, 100, 260)
    arc(1420, 620, 80, 280, 80)
    arc(1700, 480, 60, 180, 360)
    arc(640, 800, 50, 0, 180)
    # Desk screens: short segments in the open office.
    while len(walls) < 60:
        x = rng.randrange(120, 1780)
        y = rng.randrange(400, 790)
        if 800 < x < 1120 and 500 < y < 720:
            continue
        if rng.random() < 0.5:
            wall(x, y, x + rng.randrange(40, 90), y)
        else:
            wall(x, y, x, y + rng.randrange(30, 70))

    # Pillars on the structural grid, alternating round and square.
    n = 0
    for y in (200, 450, 780):
        for x in (180, 480, 780, 1180, 1480, 1780):
            kind = 50 if n % 2 == 0 else 51
            hasira.append("%d,%d,%d,%d" % (kind, x, y, 11 + (n % 3) * 2))
            n += 1
    hasira.append("50,1000,400,14")
    hasira.append("51,300,400,12")

    def fixture(slot, x, y, offset=0, rotation=0):
        kigu.append("%d,%d,%d,%d,%d,%d,0,%d" % (slot, x, y, offset, x, y, rotation))

    # Meeting rooms: a 3 x 3 grid of medium downlights and two vertical linear luminaires each.
    for rx in (30, 330, 630, 930, 1230, 1530):
        w = 300 if rx < 1530 else 350
        for i in range(3):
            for j in range(3):
                fixture(2, rx + w * (i + 1) // 4, 30 + 300 * (j + 1) // 4)
        fixture(19, rx + w // 6, 180, 0, 90)
        fixture(19, rx + 5 * w // 6, 180, -300, 90)
    # Corridor: narrow spots, mounted higher.
    for x in range(80, 1880, 100):
        fixture(7, x, 365, 400 if (x // 100) % 3 == 0 else 0)
    # Open office: rows of long linear pendants hung lower, in between the wide downlights.
    for y in (430, 560, 690, 820):
        for x in range(120, 1800, 125):
            if 790 < x < 1130 and 500 < y < 720:
                continue
            fixture(20, x + rng.randrange(-6, 7), y, -500 if y in (560, 690) else 0)
    for y in (495, 625, 755):
        for x in range(180, 1800, 250):
            if 790 < x < 1130 and 500 < y < 720:
                continue
            fixture(1, x, y)
    while len(kigu) < 200:
        fixture(1, rng.randrange(60, 1860), rng.randrange(400, 860))
    return walls, kigu, hasira


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "data/samples/bench_office.OLE"
    rng = random.Random(20261207)
    walls, kigu, hasira = build(rng)
    placed = {}
    for k in kigu:
        slot = int(k.split(",")[0])
        placed[slot] = placed.get(slot, 0) + 1
    lines = ["%d" % TEN_DAKA, fixed(MM_PER_PIXEL, 2), "%d" % SCALE, "ベンチマーク事務所", "TOUROKU"]
    for t in TYPES:
        lines += touroku_block(t, placed.get(t[0], 0))
    lines += ["END", "LINE"] + walls + ["END", "KIGU"] + kigu + ["END", "HASIRA"] + hasira + ["END"]
    with open(out, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
    print("%s: %d walls, %d fixtures, %d pillars" % (out, len(walls), len(kigu), len(hasira)))


if __name__ == "__main__":
    main()
