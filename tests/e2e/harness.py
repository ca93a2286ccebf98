"""Running the real programs on a private X server, driven as a person would.

A Session starts Xvfb on a free display, by default without a window
manager (windows are not decorated, focus goes where XSetInputFocus puts it
or else follows the pointer), or with openbox as a desktop has one, and if
asked a session bus with the accessibility (AT-SPI) bus that a screen reader
reads. It starts programs there with a clean environment of their own, and
offers what a person does and sees: find a window by its title, its
geometry, its frame and whether it is shown, focus it, type and press keys,
click, copy a field's text through the clipboard, read the names that a
screen reader would read, and take screenshots, which stay in the output
directory for a person to look at.

Every process that a session starts carries a marker in its environment;
at the end the session ends those still running (found by that marker,
ended by their ids), then the X server. Xvfb and the programs started
directly also die with the test process itself.

Only the Python standard library and the Debian tools Xvfb, openbox,
xdotool, xclip, xprop, xwininfo, ImageMagick's import, dbus-daemon,
dbus-send and at-spi-bus-launcher are used; the accessibility names are read
by the system's Python 3 with its GObject bindings of AT-SPI.
"""

import argparse
import ctypes
import functools
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib


class Failure(Exception):
    pass


class Unavailable(Exception):
    """The test cannot run here (not root, say): CTest reports it skipped."""


SKIPPED = 77  # the tests' SKIP_RETURN_CODE


# ---- time ---------------------------------------------------------------------

_deadline = None


def set_time_limit(seconds):
    """The whole test ends within this; every wait is cut to what is left."""
    global _deadline
    _deadline = time.monotonic() + seconds


def remaining():
    if _deadline is None:
        return 3600.0
    return max(0.0, _deadline - time.monotonic())


def wait_for(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns a true value, which it returns;
    raises Failure when `timeout` seconds (or the test's time) are up."""
    end = time.monotonic() + min(timeout, remaining())
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= end:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


# ---- processes ----------------------------------------------------------------

def run(cmd, env=None, timeout=30, check=True, text=True, input=None):
    result = subprocess.run(cmd, env=env, capture_output=True, text=text, input=input,
                            timeout=min(timeout, max(1.0, remaining())))
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s%s" % (" ".join(cmd), result.returncode,
                                                result.stdout, result.stderr))
    return result


def die_with_parent():
    """Runs in a child before exec: it gets SIGTERM when this script dies,
    also when it is killed without a chance to clean up."""
    try:
        libc = ctypes.CDLL("libc.so.6", use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def process_alive(pid):
    """Whether `pid` runs (a zombie waiting for its parent does not)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            stat = f.read()
    except OSError:
        return False
    # The state follows the command name, which is in parentheses.
    return stat[stat.rindex(")") + 2:][:1] not in ("Z", "X")


def process_environment(pid):
    try:
        with open("/proc/%d/environ" % pid, "rb") as f:
            return f.read().split(b"\0")
    except OSError:
        return []


def stop_process(pid, what, timeout=10):
    """SIGTERM, then SIGKILL, to one process by its id; waits until it is
    gone. For a child of ours, use its Popen object instead."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if not process_alive(pid):
                return
            time.sleep(0.05)
    raise Failure("%s (pid %d) does not end" % (what, pid))


def stop_child(proc, timeout=10):
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=timeout)


# ---- pictures -----------------------------------------------------------------

