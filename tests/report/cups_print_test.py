#!/usr/bin/env python3
"""The design sheet printed through a real print server.

Starts a private CUPS daemon (its own configuration, spool, state and log
directories and a unix socket in a temporary directory), adds a cups-pdf
queue and makes it the default, runs the print driver against it, waits
until the queue is empty and takes the PDF that the backend wrote. The PDF
must have exactly one portrait page; rasterised at 96 dpi it must match the
sheet rendered directly by the program (after aligning the two on their
ink): the same ink in every item's box, nothing elsewhere, the title blue,
the notice red, and a small mean difference overall.

cups-pdf writes no extractable text, so the comparison is of images.

The rasterised page (page.png), the direct rendering (direct.png) and the
printed PDF stay in the output directory for a person to look at.

    cups_print_test.py --driver <report_print_driver> --out <dir>
"""

import argparse
import ctypes
import json
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

QUEUE = "ventbox-e2e"
TIME_LIMIT = 150  # seconds for the whole test; ctest allows a little more
DEADLINE = time.monotonic() + TIME_LIMIT

CUPSD = "/usr/sbin/cupsd"
CUPS_PDF_CONF = "/etc/cups/cups-pdf.conf"


class Failure(Exception):
    pass


def remaining():
    return max(0.0, DEADLINE - time.monotonic())


def wait_for(condition, timeout, what):
    """Polls condition() until it returns a true value or the time is up."""
    end = time.monotonic() + min(timeout, remaining())
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.2)


def run(cmd, env, timeout=30, check=True):
    result = subprocess.run(cmd, env=env, capture_output=True, text=True,
                            timeout=min(timeout, max(1.0, remaining())))
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s%s" % (" ".join(cmd), result.returncode,
                                                result.stdout, result.stderr))
    return result


# ---- the private print server ------------------------------------------------

def write_config(tmp):
    for d in ("root", "spool", "state", "cache", "log"):
        os.makedirs(os.path.join(tmp, d))
        os.chmod(os.path.join(tmp, d), 0o755)
    # Filters run as an unprivileged user and need to write here.
    os.makedirs(os.path.join(tmp, "tmp"))
    os.chmod(os.path.join(tmp, "tmp"), 0o1777)
    socket = os.path.join(tmp, "cups.sock")
    with open(os.path.join(tmp, "cupsd.conf"), "w") as f:
        f.write("""Listen %s
LogLevel debug
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultShared No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
""" % socket)
    with open(os.path.join(tmp, "cups-files.conf"), "w") as f:
        f.write("""ServerRoot {t}/root
RequestRoot {t}/spool
StateDir {t}/state
CacheDir {t}/cache
TempDir {t}/tmp
AccessLog {t}/log/access_log
ErrorLog {t}/log/error_log
PageLog {t}/log/page_log
FileDevice No
""".format(t=tmp))
    return socket


def die_with_parent():
    """Runs in the child: the daemon gets SIGTERM if this script dies."""
    try:
        libc = ctypes.CDLL("libc.so.6", use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def start_cupsd(tmp, env):
    log = open(os.path.join(tmp, "log", "cupsd.out"), "w")
    return subprocess.Popen(
        [CUPSD, "-f", "-c", os.path.join(tmp, "cupsd.conf"),
         "-s", os.path.join(tmp, "cups-files.conf")],
        stdout=log, stderr=subprocess.STDOUT, env=env, preexec_fn=die_with_parent)


def stop_cupsd(proc):
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=10)


def error_log_tail(tmp, lines=25):
    try:
        with open(os.path.join(tmp, "log", "error_log")) as f:
            interesting = [l for l in f if l[:2] in ("E ", "W ") or "[Job" in l]
        return "".join(interesting[-lines:])
    except OSError:
        return "(no error log)"


def cups_pdf_model(env):
    models = run(["lpinfo", "-m"], env).stdout.splitlines()
    for preferred in ("CUPS-PDF_opt.ppd", "CUPS-PDF_noopt.ppd", "CUPS-PDF"):
        for line in models:
            name = line.split(" ", 1)[0]
            if preferred in name:
                return name
    raise Failure("no cups-pdf model among the drivers:\n" + "\n".join(models))


# ---- where cups-pdf puts its files --------------------------------------------

def cups_pdf_output_dir(user):
    """The backend's output directory for jobs of `user`, as its
    configuration says (the backend reads it from a fixed place)."""
    out = "/var/spool/cups-pdf/${USER}"  # the backend's built-in default
    try:
        with open(CUPS_PDF_CONF) as f:
            for line in f:
                m = re.match(r"\s*Out\s+(\S+)", line)
                if m:
                    out = m.group(1)
    except OSError:
        pass
    entry = pwd.getpwnam(user)
    return out.replace("${HOME}", entry.pw_dir).replace("${USER}", user)


def pdf_snapshot(directory):
    found = {}
    if os.path.isdir(directory):
        for name in os.listdir(directory):
            path = os.path.join(directory, name)
            if name.lower().endswith(".pdf") and os.path.isfile(path):
                st = os.stat(path)
                found[path] = (st.st_mtime_ns, st.st_size)
    return found


