#!/usr/bin/env python3
"""Start-up, help and the end of the real program, seen through X11.

Starts ventbox on a private X server and watches its windows:

- the splash window ("Form4", borderless, 257 x 169, centred) is the only
  window shown first, and stays about three seconds: it is hidden no sooner
  than 3 s after the program started and (as far as polling can tell) not
  before 2.8 s after it appeared;
- then the main window is the only window shown: its caption, 505 x 217,
  centred on the screen;
- F1 in the Qts field (the first field has the focus when the window
  shows; Tab once) opens the help viewer at topic 1, whose title the help
  file beside the program gives; the "Nápověda" button (Alt+N) turns the
  same viewer to the contents;
- " Konec" (Alt+K) ends the program with status 0, and the help viewer,
  a process of its own, stays; the test ends it by its process id.

Screenshots of each state go to the output directory.

    startup_test.py --ventbox <ventbox> --out <dir>
"""

import argparse
import os
import re
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import Failure, Problems, Session, is_coloured, wait_for, window_image  # noqa: E402

TIME_LIMIT = 90

APP_TITLE = "Program na návrh  basreflexové ozvučnice"
MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"
SPLASH_CAPTION = "Form4"


def help_titles(ventbox):
    """Titles of the contents and of topic 1 in the help file that the
    viewer reads (the one beside the program)."""
    path = os.path.join(os.path.dirname(os.path.abspath(ventbox)), "BAS.HLP")
    with open(path, encoding="utf-8") as f:
        # A topic starts with its marker line; its heading is its title.
        titles = dict(re.findall(r"^<!-- topic (\S+) -->\n## (.+?)\s*$", f.read(), re.M))
    if "obsah" not in titles or "1" not in titles:
        raise Failure("%s has no contents or no topic 1" % path)
    return titles["obsah"], titles["1"]


def borderless(session, wid):
    """Whether the window asks a window manager for no decorations."""
    hints = session.property(wid, "_MOTIF_WM_HINTS")
    if hints is None:
        return False
    fields = [int(v, 0) for v in hints.split(",")]
    return len(fields) >= 3 and fields[0] & 2 and fields[2] == 0


def check_captions(p, window, caption):
    # WM_NAME is the caption; _NET_WM_NAME is what a window manager puts in
    # the title bar and the task bar.
    p.equal(window.name, caption, "WM_NAME of the window")
    p.equal(window.net_name, caption, "_NET_WM_NAME of the window")


def watch_splash(session, p, program, launched):
    """Polls the shown windows as fast as it can, from the start until the
    splash window has given way to the main window."""
    last_empty = launched   # last poll that saw no window of the program
    splash = None           # the splash window's id
    first_seen = None       # first poll that saw it
    last_seen = None        # last poll that saw it
    gone = None             # first poll after that did not see it
    beside = set()          # other windows shown while it was
    while gone is None:
        if program.poll() is not None:
            raise Failure("ventbox ended during start-up with status %d" % program.returncode)
        if harness.remaining() < 30 or (time.monotonic() - launched) > 40:
            raise Failure("the splash window was not shown and hidden within 40 s")
        ids = session.visible_ids()
        now = time.monotonic()
        if splash is None:
            if not ids:
                last_empty = now
                continue
            if len(ids) != 1:
                raise Failure("%d windows shown first: %s"
                              % (len(ids), [session.window(w) for w in ids]))
            splash = ids[0]
            first_seen = last_seen = now
            window = session.window(splash)
            print("shown first, %.2f s after the start: %r" % (now - launched, window))
            # Its caption is never seen: only WM_NAME names it.
            p.equal(window.name, SPLASH_CAPTION, "WM_NAME of the first window")
            p.equal((window.width, window.height), (257, 169), "size of the splash window")
            p.check(session.centred(window), "the splash window is centred: %r" % window)
            p.check(borderless(session, splash), "the splash window is borderless (%s)"
                    % session.property(splash, "_MOTIF_WM_HINTS"))
            # The splash picture: a rainbow word on soft blots.
            def painted():
                coloured = window_image(session.grab(), window).count(is_coloured)
                return coloured if coloured > 2000 else None
            try:
                coloured = wait_for(painted, 2, "the splash picture to be painted")
                p.check(True, "the splash picture is painted (%d coloured pixels)" % coloured)
            except Failure as e:
                p.check(False, str(e))
            session.screenshot("splash")
        elif splash in ids:
            last_seen = now
            beside.update(w for w in ids if w != splash)
        else:
            gone = now
    # The splash is hidden before the main window shows.
    p.check(not beside, "no window shown beside the splash window: %s"
            % [session.window(w) for w in beside])
    # The visible time lies between what the polls saw for sure and what
    # they could have missed.
    at_least = last_seen - first_seen
    at_most = gone - last_empty
    print("splash visible between %.3f and %.3f s; hidden %.3f s after the start"
          % (at_least, at_most, gone - launched))
    p.check(gone - launched >= 3.0,
            "the splash is hidden no sooner than 3 s after the start (%.3f s)"
            % (gone - launched))
    p.check(at_most >= 2.8, "the splash stays at least 2.8 s (at most %.3f s seen)" % at_most)
    p.check(at_least <= 6.0, "the splash goes after about 3 s (at least %.3f s seen)" % at_least)
    return splash


