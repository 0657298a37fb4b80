#!/usr/bin/env python3
"""korvex.exe under Wine and Xvfb, worked through its menus and dialogs as a
user would, its files checked against the Linux build's.

test_korvex_wine.py WINE-PREFIX-SCRIPT WINE-DIR korvex.exe window_probe.exe LINUX-BUILD SESSION [SETUP]

  menus       a transfer, the charts, the question before its samples go
              (close box, Transfer, Open; Cancel, Discard, Save), the screen
              dump, Print with no printer, Open and Export in German, the
              close box
  depths      the screen dump on displays of 8 and 16 bits per pixel
  set-time    the set-time dialog: its up-down controls, Enter, a refusal,
              Cancel and both restamps, each read back from a saved file
  navigation  the span selector, the scroll bar and the cursor drag, each
              checked through Export against the Linux program's exports
              after the same actions; then Analysis > Summary and Enter on
              the peak, the same check after the jump, and Report against
              korvex-convert's report
  print       through a print queue of the test's own, landscape and portrait
  layout      `korvex.exe FILE.kvd` with a name that is not ASCII shows its
              curves; the main window and the dialogs are laid out as
              without the program's manifest
  setup       in a fresh prefix of its own (WINE-DIR), the setup program
              SETUP installed silently for the user: its files, Start menu
              entry, file type and uninstall entry; a data file opened
              through its type, the settings in the user's application data;
              then uninstalled, leaving only the user's files
"""
import contextlib
import glob
import os
import pwd
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "desktop"))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from print_queue import PrintQueue, page_faults  # noqa: E402
from test_korvex_program import check, curve_pixels, run  # noqa: E402

WINE, WINE_DIR, KORVEX, PROBE, LINUX = map(os.path.abspath, sys.argv[1:6])
TITLE = "Vantorix Data Acquisition Software"
WINDOW_COLOUR, WHITE, BLACK = b"\xc3\xb4\xa0", b"\xff\xff\xff", b"\0\0\0"
BMP_PIXELS_AT = {1: 62, 4: 118, 8: 1078, 16: 262198, 24: 54, 32: 54}
# The set-time dialog's edits (day, month, year, hour, minute, second), each
# followed by its up-down control, and its two restamping buttons.
DAY, MONTH, YEAR, HOUR, MINUTE, SECOND = 1018, 1020, 1022, 1024, 1026, 1028
SET_START, SET_END, IDCANCEL = 1030, 1031, 2
# UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS
SPINNER_STYLE = 0x02 | 0x04 | 0x10 | 0x20 | 0x80
# The page setup dialog's orientation buttons (rad1 and rad2 of the common dialogs).
PORTRAIT, LANDSCAPE = 1056, 1057
# The question before unsaved samples go: Save, Discard and Cancel.
UNSAVED_ANSWERS = SAVE_FIRST, DISCARD, KEEP = 1052, 1053, 1054
QUESTION_CAPTION = "Vantorix Data Acquisition"
# The program under test: its main window on the X server.
program = {"window": None}


def data_file(path, count, start, value=lambda i: i % 100, interval=100, amount=5):
    """count records one interval (1 s) apart from start (year - 2000, month,
    day, hour, minute, second)."""
    year, month, day, hour, minute, second = start
    first = ((hour * 60) + minute) * 60 + second
    with open(path, "wb") as out:
        out.write(struct.pack("<HHI12x", interval, amount, count) + b"".join(
            bytes((year, month, day, (first + i) // 3600, (first + i) // 60 % 60, (first + i) % 60,
                   0, 0, value(i))) for i in range(count)))


def record(kvd, index):
    return tuple(kvd[20 + 9 * index:28 + 9 * index])


def probe():
    """The display's bits per pixel and the visible windows' fields."""
    lines = run([WINE, "run", WINE_DIR, PROBE]).stdout.replace("\r", "").splitlines()
    # A static text of two lines continues on a line of its own, which is no window.
    return int(lines[0].split()[-1]), [line.split("|") for line in lines[1:] if line.count("|") >= 4]


