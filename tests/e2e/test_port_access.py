#!/usr/bin/env python3
"""A serial device the user may not open, as a user without rights meets it
(root opens every device, so the checks run as another user): the
Communication menu marks it "no access", and korvex-fetch's failure keeps the
program's message and says how to get access.

Usage: test_port_access.py UNIT_TESTS KORVEX_FETCH"""
import os
import subprocess
import sys
import tempfile

USER = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
failures = []


def check(condition, what, found):
    print(("ok      " if condition else "FAILED  ") + what + ("" if condition else f": {found}"))
    if not condition:
        failures.append(what)


def run(command, **options):
    return subprocess.run(command, capture_output=True, timeout=120, **options)


def main():
    unit_tests, fetch = sys.argv[1], sys.argv[2]
    if os.geteuid() != 0:
        print("port access: skipped, acting as a user without rights needs root")
        return 0
    with tempfile.TemporaryDirectory() as scratch:
        os.chmod(scratch, 0o755)
        device = os.path.join(scratch, "ttyLOCKED")
        with open(device, "wb"):
            pass
        os.chmod(device, 0o600)

        menu = run(USER + [unit_tests, "--gtest_filter=Routing.ComItemOfADeviceTheUserMayNotOpenSaysNoAccess"],
                   cwd=scratch)
        out = menu.stdout.decode(errors="replace")
        check(menu.returncode == 0 and "[  PASSED  ] 1 test" in out and "SKIPPED" not in out,
              "the menu marks the device", out[-600:])

        environment = dict(os.environ, KORVEX_COM2=device)
        for port in (device, "COM2"):
            for language, hint in (("en", "add your user to the group dialout"),
                                   ("de", "Benutzer in die Gruppe dialout auf")):
                done = run(USER + [fetch, "--port", port, "--lang", language], cwd=scratch,
                           env=environment)
                err = done.stderr.decode()
                check(done.returncode == 1, f"{port} {language}: exit 1", done)
                message = {"en": "Comm Port occupied or non-existing",
                           "de": "Komm. Schnittstelle besetzt oder nicht vorhanden"}[language]
                check(message in err, f"{port} {language}: the program's message", err)
                check("Permission denied" in err, f"{port} {language}: the system's reason", err)
                check(hint in err, f"{port} {language}: how to get access", err)

        # A device that is missing, not forbidden, gets no such advice.
        missing = run(USER + [fetch, "--port", os.path.join(scratch, "ttyNONE")], cwd=scratch)
        check(missing.returncode == 1 and b"dialout" not in missing.stderr,
              "a missing device: no access advice", missing)
    print(f"{len(failures)} failed" if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
