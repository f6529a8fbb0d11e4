"""Writes dictionary tables as another dBASE program would (the python3-dbf package), so that the
dictionary update is tried on files that did not come from our own engine.

write PATH FIELDS TYPE ROWS    FIELDS as python3-dbf declares them ("XXDM C(20); XXMC C(120)"),
                               TYPE db3 or vfp (Visual FoxPro), ROWS a JSON list of rows of texts
"""
import json
import sys

import dbf


def write(path, fields, dbf_type, rows):
    table = dbf.Table(path, fields, codepage='cp936', dbf_type=dbf_type)
    table.open(dbf.READ_WRITE)
    for row in json.loads(rows):
        table.append(tuple(row))
    table.close()


if __name__ == '__main__':
    if sys.argv[1] != 'write':
        sys.exit('unknown command ' + sys.argv[1])
    write(*sys.argv[2:6])
