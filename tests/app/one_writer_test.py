#!/usr/bin/python3
"""One writer at a time, with real processes on one data directory. Two imports started together:
one stores its package, the other is refused, names the holder and stores nothing; run again, it
stores the rest, every number once. A list started during an import runs beside it and an export
is refused; the import ends whole.

Usage: one_writer_test.py XUNBAO_CLI
The tables are read with python3-dbf, a reader of their own."""

import os
import shutil
import subprocess
import sys
import tempfile

import dbf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dbf_tables import live_rows, run_cli, table  # noqa: E402

CLI = sys.argv[1]
RECORDS = 3000


def cli(data, *args, check=True):
    return run_cli(CLI, data, *args, check=check)


def make_package(work, label):
    """RECORDS achievements with two completers each, written by python3-dbf and exported."""
    source = os.path.join(work, "source-" + label)
    cli(source, "init")
    kjcg, cgwcr = table(source, "kjcg"), table(source, "cgwcr")
    kjcg.open(dbf.READ_WRITE)
    cgwcr.open(dbf.READ_WRITE)
    for i in range(RECORDS):
        number = "2024%06d" % (i + 1)
        kjcg.append({"item_4": number, "item_dqdm": ".", "item_cglb": "1",
                     "item_3": "%s成果%04d" % (label, i), "item_9": "研究所"})
        for n in range(2):
            cgwcr.append({"item_4": number, "item_dqdm": ".", "item_180": "人%d" % n,
                          "item_187": n + 1})
    kjcg.close()
    cgwcr.close()
    out = os.path.join(work, "out-" + label)
    os.mkdir(out)
    cli(source, "export", "--out", out, "--all")
    package = os.path.join(work, label, "CGSBQY.ARJ")
    os.makedirs(os.path.dirname(package))
    os.rename(os.path.join(out, "cgsbqy.arj"), package)
    return package


def check_whole(data, expected, label):
    """`expected` records, each number once, each with its two completers, no orphan."""
    records = live_rows(data, "kjcg", ("item_4",))
    numbers = [n for (n,) in records]
    if len(numbers) != expected or len(set(numbers)) != expected:
        raise SystemExit("%s: %d records (%d numbers), not %d" %
                         (label, len(numbers), len(set(numbers)), expected))
    count = {}
    for (number,) in live_rows(data, "cgwcr", ("item_4",)):
        count[number] = count.get(number, 0) + 1
    bad = [n for n in numbers if count.get(n) != 2] + [n for n in count if n not in set(numbers)]
    if bad:
        raise SystemExit("%s: records not whole or orphans: %s" % (label, bad[:5]))


def start(data, *args):
    return subprocess.Popen([CLI, "--data", data, *args], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE)


def finish(process):
    out, err = process.communicate()
    return process.returncode, out.decode("utf-8", "replace") + err.decode("utf-8", "replace")


def wait_for_storing(process):
    seen = b""
    while "正在存入".encode() not in seen:
        chunk = os.read(process.stderr.fileno(), 64)
        if not chunk:
            raise SystemExit("the import ended before storing: %s" % seen.decode("utf-8", "replace"))
        seen += chunk


def two_imports(work, empty, packages):
    data = os.path.join(work, "two")
    shutil.copytree(empty, data)
    first, second = start(data, "import", packages[0]), start(data, "import", packages[1])
    results = [finish(first), finish(second)]
    stored = [i for i, (code, _) in enumerate(results) if code == 0]
    refused = [i for i, (code, _) in enumerate(results) if code != 0]
    if len(stored) != 1 or len(refused) != 1:
        raise SystemExit("two imports together: exits %s" % [code for code, _ in results])
    message = results[refused[0]][1]
    if "正由命令 xunbao-cli import（进程号" not in message:
        raise SystemExit("the refused import does not name the holder: " + message)
    check_whole(data, RECORDS, "after two imports together")
    cli(data, "import", packages[refused[0]])
    check_whole(data, 2 * RECORDS, "after the refused import ran again")
    print("two imports together: one stored %d, the other was refused (%s), then stored the rest"
          % (RECORDS, message.strip().splitlines()[-1]))


def readers_during_import(work, empty, package):
    data = os.path.join(work, "readers")
    shutil.copytree(empty, data)
    importing = start(data, "import", package)
    wait_for_storing(importing)
    listing = subprocess.run([CLI, "--data", data, "list"], capture_output=True)
    out = os.path.join(work, "export-during")
    os.mkdir(out)
    exporting = subprocess.run([CLI, "--data", data, "export", "--out", out, "--all"],
                               capture_output=True)
    code, text = finish(importing)
    if code != 0:
        raise SystemExit("the import beside a list and an export failed: " + text)
    if listing.returncode != 0:
        raise SystemExit("list beside an import failed: " + listing.stderr.decode("utf-8", "replace"))
    if exporting.returncode == 0 or "正由命令 xunbao-cli import" not in exporting.stderr.decode():
        raise SystemExit("an export during an import was not refused")
    check_whole(data, RECORDS, "after a list and an export during the import")
    print("list beside an import: %d lines; export refused; the import is whole"
          % len(listing.stdout.splitlines()))


def main():
    work = tempfile.mkdtemp(prefix="xunbao-writers-")
    try:
        packages = [make_package(work, "甲"), make_package(work, "乙")]
        empty = os.path.join(work, "empty")
        cli(empty, "init")
        two_imports(work, empty, packages)
        readers_during_import(work, empty, packages[0])
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