# ---- images ------------------------------------------------------------------

class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
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
            raise Failure("%s: not an 8-bit PPM" % path)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.rgb = data[pos + 1:pos + 1 + 3 * self.width * self.height]
        rgb = self.rgb
        self.gray = bytes((rgb[i] * 299 + rgb[i + 1] * 587 + rgb[i + 2] * 114) // 1000
                          for i in range(0, len(rgb), 3))

    def g(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.gray[y * self.width + x]
        return 255

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]


INK = 160  # a pixel darker than this is ink


def ink_bounds(img):
    x0 = y0 = 10 ** 9
    x1 = y1 = -1
    w = img.width
    for y in range(img.height):
        row = img.gray[y * w:(y + 1) * w]
        xs = [x for x, v in enumerate(row) if v < INK]
        if xs:
            y0 = min(y0, y)
            y1 = y
            x0 = min(x0, xs[0])
            x1 = max(x1, xs[-1])
    if y1 < 0:
        return None
    return x0, y0, x1, y1


def mean_abs_diff(ref, page, box, dx, dy, step=1):
    x0, y0, x1, y1 = box
    total = 0
    count = 0
    for y in range(y0, y1 + 1, step):
        for x in range(x0, x1 + 1):
            total += abs(ref.g(x, y) - page.g(x + dx, y + dy))
            count += 1
    return total / count


def ink_count(img, box, dx=0, dy=0):
    x, y, w, h = box
    return sum(1 for yy in range(y - 1, y + h + 1) for xx in range(x - 1, x + w + 1)
               if img.g(xx + dx, yy + dy) < INK)


def colour_share(img, box, dx, dy, wanted):
    """Share of the clearly inked pixels in `box` whose hue is `wanted`."""
    x, y, w, h = box
    inked = hits = 0
    for yy in range(y + dy, y + h + dy):
        for xx in range(x + dx, x + w + dx):
            r, g, b = img.pixel(xx, yy)
            if r + g + b >= 450:
                continue
            inked += 1
            if wanted == "blue" and b - max(r, g) > 80:
                hits += 1
            elif wanted == "red" and r - max(g, b) > 80:
                hits += 1
    return hits / inked if inked else 0.0


def compare(ref, page, boxes):
    rb = ink_bounds(ref)
    pb = ink_bounds(page)
    if rb is None:
        raise Failure("the direct rendering is blank")
    if pb is None:
        raise Failure("the printed page is blank")
    print("ink box, direct: %s; printed: %s" % (rb, pb))
    size_r = (rb[2] - rb[0], rb[3] - rb[1])
    size_p = (pb[2] - pb[0], pb[3] - pb[1])
    if abs(size_r[0] - size_p[0]) > 3 or abs(size_r[1] - size_p[1]) > 3:
        raise Failure("printed content is %dx%d pixels, the direct rendering %dx%d: "
                      "scaled on the way" % (size_p + size_r))
    dx, dy = pb[0] - rb[0], pb[1] - rb[1]
    if abs(dx) > 12 or abs(dy) > 12:
        raise Failure("printed content is offset by %d,%d pixels" % (dx, dy))

    # Refine the alignment on the whole content.
    content = (max(0, rb[0] - 4), max(0, rb[1] - 4), rb[2] + 4, rb[3] + 4)
    best = min(((mean_abs_diff(ref, page, content, dx + ex, dy + ey, step=3), dx + ex, dy + ey)
                for ex in (-1, 0, 1) for ey in (-1, 0, 1)))
    _, dx, dy = best
    mad = mean_abs_diff(ref, page, content, dx, dy)
    print("offset %d,%d; mean absolute difference %.2f of 255" % (dx, dy, mad))
    if mad > 10:
        raise Failure("the printed page differs from the direct rendering "
                      "(mean absolute difference %.2f)" % mad)

    # Every item's ink is there, in about the same amount.
    for name, box in sorted(boxes.items()):
        expected = ink_count(ref, box)
        got = ink_count(page, box, dx, dy)
        if expected == 0:
            continue
        ratio = got / expected
        if not 0.6 <= ratio <= 1.6:
            raise Failure("%s: %d ink pixels printed, %d rendered" % (name, got, expected))

    # Nothing printed outside the items.
    def in_some_box(x, y):
        return any(bx - 2 <= x < bx + bw + 2 and by - 2 <= y < by + bh + 2
                   for bx, by, bw, bh in boxes.values())
    stray = sum(1 for y in range(page.height) for x in range(page.width)
                if page.gray[y * page.width + x] < INK and not in_some_box(x - dx, y - dy))
    if stray > 20:
        raise Failure("%d ink pixels printed outside the items" % stray)

    for name, wanted in (("FolioLabel1", "blue"), ("FolioLabel18", "red")):
        share = colour_share(page, boxes[name], dx, dy, wanted)
        if share < 0.8:
            raise Failure("%s printed %.0f%% %s" % (name, share * 100, wanted))
    print("items: ink and colours match")


