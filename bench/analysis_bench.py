#!/usr/bin/python3
"""Statistics, spreadsheets and the duplicate finder on 50,000 records: wall time and peak memory
of each xunbao-cli command, as a table. The records (with two completers each) are written by
python3-dbf into a throw-away data directory.

Usage: analysis_bench.py XUNBAO_CLI [RECORDS]"""

import os
import random
import subprocess
import sys
import tempfile
import time

import dbf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
from dbf_tables import table  # noqa: E402

CLI = sys.argv[1]
RECORDS = int(sys.argv[2]) if len(sys.argv) > 2 else 50000
WORDS = ["黄河流域", "水稻", "高效育种", "关键技术", "研究", "智能监测", "复合材料", "示范", "城市",
         "污水", "节能", "系统", "装备", "研制", "风险评估", "数值模拟", "高速铁路", "桥梁"]


def run(*args):
    """Seconds and peak resident memory (MiB) of one command."""
    start = time.monotonic()
    child = subprocess.Popen([CLI, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        raise SystemExit("%s failed" % (args,))
    return time.monotonic() - start, usage.ru_maxrss / 1024


def main():
    rnd = random.Random(50)
    with tempfile.TemporaryDirectory() as work:
        data = os.path.join(work, "data")
        subprocess.run([CLI, "--data", data, "init"], check=True, capture_output=True)
        kjcg, cgwcr = table(data, "kjcg"), table(data, "cgwcr")
        kjcg.open(dbf.READ_WRITE)
        cgwcr.open(dbf.READ_WRITE)
        for i in range(RECORDS):
            number = "%d%06d" % (2015 + i % 10, i + 1)
            kjcg.append({"item_4": number, "item_dqdm": ".", "item_cglb": rnd.choice("123"),
                         "item_3": "".join(rnd.sample(WORDS, 5)), "item_2": rnd.choice("1234"),
                         "item_9": "研究所%d" % rnd.randint(1, 200),
                         "item_149": rnd.uniform(0, 900), "item_141": rnd.uniform(0, 300)})
            for n in range(2):
                cgwcr.append({"item_4": number, "item_dqdm": ".", "item_180": "人%d" % n,
                              "item_187": n + 1})
        kjcg.close()
        cgwcr.close()
        rows = [
            ("stats --by year,category", ("stats", "--by", "year,category")),
            ("stats --by organization,level --format xlsx",
             ("stats", "--by", "organization,level", "--format", "xlsx", "--out",
              os.path.join(work, "s.xlsx"))),
            ("list --format tsv", ("list", "--format", "tsv")),
            ("list --format csv", ("list", "--format", "csv", "--out",
                                   os.path.join(work, "l.csv"))),
            ("list --format xlsx", ("list", "--format", "xlsx", "--out",
                                    os.path.join(work, "l.xlsx"))),
            ("duplicates", ("duplicates",)),
        ]
        print("%-46s %10s %12s" % ("command (%d records)" % RECORDS, "seconds", "peak MiB"))
        for label, args in rows:
            seconds, mib = run("--data", data, *args)
            print("%-46s %10.2f %12.1f" % (label, seconds, mib))


main()
