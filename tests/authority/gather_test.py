#!/usr/bin/python3
"""xunbao-cli gather against a real PostgreSQL server that the test starts in a temporary folder.

Stores of known content are written with python3-dbf, exported by the program itself, and
gathered; what the server holds is compared with what python3-dbf reads from the stores, and
the views with a computation of their own over the same rows.

Usage: gather_test.py XUNBAO_CLI SOURCE_DIR [KILLS]"""

import collections
import decimal
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

import dbf

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pg_cluster import Cluster  # noqa: E402

CLI = sys.argv[1]
SOURCE = sys.argv[2]
KILLS = int(sys.argv[3]) if len(sys.argv) > 3 else 20
ORGANIZATIONS = 49
CHILD_TABLES = ("cgwcdw", "cgwcr", "jdwyhmd", "zlqk")
PROVINCES = ("11", "31", "44", "51")
cluster = None
work = None


def cli(*args, check=True):
    run = subprocess.run([CLI, *args], capture_output=True)
    if check and run.returncode != 0:
        raise AssertionError("%s failed: %s" % (args, run.stderr.decode("utf-8", "replace")))
    return run


def table(data, name):
    for entry in os.listdir(data):
        if entry.lower() == name + ".dbf":
            return dbf.Table(os.path.join(data, entry), codepage="cp936")
    raise AssertionError("no table " + name)


def dbf_rows(data, name):
    """Every live row of a table as {lower-case field: value}."""
    t = table(data, name)
    t.open(dbf.READ_ONLY)
    names = [f.lower() for f in t.field_names]
    rows = [dict(zip(names, (r[f] for f in t.field_names))) for r in t if not dbf.is_deleted(r)]
    t.close()
    return rows


def record(org, i):
    """The fields of achievement i of organization org: texts, a memo over two lines with a TAB
    and a leading quote, amounts, a date, codes; every fifth name is shared with the next
    organization's, under the same first completing organization, as a duplicate."""
    shared = i % 5 == 0
    return {
        "item_4": "%d%06d" % (2022 + i % 3, i + 1), "item_dqdm": ".",
        "item_cglb": str(1 + i % 3), "item_2": str(1 + (org + i) % 6),
        "item_3": ("共同成果%d" % i) if shared else ("成果%02d-%d" % (org, i)),
        "item_9": "联合研究院" if shared else ("单位%02d" % org),
        "item_15": ("110", "11011", "120", "")[i % 4], "item_149": org + i + 0.25,
        "item_45": i, "item_121": dbf.Date(2020 + i % 4, 1 + i % 12, 1 + org % 28),
        "item_13_1": '"引号开头\t含TAB\\反斜线\r\n第二行 %d' % org, "item_51_2": i % 3,
        "item_sjdc": "1", "item_14": "关键词;测试;", "tlinkmanem": "x@example.org",
    }


def children(org, i):
    return {"cgwcdw": (org + i) % 3, "cgwcr": i % 3 + 1, "jdwyhmd": i % 2, "zlqk": (i + 1) % 2}


def fill_store(data, org, records, renamed=(), memo=True):
    """A data directory with `records` achievements of organization org."""
    empty = os.path.join(work, "empty")
    if not os.path.isdir(empty):
        cli("--data", empty, "init")
    shutil.copytree(empty, data)
    unit = table(data, "unit")
    unit.open(dbf.READ_WRITE)
    unit.append({"item_9": "单位%02d" % org, "item_420": "ORG%02d-X" % org,
                 "item_64": PROVINCES[org % len(PROVINCES)], "unitintrod": "简介\r\n%d" % org})
    unit.close()
    kjcg = table(data, "kjcg")
    kjcg.open(dbf.READ_WRITE)
    tables = {name: table(data, name) for name in CHILD_TABLES}
    for t in tables.values():
        t.open(dbf.READ_WRITE)
    for i in records:
        fields = record(org, i)
        if i in renamed:
            fields["item_3"] = "新名称%02d-%d" % (org, i)
        if not memo:
            del fields["item_13_1"]
        kjcg.append(fields)
        for name, count in children(org, i).items():
            for n in range(count):
                row = {"item_4": fields["item_4"], "item_dqdm": "."}
                if name == "cgwcr":
                    row.update({"item_180": "人%02d_%d_%d" % (org, i, n), "item_187": n + 1,
                                "item_188": "1" if n == 0 else "", "item_no": n + 7})
                elif name == "cgwcdw":
                    row.update({"item_176": n + 1, "item_170": "合作单位%d" % n})
                elif name == "zlqk":
                    row.update({"patent_no": "ZL%d" % i, "patent_nam": "专利%d" % i})
                else:
                    row.update({"item_190": n + 1, "item_191": "评委%d" % n})
                tables[name].append(row)
    kjcg.close()
    for t in tables.values():
        t.close()


