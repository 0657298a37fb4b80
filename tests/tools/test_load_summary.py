#!/usr/bin/env python3
"""The load summary and the CSV of korvex-convert, and korvex-fetch's summary,
against an independent reading in Python.

test_load_summary.py KORVEX_CONVERT KORVEX_FETCH T596SIM

Twelve days at 1 s made here, the most a data file holds at that interval
(overloads, markers, a marker whose stamp is no calendar time, gaps, a demand
block cut by a gap to 449 samples and one cut to exactly half, the first block
started mid-way with 449, two weekends, an excursion cut by a gap, one that
runs through a marker, one at the very end, two equal peaks), a hand-made
file whose stamps are uneven and go back, and an empty file: each summary,
with every part (blocks, excursions, daily profile, heat map, duration curve),
is computed here from the definition, with exact fractions rounded half up,
and compared digit for digit with the JSON; the CSV is read back with the csv
module; --from/--to is checked on every output kind.
"""
import bisect
import csv
import functools
import json
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from datetime import datetime, timedelta
from fractions import Fraction

KEYS = ["count", "values", "interval_s", "first", "last", "min", "max", "max_time", "min_time",
        "mean", "demand_minutes", "max_demand", "max_demand_start", "load_factor", "energy_s",
        "energy_kwh", "above", "markers", "gaps"]
KW_KEYS = ["max_kw", "mean_kw", "max_demand_kw"]
PARTS = ["blocks", "excursions", "profile", "heatmap", "duration"]
EVERY_PART = ["--" + part for part in PARTS]


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


def moment_hundredths(r):
    m = moment_of(r)
    if m is None:
        return None
    return (m[0] - datetime(1970, 1, 1)) // timedelta(seconds=1) * 100 + \
        (m[1] * 60 + r[5]) * 100 + r[6] * 10 + r[7]


