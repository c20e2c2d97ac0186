#!/usr/bin/env python3
"""Regenerates hostile inputs: damaged projects, photometric files and command lines for ordivan-cli, and
damaged DXF drawings for the window's DXF background.

Every file is derived from a well-formed one by one mutation, so each says what it tries; the set is
the same on every run (no randomness without a fixed seed).
"""
import os
import random
import sys

INT_MAX = 2**31 - 1
INT_MIN = -2**31
HUGE_REALS = ["1e308", "-1e308", "3.4028235e38", "2.9999999e38", "299999990000000000000000000000000000000.00",
              "inf", "nan", "-0", "1e-320", "0x10", "1,5", ""]
HUGE_INTS = [str(INT_MAX), str(INT_MIN), "2147483648", "99999999999", "-1", "0", "1.5", "", " 7", "+7"]


def lines_of(data):
    return data.split(b"\r\n")


def joined(lines):
    return b"\r\n".join(lines)


def project_mutations(sample):
    """(name, bytes) pairs, each the sample with one thing broken."""
    out = []
    lines = lines_of(sample)
    # Cut short at many points, mid-line and at line ends.
    for i, cut in enumerate(range(0, len(sample), max(1, len(sample) // 40))):
        out.append(("cut%02d" % i, sample[:cut]))
    out.append(("no_last_end", sample[:sample.rfind(b"END")]))
    for section in (b"TOUROKU", b"LINE", b"KIGU", b"HASIRA"):
        out.append(("lower_" + section.decode(), sample.replace(b"\r\n" + section + b"\r\n",
                                                                b"\r\n" + section.lower() + b"\r\n", 1)))
        out.append(("twice_" + section.decode(), sample.replace(b"\r\n" + section + b"\r\n",
                                                                b"\r\n" + section + b"\r\nEND\r\n" + section + b"\r\n", 1)))
    # Each header and record field replaced by numbers no file should hold.
    rng = random.Random(15)
    numeric = [i for i, l in enumerate(lines) if l and all(c in b"0123456789.,-" for c in l)]
    for n, i in enumerate(rng.sample(numeric, min(60, len(numeric)))):
        fields = lines[i].split(b",")
        k = rng.randrange(len(fields))
        value = rng.choice(HUGE_REALS if b"." in fields[k] else HUGE_INTS)
        fields[k] = value.encode()
        mutated = list(lines)
        mutated[i] = b",".join(fields)
        out.append(("field%02d_line%d" % (n, i), joined(mutated)))
    for n, value in enumerate(HUGE_REALS):
        mutated = list(lines)
        mutated[1] = value.encode()
        out.append(("mmpp%02d" % n, joined(mutated)))
    for n, value in enumerate(HUGE_INTS):
        mutated = list(lines)
        mutated[0] = value.encode()
        out.append(("tendaka%02d" % n, joined(mutated)))
    # Geometry at the ends of the integers, an arc among them.
    edge = "%d,%d,%d,%d,%d,%d,%d,%d" % (INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN)
    out.append(("arc_at_int_limits", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\nA," + edge.encode() + b"\r\n", 1)))
    out.append(("line_at_int_limits", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\nL," + edge.encode() + b"\r\n", 1)))
    out.append(("fixture_at_int_limits", sample.replace(
        b"\r\nKIGU\r\n", b"\r\nKIGU\r\n1,%d,%d,%d,0,0,0,0\r\n" % (INT_MAX, INT_MIN, INT_MAX), 1)))
    out.append(("pillar_at_int_limits", sample.replace(
        b"\r\nHASIRA\r\n", b"\r\nHASIRA\r\n50,%d,%d,%d\r\n" % (INT_MAX, INT_MIN, INT_MAX), 1)))
    for slot in (b"0", b"37", b"-1", b"2147483647"):
        out.append(("slot_" + slot.decode(), sample.replace(b"\r\nTOUROKU\r\n1\r\n", b"\r\nTOUROKU\r\n" + slot + b"\r\n", 1)))
        out.append(("kigu_slot_" + slot.decode(), sample.replace(b"\r\nKIGU\r\n1,", b"\r\nKIGU\r\n" + slot + b",", 1)))
    start = sample.find(b"\r\nTOUROKU\r\n") + 11
    block_end = start
    for _ in range(21):
        block_end = sample.find(b"\r\n", block_end) + 2
    out.append(("duplicate_slot_block", sample[:block_end] + sample[start:block_end] + sample[block_end:]))
    # Bytes that are not text, lines past the buffer, odd line ends.
    out.append(("long_line", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\n" + b"1" * 100000 + b"\r\n", 1)))
    out.append(("line_299", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\nL" + b",1" * 149 + b"\r\n", 1)))
    out.append(("nul_bytes", sample.replace(b"\r\nKIGU\r\n", b"\r\nKIGU\r\n\0\0\0\r\n", 1)))
    out.append(("bad_cp932_kind", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\n\xc3,1,2,3,4,5,6,7,8\r\n", 1)))
    out.append(("bad_cp932_text", sample.replace(sample.split(b"\r\n")[3], b"\x81\xff\xc3\x28\x82", 1)))
    out.append(("lf_only", sample.replace(b"\r\n", b"\n")))
    out.append(("cr_only", sample.replace(b"\r\n", b"\r")))
    out.append(("empty", b""))
    out.append(("binary", bytes(range(256)) * 64))
    out.append(("many_records", sample.replace(b"\r\nKIGU\r\n", b"\r\nKIGU\r\n" + b"1,100,100,0,100,100,0,0\r\n" * 20000, 1)))
    # A dense field of partitions round the fixtures, so that each sorts its walls by direction: walls of
    # no length, walls along a sight line and long walls running off the surface among them.
    field = []
    for y in range(60, 960, 9):
        for x in range(60, 1360, 9):
            k = (x + y) // 9 % 4
            x2, y2 = ((x + 6, y + 1), (x, y + 6), (x, y), (x + 5, y + 5))[k]
            field.append(b"L,%d,%d,%d,%d,0,0,0,0\r\n" % (x, y, x2, y2))
    field.append(b"L,-5000,500,6000,501,0,0,0,0\r\n")
    field.append(b"L,250,-4000,251,5000,0,0,0,0\r\n")
    out.append(("wall_field", sample.replace(b"\r\nLINE\r\n", b"\r\nLINE\r\n" + b"".join(field), 1)))
    return out


def ies(values, header=b"1 1000 1 3 1 1 2 0 0 0", angles=b"0 45 90\r\n0", tilt=b"TILT=NONE"):
    return b"IESNA:LM-63-2002\r\n[LUMCAT] H-1\r\n" + tilt + b"\r\n" + header + b"\r\n1 1 10\r\n" + angles + b"\r\n" + values + b"\r\n"


def photometry_files():
    out = [("ies_ok.ies", ies(b"500 250 0"))]
    for n, v in enumerate([b"1e308 250 0", b"-5 250 0", b"nan 1 1", b"inf 1 1", b"500 250", b"500 x 0", b"1e400 1 1"]):
        out.append(("ies_values%d.ies" % n, ies(v)))
    for n, h in enumerate([b"1 1e308 1 3 1 1 2 0 0 0", b"1 1e-300 1 3 1 1 2 0 0 0", b"1 1000 1e308 3 1 1 2 0 0 0",
                           b"2147483647 1000 1 3 1 1 2 0 0 0", b"1 1000 1 2147483647 1 1 2 0 0 0",
                           b"1 1000 1 3 2147483647 1 2 0 0 0", b"1 1000 1 3 1 1 2 1e308 1e308 0", b"1 1000 1 3 1 2 2 0 0 0",
                           b"1 0 1 3 1 1 2 0 0 0", b"1 -1 1 3 1 1 2 0 0 0", b"", b"1"]):
        out.append(("ies_header%d.ies" % n, ies(b"500 250 0", header=h)))
    out.append(("ies_ballast.ies", ies(b"500 250 0").replace(b"\r\n1 1 10\r\n", b"\r\n1e308 1 10\r\n")))
    out.append(("ies_tilt.ies", ies(b"500 250 0", tilt=b"TILT=INCLUDE\r\n1\r\n2147483647\r\n0 1\r\n1 1")))
    out.append(("ies_angles.ies", ies(b"500 250 0", angles=b"90 45 0\r\n0")))
    out.append(("ies_long_line.ies", ies(b"500 " * 100000 + b"0")))
    out.append(("ies_binary.ies", bytes(range(256)) * 16))
    out.append(("ies_empty.ies", b""))
    ldt = [b"Maker", b"1", b"1", b"4", b"90", b"3", b"5", b"report", b"Panel", b"SQ-600", b"sq.ldt", b"2026", b"620",
           b"620", b"80", b"600", b"150", b"0", b"0", b"0", b"0", b"100", b"78.5", b"1", b"0", b"1", b"1", b"LED module",
           b"6000", b"3000K", b"80", b"45"] + [b"0.5"] * 10 + [b"0", b"90", b"180", b"270", b"0", b"90", b"180",
                                                              b"300", b"100", b"0"]
    out.append(("ldt_ok.ldt", b"\r\n".join(ldt) + b"\r\n"))
    for i in range(len(ldt)):
        for n, v in enumerate([b"1e308", b"-1", b"2147483647", b""]):
            mutated = list(ldt)
            mutated[i] = v
            out.append(("ldt_line%02d_%d.ldt" % (i, n), b"\r\n".join(mutated) + b"\r\n"))
    out.append(("ldt_cut.ldt", b"\r\n".join(ldt[:20])))
    return out


def dxf_drawing():
    """A small well-formed drawing: header extents, a line, a polyline, an arc and a circle."""
    groups = [
        ("0", "SECTION"), ("2", "HEADER"), ("9", "$LINEMIN"), ("10", "0.0"), ("20", "0.0"),
        ("9", "$LINEMAX"), ("10", "10000.0"), ("20", "8000.0"), ("0", "ENDSEC"),
        ("0", "SECTION"), ("2", "ENTITIES"),
        ("0", "LINE"), ("8", "WALL"), ("10", "1000.0"), ("20", "2000.0"), ("11", "5000.0"), ("21", "2000.0"),
        ("0", "POLYLINE"), ("8", "WALL"), ("66", "1"),
        ("0", "VERTEX"), ("10", "0.0"), ("20", "0.0"), ("42", "0.0"),
        ("0", "VERTEX"), ("10", "3000.0"), ("20", "0.0"),
        ("0", "VERTEX"), ("10", "3000.0"), ("20", "4000.0"),
        ("0", "SEQEND"),
        ("0", "ARC"), ("10", "2000.0"), ("20", "2000.0"), ("40", "1000.0"), ("50", "0.0"), ("51", "90.0"),
        ("0", "CIRCLE"), ("10", "6000.0"), ("20", "6000.0"), ("40", "500.0"),
        ("0", "ENDSEC"), ("0", "EOF"),
    ]
    return groups


def dxf_bytes(groups, eol=b"\r\n"):
    return eol.join(b"%s%s%s" % (c.encode(), eol, v.encode()) for c, v in groups) + eol


def dxf_mutations():
    """(name, bytes) pairs: the drawing with one thing broken, and files that are no drawing at all."""
    groups = dxf_drawing()
    good = dxf_bytes(groups)
    out = [("dxf_ok", good)]
    for i, cut in enumerate(range(0, len(good), max(1, len(good) // 30))):
        out.append(("dxf_cut%02d" % i, good[:cut]))
    numeric = [i for i, (c, v) in enumerate(groups) if c in ("10", "20", "11", "21", "40", "42", "50", "51")]
    for i in numeric:
        for n, value in enumerate(["1e308", "-1e308", "3.5e38", "inf", "nan", "1e-320", "", "x", "0x10"]):
            mutated = list(groups)
            mutated[i] = (groups[i][0], value)
            out.append(("dxf_value%02d_%d" % (i, n), dxf_bytes(mutated)))
    for n, code in enumerate(["", "x", "-1", "2147483648", "99999999999", " 10", "1" * 60]):
        mutated = list(groups)
        mutated[13] = (code, groups[13][1])
        out.append(("dxf_code%d" % n, dxf_bytes(mutated)))
    # Entities whose closing group never comes read on to the end of the file.
    for kind, last in (("LINE", "21"), ("ARC", "51"), ("CIRCLE", "40")):
        at = next(i for i, (c, v) in enumerate(groups) if v == kind)
        unfinished = [g for g in groups[:at + 1]] + [g for g in groups[at + 1:] if g[0] != last]
        out.append(("dxf_no_%s" % last, dxf_bytes(unfinished)))
        out.append(("dxf_ends_in_%s" % kind, dxf_bytes(groups[:at + 2])))
    entities = groups.index(("2", "ENTITIES"))
    out.append(("dxf_polyline_without_vertex", dxf_bytes(groups[:entities + 1] + [("0", "POLYLINE"), ("0", "ENDSEC")])))
    out.append(("dxf_vertex_without_seqend", dxf_bytes([g for g in groups if g != ("0", "SEQEND")])))
    out.append(("dxf_no_entities", dxf_bytes([g for g in groups if g[1] != "ENTITIES"])))
    out.append(("dxf_layer_named_line", dxf_bytes(groups[:entities + 1] + [("8", "LINE")] + groups[entities + 1:])))
    out.append(("dxf_long_value", dxf_bytes(groups[:entities + 1] + [("8", "W" * 100000)] + groups[entities + 1:])))
    out.append(("dxf_long_code", dxf_bytes(groups[:entities + 1]) + b"1" * 100000 + b"\r\nLINE\r\n"))
    # Many counted entities with no geometry: the first pass promises more than the second finds.
    out.append(("dxf_many_counted", dxf_bytes(groups[:entities + 1] + [("0", "VERTEX"), ("0", "LINE")] * 200000)))
    out.append(("dxf_lf_only", dxf_bytes(groups, b"\n")))
    out.append(("dxf_cr_only", dxf_bytes(groups, b"\r")))
    out.append(("dxf_nul_bytes", good.replace(b"WALL", b"\0\0\0\0", 1)))
    out.append(("dxf_empty", b""))
    out.append(("dxf_binary", bytes(range(256)) * 64))
    return out


def command_lines(project, ies_file, out_dir):
    """Malformed command lines: (name, arguments, output that must not appear unless the exit is 0)."""
    o = os.path.join(out_dir, "cmd_out")
    return [
        ("no_arguments", [], None),
        ("unknown_command", ["frobnicate"], None),
        ("validate_two", ["validate", project, project], None),
        ("save_missing_out", ["save", project], None),
        ("save_to_directory", ["save", project, out_dir], None),
        ("save_to_missing_dir", ["save", project, os.path.join(out_dir, "none", "x.OLE")], None),
        ("calc_step_0", ["calc", project, "--step", "0"], None),
        ("calc_step_text", ["calc", project, "--step", "abc"], None),
        ("calc_screen_zero", ["calc", project, "--screen", "0x0"], None),
        ("calc_screen_huge", ["calc", project, "--screen", "100000x100000", "--json", o + ".json"], o + ".json"),
        ("calc_dpi_huge", ["calc", project, "--dpi", "2147483647"], None),
        ("calc_threads_negative", ["calc", project, "--threads", "-1"], None),
        ("calc_levels_five", ["calc", project, "--levels", "1,2,3,4,5"], None),
        ("calc_levels_descending", ["calc", project, "--levels", "6,5,4,3,2,1"], None),
        ("calc_height_negative", ["calc", project, "--height", "-1"], None),
        ("calc_height_huge", ["calc", project, "--height", str(INT_MAX), "--json", o + ".json"], o + ".json"),
        ("calc_value_missing", ["calc", project, "--png"], None),
        ("calc_png_and_bmp", ["calc", project, "--png", o + ".png", "--bmp", o + ".bmp"], o + ".png"),
        ("calc_png_stdout", ["calc", project, "--png", "-"], None),
        ("calc_dxf_type", ["calc", project, "--dxf", o + ".dxf", "--dxf-type", "purple"], o + ".dxf"),
        ("register_slot_0", ["register", project, "--slot", "0", "--hinban", "X", "--out", o + ".OLE"], o + ".OLE"),
        ("register_no_such", ["register", project, "--slot", "1", "--hinban", "NO-SUCH", "--out", o + ".OLE"], o + ".OLE"),
        ("import_slot_37", ["import-photometry", ies_file, project, "--slot", "37", "--out", o + ".OLE"], o + ".OLE"),
        ("import_slot_text", ["import-photometry", ies_file, project, "--slot", "x", "--out", o + ".OLE"], o + ".OLE"),
        ("curve_slot_99", ["curve", project, "--slot", "99", "--png", o + "c.png"], o + "c.png"),
        ("curve_free_slot", ["curve", project, "--slot", "30", "--png", o + "c.png"], o + "c.png"),
        ("list_csv_mode", ["list-csv", project, "--out", o + ".csv", "--mode", "Q"], o + ".csv"),
        ("list_print_margins", ["list-print", project, "--pdf", o + ".pdf", "--margins", "1,2,3"], o + ".pdf"),
        ("catalog_nothing", ["catalog"], None),
        ("catalog_search_empty", ["catalog", "search", ""], None),
    ]


def write_all(folder, samples_dir):
    """Writes the hostile files into folder; returns (projects, photometry files, DXF drawings)."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(samples_dir, "room_sample.OLE"), "rb") as f:
        sample = f.read()
    projects, photometry = [], []
    for name, data in project_mutations(sample):
        path = os.path.join(folder, name + ".OLE")
        with open(path, "wb") as f:
            f.write(data)
        projects.append(path)
    for name, data in photometry_files():
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data)
        photometry.append(path)
    drawings = []
    for name, data in dxf_mutations():
        path = os.path.join(folder, name + ".dxf")
        with open(path, "wb") as f:
            f.write(data)
        drawings.append(path)
    return projects, photometry, drawings


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: make_hostile.py SAMPLES_DIR OUT_DIR")
    p, ph, d = write_all(sys.argv[2], sys.argv[1])
    print("%d projects, %d photometric files, %d DXF drawings in %s" % (len(p), len(ph), len(d), sys.argv[2]))
