#!/usr/bin/env python3
"""korvex as a user starts it.

command-line KORVEX VERSION: --version and --help answer without a display; a
usage error exits 2 with a pointer to --help; the program itself, with no
display, says so in one line and exits 1.
open-at-start KORVEX: under Xvfb, `korvex FILE.kvd` (a name that is not UTF-8)
shows the file's curves in both charts (judged by the screenshot's pixels) and
keeps the configuration in the working directory; with --desktop, in
~/.config/korvex, also when XDG_CONFIG_HOME is a relative path.
print-queue KORVEX: under Xvfb, Print > Printer on a print queue of the test's
own gives a landscape page with the title, the date line, both charts and
their labels, every word inside the printable area.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import time


def check(condition, what):
    if not condition:
        sys.exit("FAILED: " + what)


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=30, **options)


def command_line(korvex, version):
    bare = {k: v for k, v in os.environ.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    done = run([korvex, "--version"], env=bare)
    check((done.returncode, done.stdout, done.stderr) == (0, f"korvex {version}\n", ""),
          f"--version without a display: {done}")
    done = run([korvex, "--help"], env=bare)
    check(done.returncode == 0 and done.stdout.startswith("Usage: ") and not done.stderr and
          all(name in done.stdout for name in ("--version", "--desktop", "FILE.kvd")),
          f"--help without a display: {done}")
    done = run([korvex, "--no-such-option"], env=bare)
    check(done.returncode == 2 and done.stderr.endswith(
        "korvex: Unknown option 'no-such-option'.\nTry 'korvex --help' for more information.\n"),
        f"a usage error: {done}")
    done = run([korvex], env=bare)
    check((done.returncode, done.stdout, done.stderr) ==
          (1, "", "korvex: no display to show the window on: DISPLAY is not set\n"),
          f"no display: {done}")


def curve_pixels(window):
    """Pixels of the curve pen (pure blue) in the upper and lower half of the window."""
    ppm = subprocess.run(["import", "-silent", "-window", window, "-depth", "8", "ppm:-"],
                         capture_output=True, timeout=30).stdout
    _, width, height, _, pixels = ppm.split(maxsplit=4)
    width, height = int(width), int(height)
    half = width * (height // 2) * 3
    count = lambda part: sum(part[i:i + 3] == b"\0\0\xff" for i in range(0, len(part), 3))
    return count(pixels[:half]), count(pixels[half:width * height * 3])


def show_and_judge(korvex, arguments, work, environment, what):
    program = subprocess.Popen([korvex] + arguments, cwd=work, env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                      "^Vantorix Data Acquisition Software$"]).stdout.split()
        check(window, f"{what}: the main window appears")
        counts, deadline = (0, 0), time.monotonic() + 20
        while min(counts) < 100 and time.monotonic() < deadline:  # a busy machine paints late
            time.sleep(0.3)
            counts = curve_pixels(window[0])
        check(min(counts) >= 100, f"{what}: curves in the zoom and main charts, found {counts}")
        icon = run(["xprop", "-id", window[0], "_NET_WM_ICON"]).stdout
        check("Icon (16 x 16)" in icon and "Icon (64 x 64)" in icon, f"{what}: the window icon")
    finally:
        program.terminate()
        program.wait(timeout=30)


def under_xvfb(mode, korvex):
    """Runs this mode again on a display of its own, unless it already has one."""
    if "KORVEX_UNDER_XVFB" not in os.environ:
        sys.exit(subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -nolisten tcp",
                                 sys.executable, __file__, mode, korvex],
                                env=dict(os.environ, KORVEX_UNDER_XVFB="1")).returncode)


def day_file(path):
    """6,000 samples one second apart from 01/03/2024 00:00:00, a slow wave."""
    records = b"".join(bytes((24, 3, 1, i // 3600, i // 60 % 60, i % 60, 0, 0,
                              int(60 + 30 * math.sin(i / 240)))) for i in range(6000))
    with open(path, "wb") as out:
        out.write(struct.pack("<HHI12x", 100, 4, 6000) + records)


def open_at_start(korvex):
    under_xvfb("open-at-start", korvex)
    master, slave = os.openpty()  # COM1, so that start-up shows no port message
    with tempfile.TemporaryDirectory() as scratch:
        work, home = os.path.join(scratch, "work"), os.path.join(scratch, "home")
        os.makedirs(work)
        os.makedirs(home)
        name = b"lat\xe6in.kvd"  # Latin-1, as older systems name files
        day_file(os.path.join(os.fsencode(work), name))
        environment = dict(os.environ)
        environment.update(QT_QPA_PLATFORM="xcb", KORVEX_COM1=os.ttyname(slave), HOME=home)

        show_and_judge(korvex, [name], work, environment, "korvex lat\\xe6in.kvd")
        check(os.path.getsize(os.path.join(work, "DAQSetup.cnf")) == 282,
              "from a terminal the configuration is in the working directory")
        os.remove(os.path.join(work, "DAQSetup.cnf"))
        # A relative XDG_CONFIG_HOME is no configuration directory: ~/.config is.
        environment.update(XDG_CONFIG_HOME="relative/cfg")
        show_and_judge(korvex, ["--desktop", name], work, environment, "--desktop")
        check(os.path.getsize(os.path.join(home, ".config/korvex/DAQSetup.cnf")) == 282 and
              {os.fsdecode(name)} == set(os.listdir(work)) and
              not {"DAQSetup.cnf", "relative"} & set(os.listdir(home)),
              "from the menu the configuration is in ~/.config/korvex only")
    os.close(master)
    os.close(slave)


def print_queue(korvex):
    under_xvfb("print-queue", korvex)
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
    from print_queue import PrintQueue, page_faults
    master, slave = os.openpty()
    with tempfile.TemporaryDirectory() as scratch:
        queue = PrintQueue(scratch)
        day_file(os.path.join(scratch, "day.kvd"))
        program = subprocess.Popen([korvex, "day.kvd"], cwd=scratch, env=dict(
            os.environ, QT_QPA_PLATFORM="xcb", KORVEX_COM1=os.ttyname(slave), **queue.environment),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for title, key in (("Vantorix Data Acquisition Software", "alt+p"), ("Print", "Return")):
                window = run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                              f"^{title}$"]).stdout.split()
                check(window, f'the window "{title}" appears')
                run(["xdotool", "windowfocus", "--sync", window[0], "key", key])
                if key == "alt+p":
                    time.sleep(0.5)
                    run(["xdotool", "key", "p"])
            faults = page_faults(queue.next_page(), "landscape",
                                 ("01/03-24,", "00:00:00", "00:09:59", "01:39:59"))
            check(not faults, f"the printed page: {faults}")
        finally:
            program.terminate()
            program.wait(timeout=30)
            queue.close()
    os.close(master)
    os.close(slave)


if __name__ == "__main__":
    if sys.argv[1] == "command-line":
        command_line(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "print-queue":
        print_queue(sys.argv[2])
    else:
        open_at_start(sys.argv[2])
