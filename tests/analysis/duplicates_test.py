#!/usr/bin/python3
"""The duplicate finder on 5,000 records with 20 planted near-duplicates of other years: blanks
inserted, digits written full-width, punctuation added, one character changed. Every planted pair
is found; how many other pairs it reports at the default threshold is printed.

Usage: duplicates_test.py XUNBAO_CLI"""

import os
import random
import sys
import tempfile

import dbf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dbf_tables import run_cli, table  # noqa: E402

CLI = sys.argv[1]
PLACES = ["黄河流域", "长江中下游", "东北黑土区", "西南山区", "沿海滩涂", "城市污水处理厂", "高速铁路",
          "大型桥梁", "深部煤层", "稀土矿区", "设施农业", "黄土高原", "青藏高原", "珠江三角洲",
          "南方丘陵", "华北平原", "西北干旱区", "城市轨道交通", "特高压电网", "海上风电场"]
OBJECTS = ["水稻", "小麦", "玉米", "大豆", "棉花", "茶树", "生猪", "奶牛", "淡水鱼", "果树",
           "复合材料", "锂离子电池", "光伏组件", "工业机器人", "传感器网络", "数控机床", "钢结构",
           "沥青路面", "地下水", "土壤重金属"]
METHODS = ["高效育种", "智能监测", "精准调控", "绿色防控", "数值模拟", "风险评估", "健康诊断",
           "快速检测", "节能降耗", "循环利用", "安全预警", "寿命预测", "优化设计", "低成本制备"]
ENDS = ["关键技术研究", "关键技术研究与应用", "技术集成与示范", "系统研发及产业化", "机理与方法研究",
        "技术体系构建", "装备研制", "新技术推广"]
QUANTITIES = ["年产10万吨", "500kV", "3000米级", "第3代", "20MW", "100万亩"]
UNITS = ["农业科学院", "理工大学", "环境研究所", "建筑设计研究院", "电力科学研究院", "水利研究中心"]
SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚"


def base_names(rnd, count):
    names = set()
    while len(names) < count:
        name = rnd.choice(PLACES) + rnd.choice(OBJECTS) + rnd.choice(METHODS) + rnd.choice(ENDS)
        if rnd.random() < 0.15:
            name = rnd.choice(QUANTITIES) + name
        names.add(name)
    return sorted(names)


def full_width(text):
    return "".join(chr(ord(c) + 0xFEE0) if c.isascii() and c.isalnum() else c for c in text)


def variants(rnd, names):
    """20 planted copies: (original index, copy name), five of each kind."""
    with_digits = [i for i, n in enumerate(names) if any(c.isdigit() for c in n)]
    others = [i for i in range(len(names)) if i not in set(with_digits)]
    picks = rnd.sample(with_digits, 5) + rnd.sample(others, 15)
    planted = []
    for k, i in enumerate(picks):
        name = names[i]
        if k < 5:
            copy = full_width(name)
        elif k < 10:
            cut = len(name) // 3
            copy = name[:cut] + " " + name[cut:2 * cut] + "\u3000" + name[2 * cut:] + " "
        elif k < 15:
            copy = "《" + name[:len(name) // 2] + "——" + name[len(name) // 2:] + "》。"
        else:
            at = len(name) // 2
            copy = name[:at] + ("新" if name[at] != "新" else "旧") + name[at + 1:]
        planted.append((i, copy))
    return planted


def main():
    rnd = random.Random(5000)
    names = base_names(rnd, 4980)
    planted = variants(rnd, names)
    with tempfile.TemporaryDirectory() as work:
        data = os.path.join(work, "data")
        run_cli(CLI, data, "init")
        kjcg, cgwcr = table(data, "kjcg"), table(data, "cgwcr")
        kjcg.open(dbf.READ_WRITE)
        cgwcr.open(dbf.READ_WRITE)
        numbers = []
        rows = [(name, 2023) for name in names] + [(copy, 2024) for _, copy in planted]
        for i, (name, year) in enumerate(rows):
            number = "%d%06d" % (year, i + 1)
            numbers.append(number)
            kjcg.append({"item_4": number, "item_dqdm": ".", "item_cglb": rnd.choice("123"),
                         "item_3": name, "item_9": rnd.choice(PLACES[:8]) + rnd.choice(UNITS)})
            cgwcr.append({"item_4": number, "item_dqdm": ".", "item_187": 1,
                          "item_180": rnd.choice(SURNAMES) + rnd.choice(GIVEN)})
        kjcg.close()
        cgwcr.close()
        out = run_cli(CLI, data, "duplicates").stdout.decode("utf-8").splitlines()
    head = out[0].split("\t")
    first, second, why = head.index("甲成果管理编号"), head.index("乙成果管理编号"), head.index("依据")
    found = {}
    for line in out[1:]:
        cells = line.split("\t")
        found[frozenset((cells[first], cells[second]))] = cells[why]
    wanted = {frozenset((numbers[i], numbers[len(names) + k])) for k, (i, _) in enumerate(planted)}
    missed = [sorted(p) for p in wanted if found.get(p) != "名称相似"]
    if missed:
        raise SystemExit("planted pairs not found by their names: %s" % missed)
    alike = sum(1 for p, w in found.items() if p not in wanted and w == "名称相似")
    team = sum(1 for w in found.values() if w != "名称相似")
    print("all 20 planted pairs found among %d records; other pairs: %d with names at least 0.8 "
          "alike, %d of one organization and first completer" % (len(rows), alike, team))


main()
