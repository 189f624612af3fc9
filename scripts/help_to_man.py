#!/usr/bin/env python3
"""Writes the tool's manual page from its own help, so the two never disagree.

Usage: help_to_man.py OUTPUT [EMULATOR ...] TOOL

A tool built for another processor is run through the emulator given before it.

The page holds the tool's version, its top-level help and the help of each command group
(`TOOL GROUP --help`), each as a section. Fails when the tool does not answer --help.
"""
import re
import subprocess
import sys


def run(command, *args):
    tool = command[-1]
    done = subprocess.run([*command, *args], capture_output=True, text=True, check=True)
    # The help names the program by the path it was run as: the page names it as a user runs it.
    return done.stdout.replace(tool, "dvrkit")


def roff(text):
    """Help text as literal roff lines: backslashes and leading dots or quotes made harmless."""
    lines = []
    for line in text.rstrip("\n").splitlines():
        line = line.replace("\\", "\\e")
        if line.startswith((".", "'")):
            line = "\\&" + line
        lines.append(line)
    return "\n".join(lines)


def groups(help_text):
    """The subcommands the top-level help lists, in its order."""
    names, listing = [], False
    for line in help_text.splitlines():
        if re.match(r"^[A-Za-z][A-Za-z ]*:\s*$", line):
            listing = line.strip().rstrip(":").lower() == "subcommands"
            continue
        match = re.match(r"^\s{2}([a-z][a-z0-9-]*)\s", line)
        if listing and match:
            names.append(match.group(1))
    return names


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    output, tool = argv[1], argv[2:]
    top = run(tool, "--help")
    version = run(tool, "--version").strip()
    page = [
        f'.TH DVRKIT 1 "" "dvrkit {version}" "User Commands"',
        ".SH NAME",
        "dvrkit \\- the files, mail and windows of the DVR utility library",
        ".SH SYNOPSIS",
        ".B dvrkit",
        "\\fICOMMAND\\fR [\\fIOPTIONS\\fR] ...",
        ".SH DESCRIPTION",
        ".nf",
        roff(top),
        ".fi",
    ]
    for name in groups(top):
        page += [f".SH {name.upper()}", ".nf", roff(run(tool, name, "--help")), ".fi"]
    page += [".SH VERSION", f"dvrkit {version}", ""]
    with open(output, "w") as out:
        out.write("\n".join(page))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
