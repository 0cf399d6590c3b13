#!/usr/bin/env python3
"""The exports read back: the workbook with a reader (openpyxl), the Word document with
python-docx and the page with an HTML parser, their figures against the text report's for the
same script.
Usage: exports_test.py TOOL-COMMAND... (such as: wine quillon-score.exe)"""
import html.parser
import io
import os
import re
import sys
import tempfile

import docx
import openpyxl

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tool_run import run_tool  # noqa: E402

TOOL = sys.argv[1:]


def tool(*args):
    done = run_tool(TOOL, args, ' '.join(args))
    if done.returncode != 0:
        sys.exit('the tool failed on %s' % ' '.join(args))
    return done.stdout


failures = []


def word_tables(data):
    """Each table of the document as rows of cell texts (a merged cell's text in each of its rows)."""
    return [[[cell.text for cell in row.cells] for row in table.rows] for table in docx.Document(io.BytesIO(data)).tables]


def check(condition, what):
    print(('ok    ' if condition else 'FAIL  ') + what)
    if not condition:
        failures.append(what)


for sample in ('2', '3', '4', '5'):
    report = tool('--sample', sample).decode('utf-8')
    table = re.findall(r'^@@(\d)\S+\s+(\d+)->\s+(\S+)(?:\s+(\S+))?\s*$', report, re.M)
    book = openpyxl.load_workbook(io.BytesIO(tool('--format', 'xlsx', '--sample', sample)))
    units = list(book['表5-2'].iter_rows(min_row=2, values_only=True))
    # The last table 5-2 of the report is the last report's; sample 4's closing report has one.
    last = table[-len(units):] if table else []
    if last:
        same = all(int(layer) == row[0] and int(unit) == row[2] and
                   (score == '\\' and row[4] == '\\' or isinstance(row[4], (int, float)) and abs(row[4] - float(score)) < 5e-6) and
                   (layer_score is None or layer_score == '' or abs(row[5] - float(layer_score)) < 5e-6)
                   for (layer, unit, score, layer_score), row in zip(last, units))
        check(same, 'sample %s: the workbook\'s table 5-2 is the report\'s, numbers as numbers' % sample)
    totals = list(book['总分'].iter_rows(min_row=2, values_only=True))[0]
    summaries = re.findall(r'(\d)级 密评总分=\s*(\S+)\s+(\S+)', report)
    level, rounded, total = summaries[-1]
    check(totals[0] == int(level) and abs(totals[7] - float(total)) < 5e-5 and abs(totals[8] - float(rounded)) < 5e-4,
          'sample %s: the workbook\'s total %s is the report\'s' % (sample, total))
    layers = list(book['层面汇总'].iter_rows(min_row=2, values_only=True))
    check(len(layers) == 8 and abs(sum(r[5] or 0 for r in layers) - float(total)) < 1e-3,
          'sample %s: the layers\' points add up to the total' % sample)

    # The document: every figure as the report prints it.
    totals_table, counts_table, layers_table, units_table = word_tables(tool('--format', 'docx', '--sample', sample))
    technical, management = re.findall(r'(\S+)\(\s*70\.0000\)\s*\+\s*(\S+)\(', report)[-1]
    check(totals_table[1] == [level, technical, management, total, rounded],
          'sample %s: the document\'s totals are the report\'s, %s' % (sample, totals_table[1]))
    counts = re.findall(r'不符合=\s*(\d+) 部分符合=\s*(\d+) 符合=\s*(\d+)', report)[-1]
    check(counts_table[1][:3] == list(counts), 'sample %s: the document\'s counts are the report\'s' % sample)
    layer_lines = re.findall(r'^@@(\d)\S+\s+(\S+) #', report, re.M)[-8:]
    check([row[0] for row in layers_table[1:]] == [n for n, _ in layer_lines] and
          [row[4] for row in layers_table[1:]] == [score for _, score in layer_lines],
          'sample %s: the document\'s layer scores are the report\'s' % sample)
    if last:  # the report prints table 5-2
        expected, layer_score = [], ''
        for layer, unit, score, shown in last:
            layer_score = shown or layer_score  # one merged cell over the layer's units
            expected.append([layer, unit, score, layer_score])
        check([[row[0].split(' ')[0], row[1], row[3], row[4]] for row in units_table[1:]] == expected,
              'sample %s: the document\'s table 5-2 is the report\'s, digit for digit' % sample)
    check(len(units_table) == 1 + len(units), 'sample %s: the document has a row per unit' % sample)

    class Cells(html.parser.HTMLParser):
        rows, svg_rects = 0, 0

        def handle_starttag(self, tag, attrs):
            if tag == 'tr':
                self.rows += 1
            if tag == 'rect':
                self.svg_rects += 1

    page = Cells()
    page.feed(tool('--format', 'html', '--sample', sample).decode('utf-8'))
    check(page.rows == 2 + 8 + len(units), 'sample %s: the page has a row per layer and per unit' % sample)
    check(page.svg_rects == sum(1 for r in layers if r[5] is not None), 'sample %s: a bar per counted layer' % sample)

