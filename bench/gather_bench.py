#!/usr/bin/python3
"""Gathering many packages into PostgreSQL against a plain COPY of the same rows.

Makes PACKAGES packages of 100 achievements with 10 child rows each (one store written with
python3-dbf, exported by the program, then sent as from PACKAGES organizations), gathers them
into a throw-away cluster with `xunbao-cli gather`, then loads the rows the gather stored, as
COPY text files prepared beforehand, into the same tables of a second database with psql's
\\copy. Prints both times, their ratio, the rates and the gather's peak memory.

Usage: gather_bench.py XUNBAO_CLI [PACKAGES]"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import dbf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "authority"))
from pg_cluster import Cluster  # noqa: E402

CLI = sys.argv[1]
PACKAGES = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
RECORDS = 100
CHILDREN = {"cgwcr": 4, "cgwcdw": 3, "jdwyhmd": 2, "zlqk": 1}
TABLES = ("kjcg", "cgwcdw", "cgwcr", "jdwyhmd", "zlqk")
FILES = ["KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT",
         "EXPERT.TXT"]


def table(data, name):
    for entry in os.listdir(data):
        if entry.lower() == name + ".dbf":
            return dbf.Table(os.path.join(data, entry), codepage="cp936")
    raise SystemExit("no table " + name)


def template(work):
    """The exported text files of one organization's 100 achievements, organization code
    ORGXXXX in the texts."""
    data = os.path.join(work, "store")
    subprocess.run([CLI, "--data", data, "init"], check=True, capture_output=True)
    unit = table(data, "unit")
    unit.open(dbf.READ_WRITE)
    unit.append({"item_9": "单位ORGXXXX", "item_420": "ORGXXXX", "item_64": "11"})
    unit.close()
    tables = {name: table(data, name) for name in TABLES}
    for t in tables.values():
        t.open(dbf.READ_WRITE)
    for i in range(RECORDS):
        number = "2024%06d" % (i + 1)
        tables["kjcg"].append({
            "item_4": number, "item_dqdm": ".", "item_cglb": str(1 + i % 3),
            "item_3": "一种基于数据汇总的科技成果登记方法%d" % i, "item_9": "单位ORGXXXX",
            "item_2": str(1 + i % 6), "item_15": "11011", "item_149": 120.5 + i,
            "item_121": dbf.Date(2024, 1 + i % 12, 1 + i % 28),
            "item_13_1": "本成果研究了科技成果登记数据的汇总与统计方法。" * 6,
            "item_14": "科技成果;登记;汇总;", "item_37": "北京市海淀区中关村大街1号"})
        for name, count in CHILDREN.items():
            for n in range(count):
                row = {"item_4": number, "item_dqdm": "."}
                if name == "cgwcr":
                    row.update({"item_180": "完成人%d" % n, "item_187": n + 1,
                                "item_186": "主持研究工作"})
                elif name == "cgwcdw":
                    row.update({"item_176": n + 1, "item_170": "合作单位%d" % n})
                elif name == "zlqk":
                    row.update({"patent_no": "ZL2024%05d" % i, "patent_nam": "专利%d" % i})
                else:
                    row.update({"item_190": n + 1, "item_191": "评委%d" % n})
                tables[name].append(row)
    for t in tables.values():
        t.close()
    out = os.path.join(work, "template")
    os.mkdir(out)
    subprocess.run([CLI, "--data", data, "export", "--out", out, "--all"], check=True,
                   capture_output=True)
    subprocess.run(["arj", "e", "cgsbqy.arj"], cwd=out, check=True, capture_output=True)
    os.remove(os.path.join(out, "cgsbqy.arj"))
    return {name: open(os.path.join(out, name), "rb").read() for name in FILES}


def make_packages(work, files):
    folder = os.path.join(work, "received")
    for p in range(PACKAGES):
        target = os.path.join(folder, "%04d" % p)
        os.makedirs(target)
        code = b"ORG%04d" % p
        for name, data in files.items():
            with open(os.path.join(target, name), "wb") as f:
                f.write(data.replace(b"ORGXXXX", code))
        subprocess.run(["arj", "a", "cgsbqy.arj", *FILES], cwd=target, check=True,
                       capture_output=True)
        for name in FILES:
            os.remove(os.path.join(target, name))
    return folder


def timed(command):
    """Wall seconds, processor seconds and peak resident memory (MiB) of a child process."""
    started = time.monotonic()
    with tempfile.TemporaryFile() as errors:
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=errors)
        _, status, usage = os.wait4(process.pid, 0)
        seconds = time.monotonic() - started
        if os.waitstatus_to_exitcode(status) != 0:
            errors.seek(0)
            raise SystemExit("%s failed: %s" % (command[:2], errors.read().decode()))
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024


def main():
    work = tempfile.mkdtemp(prefix="xunbao-gather-bench-")
    cluster = Cluster().start()
    try:
        made = time.monotonic()
        folder = make_packages(work, template(work))
        print("made %d packages in %.1f s" % (PACKAGES, time.monotonic() - made))
        cluster.psql("CREATE DATABASE gathered")
        cluster.psql("CREATE DATABASE plain")
        server_before = cluster.cpu_seconds()
        gather_s, gather_cpu, gather_mib = timed([CLI, "gather", "--db",
                                                  cluster.conninfo("gathered"), folder])
        gather_server = cluster.cpu_seconds() - server_before
        counts = {t: int(cluster.rows("SELECT count(*) FROM xunbao.%s" % t, "gathered")[0][0])
                  for t in TABLES}
        # The plain load: the same rows as COPY text files, into the same tables (same indexes
        # and keys) of a second database.
        schema = subprocess.run(["pg_dump", "--schema-only", "-n", "xunbao", "-d",
                                 cluster.conninfo("gathered")], check=True,
                                capture_output=True).stdout
        subprocess.run(["psql", "-X", "-q", "-d", cluster.conninfo("plain")], input=schema,
                       check=True, capture_output=True)
        files = {}
        for t in ("organization", "package") + TABLES:
            files[t] = os.path.join(work, t + ".copy")
            with open(files[t], "wb") as f:
                subprocess.run(["psql", "-X", "-d", cluster.conninfo("gathered"), "-c",
                                "COPY xunbao.%s TO STDOUT" % t], stdout=f, check=True)
        for t in ("organization", "package"):
            subprocess.run(["psql", "-X", "-q", "-d", cluster.conninfo("plain"), "-c",
                            "\\copy xunbao.%s FROM '%s'" % (t, files[t])], check=True)
        plain_s = plain_cpu = 0.0
        server_before = cluster.cpu_seconds()
        for t in TABLES:
            seconds, cpu, _ = timed(["psql", "-X", "-q", "-d", cluster.conninfo("plain"), "-c",
                                     "\\copy xunbao.%s FROM '%s'" % (t, files[t])])
            plain_s += seconds
            plain_cpu += cpu
        plain_server = cluster.cpu_seconds() - server_before
        achievements = counts["kjcg"]
        rows = sum(counts.values())
        print("packages                 %d" % PACKAGES)
        print("achievements / all rows  %d / %d" % (achievements, rows))
        print("gather                   %.1f s  (%.0f achievements/s, %.0f rows/s)" % (
            gather_s, achievements / gather_s, rows / gather_s))
        print("plain COPY               %.1f s  (%.0f rows/s)" % (plain_s, rows / plain_s))
        print("ratio gather / COPY      %.2f" % (gather_s / plain_s))
        print("processor time, gather   %.1f s client (arj included) + %.1f s server" % (
            gather_cpu, gather_server))
        print("processor time, COPY     %.1f s client + %.1f s server; ratio %.2f" % (
            plain_cpu, plain_server, (gather_cpu + gather_server) / (plain_cpu + plain_server)))
        print("load average             %.1f (other work on this machine)" % os.getloadavg()[0])
        print("gather peak memory       %.0f MiB" % gather_mib)
    finally:
        cluster.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
