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
- Planted links refused as the system refuses them; a default ACL adds no
  entry; the copy readable by no one the file shuts out, and a signal at each
  file call leaving the old or new file and at most a whole copy; readers
  sharing; another PID namespace's sweep; in place where nothing fits beside.
"""
import contextlib
import hashlib
import json
import os
import random
import re
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


MEMBER, OWNER, EXCLUDED, OUTSIDER = 1002, 1001, 1004, 1005


def as_user(uid, groups=()):
    listed = ",".join(str(group) for group in groups)
    return ["setpriv", f"--reuid={uid}", f"--regid={uid}",
            f"--groups={listed}" if groups else "--clear-groups"]


def readable_by(uid, groups, path):
    return run(as_user(uid, groups) + ["cat", path]).returncode == 0


@contextlib.contextmanager
def protected_symlinks():
    knob = "/proc/sys/fs/protected_symlinks"
    with open(knob) as current:
        before = current.read().strip()
    with open(knob, "w") as setting:
        setting.write("1")
    try:
        yield
    finally:
        with open(knob, "w") as setting:
            setting.write(before)


def kernel_link_checks(convert, scratch, small):
    sticky, home = os.path.join(scratch, "sticky"), os.path.join(scratch, "home")
    os.mkdir(sticky)
    os.chmod(sticky, 0o1777)
    os.mkdir(home)
    os.chown(home, OWNER, OWNER)
    secret = os.path.join(home, "secret")
    with open(secret, "w") as out:
        out.write("secret")
    os.chown(secret, OWNER, OWNER)
    os.chmod(secret, 0o600)
    links = {"planted.csv": (secret, MEMBER), "dangling.csv": (os.path.join(home, "made.csv"), MEMBER),
             "own.csv": (os.path.join(home, "own.csv"), OWNER)}
    for name, (target, owner) in links.items():
        os.symlink(target, os.path.join(sticky, name))
        os.lchown(os.path.join(sticky, name), owner, owner)
    with protected_symlinks():
        for name in ("planted.csv", "dangling.csv"):
            done = run(as_user(OWNER) + [convert, small, "-o", os.path.join(sticky, name)])
            check(done.returncode == 1 and b"Permission denied" in done.stderr,
                  f"a co-worker's link {name} is refused as the system refuses it: {done}")
        done = run(as_user(OWNER) + [convert, small, "-o", os.path.join(sticky, "own.csv")])
        check(done.returncode == 0, f"the user's own link is followed: {done}")
    with open(secret) as kept:
        check(kept.read() == "secret", "the file a planted link points at is untouched")
    check(sorted(os.listdir(home)) == ["own.csv", "secret"], "nothing made where a planted link led")


def shared_acl_directory(scratch, old):
    """A group directory whose default ACL lets OUTSIDER read new files, and a
    file that MEMBER may write, whose ACL shuts out EXCLUDED, a member of the
    group; a hard link keeps its saves in place."""
    place = os.path.join(scratch, "acl")
    os.mkdir(place)
    os.chown(place, OWNER, 3000)
    os.chmod(place, 0o2775)
    data = os.path.join(place, "data.kvd")
    with open(old, "rb") as source, open(data, "wb") as out:
        out.write(source.read())
    os.chown(data, OWNER, 3000)
    check(run(["setfacl", "-d", "-m", f"u:{OUTSIDER}:r", place]).returncode == 0, "default ACL")
    check(run(["setfacl", "-m", f"u:{MEMBER}:rw,g::-,o::-", data]).returncode == 0, "setfacl")
    os.link(data, os.path.join(place, "link.kvd"))
    return place, data


def copy_access(convert, shim, scratch, small, old):
    place, data = shared_acl_directory(scratch, old)
    environment = ["env", f"LD_PRELOAD={shim}", "KORVEX_FAULT_NO_TMPFILE=1", "KORVEX_FAULT_SIGNAL=STOP"]
    moment = 0
    while True:
        moment += 1
        program = subprocess.Popen(as_user(MEMBER, [3000]) + environment + [
            f"KORVEX_FAULT_SIGNAL_AT={moment}", convert, small, "-o", data], stderr=subprocess.PIPE)
        stopped = os.waitpid(program.pid, os.WUNTRACED)[1]
        if not os.WIFSTOPPED(stopped):
            program.returncode = os.waitstatus_to_exitcode(stopped)
            break
        shown = [name for name in set(os.listdir(place)) - {"data.kvd", "link.kvd"}
                 if readable_by(EXCLUDED, [3000], os.path.join(place, name))
                 or readable_by(OUTSIDER, [], os.path.join(place, name))]
        if shown:
            program.kill()
        check(not shown, f"stopped at file call {moment}: {shown} readable by one the file shuts out")
        os.kill(program.pid, signal.SIGCONT)
        program.wait(timeout=60)
        check(program.returncode == 0, f"the save stopped at file call {moment} goes on: {program.stderr.read()}")
        data_file(data, 2000 + moment % 2)  # the next save writes something new again
    check(program.returncode == 0 and content(data) == content(small), "the save in place")
    # The owner's own save of a file without an ACL, by a rename.
    owned = os.path.join(place, "owned.kvd")
    data_file(owned, 10)
    os.chown(owned, OWNER, OWNER)
    check(run(["setfacl", "-b", owned]).returncode == 0, "a file without an ACL")
    os.chmod(owned, 0o640)
    done = run(as_user(OWNER) + [convert, small, "-o", owned])
    check(done.returncode == 0 and f"user:{OUTSIDER}".encode() not in run(["getfacl", "-c", owned]).stdout
          and not readable_by(OUTSIDER, [], owned), f"a rename adds no ACL entry: {done}")


def signal_at_each_call(convert, shim, scratch, small, old):
    place = os.path.join(scratch, "signals")
    os.mkdir(place)
    data, older = os.path.join(place, "data.kvd"), os.path.join(place, "data.kvd.korvex-backup")
    with open(older, "wb") as out:
        out.write(b"an older crash copy")
    base = dict(os.environ, LD_PRELOAD=shim, KORVEX_FAULT_NO_TMPFILE="1")
    for number in ("TERM", "KILL"):
        moment = 0
        while True:
            moment += 1
            with open(old, "rb") as source, open(data, "wb") as out:
                out.write(source.read())
            with contextlib.suppress(FileNotFoundError):
                os.link(data, os.path.join(place, "link.kvd"))
            done = run([convert, small, "-o", data],
                       env=dict(base, KORVEX_FAULT_SIGNAL=number, KORVEX_FAULT_SIGNAL_AT=str(moment)))
            what = f"SIG{number} at file call {moment}"
            check(content(data) in (content(old), content(small))
                  or (number == "KILL" and os.path.exists(older + "-2")),
                  f"{what}: the old file, the new one, or a copy to put back: {done}")
            check(os.path.exists(older) and content(older) == hashlib.sha256(b"an older crash copy").hexdigest(),
                  f"{what}: the older crash copy is kept")
            copies = [name for name in os.listdir(place) if name.startswith("data.kvd.korvex-backup-")]
            for name in copies:
                check(content(os.path.join(place, name)) == content(old), f"{what}: {name} is whole")
                os.unlink(os.path.join(place, name))
            if number == "KILL":  # only the next save can clear up after a killed process
                check(run([convert, small, "-o", data], env=base).returncode == 0, "the next save")
            strays = set(os.listdir(place)) - {"data.kvd", "link.kvd", "data.kvd.korvex-backup"}
            check(not strays, f"{what}: nothing left behind, found {strays}")
            os.unlink(os.path.join(place, "link.kvd"))
            if done.returncode == 0:
                break


def readers_share(convert, scratch, small, large):
    summary = [convert, large, "--summary", "--json"]
    for _ in range(5):
        readers = [subprocess.Popen(summary, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                   for _ in range(3)]
        for reader in readers:
            out, err = reader.communicate(timeout=60)
            check(reader.returncode == 0, f"readers at once all read: {err}")
    with subprocess.Popen(["flock", "-s", large, "sleep", "3"]) as holder:
        time.sleep(0.2)
        started = time.monotonic()
        done = run(summary)
        check(json.loads(done.stdout)["count"] == 1 << 20 and time.monotonic() - started < 2.5,
              "a shared holder does not hold up a reader")
    with subprocess.Popen(["flock", "-x", large, "sleep", "9"]) as holder:
        time.sleep(0.2)
        done = run(summary)
        check(done.returncode == 1 and b"another program kept writing it; waited 5 s" in done.stderr,
              f"a reader gives up on a writer after a bounded time and says so: {done}")
        holder.kill()
    # Saves in place while readers read: each reads one whole file.
    out = os.path.join(scratch, "shared.kvd")
    check(run([convert, small, "-o", out]).returncode == 0, "the file to share")
    os.link(out, out + ".link")
    readers = [subprocess.Popen(f"for i in 1 2 3 4 5 6; do {convert} {out} --summary --json; done",
                                shell=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)]
    for source in (large, small) * 3:
        check(run([convert, source, "-o", out]).returncode == 0, "a save while readers read")
    outputs, errors = readers[0].communicate(timeout=120)
    counts = [int(count) for count in re.findall(rb'"count": (\d+)', outputs)]
    check(readers[0].returncode == 0 and len(counts) == 6 and set(counts) <= {2000, 1 << 20},
          f"every reader read a whole file: {counts} {errors}")


def namespace_sweep(convert, shim, scratch, small, large):
    place = os.path.join(scratch, "namespaces")
    os.mkdir(place)
    out = os.path.join(place, "host.csv")
    environment = dict(os.environ, LD_PRELOAD=shim, KORVEX_FAULT_NO_TMPFILE="1",
                       KORVEX_FAULT_SIGNAL="STOP", KORVEX_FAULT_SIGNAL_CALL="fsync",
                       KORVEX_FAULT_SIGNAL_AT="1")
    host = subprocess.Popen([convert, large, "-o", out], env=environment, stderr=subprocess.PIPE)
    check(os.WIFSTOPPED(os.waitpid(host.pid, os.WUNTRACED)[1]), "the host's save stops at its flush")
    guest = run(["unshare", "--pid", "--fork", convert, small, "-o", os.path.join(place, "guest.csv")],
                env=dict(os.environ, LD_PRELOAD=shim, KORVEX_FAULT_NO_TMPFILE="1"))
    check(guest.returncode == 0, f"the save in another PID namespace: {guest}")
    os.kill(host.pid, signal.SIGCONT)
    host.wait(timeout=60)
    check(host.returncode == 0, f"the host's save survives the other namespace's sweep: {host.stderr.read()}")
    check(sorted(os.listdir(place)) == ["guest.csv", "host.csv"], "both files whole, nothing left")


def no_room_beside(convert, shim, scratch, small, large):
    closed = os.path.join(scratch, "closed")
    os.mkdir(closed, 0o755)
    mine = os.path.join(closed, "mine.csv")
    with open(mine, "w") as out:
        out.write("old")
    os.chown(mine, OWNER, OWNER)
    done = run(as_user(OWNER) + [convert, small, "-o", mine])
    check(done.returncode == 0 and b"no copy of the old content could be kept" in done.stderr,
          f"a writable file in a directory the user may not write: {done}")
    check(run([convert, small, "-o", os.path.join(scratch, "want.csv")]).returncode == 0, "the CSV")
    check(content(mine) == content(os.path.join(scratch, "want.csv")), "written whole in place")
    # A full disk: the same bytes again need no room.
    full = os.path.join(scratch, "full")
    os.mkdir(full)
    script = (f"mount -t tmpfs -o size=256k none {full} && cp {small} {full}/data.kvd && "
              f"(cat /dev/zero > {full}/filler 2>/dev/null; true) && {convert} {small} -o {full}/data.kvd"
              f" && cmp {small} {full}/data.kvd")
    done = run(["unshare", "--mount", "sh", "-c", script])
    check(done.returncode == 0, f"the same size again on a full disk: {done}")
    # Cutting the file fails, and then flushing it: the old content comes
    # back but cannot be cut to its length, and the user is told so.
    data = os.path.join(scratch, "cut.kvd")
    data_file(data, 1000)
    old = content(data)
    os.link(data, data + ".link")
    done = run([convert, small, "-o", data], env=dict(os.environ, LD_PRELOAD=shim,
               KORVEX_FAULT_FTRUNCATE="1", KORVEX_FAULT_FSYNC_NAME="cut.kvd"))
    with open(data, "rb") as now, open(small, "rb") as new, open(data + ".korvex-backup", "rb") as copy:
        held, wanted, kept = now.read(), new.read(), copy.read()
    check(hashlib.sha256(kept).hexdigest() == old and held == kept + wanted[len(kept):],
          "the file holds the old content and the new one's tail; the copy the old content")
    told = f"{len(wanted) - len(kept)} bytes of the new; the old content alone is in {data}.korvex-backup"
    check(done.returncode == 1 and told.encode() in done.stderr, f"the user is told what is where: {done}")


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
        if os.geteuid() != 0:
            print("users, namespaces and mounts: skipped, they need root")
            return
        middle = os.path.join(scratch, "middle.kvd")  # more than one block of the copy
        data_file(middle, 20000)
        kernel_link_checks(convert, scratch, small)
        copy_access(convert, shim, scratch, small, middle)
        signal_at_each_call(convert, shim, scratch, small, middle)
        readers_share(convert, scratch, small, large)
        namespace_sweep(convert, shim, scratch, small, large)
        no_room_beside(convert, shim, scratch, small, large)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