def export(data, package):
    out = tempfile.mkdtemp(dir=work)
    cli("--data", data, "export", "--out", out, "--all")
    os.makedirs(os.path.dirname(package), exist_ok=True)
    shutil.move(os.path.join(out, "cgsbqy.arj"), package)
    shutil.rmtree(out)


def org_records(org):
    return range(1 + org % 4)


def make_folder():
    """49 good packages, one folder per organization, and a damaged one whose KJCG.TXT holds a
    text in a number field."""
    folder = os.path.join(work, "received")
    stores = {}
    for org in range(ORGANIZATIONS):
        data = os.path.join(work, "store%02d" % org)
        fill_store(data, org, org_records(org))
        export(data, os.path.join(folder, "org%02d" % org, "cgsbqy.arj"))
        stores[org] = data
    damaged = os.path.join(work, "damaged")
    fill_store(damaged, 99, range(2), memo=False)
    export(damaged, os.path.join(damaged, "cgsbqy.arj"))
    subprocess.run(["arj", "e", "cgsbqy.arj"], cwd=damaged, check=True, capture_output=True)
    with open(os.path.join(damaged, "KJCG.TXT"), "rb") as f:
        lines = f.read().split(b"\r\n")
    position = [f.lower() for f in table(damaged, "kjcg").field_names].index("item_149")
    values = lines[1].split(b"\t")
    values[position] = b"abc"
    lines[1] = b"\t".join(values)
    with open(os.path.join(damaged, "KJCG.TXT"), "wb") as f:
        f.write(b"\r\n".join(lines))
    os.remove(os.path.join(damaged, "cgsbqy.arj"))
    subprocess.run(["arj", "a", "cgsbqy.arj", "KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT",
                    "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT", "EXPERT.TXT"], cwd=damaged,
                   check=True, capture_output=True)
    os.makedirs(os.path.join(folder, "org99"))
    shutil.move(os.path.join(damaged, "cgsbqy.arj"), os.path.join(folder, "org99", "cgsbqy.arj"))
    return folder, stores, position + 1


def gather(database, *inputs, check=False):
    return cli("gather", "--db", cluster.conninfo(database), *inputs, check=check)


def column_types(database, name):
    return {r[0]: r[1] for r in cluster.rows(
        "SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = "
        "'xunbao' AND table_name = '%s'" % name, database)}


def normal(value, kind):
    """A value from either side in one form: texts without trailing blanks, numbers as Decimal,
    dates as yyyy-mm-dd; empty is None."""
    if value is None:
        return None
    if kind == "numeric" or kind == "integer":
        if isinstance(value, str) and not value.strip():
            return None
        return decimal.Decimal(str(value)).normalize()
    if kind == "date":
        return value if isinstance(value, str) else (value.isoformat() if value else None)
    text = str(value).rstrip()
    return text or None


def expected_value(name, field, row):
    """What a field holds after export and gathering, by the rules of the exchange files."""
    if name == "kjcg" and field == "tlinkmanem":
        return None  # the last field is not written
    if name == "kjcg" and field == "item_sjdc":
        return "0"
    if name == "cgwcr" and field == "item_no":
        return None  # the last field is not written
    if name == "cgwcr" and field == "item_188":
        return "1" if str(row[field]).strip() == "1" else "0"
    return row[field]


def server_rows(database, name, organization_key):
    types = column_types(database, name)
    columns = [c for c in types if c not in ("package_id", "organization_id")]
    join = "JOIN xunbao.package p ON p.id = t.package_id JOIN xunbao.organization o ON " \
           "o.id = p.organization_id"
    rows = cluster.rows("SELECT %s FROM xunbao.%s t %s WHERE o.org_key = '%s'" % (
        ", ".join('t."%s"' % c for c in columns), name, join, organization_key), database)
    return sorted((tuple(normal(v, types[c]) for v, c in zip(r, columns)) for r in rows),
                  key=repr), columns, types


def store_rows(data, name, columns, types):
    rows = dbf_rows(data, name)
    return sorted((tuple(normal(expected_value(name, c, r), types[c]) for c in columns)
                   for r in rows), key=repr)


def table_dump(database):
    return {name: sorted(map(tuple, cluster.rows(
        "SELECT * FROM xunbao.%s" % name, database))) for name in ("package", "kjcg") +
        CHILD_TABLES}


