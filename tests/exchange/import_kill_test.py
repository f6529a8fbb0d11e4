#!/usr/bin/python3
"""An import killed (SIGKILL) at random moments while it stores records: after the next command
every record is there with all its rows or not at all, no row is left without its record, and a
second import completes the package without doubling anything. The same for an overwrite import.
A command that only reads settles nothing; the next writer does.

Usage: import_kill_test.py XUNBAO_CLI [KILLS]
The tables are read with python3-dbf, a reader of their own."""

import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import dbf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dbf_tables import live_rows, run_cli, table  # noqa: E402

CLI = sys.argv[1]
KILLS = int(sys.argv[2]) if len(sys.argv) > 2 else 20
# More records than the import stores in one group, so that kills also fall between groups.
RECORDS = 600
CHILD_TABLES = ("zlqk", "cgwcr", "jdwyhmd", "cgwcdw")


def children_of(i):
    """How many rows of each child table record i carries."""
    return {"zlqk": i % 3, "cgwcr": i % 4 + 1, "jdwyhmd": i % 2, "cgwcdw": (i + 1) % 3}


def cli(data, *args, check=True):
    return run_cli(CLI, data, *args, check=check)


def make_package(work):
    """A data directory with the records written by python3-dbf, exported by the program."""
    source = os.path.join(work, "source")
    cli(source, "init")
    kjcg = table(source, "kjcg")
    kjcg.open(dbf.READ_WRITE)
    tables = {name: table(source, name) for name in CHILD_TABLES}
    for t in tables.values():
        t.open(dbf.READ_WRITE)
    for i in range(RECORDS):
        number = "2024%06d" % (i + 1)
        kjcg.append({"item_4": number, "item_dqdm": ".", "item_cglb": "1",
                     "item_3": "成果%03d" % i, "item_9": "研究所"})
        for name, count in children_of(i).items():
            for n in range(count):
                row = {"item_4": number, "item_dqdm": "."}
                if name == "cgwcr":
                    row.update({"item_180": "人%03d_%d" % (i, n), "item_187": n + 1})
                tables[name].append(row)
    kjcg.close()
    for t in tables.values():
        t.close()
    out = os.path.join(work, "out")
    os.mkdir(out)
    cli(source, "export", "--out", out, "--all")
    package = os.path.join(work, "CGSBQY.ARJ")
    os.rename(os.path.join(out, "cgsbqy.arj"), package)
    return package


def check(data, label):
    """Every record whole, no orphan, no name twice. Returns the names stored."""
    records = live_rows(data, "kjcg", ("item_4", "item_3"))
    numbers = {number for number, _ in records}
    names = [name for _, name in records]
    problems = []
    if len(names) != len(set(names)):
        problems.append("duplicate records")
    count = {}
    for name in CHILD_TABLES:
        for (number,) in live_rows(data, name, ("item_4",)):
            if number not in numbers:
                problems.append("orphan %s row of %s" % (name, number))
            count[(name, number)] = count.get((name, number), 0) + 1
    for number, name in records:
        i = int(name[2:])
        for child, expected in children_of(i).items():
            got = count.get((child, number), 0)
            if got != expected:
                problems.append("%s (%s) has %d %s rows, not %d" % (name, number, got, child,
                                                                     expected))
    if problems:
        raise SystemExit("%s: %s" % (label, "; ".join(problems[:5])))
    return set(names)


def start_import(data, package, args):
    """Starts an import and returns it once it reports that storing began."""
    process = subprocess.Popen([CLI, "--data", data, "import", package, *args],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seen = b""
    while "正在存入".encode() not in seen:
        chunk = os.read(process.stderr.fileno(), 64)
        if not chunk:
            break
        seen += chunk
    return process


def storing_time(data, package):
    """How long storing the package takes on this machine."""
    process = start_import(data, package, [])
    started = time.monotonic()
    process.wait()
    process.stderr.close()
    return time.monotonic() - started


def killed_import(data, package, args, window):
    """Kills an import at a random moment of its storing; True if it was still running."""
    process = start_import(data, package, args)
    time.sleep(random.uniform(0, window))
    process.send_signal(signal.SIGKILL)
    process.wait()
    process.stderr.close()
    return process.returncode == -signal.SIGKILL


def main():
    random.seed(int(os.environ.get("XB_KILL_SEED", "20241210")))
    work = tempfile.mkdtemp(prefix="xunbao-kill-")
    try:
        package = make_package(work)
        empty = os.path.join(work, "empty")
        cli(empty, "init")
        calibration = os.path.join(work, "calibration")
        shutil.copytree(empty, calibration)
        window = storing_time(calibration, package)
        for mode, args in (("store", ["--on-duplicate", "skip"]), ("overwrite", ["--overwrite"])):
            kills = 0
            for attempt in range(KILLS):
                data = os.path.join(work, "%s%d" % (mode, attempt))
                shutil.copytree(empty, data)
                if mode == "overwrite":
                    cli(data, "import", package)
                kills += killed_import(data, package, args, window)
                cli(data, "init")  # the next writer settles what the kill left
                label = "%s kill %d" % (mode, attempt)
                check(data, label)
                cli(data, "import", package, *args)
                if len(check(data, label + " then again")) != RECORDS:
                    raise SystemExit(label + ": the second import did not complete the package")
                shutil.rmtree(data)
            print("%s: %d imports killed while storing, all settled" % (mode, kills))
            if kills < KILLS // 2:
                raise SystemExit("%s: too few imports were killed in time (%d)" % (mode, kills))
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
