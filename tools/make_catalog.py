#!/usr/bin/env python3
# Generates the sample luminaire catalogue in data/zolt_data from physical photometric models.
"""Writes T_Hinban2013.csv, t_haikou2010.csv, T_Lamp2010.csv and T_RGB.LEC (CP932, CR LF).

Intensities are in cd per 1000 lm of lamp flux and come from simple models whose emitted flux equals
the fixture efficiency times 1000 lm: cosine-power downlights, Gaussian spots (with 1-degree fine data
for narrow beams), batwing linear luminaires whose C0 and C90 planes differ, direct/indirect pendants
and uplights with light above 90 degrees, and asymmetric wall washers. The light colours are the
black-body colours of 2000 K to 8200 K: Planck's law integrated against an analytic fit of the CIE 1931
colour matching functions gives XYZ, which is turned into sRGB.

Usage: tools/make_catalog.py [OUTPUT_DIR]   (default: data/zolt_data beside this script's repository)
The output is deterministic; running it again reproduces the committed files byte for byte.
"""
import math
import os
import random
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "data", "zolt_data")
rng = random.Random(2013)


def write_lines(name, lines):
    with open(os.path.join(OUT, name), "wb") as f:
        for line in lines:
            f.write(line.encode("cp932") + b"\r\n")


def fmt(v):
    return "%.1f" % v


# ---------------------------------------------------------------- photometric models
def flux_of(intensity, step=0.25):
    """Flux in lm of a rotationally symmetric intensity function I(gamma degrees)."""
    total = 0.0
    g = step / 2
    while g < 180:
        total += intensity(g) * math.sin(math.radians(g)) * math.radians(step)
        g += step
    return 2 * math.pi * total


def scaled(shape, efficiency):
    """Scales a shape so that it emits efficiency × 1000 lm."""
    k = efficiency * 1000.0 / flux_of(shape)
    return lambda g: k * shape(g)


def cosine_power(m, cutoff=90.0, side=0.0):
    """Downlight: cos^m below the horizon; `side` adds a small constant share up to the cut-off."""
    def f(g):
        if g > cutoff:
            return 0.0
        c = math.cos(math.radians(g))
        return max(c, 0.0) ** m + side
    return f


def gaussian_spot(beam):
    """Spot: intensity halves at beam/2."""
    sigma = (beam / 2.0) / math.sqrt(math.log(2.0))
    return lambda g: math.exp(-(g / sigma) ** 2) if g < 90 else 0.0


def direct_indirect(m_down, m_up, up_share):
    def f(g):
        c = math.cos(math.radians(g))
        return (1 - up_share) * max(c, 0) ** m_down + up_share * max(-c, 0) ** m_up
    return f


def beam_angle(shape, level=0.5):
    """Full angle where a rotationally symmetric shape falls to `level` of its peak below 90°."""
    peak = max(shape(g / 10.0) for g in range(0, 900))
    for g10 in range(0, 1800):
        if shape(g10 / 10.0) < level * peak:
            return int(round(2 * g10 / 10.0))
    return 180


# ---------------------------------------------------------------- distributions
distributions = []   # (code, planeCount, {cplane: function}, fine_n or None)


def add_distribution(code, planes, fine=None):
    distributions.append((code, len(planes), planes, fine))


downlights = []
for i, m in enumerate([1, 1.5, 2, 3, 4, 5, 6, 8, 10, 12, 14, 16, 2.5, 3.5, 7]):
    code = "HD%03d" % (i + 1)
    cutoff = 90.0 if i % 3 else 85.0 + 0 * i
    side = 0.08 if i % 4 == 0 else 0.0   # a share of side light that ends sharply at 90°
    eff = 0.55 + 0.02 * (i % 10)
    shape = cosine_power(m, 90.0 if side else cutoff, side)
    add_distribution(code, {0: scaled(shape, eff)})
    downlights.append((code, shape, eff))

spots = []
for i, beam in enumerate([8, 10, 12, 15, 18, 20, 24, 30, 36, 45, 60]):
    code = "HS%03d" % (i + 1)
    eff = 0.70 + 0.02 * (i % 5)
    shape = gaussian_spot(beam)
    # Narrow beams carry 1° data from 0° up to where the 5° steps describe them well enough.
    fine = min(31, max(10, int(beam * 1.3))) if beam <= 24 else None
    add_distribution(code, {0: scaled(shape, eff)}, fine)
    spots.append((code, shape, eff))

