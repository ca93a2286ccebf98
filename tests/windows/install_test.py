#!/usr/bin/env python3
"""The Windows installer, used under Wine on a private X server as a person
would use it on Windows.

In a fresh Wine prefix: installs ventbox-<version>-setup.exe silently (/S)
and finds the program in Program Files, its Start-menu entry and its entry
in the list of installed programs (name, version, publisher, size). Starts
the installed ventbox.exe with nothing on WINEPATH, from a folder without a
help file: the splash window appears, then the main window alone, found by
its caption. Types six designs through X11 keys and reads the results by
copying them (Tab to each read-only field, Ctrl+C): they are the texts that
the installed ventbox-calc.exe gives for the same inputs (empty for a box
of volume 0). The sixth design takes S from the port area window (Alt+V,
a radius, Alt+V to insert). F1 in the Qts field opens the help viewer at
the topic of the basic data. Alt+K ends the program with status 0. Then
uninstalls silently: no file, folder or registry key of the program is
left. Last, the portable zip, unpacked into a folder of its own, starts
the same way.

Screenshots of every step stay in the output directory.

    install_test.py --setup <setup.exe> --zip <zip> --wine <wine64> --out <dir>
"""

import os
import re
import shutil
import sys
import time
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402
from harness import Failure, Problems, Session, run, wait_for  # noqa: E402

TIME_LIMIT = 400

MAIN_CAPTION = "Program pro výpočet basreflexové ozvučnice"
PORT_CAPTION = "Výpočet plochy nátrubku"
INSTALLED = r"C:\Program Files\Ventbox"
UNINSTALL_KEY = r"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ventbox"

# Fs, Qts, Vas, Rdc, Re, S, Vb as typed; None for S: from the port area window.
DESIGNS = [
    ("30", "0.4", "50", "6", "0", "50", "40"),
    ("30", "0.6", "50", "6", "1", "50", "30"),
    ("9", "0.3", "10", "6", "0", "10", "100"),
    ("100", "0.3", "10", "6", "0", "10", "100"),
    ("30", "0.4", "50", "6", "0", "50", "0"),
    ("30", "0.4", "50", "6", "0", None, "40"),
]
RADIUS = "2.5"
# The middle of the Vb field in the main window's client area.
VB_FIELD = (432, 55)


class Wine:
    """Programs in a Wine prefix of the test's own."""

    def __init__(self, wine, prefix, session):
        self.wine = wine
        self.prefix = prefix
        self.session = session
        server = os.path.join(os.path.dirname(wine), "wineserver64")
        self.server = server if os.path.exists(server) else shutil.which("wineserver")

    def env(self):
        return {"WINEPREFIX": self.prefix, "WINEDEBUG": "-all", "WINEPATH": "",
                "WINEDLLOVERRIDES": "mscoree,mshtml="}

    def run(self, *args, timeout=120):
        return run([self.wine] + list(args), env=self.session.env(**self.env()),
                   timeout=timeout)

    def start(self, *args):
        return self.session.start(self.wine, args, **self.env())

    def wait_idle(self, timeout=120):
        """Until every program of the prefix has ended (and the registry is
        written back)."""
        run([self.server, "-w"], env=self.session.env(**self.env()), timeout=timeout)

    def kill(self):
        run([self.server, "-k"], env=self.session.env(**self.env()), check=False)

    def path(self, windows_path):
        """Where a C: path of the prefix lies on this machine."""
        rest = windows_path[3:].replace("\\", "/")
        return os.path.join(self.prefix, "drive_c", rest)

    def registry(self):
        text = ""
        for hive in ("system.reg", "user.reg"):
            with open(os.path.join(self.prefix, hive), encoding="utf-8", errors="replace") as f:
                text += f.read()
        return text

    def files(self):
        """Every file and folder under C:, but Windows' own folder."""
        root = os.path.join(self.prefix, "drive_c")
        found = set()
        for folder, dirs, files in os.walk(root):
            if folder == root and "windows" in dirs:
                dirs.remove("windows")
            for name in dirs + files:
                found.add(os.path.relpath(os.path.join(folder, name), root))
        return found