def controls(title):
    """The dialog's default button and its controls by id."""
    lines = run([WINE, "run", WINE_DIR, PROBE, title]).stdout.replace("\r", "").splitlines()
    check(lines, f'the dialog "{title}" is there')
    found = {}
    for line in lines[1:]:
        if line.count("|") < 5:
            continue  # the rest of a text of two lines
        ident, kind, style, box, text, extra = line.split("|")
        found[int(ident)] = dict(kind=kind, style=int(style, 16), text=text, extra=extra,
                                 box=[int(v) for v in box.split(",")])
    return int(lines[0].split()[1]), found


def wait_gone(title):
    """Until Windows shows no window of the title, and a moment for the X
    server to take its window away."""
    for _ in range(40):
        if not any(w[1] == title for w in probe()[1]):
            time.sleep(0.5)
            return
    sys.exit(f'FAILED: the window "{title}" goes')


def wait_window(title, seconds=20):
    """The window once it shows, with the keyboard: the tests' X server has no
    window manager to give it, and Wine leaves it where a click put it."""
    found = run(["timeout", str(seconds), "xdotool", "search", "--sync", "--onlyvisible",
                 "--name", f"^{title}$"]).stdout.split()
    check(found, f'the window "{title}" appears')
    run(["xdotool", "windowfocus", "--sync", found[0]])
    return found[0]


def open_by_keys(menu_keys, title):
    """The window the menu keys open. On a loaded machine a key can reach Wine
    before the popup it belongs to is up and be lost: the menu is closed and
    the keys are given once more. With no keys the window is only awaited."""
    if not menu_keys:
        return wait_window(title)
    for _ in range(3):
        # The menu keys go to the main window, wherever a closed popup or
        # dialog left the keyboard.
        run(["xdotool", "windowfocus", "--sync", program["window"]])
        keys(*menu_keys)
        shown = run(["timeout", "10", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                     f"^{title}$"]).stdout.split()
        if shown:
            return wait_window(title)
        keys("Escape", "Escape")
    return wait_window(title, 1)


def keys(*names):
    for name in names:
        run(["xdotool", "key", name])
        time.sleep(0.5)


def click(x, y):
    run(["xdotool", "mousemove", str(x), str(y), "click", "1"])
    time.sleep(0.3)


