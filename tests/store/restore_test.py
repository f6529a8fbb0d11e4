#!/usr/bin/python3
"""Backups and restores through the command-line tool, the tables read with python3-dbf.

An import leaves a backup from which a restore gives back the tables before it, byte for byte.
Then a restore is killed (SIGKILL) at random moments: after the next writer opens the data
directory, every backed-up table is as it was before the restore or every one is as restored,
never a mix, and every table reads whole. Export and the start-up pack leave backups that
undo them the same way.

Usage: restore_test.py XUNBAO_CLI [KILLS]"""

import glob
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
TABLES = ("kjcg", "cgwcr", "cgwcdw")


def cli(data, *args):
    return run_cli(CLI, data, *args).stdout.decode()


def fill(data, first, count):
    """Records with a memo and a completer each, written by python3-dbf."""
    kjcg, cgwcr = table(data, "kjcg"), table(data, "cgwcr")
    kjcg.open(dbf.READ_WRITE)
    cgwcr.open(dbf.READ_WRITE)
    for i in range(first, first + count):
        number = "2024%06d" % i
        kjcg.append({"item_4": number, "item_dqdm": ".", "item_cglb": "1",
                     "item_3": "成果%05d" % i, "item_9": "研究所", "item_13": "简介" * 300})
        cgwcr.append({"item_4": number, "item_dqdm": ".", "item_180": "人%05d" % i})
    kjcg.close()
    cgwcr.close()


def files_of(data):
    """The backed-up tables' files, name (lower case) to bytes."""
    out = {}
    for path in glob.glob(os.path.join(data, "*")):
        name = os.path.basename(path).lower()
        if os.path.splitext(name)[0] in TABLES and name[-4:] in (".dbf", ".dbt"):
            with open(path, "rb") as f:
                out[name] = f.read()
    return out


def newest_backup(data, operation):
    folders = sorted(glob.glob(os.path.join(os.path.dirname(data), "backups", "*-" + operation)))
    if not folders:
        raise SystemExit("no backup before " + operation)
    return folders[-1]


def undone_by_restore(data, operation, change):
    """`change` leaves a backup named after `operation` that gives back the tables before it."""
    before = files_of(data)
    change()
    if files_of(data) == before:
        raise SystemExit(operation + " changed nothing")
    cli(data, "restore", newest_backup(data, operation))
    if files_of(data) != before:
        raise SystemExit("the backup before %s did not give back the tables" % operation)


def delete_rows(data, name, count):
    t = table(data, name)
    t.open(dbf.READ_WRITE)
    for record in list(t)[:count]:
        dbf.delete(record)
    t.close()


def main():
    random.seed(int(os.environ.get("XB_KILL_SEED", "20261211")))
    work = tempfile.mkdtemp(prefix="xunbao-restore-")
    try:
        source = os.path.join(work, "source", "data")
        cli(source, "init")
        fill(source, 1, 1500)
        out = os.path.join(work, "out")
        os.mkdir(out)
        cli(source, "export", "--out", out, "--all")

        data = os.path.join(work, "office", "data")
        cli(data, "init")
        fill(data, 5001, 1500)
        before = files_of(data)
        cli(data, "import", os.path.join(out, "cgsbqy.arj"))
        imported = files_of(data)
        if imported == before:
            raise SystemExit("the import changed nothing")
        backup = newest_backup(data, "导入")
        cli(data, "restore", backup)
        if files_of(data) != before:
            raise SystemExit("the restore did not give back the tables before the import")
        print("import, then restore: the tables before the import, byte for byte")

        # The imported state again, then restores killed at random moments.
        cli(data, "restore", newest_backup(data, "恢复前"))
        if files_of(data) != imported:
            raise SystemExit("restoring the state before the restore failed")
        pristine = os.path.join(work, "pristine")
        shutil.copytree(os.path.dirname(data), pristine)
        started = time.monotonic()
        cli(data, "restore", backup)
        window = time.monotonic() - started
        kills = 0
        for attempt in range(KILLS * 5):
            if kills == KILLS:
                break
            shutil.rmtree(os.path.dirname(data))
            shutil.copytree(pristine, os.path.dirname(data))
            process = subprocess.Popen([CLI, "--data", data, "restore", backup],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(random.uniform(0, window))
            process.send_signal(signal.SIGKILL)
            killed = process.wait() == -signal.SIGKILL
            kills += killed
            if not killed:
                window *= 0.8  # a busy machine: the restore ended before the kill
            cli(data, "backup", "--list")  # the next writer finishes or drops the restore
            now = files_of(data)
            if now not in (imported, before):
                mixed = sorted(n for n in now if now[n] != imported.get(n) and
                               now[n] != before.get(n))
                raise SystemExit("kill %d: the tables are neither the state before nor the "
                                 "restored one (%s)" % (attempt, mixed or "a mix of both"))
            records = len(live_rows(data, "kjcg", ("item_4",)))
            if records != (1500 if now == before else 3000):
                raise SystemExit("kill %d: %d records read" % (attempt, records))
        print("%d restores killed; each left the state before or the restored one, whole" % kills)
        if kills < KILLS:
            raise SystemExit("too few restores were killed in time (%d)" % kills)

        # The other bulk changes of the command line: export (it rewrites the export flags)
        # and the pack of deleted rows when a writer opens the directory.
        again = os.path.join(work, "again")
        os.mkdir(again)
        undone_by_restore(data, "导出", lambda: cli(data, "export", "--out", again, "--all"))
        delete_rows(data, "cgwcr", 10)
        undone_by_restore(data, "启动压缩", lambda: cli(data, "backup", "--list"))
        print("export and the start-up pack: undone by their backups, byte for byte")
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
