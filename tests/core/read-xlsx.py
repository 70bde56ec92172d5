#!/usr/bin/env python3
"""Reads an .xlsx workbook with the standard library only and prints it as JSON for the report tests:
each sheet's name, frozen rows, page header, and its rows as [type, value, number format] per cell
("n" a number, "s" a text, "b" a boolean, "" an empty cell)."""
import json, re, sys, zipfile
import xml.etree.ElementTree as ET

NS = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
REL = '{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id'


def column_index(ref):
    letters = re.match(r'[A-Z]+', ref).group(0)
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n - 1


def main(path):
    z = zipfile.ZipFile(path)
    styles = ET.fromstring(z.read('xl/styles.xml'))
    formats = {int(f.get('numFmtId')): f.get('formatCode') for f in styles.findall('m:numFmts/m:numFmt', NS)}
    builtin = {0: '', 1: '0', 14: 'yyyy-mm-dd'}
    xfs = [int(x.get('numFmtId', '0')) for x in styles.findall('m:cellXfs/m:xf', NS)]
    shared = []
    if 'xl/sharedStrings.xml' in z.namelist():
        for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', NS):
            shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % NS['m'])))
    book = ET.fromstring(z.read('xl/workbook.xml'))
    rels = ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))
    targets = {r.get('Id'): r.get('Target') for r in rels}
    sheets = []
    for sheet in book.findall('m:sheets/m:sheet', NS):
        root = ET.fromstring(z.read('xl/' + targets[sheet.get(REL)]))
        pane = root.find('m:sheetViews/m:sheetView/m:pane', NS)
        frozen = int(float(pane.get('ySplit', '0'))) if pane is not None and pane.get('state') == 'frozen' else 0
        header = root.find('m:headerFooter/m:oddHeader', NS)
        rows = []
        for row in root.findall('m:sheetData/m:row', NS):
            cells = []
            for c in row.findall('m:c', NS):
                index = column_index(c.get('r'))
                while len(cells) < index:
                    cells.append(['', None, ''])
                kind = c.get('t', 'n')
                fmt_id = xfs[int(c.get('s', '0'))]
                fmt = formats.get(fmt_id, builtin.get(fmt_id, str(fmt_id)))
                v = c.find('m:v', NS)
                if kind == 'inlineStr':
                    cells.append(['s', ''.join(t.text or '' for t in c.iter('{%s}t' % NS['m'])), fmt])
                elif kind == 's':
                    cells.append(['s', shared[int(v.text)], fmt])
                elif kind == 'b':
                    cells.append(['b', v.text == '1', fmt])
                elif v is None:
                    cells.append(['', None, fmt])
                else:
                    cells.append(['n', float(v.text), fmt])
            rows.append(cells)
        width = max((len(r) for r in rows), default=0)
        for r in rows:
            r.extend([['', None, '']] * (width - len(r)))
        sheets.append({'name': sheet.get('name'), 'frozen_rows': frozen,
                       'header': header.text if header is not None else '', 'rows': rows})
    json.dump({'sheets': sheets}, sys.stdout, ensure_ascii=False)


main(sys.argv[1])