linears = []
for i in range(14):
    code = "HL%03d" % (i + 1)
    eff = 0.60 + 0.02 * (i % 8)
    k = 0.6 + 0.25 * (i % 5)             # batwing strength across the lamp
    m0 = 1.0 + 0.5 * (i % 4)             # along the lamp: plain cosine power
    c0 = cosine_power(m0)
    c90 = lambda g, k=k: (max(math.cos(math.radians(g)), 0) ** 1.2) * (1 + k * math.sin(math.radians(g)) ** 2) if g < 90 else 0.0
    # Both planes share the overall scale of their mean, so their ratio stays the batwing's.
    mean = lambda g, c0=c0, c90=c90: 0.5 * (c0(g) + c90(g))
    scale = eff * 1000.0 / flux_of(mean)
    planes = {0: (lambda g, c0=c0, s=scale: s * c0(g)), 90: (lambda g, c90=c90, s=scale: s * c90(g))}
    if i % 3 == 2:
        planes[180] = planes[0]          # three planes, C180 equal to C0
    add_distribution(code, planes)
    linears.append((code, c0, eff))

uplights = []
for i, (md, mu, share) in enumerate([(2, 1, 0.3), (3, 2, 0.5), (1, 1, 0.2), (4, 3, 0.6), (2, 4, 0.8),
                                     (1, 2, 0.4), (5, 1, 0.25), (2, 2, 0.7)]):
    code = "HU%03d" % (i + 1)
    eff = 0.65 + 0.03 * i
    shape = direct_indirect(md, mu, share)
    add_distribution(code, {0: scaled(shape, eff)})
    uplights.append((code, shape, eff))

ceilings = []
for i in range(8):
    code = "HC%03d" % (i + 1)
    eff = 0.75 + 0.02 * i
    spread = 1.0 + 0.15 * i
    shape = lambda g, spread=spread: (max(math.cos(math.radians(g)), 0) ** 0.8) + 0.1 * spread * max(math.cos(math.radians(g - 60)), 0) * (1 if g < 110 else 0)
    add_distribution(code, {0: scaled(shape, eff)})
    ceilings.append((code, shape, eff))

washers = []
for i in range(8):
    code = "HW%03d" % (i + 1)
    eff = 0.6 + 0.03 * (i % 4)
    tilt = 20 + 5 * i
    toward = lambda g, t=tilt: max(math.cos(math.radians(g - t)), 0) ** 3 if g < 90 + t else 0.0
    away = lambda g: max(math.cos(math.radians(g)), 0) ** 6 if g < 90 else 0.0
    side = lambda g, t=tilt: max(math.cos(math.radians(g - t / 2)), 0) ** 4 if g < 90 else 0.0
    scale = eff * 1000.0 / flux_of(lambda g: (toward(g) + away(g) + 2 * side(g)) / 4)
    add_distribution(code, {0: (lambda g, f=toward, s=scale: s * f(g)), 90: (lambda g, f=side, s=scale: s * f(g)),
                            180: (lambda g, f=away, s=scale: s * f(g))})
    washers.append((code, toward, eff))


def distribution_lines():
    lines = ["配光コード,名称,面数,C面,予備,並び,備考"]
    for code, count, planes, fine in distributions:
        for cplane in sorted(planes):
            f = planes[cplane]
            low = [fmt(f(g)) for g in range(0, 91, 5)]
            high = [fmt(f(g)) for g in range(90, 181, 5)]
            lines.append(",".join([code, "配光%s" % code, str(count), str(cplane), "0", "90", ""] + low))
            lines.append(",".join([code, "配光%s" % code, str(count), str(cplane), "0", "180", ""] + high))
            if fine is not None:
                vals = [fmt(max(f(g), 0.1)) for g in range(0, fine + 1)]
                lines.append(",".join([code, "配光%s" % code, str(count), str(cplane), "0", str(fine), "精細"] + vals))
    return lines


