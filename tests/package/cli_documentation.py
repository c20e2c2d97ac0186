#!/usr/bin/env python3
"""The manual pages, the --help texts and the bash completion of ordivan-cli tell the same story.

Holds: every command of `ordivan-cli --help` has its subsection in ordivan-cli.1 naming exactly the
options of `ordivan-cli COMMAND --help`, and that help explains each option on a line of its own; both
manual pages have the sections a Debian user looks for and render without a warning; the completion
offers the commands and each command's options.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

OPTION = re.compile(r"--[a-z][a-z-]*")
failures = []


def fail(text):
    failures.append(text)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=60, **kw)


def man_options(text):
    return set(OPTION.findall(text.replace("\\-", "-")))


def subsections(page):
    """{command: text} of the COMMANDS section's .SS entries; 'catalog search ..., catalog show ...' is catalog."""
    out = {}
    current = None
    for line in page.splitlines():
        if line.startswith(".SH"):
            current = None
        elif line.startswith(".SS"):
            current = line.split()[1].strip('"')
            out.setdefault(current, "")
        elif current:
            out[current] += line + "\n"
    return out


def check_pages(source, cli):
    pages = {}
    for name in ("ordivan.1", "ordivan-cli.1"):
        with open(os.path.join(source, "data", "install", name), encoding="utf-8") as f:
            pages[name] = f.read()
        for section in ("SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "FILES", "SEE ALSO"):
            if not re.search(r'^\.SH "?%s"?$' % section, pages[name], re.M):
                fail("%s: no %s section" % (name, section))
        if "ORDIVAN_DATA" not in pages[name]:
            fail("%s: ENVIRONMENT does not name ORDIVAN_DATA" % name)
        if shutil.which("groff"):
            r = run(["groff", "-k", "-man", "-Tutf8", "-ww", "-z", os.path.join(source, "data", "install", name)])
            if r.returncode != 0 or r.stderr.strip():
                fail("%s does not render cleanly: %s" % (name, r.stderr.strip()))
    if not {"--help", "--version"} <= man_options(pages["ordivan.1"]):
        fail("ordivan.1 does not describe --help and --version")

    general = run([cli, "--help"]).stdout
    commands = sorted(set(re.findall(r"^  ordivan-cli ([a-z][a-z-]*)", general, re.M)))
    sections = subsections(pages["ordivan-cli.1"])
    if sorted(sections) != commands:
        fail("ordivan-cli.1 describes the commands %s, --help lists %s" % (sorted(sections), commands))
    for command in commands:
        helped = run([cli, command, "--help"]).stdout
        documented = man_options(sections.get(command, ""))
        listed = set(OPTION.findall(helped)) - {"--help"}
        if documented != listed:
            fail("%s: the manual page has %s, --help %s" % (command, sorted(documented - listed), sorted(listed - documented)))
        usage = helped.split("\n\n", 1)[0]
        explained = set(re.findall(r"^  (--[a-z][a-z-]*)", helped, re.M)) | set(re.findall(r"^  --[a-z-]+ \S+, (--[a-z][a-z-]*)", helped, re.M))
        for option in set(OPTION.findall(usage)) - explained - {"--help"}:
            fail("%s --help does not explain %s" % (command, option))
    return commands


def complete(completion, words):
    """What the completion offers for the command line `words` (the last one being completed)."""
    script = ('source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _ordivan_cli; '
              'printf "%s\\n" "${COMPREPLY[@]}"')
    r = run(["bash", "-c", script, "complete", completion] + words)
    if r.returncode != 0:
        fail("completion of %s: %s" % (words, r.stderr.strip()))
    return sorted(w for w in r.stdout.split("\n") if w)


def check_completion(source, cli, commands):
    completion = os.path.join(source, "data", "install", "ordivan-cli.bash-completion")
    offered = complete(completion, [cli, ""])
    if offered != sorted(commands + ["--help", "--version"]):
        fail("completion offers %s for the command" % offered)
    if complete(completion, [cli, "calc", "plan.OLE", "--ar"]) != ["--area", "--areas-csv"]:
        fail("completion of calc --ar: %s" % complete(completion, [cli, "calc", "plan.OLE", "--ar"]))
    if complete(completion, [cli, "calc", "plan.OLE", "--kind", ""]) != ["B", "C", "T"]:
        fail("completion of calc --kind: %s" % complete(completion, [cli, "calc", "plan.OLE", "--kind", ""]))
    if complete(completion, [cli, "catalog", "s"]) != ["search", "show"]:
        fail("completion of catalog: %s" % complete(completion, [cli, "catalog", "s"]))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--source", required=True)
    a = parser.parse_args()
    commands = check_pages(a.source, a.cli)
    check_completion(a.source, a.cli, commands)
    for f in failures:
        print("FAILED: " + f)
    print("%d commands checked, %d failures" % (len(commands), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
