#!/usr/bin/python3
"""Statistics and spreadsheets over a store of known content, checked against readers of their own:
the tables through python3-dbf, the workbook through openpyxl, the CSV through Python's csv module.
A two-way grouping over chosen years and categories gives every count and sum the tables give;
records of the other years and categories are not counted; the workbook holds numbers as numbers,
dates as dates and labels for codes; an existing file is kept unless --force.

Usage: statistics_test.py XUNBAO_CLI"""

import csv
import datetime
import os
import random
import sys
import tempfile

import dbf
import openpyxl

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dbf_tables import live_rows, run_cli, table  # noqa: E402

CLI = sys.argv[1]
AMOUNTS = ["item_149", "item_141", "item_148", "item_142", "item_143", "item_144", "item_243",
           "item_244", "item_145"]
CATEGORY = {"1": "应用技术", "2": "软科学", "3": "基础理论"}


def fail(message):
    raise SystemExit(message)


def rules(data):
    """The completeness rules: (category group, field, section)."""
    return [(lb, field.lower(), button) for lb, field, button in
            live_rows(data, "checkup", ("lb", "id", "button")) if lb in ("a", "1", "2")]


def fill(data):
    """400 records over four years and three categories; about a third complete."""
    rnd = random.Random(32)
    checks = rules(data)
    kjcg, cgwcr = table(data, "kjcg"), table(data, "cgwcr")
    kjcg.open(dbf.READ_WRITE)
    cgwcr.open(dbf.READ_WRITE)
    kinds = {name.lower(): kjcg.field_info(name).field_type for name in kjcg.field_names}
    records = []
    for i in range(400):
        year = rnd.choice(["2021", "2022", "2023", "2024"])
        category = rnd.choice("123")
        row = {"item_4": "%s%06d" % (year, i + 1), "item_dqdm": ".", "item_cglb": category,
               "item_3": "成果%03d" % i, "item_2": rnd.choice(["1", "2", "3", "4", ""]),
               "item_51_3": rnd.randint(0, 4), "item_51_2": rnd.randint(0, 6)}
        for f in AMOUNTS:
            row[f] = round(rnd.uniform(0, 900), 4) if rnd.random() < 0.8 else 0
        if rnd.random() < 0.5:
            row["item_121"] = datetime.date(int(year), rnd.randint(1, 12), rnd.randint(1, 28))
        group = "1" if category == "1" else "2"
        whole = rnd.random() < 0.35
        for lb, field, _ in checks:
            if lb in ("a", group) and field not in row and (whole or rnd.random() < 0.5):
                kind = kinds[field]
                row[field] = (datetime.date(int(year), 3, 1) if kind == dbf.FieldType.DATE
                              else "文字" if kind == dbf.FieldType.MEMO else "1")
        kjcg.append(row)
        completers = rnd.choice([0, 1, 2, 3]) if not whole else rnd.randint(1, 3)
        for n in range(completers):
            cgwcr.append({"item_4": row["item_4"], "item_dqdm": ".", "item_180": "人%d" % n,
                          "item_187": n + 1})
        records.append(row)
    kjcg.close()
    cgwcr.close()
    return records


def expected(data, years, categories):
    """Counts and sums by (category, level), read back from the tables with python3-dbf."""
    checks = rules(data)
    completers = {}
    for (number,) in live_rows(data, "cgwcr", ("item_4",)):
        completers[number] = completers.get(number, 0) + 1
    t = table(data, "kjcg")
    t.open(dbf.READ_ONLY)
    groups = {}
    for r in t:
        number, category = r["item_4"].strip(), r["item_cglb"].strip()
        if number[:4] not in years or category not in categories:
            continue
        group = "1" if category == "1" else "2"
        complete = completers.get(number, 0) > 0 and all(
            r[f] not in (None, "") and str(r[f]).strip() != ""
            for lb, f, button in checks if lb in ("a", group) and (button != "02" or group == "1"))
        g = groups.setdefault((category, (r["item_2"] or "").strip()),
                              {"count": 0, "amounts": [0.0] * len(AMOUNTS), "granted": 0,
                               "accepted": 0, "completers": 0, "complete": 0})
        g["count"] += 1
        for k, f in enumerate(AMOUNTS):
            g["amounts"][k] += r[f] or 0
        g["granted"] += r["item_51_3"] or 0
        g["accepted"] += r["item_51_2"] or 0
        g["completers"] += completers.get(number, 0)
        g["complete"] += complete
    t.close()
    return groups


