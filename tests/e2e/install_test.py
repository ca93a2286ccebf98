#!/usr/bin/env python3
"""The built package, installed into this machine, works and goes away.

As root: installs the .deb with apt-get, starts the installed
/usr/bin/ventbox on a private X server from a directory without a help
file, waits for the main window after the splash, presses F1 in the Qts
field and sees the help viewer at the topic of the basic data (so the help
file was found in the installed data directory); then purges the package,
also when a step failed, and checks that every file it had installed is
gone. Not root, no package built, or ventbox installed already: skipped.

    install_test.py --deb <ventbox_<version>_<arch>.deb> --out <dir>
"""

import argparse
import fcntl
import os
import re
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import Problems, Session, Unavailable  # noqa: E402

TIME_LIMIT = 240
PURGE_SECONDS = 120  # the removal runs also when the time is up

MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"
TOPIC1_TITLE = "Nápověda - Základní údaje"
APT = ["apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=60"]
APT_ENV = dict(os.environ, DEBIAN_FRONTEND="noninteractive")


def installed():
    status = subprocess.run(["dpkg-query", "-W", "-f=${Status}", "ventbox"],
                            capture_output=True, text=True).stdout
    return status.endswith(" installed")


def try_lock(f):
    try:
        fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
        return True
    except BlockingIOError:
        return False


def run_installed(p, out):
    with Session(out) as session:
        session.start("/usr/bin/ventbox")
        main = session.wait_window("^" + re.escape(MAIN_CAPTION) + "$", 30,
                                   "the main window after the splash")
        # F1 in Qts: one Tab from Fs, which has the focus at the start.
        session.focus(main.id)
        session.key("Tab", "F1")
        viewer = session.wait_window("^Nápověda", 15, "the help viewer after F1 in Qts")
        p.equal(viewer.title, TOPIC1_TITLE, "help viewer's title after F1")
        session.screenshot("help-topic-1")


def test(args):
    if os.geteuid() != 0:
        raise Unavailable("installing a package needs root")
    if not os.path.isfile(args.deb):
        raise Unavailable("%s is not built (make package)" % args.deb)
    # One such test at a time on the machine, also from other build trees.
    lock = open("/run/lock/ventbox-install-test", "w")
    harness.wait_for(lambda: try_lock(lock), 120, "the other install test to end", interval=1)
    if installed():
        raise Unavailable("ventbox is installed on this machine; the test leaves it alone")
    p = Problems()
    try:
        harness.run(APT + ["install", os.path.abspath(args.deb)], env=APT_ENV, timeout=120)
        listed = harness.run(["dpkg", "-L", "ventbox"]).stdout.split()
        p.check("/usr/share/ventbox/BAS.HLP" in listed, "the help file is installed")
        run_installed(p, args.out)
    finally:
        subprocess.run(APT + ["remove", "--purge", "ventbox"], env=APT_ENV,
                       stdout=subprocess.DEVNULL, timeout=PURGE_SECONDS)
    p.check(not installed() and subprocess.run(["dpkg", "-L", "ventbox"],
                                               capture_output=True).returncode != 0,
            "dpkg knows no ventbox after the removal")
    left = [path for path in listed if os.path.lexists(path)]
    # Directories that other packages share stay.
    shared = subprocess.run(["dpkg", "-S"] + left, capture_output=True, text=True).stdout
    shared = {line.split(": ", 1)[1] for line in shared.splitlines() if ": " in line}
    p.equal([path for path in left if path not in shared], [], "files left after the removal")
    p.raise_if_any()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--deb", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    harness.main(lambda: test(args), TIME_LIMIT)


if __name__ == "__main__":
    main()
