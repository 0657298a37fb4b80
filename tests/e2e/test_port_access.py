#!/usr/bin/env python3
"""A serial device the user may not open, met as a user without rights (root
opens every device): the Communication menu marks it "no access", and
korvex-fetch's failure keeps the program's message and says how to get access.

Usage: test_port_access.py UNIT_TESTS KORVEX_FETCH"""
import os
import subprocess
import sys
import tempfile

USER = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]


def run(command, **options):
    return subprocess.run(command, capture_output=True, timeout=120, **options)


def main():
    unit_tests, fetch = sys.argv[1], sys.argv[2]
    if os.geteuid() != 0:
        print("port access: skipped, acting as a user without rights needs root")
        return 0
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        os.chmod(scratch, 0o755)
        device = os.path.join(scratch, "ttyLOCKED")
        open(device, "wb").close()
        os.chmod(device, 0o600)

        menu = run(USER + [unit_tests, "--gtest_filter=MenuBar.ComItemOfADeviceTheUserMayNotOpen*"])
        out = menu.stdout.decode(errors="replace")
        if menu.returncode != 0 or "[  PASSED  ] 1 test" not in out or "SKIPPED" in out:
            failures.append(f"the menu marks the device: {out[-600:]}")

        environment = dict(os.environ, KORVEX_COM2=device)
        cases = (
            (device, "en", ["Comm Port occupied or non-existing", "Permission denied",
                            "add your user to the group dialout", "log out and in again"]),
            ("COM2", "de", ["Komm. Schnittstelle besetzt oder nicht vorhanden",
                            f"COM2 ({device}): Permission denied",
                            "Benutzer in die Gruppe dialout auf", "ab und wieder an"]),
            (os.path.join(scratch, "ttyNONE"), "en", ["No such file or directory"]),
        )
        for port, language, lines in cases:
            done = run(USER + [fetch, "--port", port, "--lang", language], env=environment)
            err = done.stderr.decode()
            # Only a forbidden device brings the advice; a missing one does not.
            wrong_advice = ("dialout" in err) == port.endswith("NONE")
            if done.returncode != 1 or not all(line in err for line in lines) or wrong_advice:
                failures.append(f"korvex-fetch --port {port} --lang {language}: {done}")
    for failure in failures:
        print("FAILED: " + failure)
    print(f"{len(failures)} failed" if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