def check_two_way(data):
    levels = {code: label for name, code, label in
              live_rows(data, "zdxx", ("zddm", "xxdm", "xxmc")) if name.lower() == "item_2"}
    want = expected(data, {"2022", "2023"}, {"1", "3"})
    out = run_cli(CLI, data, "stats", "--year", "2022,2023", "--category", "1", "--category", "3",
                  "--by", "category,level").stdout.decode("utf-8").splitlines()
    header, rows, total = out[0].split("\t"), [l.split("\t") for l in out[1:-1]], out[-1]
    if header[:5] != ["成果类型", "成果类型代码", "成果水平", "成果水平代码", "成果数"]:
        fail("header: %s" % header)
    got = {(r[1], r[3]): r for r in rows}
    if set(got) != set(want):
        fail("groups %s, expected %s" % (sorted(got), sorted(want)))
    for key, g in want.items():
        r = got[key]
        if r[0] != CATEGORY[key[0]] or r[2] != (levels[key[1]] if key[1] else "（未填）"):
            fail("labels of %s: %s" % (key, r[:4]))
        numbers = [float(x) for x in r[4:-1]]
        expect = [g["count"], *g["amounts"], g["granted"], g["accepted"], g["completers"],
                  g["complete"]]
        if any(abs(a - b) > 1e-6 for a, b in zip(numbers, expect)) or len(numbers) != len(expect):
            fail("%s: %s, expected %s" % (key, numbers, expect))
        if r[-1] != "%.1f%%" % (100.0 * g["complete"] / g["count"]):
            fail("%s: share %s" % (key, r[-1]))
    count = sum(g["count"] for g in want.values())
    if int(total.split("\t")[4]) != count or not total.startswith("合计"):
        fail("total row %s, expected %d records" % (total, count))
    if count == sum(g["count"] for g in expected(data, {"2021", "2022", "2023", "2024"},
                                                  {"1", "2", "3"}).values()):
        fail("the store has no record outside the chosen years and categories")


def check_files(data, work, records):
    book = os.path.join(work, "stats.xlsx")
    run_cli(CLI, data, "stats", "--by", "year,category", "--format", "xlsx", "--out", book)
    wb = openpyxl.load_workbook(book)
    if wb.sheetnames != ["按年份、成果类型统计"]:
        fail("sheet names %s" % wb.sheetnames)
    ws = wb.active
    if ws.freeze_panes != "A2":
        fail("header row not frozen: %s" % ws.freeze_panes)
    first = [c.value for c in ws[2]]
    if first[:3] != ["2021", "应用技术", "1"] or not isinstance(first[3], int):
        fail("first row %s" % first)
    if not all(isinstance(v, (int, float)) for v in first[4:]):
        fail("numbers as text: %s" % first)

    listed = os.path.join(work, "list.xlsx")
    run_cli(CLI, data, "list", "--year", "2023", "--format", "xlsx", "--out", listed)
    ws = openpyxl.load_workbook(listed)["成果列表"]
    head = [c.value for c in ws[1]]
    rows = {r[0]: dict(zip(head, r)) for r in ws.iter_rows(min_row=2, values_only=True)}
    mine = {r["item_4"]: r for r in records if r["item_4"].startswith("2023")}
    if set(rows) != set(mine):
        fail("listed %d records, expected %d" % (len(rows), len(mine)))
    for number, r in mine.items():
        got = rows[number]
        date = got["批准登记日期"]
        if (date.date() if date else None) != r.get("item_121"):
            fail("%s: date %r" % (number, date))
        if not isinstance(got["经费实际投入额（万元）"], (int, float)) or \
                abs(got["经费实际投入额（万元）"] - r["item_149"]) > 1e-6:
            fail("%s: amount %r" % (number, got["经费实际投入额（万元）"]))
        if got["成果类型"] != CATEGORY[r["item_cglb"]] or got["成果类型代码"] != r["item_cglb"]:
            fail("%s: category %s %s" % (number, got["成果类型"], got["成果类型代码"]))

    text = os.path.join(work, "list.csv")
    run_cli(CLI, data, "list", "--year", "2023", "--format", "csv", "--out", text)
    with open(text, "rb") as f:
        if not f.read(3) == b"\xef\xbb\xbf":
            fail("no byte-order mark")
    with open(text, encoding="utf-8-sig", newline="") as f:
        lines = list(csv.reader(f))
    if lines[0][:6] != ["成果管理编号", "成果类型", "成果类型代码", "批准登记号", "批准登记日期",
                        "成果名称"] or {l[0]: l[5] for l in lines[1:]} != \
            {n: r["item_3"] for n, r in mine.items()}:
        fail("csv: %s" % lines[:2])

    # An existing file is kept unless --force.
    before = open(text, "rb").read()
    again = run_cli(CLI, data, "list", "--format", "csv", "--out", text, check=False)
    if again.returncode == 0 or "已经存在" not in again.stderr.decode("utf-8") or \
            open(text, "rb").read() != before:
        fail("an existing file was not kept: %s" % again.stderr.decode("utf-8"))
    run_cli(CLI, data, "list", "--format", "csv", "--out", text, "--force")
    if open(text, "rb").read() == before:
        fail("--force did not replace the file")


def main():
    with tempfile.TemporaryDirectory() as work:
        data = os.path.join(work, "data")
        run_cli(CLI, data, "init")
        records = fill(data)
        check_two_way(data)
        check_files(data, work, records)
    print("statistics and spreadsheets agree with python3-dbf, openpyxl and csv")


main()