def block_table(records, interval, minutes):
    """Every block that holds a calendar-stamped record: [start, records, values, sum]."""
    blocks = {}
    for r in records:
        m = moment_of(r)
        if m is not None:
            block = blocks.setdefault((m[0], m[1] // minutes), [0, 0])
            if is_value(r[8]):
                block[0] += 1
                block[1] += r[8]
    table = []
    for (day, slot) in sorted(blocks):
        values, total = blocks[day, slot]
        table.append({"day": day, "slot": slot, "start": day + timedelta(minutes=slot * minutes),
                      "values": values, "sum": total,
                      "mean": Fraction(total, values) if values else None,
                      "counts": 2 * values * interval >= minutes * 6000})
    return table


def stamp_text(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%S.00")


def expected_excursions(records, interval, minutes, above, rated):
    """Runs at or above each threshold: a gap ends one, a marker is passed over."""
    moments, prefix_n, prefix_sum = [], [0], [0]
    last = -1
    for r in records:
        m = moment_hundredths(r)
        calendar_value = m is not None and is_value(r[8])
        last = m if m is not None else last  # no calendar time: where it stands
        moments.append(last)
        prefix_n.append(prefix_n[-1] + calendar_value)
        prefix_sum.append(prefix_sum[-1] + (r[8] if calendar_value else 0))
    runs = []
    for order, t in enumerate(above):
        i = 0
        while i < len(records):
            if not (is_value(records[i][8]) and records[i][8] >= t):
                i += 1
                continue
            start, held = i, []
            while i < len(records) and records[i][8] != 255:
                if is_value(records[i][8]):
                    if records[i][8] < t:
                        break
                    held.append(i)
                i += 1
            codes = [records[k][8] for k in held]
            peak = max(codes)
            over = sum(c - t for c in codes)
            before = None
            m = moment_hundredths(records[start])
            if m is not None:
                lo = bisect.bisect_left(moments, m - minutes * 6000, 0, start)
                n = prefix_n[start] - prefix_n[lo]
                if n and 2 * n * interval >= minutes * 6000:
                    before = decimal(Fraction(prefix_sum[start] - prefix_sum[lo], n), 2)
            runs.append(((start, order), {
                "percent": t, "start": iso(records[start]), "end": iso(records[held[-1]]),
                "samples": len(codes), "seconds": decimal(Fraction(len(codes) * interval, 100), 2),
                "peak": peak, "peak_time": iso(records[held[codes.index(peak)]]),
                "mean": decimal(Fraction(sum(codes), len(codes)), 2),
                "above_pct_h": decimal(Fraction(over * interval, 100 * 3600), 3),
                "above_kwh": decimal(Fraction(over * interval, 100 * 3600) * rated / 100, 3)
                if rated is not None else None,
                "before": before}))
    return [run for _, run in sorted(runs, key=lambda run: run[0])]


def expected_profile(table, minutes):
    kinds = {"all": lambda day: True, "workdays": lambda day: day.weekday() < 5,
             "weekends": lambda day: day.weekday() >= 5}
    profile = {}
    for kind, wanted in kinds.items():
        slots = []
        for slot in range(1440 // minutes):
            means = [b["mean"] for b in table if b["counts"] and b["slot"] == slot and wanted(b["day"])]
            slots.append({"time": f"{slot * minutes // 60:02d}:{slot * minutes % 60:02d}",
                          "blocks": len(means),
                          "mean": decimal(sum(means) / len(means), 2) if means else None,
                          "min": decimal(min(means), 2) if means else None,
                          "max": decimal(max(means), 2) if means else None})
        profile[kind] = slots
    return profile


def duration_curve(values, place):
    ranked = sorted(values, reverse=True)
    if not ranked:
        return None
    return [place(ranked[max(1, -(-p * len(ranked) // 100)) - 1]) for p in range(101)]


def expected_summary(records, interval, minutes=15, above=(80, 100), rated=None, parts=()):
    rated = None if rated is None else Fraction(rated)
    if not records:
        return {**{k: None for k in KEYS}, "count": 0, "values": 0,
                **({k: None for k in KW_KEYS} if rated else {}), **{k: None for k in parts}}
    values = [(i, r[8]) for i, r in enumerate(records) if is_value(r[8])]
    codes = [v for _, v in values]
    top = max(codes, default=None)
    low = min(codes, default=None)
    mean = Fraction(sum(codes), len(codes)) if codes else None
    table = block_table(records, interval, minutes)
    counting = [b for b in table if b["counts"]]
    best = None
    for b in counting:
        if best is None or b["mean"] > best["mean"]:
            best = b
    counted_mean = Fraction(sum(b["sum"] for b in counting),
                            sum(b["values"] for b in counting)) if counting else None
    markers = [{"time": iso(r), "code": r[8]} for r in records if r[8] in (201, 202)]
    gaps = []
    for i, r in enumerate(records):
        if r[8] == 255:
            if i > 0 and records[i - 1][8] == 255:
                gaps[-1]["samples"] += 1
            else:
                gaps.append({"start": iso(r), "samples": 1})
    for gap in gaps:
        gap["seconds"] = decimal(Fraction(gap["samples"] * interval, 100), 2)
    summary = {
        "count": len(records), "values": len(values), "interval_s": decimal(Fraction(interval, 100), 2),
        "first": iso(records[0]), "last": iso(records[-1]),
        "min": low, "max": top,
        "max_time": iso(records[next(i for i, v in values if v == top)]) if codes else None,
        "min_time": iso(records[next(i for i, v in values if v == low)]) if codes else None,
        "mean": decimal(mean, 2) if codes else None, "demand_minutes": minutes,
        "max_demand": decimal(best["mean"], 2) if best else None,
        "max_demand_start": stamp_text(best["start"]) if best else None,
        "load_factor": decimal(counted_mean / best["mean"], 3) if best and best["mean"] else None,
        "energy_s": decimal(Fraction(len(codes) * interval, 100), 2),
        "energy_kwh": decimal(Fraction(sum(codes) * interval, 100 * 3600) * rated / 100, 3)
        if rated is not None else None,
        "above": [{"percent": p, "samples": n, "seconds": decimal(Fraction(n * interval, 100), 2),
                   "share": decimal(Fraction(n, len(codes)), 4) if codes else None}
                  for p in above for n in [sum(1 for v in codes if v >= p)]],
        "markers": markers, "gaps": gaps,
    }
    if rated is not None:
        summary["max_kw"] = decimal(top * rated / 100, 2) if codes else None
        summary["mean_kw"] = decimal(mean * rated / 100, 2) if codes else None
        summary["max_demand_kw"] = decimal(best["mean"] * rated / 100, 2) if best else None
    if "blocks" in parts:
        summary["blocks"] = [{"start": stamp_text(b["start"]), "values": b["values"],
                              "mean": decimal(b["mean"], 2) if b["values"] else None,
                              "counts": b["counts"]} for b in table]
    if "excursions" in parts:
        summary["excursions"] = expected_excursions(records, interval, minutes, above, rated)
    if "profile" in parts:
        summary["profile"] = expected_profile(table, minutes)
    if "heatmap" in parts:
        cells = {(b["day"], b["slot"]): decimal(b["mean"], 2) for b in counting}
        summary["heatmap"] = [
            {"date": day.strftime("%Y-%m-%d"),
             "means": [cells.get((day, slot)) for slot in range(1440 // minutes)]}
            for day in sorted({b["day"] for b in table})]
    if "duration" in parts:
        summary["duration"] = {
            "samples": duration_curve(codes, int),
            "blocks": duration_curve([b["mean"] for b in counting], lambda m: decimal(m, 2))}
    return summary


def summary_of(convert, path, *options):
    done = subprocess.run([convert, path, "--summary", "--json", *options], capture_output=True,
                          text=True, timeout=60)
    check(done.returncode == 0 and done.stderr == "", f"{path} {options}: {done}")
    # Numbers as their text, so that every digit is compared.
    return json.loads(done.stdout, parse_float=str), done.stdout


def compare(convert, path, records, interval, options=(), **expect):
    got, text = summary_of(convert, path, *options, *EVERY_PART)
    want = expected_summary(records, interval, parts=PARTS, **expect)
    check(list(got) == list(want), f"keys of {path}: {list(got)}")
    for key in want:
        check(got[key] == want[key], f"{path} {options} {key}: {got[key]!r}, computed {want[key]!r}")
    return got


def twelve_days():
    """1,036,800 records at 1 s from Monday 21 December 2009, 00:07:31."""
    rng = random.Random(16)
    overloads = list(range(150, 201)) + list(range(203, 240))
    records = []
    for i in range(12 * 86400):
        day, seconds = divmod(7 * 60 + 31 + i, 86400)  # day 0 is 21 December
        clock = (seconds // 3600, seconds // 60 % 60, seconds % 60)
        code = max(0, min(140, round(45 + 35 * math.sin(2 * math.pi * (seconds / 86400 - 0.3)))
                          + int(rng.random() * 11) - 5))
        if i >= 12 * 86400 - 300:
            code = 150                           # an excursion at the very end
        elif day == 0 and seconds < 15 * 60:
            code = 254                           # the first block, 449 samples
        elif day == 1 and 18 * 3600 <= seconds < 18 * 3600 + 30 * 60:
            code = overloads[i % len(overloads)]
        elif day in (3, 4) and 12 * 3600 <= seconds < 12 * 3600 + 15 * 60:
            # 449 values and the rest gaps on the 24th, exactly half on the 25th
            held = 449 if day == 3 else 450
            code = (250 if day == 3 else 245) if seconds < 12 * 3600 + held else 255
        elif (day == 5 and 2 * 3600 <= seconds < 4 * 3600) or (day == 2 and clock == (3, 0, 0)):
            code = 255
        elif day == 5 and 4 * 3600 <= seconds < 4 * 3600 + 60:
            code = 120                           # right after two hours of gaps: nothing before
        elif clock in ((6, 0, 0), (6, 0, 30)):
            code = 201 if clock[2] == 0 else 202
        elif day == 6 and 14 * 3600 <= seconds < 14 * 3600 + 205:
            # an excursion cut by five gap codes
            code = 255 if 100 <= seconds - 14 * 3600 < 105 else 120
        elif day == 7 and 9 * 3600 <= seconds < 9 * 3600 + 121:
            # a marker inside a run, and two equal peaks in it
            code = 201 if seconds - 9 * 3600 == 60 else 230 if seconds % 50 == 0 else 110
        elif day == 8 and clock[0] == 10 and clock[1] < 2:
            code = 230 if clock == (10, 1, 0) else 110   # the same peak again, later
        # A marker on no calendar day: month 13.
        month = 13 if day == 2 and clock == (7, 0, 0) else 12
        date = datetime(2009, 12, 21) + timedelta(days=day)
        records.append((9 if date.year == 2009 else 10, month if date.year == 2009 else 1,
                        date.day, *clock, 0, 0, 202 if month == 13 else code))
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
        report = os.path.join(work, "fetched.html")
        done = subprocess.run([fetch, "--port", link, "--span", "2 hours", "-o", out, "--summary",
                               "--json", "--rated-kw", "80", "--report", report, "--lang", "de"],
                              capture_output=True, text=True, timeout=120)
        check(done.returncode == 0, f"korvex-fetch: {done}")
        with open(report, encoding="utf-8") as f:
            page = f.read()
        check("<svg" in page and "fetched.kvd" in page and "Übersicht" in page, page[:400])
        _, converted = summary_of(convert, out, "--rated-kw", "80")
        check(done.stdout == converted, f"fetch's summary\n{done.stdout}\nconvert's\n{converted}")
        check(json.loads(done.stdout)["count"] == 7200, done.stdout)
    finally:
        simulator.terminate()
        simulator.wait()


def main(convert, fetch, sim):
    with tempfile.TemporaryDirectory(prefix="korvex-summary-") as work:
        checks(convert, fetch, sim, work)
    print("load summary, its parts, the range and the CSV: as computed here")


def run(*command, cwd=None):
    return subprocess.run(command, capture_output=True, text=True, timeout=120, cwd=cwd)


def check_days(convert, work):
    days, path = twelve_days(), os.path.join(work, "days.kvd")
    write_kvd(path, 100, days)
    got = compare(convert, path, days, 100)
    check(got["max_demand"] == "245.00" and got["max_demand_start"] == "2009-12-25T12:00:00.00",
          f"the half-held block: {got['max_demand']} {got['max_demand_start']}")
    check(any(m["time"] is None for m in got["markers"]), "a marker on no calendar day")
    # The cases the data was made for are there, as computed above.
    runs = {(e["percent"], e["start"]): e for e in got["excursions"]}
    cut = [runs.get((100, f"2009-12-27T14:0{m}:{s}.00")) for m, s in (("0", "00"), ("1", "45"))]
    check(all(e is not None and e["samples"] == 100 for e in cut), f"cut by a gap: {cut}")
    marked = runs[100, "2009-12-28T09:00:00.00"]
    check(marked["samples"] == 120 and marked["peak_time"] == "2009-12-28T09:00:00.00", marked)
    check(runs[100, "2009-12-26T04:00:00.00"]["before"] is None, "nothing before the gap's end")
    check(got["excursions"][-1]["end"] == got["last"], "the run at the very end")
    check(got["load_factor"] is not None and float(got["load_factor"]) <= 1, got["load_factor"])
    compare(convert, path, days, 100, ("--rated-kw", "250.5", "--above", "50,150,254",
                                       "--demand-minutes", "60"),
            minutes=60, above=(50, 150, 254), rated=Fraction(2505, 10))
    text = run(convert, path, "--summary").stdout
    # Labels as wide as the widest, "at or above 100 %", and two spaces.
    check(text.startswith("records".ljust(19) + "1036800\n") and
          "maximum demand".ljust(19) + "245.00 % in the 15-minute block from 2009-12-25T12:00:00.00\n"
          in text, text[:600])

    # The CSV: every value, the markers and gaps told apart by their code.
    table = os.path.join(work, "days.csv")
    subprocess.run([convert, path, "-o", table], check=True)
    with open(table, newline="") as f:
        rows = list(csv.reader(f))
    check(rows[0] == ["time", "value", "code"], f"header {rows[0]}")
    check(rows[1:] == csv_rows(days), "the CSV's rows")
    check({row[2] for row in rows[1:] if row[1] == ""} == {"201", "202", "255"}, "empty values")
    check(any(int(row[1]) >= 203 for row in rows[1:] if row[1]), "overloads in the CSV")
    check_range(convert, work, path, days)


def csv_rows(records):
    return [[iso(r) or "", str(r[8]) if is_value(r[8]) else "", str(r[8])] for r in records]


def check_range(convert, work, path, days):
    """--from and --to restrict every output to the records stamped in them."""
    begin, end = "2009-12-24T06:00", "2009-12-26"
    low, high = (moment_hundredths(record(datetime.fromisoformat(t), 0)) for t in (begin, end))
    part = [r for r in days if moment_hundredths(r) is not None and low <= moment_hundredths(r) < high]
    window = ("--from", begin, "--to", end)
    compare(convert, path, part, 100, window)
    outputs = {ext: os.path.join(work, "part." + ext) for ext in ("csv", "daq", "kvd", "html")}
    done = run(convert, path, *window, "-o", outputs["csv"])
    with open(outputs["csv"], newline="") as f:
        check(done.returncode == 0 and list(csv.reader(f))[1:] == csv_rows(part), "ranged CSV")
    run(convert, path, *window, "-o", outputs["daq"])
    with open(outputs["daq"], encoding="cp1252") as f:
        lines = f.read().split("\n")[4:-1]
    check(lines == [str(r[8]) if r[8] < 150 else "" for r in part], "ranged .daq")
    run(convert, path, *window, "-o", outputs["kvd"])
    with open(outputs["kvd"], "rb") as f:
        check(f.read()[20:] == b"".join(bytes(r) for r in part), "ranged .kvd")
    run(convert, path, *window, "--report", outputs["html"])
    with open(outputs["html"], encoding="utf-8") as f:
        check(f"<td>{len(part)}</td>" in f.read(), "ranged report")
    if os.environ.get("KORVEX_CONVERT_PDF", "1") == "1":
        pdf = os.path.join(work, "part.pdf")
        done = run(convert, path, *window, "-o", pdf)
        check(done.returncode == 0 and open(pdf, "rb").read(4) == b"%PDF", f"ranged PDF {done}")

    # What is refused, with one line and the exit code that says why.
    os.mkdir(os.path.join(work, "a-directory"))
    for options, code, words in [
            (("--from", "2011-01-01", "--summary"), 1, "no record is stamped from 2011-01-01"),
            (("--from", "2009-12-25", "--to", "2009-12-24", "--summary"), 2, "before --to"),
            (("--to", "2009-02-29", "--summary"), 2, "calendar time"),
            (("--from", "2009-12-24T25:00", "--summary"), 2, "calendar time"),
            (("--above", "80,1001", "--summary"), 2, "up to 1000"),
            (("--rated-kw", "0", "--summary"), 2, "above 0"),
            (("--title", "x", "--summary"), 2, "--title needs --report"),
            (("--blocks",), 2, "--blocks needs --summary or --report"),
            (("--report", os.path.join(work, "a-directory")), 1, "Is a directory")]:
        done = run(convert, path, *options)
        check(done.returncode == code and words in done.stderr and done.stdout == "",
              f"{options}: {done}")
    check(not os.path.exists(os.path.join(work, "a-directory", "part.html")), "nothing written")

    # "--" ends the options; leading zeros are the number's.
    shutil.copy(os.path.join(work, "empty.kvd"), os.path.join(work, "-x.kvd"))
    done = run(convert, "--summary", "--json", "--above", "0000000000000080", "--", "-x.kvd",
               cwd=work)
    check(done.returncode == 0 and json.loads(done.stdout)["count"] == 0, f"-- -x.kvd: {done}")
    done = run(convert, os.path.join(work, "days.kvd"), "--summary", "--json", "--above",
               "0000000000000080")
    check(json.loads(done.stdout)["above"][0]["percent"] == 80, done.stdout[:300])


def load_factor_case():
    """900 samples at 10 % and then 400 at 254 %: the blocks that count decide."""
    base = datetime(2010, 3, 1, 10)
    return [record(base + timedelta(seconds=k), 10 if k < 900 else 254) for k in range(1300)]


def checks(convert, fetch, sim, work):
    empty = os.path.join(work, "empty.kvd")
    write_kvd(empty, 100, [])
    compare(convert, empty, [], 100, ("--rated-kw", "10"), rated=10)

    hand = os.path.join(work, "uneven.kvd")
    write_kvd(hand, 100, uneven())
    got = compare(convert, hand, uneven(), 100)
    check(got["max_demand_start"] == "2010-03-01T11:00:00.00", f"uneven: {got}")
    write_kvd(hand, 100, load_factor_case())
    got = compare(convert, hand, load_factor_case(), 100)
    check(got["load_factor"] == "1.000", f"load factor {got['load_factor']}")

    check_days(convert, work)
    fetched(convert, fetch, sim, work)


if __name__ == "__main__":
    main(*sys.argv[1:4])
