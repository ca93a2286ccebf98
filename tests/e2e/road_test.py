#!/usr/bin/env python3
"""One whole design in the real program, only through X11, printed through
a private print server.

A person's road: wait for the splash window to give way to the main
window; type Fs 30, Qts 0.4, Vas 50 and Rdc 6 (Re shows "0" already); open
the port area window with Alt+V; type a radius of 2.5 on the circle tab,
see "Vložit" change from disabled to enabled and the area 19.6350 (copied
from its field); insert it (Alt+V there); back in the main window see S
read 19.6350, type Vb 40, and copy the three results (Tab to each read-only
field, Ctrl+C): they must be the texts that `ventbox-calc design` gives for
the same inputs, leading blanks and all. Then print (Alt+T) on the default
queue of a CUPS daemon of the test's own: exactly one job with one page
arrives, and no message box appears. Closing the main window (Alt+K, the
port area window still open) ends the program with status 0.

Texts of input fields are read from the X primary selection after
selecting them with Shift+Home.

Screenshots of every step, the printed PDF and its page rasterised at
96 dpi stay in the output directory. Needs root for the print server.

    road_test.py --ventbox <ventbox> --calc <ventbox-calc> --out <dir>
"""

import json
import os
import re
import shutil
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import (Failure, Image, Problems, Session, is_coloured, is_dark, run,  # noqa: E402
                     wait_for, window_image)
from printserver import PrintServer, check_prerequisites, pdf_pages  # noqa: E402

TIME_LIMIT = 200

MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"
PORT_CAPTION = "Výpočet plochy nátrubku"

# The design: what the person types.
FS, QTS, VAS, RDC, RE, RADIUS, VB = "30", "0.4", "50", "6", "0", "2.5", "40"

# "&Vložit" on the port area window, in its client area.
INSERT_BUTTON = (16, 160, 73, 25)


def expected_texts(calc):
    area = run([calc, "area", "circle", RADIUS]).stdout
    m = re.match(r"S=(.*)\n?$", area)
    if not m:
        raise Failure("ventbox-calc area: unexpected output %r" % area)
    s = m.group(1)
    design = run([calc, "--json", "design", FS, QTS, VAS, RDC, RE, s, VB]).stdout
    results = json.loads(design)
    if results.get("status") != "ok":
        raise Failure("ventbox-calc design does not fill the results: %s" % design)
    return s, results


def insert_button_state(session, port):
    """"enabled" or "disabled" as the button looks now (black caption and
    coloured picture, or both greyed), None when it looks like neither."""
    button = window_image(session.grab(), port, *INSERT_BUTTON)
    dark = button.count(is_dark)
    coloured = button.count(is_coloured)
    if dark >= 30 and coloured >= 5:
        return "enabled"
    if dark <= 2 and coloured <= 2:
        return "disabled"
    print("insert button: %d dark, %d coloured pixels" % (dark, coloured))
    return None


def wait_main_window(session, program):
    """The splash window first, then the main window alone."""
    def main_shown():
        if program.poll() is not None:
            raise Failure("ventbox ended with status %d" % program.returncode)
        shown = session.visible_windows()
        if len(shown) == 1 and shown[0].name == MAIN_CAPTION:
            return shown[0]
        return None
    return wait_for(main_shown, 30, "the main window alone", interval=0.1)