def setUpModule():
    global cluster, work, FOLDER, STORES, DAMAGED_ITEM
    work = tempfile.mkdtemp(prefix="xunbao-gather-")
    cluster = Cluster(durable=False).start()
    FOLDER, STORES, DAMAGED_ITEM = make_folder()


def tearDownModule():
    cluster.stop()
    shutil.rmtree(work, ignore_errors=True)


class GatherFolder(unittest.TestCase):
    """One folder gathered into a fresh database: rows, refusal, again, newer package, views."""

    @classmethod
    def setUpClass(cls):
        cluster.psql("CREATE DATABASE folder")
        cls.first = gather("folder", FOLDER)

    def test_every_row_and_field_equals_the_stores(self):
        for org, data in STORES.items():
            for name in ("kjcg",) + CHILD_TABLES:
                got, columns, types = server_rows("folder", name, "ORG%02d-X" % org)
                self.assertEqual(got, store_rows(data, name, columns, types),
                                 "%s of organization %d" % (name, org))
        units = cluster.rows("SELECT org_key, item_9, item_64, unitintrod FROM "
                             "xunbao.organization ORDER BY org_key", "folder")
        self.assertEqual(len(units), ORGANIZATIONS)
        self.assertEqual(units[3], ["ORG03-X", "单位03", PROVINCES[3], "简介\r\n3"])

    def test_the_damaged_package_is_refused_and_the_others_are_in(self):
        out = self.first.stdout.decode("utf-8")
        self.assertEqual(self.first.returncode, 1)
        refused = [line for line in out.splitlines() if line.startswith("被拒绝")]
        self.assertEqual(len(refused), 1, out)
        self.assertIn("org99", refused[0])
        self.assertIn("文件 KJCG.TXT 第 2 行第 %d 项“abc”不是数字" % DAMAGED_ITEM, refused[0])
        self.assertEqual(out.count("已汇总\t"), ORGANIZATIONS)
        self.assertEqual(cluster.rows("SELECT count(*) FROM xunbao.package", "folder"),
                         [[str(ORGANIZATIONS)]])
        self.assertEqual(cluster.rows("SELECT count(*) FROM xunbao.organization WHERE "
                                      "org_key = 'ORG99-X'", "folder"), [["0"]])

    def test_gathering_again_changes_nothing(self):
        before = table_dump("folder")
        again = gather("folder", FOLDER)
        out = again.stdout.decode("utf-8")
        self.assertEqual(out.count("已跳过\t"), ORGANIZATIONS, out)
        self.assertEqual(out.count("被拒绝\t"), 1)
        self.assertEqual(table_dump("folder"), before)

    def test_views_equal_a_computation_over_the_stores(self):
        with open(os.path.join(SOURCE, "install/rows/province.tsv"), encoding="utf-8") as f:
            provinces = dict(line.split("\t") for line in f.read().splitlines()[1:]
                             if line and not line.startswith("#"))
        levels = {"1": "国际领先", "2": "国际先进", "3": "国内领先", "4": "国内先进",
                  "5": "国内一般", "6": "未评价"}
        counts = {v: collections.defaultdict(lambda: [0, decimal.Decimal(0)]) for v in (
            "by_province", "by_organization", "by_year", "by_category", "by_level",
            "by_discipline")}
        names = collections.defaultdict(list)
        for org, data in STORES.items():
            province = PROVINCES[org % len(PROVINCES)]
            for r in dbf_rows(data, "kjcg"):
                keys = {"by_province": (province, provinces[province]),
                        "by_organization": ("ORG%02d-X" % org, "单位%02d" % org),
                        "by_year": (r["item_4"].strip()[:4],),
                        "by_category": (r["item_cglb"].strip(),),
                        "by_level": (r["item_2"].strip(), levels[r["item_2"].strip()]),
                        "by_discipline": (r["item_15"].strip()[:3],)}
                for view, key in keys.items():
                    counts[view][key][0] += 1
                    counts[view][key][1] += decimal.Decimal(str(r["item_149"]))
                names[(r["item_3"].strip(), r["item_9"].strip())].append(org)
        for view, expected in counts.items():
            got = {}
            for row in cluster.rows("SELECT * FROM xunbao." + view, "folder"):
                key = tuple(row[:-2]) if view not in ("by_year", "by_category",
                                                      "by_discipline") else (row[0],)
                got[key] = [int(row[-2]), decimal.Decimal(row[-1])]
            self.assertEqual(got, {k: v for k, v in expected.items()}, view)
        duplicates = {(r[0], r[1]): (int(r[2]), int(r[3])) for r in cluster.rows(
            "SELECT * FROM xunbao.duplicates", "folder")}
        self.assertEqual(duplicates, {k: (len(v), len(set(v))) for k, v in names.items()
                                      if len(v) > 1})
        self.assertTrue(duplicates)

    def test_a_password_on_the_command_line_is_refused(self):
        run = cli("gather", "--db", cluster.conninfo("folder") + " password=secret", FOLDER,
                  check=False)
        self.assertEqual(run.returncode, 1)
        self.assertIn("数据库地址中不能写口令", run.stderr.decode("utf-8"))

    def test_report_files(self):
        csv_path = os.path.join(work, "report.csv")
        xlsx_path = os.path.join(work, "report.xlsx")
        cli("gather", "--db", cluster.conninfo("folder"), "--report", csv_path)
        cli("gather", "--db", cluster.conninfo("folder"), "--report", xlsx_path)
        with open(csv_path, encoding="utf-8-sig", newline="") as f:
            text = f.read()
        self.assertIn("重复报送的成果\r\n成果名称,第一完成单位", text)
        self.assertIn("共同成果0,联合研究院", text)
        with zipfile.ZipFile(xlsx_path) as book:
            self.assertIn("按省市统计", book.read("xl/workbook.xml").decode("utf-8"))
            self.assertIn("北京市", book.read("xl/worksheets/sheet1.xml").decode("utf-8"))

    def test_z_a_newer_package_replaces_the_organizations_records(self):
        # Organization 7 sends its four records again, one renamed, and one more record.
        org = 7
        data = os.path.join(work, "newer")
        fill_store(data, org, range(5), renamed=(2,))
        package = os.path.join(work, "newer", "again", "cgsbqy.arj")
        export(data, package)
        run = gather("folder", package, check=True)
        out = run.stdout.decode("utf-8")
        self.assertIn("取代本单位先前报送的同编号成果 4 项", out)
        for name in ("kjcg",) + CHILD_TABLES:
            got, columns, types = server_rows("folder", name, "ORG%02d-X" % org)
            self.assertEqual(got, store_rows(data, name, columns, types), name)
        self.assertEqual(cluster.rows(
            "SELECT achievements, replaced FROM xunbao.package ORDER BY id DESC LIMIT 1",
            "folder"), [["5", "4"]])


