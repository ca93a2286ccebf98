#!/usr/bin/env python3
"""The real program on a small desktop: openbox on a 640 x 480 screen,
driven through X11 as a person would and read as a screen reader would.

- The main window's frame, title bar included, is centred as the window
  manager reports it (_NET_FRAME_EXTENTS), in the same place from the
  moment it is first seen; so is the port area window's.
- A middle click into the empty Fs field, with "123456789" in the primary
  selection, pastes "1234": the field's room, not the whole selection.
- In Qts "0.4", Ctrl+Backspace and Ctrl+U change nothing, Ctrl+H deletes
  as Backspace does and Ctrl+M is Enter, which changes nothing.
- The count field on the circle tab: PageUp changes nothing, Up and
  Ctrl+Up add one each, Ctrl+U changes nothing; the area (radius 1)
  shows three ports.
- The fields, buttons and tabs carry their names on the accessibility bus.
- The help viewer opens wholly on the screen and stays where it is when
  it shows a later topic.
- Alt+K ends the program with status 0.

    desktop_test.py --ventbox <ventbox> --out <dir>
"""

import os
import re
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import Failure, Problems, Session, stop_child, wait_for  # noqa: E402

TIME_LIMIT = 100
SCREEN = (640, 480)

MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"
PORT_CAPTION = "Výpočet plochy nátrubku"
# Fs in the main window's client area: its group box, then the field.
FS_FIELD = (8 + 152 + 30, 8 + 16 + 9)

NAMES = [
    ("text", "Rezonanční kmitočet - Fs (Hz)"), ("text", "Celkový činitel jakosti - Qts"),
    ("text", "Plocha nátrubku - S (cm²)"), ("text", "Délka nátrubku (cm)"),
    ("text", "Rezonanční kmitočet - Fb (Hz)"), ("push button", "Výpočet plochy nátrubku"),
    ("push button", "Tisk"), ("push button", "Konec"), ("page tab", "Kruh"),
    ("page tab", "Trojúhelník"), ("text", "Poloměr (cm)"), ("spin button", "Počet (Ks)"),
    ("text", "Obsah (cm²)"), ("push button", "Vložit"),
    ("frame", "Program pro výpočet basreflexové ozvučnice"), ("frame", "Výpočet plochy nátrubku"),
]


def watch_main_window(session, program):
    """Waits for the main window alone and watches its place for a second
    from the moment it is first seen; returns it and the places seen."""
    def shown():
        if program.poll() is not None:
            raise Failure("ventbox ended with status %d" % program.returncode)
        windows = session.visible_windows()
        return windows[0] if len(windows) == 1 and windows[0].name == MAIN_CAPTION else None
    main = wait_for(shown, 30, "the main window alone", interval=0.02)
    places = {(main.x, main.y)}
    end = time.monotonic() + 1
    while time.monotonic() < end:
        places.add((session.window(main.id).x, session.window(main.id).y))
    return session.window(main.id), places


def test(args):
    p = Problems()
    with Session(args.out, screen=SCREEN, window_manager=True, accessibility=True) as session:
        program = session.start(args.ventbox)
        main, places = watch_main_window(session, program)
        print("main window: %r, frame %r" % (main, session.frame(main)))
        p.check(session.property(main.id, "_NET_FRAME_EXTENTS") is not None,
                "the window manager reports the main window's frame")
        p.check(session.centred(main, framed=True), "the main window's frame is centred: %r"
                % (session.frame(main),))
        p.equal(places, {(main.x, main.y)}, "places of the main window since it was first seen")
        session.screenshot("main-window")

        # Middle click into the empty Fs field, which takes the focus.
        owner = session.own_selection("123456789")
        session.click(main, *FS_FIELD, button=2)
        stop_child(owner)
        p.equal(session.field_text(), "1234", "Fs after a middle click")

        # Keys with Ctrl in Qts.
        session.key("Tab")
        session.type("0.4")
        session.key("ctrl+BackSpace", "ctrl+u")
        p.equal(session.field_text(), "0.4", "Qts after Ctrl+Backspace and Ctrl+U")
        session.key("End", "ctrl+h", "ctrl+m")
        p.equal(session.field_text(), "0.", "Qts after Ctrl+H and Ctrl+M")
        session.screenshot("keys-typed")

        # The port area window; radius 1, then the count field.
        session.key("alt+v")
        port = session.wait_window("^" + re.escape(PORT_CAPTION) + "$", 10, "the port area window")
        p.check(session.centred(port, framed=True), "the port area window's frame is centred: %r"
                % (session.frame(port),))
        session.focus(port.id)
        session.key("Tab")
        session.type("1")
        session.key("Tab", "Prior", "Up", "ctrl+Up", "ctrl+u")
        area = session.copy(lambda: session.key("Tab", "ctrl+c"))
        p.equal(area, "9.4248", "area of three ports of radius 1")
        session.screenshot("count-stepped")

        names = session.accessible_names("ventbox")
        for entry in NAMES:
            p.check(entry in names, "a screen reader finds %s %r" % entry)

        # Help: topic 4 from the area field, then topic 1 from Qts.
        session.key("F1")
        viewer = session.wait_window("^Nápověda", 15, "the help viewer")
        p.check(session.on_screen(viewer), "the help viewer is wholly on the screen: %r"
                % (session.frame(viewer),))
        session.screenshot("help-topic-4")
        session.focus(main.id)
        session.key("F1")
        try:
            wait_for(lambda: (session.window(viewer.id) or viewer).title != viewer.title, 10,
                     "the help viewer to show topic 1")
        except Failure as e:
            p.check(False, str(e))
        later = session.window(viewer.id)
        p.equal((later.x, later.y, later.width, later.height),
                (viewer.x, viewer.y, viewer.width, viewer.height), "help viewer for topic 1")
        session.screenshot("help-topic-1")
        viewer_pid = session.window_pid(viewer.id)

        p.equal(session.end_by_keys(program, main.id, "alt+k"), 0, "exit status of ventbox")
        if viewer_pid is not None and session.is_ours(viewer_pid):
            harness.stop_process(viewer_pid, "the help viewer")
    p.raise_if_any()


if __name__ == "__main__":
    harness.main(test, TIME_LIMIT, "--ventbox", "--out")
