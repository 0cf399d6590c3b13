#!/usr/bin/env python3
"""The exports read back: the workbook with a reader (openpyxl) and the page with an HTML
parser, their figures against the text report's for the same script.
Usage: exports_test.py TOOL-COMMAND... (such as: wine quillon-score.exe)"""
import html.parser
import io
import os
import re
import sys
import tempfile

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

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
