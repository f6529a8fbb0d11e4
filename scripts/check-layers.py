#!/usr/bin/env python3
"""Fails when a source file includes from a higher layer, or when feature folders include each
other in a cycle. Layers, lowest first: store, ui, forms, the feature folders, analysis and authority,
app."""
import pathlib
import re
import sys

LEVEL = {"store": 0, "ui": 1, "forms": 2, "records": 3, "pages": 3, "parties": 3,
         "exchange": 3, "output": 3, "analysis": 4, "authority": 4,
         "app": 5}
root = pathlib.Path(__file__).resolve().parent.parent / "src"
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

faults = []
edges = {}  # feature folder -> feature folders it includes
for path in sorted(root.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    folder = path.relative_to(root).parts[0]
    if folder not in LEVEL:
        faults.append(f"{path.relative_to(root)}: folder '{folder}' has no layer")
        continue
    for target in include.findall(path.read_text(encoding="utf-8")):
        parts = target.split("/")
        other = parts[0] if len(parts) > 1 and parts[0] in LEVEL else folder
        if LEVEL[other] > LEVEL[folder]:
            faults.append(f"{path.relative_to(root)}: includes \"{target}\" from the higher "
                          f"layer '{other}'")
        elif LEVEL[other] == LEVEL[folder] == 3 and other != folder:
            edges.setdefault(folder, set()).add(other)


def reaches(start, goal, seen=()):
    return any(n == goal or (n not in seen and reaches(n, goal, seen + (n,)))
               for n in edges.get(start, ()))


for folder, targets in sorted(edges.items()):
    for other in sorted(targets):
        if reaches(other, folder):
            faults.append(f"feature folders '{folder}' and '{other}' include each other")

for fault in faults:
    print(fault, file=sys.stderr)
sys.exit(1 if faults else 0)
