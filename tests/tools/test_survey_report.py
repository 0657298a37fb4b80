#!/usr/bin/env python3
"""The survey report as its readers meet it: opened, shot and printed by
Debian's Chromium and Firefox ESR, headless, in a network namespace of its own
with nothing but loopback.

test_survey_report.py KORVEX_CONVERT

The report of the summary test's twelve days, from a data file named
"<img src=x onerror=alert(1)>&.kvd" with a --title full of markup: each
browser's screenshot shows every chart drawn (its colours are there, where
a blank SVG would leave white); the browser's own print to PDF is A4
landscape, keeps every word inside the page (pdftotext -bbox), holds every
section and the figures of the JSON, in German with a decimal comma; the
file name and the title are text, and no script ran (the DOM has no element
they would make and no mark their script would set).
"""
import base64
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unicodedata

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from test_load_summary import check, twelve_days, write_kvd  # noqa: E402

HOSTILE_NAME = "<img src=x onerror=alert(1)>&.kvd"
TITLE = "<b>Substation 4</b><script>document.body.dataset.ran='yes'</script> & \"T1\""
HEADINGS = {"en": ["Summary", "The whole record", "Daily profile", "Heat map",
                   "Load duration curve", "The ten highest demand blocks", "Excursions",
                   "Markers", "Gaps"],
            "de": ["Übersicht", "Der gesamte Verlauf", "Tagesprofil", "Wärmebild", "Dauerlinie",
                   "Die zehn höchsten Blöcke", "Überschreitungen", "Markierungen", "Lücken"]}
# Colours each chart draws with: the curve, the duration curve of blocks, the
# heat map's low and high ends.
CHART_COLOURS = {"record curve": (0, 114, 178), "block duration curve": (213, 94, 0),
                 "heat map, low": (68, 1, 84), "heat map, mid": (38, 130, 142)}


def pixels_near(image, colour, tolerance=10):
    counted = 0
    for n, pixel in image.getcolors(maxcolors=1 << 24):
        if all(abs(a - b) <= tolerance for a, b in zip(pixel[:3], colour)):
            counted += n
    return counted


def check_screenshot(path, browser):
    image = Image.open(path).convert("RGB")
    for name, colour in CHART_COLOURS.items():
        check(pixels_near(image, colour) > 100, f"{browser}: the {name} is drawn in {path}")


def words_of(pdf, work):
    """Every word of the PDF with its box, and the pages' sizes."""
    out = os.path.join(work, "bbox.html")
    subprocess.run(["pdftotext", "-bbox", pdf, out], check=True)
    with open(out, encoding="utf-8") as f:
        page = f.read()
    pages = [(float(w), float(h)) for w, h in
             re.findall(r'<page width="([\d.]+)" height="([\d.]+)">', page)]
    words = [(float(a), float(b), float(c), float(d), text) for a, b, c, d, text in
             re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">'
                        r'([^<]*)</word>', page)]
    return pages, words


def check_print(pdf, work, browser, language, figures):
    pages, words = words_of(pdf, work)
    check(pages and all(w > h and abs(w - 842) < 3 and abs(h - 595) < 3 for w, h in pages),
          f"{browser}: A4 landscape pages, got {pages[:3]}")
    width, height = pages[0]
    outside = [w for w in words if w[0] < 0.5 or w[1] < 0.5 or w[2] > width - 0.5
               or w[3] > height - 0.5]
    check(not outside, f"{browser}: words cut off at the page's edge: {outside[:5]}")
    # The lines as they stand on the page (a browser paints a table's cells in
    # an order of its own), and "fi" as one ligature in Firefox.
    layout = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True,
                            check=True).stdout
    text = unicodedata.normalize("NFKC", re.sub(r"[ \t]+", " ", layout))
    for heading in HEADINGS[language]:
        check(heading in text, f"{browser}: the section {heading!r} in the printed page")
    for figure in figures:
        check(figure in text, f"{browser} {language}: {figure!r} in the printed page")
    check(HOSTILE_NAME in text and "<b>Substation 4</b><script>" in text,
          f"{browser}: the file name and the title as text")


def report_figures(json_text, language):
    """What the page must print of the JSON, in the language's style."""
    summary = json.loads(json_text, parse_float=str)
    mark = "," if language == "de" else "."

    def number(value):
        return value.replace(".", mark)

    def stamp(value):
        return value.replace("T", " ")

    figures = [number(summary["mean"]), number(summary["max_demand"]) + " %",
               number(summary["load_factor"]), number(summary["energy_kwh"]) + " kWh",
               stamp(summary["max_time"]), stamp(summary["min_time"]),
               stamp(summary["max_demand_start"])]
    for e in summary["excursions"][:50]:
        figures += [f"{e['percent']} % {stamp(e['start'])} {stamp(e['end'])} {e['samples']} "
                    f"{number(e['seconds'])} {e['peak']} % {stamp(e['peak_time'])} "
                    f"{number(e['mean'])} % {number(e['above_pct_h'])} {number(e['above_kwh'])}"]
    return figures


def chromium(work, url, *options):
    profile = tempfile.mkdtemp(prefix="chromium-", dir=work)
    return subprocess.run(["chromium", "--headless=new", "--no-sandbox", "--disable-gpu",
                           "--no-first-run", f"--user-data-dir={profile}", *options, url],
                          capture_output=True, text=True, timeout=120)


