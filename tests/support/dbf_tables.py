"""The command-line tool and the tables, as the Python tests use them: the tables are read with
python3-dbf, a reader of their own."""

import os
import subprocess

import dbf


def run_cli(cli, data, *args, check=True):
    run = subprocess.run([cli, "--data", data, *args], capture_output=True)
    if check and run.returncode != 0:
        raise SystemExit("%s failed: %s" % (args, run.stderr.decode("utf-8", "replace")))
    return run


def table(data, name):
    for entry in os.listdir(data):
        if entry.lower() == name + ".dbf":
            return dbf.Table(os.path.join(data, entry), codepage="cp936")
    raise SystemExit("no table " + name)


def live_rows(data, name, fields):
    t = table(data, name)
    t.open(dbf.READ_ONLY)
    rows = [tuple(str(r[f]).strip() for f in fields) for r in t if not dbf.is_deleted(r)]
    t.close()
    return rows