class KilledGather(unittest.TestCase):
    """A gather killed at a random moment leaves only whole packages."""

    def test_kills(self):
        random.seed(int(os.environ.get("XB_KILL_SEED", "20261211")))
        cluster.psql("CREATE DATABASE killed")
        expected = {}
        for org, data in STORES.items():
            expected["ORG%02d-X" % org] = [len(dbf_rows(data, name)) for name in
                                           ("kjcg",) + CHILD_TABLES]
        started = time.monotonic()
        gather("killed", FOLDER)
        window = time.monotonic() - started
        killed = 0
        for attempt in range(KILLS):
            cluster.psql("DROP SCHEMA IF EXISTS xunbao CASCADE", "killed")
            process = subprocess.Popen([CLI, "gather", "--db", cluster.conninfo("killed"),
                                        FOLDER], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(random.uniform(0, window))
            process.send_signal(signal.SIGKILL)
            process.wait()
            killed += process.returncode == -signal.SIGKILL
            exists = cluster.rows("SELECT count(*) FROM information_schema.tables WHERE "
                                  "table_schema = 'xunbao' AND table_name = 'package'",
                                  "killed")
            if exists != [["1"]]:
                continue
            counts = cluster.rows(
                "SELECT o.org_key, (SELECT count(*) FROM xunbao.kjcg k WHERE k.package_id = "
                "p.id)" + "".join(", (SELECT count(*) FROM xunbao.%s c WHERE c.package_id = "
                                  "p.id)" % name for name in CHILD_TABLES) +
                " FROM xunbao.package p JOIN xunbao.organization o ON o.id = "
                "p.organization_id", "killed")
            for row in counts:
                self.assertEqual([int(n) for n in row[1:]], expected[row[0]],
                                 "kill %d: package of %s is not whole" % (attempt, row[0]))
            orphans = cluster.rows("SELECT count(*) FROM xunbao.kjcg WHERE package_id NOT IN "
                                   "(SELECT id FROM xunbao.package)", "killed")
            self.assertEqual(orphans, [["0"]])
        self.assertGreaterEqual(killed, KILLS // 2, "too few gathers were killed in time")
        # What the kills left is completed by the next gather.
        gather("killed", FOLDER)
        self.assertEqual(cluster.rows("SELECT count(*) FROM xunbao.package", "killed"),
                         [[str(ORGANIZATIONS)]])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
