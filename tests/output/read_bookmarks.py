#!/usr/bin/env python3
"""Reads a Word document with python-docx, independently of the program, and prints one JSON
object: every bookmark's name with the text inside it (a paragraph break inside shows as CR),
"__duplicates__", the names that occur more than once, "__sizes__", the font size in half
points of the first run inside each bookmark that has one, "__text__", the text of every
paragraph, one a line, and "__splittable__", the bookmarks in table rows that may break across
pages."""
import json
import sys

import docx
from docx.oxml.ns import qn

document = docx.Document(sys.argv[1])
texts, open_ids, names, duplicates, sizes = {}, {}, set(), [], {}
for element in document.element.body.iter():
    if element.tag == qn("w:bookmarkStart"):
        name = element.get(qn("w:name"))
        if name in names:
            duplicates.append(name)
        names.add(name)
        open_ids[element.get(qn("w:id"))] = name
        texts[name] = ""
    elif element.tag == qn("w:bookmarkEnd"):
        open_ids.pop(element.get(qn("w:id")), None)
    elif element.tag == qn("w:p"):
        for name in open_ids.values():
            texts[name] += "\r"
    elif element.tag == qn("w:r"):
        size = element.find(qn("w:rPr") + "/" + qn("w:sz"))
        for name in open_ids.values():
            if name not in sizes and size is not None:
                sizes[name] = size.get(qn("w:val"))
    elif element.tag == qn("w:t"):
        for name in open_ids.values():
            texts[name] += element.text or ""
paragraphs = []
for p in document.element.body.iter(qn("w:p")):
    paragraphs.append("".join(t.text or "" for t in p.iter(qn("w:t"))))
splittable = []
for row in document.element.body.iter(qn("w:tr")):
    if row.find(qn("w:trPr") + "/" + qn("w:cantSplit")) is None:
        splittable += [b.get(qn("w:name")) for b in row.iter(qn("w:bookmarkStart"))]
texts["__text__"] = "\n".join(paragraphs)
texts["__splittable__"] = splittable
texts["__duplicates__"] = duplicates
texts["__sizes__"] = sizes
json.dump(texts, sys.stdout, ensure_ascii=False)
