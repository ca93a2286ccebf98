#!/usr/bin/env python3
"""Start-up of the Windows build under Wine, set against a minimal Qt
program under Wine: the time from the moment this script starts a program
to its first window shown on a private X server (the splash window of
ventbox.exe, the one label of ventbox-minimal-qt.exe), seen by polling X
every few milliseconds. The median of several runs, the two programs taking
turns, in the build's Wine prefix, with its Wine server already running.

    startup_wine.py --build build-windows [--runs N]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Session, stop_child  # noqa: E402


def first_window(session, runner, program, title, timeout=60):
    # The Windows program's own platform, not the X one the session sets.
    env = {k: v for k, v in session.env().items() if not k.startswith("QT_")}
    start = time.monotonic()
    process = subprocess.Popen([runner, program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        while time.monotonic() - start < timeout:
            found = session.tool(["xdotool", "search", "--onlyvisible", "--name", title],
                                 check=False).stdout.split()
            if found:
                return (time.monotonic() - start) * 1000
            time.sleep(0.005)
        raise SystemExit("%s showed no window titled %s" % (program, title))
    finally:
        stop_child(process)
        session.tool(["xdotool", "search", "--onlyvisible", "--name", "."], check=False)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    runner = os.path.join(build, "wine-run")
    programs = (("ventbox.exe", "^Form4$"), ("ventbox-minimal-qt.exe", "^ventbox-minimal-qt$"))
    times = {name: [] for name, _ in programs}
    with Session(os.path.join(build, "bench-wine")) as session:
        subprocess.run([runner, "cmd", "/c", "exit"], check=True)  # the server and prefix
        for _ in range(args.runs):
            for name, title in programs:
                times[name].append(first_window(session, runner,
                                                os.path.join(build, "bin", name), title))
    ventbox, minimal = (statistics.median(times[name]) for name, _ in programs)
    print("first window under Wine, median of %d runs:" % args.runs)
    print("  ventbox.exe (splash window)      %6.0f ms" % ventbox)
    print("  ventbox-minimal-qt.exe (a label) %6.0f ms" % minimal)
    print("  ratio                            %6.2f" % (ventbox / minimal))


if __name__ == "__main__":
    main()