# ---------------------------------------------------------------- lamps
lamp_kinds = [
    # Japanese name template, alphanumeric template, flux list, colour temperatures, factor
    ("LED電球色 {f}lm形", "LED-L{f}", [500, 800, 1200, 2000, 3000], [2700], 1.0),
    ("LED温白色 {f}lm形", "LED-WW{f}", [800, 1200, 2000], [3500], 1.0),
    ("LED白色 {f}lm形", "LED-W{f}", [1200, 2500, 4000], [4200], 1.0),
    ("LED昼白色 {f}lm形", "LED-N{f}", [1000, 2500, 4000, 6900], [5000], 1.0),
    ("LED昼光色 {f}lm形", "LED-D{f}", [1500, 3000, 5200], [6500], 1.0),
    ("Hf蛍光ランプ {f}lm", "FHF32EX-{f}", [3520, 4950], [3000, 5000], 0.95),
    ("蛍光ランプ FL40 {f}lm", "FL40S-{f}", [2850, 3000], [4200, 6500], 0.9),
    ("ﾊﾛｹﾞﾝ電球 {f}lm", "JDR110V-{f}", [650, 900], [2900], 0.93),
    ("ﾒﾀﾙﾊﾗｲﾄﾞﾗﾝﾌﾟ {f}lm", "MT150-{f}", [12000, 16000], [4000, 6000], 0.9),
    ("コンパクト蛍光ランプ {f}lm", "FDL27EX-{f}", [1550, 1750], [3000, 5000], 0.95),
    ("LED電球 E26口金 {f}lm", "LDA-{f}", [485, 810, 1160], [2700, 5000], 1.0),
]
lamps = []   # (code, nameJ, nameA, flux, ct, factor)
for kj, ka, fluxes, cts, factor in lamp_kinds:
    for f in fluxes:
        for ct in cts:
            code = "L%03d" % (len(lamps) + 1)
            suffix = "" if len(cts) == 1 else "-%dK" % ct
            lamps.append((code, kj.format(f=f) + ("" if len(cts) == 1 else " %dK" % ct),
                          ka.format(f=f) + suffix, f * (1 + rng.choice([0, 0.02, -0.03])), ct, factor))


def lamp_lines():
    lines = ["コード,区分,ランプ名,ランプ名英数,形式,口金,全光束,色温度,演色,消費電力,寿命,ランプ係数"]
    for code, nj, na, flux, ct, factor in lamps:
        lines.append(",".join([code, "1", nj, na, na.split("-")[0], "-", "%.1f" % flux, str(ct), "Ra83",
                               "%.1f" % (flux / 100.0), "40000", "%.2f" % factor]))
    return lines


def lamps_matching(prefixes):
    return [l for l in lamps if any(l[2].startswith(p) for p in prefixes)]


# ---------------------------------------------------------------- products
products = []   # fields list of 31


def product_line(hinban, name, tosu, lamp_code, haikou, maint, asym, note, a, b, c, d, eff):
    fields = [""] * 31
    fields[0] = hinban
    fields[1] = name
    fields[2] = "標準"
    fields[3] = rng.choice(["ホワイト", "シルバー", "ブラック"])
    fields[4] = "φ%d" % rng.choice([75, 100, 125, 150])
    fields[5] = str(rng.choice([12000, 18000, 24000, 36000]))
    fields[6] = str(tosu)
    fields[7] = lamp_code
    fields[8] = haikou
    fields[9] = str(maint)
    fields[10] = asym
    fields[11] = note
    for i in range(12, 18):
        fields[i] = ""
    fields[18] = str(a)
    fields[19] = str(b)
    fields[20] = str(c)
    fields[21] = str(d)
    fields[22] = "%.1f" % rng.uniform(50, 200)    # 23..26: dimensions and mass, kept by nobody
    fields[23] = "%.1f" % rng.uniform(50, 200)
    fields[24] = "%.1f" % rng.uniform(50, 150)
    fields[25] = "%.2f" % rng.uniform(0.3, 4.0)
    fields[26] = "%d" % rng.choice([1, 2])
    fields[30] = "%.2f" % eff
    products.append(",".join(fields))