class Image:
    """An 8-bit RGB picture: a screenshot or a part of one."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @classmethod
    def from_ppm(cls, data):
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise Failure("not an 8-bit binary PPM")
        width, height = int(fields[1]), int(fields[2])
        rgb = data[pos + 1:pos + 1 + 3 * width * height]
        if len(rgb) != 3 * width * height:
            raise Failure("a truncated PPM")
        return cls(width, height, rgb)

    def crop(self, x, y, w, h):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = [self.rgb[3 * (yy * self.width + x0):3 * (yy * self.width + x1)]
                for yy in range(y0, y1)]
        return Image(max(0, x1 - x0), max(0, y1 - y0), b"".join(rows))

    def count(self, predicate):
        rgb = self.rgb
        return sum(1 for i in range(0, len(rgb), 3) if predicate(rgb[i], rgb[i + 1], rgb[i + 2]))

    def write_png(self, path):
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        stride = 3 * self.width
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def is_dark(r, g, b):
    return max(r, g, b) < 64


def is_coloured(r, g, b):
    return max(r, g, b) - min(r, g, b) > 80


# ---- windows ------------------------------------------------------------------

class Window:
    """A top-level window as X sees it at one moment."""

    def __init__(self, wid, name, net_name, x, y, width, height, viewable):
        self.id = wid
        self.name = name          # WM_NAME
        self.net_name = net_name  # _NET_WM_NAME: the title a window manager shows
        self.x, self.y, self.width, self.height = x, y, width, height
        self.viewable = viewable

    @property
    def title(self):
        return self.net_name if self.net_name is not None else self.name

    def __repr__(self):
        return "<window 0x%x %r %dx%d+%d+%d%s>" % (self.id, self.title, self.width, self.height,
                                                  self.x, self.y,
                                                  "" if self.viewable else " hidden")


_XPROP_STRING = re.compile(r'^(\w+) = "(.*)"$')


def _unquote_xprop(text):
    # xprop escapes '"' and '\' with a backslash; other bytes pass as UTF-8.
    return re.sub(r'\\(.)', r"\1", text)


# ---- the session --------------------------------------------------------------

class Session:
    """A private X server and the programs running on it.

        with Session(out_dir) as s:
            program = s.start("build/bin/ventbox")
            main = s.wait_window(r"^Program pro", 15)
    """

    def __init__(self, out_dir, clean_out=True, screen=(1280, 1024), window_manager=False,
                 accessibility=False):
        self.out_dir = out_dir
        self.screen = screen
        self.window_manager = window_manager
        self.accessibility = accessibility
        self.bus_env = {}
        if clean_out:
            shutil.rmtree(out_dir, ignore_errors=True)
        os.makedirs(out_dir, exist_ok=True)
        self.tmp = None
        self.xvfb = None
        self.display = None
        self.root = None
        self.children = []
        self.shots = 0

    # -- life --

    def __enter__(self):
        self.tmp = tempfile.mkdtemp(prefix="ventbox-e2e-")
        os.chmod(self.tmp, 0o755)
        for d in ("home", "tmp"):
            os.makedirs(os.path.join(self.tmp, d))
        os.makedirs(os.path.join(self.tmp, "runtime"), mode=0o700)
        self.marker = "ventbox-e2e:" + self.tmp
        try:
            self._start_xvfb()
            if self.window_manager:
                self._start_window_manager()
            if self.accessibility:
                self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start_xvfb(self):
        if not shutil.which("Xvfb"):
            raise Failure("Xvfb is not installed")
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.out_dir, "xvfb.log"), "w")
        width, height = self.screen
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        finally:
            os.close(write_end)
            log.close()
        # Xvfb writes the display number it took once it accepts clients.
        data = b""
        end = time.monotonic() + min(30, remaining())
        try:
            while not data.endswith(b"\n"):
                left = end - time.monotonic()
                if left <= 0 or self.xvfb.poll() is not None:
                    raise Failure("Xvfb did not start (see xvfb.log)")
                ready, _, _ = select.select([read_end], [], [], left)
                if ready:
                    chunk = os.read(read_end, 64)
                    if not chunk:
                        raise Failure("Xvfb did not start (see xvfb.log)")
                    data += chunk
        finally:
            os.close(read_end)
        self.display = ":" + data.decode().strip()
        root = self.tool(["xwininfo", "-root"]).stdout
        self.root = int(re.search(r"Window id: (0x[0-9a-f]+)", root).group(1), 16)

    def _start_window_manager(self):
        if not shutil.which("openbox"):
            raise Failure("openbox is not installed")
        self.start(shutil.which("openbox"), ["--sm-disable"])
        wait_for(lambda: self.property(self.root, "_NET_SUPPORTING_WM_CHECK"), 15,
                 "openbox to manage the screen")

    def _start_accessibility_bus(self):
        """A session bus of the session's own and the accessibility bus
        that at-spi-bus-launcher starts for it."""
        launcher = "/usr/libexec/at-spi-bus-launcher"
        for tool in ("dbus-daemon", "dbus-send", launcher):
            if not shutil.which(tool):
                raise Failure("%s is not installed" % tool)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=self.env(), stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                               preexec_fn=die_with_parent)
        self.children.append(bus)
        address = bus.stdout.readline().strip()
        if not address:
            raise Failure("dbus-daemon gave no address")
        self.bus_env = {"DBUS_SESSION_BUS_ADDRESS": address, "QT_ACCESSIBILITY": "1",
                        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "NO_AT_BRIDGE": "0"}
        self.start(launcher, ["--launch-immediately"])
        wait_for(lambda: self.tool(["dbus-send", "--session", "--print-reply",
                                    "--dest=org.a11y.Bus", "/org/a11y/bus",
                                    "org.a11y.Bus.GetAddress"], check=False).returncode == 0,
                 15, "the accessibility bus")

    def close(self):
        """Ends what is left of the programs, then the X server."""
        for child in self.children:
            stop_child(child)
        for pid in self.marked_processes() if self.tmp else []:
            try:
                stop_process(pid, "a process of this test")
            except Failure as e:
                print("warning: %s" % e, file=sys.stderr)
        stop_child(self.xvfb)
        self.xvfb = None
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None

    def marked_processes(self):
        """Processes that carry this session's marker (ours, and what
        they started, such as the detached help viewer)."""
        needle = ("VENTBOX_E2E_SESSION=" + self.marker).encode()
        found = []
        for entry in os.listdir("/proc"):
            if entry.isdigit() and int(entry) != os.getpid():
                if needle in process_environment(int(entry)) and process_alive(int(entry)):
                    found.append(int(entry))
        return found

    def is_ours(self, pid):
        return ("VENTBOX_E2E_SESSION=" + self.marker).encode() in process_environment(pid)

    # -- environment and programs --

    def env(self, **extra):
        """A clean environment: only what a program on this display needs."""
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "HOME": os.path.join(self.tmp, "home"),
            "TMPDIR": os.path.join(self.tmp, "tmp"),
            "XDG_RUNTIME_DIR": os.path.join(self.tmp, "runtime"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            "QT_ACCESSIBILITY": "0",
            "NO_AT_BRIDGE": "1",
            # A help viewer of this session meets no other test's viewer.
            "VENTBOX_HELP_SERVER": os.path.join(self.tmp, "help-server"),
            # No print server unless a test gives one.
            "CUPS_SERVER": os.path.join(self.tmp, "no-print-server.sock"),
            "VENTBOX_E2E_SESSION": self.marker,
        }
        env.update(self.bus_env)
        # A sanitizer build's settings (make test-asan) go along.
        for name in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"):
            if name in os.environ:
                env[name] = os.environ[name]
        env.update(extra)
        return env

    def start(self, program, args=(), **extra_env):
        """Starts a program in the session's home directory; its output
        goes to <name>.log in the output directory."""
        program = os.path.abspath(program)
        name = os.path.basename(program)
        log = open(os.path.join(self.out_dir, name + ".log"), "ab")
        try:
            proc = subprocess.Popen([program] + list(args), env=self.env(**extra_env),
                                    cwd=os.path.join(self.tmp, "home"),
                                    stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        finally:
            log.close()
        self.children.append(proc)
        return proc

    def tool(self, cmd, check=True, timeout=20, input=None, text=True):
        """Runs an X client tool (xdotool, xprop...) on this display."""
        return run(cmd, env=self.env(), timeout=timeout, check=check, input=input, text=text)

    # -- windows --

    def visible_ids(self):
        """Ids of the top-level windows that are shown now."""
        if self.window_manager:
            # The window manager holds the clients in frames of its own.
            clients = self.property(self.root, "_NET_CLIENT_LIST") or ""
            shown = []
            for wid in (int(w, 16) for w in re.findall(r"0x[0-9a-f]+", clients)):
                window = self.window(wid)
                if window is not None and window.viewable:
                    shown.append(wid)
            return shown
        out = self.tool(["xdotool", "search", "--onlyvisible", "--maxdepth", "1",
                         "--name", ""], check=False).stdout
        return [int(w) for w in out.split() if int(w) != self.root]

    def window(self, wid):
        """The window as X sees it now; None when it no longer exists."""
        info = self.tool(["xwininfo", "-id", str(wid)], check=False)
        if info.returncode != 0:
            return None
        fields = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(.*)$", info.stdout, re.M))
        if "Absolute upper-left X" not in fields or "Width" not in fields:
            return None
        props = self.tool(["xprop", "-id", str(wid), "-notype", "WM_NAME", "_NET_WM_NAME"],
                          check=False).stdout
        names = {}
        for line in props.splitlines():
            m = _XPROP_STRING.match(line)
            if m:
                names[m.group(1)] = _unquote_xprop(m.group(2))
        return Window(wid, names.get("WM_NAME"), names.get("_NET_WM_NAME"),
                      int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                      int(fields["Width"]), int(fields["Height"]),
                      fields.get("Map State") == "IsViewable")

    def visible_windows(self):
        found = []
        for wid in self.visible_ids():
            w = self.window(wid)
            if w is not None and w.viewable:
                found.append(w)
        return found

    def find_visible(self, title_pattern):
        """Shown windows whose WM_NAME matches the regular expression."""
        pattern = re.compile(title_pattern)
        return [w for w in self.visible_windows() if w.name is not None and pattern.search(w.name)]

    def wait_window(self, title_pattern, timeout, what=None):
        """Waits until exactly one shown window's title matches; returns it."""
        def one():
            found = self.find_visible(title_pattern)
            if len(found) > 1:
                raise Failure("%d windows titled like %r: %s" % (len(found), title_pattern, found))
            return found[0] if found else None
        return wait_for(one, timeout, what or "a window titled like %r" % title_pattern,
                        interval=0.1)

    def wait_hidden(self, wid, timeout, what):
        wait_for(lambda: wid not in self.visible_ids(), timeout, what, interval=0.1)

    def property(self, wid, name):
        """One property of a window as xprop prints its value (None if unset):
        "1, 1, 20, 1"; a window as "window id # 0x200007"."""
        out = self.tool(["xprop", "-id", str(wid), "-notype", name], check=False).stdout.strip()
        m = re.match(r"^\w+(?: = |: (?=window id))(.*)$", out, re.S)
        return m.group(1) if m else None

    def window_pid(self, wid):
        out = self.tool(["xdotool", "getwindowpid", str(wid)], check=False).stdout.strip()
        return int(out) if out.isdigit() else None

    def frame(self, window):
        """The window with the frame that the window manager drew around
        it: (x, y, width, height) as _NET_FRAME_EXTENTS reports the frame."""
        extents = self.property(window.id, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = [int(v) for v in extents.split(",")] if extents else (0,) * 4
        return (window.x - left, window.y - top, window.width + left + right,
                window.height + top + bottom)

    def centred(self, window, framed=False):
        """Whether the window (with its frame, if `framed`) is centred on
        the screen (to the pixel, either way of an odd difference)."""
        x, y, w, h = self.frame(window) if framed else (window.x, window.y, window.width,
                                                        window.height)
        width, height = self.screen
        return abs(2 * x + w - width) <= 1 and abs(2 * y + h - height) <= 1

    def on_screen(self, window):
        """Whether the window, frame included, lies wholly on the screen."""
        x, y, w, h = self.frame(window)
        return x >= 0 and y >= 0 and x + w <= self.screen[0] and y + h <= self.screen[1]

    # -- keyboard --

    def focus(self, wid):
        """Brings a window to the front and gives it the keyboard focus, as a
        click on its title bar would under a window manager."""
        if self.window_manager:
            self.tool(["xdotool", "windowactivate", "--sync", str(wid)])
            return
        self.tool(["xdotool", "windowraise", str(wid)])
        self.tool(["xdotool", "windowfocus", "--sync", str(wid)])

    def end_by_keys(self, program, window_id, keys, timeout=10):
        """Focuses the window, presses `keys` and waits for the program to
        end; returns its exit status."""
        self.focus(window_id)
        self.key(keys)
        try:
            return program.wait(timeout=min(timeout, remaining()))
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s of %s" % (timeout, keys))

    def key(self, *keys):
        """Presses keys (xdotool names: Tab, F1, alt+v, ctrl+c) in the
        focused window."""
        self.tool(["xdotool", "key", "--delay", "40"] + list(keys))

    def type(self, text):
        self.tool(["xdotool", "type", "--delay", "60", text])

    def click(self, window, x, y, button=1):
        """Clicks at (x, y) in the window's client area."""
        self.tool(["xdotool", "mousemove", "--sync", str(window.x + x), str(window.y + y),
                   "click", str(button)])

    # -- clipboard --

    def own_selection(self, text, selection="primary"):
        """A stand-in program that holds `text` in the X selection until
        another takes it over or the returned process is ended."""
        owner = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", selection],
                                 env=self.env(), stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(owner)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        wait_for(lambda: self.tool(["xclip", "-o", "-selection", selection], check=False).stdout
                 == text, 10, "xclip to own the %s selection" % selection)
        return owner

    def field_text(self):
        """The text of the focused input field, selected from its end to its
        start with the keyboard: X makes a selection the primary selection
        (input fields refuse Ctrl+C by design)."""
        return self.copy(lambda: self.key("End", "shift+Home"), "primary")

    def copy(self, action, selection="clipboard", timeout=10):
        """Runs `action` (keys that copy, or keys that select a field's
        text) and returns the text that it put into the X selection
        ("clipboard" for Ctrl+C, "primary" for selected text).

        Before the action a stand-in owns the selection with a text of its
        own; it ends when the program takes the selection over. So the text
        read afterwards is the program's, even if it equals an earlier one."""
        sentinel = "ventbox-e2e-sentinel-%d" % time.monotonic_ns()
        owner = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", selection],
                                 env=self.env(), stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(owner)
        try:
            owner.stdin.write(sentinel.encode())
            owner.stdin.close()

            def read():
                result = self.tool(["xclip", "-o", "-selection", selection], check=False,
                                   text=False)
                return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None
            wait_for(lambda: read() == sentinel, 10, "xclip to own the %s selection" % selection)
            action()
            wait_for(lambda: owner.poll() is not None, timeout,
                     "the program to take the %s selection" % selection)
            text = read()
            if text is None:
                raise Failure("the %s selection could not be read" % selection)
            return text
        finally:
            stop_child(owner)
            self.children.remove(owner)

    # -- accessibility --

    def accessible_names(self, application):
        """(role, name) of every accessible object of the application, as
        a screen reader finds them on the accessibility bus."""
        script = (
            "import gi, json, sys\n"
            "gi.require_version('Atspi', '2.0')\n"
            "from gi.repository import Atspi\n"
            "found = []\n"
            "def walk(a):\n"
            "    found.append((a.get_role_name(), a.get_name() or ''))\n"
            "    for i in range(a.get_child_count()):\n"
            "        child = a.get_child_at_index(i)\n"
            "        if child is not None:\n"
            "            walk(child)\n"
            "desktop = Atspi.get_desktop(0)\n"
            "for i in range(desktop.get_child_count()):\n"
            "    app = desktop.get_child_at_index(i)\n"
            "    if app is not None and app.get_name() == sys.argv[1]:\n"
            "        walk(app)\n"
            "print(json.dumps(found))\n")
        # The Debian interpreter, which the GObject bindings belong to.
        out = self.tool(["/usr/bin/python3", "-c", script, application], timeout=60).stdout
        return [tuple(entry) for entry in json.loads(out)]

    # -- screenshots --

    def grab(self):
        """The whole screen as it is now."""
        data = self.tool(["import", "-window", "root", "-depth", "8", "ppm:-"], text=False,
                         timeout=30).stdout
        return Image.from_ppm(data)

    def screenshot(self, name):
        """The whole screen, saved as NN-name.png in the output directory."""
        image = self.grab()
        self.shots += 1
        image.write_png(os.path.join(self.out_dir, "%02d-%s.png" % (self.shots, name)))
        return image


def window_image(screen, window, x=0, y=0, width=None, height=None):
    """The part of a screenshot at (x, y) inside `window`'s client area."""
    return screen.crop(window.x + x, window.y + y,
                       window.width - x if width is None else width,
                       window.height - y if height is None else height)


# ---- the test's frame ---------------------------------------------------------

class Problems:
    """Checks that do not stop the test: each failed one is reported at the
    end, so that one run shows every problem that it met."""

    def __init__(self):
        self.failed = []

    def check(self, condition, message):
        print("%s: %s" % ("ok" if condition else "FAILED", message))
        if not condition:
            self.failed.append(message)
        return condition

    def equal(self, got, expected, what):
        return self.check(got == expected, "%s: %r%s" % (
            what, got, "" if got == expected else " (expected %r)" % (expected,)))

    def raise_if_any(self):
        if self.failed:
            raise Failure("%d check(s) failed:\n  %s" % (len(self.failed),
                                                         "\n  ".join(self.failed)))


def on_signal(signum, _frame):
    raise Failure("stopped by signal %d" % signum)


def main(test, time_limit, *options):
    """Runs test() within `time_limit` seconds; prints PASS or FAIL and
    exits with 0 or 1 (or SKIPPED and 77). Signals end the test through its
    cleanup. With `options` ("--ventbox", "--out", ...), each is a required
    command-line option and the test is called as test(args)."""
    if options:
        parser = argparse.ArgumentParser()
        for option in options:
            parser.add_argument(option, required=True)
        test = functools.partial(test, parser.parse_args())
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    set_time_limit(time_limit)
    started = time.monotonic()
    try:
        test()
    except Unavailable as e:
        print("SKIPPED: %s" % e, file=sys.stderr)
        sys.exit(SKIPPED)
    except Failure as e:
        print("FAIL: %s" % e, file=sys.stderr)
        sys.exit(1)
    except subprocess.TimeoutExpired as e:
        print("FAIL: timed out: %s" % e, file=sys.stderr)
        sys.exit(1)
    print("PASS (%.1f s)" % (time.monotonic() - started))