def test(args):
    contents_title, topic1_title = help_titles(args.ventbox)
    p = Problems()
    with Session(args.out) as session:
        launched = time.monotonic()
        program = session.start(args.ventbox)
        splash = watch_splash(session, p, program, launched)

        main = session.wait_window("^" + re.escape(MAIN_CAPTION), 10, "the main window")
        print("main window: %r" % main)
        shown = session.visible_windows()
        p.check([w.id for w in shown] == [main.id],
                "the main window is the only window shown: %s" % shown)
        p.check(splash not in session.visible_ids(), "the splash window stays hidden")
        check_captions(p, main, MAIN_CAPTION)
        p.equal((main.width, main.height), (505, 217), "size of the main window")
        p.check(session.centred(main), "the main window is centred: %r" % main)
        session.screenshot("main-window")

        # F1 in the Qts field: the second field, one Tab from the first,
        # which has the focus when the window shows.
        session.focus(main.id)
        session.key("Tab", "F1")
        viewer = session.wait_window("^Nápověda", 15, "the help viewer after F1 in Qts")
        print("help viewer: %r" % viewer)
        p.equal(viewer.title, "Nápověda - " + topic1_title, "help viewer's title after F1")
        viewer_pid = session.window_pid(viewer.id)
        if viewer_pid is None or not session.is_ours(viewer_pid):
            raise Failure("the help viewer's window names no process of this test (%s)"
                          % viewer_pid)
        p.check(viewer_pid != program.pid, "the help viewer runs in a process of its own")
        session.screenshot("help-topic-1")

        # The help button: the contents, in the same viewer.
        session.focus(main.id)
        session.key("alt+n")
        contents = "Nápověda - " + contents_title
        try:
            wait_for(lambda: (session.window(viewer.id) or viewer).title == contents, 10,
                     "the help viewer to show the contents")
        except Failure as e:
            p.check(False, "%s (title %r)" % (e, (session.window(viewer.id) or viewer).title))
        viewers = session.find_visible("^Nápověda")
        p.check([w.id for w in viewers] == [viewer.id],
                "the help button used the viewer already open: %s" % viewers)
        session.screenshot("help-contents")

        # " Konec" ends the program; the help viewer goes on.
        status = session.end_by_keys(program, main.id, "alt+k")
        p.equal(status, 0, "exit status of ventbox")
        remaining_windows = session.visible_windows()
        p.check([w.id for w in remaining_windows] == [viewer.id],
                "after the end only the help viewer is shown: %s" % remaining_windows)
        p.check(harness.process_alive(viewer_pid), "the help viewer outlives the program")
        session.screenshot("after-exit")

        harness.stop_process(viewer_pid, "the help viewer")
        session.wait_hidden(viewer.id, 10, "the help viewer's window to go")
    p.raise_if_any()


if __name__ == "__main__":
    harness.main(test, TIME_LIMIT, "--ventbox", "--out")
