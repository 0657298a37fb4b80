#!/usr/bin/env python3
"""korvex.exe under Wine and Xvfb, worked through its menus as a user would, its
files checked against the Linux build's.

test_korvex_wine.py WINE-PREFIX-SCRIPT WINE-DIR korvex.exe window_probe.exe LINUX-BUILD
"""
import os
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from test_korvex_program import check, curve_pixels, run  # noqa: E402

WINE, WINE_DIR, KORVEX, PROBE, LINUX = map(os.path.abspath, sys.argv[1:6])
WINDOW_COLOUR, WHITE, BLACK = b"\xc3\xb4\xa0", b"\xff\xff\xff", b"\0\0\0"
BMP_PIXELS_AT = {1: 62, 4: 118, 8: 1078, 16: 262198, 24: 54, 32: 54}


def probe():
    """The display's bits per pixel and the visible windows' fields."""
    lines = run([WINE, "run", WINE_DIR, PROBE]).stdout.replace("\r", "").splitlines()
    return int(lines[0].split()[-1]), [line.split("|") for line in lines[1:]]


def wait_window(title):
    found = run(["timeout", "20", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                 f"^{title}$"]).stdout.split()
    check(found, f'the window "{title}" appears')
    return found[0]


def keys(*names):
    for name in names:
        run(["xdotool", "key", name])
        time.sleep(0.5)


def file_dialog(menu_keys, title, name, path=None):
    keys(*menu_keys)
    wait_window(title)
    run(["xdotool", "type", name])
    keys("Return")
    for _ in range(60):  # the file takes its name only when whole
        if path is None or os.path.exists(path):
            return path and open(path, "rb").read()
        time.sleep(0.5)
    sys.exit(f"FAILED: {path} is written")


def screen():
    return subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                          capture_output=True, timeout=30).stdout


def judge_charts(shot, width, origin):
    at = lambda x, y: shot[3 * ((origin[1] + y) * width + origin[0] + x):][:3]
    share = lambda colour, points: sum(at(x, y) == colour for x, y in points) / len(points)
    check(share(WINDOW_COLOUR, [(780, 10), (400, 300), (50, 100), (780, 560)]) == 1,
          "the window colour around the charts")
    for top in (50, 330):
        check(share(WHITE, [(x, y) for x in range(211, 750, 7) for y in range(top, top + 200, 7)])
              > 0.8, f"a white plot area from y = {top}")
        check(share(BLACK, [(750, y) for y in range(top, top + 200)]) == 1, "the right axis")
        check(share(BLACK, [(x, top + 200) for x in range(150, 751)]) > 0.9, "the time axis")