# ---- the test ----------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    for tool in (CUPSD, "lpadmin", "lpinfo", "lpstat", "pdfinfo", "pdftoppm"):
        if not shutil.which(tool):
            raise Failure("%s is not installed" % tool)
    if os.geteuid() != 0:
        raise Failure("needs root: the cups-pdf backend runs only as root under a "
                      "print server started by root")
    if not os.path.exists("/usr/lib/cups/backend/cups-pdf"):
        raise Failure("the cups-pdf backend is not installed")

    out = args.out
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)

    tmp = tempfile.mkdtemp(prefix="ventbox-cups-")
    os.chmod(tmp, 0o755)
    cupsd = None
    ok = False
    try:
        socket = write_config(tmp)
        env = dict(os.environ)
        for var in ("PRINTER", "LPDEST", "CUPS_USER"):
            env.pop(var, None)
        env["CUPS_SERVER"] = socket

        cupsd = start_cupsd(tmp, env)

        def scheduler_running():
            if cupsd.poll() is not None:
                raise Failure("cupsd ended at once:\n" + error_log_tail(tmp))
            return os.path.exists(socket) and run(["lpstat", "-r"], env, check=False).returncode == 0
        wait_for(scheduler_running, 30, "the print server to start")

        model = cups_pdf_model(env)
        run(["lpadmin", "-p", QUEUE, "-E", "-v", "cups-pdf:/", "-m", model], env)
        run(["lpadmin", "-d", QUEUE], env)
        default = run(["lpstat", "-d"], env).stdout
        if QUEUE not in default:
            raise Failure("the queue is not the default: " + default)

        user = pwd.getpwuid(os.getuid()).pw_name
        pdf_dir = cups_pdf_output_dir(user)
        dir_existed = os.path.isdir(pdf_dir)
        before = pdf_snapshot(pdf_dir)
        print("cups-pdf writes jobs of %s to %s" % (user, pdf_dir))

        # The direct rendering of the same sheet.
        run([args.driver, "render", os.path.join(out, "direct.png"),
             os.path.join(out, "direct.ppm"), os.path.join(out, "boxes.json")], env)

        started = run([args.driver, "print"], env, timeout=60, check=False)
        if started.returncode != 0:
            raise Failure("the driver failed to print: " + started.stderr)

        def queue_empty():
            state = run(["lpstat", "-p", QUEUE], env, check=False).stdout
            if "disabled" in state:
                raise Failure("the queue stopped:\n" + state + error_log_tail(tmp))
            return run(["lpstat", "-o", QUEUE], env, check=False).stdout.strip() == ""
        wait_for(queue_empty, 90, "the queue to empty")

        completed = run(["lpstat", "-W", "completed", "-o", QUEUE], env).stdout.splitlines()
        if len(completed) != 1:
            raise Failure("expected one completed job, got: %s\n%s"
                          % (completed, error_log_tail(tmp)))
        print("job: " + completed[0])

        def new_pdfs():
            after = pdf_snapshot(pdf_dir)
            return [p for p, stamp in after.items() if before.get(p) != stamp]
        produced = wait_for(new_pdfs, 15, "the PDF from cups-pdf in " + pdf_dir)
        if len(produced) != 1:
            raise Failure("cups-pdf wrote %d files: %s" % (len(produced), produced))
        printed = os.path.join(out, "printed.pdf")
        shutil.move(produced[0], printed)
        if not dir_existed and not os.listdir(pdf_dir):
            os.rmdir(pdf_dir)

        info = run(["pdfinfo", printed], env).stdout
        pages = re.search(r"^Pages:\s+(\d+)", info, re.M)
        size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+)", info, re.M)
        if not pages or int(pages.group(1)) != 1:
            raise Failure("the printed PDF does not have exactly one page:\n" + info)
        if not size or float(size.group(1)) >= float(size.group(2)):
            raise Failure("the printed page is not portrait:\n" + info)
        print("printed PDF: 1 page, %s x %s pt" % (size.group(1), size.group(2)))

        run(["pdftoppm", "-r", "96", "-singlefile", "-png", printed,
             os.path.join(out, "page")], env, timeout=60)
        run(["pdftoppm", "-r", "96", "-singlefile", printed,
             os.path.join(out, "page")], env, timeout=60)

        with open(os.path.join(out, "boxes.json")) as f:
            boxes = json.load(f)
        compare(Image(os.path.join(out, "direct.ppm")), Image(os.path.join(out, "page.ppm")),
                boxes)
        print("pictures: %s, %s" % (os.path.join(out, "page.png"),
                                    os.path.join(out, "direct.png")))
        ok = True
    finally:
        stop_cupsd(cupsd)
        if not ok and os.path.isdir(os.path.join(tmp, "log")):
            shutil.copytree(os.path.join(tmp, "log"), os.path.join(out, "cups-log"),
                            dirs_exist_ok=True)
        shutil.rmtree(tmp, ignore_errors=True)


def on_signal(signum, _frame):
    raise Failure("stopped by signal %d" % signum)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)
    try:
        main()
    except Failure as e:
        print("FAIL: %s" % e, file=sys.stderr)
        sys.exit(1)
    except subprocess.TimeoutExpired as e:
        print("FAIL: timed out: %s" % e, file=sys.stderr)
        sys.exit(1)
    print("PASS")