def add_family(prefix, name, dists, lamp_prefixes, count, tosu_choices, maint_choices, kind):
    for n in range(count):
        code, shape, eff = dists[n % len(dists)]
        hinban = "%s-%04d%s" % (prefix, 1000 + 7 * n, "AB"[n % 2] if n % 3 else "")
        half = beam_angle(shape, 0.5)
        tenth = beam_angle(shape, 0.1)
        tosu = tosu_choices[n % len(tosu_choices)]
        maint = maint_choices[n % len(maint_choices)]
        if kind == "one":          # described by one angle
            a, b, c, d, asym = half, 0, 0, 0, ""
        elif kind == "sym":        # right = left, parenthesised tenth-peak angle
            a, b, c, d, asym = half, half, tenth, half, "1" if n % 2 else ""
        elif kind == "asym":       # wall washers: the two sides differ and the dialog refuses them
            a, b, c, d, asym = half, half, tenth, max(5, half // 2), "1"
        else:                      # left side given but not flagged: treated as symmetric
            a, b, c, d, asym = half, half, tenth, half + 10, ""
        choices = lamps_matching(lamp_prefixes)
        variants = rng.sample(choices, k=min(len(choices), 2 + n % 3))
        for lamp in sorted(variants):
            product_line(hinban, name, tosu, lamp[0], code, maint, asym, "%s %s" % (name, lamp[2]), a, b, c, d, eff)
        if n % 5 == 0:             # a body-only line that offers no lamp
            product_line(hinban, name, tosu, "0" if n % 10 == 0 else "", code, maint, asym, "本体のみ", a, b, c, d, eff)


add_family("DL", "ダウンライト", downlights, ["LED-L", "LED-WW", "LED-N", "FDL"], 34, [1], [1, 5, 6, 10], "one")
add_family("DS", "ユニバーサルダウンライト", spots, ["LED-L", "LED-W", "JDR"], 16, [1], [2, 5], "sym")
add_family("SP", "スポットライト", spots, ["LED-L", "LED-WW", "LED-N", "JDR"], 20, [1], [1, 6], "sym")
add_family("FL", "ベースライト", linears, ["FHF", "FL40", "LED-N", "LED-W"], 22, [1, 2], [2, 3, 7, 8], "one")
add_family("CL", "シーリングライト", ceilings, ["LED-L", "LED-N", "LED-D"], 12, [1], [11, 13, 15], "one")
add_family("PD", "ペンダント", uplights, ["LED-L", "LED-WW", "FDL"], 10, [1, 2], [14, 16, 17], "left")
add_family("HB", "高天井用器具", downlights[6:], ["MT150"], 8, [1], [4, 9, 18, 20], "one")
add_family("WW", "ウォールウォッシャー", washers, ["LED-W", "LED-N"], 8, [1], [1, 5], "asym")


# ---------------------------------------------------------------- light colours
def cmf(lam):
    """CIE 1931 2° colour matching functions, multi-lobe Gaussian fit (lam in nm)."""
    def g(x, mu, s1, s2):
        s = s1 if x < mu else s2
        return math.exp(-0.5 * ((x - mu) / s) ** 2)
    x = 1.056 * g(lam, 599.8, 37.9, 31.0) + 0.362 * g(lam, 442.0, 16.0, 26.7) - 0.065 * g(lam, 501.1, 20.4, 26.2)
    y = 0.821 * g(lam, 568.8, 46.9, 40.5) + 0.286 * g(lam, 530.9, 16.3, 31.1)
    z = 1.217 * g(lam, 437.0, 11.8, 36.0) + 0.681 * g(lam, 459.0, 26.0, 13.8)
    return x, y, z


def blackbody_rgb(kelvin):
    h, c, k = 6.62607015e-34, 2.99792458e8, 1.380649e-23
    X = Y = Z = 0.0
    for lam in range(380, 781, 1):
        m = lam * 1e-9
        p = 1.0 / (m ** 5 * (math.exp(h * c / (m * k * kelvin)) - 1.0))
        x, y, z = cmf(lam)
        X += p * x
        Y += p * y
        Z += p * z
    X, Z = X / Y, Z / Y
    Y = 1.0
    r = 3.2406 * X - 1.5372 * Y - 0.4986 * Z
    g = -0.9689 * X + 1.8758 * Y + 0.0415 * Z
    b = 0.0557 * X - 0.2040 * Y + 1.0570 * Z
    r, g, b = max(r, 0), max(g, 0), max(b, 0)
    top = max(r, g, b)
    def enc(v):
        v /= top
        v = 12.92 * v if v <= 0.0031308 else 1.055 * v ** (1 / 2.4) - 0.055
        return int(round(255 * min(max(v, 0), 1)))
    return enc(r), enc(g), enc(b)


def colour_lines():
    values = []
    for i in range(63):
        r, g, b = blackbody_rgb((20 + i) * 100)
        values.append("%06X" % (r | (g << 8) | (b << 16)))
    return [" ".join(values[i:i + 8]) for i in range(0, 63, 8)]


def main():
    os.makedirs(OUT, exist_ok=True)
    header = ",".join(["品番", "品名", "シリーズ", "色", "寸法", "価格", "灯数", "ランプコード", "配光コード",
                       "保守率区分", "非対称", "備考", "f13", "f14", "f15", "f16", "f17", "f18", "ビーム角",
                       "右ビーム角", "1/10ビーム角", "左ビーム角", "f23", "f24", "f25", "f26", "f27", "f28", "f29",
                       "f30", "器具効率"])
    write_lines("T_Hinban2013.csv", [header] + products)
    write_lines("t_haikou2010.csv", distribution_lines())
    write_lines("T_Lamp2010.csv", lamp_lines())
    write_lines("T_RGB.LEC", colour_lines())
    hinbans = {p.split(",")[0] for p in products}
    print("%d product numbers on %d lines, %d distributions, %d lamps, 63 colours -> %s"
          % (len(hinbans), len(products), len(distributions), len(lamps), OUT))


if __name__ == "__main__":
    main()
