#!/usr/bin/env python3
"""Files written over as a careful user expects, seen from outside the program.

test_file_replacement.py KORVEX_CONVERT FAULT_SHIM

- A member of a shared group saving over a colleague's file keeps its owner,
  group, mode, ACL, extended attribute and hard link; the owner's own save
  (by a rename) keeps them too; a failure half-way keeps the old content.
- Interrupts (SIGINT, SIGTERM, SIGHUP, SIGKILL) at random points of a large
  convert leave the old file or the new one whole and no stray file after the
  next write, with unnamed temporary files and without them.
- A directory whose flush fails: exit 1, and the user is told that the new
  content is in place but not confirmed on the disk.
- A PDF named with bytes that are not UTF-8 gets exactly that name; a decoy
  whose name reads alike stays untouched; the tool prints nothing it need not.
"""
import hashlib
import os
import random
import signal
import struct
import subprocess
import sys
import tempfile
import time


def check(condition, what):
    if not condition:
        sys.exit("FAILED: " + what)


def run(command, **options):
    return subprocess.run(command, capture_output=True, timeout=120, **options)


def data_file(path, count):
    records = bytearray(9 * count)
    records[0::9] = bytes([9]) * count
    records[1::9] = bytes([12]) * count
    records[2::9] = bytes([25]) * count
    records[3::9] = bytes(i // 3600 % 24 for i in range(count))
    records[4::9] = bytes(i // 60 % 60 for i in range(count))
    records[5::9] = bytes(i % 60 for i in range(count))
    records[8::9] = bytes(i % 230 for i in range(count))
    with open(path, "wb") as out:
        out.write(struct.pack("<HHI12x", 100, 4, count) + records)


def content(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def shared_group(convert, scratch, small, large):
    if os.geteuid() != 0:
        print("shared group: skipped, acting as two users needs root")
        return
    group = os.path.join(scratch, "group")
    os.mkdir(group)
    os.chown(group, 1001, 3000)
    os.chmod(group, 0o2775)
    data, other = os.path.join(group, "data.kvd"), os.path.join(group, "also.kvd")
    with open(small, "rb") as source, open(data, "wb") as out:
        out.write(source.read())
    os.chown(data, 1001, 3000)
    os.chmod(data, 0o660)
    check(run(["setfacl", "-m", "u:1003:rw", data]).returncode == 0, "setfacl")
    os.setxattr(data, "user.origin", b"logger 7")
    os.link(data, other)
    member = ["setpriv", "--reuid=1002", "--regid=1002", "--groups=3000"]
    owner = ["setpriv", "--reuid=1001", "--regid=3000", "--clear-groups"]

    def kept(links, what):
        st = os.stat(data)
        check((st.st_uid, st.st_gid, st.st_mode & 0o7777, st.st_nlink) == (1001, 3000, 0o660, links),
              f"{what}: owner, group, mode and links kept, found {st}")
        check("user:1003:rw-" in run(["getfacl", "-c", data]).stdout.decode(), f"{what}: the ACL")
        check(os.getxattr(data, "user.origin") == b"logger 7", f"{what}: the attribute")
        backups = [name for name in os.listdir(group) if "korvex" in name]
        check(not backups, f"{what}: no copy left beside the file: {backups}")

    done = run(member + [convert, large, "-o", data])
    check(done.returncode == 0, f"a member's save: {done}")
    kept(2, "a member's save")
    check(content(data) == content(large) == content(other), "both links hold the new content")

    os.unlink(other)
    inode = os.stat(data).st_ino
    done = run(owner + [convert, small, "-o", data])
    check(done.returncode == 0, f"the owner's save: {done}")
    check(os.stat(data).st_ino != inode, "the owner's save is a rename")
    kept(1, "the owner's save")

    # The saving process may write no more than 200 KB: the copy of the old
    # content fits, the new content does not.
    os.link(data, other)
    before = content(data)
    done = run(member + ["bash", "-c", f"trap '' XFSZ; ulimit -f 200; exec {convert} {large} -o {data}"])
    check(done.returncode == 1 and b"File too large" in done.stderr, f"a save cut off: {done}")
    check(content(data) == content(other) == before, "a save cut off keeps the old content")
    kept(2, "a save cut off")


def interrupts(convert, shim, scratch, small, large):
    place = os.path.join(scratch, "interrupts")
    os.mkdir(place)
    out = os.path.join(place, "out.csv")
    check(run([convert, large, "-o", out]).returncode == 0, "the large CSV")
    new = content(out)
    check(run([convert, small, "-o", out]).returncode == 0, "the small CSV")
    old = content(out)
    seed = random.randrange(1 << 30)
    chance = random.Random(seed)
    unnamed = dict(os.environ)
    named = dict(os.environ, LD_PRELOAD=shim, KORVEX_FAULT_NO_TMPFILE="1")
    for environment, kind in ((unnamed, "unnamed"), (named, "named")):
        for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGKILL) * 3:
            program = subprocess.Popen([convert, large, "-o", out], env=environment,
                                       stderr=subprocess.DEVNULL)
            time.sleep(chance.uniform(0.0, 0.15))
            program.send_signal(number)
            program.wait(timeout=60)
            what = f"{kind} temporary files, {signal.Signals(number).name} (seed {seed})"
            now = content(out)
            check(now in (old, new), f"{what}: the output is the old or the new file")
            if now == new:  # finished before the signal: start from the old one again
                check(run([convert, small, "-o", out]).returncode == 0, "the small CSV again")
            if kind == "named" and number == signal.SIGKILL:
                # Only the next write can clear up after a killed process.
                check(run([convert, small, "-o", out], env=environment).returncode == 0,
                      "the next write")
            strays = set(os.listdir(place)) - {"out.csv"}
            check(not strays, f"{what}: nothing left behind, found {strays}")


def directory_flush(convert, shim, scratch, small):
    out = os.path.join(scratch, "flush.kvd")
    done = run([convert, small, "-o", out],
               env=dict(os.environ, LD_PRELOAD=shim, KORVEX_FAULT_DIRECTORY_FSYNC="1"))
    check(done.returncode == 1 and b"the new content is in place but not confirmed on the disk"
          in done.stderr, f"a failed directory flush is a failure: {done}")
    check(content(out) == content(small), "the new content is in place")


def latin1_names(convert, scratch, small):
    if b".pdf" not in run([convert, "--help"]).stdout:
        print("Latin-1 names: skipped, this korvex-convert writes no PDF")
        return
    decoy = os.path.join(os.fsencode(scratch), b"rep\xef\xbf\xbd.pdf")
    with open(decoy, "wb") as out:
        out.write(b"decoy")
    wanted = os.path.join(os.fsencode(scratch), b"rep\xe6.pdf")
    quiet = {k: v for k, v in os.environ.items() if k not in ("XDG_RUNTIME_DIR", "QT_QPA_PLATFORM")}
    done = run([os.fsencode(convert), os.fsencode(small), b"-o", wanted], env=quiet)
    check(done.returncode == 0 and done.stderr == b"", f"a PDF with a Latin-1 name: {done}")
    with open(wanted, "rb") as pdf:
        check(pdf.read(5) == b"%PDF-", "the PDF has exactly the name given")
    with open(decoy, "rb") as other:
        check(other.read() == b"decoy", "the file whose name reads alike is untouched")


def main(convert, shim):
    with tempfile.TemporaryDirectory() as scratch:
        os.chmod(scratch, 0o755)  # for the other users
        small, large = os.path.join(scratch, "small.kvd"), os.path.join(scratch, "large.kvd")
        data_file(small, 2000)
        data_file(large, 1 << 20)
        shared_group(convert, scratch, small, large)
        interrupts(convert, shim, scratch, small, large)
        directory_flush(convert, shim, scratch, small)
        latin1_names(convert, scratch, small)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