def test(args):
    check_prerequisites()
    for tool in ("pdfinfo", "pdftoppm", "xclip", "xdotool"):
        if not shutil.which(tool):
            raise Failure("%s is not installed" % tool)
    area_text, results = expected_texts(args.calc)
    print("expected: S=%r, %r" % (area_text, results))

    p = Problems()
    session = Session(args.out)
    with PrintServer(log_dir=args.out) as server, session:
        program = session.start(args.ventbox, CUPS_SERVER=server.socket)
        main = wait_main_window(session, program)
        session.screenshot("main-window")

        # The driver's data; the first field has the focus.
        session.focus(main.id)
        for i, text in enumerate((FS, QTS, VAS, RDC)):
            if i:
                session.key("Tab")
            session.type(text)
        session.key("Tab")
        re_text = session.field_text()
        p.equal(re_text, RE, "Re as the window shows it")
        session.screenshot("driver-typed")

        # The port area window, from the main window's button.
        session.key("alt+v")
        port = session.wait_window("^" + re.escape(PORT_CAPTION) + "$", 10,
                                   "the port area window after Alt+V")
        print("port area window: %r" % port)
        p.equal((port.width, port.height), (281, 193), "size of the port area window")
        p.check(session.centred(port), "the port area window is centred: %r" % port)
        # Once the window is painted, the button shows one state or the other.
        state = wait_for(lambda: insert_button_state(session, port), 10,
                         "the port area window to be painted")
        p.equal(state, "disabled", "Vložit before a radius is typed")
        session.screenshot("port-window")

        # The tabs have the focus; the radius is the next field.
        session.focus(port.id)
        session.key("Tab")
        session.type(RADIUS)
        try:
            wait_for(lambda: insert_button_state(session, port) == "enabled", 10,
                     "Vložit to become enabled")
            p.check(True, "Vložit enabled once the radius is typed")
        except Failure as e:
            p.check(False, str(e))
        area = session.copy(lambda: session.key("Tab", "Tab", "ctrl+c"))
        p.equal(area, area_text, "area copied from the circle tab")
        session.screenshot("radius-typed")

        session.key("alt+v")  # "&Vložit" here: inserts the area

        # Back in the main window (the port area window stays open): the
        # focus is where it was, in Re.
        session.focus(main.id)
        session.key("Tab")
        s_text = session.field_text()
        p.equal(s_text, area_text, "S after Vložit")
        session.key("Tab")
        session.type(VB)
        session.screenshot("box-typed")

        # The results, copied as a person copies them: Tab past the port
        # button to each read-only field, Ctrl+C.
        session.key("Tab")
        copied = {}
        for name in ("L", "Qtc", "Fb"):
            copied[name] = session.copy(lambda: session.key("Tab", "ctrl+c"))
        for name in ("L", "Qtc", "Fb"):
            p.equal(copied[name], results[name], "%s copied from the main window" % name)
        session.screenshot("results")

        # Print on the default printer: the test's own queue.
        windows_before = sorted(w.id for w in session.visible_windows())
        session.key("alt+t")

        def printed():
            # A message box instead of a job ends the wait at once.
            extra = [w for w in session.visible_windows() if w.id not in windows_before]
            if extra:
                session.screenshot("message-box")
                raise Failure("a window appeared after Alt+T: %s" % extra)
            return server.idle_after(1)
        completed = wait_for(printed, 90, "the print job to complete", interval=0.3)
        p.check(len(completed) == 1, "one print job: %s" % completed)
        printed = server.take_pdf(os.path.join(args.out, "printed.pdf"))
        pages, (width, height) = pdf_pages(printed)
        p.equal(pages, 1, "pages printed")
        p.check(width < height, "portrait page (%s x %s pt)" % (width, height))
        run(["pdftoppm", "-r", "96", "-singlefile", "-png", printed,
             os.path.join(args.out, "printed-page")], timeout=60)
        page_ppm = run(["pdftoppm", "-r", "96", "-singlefile", printed], timeout=60,
                       text=False).stdout
        ink = Image.from_ppm(page_ppm).count(is_dark)
        p.check(ink > 2000, "the printed page carries the sheet (%d dark pixels)" % ink)
        p.check(program.poll() is None, "ventbox runs on after printing")
        windows_after = session.visible_windows()
        p.check(sorted(w.id for w in windows_after) == sorted([main.id, port.id]),
                "the main and port area windows, and no other, after printing: %s"
                % windows_after)
        session.screenshot("printed")

        # The end, with the port area window still open.
        status = session.end_by_keys(program, main.id, "alt+k")
        p.equal(status, 0, "exit status of ventbox")
        p.equal(session.visible_windows(), [], "windows shown after the end")
        session.screenshot("after-exit")
    p.raise_if_any()


if __name__ == "__main__":
    harness.main(test, TIME_LIMIT, "--ventbox", "--calc", "--out")
