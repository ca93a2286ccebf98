#!/usr/bin/env python3
"""The windows' colours on a desktop with a dark theme, seen through X11.

Starts ventbox on a private X server with Qt's GTK platform theme and GTK's
Adwaita:dark (QT_QPA_PLATFORMTHEME=gtk3, GTK_THEME=Adwaita:dark):

- the main window keeps its light face, its labels draw dark text on it,
  and "Doplňující údaje" keeps its pure blue on the face;
- the message box of the print button keeps the light face and dark text;
- the help viewer, opened at its contents with the Help button, follows
  the theme: its page is dark (which shows that the theme is in force),
  its text light, and its links stand at least 4.5 : 1 against the page.

Screenshots go to the output directory.

    theme_test.py --ventbox <ventbox> --out <dir>
"""

import collections
import os
import re
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import (Failure, Problems, Session, is_coloured, is_dark,  # noqa: E402
                     wait_for, window_image)

TIME_LIMIT = 90

DARK_THEME = {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}
MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"

# Client-area rectangles (x, y, width, height) in the main window.
FACE_CORNER = (0, 0, 6, 6)
LABELS = {"Label1 (Rezonanční kmitočet)": (16, 28, 110, 12),
          "Label22 (Plocha nátrubku)": (288, 26, 86, 12),
          "Label28 (maker's notice)": (13, 200, 254, 12)}
BLUE_CAPTION = (280, 8, 217, 14)  # GroupBox3's caption strip
# The message box's text, right of its icon and above its button.
BOX_TEXT = (54, 8, 280, 30)


def gray(rgb):
    r, g, b = rgb
    return (299 * r + 587 * g + 114 * b) // 1000


def commonest(image, predicate=lambda *rgb: True):
    pixels = collections.Counter(tuple(image.rgb[i:i + 3]) for i in range(0, len(image.rgb), 3))
    return next((rgb for rgb, _ in pixels.most_common() if predicate(*rgb)), None)


def contrast(a, b):
    """The WCAG contrast ratio of two colours."""
    def luminance(rgb):
        def linear(v):
            v /= 255
            return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
        r, g, b = (linear(v) for v in rgb)
        return 0.2126 * r + 0.7152 * g + 0.0722 * b
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def check_light(p, image, what):
    """`image` lies on a light face and its text is dark."""
    face = commonest(image)
    p.check(gray(face) >= 200, "%s lies on a light face: %s" % (what, face))
    p.check(image.count(lambda *rgb: gray(rgb) <= gray(face) - 128) > 0,
            "%s draws dark text" % what)
    p.check(image.count(lambda *rgb: gray(rgb) > gray(face)) == 0,
            "%s draws no text lighter than its face" % what)


def check_help_viewer(session, p, main):
    session.focus(main.id)
    session.key("alt+n")
    viewer = session.wait_window("^Nápověda", 15, "the help viewer after Alt+N")
    pid = session.window_pid(viewer.id)
    try:
        # The page, below the row of buttons, once its text is painted.
        def page():
            image = window_image(session.grab(), viewer, 12, 50, viewer.width - 24,
                                 viewer.height - 62)
            return image if image.count(is_coloured) > 50 else None
        image = wait_for(page, 10, "the help page and its links to be painted")
        session.screenshot("help-viewer")
        background = commonest(image)
        if gray(background) >= 128:
            raise Failure("the dark theme is not in force: the help page is %s "
                          "(is qt6-gtk-platformtheme installed?)" % (background,))
        text = commonest(image, lambda *rgb: gray(rgb) > 128 and not is_coloured(*rgb))
        p.check(text is not None and contrast(text, background) >= 4.5,
                "the help text %s stands out from the page %s" % (text, background))
        link = commonest(image, is_coloured)
        p.check(contrast(link, background) >= 4.5, "links %s on the page %s: %.2f : 1"
                % (link, background, contrast(link, background)))
    finally:
        if pid is not None and session.is_ours(pid):
            harness.stop_process(pid, "the help viewer")


def test(args):
    p = Problems()
    with Session(args.out) as session:
        program = session.start(args.ventbox, **DARK_THEME)
        main = session.wait_window("^" + re.escape(MAIN_CAPTION) + "$", 20, "the main window")
        # Painted once the caption shows its blue.
        wait_for(lambda: window_image(session.grab(), main, *BLUE_CAPTION)
                 .count(lambda *rgb: rgb == (0, 0, 255)), 10, "the main window to be painted")

        screen = session.screenshot("main-window")
        face = commonest(window_image(screen, main, *FACE_CORNER))
        p.check(gray(face) >= 200, "the main window's face is light: %s" % (face,))
        for name, area in LABELS.items():
            check_light(p, window_image(screen, main, *area), name)
        caption = window_image(screen, main, *BLUE_CAPTION)
        p.equal(commonest(caption), face, "the face behind \"Doplňující údaje\"")
        p.check(caption.count(lambda *rgb: rgb == (0, 0, 255)) >= 10,
                "\"Doplňující údaje\" is drawn in blue (0, 0, 255)")

        # Print with no result: the message box.
        session.focus(main.id)
        session.key("alt+t")
        box = session.wait_window("^Error$", 10, "the message box after Alt+T")
        wait_for(lambda: window_image(session.grab(), box).count(is_dark) > 0, 10,
                 "the message box to be painted")
        screen = session.screenshot("message-box")
        p.equal(commonest(window_image(screen, box)), face, "the message box's face")
        check_light(p, window_image(screen, box, *BOX_TEXT), "the message box's text")
        session.focus(box.id)
        session.key("Return")
        session.wait_hidden(box.id, 10, "the message box to close")

        check_help_viewer(session, p, main)

        p.equal(session.end_by_keys(program, main.id, "alt+k"), 0, "exit status of ventbox")
    p.raise_if_any()


if __name__ == "__main__":
    harness.main(test, TIME_LIMIT, "--ventbox", "--out")