# Several scripts and a comparison: each figure of their workbooks is the one the script's own
# workbook gives.
with tempfile.TemporaryDirectory() as folder:
    scripts = {'before.qs': 'mpinit=3 1\r\n@@1 1 0.5 1\r\n$$4.2 VVX XXX\r\nmpout\r\n',
               'after.qs': 'mpinit=3 1\r\n@@1 1 1 1\r\n$$4.2 VVV\r\n@@8 1 1 0\r\nmpout\r\n'}
    paths = []
    for name, text in scripts.items():
        paths.append(os.path.join(folder, name))
        with open(paths[-1], 'w', newline='') as f:
            f.write(text)
    own = [openpyxl.load_workbook(io.BytesIO(tool('--format', 'xlsx', path))) for path in paths]
    own_totals = [list(book['总分'].iter_rows(min_row=2, values_only=True))[0] for book in own]
    own_layers = [list(book['层面汇总'].iter_rows(min_row=2, values_only=True)) for book in own]
    several = openpyxl.load_workbook(io.BytesIO(tool('--format', 'xlsx', *paths)))
    summary = list(several['汇总'].iter_rows(min_row=3, values_only=True))
    check(len(summary) == 2 and all(row[0] == name and row[1] == totals[0] and row[2] == totals[7] and row[3] == totals[8]
                                    for row, name, totals in zip(summary, paths, own_totals)),
          'several scripts: the summary\'s levels and totals are each script\'s own')
    check(several.sheetnames[1:] == ['1 before.qs', '2 after.qs'], 'several scripts: a sheet for each, in order')
    compared = openpyxl.load_workbook(io.BytesIO(tool('--compare', *paths, '--format', 'xlsx')))
    layers = list(compared['层面'].iter_rows(min_row=3, values_only=True))
    check(len(layers) == 8 and all(row[3] == before[4] and row[4] == after[4] and row[6] == before[5] and row[7] == after[5]
                                   for row, before, after in zip(layers, *own_layers)),
          'comparison: each layer\'s scores and points before and after are the scripts\' own')

    own = [word_tables(tool('--format', 'docx', path)) for path in paths]
    summary = word_tables(tool('--format', 'docx', *paths))
    check([row[0] for row in summary[0][1:]] == paths and
          [row[1:4] for row in summary[0][1:]] == [[t[0][1][0], t[0][1][3], t[0][1][4]] for t in own] and
          summary[1:5] == own[0] and summary[5:] == own[1],
          'several scripts: the document\'s summary and tables are each script\'s own')
    compared = word_tables(tool('--compare', *paths, '--format', 'docx'))[1]
    check([[row[3], row[4], row[6], row[7]] for row in compared[1:]] ==
          [[b[4], a[4], b[5], a[5]] for b, a in zip(own[0][2][1:], own[1][2][1:])],
          'comparison: the document\'s layers before and after are the scripts\' own')

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