def registry_key(text, key):
    """The values of one registry key as Wine saved it, or None."""
    m = re.search(r"^\[%s\][^\n]*\n(.*?)(?:\n\n|\Z)" % re.escape(key), text, re.M | re.S)
    if not m:
        return None
    return dict(re.findall(r'^"([^"]+)"=(.*)$', m.group(1), re.M))


def expected(wine, design):
    """What the installed ventbox-calc.exe gives: L, Qtc, Fb (empty when it
    clears them)."""
    out = run([wine.wine, INSTALLED + r"\ventbox-calc.exe", "design"] + list(design),
              env=wine.session.env(**wine.env()), check=False).stdout
    values = dict(re.findall(r"^(L|Qtc|Fb)=(.*?)\r?$", out, re.M))
    if sorted(values) != ["Fb", "L", "Qtc"]:
        raise Failure("ventbox-calc.exe design %s: %r" % (" ".join(design), out))
    return values


def wait_main_window(session, program):
    """The splash window first, then the main window alone."""
    splash = session.wait_window("^Form4$", 60, "the splash window")
    session.screenshot("splash")

    def main_alone():
        if program.poll() is not None:
            raise Failure("ventbox.exe ended with status %d" % program.returncode)
        # Wine keeps a 1 x 1 window of its own, without a name, mapped.
        shown = [w for w in session.visible_windows() if w.name]
        if len(shown) == 1 and shown[0].name == MAIN_CAPTION:
            return shown[0]
        return None
    main = wait_for(main_alone, 30, "the main window alone", interval=0.1)
    return splash, main


def replace_field(session, text):
    session.key("End", "shift+Home")
    if text:
        session.type(text)
    else:
        session.key("BackSpace")


def copy_keys(session, *keys, timeout=15):
    """What the keys copy. Wine learns late, now and then, that another
    program took the clipboard from it, and until then a copy does not take
    it back: Ctrl+C once more (the field keeps its focus and selection)."""
    attempts = 3
    for attempt in range(attempts):
        try:
            return session.copy(lambda: session.key(*keys), timeout=timeout / attempts)
        except Failure:
            if attempt == attempts - 1:
                raise
            keys = ("ctrl+c",)


def copied(session, empty):
    """The focused read-only field's text, copied with Ctrl+C; "" for an
    empty field, which copies nothing."""
    try:
        return copy_keys(session, "ctrl+c", timeout=3 if empty else 15)
    except Failure:
        if empty:
            return ""
        session.screenshot("copy-failed")
        raise


def type_design(session, wine, main, design, p):
    """From the Fs field, which has the focus, to the Fb field."""
    session.focus(main.id)
    fs, qts, vas, rdc, re_, s, vb = design
    for i, text in enumerate((fs, qts, vas, rdc, re_)):
        if i:
            session.key("Tab")
        replace_field(session, text)
    session.key("Tab")
    if s is None:
        session.key("alt+v")
        port = session.wait_window("^" + re.escape(PORT_CAPTION) + "$", 20,
                                   "the port area window after Alt+V")
        session.focus(port.id)
        session.key("Tab")
        replace_field(session, RADIUS)
        area = copy_keys(session, "Tab", "Tab", "ctrl+c")
        session.screenshot("port-area")
        session.key("alt+v")
        # Back to the main window with a click into Vb: a click makes it the
        # active window for Wine too (a focus given through X alone does not).
        session.click(main, *VB_FIELD)
        s = area
    else:
        replace_field(session, s)
        session.key("Tab")
    replace_field(session, vb)
    want = expected(wine, (fs, qts, vas, rdc, re_, s, vb))
    session.key("Tab")  # the port area button
    got = {}
    for name in ("L", "Qtc", "Fb"):
        session.key("Tab")
        got[name] = copied(session, want[name] == "")
    p.equal(got, want, "results of %s" % " ".join(design[:5] + (s, vb)))


