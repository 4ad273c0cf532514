#!/usr/bin/python3
"""Peer helper for the spreadsheet tests.

  openpyxl_book.py write PATH   writes a workbook with openpyxl: inline and shared strings, numbers,
                                a date, booleans, a formula with its cached value, empty cells and rows,
                                non-ASCII text and eleven sheets.
  openpyxl_book.py read PATH    prints every sheet of a workbook as JSON: {sheet title: [[cell, ...], ...]}.
  openpyxl_book.py read-unescaped PATH   the same, texts passed through openpyxl's own "_xHHHH_" decoder.
  openpyxl_book.py rewrite PATH ROWS   opens a workbook, puts the ROWS (values split by commas, rows by
                                semicolons) in place of its first sheet's, and saves it over itself, as a person does.
  openpyxl_book.py write-layouts FOLDER  writes, part by part, workbooks laid out as the format allows but
                                the usual writers do not: strings.xlsx (shared strings under another name),
                                moved.xlsx (the workbook part outside "xl"), utf16.xlsx (workbook, sheet and
                                strings in UTF-16, with and without a byte-order mark), each with numbers
                                stored with trailing zeros and a negative zero.
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


MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PACKAGE = "http://schemas.openxmlformats.org/package/2006/relationships"
TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml."


def layout(path, workbook="xl/workbook.xml", strings="xl/sharedStrings.xml", encode=None):
    """A workbook of one sheet whose parts are where the arguments say; encode(kind, text) gives each part's
    bytes, kind one of "workbook", "sheet", "strings"."""
    folder = workbook.rsplit("/", 1)[0]
    up = "../" * (folder.count("/") + 1)
    sheet = ('<?xml version="1.0" encoding="%s"?><worksheet xmlns="' + MAIN + '"><sheetData>'
             '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row>'
             '<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2"><v>100.000</v></c></row>'
             '<row r="3"><c r="A3" t="s"><v>3</v></c><c r="B3"><v>0.134500000</v></c></row>'
             '<row r="4"><c r="A4" t="inlineStr"><is><t>zero</t></is></c><c r="B4"><v>-0</v></c></row>'
             '</sheetData></worksheet>')
    table = ('<?xml version="1.0" encoding="%s"?><sst xmlns="' + MAIN + '"><si><t>Name</t></si>'
             '<si><t>Amount</t></si><si><t>Zo\u00eb \u65e5\u672c</t></si><si><t>Bob</t></si></sst>')
    book = ('<?xml version="1.0" encoding="%s"?><workbook xmlns="' + MAIN + '" xmlns:r="' + REL + '"><sheets>'
            '<sheet name="Gu\u00e9sts" sheetId="1" r:id="rId1"/></sheets></workbook>')
    links = ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="' + PACKAGE + '">'
             '<Relationship Id="rId1" Type="' + REL + '/worksheet" Target="' + up + 'xl/worksheets/sheet1.xml"/>'
             '<Relationship Id="rId2" Type="' + REL + '/sharedStrings" Target="' + up + strings + '"/>'
             '</Relationships>')
    types = ('<?xml version="1.0" encoding="UTF-8"?>'
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/>'
             '<Override PartName="/' + workbook + '" ContentType="' + TYPE + 'sheet.main+xml"/>'
             '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="' + TYPE + 'worksheet+xml"/>'
             '<Override PartName="/' + strings + '" ContentType="' + TYPE + 'sharedStrings+xml"/></Types>')
    root = ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="' + PACKAGE + '">'
            '<Relationship Id="rId1" Type="' + REL + '/officeDocument" Target="' + workbook + '"/></Relationships>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        target.writestr("[Content_Types].xml", types)
        target.writestr("_rels/.rels", root)
        target.writestr(workbook, encode("workbook", book))
        target.writestr(folder + "/_rels/" + workbook.rsplit("/", 1)[1] + ".rels", links)
        target.writestr("xl/worksheets/sheet1.xml", encode("sheet", sheet))
        target.writestr(strings, encode("strings", table))


def write_layouts(folder):
    def utf8(kind, text):
        return (text % "UTF-8").encode()

    def utf16(kind, text):
        text = text % "UTF-16"
        return {"workbook": b"\xff\xfe" + text.encode("utf-16-le"), "sheet": b"\xfe\xff" + text.encode("utf-16-be"),
                "strings": text.encode("utf-16-le")}[kind]

    layout(folder + "/strings.xlsx", strings="xl/tables/text.xml", encode=utf8)
    layout(folder + "/moved.xlsx", workbook="content/book/main.xml", encode=utf8)
    layout(folder + "/utf16.xlsx", encode=utf16)


def rewrite(path, rows):
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    sheet.delete_rows(1, sheet.max_row)
    for line in rows.split(";"):
        sheet.append(line.split(","))
    book.save(path)


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
    {"write": write, "read": read, "read-unescaped": read_unescaped, "write-layouts": write_layouts,
     "rewrite": rewrite}[sys.argv[1]](*sys.argv[2:])
