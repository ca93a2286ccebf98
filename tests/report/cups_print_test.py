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
import json
import os
import shutil
import sys

# The private print server and the test frame are shared with the tests that
# drive the real program (tests/e2e).
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "e2e"))

import harness  # noqa: E402
from harness import Failure, run  # noqa: E402
from printserver import PrintServer, pdf_pages  # noqa: E402

TIME_LIMIT = 150  # seconds for the whole test; ctest allows a little more


# ---- images ------------------------------------------------------------------

class Image(harness.Image):
    """A page read from a PPM file, with its grey levels for the ink tests."""

    def __init__(self, path):
        with open(path, "rb") as f:
            page = harness.Image.from_ppm(f.read())
        super().__init__(page.width, page.height, page.rgb)
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

    for tool in ("pdfinfo", "pdftoppm"):
        if not shutil.which(tool):
            raise Failure("%s is not installed" % tool)

    out = args.out
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)

    with PrintServer(log_dir=out) as server:
        env = server.env
        # The direct rendering of the same sheet.
        run([args.driver, "render", os.path.join(out, "direct.png"),
             os.path.join(out, "direct.ppm"), os.path.join(out, "boxes.json")], env)

        started = run([args.driver, "print"], env, timeout=60, check=False)
        if started.returncode != 0:
            raise Failure("the driver failed to print: " + started.stderr)

        completed = server.wait_until_idle(90)
        if len(completed) != 1:
            raise Failure("expected one completed job, got: %s\n%s"
                          % (completed, server.error_log_tail()))
        print("job: " + completed[0])

        printed = server.take_pdf(os.path.join(out, "printed.pdf"))

        pages, (width, height) = pdf_pages(printed)
        if pages != 1:
            raise Failure("the printed PDF has %d pages, not one" % pages)
        if width >= height:
            raise Failure("the printed page is not portrait: %s x %s pt" % (width, height))
        print("printed PDF: 1 page, %s x %s pt" % (width, height))

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


if __name__ == "__main__":
    harness.main(main, TIME_LIMIT)
