#!/usr/bin/env python3
"""The load summary and the CSV of korvex-convert, and korvex-fetch's summary,
against an independent reading in Python.

test_load_summary.py KORVEX_CONVERT KORVEX_FETCH T596SIM

A week at 1 s made here (overloads, markers, a marker whose stamp is no
calendar time, gaps, a demand block cut by a gap to 449 samples and one cut to
exactly half, the first block started mid-way with 449), a hand-made file
whose stamps are uneven and go back, and an empty file: each summary is
computed here from the definition, with exact fractions rounded half up, and
compared digit for digit with the JSON; the week's CSV is read back with the
csv module.
"""
import csv
import functools
import json
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import time
from datetime import datetime, timedelta
from fractions import Fraction

KEYS = ["count", "values", "interval_s", "first", "last", "min", "max", "max_time", "mean",
        "demand_minutes", "max_demand", "max_demand_start", "load_factor", "above", "markers",
        "gaps"]
KW_KEYS = ["max_kw", "mean_kw", "max_demand_kw"]


def check(condition, what):
    if not condition:
        sys.exit("FAILED: " + what)


def is_value(code):
    return code <= 200 or 203 <= code <= 254


def record(moment, code):
    return (moment.year - 2000, moment.month, moment.day, moment.hour, moment.minute,
            moment.second, moment.microsecond // 100000, moment.microsecond // 10000 % 10, code)


@functools.lru_cache(maxsize=None)
def calendar_day(year, month, day):
    try:
        return datetime(2000 + year, month, day)
    except ValueError:
        return None


def moment_of(r):
    """The record's stamp as (its day, its minute of the day), None when it is
    no calendar time."""
    day = calendar_day(r[0], r[1], r[2])
    if day is None or r[3] > 23 or r[4] > 59 or r[5] > 59 or r[6] > 9 or r[7] > 9:
        return None
    return day, r[3] * 60 + r[4]


def write_kvd(path, interval, records):
    with open(path, "wb") as out:
        out.write(struct.pack("<HHI12x", interval, 0, len(records)))
        out.write(b"".join(bytes(r) for r in records))


def decimal(value, places):
    """An exact fraction rounded half up to places decimals, as text."""
    scaled = (Fraction(value) * 10 ** places * 2 + 1) // 2
    return f"{scaled // 10 ** places}.{scaled % 10 ** places:0{places}d}" if places else str(scaled)


def iso(r):
    if moment_of(r) is None:
        return None
    return f"{2000 + r[0]:04d}-{r[1]:02d}-{r[2]:02d}T{r[3]:02d}:{r[4]:02d}:{r[5]:02d}.{r[6]}{r[7]}"


def expected_summary(records, interval, minutes=15, above=(80, 100), rated=None):
    rated = None if rated is None else Fraction(rated)
    if not records:
        return {**{k: None for k in KEYS}, "count": 0, "values": 0,
                **({k: None for k in KW_KEYS} if rated else {})}
    values = [(i, r[8]) for i, r in enumerate(records) if is_value(r[8])]
    codes = [v for _, v in values]
    top = max(codes, default=None)
    mean = Fraction(sum(codes), len(codes)) if codes else None
    blocks = {}
    for r in records:
        m = moment_of(r)
        if m is not None and is_value(r[8]):
            blocks.setdefault((m[0], m[1] // minutes), []).append(r[8])
    best = None
    for day, block in sorted(blocks):
        held = blocks[day, block]
        if 2 * len(held) * interval >= minutes * 6000:
            demand = Fraction(sum(held), len(held))
            if best is None or demand > best[1]:
                best = (day + timedelta(minutes=block * minutes), demand)
    markers = [{"time": iso(r), "code": r[8]} for r in records if r[8] in (201, 202)]
    gaps = []
    for i, r in enumerate(records):
        if r[8] == 255:
            if i > 0 and records[i - 1][8] == 255:
                gaps[-1]["samples"] += 1
            else:
                gaps.append({"start": iso(r), "samples": 1})
    summary = {
        "count": len(records), "values": len(values), "interval_s": decimal(Fraction(interval, 100), 2),
        "first": iso(records[0]), "last": iso(records[-1]),
        "min": min(codes, default=None), "max": top,
        "max_time": iso(records[next(i for i, v in values if v == top)]) if codes else None,
        "mean": decimal(mean, 2) if codes else None, "demand_minutes": minutes,
        "max_demand": decimal(best[1], 2) if best else None,
        "max_demand_start": best[0].strftime("%Y-%m-%dT%H:%M:%S.00") if best else None,
        "load_factor": decimal(mean / best[1], 3) if best and best[1] else None,
        "above": [{"percent": p, "samples": n, "seconds": decimal(Fraction(n * interval, 100), 2),
                   "share": decimal(Fraction(n, len(codes)), 4) if codes else None}
                  for p in above for n in [sum(1 for v in codes if v >= p)]],
        "markers": markers, "gaps": gaps,
    }
    if rated is not None:
        summary["max_kw"] = decimal(top * rated / 100, 2) if codes else None
        summary["mean_kw"] = decimal(mean * rated / 100, 2) if codes else None
        summary["max_demand_kw"] = decimal(best[1] * rated / 100, 2) if best else None
    return summary


def summary_of(convert, path, *options):
    done = subprocess.run([convert, path, "--summary", "--json", *options], capture_output=True,
                          text=True, timeout=60)
    check(done.returncode == 0 and done.stderr == "", f"{path} {options}: {done}")
    # Numbers as their text, so that every digit is compared.
    return json.loads(done.stdout, parse_float=str), done.stdout


def compare(convert, path, records, interval, options=(), **expect):
    got, text = summary_of(convert, path, *options)
    want = expected_summary(records, interval, **expect)
    check(list(got) == list(want), f"keys of {path}: {list(got)}")
    for key in want:
        check(got[key] == want[key], f"{path} {options} {key}: {got[key]!r}, computed {want[key]!r}")
    return got


def the_week():
    """604,800 records at 1 s from Monday 21 December 2009, 00:07:31."""
    rng = random.Random(16)
    overloads = list(range(150, 201)) + list(range(203, 240))
    records = []
    for i in range(7 * 86400):
        day, seconds = divmod(7 * 60 + 31 + i, 86400)  # day 0 is 21 December
        clock = (seconds // 3600, seconds // 60 % 60, seconds % 60)
        code = max(0, min(140, round(45 + 35 * math.sin(2 * math.pi * (seconds / 86400 - 0.3)))
                          + int(rng.random() * 11) - 5))
        if day == 0 and seconds < 15 * 60:
            code = 254                           # the first block, 449 samples
        elif day == 1 and 18 * 3600 <= seconds < 18 * 3600 + 30 * 60:
            code = overloads[i % len(overloads)]
        elif day in (3, 4) and 12 * 3600 <= seconds < 12 * 3600 + 15 * 60:
            # 449 values and the rest gaps on the 24th, exactly half on the 25th
            held = 449 if day == 3 else 450
            code = (250 if day == 3 else 245) if seconds < 12 * 3600 + held else 255
        elif (day == 5 and 2 * 3600 <= seconds < 4 * 3600) or (day == 2 and clock == (3, 0, 0)):
            code = 255
        elif clock in ((6, 0, 0), (6, 0, 30)):
            code = 201 if clock[2] == 0 else 202
        # A marker on no calendar day: month 13.
        month = 13 if day == 2 and clock == (7, 0, 0) else 12
        records.append((9, month, 21 + day, *clock, 0, 0, 202 if month == 13 else code))
    return records


def uneven():
    """Stamps the set-time dialog never makes: 2 and 3 s apart, and going back."""
    base = datetime(2010, 3, 1)
    records = []

    def run(hour, minute, second, count, step, code):
        first = base + timedelta(hours=hour, minutes=minute, seconds=second)
        records.extend(record(first + timedelta(seconds=k * step), code) for k in range(count))

    run(10, 0, 0, 600, 1, 100)
    run(11, 0, 0, 449, 2, 200)   # the 11:00 block, one sample short of half for now
    run(10, 30, 0, 500, 1, 100)
    run(13, 0, 0, 900, 1, 200)   # as high as 11:00, later
    run(10, 10, 0, 300, 1, 100)  # back into the 10:00 block
    run(11, 14, 58, 1, 1, 200)   # the 11:00 block's 450th sample
    run(12, 0, 0, 300, 3, 50)
    return records


def fetched(convert, fetch, sim, work):
    link = os.path.join(work, "com1")
    simulator = subprocess.Popen([sim, "--link", link, "--interval", "100", "--pace", "none"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if os.path.exists(link):
                break
            time.sleep(0.05)
        out = os.path.join(work, "fetched.kvd")
        done = subprocess.run([fetch, "--port", link, "--span", "2 hours", "-o", out, "--summary",
                               "--json", "--rated-kw", "80"], capture_output=True, text=True,
                              timeout=120)
        check(done.returncode == 0, f"korvex-fetch: {done}")
        _, converted = summary_of(convert, out, "--rated-kw", "80")
        check(done.stdout == converted, f"fetch's summary\n{done.stdout}\nconvert's\n{converted}")
        check(json.loads(done.stdout)["count"] == 7200, done.stdout)
    finally:
        simulator.terminate()
        simulator.wait()


def main(convert, fetch, sim):
    with tempfile.TemporaryDirectory(prefix="korvex-summary-") as work:
        checks(convert, fetch, sim, work)
    print("load summary and CSV: as computed here")


def checks(convert, fetch, sim, work):
    week, week_path = the_week(), os.path.join(work, "week.kvd")
    write_kvd(week_path, 100, week)
    got = compare(convert, week_path, week, 100)
    check(got["max_demand"] == "245.00" and got["max_demand_start"] == "2009-12-25T12:00:00.00",
          f"the half-held block: {got['max_demand']} {got['max_demand_start']}")
    check(any(m["time"] is None for m in got["markers"]), "a marker on no calendar day")
    compare(convert, week_path, week, 100, ("--rated-kw", "250.5", "--above", "50,150,254",
                                            "--demand-minutes", "60"),
            minutes=60, above=(50, 150, 254), rated=Fraction(2505, 10))

    hand = os.path.join(work, "uneven.kvd")
    write_kvd(hand, 100, uneven())
    got = compare(convert, hand, uneven(), 100)
    check(got["max_demand_start"] == "2010-03-01T11:00:00.00", f"uneven: {got}")

    empty = os.path.join(work, "empty.kvd")
    write_kvd(empty, 100, [])
    compare(convert, empty, [], 100, ("--rated-kw", "10"), rated=10)

    text = subprocess.run([convert, week_path, "--summary"], capture_output=True, text=True).stdout
    # Labels as wide as the widest, "at or above 100 %", and two spaces.
    check(text.startswith("records".ljust(19) + "604800\n") and
          "maximum demand".ljust(19) + "245.00 % in the 15-minute block from 2009-12-25T12:00:00.00\n"
          in text, text[:600])

    # The CSV: every value, the markers and gaps told apart by their code.
    table = os.path.join(work, "week.csv")
    subprocess.run([convert, week_path, "-o", table], check=True)
    with open(table, newline="") as f:
        rows = list(csv.reader(f))
    check(rows[0] == ["time", "value", "code"], f"header {rows[0]}")
    want = [[iso(r) or "", str(r[8]) if is_value(r[8]) else "", str(r[8])] for r in week]
    check(rows[1:] == want, "the CSV's rows")
    check({row[2] for row in rows[1:] if row[1] == ""} == {"201", "202", "255"}, "empty values")
    check(any(int(row[1]) >= 203 for row in rows[1:] if row[1]), "overloads in the CSV")

    fetched(convert, fetch, sim, work)


if __name__ == "__main__":
    main(*sys.argv[1:4])
