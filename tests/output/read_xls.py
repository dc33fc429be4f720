#!/usr/bin/python3
"""Prints a BIFF worksheet as JSON, read by xlrd (an independent reader):
{"rows": [[[kind, value], ...], ...]} where kind is xlrd's cell type name."""
import json
import sys

import xlrd

KINDS = {
    xlrd.XL_CELL_EMPTY: "empty",
    xlrd.XL_CELL_TEXT: "text",
    xlrd.XL_CELL_NUMBER: "number",
    xlrd.XL_CELL_DATE: "date",
    xlrd.XL_CELL_BOOLEAN: "bool",
    xlrd.XL_CELL_ERROR: "error",
    xlrd.XL_CELL_BLANK: "blank",
}

book = xlrd.open_workbook(sys.argv[1], formatting_info=False)
sheet = book.sheet_by_index(0)
rows = []
for r in range(sheet.nrows):
    rows.append([[KINDS[c.ctype], c.value] for c in sheet.row(r)])
json.dump({"rows": rows, "encoding": book.encoding}, sys.stdout, ensure_ascii=False)