def main(work):
    sim = subprocess.Popen([os.path.join(LINUX, "t596sim"), "--link", f"{WINE_DIR}/ports/port1",
                            "--interval", "100", "--pace", "none"], stdout=subprocess.PIPE)
    korvex = None
    try:
        sim.stdout.readline()  # the simulator's device, once it serves
        korvex = subprocess.Popen([WINE, "run", WINE_DIR, KORVEX], cwd=work,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = wait_window("Vantorix Data Acquisition Software")
        run(["xdotool", "windowfocus", "--sync", window])
        bits, windows = probe()
        main_window = [w for w in windows if w[0] == "Korvex"]
        check(len(main_window) == 1 and main_window[0][1:3] ==
              ["Vantorix Data Acquisition Software", "800x577"], f"the main window: {windows}")
        origin = [int(v) for v in main_window[0][3].split(",")]

        keys("alt+d", "t")
        wait_window("Data acquisition")
        keys("Up", "Return")  # "2 hours" at 1.00 s: 7,200 samples
        counts, deadline = (0, 0), time.monotonic() + 90
        while min(counts) < 100 and time.monotonic() < deadline:
            time.sleep(1)
            counts = curve_pixels(window)
        check(min(counts) >= 100, f"curves in both charts after the transfer, found {counts}")
        shot = screen()
        judge_charts(shot, 1024, origin)

        saved = file_dialog(("alt+f", "s"), "Save As", "saved", f"{work}/saved.kvd")
        check(saved[:8] == struct.pack("<HHI", 100, 6, 7200) and len(saved) == 20 + 9 * 7200,
              "Save writes the header and the 7,200 records")
        run([os.path.join(LINUX, "korvex-convert"), "saved.kvd", "-o", "linux.kvd"], cwd=work)
        check(open(f"{work}/linux.kvd", "rb").read() == saved, "the Linux build writes it anew")

        dump = file_dialog(("alt+p", "s"), "Save As", "dump", f"{work}/dump.bmp")
        (size, offset, width, height, planes, depth, image, colours) = struct.unpack_from(
            "<2xI4xI4xiiHH4xI8xI", dump)
        row = (width * depth + 31) // 32 * 4
        check((offset, depth, planes, image, size, len(dump), colours) ==
              (BMP_PIXELS_AT[bits], bits, 1, row * height, offset + image, size,
               2 ** bits if bits < 24 else 0), f"the dump's header for {bits} bits per pixel")
        if bits == 32:  # the window as the screen showed it, bottom row first
            frame = (width - 800) // 2
            left, top = origin[0] - frame, origin[1] + 577 + frame - height
            for y in range(height):
                shown = shot[3 * ((top + y) * 1024 + left):][:3 * width]
                pixels = dump[offset + (height - 1 - y) * row:][:row]
                check(all(pixels[c::4] == shown[2 - c::3] for c in range(3)),
                      f"the dump's row {y} is the screen's")

        keys("alt+p", "p")
        wait_window("Error")  # the page setup dialog finds no printer
        keys("Return")
        wait_window("Error:")
        check(any(w[1:2] == ["Error:"] and "Unable to open printer" in w for w in probe()[1]),
              "message 79 under caption 43")
        keys("Return", "alt+l", "g")

        open(f"{work}/day.kvd", "wb").write(struct.pack("<HHI12x", 100, 4, 6000) + b"".join(
            bytes((24, 3, 1, i // 3600, i // 60 % 60, i % 60, 0, 0, i % 256)) for i in range(6000)))
        file_dialog(("alt+d", "l"), "Open", "day.kvd")
        exported = file_dialog(("alt+d", "e", "a"), "Save As", "all", f"{work}/all.daq")
        run([os.path.join(LINUX, "korvex-convert"), "day.kvd", "-o", "linux.daq", "--lang", "de"],
            cwd=work)
        check(exported == open(f"{work}/linux.daq", "rb").read(),
              "Export > All is the Linux export in German")

        for _ in range(5):  # a key can reach a window that is still settling
            keys("alt+F4")
            if korvex.poll() is not None:
                break
        check(korvex.wait(timeout=10) == 0, "the close box ends the program with 0")
        config = open(f"{work}/DAQSetup.cnf", "rb").read()
        check(struct.unpack_from("<H", config)[0] == 1 and
              struct.unpack_from("<H", config, 260)[0] == 100, "COM1 and German are saved")
    finally:
        for process in (korvex, sim):
            if process is not None and process.poll() is None:
                process.kill()
                process.wait()


if __name__ == "__main__":
    ready, announce = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(announce), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(announce,),
                            stderr=subprocess.DEVNULL)
    os.close(announce)
    display = ":" + os.read(ready, 16).decode().strip()
    os.environ.update(DISPLAY=display, KORVEX_WINE_DISPLAY=display, LC_ALL="en_GB.UTF-8")
    # Wine's desktop takes the display its first program had: a server begun
    # by the tests before, without one, is ended, and this one with its work.
    run([WINE, "end", WINE_DIR])
    try:
        with tempfile.TemporaryDirectory() as scratch:
            main(scratch)
    finally:
        run([WINE, "end", WINE_DIR])
        xvfb.terminate()
        xvfb.wait()
    print("korvex.exe under Wine: all checks passed")