def test(args):
    for tool in ("xdotool", "xclip"):
        if not shutil.which(tool):
            raise Failure("%s is not installed" % tool)
    p = Problems()
    session = Session(args.out)
    with session:
        wine = Wine(os.path.abspath(args.wine), os.path.join(session.tmp, "wineprefix"),
                    session)
        try:
            wine.run("wineboot", "--init", timeout=180)
            wine.wait_idle()
            files_before = wine.files()

            wine.run(os.path.abspath(args.setup), "/S", timeout=180)
            wine.wait_idle()
            for name in ("ventbox.exe", "ventbox-help.exe", "ventbox-calc.exe", "BAS.HLP",
                         "uninstall.exe"):
                p.check(os.path.exists(wine.path(INSTALLED + "\\" + name)),
                        "%s installed in %s" % (name, INSTALLED))
            p.check(os.path.exists(wine.path(
                r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Ventbox.lnk")),
                "the Start-menu entry Ventbox")
            entry = registry_key(wine.registry(), UNINSTALL_KEY) or {}
            for value, pattern in (("DisplayName", r'^"Ventbox"$'),
                                   ("DisplayVersion", r'^"\d+\.\d+\.\d+"$'),
                                   ("Publisher", r'^"ventbox developers"$'),
                                   ("EstimatedSize", r"^dword:0000[0-9a-f]{4}$"),
                                   ("UninstallString", r'uninstall\.exe')):
                p.check(re.search(pattern, entry.get(value, "")),
                        "installed programs list: %s = %s" % (value, entry.get(value)))

            # The program, from a folder without a help file.
            program = wine.start(INSTALLED + r"\ventbox.exe")
            _, main = wait_main_window(session, program)
            # Centred by its frame, which Wine without a window manager does
            # not draw: the client area lies half a title bar low.
            width, height = session.screen
            p.check(abs(2 * main.x + main.width - width) <= 1
                    and 0 <= 2 * main.y + main.height - height <= 50,
                    "the main window is centred with its frame: %r" % main)
            session.screenshot("main-window")
            # The first field has the focus when the window shows; from the
            # last result field, four Tabs (past the three buttons) lead
            # back to it.
            for design in DESIGNS:
                type_design(session, wine, main, design, p)
                session.key("Tab", "Tab", "Tab", "Tab")
            session.screenshot("designs")

            # F1 in Qts: the help viewer at the topic of the basic data.
            session.focus(main.id)
            session.key("Tab", "F1")
            viewer = session.wait_window("^Nápověda", 30, "the help viewer after F1 in Qts")
            with open(wine.path(INSTALLED + r"\BAS.HLP"), encoding="utf-8") as f:
                topic1 = re.search(r"^<!-- topic 1 -->\r?\n## (.+?)\s*$", f.read(), re.M)
            p.equal(viewer.title, "Nápověda - " + topic1.group(1), "help viewer after F1")
            session.screenshot("help")

            # The viewer covers the main window: a click on its "Zavřít" (at
            # the right end of its row of buttons), then back to the main
            # window with a click (see VB_FIELD).
            session.click(viewer, viewer.width - 50, 22)
            session.wait_hidden(viewer.id, 10, "the help viewer to close")
            session.click(main, *VB_FIELD)
            status = session.end_by_keys(program, main.id, "alt+k", timeout=20)
            p.equal(status, 0, "exit status of ventbox.exe")
        finally:
            wine.kill()  # the help viewer outlives the program

        wine.run(INSTALLED + r"\uninstall.exe", "/S", timeout=120)
        wine.wait_idle()
        # The uninstaller runs from a copy in the temporary folder, which
        # Windows removes at the next start, as it was asked to: a restart.
        wine.run("wineboot", "--restart", timeout=120)
        wine.wait_idle()
        left = sorted(wine.files() - files_before)
        p.equal(left, [], "files and folders left after uninstalling")
        registry = wine.registry()
        keys = [k for k in re.findall(r"^\[([^\]]+)\]", registry, re.M)
                if "ventbox" in k.lower()]
        p.equal(keys, [], "registry keys left after uninstalling")

        # The zip, unpacked anywhere, runs as it is.
        folder = wine.path(r"C:\users\Public\ventbox-zip")
        with zipfile.ZipFile(args.zip) as z:
            z.extractall(folder)
        (top,) = os.listdir(folder)
        program = wine.start(r"C:\users\Public\ventbox-zip\%s\ventbox.exe" % top)
        _, main = wait_main_window(session, program)
        session.screenshot("from-zip")
        p.equal(session.end_by_keys(program, main.id, "alt+k", timeout=20), 0,
                "exit status of ventbox.exe from the zip")
        wine.kill()
    p.raise_if_any()


if __name__ == "__main__":
    harness.main(test, TIME_LIMIT, "--setup", "--zip", "--wine", "--out")
