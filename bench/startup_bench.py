#!/usr/bin/env python3
"""The program's figures on this machine, beside their aims.

Start-up, on a private X server (Xvfb): the time from the moment this script
starts a process to the splash window's first paint and to the main
window's first show (less the splash window's 3 s), set against a minimal
Qt Widgets program started the same way (to its window's first paint).
Every figure is the median of several runs, the two programs taking turns.
The programs write the moments themselves (VENTBOX_TRACE, CLOCK_MONOTONIC,
which is what time.monotonic_ns() reads on Linux).

Peak memory: VmHWM of the program once its main window is painted, read
just before it is ended.

With --gui-bench, the in-process benchmark of the windows runs too (a
keystroke in Fs until the results are painted, the design sheet rendered
to a page) and its figures join the summary.

Usage: startup_bench.py --bin BUILD/bin [--runs N] [--gui-bench]
"""

import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

SPLASH_MS = 3000

AIM_STARTUP_RATIO = 1.3
AIM_KEYSTROKE_US = 1000
AIM_MEMORY_MB = 60
AIM_SHEET_MS = 50


class BenchError(Exception):
    pass


def start_xvfb():
    """A private X server on a free display: (process, display)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    while not number.endswith(b"\n"):
        if time.monotonic() > deadline or xvfb.poll() is not None:
            stop(xvfb)
            raise BenchError("Xvfb did not start")
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def stop(process, timeout=5):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def peak_memory_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise BenchError("no VmHWM")


def read_trace(path):
    events = {}
    try:
        with open(path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 3:
                    events.setdefault((parts[0], parts[1]), int(parts[2]))
    except FileNotFoundError:
        pass
    return events


def run_once(program, env, until, workdir, timeout=20.0):
    """Starts `program`, waits for the trace events `until`, reads its peak
    memory and ends it. Returns (milliseconds from the start to each traced
    event, peak memory in kB)."""
    trace = os.path.join(workdir, "trace")
    if os.path.exists(trace):
        os.remove(trace)
    child_env = dict(env, VENTBOX_TRACE=trace)
    errors = open(os.path.join(workdir, "stderr"), "w+b")
    start = time.monotonic_ns()
    process = subprocess.Popen([program], env=child_env, stdout=subprocess.DEVNULL,
                               stderr=errors, cwd=workdir)

    def failure(what):
        errors.seek(0)
        return BenchError(f"{os.path.basename(program)} {what}: "
                          + errors.read().decode(errors="replace")[-500:])

    try:
        deadline = time.monotonic() + timeout
        while True:
            events = read_trace(trace)
            if all(e in events for e in until):
                break
            if process.poll() is not None:
                raise failure(f"ended early ({process.returncode})")
            if time.monotonic() > deadline:
                raise failure(f"traced no {until} within {timeout:.0f} s")
            time.sleep(0.002)
        memory = peak_memory_kb(process.pid)
    finally:
        stop(process)
        errors.close()
    return {e: (ns - start) / 1e6 for e, ns in events.items()}, memory


def startup(bindir, runs):
    bindir = os.path.abspath(bindir)
    program = os.path.join(bindir, "ventbox")
    minimal = os.path.join(bindir, "ventbox-minimal-qt")
    for p in (program, minimal):
        if not os.access(p, os.X_OK):
            raise BenchError(f"{p} is not built")
    xvfb, display = start_xvfb()
    workdir = tempfile.mkdtemp(prefix="ventbox-bench-")
    runtime = os.path.join(workdir, "runtime")
    os.mkdir(runtime, 0o700)
    env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "VENTBOX_TRACE")}
    env.update(DISPLAY=display, XDG_RUNTIME_DIR=runtime)
    program_until = [("painted", "TForm4"), ("shown", "TForm1"), ("painted", "TForm1")]
    minimal_until = [("painted", "minimal")]
    samples = {"minimal": [], "splash": [], "main": [], "memory": [], "minimal_memory": []}
    try:
        # One run of each first, not counted: the disk cache, the font cache.
        run_once(minimal, env, minimal_until, workdir)
        run_once(program, env, program_until, workdir)
        for _ in range(runs):
            events, memory = run_once(minimal, env, minimal_until, workdir)
            samples["minimal"].append(events[("painted", "minimal")])
            samples["minimal_memory"].append(memory)
            events, memory = run_once(program, env, program_until, workdir)
            samples["splash"].append(events[("painted", "TForm4")])
            samples["main"].append(events[("shown", "TForm1")] - SPLASH_MS)
            samples["memory"].append(memory)
    finally:
        stop(xvfb)
        shutil.rmtree(workdir, ignore_errors=True)
    return samples


def gui_benchmarks(bindir, workdir):
    gui = os.path.join(bindir, "ventbox-bench-gui")
    if not os.access(gui, os.X_OK):
        raise BenchError(f"{gui} is not built")
    out = os.path.join(workdir, "gui.json")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               XDG_RUNTIME_DIR=os.path.join(workdir, "runtime"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    sys.stdout.flush()
    subprocess.run([gui, "--benchmark_min_time=0.5", f"--benchmark_out={out}",
                    "--benchmark_out_format=json"], env=env, check=True)
    with open(out) as f:
        data = json.load(f)
    figures = {}
    for b in data["benchmarks"]:
        if b.get("error_occurred"):
            raise BenchError(f"{b['name']}: {b.get('error_message')}")
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        figures[b["name"].replace("/manual_time", "")] = b["real_time"] * scale  # ms
    return figures


def verdict(ok):
    return "met" if ok else "MISSED"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", required=True, help="the build's bin directory")
    parser.add_argument("--runs", type=int, default=7, help="start-up runs of each program")
    parser.add_argument("--gui-bench", action="store_true", help="run ventbox-bench-gui too")
    args = parser.parse_args()

    print(f"Start-up under Xvfb, median of {args.runs} runs each (process start = spawned by this script)")
    samples = startup(args.bin, args.runs)
    med = {k: statistics.median(v) for k, v in samples.items()}
    spread = {k: (min(v), max(v)) for k, v in samples.items()}

    def line(label, key, unit="ms"):
        lo, hi = spread[key]
        print(f"  {label:<52} {med[key]:8.1f} {unit}   (range {lo:.1f} to {hi:.1f})")

    line("minimal Qt Widgets program: first window painted", "minimal")
    line("ventbox: splash window first painted", "splash")
    line(f"ventbox: main window shown, less the {SPLASH_MS} ms splash", "main")
    splash_ratio = med["splash"] / med["minimal"]
    main_ratio = med["main"] / med["minimal"]
    memory_mb = med["memory"] / 1024
    print(f"  {'splash painted / minimal painted':<52} {splash_ratio:8.2f} x")
    print(f"  {'main shown less 3 s / minimal painted':<52} {main_ratio:8.2f} x")
    print(f"  {'ventbox peak memory (VmHWM, main window painted)':<52} {memory_mb:8.1f} MB"
          f"  (range {spread['memory'][0] / 1024:.1f} to {spread['memory'][1] / 1024:.1f})")
    print(f"  {'minimal program peak memory (VmHWM), for scale':<52} {med['minimal_memory'] / 1024:8.1f} MB")

    rows = [
        ("start-up: splash painted vs minimal Qt program", f"{splash_ratio:.2f} x",
         f"<= {AIM_STARTUP_RATIO} x", splash_ratio <= AIM_STARTUP_RATIO),
        ("start-up: main window (less 3 s) vs minimal Qt", f"{main_ratio:.2f} x",
         f"<= {AIM_STARTUP_RATIO} x", main_ratio <= AIM_STARTUP_RATIO),
        ("peak memory", f"{memory_mb:.1f} MB", f"< {AIM_MEMORY_MB} MB", memory_mb < AIM_MEMORY_MB),
    ]

    if args.gui_bench:
        print()
        print("In-process benchmark of the windows (offscreen, the program's style and fonts)")
        workdir = tempfile.mkdtemp(prefix="ventbox-bench-")
        try:
            g = gui_benchmarks(args.bin, workdir)
        finally:
            shutil.rmtree(workdir, ignore_errors=True)
        for name, label in (("keystrokeDirtyRepaint", "keystroke in Fs, results written, dirty part painted"),
                            ("keystrokeFullRepaint", "keystroke in Fs, results written, whole window painted")):
            us = g[name] * 1000
            rows.append((label, f"{us:.0f} us", f"< {AIM_KEYSTROKE_US} us", us < AIM_KEYSTROKE_US))
        for name, label in (("sheetToImage/300", "sheet on a new A4 image, 300 dpi"),
                            ("sheetToImage/600", "sheet on a new A4 image, 600 dpi"),
                            ("sheetOnPage/300", "sheet on a reused A4 image, 300 dpi"),
                            ("sheetOnPage/600", "sheet on a reused A4 image, 600 dpi"),
                            ("sheetToPdf", "sheet to an A4 PDF (QPdfWriter)")):
            ms = g[name]
            rows.append((label, f"{ms:.1f} ms", f"< {AIM_SHEET_MS} ms", ms < AIM_SHEET_MS))

    print()
    print("Figures and aims")
    for label, figure, aim, ok in rows:
        print(f"  {label:<56} {figure:>10}   aim {aim:<10} {verdict(ok)}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except BenchError as e:
        print(f"startup_bench: {e}", file=sys.stderr)
        sys.exit(1)
