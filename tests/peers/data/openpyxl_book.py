#!/usr/bin/python3
"""Peer helper for the spreadsheet tests.

  openpyxl_book.py write PATH   writes a workbook with openpyxl: inline and shared strings, numbers,
                                a date, booleans, a formula with its cached value, empty cells and rows,
                                non-ASCII text and eleven sheets.
  openpyxl_book.py read PATH    prints every sheet of a workbook as JSON: {sheet title: [[cell, ...], ...]}.
  openpyxl_book.py read-unescaped PATH   the same, texts passed through openpyxl's own "_xHHHH_" decoder.
"""
import datetime
import json
import re
import sys
import zipfile

import openpyxl


def write(path):
    book = openpyxl.Workbook()
    people = book.active
    people.title = "People"
    people.append(["Name", "Age", "Born", "Member", "Total", "Note"])
    people.append(["Zoë Ångström", 42, datetime.date(2024, 3, 15), True, "=B2*2", "日本語 ok"])
    people.append(["Bob", 7.5, datetime.date(1999, 12, 31), False, "=B3*2", None])
    # Row 4 stays empty; row 5 has a gap in column B.
    people.append([])
    people["A5"] = "after blank"
    people["C5"] = -3
    shared = book.create_sheet("Shared")
    shared.append(["City", "Code"])
    shared.append(["Oslo", "N-1"])
    shared.append(["Oslo", "<&>"])
    for n in range(3, 12):
        book.create_sheet("S%d" % n)["A1"] = "sheet %d" % n
    book.save(path)
    patch(path)


def patch(path):
    """openpyxl writes inline strings and formulas without results: give sheet 2 a shared-string table
    (one rich-text item first) and the formulas their cached values, as a spreadsheet program would, and
    store the parts as other programs store them."""
    with zipfile.ZipFile(path) as source:
        parts = {name: source.read(name) for name in source.namelist()}
    sheet1 = parts["xl/worksheets/sheet1.xml"].decode()
    sheet1 = sheet1.replace("<f>B2*2</f><v></v>", "<f>B2*2</f><v>84</v>")
    sheet1 = sheet1.replace("<f>B3*2</f><v></v>", "<f>B3*2</f><v>15</v>")
    parts["xl/worksheets/sheet1.xml"] = sheet1.encode()

    sheet2 = parts["xl/worksheets/sheet2.xml"].decode()
    strings = ["<si><r><t>unused </t></r><r><rPr><b/></rPr><t>rich</t></r></si>"]

    def to_shared(match):
        strings.append("<si><t>%s</t></si>" % match.group(2))
        return '<c r="%s" t="s"><v>%d</v></c>' % (match.group(1), len(strings) - 1)

    sheet2 = re.sub(r'<c r="([A-Z]+[0-9]+)" t="inlineStr"><is><t>(.*?)</t></is></c>', to_shared, sheet2)
    parts["xl/worksheets/sheet2.xml"] = sheet2.encode()
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    parts["xl/sharedStrings.xml"] = ('<?xml version="1.0" encoding="UTF-8"?>\n<sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>'
                                     % (main, len(strings), len(strings), "".join(strings))).encode()
    types = parts["[Content_Types].xml"].decode()
    types = types.replace("</Types>", '<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
                          'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>')
    parts["[Content_Types].xml"] = types.encode()
    rels = parts["xl/_rels/workbook.xml.rels"].decode()
    rels = rels.replace("</Relationships>", '<Relationship Id="rIdStrings" Type="http://schemas.openxmlformats.org/'
                        'officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>')
    parts["xl/_rels/workbook.xml.rels"] = rels.encode()
    # As other programs write workbooks: byte-order marks, the first tab in "sheet.xml", the second in
    # "Sheet2.xml", and a number with every digit of its binary value.
    sheet1 = parts.pop("xl/worksheets/sheet1.xml").replace(b"<v>7.5</v>", b"<v>7.5000000000000000</v>")
    parts["xl/worksheets/sheet.xml"], parts["xl/worksheets/Sheet2.xml"] = sheet1, parts.pop("xl/worksheets/sheet2.xml")
    for name in ("xl/worksheets/sheet.xml", "xl/worksheets/Sheet2.xml", "xl/workbook.xml", "xl/sharedStrings.xml"):
        parts[name] = b"\xef\xbb\xbf" + parts[name]
    for name in ("xl/_rels/workbook.xml.rels", "[Content_Types].xml"):
        parts[name] = parts[name].replace(b"/sheet1.xml", b"/sheet.xml").replace(b"/sheet2.xml", b"/Sheet2.xml")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for name, data in parts.items():
            target.writestr(name, data)
    # The patched book must still be a workbook to openpyxl itself.
    check = openpyxl.load_workbook(path)
    assert check["Shared"]["A2"].value == "Oslo", check["Shared"]["A2"].value


def plain(value):
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.isoformat()
    return value


def read(path, decode=plain):
    book = openpyxl.load_workbook(path)
    result = {}
    for sheet in book.worksheets:
        result[sheet.title] = [[decode(cell) for cell in row] for row in sheet.iter_rows(values_only=True)]
    print(json.dumps(result, ensure_ascii=True))


def read_unescaped(path):
    from openpyxl.utils.escape import unescape
    read(path, lambda cell: unescape(cell) if isinstance(cell, str) else plain(cell))


if __name__ == "__main__":
    {"write": write, "read": read, "read-unescaped": read_unescaped}[sys.argv[1]](sys.argv[2])
