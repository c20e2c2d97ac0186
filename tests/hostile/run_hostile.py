#!/usr/bin/env python3
"""Runs the hostile inputs of make_hostile.py through ordivan-cli validate/save/calc/import-photometry.

Holds: no run ends by a signal or hangs; every exit status is 0, 1 or 2, and a refusal says why on the
error stream; a project written with status 0 is accepted by validate; a refused command leaves no
output file behind.
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


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--keep", help="write the hostile files here and keep them")
    a = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="ordivan_hostile_") as tmp:
        folder = a.keep or os.path.join(tmp, "in")
        projects, photometry = make_hostile.write_all(folder, a.samples)
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

    for f in r.failures:
        print("FAIL", f)
    print("%d runs, %d failures" % (r.runs, len(r.failures)))
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
