"""An independent dBASE reader and writer (the python3-dbf package) for the engine's tests.

read PATH          print every row as one JSON list per line (text, numbers, dates as yyyy-mm-dd)
write PATH         create a dBASE III table with a memo, GBK text and one row of each kind
vfp PATH FIELDS ROW  create a Visual FoxPro table (.fpt memos) with the declared FIELDS and a row,
                   given as a JSON object of field name to text
"""
import json
import sys

import dbf


def as_json(value):
    if value is None:
        return None
    if isinstance(value, (dbf.Date, )) or hasattr(value, 'strftime'):
        return value.strftime('%Y-%m-%d') if value else None
    if isinstance(value, str):
        return value.rstrip()
    if isinstance(value, bool):
        return value
    if isinstance(value, (int, float)):
        return float(value)
    return str(value)


def read(path):
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    print(json.dumps({'codepage': table.codepage.name, 'fields': list(table.field_names)}, ensure_ascii=False))
    for record in table:
        if dbf.is_deleted(record):
            continue
        print(json.dumps([as_json(v) for v in record], ensure_ascii=False))
    table.close()


def write(path):
    table = dbf.Table(path, 'ITEM_4 C(10); ITEM_3 C(140); ITEM_13 M; ITEM_45 N(18,4); ITEM_121 D; FLAG L',
                      codepage='cp936', dbf_type='db3')
    table.open(dbf.READ_WRITE)
    table.append(('2024000001', '国产大型客机研制', '第一行\r\n第二行', 12.5, dbf.Date(2024, 2, 29), True))
    table.append(('2024000002', '', '', None, None, False))
    table.append(('2024000003', '将被删除', 'x', 1, None, False))
    dbf.delete(table[2])
    table.close()


def vfp(path, fields, row):
    table = dbf.Table(path, fields, codepage='cp936', dbf_type='vfp')
    table.open(dbf.READ_WRITE)
    table.append({name.lower(): value for name, value in json.loads(row).items()})
    table.close()


if __name__ == '__main__':
    {'read': read, 'write': write, 'vfp': vfp}[sys.argv[1]](*sys.argv[2:])
