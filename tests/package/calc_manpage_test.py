#!/usr/bin/env python3
"""The manual page of ventbox-calc says what `ventbox-calc --help` says.

help2man makes the page from --help, through resources/man/calc-help,
which gives --help the layout that help2man reads. Should --help change so
that help2man drops, moves or garbles a part of it, this fails: every line
of --help, its spaces collapsed, stands in the page as man shows it, in the
same order.

    calc_manpage_test.py <ventbox-calc> <ventbox-calc.1.gz>
"""

import os
import subprocess
import sys


def collapsed(text):
    return " ".join(text.split())


def main():
    calc, page = sys.argv[1:]
    help_text = subprocess.run([calc, "--help"], capture_output=True, text=True,
                               check=True).stdout
    # Plain ASCII, no hyphenation, every paragraph on one line.
    env = dict(os.environ, LC_ALL="C", MANWIDTH="2000")
    shown = collapsed(subprocess.run(["man", "--nh", "--nj", "-l", page], env=env,
                                     capture_output=True, text=True, check=True).stdout)
    missing, at = [], 0
    for line in help_text.splitlines():
        line = collapsed(line.removeprefix("usage:"))
        found = shown.find(line, at)
        if found < 0:
            missing.append(line)
        else:
            at = found + len(line)
    if missing:
        print("not in the page (or not in the order of --help):\n  " + "\n  ".join(missing))
        print("the page as man shows it:\n" + shown)
        sys.exit(1)
    print("all %d lines of --help are in the page" % len(help_text.splitlines()))


if __name__ == "__main__":
    main()
