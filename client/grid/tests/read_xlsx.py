#!/usr/bin/env python3
# Reads an exported workbook back with openpyxl and prints its first sheet as JSON:
# one list per row of [value, number format, bold] per cell; dates as ISO text.
import datetime
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = []
for row in sheet.iter_rows():
    cells = []
    for cell in row:
        value = cell.value
        if isinstance(value, (datetime.datetime, datetime.date)):
            value = value.isoformat()
        cells.append([value, cell.number_format, bool(cell.font and cell.font.b)])
    rows.append(cells)
print(json.dumps({"title": sheet.title, "rows": rows}, ensure_ascii=False))
