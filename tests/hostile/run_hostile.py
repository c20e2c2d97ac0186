#!/usr/bin/env python3
"""Runs the hostile inputs of make_hostile.py through ordivan-cli validate/save/calc/import-photometry,
the DXF drawings through walls-from-dxf and through the main window's DXF command (hostile_dxf_open).

Holds: no run ends by a signal or hangs; every exit status is 0, 1 or 2, and a refusal says why on the
error stream; a project written with status 0 is accepted by validate; a refused command leaves no
output file behind. A DXF drawing is taken or refused with the system's message, the plan kept; a FIFO,
a device, a folder and a file past the reader's size limit are refused at once.
"""
import argparse
import os
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_hostile  # noqa: E402

TIMEOUT = 120
# One byte past the largest DXF drawing the reader takes (a sparse file: it costs no disk).
DXF_LIMIT_BYTES = 256 * 1024 * 1024


class Runner:
    def __init__(self, cli):
        self.cli = cli
        self.failures = []
        self.runs = 0

    def run(self, args, what):
        self.runs += 1
        try:
            p = subprocess.run([self.cli] + args, stdin=subprocess.DEVNULL, capture_output=True, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.failures.append("%s: no answer within %d s" % (what, TIMEOUT))
            return None
        if p.returncode < 0:
            self.failures.append("%s: ended by signal %d" % (what, -p.returncode))
        elif p.returncode not in (0, 1, 2):
            self.failures.append("%s: exit status %d" % (what, p.returncode))
        elif p.returncode != 0 and not p.stderr.strip():
            self.failures.append("%s: refused (%d) without a message" % (what, p.returncode))
        return p.returncode

    def writes_project(self, args, out, what):
        """A command writing a project: accepted by validate after status 0, absent after a refusal."""
        if os.path.exists(out):
            os.remove(out)
        status = self.run(args, what)
        if status == 0:
            if self.run(["validate", out], what + " -> validate") != 0:
                self.failures.append("%s: wrote a project validate refuses (%s)" % (what, out))
        elif status is not None and os.path.exists(out):
            self.failures.append("%s: refused (%s) yet wrote %s" % (what, status, out))

    def writes_file(self, args, out, what):
        if out and os.path.exists(out):
            os.remove(out)
        status = self.run(args, what)
        if status not in (0, None) and out and os.path.exists(out):
            self.failures.append("%s: refused (%s) yet wrote %s" % (what, status, out))


def open_drawings(r, dxf_open, drawings, tmp):
    """All drawings in one run of the window, the well-formed one first; then the files no reader may wait on."""
    fifo = os.path.join(tmp, "fifo.dxf")
    os.mkfifo(fifo)
    huge = os.path.join(tmp, "huge.dxf")
    with open(huge, "wb") as f:
        f.truncate(DXF_LIMIT_BYTES + 1)
    specials = ["/dev/zero", fifo, tmp, huge]
    good = next(d for d in drawings if os.path.basename(d) == "dxf_ok.dxf")
    r.runs += 1
    try:
        p = subprocess.run([dxf_open, good] + drawings + specials, stdin=subprocess.DEVNULL, capture_output=True,
                           timeout=TIMEOUT * 5, text=True, errors="replace")
    except subprocess.TimeoutExpired as e:
        last = (e.stdout or b"").decode(errors="replace").strip().splitlines()[-1:]
        r.failures.append("DXF drawings: no answer within %d s, at %s" % (TIMEOUT * 5, last))
        return
    lines = p.stdout.splitlines()
    if p.returncode < 0:
        r.failures.append("DXF drawings: ended by signal %d at %s" % (-p.returncode, lines[-1:]))
    r.failures += [l[5:] for l in lines if l.startswith("FAIL ")]
    if p.returncode not in (0, 1) or (p.returncode == 1 and not any(l.startswith("FAIL ") for l in lines)):
        r.failures.append("DXF drawings: exit status %d: %s" % (p.returncode, p.stderr.strip()[-400:]))
    outcome = {l.split(": ", 1)[0]: l.split(": ", 1)[1] for l in lines if ": " in l and not l.startswith("FAIL ")}
    for special in specials:
        if not outcome.get(special, "").startswith("refused: "):
            r.failures.append("DXF drawing %s: %s, not refused" % (special, outcome.get(special, "never answered")))
    if outcome.get(good) != "taken":
        r.failures.append("DXF drawing %s: %s, not taken" % (good, outcome.get(good, "never answered")))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--dxf-open", help="hostile_dxf_open, which opens DXF drawings through the main window")
    parser.add_argument("--samples", required=True)
    parser.add_argument("--keep", help="write the hostile files here and keep them")
    a = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="ordivan_hostile_") as tmp:
        folder = a.keep or os.path.join(tmp, "in")
        projects, photometry, drawings = make_hostile.write_all(folder, a.samples)
        sample = os.path.join(a.samples, "room_sample.OLE")
        good_ies = os.path.join(folder, "ies_ok.ies")
        out = os.path.join(tmp, "out.OLE")
        r = Runner(a.cli)

        for p in projects:
            name = os.path.basename(p)
            r.run(["validate", p], "validate " + name)
            r.writes_project(["save", p, out], out, "save " + name)
            r.writes_file(["calc", p, "--step", "7", "--json", out + ".json"], out + ".json", "calc " + name)
            r.writes_project(["import-photometry", good_ies, p, "--slot", "2", "--out", out], out, "import into " + name)
        for f in photometry:
            name = os.path.basename(f)
            r.writes_project(["import-photometry", f, sample, "--slot", "1", "--out", out], out, "import " + name)

        fifo = os.path.join(tmp, "fifo.OLE")
        os.mkfifo(fifo)
        for special in ("/dev/zero", fifo, tmp):
            r.run(["validate", special], "validate " + special)
            r.writes_project(["import-photometry", special, sample, "--slot", "1", "--out", out], out, "import " + special)
            r.writes_project(["save", special, out], out, "save " + special)

        for name, args, target in make_hostile.command_lines(sample, good_ies, tmp):
            r.writes_file(args, target, "command line " + name)

        # A project file the user can read but not replace: the save is refused and the file stays.
        locked_dir = os.path.join(tmp, "locked")
        os.mkdir(locked_dir)
        locked = os.path.join(locked_dir, "p.OLE")
        with open(sample, "rb") as src, open(locked, "wb") as dst:
            dst.write(src.read())
        os.chmod(locked_dir, stat.S_IRUSR | stat.S_IXUSR)
        if os.geteuid() != 0:
            status = r.run(["save", sample, locked], "save into a read-only folder")
            if status != 1:
                r.failures.append("save into a read-only folder: exit status %s, not 1" % status)
        os.chmod(locked_dir, stat.S_IRWXU)

        # The same drawings made into walls from the command line: taken or refused, never a broken project.
        for d in drawings:
            r.writes_project(["walls-from-dxf", sample, d, "--layers", "WALL,0", out], out, "walls from " + os.path.basename(d))
        for special in ("/dev/zero", fifo, tmp):
            r.writes_project(["walls-from-dxf", sample, special, "--layers", "WALL", out], out, "walls from " + special)

        if a.dxf_open:
            open_drawings(r, a.dxf_open, drawings, tmp)

    for f in r.failures:
        print("FAIL", f)
    print("%d runs, %d failures" % (r.runs, len(r.failures)))
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
