#!/usr/bin/env python3
"""Printing as a user's machine does it, for the tests of both programs.

PrintQueue is a CUPS daemon of the test's own: its configuration, spool and
socket in a scratch directory, one queue that writes every job as a PDF file
(the generic PDF printer's driver behind a file device), made the default.
Programs find it through CUPS_SERVER; the system's CUPS is never touched.

page_faults reads a printed page as a reader of the paper would: the PDF
rasterised by pdftoppm and its words placed by pdftotext, turned upright
when the printer laid a landscape page sideways on the sheet. The page is
the window's 800 x 577 client area stretched over the printable area, so the
charts' axes tell where that area lies; the title, the date line, both
charts, the band and the time labels must stand where the layout puts them,
and no word may end outside the printable area.

    print_queue.py check PDF landscape|portrait [WORD...]   the same, from C++
"""
import os
import re
import subprocess
import sys
import time

PDF_DRIVER = "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"
QUEUE = "korvex-pdf"
CLIENT_WIDTH, CLIENT_HEIGHT = 800, 577
WHITE, BAND = (255, 255, 255), (220, 210, 195)


class PrintQueue:
    def __init__(self, scratch):
        self.root = os.path.join(scratch, "cups")
        for part in ("spool", "cache", "state", "tmp", "out"):
            os.makedirs(os.path.join(self.root, part))
        # The filters run as the daemon's own user, which must reach the spool.
        for path in (scratch, self.root, os.path.join(self.root, "tmp")):
            os.chmod(path, 0o1777 if path.endswith("tmp") else 0o755)
        self.socket = os.path.join(self.root, "cups.sock")
        self.page = os.path.join(self.root, "out", "page.pdf")
        self.log = os.path.join(self.root, "error_log")
        with open(os.path.join(self.root, "cupsd.conf"), "w") as conf:
            conf.write(f"Listen {self.socket}\nWebInterface No\nBrowsing No\n"
                       "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                       "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                       "  </Limit>\n</Policy>\n")
        with open(os.path.join(self.root, "cups-files.conf"), "w") as conf:
            conf.write(f"ServerRoot {self.root}\nRequestRoot {self.root}/spool\n"
                       f"TempDir {self.root}/tmp\nCacheDir {self.root}/cache\n"
                       f"StateDir {self.root}/state\nErrorLog {self.log}\n"
                       f"AccessLog {self.root}/access_log\nPageLog {self.root}/page_log\n"
                       "FileDevice Yes\n")
        self.daemon = subprocess.Popen(
            ["/usr/sbin/cupsd", "-f", "-c", os.path.join(self.root, "cupsd.conf"),
             "-s", os.path.join(self.root, "cups-files.conf")],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.environment = {"CUPS_SERVER": self.socket}
        deadline = time.monotonic() + 20
        while not self._answers() and time.monotonic() < deadline:
            time.sleep(0.2)
        self._admin("-p", QUEUE, "-E", "-v", "file://" + self.page, "-P", PDF_DRIVER,
                    "-o", "PageSize=A4")
        self._admin("-d", QUEUE)
        self.printed = 0

    def _answers(self):
        return os.path.exists(self.socket) and subprocess.run(
            ["lpstat", "-h", self.socket, "-r"], capture_output=True).returncode == 0

    def _admin(self, *arguments):
        done = subprocess.run(["lpadmin", "-h", self.socket, *arguments], capture_output=True,
                              text=True, timeout=30)
        if done.returncode != 0:
            raise RuntimeError(f"lpadmin {arguments}: {done.stderr}")

    def next_page(self, timeout=90):
        """The PDF of the next job once it has come out of the queue."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            done = subprocess.run(["lpstat", "-h", self.socket, "-W", "completed", "-o", QUEUE],
                                  capture_output=True, text=True).stdout.splitlines()
            if len(done) > self.printed:
                self.printed = len(done)
                kept = os.path.join(self.root, "out", f"job{self.printed}.pdf")
                os.replace(self.page, kept)
                return kept
            time.sleep(0.5)
        with open(self.log) as log:
            sys.exit("FAILED: no page came out of the print queue\n" + log.read()[-3000:])

    def close(self):
        self.daemon.terminate()
        self.daemon.wait(timeout=30)


def _raster(pdf):
    """The page at 72 dots per inch, one dot a point: width, height, rows of RGB."""
    ppm = subprocess.run(["pdftoppm", "-r", "72", "-singlefile", pdf], capture_output=True,
                         timeout=60).stdout
    magic, width, height, _, pixels = ppm.split(maxsplit=4)
    width, height = int(width), int(height)
    return width, height, [pixels[3 * width * y:3 * width * (y + 1)] for y in range(height)]


def _words(pdf):
    bbox = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True,
                          timeout=60).stdout
    return [(float(a), float(b), float(c), float(d), text) for a, b, c, d, text in re.findall(
        r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<', bbox)]


def _upright(pdf):
    """The page's raster and words turned so that its text reads left to right:
    a landscape page that the printer laid on a portrait sheet is turned back."""
    width, height, rows = _raster(pdf)
    words = _words(pdf)
    title = [w for w in words if w[4] == "Vantorix"]
    if not title or title[0][3] - title[0][1] <= title[0][2] - title[0][0]:
        return width, height, rows, words
    first, second = title[0], [w for w in words if w[4] == "Data"][0]
    if first[1] > second[1]:  # reads upwards: turn the page clockwise
        turn = lambda x, y: (height - y, x)
        rows = [bytes(b for y in range(height - 1, -1, -1) for b in rows[y][3 * x:3 * x + 3])
                for x in range(width)]
    else:  # reads downwards: turn it counter-clockwise
        turn = lambda x, y: (y, width - x)
        rows = [bytes(b for y in range(height) for b in rows[y][3 * x:3 * x + 3])
                for x in range(width - 1, -1, -1)]
    turned = []
    for x0, y0, x1, y1, text in words:
        (a, b), (c, d) = turn(x0, y0), turn(x1, y1)
        turned.append((min(a, c), min(b, d), max(a, c), max(b, d), text))
    return height, width, rows, turned


def page_faults(pdf, orientation, words_wanted=()):
    """What is wrong with the printed page, as a list of findings; empty when
    it is right."""
    width, height, rows, words = _upright(pdf)
    faults = []
    if (width > height) != (orientation == "landscape"):
        faults.append(f"the page is {width} x {height} points, not {orientation}")
    # The two time axes are the longest dark rows; their shafts run from
    # x = 145 to 760, their baselines lie at y = 250 and 530.
    dark = lambda p: max(p) < 110
    axes = []
    for y, row in enumerate(rows):
        xs = [x for x in range(width) if dark(row[3 * x:3 * x + 3])]
        if len(xs) > width / 2:
            axes.append((y, xs[0], xs[-1]))
    if not axes:
        return faults + ["no time axes on the page"]
    zoom = [a for a in axes if a[0] < axes[0][0] + 10]
    main = [a for a in axes if a[0] > axes[-1][0] - 10]
    zoom_y = sum(a[0] for a in zoom) / len(zoom)
    main_y = sum(a[0] for a in main) / len(main)
    left, right = min(a[1] for a in axes), max(a[2] for a in axes)
    scale_x, scale_y = (right - left) / 615, (main_y - zoom_y) / 280
    origin_x, origin_y = left - 145 * scale_x, zoom_y - 250 * scale_y
    # A colour as printed: within a few steps of the one drawn, or, for the
    # curve's hairlines, blue however light the rasteriser made it.
    near = lambda seen, colour: max(abs(a - b) for a, b in zip(seen, colour)) <= 6
    blue = lambda seen: seen[2] > 200 and seen[2] - max(seen[:2]) > 60
    for name, baseline in (("zoom", 250), ("main", 530)):
        area = [rows[y][3 * x:3 * x + 3]
                for y in range(int(origin_y + (baseline - 198) * scale_y),
                               int(origin_y + (baseline - 2) * scale_y))
                for x in range(int(origin_x + 152 * scale_x), int(origin_x + 748 * scale_x))]
        share = lambda test: sum(map(test, area)) / len(area)
        if share(lambda seen: near(seen, WHITE)) < 0.5:
            faults.append(f"the {name} chart's plot area is not white paper")
        if sum(map(blue, area)) < 50:
            faults.append(f"no curve in the {name} chart")
        # The band covers 60 of the main chart's 600 columns.
        banded = share(lambda seen: near(seen, BAND))
        if (name == "main") != (0.05 < banded < 0.11):
            faults.append(f"{banded:.0%} of the {name} chart's plot area is cursor band")

    # Every word within the printable area, which the client area covers.
    slack = 1.5
    for x0, y0, x1, y1, text in words:
        if (x0 < origin_x - slack or y0 < origin_y - slack or
                x1 > origin_x + CLIENT_WIDTH * scale_x + slack or
                y1 > origin_y + CLIENT_HEIGHT * scale_y + slack):
            faults.append(f'"{text}" ends outside the printable area')
    logical = [((x0 - origin_x) / scale_x, (y1 - origin_y) / scale_y, (x1 - origin_x) / scale_x,
                text) for x0, y0, x1, y1, text in words]
    line = lambda y: " ".join(w[3] for w in sorted(logical) if abs(w[1] - y) < 6)
    if not line(20).startswith("Vantorix Data Acquisition"):
        faults.append(f'the title line reads "{line(20)}"')
    top_right = max((w for w in logical if abs(w[1] - 20) < 6), key=lambda w: w[2])
    if abs(top_right[2] - 790) > 8 or time.strftime("%Y") not in line(20):
        faults.append(f'the date line "{line(20)}" does not end at the top right')
    for caption, y in (("Start:", 100), ("End:", 200), ("Start:", 380), ("End:", 480)):
        if not any(w[3] == caption and abs(w[1] - y) < 6 and abs(w[0] - 10) < 6
                   for w in logical):
            faults.append(f"no {caption} label at y = {y}")
    texts = [w[3] for w in logical]
    faults += [f'no "{word}" on the page' for word in words_wanted if word not in texts]
    return faults


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] != "check":
        sys.exit(__doc__)
    for fault in page_faults(sys.argv[2], sys.argv[3], sys.argv[4:]):
        print(fault)
