#!/usr/bin/python3
"""Prints every live record of the given tables as 'table|record|FIELD|value'
lines, read with python3-dbfread: numbers as n:<%g>, dates as d:CCYYMMDD and
text and memos as s:<hex of the stored bytes>."""
import datetime
import sys

import dbfread


def value_text(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "n:%d" % int(value)
    if isinstance(value, (int, float)):
        return "n:%g" % value
    if isinstance(value, datetime.date):
        return "d:" + value.strftime("%Y%m%d")
    if isinstance(value, str):
        value = value.encode("latin-1")  # read as latin-1: one character per stored byte
    return "s:" + value.hex()


for path in sys.argv[1:]:
    table = dbfread.DBF(path, encoding="latin-1", char_decode_errors="strict")
    for number, record in enumerate(table, start=1):
        for name, value in record.items():
            text = value_text(value)
            if text == "" and table.fields[table.field_names.index(name)].type in "NF":
                text = "n:"
            elif text == "" and table.fields[table.field_names.index(name)].type == "D":
                text = "d:"
            elif text == "":
                text = "s:"
            print("%s|%d|%s|%s" % (path, number, name.upper(), text))