def press(control):
    left, top, right, bottom = control["box"]
    click((left + right) // 2, (top + bottom) // 2)


def drag(origin, start, end, steps=8):
    (x0, y0), (x1, y1) = start, end
    run(["xdotool", "mousemove", str(origin[0] + x0), str(origin[1] + y0), "mousedown", "1"])
    for k in range(1, steps + 1):
        time.sleep(0.1)
        run(["xdotool", "mousemove", str(origin[0] + x0 + (x1 - x0) * k // steps),
             str(origin[1] + y0 + (y1 - y0) * k // steps)])
    time.sleep(0.2)
    run(["xdotool", "mouseup", "1"])
    time.sleep(0.5)


def fill(control, text):
    """Types text over what an edit holds, as a user selecting it all would."""
    left, top, _, bottom = control["box"]
    click(left + 4, (top + bottom) // 2)
    keys("Home", "shift+End")
    run(["xdotool", "type", text])


def windows_path(path):
    """A path as typed into a Windows file dialog: whole, so that it does not
    depend on the folder the dialog remembers from an earlier run."""
    return "Z:" + path.replace("/", "\\")


def file_dialog(menu_keys, title, path, written=True, typed=windows_path):
    """Chooses path in the file dialog the menu keys open; the file's bytes
    once it has been written whole under that name."""
    open_by_keys(menu_keys, title)
    keys("alt+n")  # "File name", wherever the dialog put the keyboard
    run(["xdotool", "type", typed(path)])
    keys("Return")
    for _ in range(60):  # the file takes its name only when whole
        if not written or os.path.exists(path):
            return written and open(path, "rb").read()
        time.sleep(0.5)
    sys.exit(f"FAILED: {path} is written")


def answer_unsaved(menu_keys, answer):
    """Gives the command of the keys, then presses the button of id answer in
    the question korvex.exe asks over its main window before unsaved samples go."""
    run(["xdotool", "windowfocus", "--sync", program["window"]])
    keys(*menu_keys)
    for _ in range(40):
        shown = probe()[1]
        boxes = [w for w in shown if w[0] == "#32770" and w[1] == QUESTION_CAPTION]
        if boxes:
            break
        time.sleep(0.5)
    check(boxes and boxes[0][4] == TITLE and
          any(text.startswith("The samples shown have not been saved.") for text in boxes[0]),
          f"the question over the main window: {shown}")
    fields = controls(QUESTION_CAPTION)[1]
    check([fields[i]["text"] for i in UNSAVED_ANSWERS] == ["&Save", "&Discard", "Cancel"],
          f"the answers in the program's words: {fields}")
    press(fields[answer])
    wait_gone(QUESTION_CAPTION)


def window_pixels(window):
    """The window's pixels as the X server shows them, 8-bit RGB, in its own
    colormap (Wine gives an 8-bit display one of its own)."""
    return subprocess.run(["import", "-window", window, "-depth", "8", "rgb:-"],
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


def judge_dump(dump, bits, shown):
    """The dump's header for the display's depth, and every pixel, decoded
    through the file's own colour table (or its 5-5-5 or 8-8-8 fields), the
    colour the window shows; with 16 bits five bits of each are kept."""
    (size, offset, width, height, planes, depth, image, colours) = struct.unpack_from(
        "<2xI4xI4xiiHH4xI8xI", dump)
    row = (width * depth + 31) // 32 * 4
    check((offset, depth, planes, image, size, len(dump), colours) ==
          (BMP_PIXELS_AT[bits], bits, 1, row * height, offset + image, size,
           2 ** bits if bits < 24 else 0), f"the dump's header for {bits} bits per pixel")
    check(len(shown) == 3 * width * height, "the dump is of the window's outer rectangle")
    for y in range(height):
        pixels = dump[offset + (height - 1 - y) * row:][:row]
        if bits <= 8:
            table = [dump[54 + 4 * i:57 + 4 * i][::-1] for i in range(colours)]
            decoded = b"".join(table[i] for i in pixels[:width])
        elif bits == 16:
            values = struct.unpack_from(f"<{width}H", pixels)
            decoded = bytes(v >> s & 31 for v in values for s in (10, 5, 0))
        else:
            step = bits // 8
            decoded = bytes(pixels[step * x + c] for x in range(width) for c in (2, 1, 0))
        seen = shown[3 * width * y:3 * width * (y + 1)]
        if bits == 16:
            seen = bytes(v >> 3 for v in seen)
        check(decoded == seen, f"the dump's row {y} at {bits} bits is the window's")


@contextlib.contextmanager
def x_display(depth=24):
    """An Xvfb of the depth, the display of what runs until it ends."""
    ready, announce = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(announce), "-screen", "0",
                             f"1024x768x{depth}", "-nolisten", "tcp"], pass_fds=(announce,),
                            stderr=subprocess.DEVNULL)
    os.close(announce)
    with os.fdopen(ready) as announced:  # the number, then its line's end
        display = ":" + announced.readline().strip()
    os.environ.update(DISPLAY=display, KORVEX_WINE_DISPLAY=display)
    try:
        yield
    finally:
        xvfb.terminate()
        xvfb.wait()


@contextlib.contextmanager
def com1_silent():
    """COM1 on a pseudo-terminal that nothing answers, so the port opens."""
    port, device = os.openpty()
    try:
        yield os.ttyname(device)
    finally:
        os.close(port)
        os.close(device)


@contextlib.contextmanager
def korvex_exe(work, depth=24, environment=None, com1_link=True, command=(KORVEX,)):
    """korvex.exe (or the command that starts it) in work on an Xvfb of its
    own of the depth; COM1 is the simulator's where it has made the port's
    link, else a silent port."""
    with x_display(depth), com1_silent() as device:
        # Wine's desktop takes the display its first program had: a server
        # begun before, on another display or none, is ended, and this one
        # with its work.
        run([WINE, "end", WINE_DIR])
        if com1_link:
            link = os.path.join(WINE_DIR, "ports", "port1")
            if os.path.lexists(link):
                os.remove(link)
            os.symlink(device, link)
        korvex = None
        try:
            korvex = subprocess.Popen([WINE, "run", WINE_DIR, *command], cwd=work,
                                      env=dict(os.environ, **(environment or {})),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            program["window"] = wait_window(TITLE)
            yield korvex, program["window"]
        finally:
            if korvex is not None and korvex.poll() is None:
                korvex.kill()
                korvex.wait()
            run([WINE, "end", WINE_DIR])


def client_origin():
    main_window = [w for w in probe()[1] if w[0] == "Korvex"]
    check(len(main_window) == 1 and main_window[0][1:3] == [TITLE, "800x577"],
          f"the main window: {main_window}")
    return [int(v) for v in main_window[0][3].split(",")]


def menus(work):
    sim = subprocess.Popen([os.path.join(LINUX, "t596sim"), "--link", f"{WINE_DIR}/ports/port1",
                            "--interval", "100", "--pace", "none"], stdout=subprocess.PIPE)
    try:
        sim.stdout.readline()  # the simulator's device, once it serves
        # A print server that is not there: the machine's own printers stay out.
        with korvex_exe(work, environment={"CUPS_SERVER": f"{work}/no-cups"},
                        com1_link=False) as (korvex, window):
            bits = probe()[0]
            origin = client_origin()
            keys("alt+d", "t")
            wait_window("Data acquisition")
            keys("Up", "Return")  # "2 hours" at 1.00 s: 7,200 samples
            counts, deadline = (0, 0), time.monotonic() + 90
            while min(counts) < 100 and time.monotonic() < deadline:
                time.sleep(1)
                counts = curve_pixels(window)
            check(min(counts) >= 100, f"curves in both charts after the transfer, found {counts}")
            judge_charts(subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                                        capture_output=True, timeout=30).stdout, 1024, origin)

            # The transfer's samples are unsaved: the close box, Transfer and
            # Open ask first; Cancel keeps the program, Discard goes on, and
            # Save saves before the Open dialog comes.
            answer_unsaved(("alt+F4",), KEEP)
            check(korvex.poll() is None, "Cancel keeps the program running")
            answer_unsaved(("alt+d", "t"), DISCARD)
            wait_window("Data acquisition")
            keys("Escape")
            wait_gone("Data acquisition")
            answer_unsaved(("alt+f", "o"), SAVE_FIRST)
            saved = file_dialog((), "Save As", f"{work}/saved.kvd")
            wait_window("Open")
            keys("Escape")
            wait_gone("Open")
            check(saved[:8] == struct.pack("<HHI", 100, 6, 7200) and len(saved) == 20 + 9 * 7200,
                  "Save writes the header and the 7,200 records")
            run([os.path.join(LINUX, "korvex-convert"), "saved.kvd", "-o", "linux.kvd"], cwd=work)
            check(open(f"{work}/linux.kvd", "rb").read() == saved, "the Linux build writes it anew")

            dump = file_dialog(("alt+p", "s"), "Save As", f"{work}/dump.bmp")
            judge_dump(dump, bits, window_pixels(window))

            keys("alt+p", "p")
            wait_window("Error")  # the page setup dialog finds no printer
            keys("Return")
            wait_window("Error:")
            check(any(w[1:2] == ["Error:"] and "Unable to open printer" in w for w in probe()[1]),
                  "message 79 under caption 43")
            keys("Return", "alt+l", "g")

            data_file(f"{work}/day.kvd", 6000, (24, 3, 1, 0, 0, 0), lambda i: i % 256, amount=4)
            file_dialog(("alt+d", "l"), "Open", f"{work}/day.kvd", False)
            exported = file_dialog(("alt+d", "e", "a"), "Save As", f"{work}/all.daq")
            run([os.path.join(LINUX, "korvex-convert"), "day.kvd", "-o", "linux.daq", "--lang",
                 "de"], cwd=work)
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
        sim.kill()
        sim.wait()


def depths(work):
    data_file(f"{work}/day.kvd", 6000, (24, 3, 1, 0, 0, 0))
    for depth in (16, 8):
        with korvex_exe(work, depth) as (korvex, window):
            file_dialog(("alt+f", "o"), "Open", f"{work}/day.kvd", False)
            dump = file_dialog(("alt+p", "s"), "Save As", f"{work}/dump{depth}.bmp")
            judge_dump(dump, probe()[0], window_pixels(window))


def set_time(work):
    data_file(f"{work}/hour.kvd", 3600, (9, 12, 25, 14, 30, 5))
    original = open(f"{work}/hour.kvd", "rb").read()
    values = lambda kvd: kvd[28::9]

    def open_dialog():
        open_by_keys(("alt+d", "s"), "Set Time")
        return controls("Set Time")

    with korvex_exe(work):
        file_dialog(("alt+f", "o"), "Open", f"{work}/hour.kvd", False)
        default, fields = open_dialog()
        check(default == SET_END, f"Enter presses End time, the later default button: {default}")
        for edit, (low, high, start) in {DAY: (1, 31, 25), MONTH: (1, 12, 12),
                                          YEAR: (2005, 2099, 2009), HOUR: (0, 23, 14),
                                          MINUTE: (0, 59, 30), SECOND: (0, 59, 5)}.items():
            spinner = fields[edit + 1]
            check(spinner["kind"] == "msctls_updown32" and
                  spinner["style"] & SPINNER_STYLE == SPINNER_STYLE and
                  spinner["extra"] == f"range={low}..{high} pos={start} buddy={edit}" and
                  fields[edit]["text"] == str(start), f"the up-down control of {edit}: {spinner}")
        # The year's arrows stop at its limits.
        fill(fields[YEAR], "2009")
        for arrow, limit in (("Up", "2099"), ("Down", "2005")):
            run(["xdotool", "key", "--delay", "20", "--repeat", "110", arrow])
            time.sleep(0.5)
            check(controls("Set Time")[1][YEAR]["text"] == limit, f"the year stops at {limit}")

        # 31 April is refused over the dialog, which keeps the entries.
        fill(fields[DAY], "31")
        fill(fields[MONTH], "4")
        refusals = lambda: [w for w in probe()[1] if "Invalid time settings!" in w]
        keys("Return")
        for _ in range(20):
            if refusals():
                break
        boxes = refusals()
        check(boxes and boxes[0][1] == "Set Time" and boxes[0][4] == "Set Time",
              f"message 44 under caption 47, owned by the dialog: {boxes}")
        keys("Return")
        for _ in range(20):
            if not refusals():
                break
        fields = controls("Set Time")[1]
        check(fields[DAY]["text"] == "31", "the entries stay as typed")
        press(fields[IDCANCEL])
        wait_gone("Set Time")
        check(file_dialog(("alt+f", "s"), "Save As", f"{work}/cancelled.kvd") ==
              original, "Cancel changes nothing")

        # Enter: the end time, the dialog opening again on record 0's stamp.
        default, fields = open_dialog()
        check([fields[e]["text"] for e in (DAY, MONTH, YEAR)] == ["25", "12", "2009"],
              "the dialog opens on the first record's stamp again")
        for edit, text in ((DAY, "1"), (MONTH, "3"), (YEAR, "2024"), (HOUR, "10"),
                           (MINUTE, "0"), (SECOND, "0")):
            fill(fields[edit], text)
        keys("Return")
        wait_gone("Set Time")
        ended = file_dialog(("alt+f", "s"), "Save As", f"{work}/ended.kvd")
        check(record(ended, 3599)[:8] == (24, 3, 1, 10, 0, 0, 0, 0) and
              record(ended, 0)[:8] == (24, 3, 1, 9, 0, 1, 0, 0) and values(ended) ==
              values(original), "End time gives the last record 10:00:00 and the first 09:00:01")

        # The Start time button, on a leap day.
        default, fields = open_dialog()
        check(fields[YEAR]["text"] == "2024", "the dialog opens on the new first stamp")
        for edit, text in ((DAY, "29"), (MONTH, "2"), (YEAR, "2008"), (HOUR, "12"),
                           (MINUTE, "0"), (SECOND, "0")):
            fill(fields[edit], text)
        press(fields[SET_START])
        wait_gone("Set Time")
        started = file_dialog(("alt+f", "s"), "Save As", f"{work}/started.kvd")
        check(record(started, 0)[:8] == (8, 2, 29, 12, 0, 0, 0, 0) and
              record(started, 3599)[:8] == (8, 2, 29, 12, 59, 59, 0, 0),
              "Start time gives the first record 29/02/2008 12:00:00")


# The same actions in both programs, in client coordinates: the span selector
# opened and "1 hour" refused (too few samples at 1 s), then "2 hours" chosen;
# the scroll bar's right arrow; its thumb dragged to the track's end (not far
# beyond the bar, where a Windows scroll bar puts the thumb back); the cursor
# band dragged 150 columns right. Both charts are exported after each.
NAVIGATION = (
    ("span", lambda o: (click(o[0] + 60, o[1] + 340), keys("Up", "Up", "Return"),
                        click(o[0] + 60, o[1] + 340), keys("Up", "Return"))),
    ("arrow", lambda o: click(o[0] + 742, o[1] + 563)),
    ("thumb", lambda o: drag(o, (200, 563), (760, 563))),
    ("band", lambda o: drag(o, (180, 430), (330, 430))),
)


def navigate_and_export(work, origin, prefix, typed=windows_path):
    for step, act in NAVIGATION:
        act(origin)
        for chart, key in (("zoom", "z"), ("main", "m")):
            file_dialog(("alt+f", "e", key), "Save As", f"{work}/{prefix}-{step}-{chart}.daq",
                        typed=typed)


def jump_to_peak_and_export(work, prefix, typed=windows_path, seen=lambda: None):
    """Analysis > Summary, then Enter on the list, which has the keyboard and
    the peak first: the charts come to it; seen looks at the window, Escape
    closes it, and both charts are exported."""
    open_by_keys(("alt+n", "s"), "Analysis")
    keys("Return")
    seen()
    keys("Escape")
    wait_gone("Analysis")
    for chart, key in (("zoom", "z"), ("main", "m")):
        file_dialog(("alt+f", "e", key), "Save As", f"{work}/{prefix}-peak-{chart}.daq",
                    typed=typed)


def same_report(ours, tools):
    """Two survey reports alike but for the rows of their data file and their
    making."""
    rows = re.compile(rb'<tr><th scope="row">(File|Made)</th><td>[^\n]*\n')
    return rows.sub(b"", ours) == rows.sub(b"", tools)


def navigation(work):
    data_file(f"{work}/day.kvd", 36000, (24, 3, 1, 0, 0, 0), lambda i: (i // 13) % 101, amount=7)
    # No browser starts for the report: the shell finds none to open it in.
    with korvex_exe(work, environment={"WINEDLLOVERRIDES": "winebrowser.exe=d"}):
        file_dialog(("alt+f", "o"), "Open", f"{work}/day.kvd", False)
        navigate_and_export(work, client_origin(), "wine")
        def seen():
            analysis = controls("Analysis")[1]
            check(analysis[1061]["text"] == "&Zoom window" and
                  analysis[1063]["extra"] == "checked=1" and analysis[1067]["text"] == "80,100",
                  f"the Analysis window on All with the default thresholds: {analysis}")

        jump_to_peak_and_export(work, "wine", seen=seen)
        report = file_dialog(("alt+n", "r"), "Save As", f"{work}/wine.html")
    run([os.path.join(LINUX, "korvex-convert"), "day.kvd", "--report", "tools.html"], cwd=work)
    check(same_report(report, open(f"{work}/tools.html", "rb").read()),
          "Report writes korvex-convert's report of all the records")
    # The Linux program, on a display of its own, after the same actions.
    with x_display(), com1_silent() as device:
        linux = subprocess.Popen([os.path.join(LINUX, "korvex"), "day.kvd"], cwd=work,
                                 env=dict(os.environ, QT_QPA_PLATFORM="xcb", KORVEX_COM1=device),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = program["window"] = wait_window(TITLE)
            geometry = dict(line.split("=") for line in run(
                ["xdotool", "getwindowgeometry", "--shell", window]).stdout.split())
            # The client area is the window's lowest 800 x 577 pixels.
            origin = (int(geometry["X"]), int(geometry["Y"]) + int(geometry["HEIGHT"]) - 577)
            navigate_and_export(work, origin, "linux", typed=str)
            jump_to_peak_and_export(work, "linux", typed=str)
        finally:
            linux.terminate()
            linux.wait(timeout=30)
    exported = lambda who, chart: [open(f"{work}/{who}-{step}-{chart}.daq", "rb").read()
                                   for step, _ in NAVIGATION]
    for chart in ("zoom", "main"):
        for step, wine, linux in zip(NAVIGATION, exported("wine", chart), exported("linux", chart)):
            check(wine == linux and wine.count(b"\n") > 500,
                  f"Export of the {chart} window after the {step[0]} is the Linux program's")
    for chart in ("zoom", "main"):
        wine, linux = (open(f"{work}/{who}-peak-{chart}.daq", "rb").read()
                       for who in ("wine", "linux"))
        check(wine == linux and b"\n100\n" in wine,
              f"Export of the {chart} window after the jump to the peak is the Linux program's")
    zoom, main = exported("wine", "zoom"), exported("wine", "main")
    check(len(set(zoom)) == 4 and len(set(main[:3])) == 3 and main[3] == main[2],
          "every action moves the zoom window; all but the band's the main window")


def printing(work):
    data_file(f"{work}/day.kvd", 36000, (24, 3, 1, 0, 0, 0), lambda i: i // 12 % 101, amount=7)
    queue = PrintQueue(work)
    try:
        with korvex_exe(work, environment=queue.environment):
            file_dialog(("alt+f", "o"), "Open", f"{work}/day.kvd", False)
            stamps = ("01/03-24,", "00:00:00", "00:59:59", "09:59:59")
            for orientation in ("landscape", "portrait"):
                keys("alt+p", "p")
                wait_window("Setup Page")
                fields = controls("Setup Page")[1]
                check(fields[LANDSCAPE]["extra"] == "checked=1" and
                      fields[PORTRAIT]["extra"] == "checked=0",
                      "the page setup dialog opens in landscape")
                if orientation == "portrait":
                    press(fields[PORTRAIT])
                keys("Return")
                faults = page_faults(queue.next_page(), orientation, stamps)
                check(not faults, f"the page printed in {orientation}: {faults}")
    finally:
        queue.close()


def layout_of(window):
    """The main window's controls, and the About and set-time dialogs'."""
    check(min(curve_pixels(window)) >= 100, "the data file's curves in both charts")
    found = [controls(TITLE)]
    for menu_keys, title in ((("alt+a",), "About"), (("alt+d", "s"), "Set Time")):
        run(["xdotool", "windowfocus", "--sync", window])
        keys(*menu_keys)
        wait_window(title)
        found.append(controls(title))
        keys("Escape")
        wait_gone(title)
    return found


def layout(work):
    """The manifest asks for the controls' current look and for GDI scaling;
    neither may move a control. Without the manifest's requests (blanked in a
    copy, the same length) every window is laid out the same."""
    name = f"{work}/Måling Ω.kvd"
    data_file(name, 3600, (24, 3, 1, 0, 0, 0))
    plain = f"{work}/plain.exe"
    image = open(KORVEX, "rb").read()
    for request in (rb"<dependency>.*?</dependency>", rb"<gdiScaling .*?</gdiScaling>"):
        check(len(re.findall(request, image, re.S)) == 1, f"the manifest holds {request}")
        image = re.sub(request, lambda found: b" " * len(found.group()), image, flags=re.S)
    open(plain, "wb").write(image)
    layouts = []
    for program in (KORVEX, plain):
        with korvex_exe(work, command=(program, name)) as (korvex, window):
            layouts.append(layout_of(window))
    check(layouts[0] == layouts[1], f"the same layout with the manifest: {layouts}")


def registry(key):
    """The values of key and its subkeys, by subkey path ("" for key itself)."""
    found, base = {}, None
    for line in run([WINE, "run", WINE_DIR, "reg", "query", key, "/s"]).stdout.splitlines():
        if line.startswith("HKEY_"):
            base = base or line
            values = found.setdefault(line[len(base) + 1:], {})
        elif line.strip():
            name, _, value = (re.split(" {4}", line.strip(), maxsplit=2) + [""])[:3]
            values[name] = value
    return found


def version_of(program):
    """The ProductVersion of a program's version information."""
    image = open(program, "rb").read()
    at = image.find("ProductVersion\0".encode("utf-16-le")) + 30
    at += -at % 4
    return image[at:image.find(b"\0\0", at) + 1].decode("utf-16-le").rstrip("\0")


def setup(work):
    program = os.path.abspath(sys.argv[7])
    version = re.fullmatch(r"korvex-(.+)-setup-x64\.exe", os.path.basename(program)).group(1)
    check(version_of(KORVEX) == version == version_of(program),
          "korvex.exe and the setup carry the version the setup is named by")
    run([WINE, "create", WINE_DIR])
    user = f"{WINE_DIR}/prefix/drive_c/users/{pwd.getpwuid(os.getuid()).pw_name}"
    folder = f"{user}/AppData/Local/Programs/Korvex"
    shortcut = f"{user}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Korvex.lnk"
    settings = f"{user}/AppData/Roaming/Korvex/DAQSetup.cnf"
    check(run([WINE, "run", WINE_DIR, program, "/S", "/CurrentUser"]).returncode == 0,
          "the silent install")
    installed = sorted(os.listdir(folder))
    check(installed == ["README.md", "korvex-convert.exe", "korvex-fetch.exe", "korvex.exe",
                        "t596sim.exe", "uninstall.exe"], f"the installed files: {installed}")
    link = open(shortcut, "rb").read()
    check(all(text.encode("utf-16-le") in link for text in ("korvex.exe", "--desktop")),
          "the Start menu entry starts korvex.exe --desktop")
    classes = "HKCU\\Software\\Classes"
    windows_folder = f"C:\\users\\{os.path.basename(user)}\\AppData\\Local\\Programs\\Korvex"
    program_path = windows_folder + "\\korvex.exe"
    kvd, kind = registry(classes + "\\.kvd"), registry(classes + "\\Korvex.DataFile")
    check(kvd[""]["(Default)"] == "Korvex.DataFile" and kind[""]["(Default)"] == "Korvex data file"
          and kind["DefaultIcon"]["(Default)"] == program_path + ",0" and
          kind["shell\\open\\command"]["(Default)"] == f'"{program_path}" --desktop "%1"',
          f"the file type: {kvd} {kind}")
    uninstall_key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvex"
    entry = registry(uninstall_key)[""]
    size = sum(os.path.getsize(f"{folder}/{name}") for name in installed) // 1024
    check(entry["DisplayName"] == "Korvex" and entry["DisplayVersion"] == version and
          entry["DisplayIcon"] == program_path + ",0" and
          abs(int(entry["EstimatedSize"], 16) - size) <= 8 and
          entry["QuietUninstallString"] == f'"{windows_folder}\\uninstall.exe" /S',
          f"the uninstall entry: {entry}")

    # Windows' shell reads the user's classes merged with the machine's; Wine's
    # only the machine's, so the user's two keys are shown it there.
    for key in (".kvd", "Korvex.DataFile"):
        run([WINE, "run", WINE_DIR, "reg", "copy", f"{classes}\\{key}",
             f"HKLM\\Software\\Classes\\{key}", "/s", "/f"])
    data_file(f"{work}/day.kvd", 3600, (24, 3, 1, 0, 0, 0))
    documents = f"{user}/Documents"
    with korvex_exe(work, command=("start", "/unix", f"{work}/day.kvd")) as (korvex, window):
        check(min(curve_pixels(window)) >= 100, "the data file's curves in both charts")
        # The dialogs start in Documents: a bare name is saved there.
        file_dialog(("alt+f", "s"), "Save As", f"{documents}/saved.kvd", typed=lambda _: "saved")
        keys("alt+F4")
        wait_gone(TITLE)
    check(os.path.getsize(settings) == 282 and sorted(os.listdir(folder)) == installed,
          "closing writes DAQSetup.cnf in the application data, nothing in the program's folder")
    for key in (".kvd", "Korvex.DataFile"):
        run([WINE, "run", WINE_DIR, "reg", "delete", f"HKLM\\Software\\Classes\\{key}", "/f"])

    run([WINE, "run", WINE_DIR, f"{windows_folder}\\uninstall.exe", "/S"])
    for _ in range(60):  # the uninstaller runs on from a copy of itself
        if not os.path.exists(folder):
            break
        time.sleep(0.5)
    run([WINE, "end", WINE_DIR])  # the registry on the disk
    left = [path for path in glob.glob(f"{WINE_DIR}/prefix/drive_c/**", recursive=True)
            if re.search("korvex|kvd", path, re.I)]
    check(sorted(left) == sorted([os.path.dirname(settings), settings, f"{documents}/saved.kvd"]),
          f"only the user's files are left: {left}")
    keys_left = [line for name in ("user.reg", "system.reg")
                 for line in open(f"{WINE_DIR}/prefix/{name}", encoding="utf-8", errors="replace")
                 if line.startswith("[") and re.search(r"korvex|\.kvd", line, re.I)]
    check(not keys_left and os.path.exists(f"{work}/day.kvd"), f"no key is left: {keys_left}")


SESSIONS = {"menus": menus, "depths": depths, "set-time": set_time, "navigation": navigation,
            "print": printing, "layout": layout, "setup": setup}

if __name__ == "__main__":
    os.environ.update(LC_ALL="en_GB.UTF-8")
    with tempfile.TemporaryDirectory() as scratch:
        SESSIONS[sys.argv[6]](scratch)
    print(f"korvex.exe under Wine, {sys.argv[6]}: all checks passed")