class Marionette:
    """Firefox's remote protocol: length-prefixed JSON over a local socket."""

    def __init__(self, port):
        deadline = time.monotonic() + 60
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=60)
                break
            except OSError:
                check(time.monotonic() < deadline, "Firefox's Marionette port opens")
                time.sleep(0.3)
        self.next_id = 0
        self.receive()
        self.command("WebDriver:NewSession", {"capabilities": {}})

    def receive(self):
        length = b""
        while not length.endswith(b":"):
            length += self.sock.recv(1)
        size, body = int(length[:-1]), b""
        while len(body) < size:
            body += self.sock.recv(size - len(body))
        return json.loads(body)

    def command(self, name, parameters):
        self.next_id += 1
        message = json.dumps([0, self.next_id, name, parameters]).encode()
        self.sock.sendall(str(len(message)).encode() + b":" + message)
        reply = self.receive()
        check(reply[2] is None, f"Firefox {name}: {reply[2]}")
        return reply[3]


def firefox(work, url, language, figures):
    profile = tempfile.mkdtemp(prefix="firefox-", dir=work)
    shot = os.path.join(work, f"firefox-{language}.png")
    done = subprocess.run(["firefox-esr", "--headless", "--no-remote", "--profile", profile,
                           "--window-size", "1100,6000", "--screenshot", shot, url],
                          capture_output=True, text=True, timeout=120)
    check(os.path.exists(shot), f"Firefox's screenshot: {done}")
    check_screenshot(shot, "Firefox")
    with open(os.path.join(profile, "user.js"), "w") as f:
        f.write('user_pref("marionette.port", 2828);\n')
    browser = subprocess.Popen(["firefox-esr", "--headless", "--no-remote", "--marionette",
                                "--profile", profile, "about:blank"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        remote = Marionette(2828)
        remote.command("WebDriver:Navigate", {"url": url})
        dom = remote.command("WebDriver:GetPageSource", {})["value"]
        check_dom(dom, "Firefox")
        printed = remote.command("WebDriver:Print", {
            "orientation": "landscape", "background": True, "shrinkToFit": False,
            "page": {"width": 21.0, "height": 29.7}, "margin": {"top": 0, "bottom": 0, "left": 0,
                                                                 "right": 0}})["value"]
        pdf = os.path.join(work, f"firefox-{language}.pdf")
        with open(pdf, "wb") as f:
            f.write(base64.b64decode(printed))
        check_print(pdf, work, "Firefox", language, figures)
    finally:
        browser.terminate()
        browser.wait(timeout=30)


def check_dom(dom, browser):
    check("data-ran" not in dom, f"{browser}: a script ran")
    check(not re.search(r"<img\b|<script\b|<b>", dom), f"{browser}: markup from outside became "
                                                        "elements")
    check("&lt;img src=x onerror=alert(1)&gt;&amp;.kvd" in dom, f"{browser}: the file name as text")


def inner(convert, work):
    days = os.path.join(work, HOSTILE_NAME)
    write_kvd(days, 100, twelve_days())
    for language in ("en", "de"):
        page = os.path.join(work, f"report-{language}.html")
        options = ["--rated-kw", "630", "--lang", language]
        done = subprocess.run([convert, days, "--report", page, "--title", TITLE, *options],
                              capture_output=True, text=True, timeout=120)
        check(done.returncode == 0, f"the report: {done}")
        summary = subprocess.run([convert, days, "--summary", "--json", "--excursions", *options],
                                 capture_output=True, text=True, timeout=120).stdout
        figures = report_figures(summary, language)
        url = "file://" + page

        shot = os.path.join(work, f"chromium-{language}.png")
        done = chromium(work, url, "--window-size=1100,6000", f"--screenshot={shot}")
        check(os.path.exists(shot), f"Chromium's screenshot: {done}")
        check_screenshot(shot, "Chromium")
        check_dom(chromium(work, url, "--dump-dom").stdout, "Chromium")
        pdf = os.path.join(work, f"chromium-{language}.pdf")
        done = chromium(work, url, f"--print-to-pdf={pdf}", "--no-pdf-header-footer")
        check(os.path.exists(pdf), f"Chromium's print: {done}")
        check_print(pdf, work, "Chromium", language, figures)
        firefox(work, url, language, figures)
    keep = os.environ.get("KORVEX_REPORT_KEEP")
    if keep:
        for name in os.listdir(work):
            if name.endswith((".png", ".pdf", ".html")):
                shutil.copy(os.path.join(work, name), keep)


def main(convert):
    if os.environ.get("KORVEX_REPORT_NETNS") != "1":
        # Again, in a network namespace with loopback alone: the pages can
        # reach nothing, and the browsers' ports are the test's own.
        done = subprocess.run(["unshare", "--net", "sh", "-c", 'ip link set lo up && exec "$@"',
                               "sh", sys.executable, os.path.abspath(__file__), convert],
                              env={**os.environ, "KORVEX_REPORT_NETNS": "1",
                                   "HOME": tempfile.gettempdir()})
        sys.exit(done.returncode)
    with tempfile.TemporaryDirectory(prefix="korvex-report-") as work:
        inner(convert, work)
    print("the survey report in Chromium and Firefox: drawn, printed whole, nothing ran")


if __name__ == "__main__":
    main(sys.argv[1])
