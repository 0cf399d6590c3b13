#!/usr/bin/env python3
"""The Windows window as a user meets it: quillon.exe under Wine on a virtual X display with a
window manager, keys typed from the X side, the window looked at and worked through
window_probe.exe, its reports compared with quillon-score.exe's.
Usage: window_test.py WINDOW_EXE PROBE_EXE TOOL_EXE [SCREENSHOT.png]"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

import docx

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_desktop import (FONT_REPLACEMENTS, boot_prefix, check, failures, import_registry,  # noqa: E402
                          start_display, wait_for, windows_path)

WINDOW, PROBE, TOOL = (os.path.abspath(path) for path in sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
NOTICE_START = '      **** 权利声明 ****  \r\n'
TEMPORARY_FOLDER = '临时 文件夹'  # as under a Chinese user name, outside the ANSI code page here
PREFIX_SETTINGS = FONT_REPLACEMENTS + [
    '[HKEY_CURRENT_USER\\Environment]',
    '"TMP"="C:\\\\%s"' % TEMPORARY_FOLDER, '"TEMP"="C:\\\\%s"' % TEMPORARY_FOLDER]

def wine(*args, data=None):
    return subprocess.run(['wine', *args], input=data, capture_output=True, timeout=60)


def probe(*args):
    return wine(PROBE, *args)


def text(control):
    return probe('text', str(control)).stdout.decode('utf-8')


def state():
    line = probe('state').stdout.decode().split()
    return dict(item.split('=', 1) for item in line)


def popups():
    return [line for line in probe('popups').stdout.decode('utf-8').splitlines() if line]


def as_shown(output):
    """The tool's output with the line ends of an edit box: CR LF."""
    return output.decode('utf-8').replace('\r\n', '\n').replace('\n', '\r\n')


def tool_report(script_text):
    """quillon-score.exe's report of the same script."""
    with tempfile.NamedTemporaryFile('wb', suffix='.txt', delete=False, dir=work) as f:
        f.write(script_text.replace('\r\n', '\n').encode('utf-8'))
    return as_shown(wine(TOOL, windows_path(f.name)).stdout)


def click_into(control):
    """A click at the top left of a control, as a user puts the caret at a box's start."""
    left, top = probe('rect', str(control)).stdout.decode().split()[:2]
    x('xdotool', 'mousemove', str(int(left) + 4), str(int(top) + 4), 'click', '1')


def shown_report_is_tools():
    report = text(1001)
    return report == tool_report(text(1000)) and report != 'NULL'


def x(*args):
    subprocess.run(list(args), env=x_env, check=False, capture_output=True, timeout=30)


work = tempfile.mkdtemp(prefix='quillon-window-test-')
xserver, display = start_display()
x_env = dict(os.environ, DISPLAY=display)
# A Wine of the test's own, whose desktop lives on this display, kept up while the test runs.
os.environ['DISPLAY'] = display
boot_prefix(work)
manager = subprocess.Popen(['openbox'], env=x_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
window = None
try:
    import_registry(work, PREFIX_SETTINGS)
    temporary = os.path.join(work, 'wine', 'drive_c', TEMPORARY_FOLDER)
    os.makedirs(temporary)
    window = subprocess.Popen(['wine', WINDOW], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not check(wait_for(lambda: probe('alive').returncode == 0, 60), 'the window opens'):
        sys.exit(1)
    time.sleep(1.0)

    # As it opens: the notice, NULL, real-time mode on, the sample list on its first entry.
    s = state()
    check(text(0) == '基于脚本编码方法的Quillon-', 'the title')
    check(text(1000).startswith(NOTICE_START), 'the script box shows the notice')
    check(text(1001) == 'NULL', 'the report box shows NULL')
    check(s['realtime'] == '1' and s['compute'] == '0', 'real-time mode on, the compute button disabled')
    check(s['sample'] == '0' and text(1006) == '1. 权利声明 ', 'the sample list shows its first entry')
    check(s['focus'] == '1000', 'the focus is in the script box')
    check(s['popups'] == '0', 'no popup')

    # Typing into the notice scores it at once; the report is the tool's for the same text.
    x('xdotool', 'search', '--name', 'Quillon-', 'windowactivate', '--sync')
    x('xdotool', 'type', '--delay', '40', 'mpinit=4 ')
    check(wait_for(lambda: text(1000).startswith('mpinit=4 ' + NOTICE_START[:6]) and text(1001) != 'NULL'),
          'a typed line goes in at the start and the script is scored')
    check(wait_for(shown_report_is_tools), 'the report box equals quillon-score.exe for the same script')
    check(state()['focus'] == '1000', 'F2 while the script box has the focus ...')
    x('xdotool', 'key', 'F2')
    check(popups() == [], '... shows nothing')

    # The 测试向量 menu: the sample list follows, the sample is scored.
    probe('command', '32776')
    check(wait_for(lambda: state()['sample'] == '2'), '密评三级 from the menu selects the third entry')
    check(text(1006) == '3. 某三级  Velmar = 62.29', 'the list shows its label')
    check(wait_for(lambda: text(1001) == tool_report(text(1000))), 'and its report is the tool\'s')
    sample3 = text(1000)
    check(sample3.startswith('mpinit=3  1\r\n'), 'the script box holds sample 3')
    probe('select', '3')
    check(wait_for(lambda: '4级 密评总分=  69.680  69.6798' in text(1001)), 'picking entry 4 in the list scores sample 4')
    sample4_report = text(1001)
    check(sample4_report == as_shown(wine(TOOL, '--sample', '4').stdout),
          'its report equals quillon-score.exe --sample 4')
    if SCREENSHOT:
        x('xdotool', 'search', '--name', 'Quillon-', 'windowactivate', '--sync')
        time.sleep(1.0)
        left, top, width, height = (int(v) for v in probe('rect', '0').stdout.decode().split())
        frame = '%dx%d+%d+%d' % (width + 8, height + 28, max(0, left - 4), max(0, top - 24))  # with the title bar
        x('import', '-window', 'root', '-crop', frame, '+repage', SCREENSHOT)
    # 分析 and the exports, of sample 4's report.
    probe('command', '32785')
    analysis = wait_for(lambda: popups())
    rows = probe('popup-list').stdout.decode('utf-8').splitlines()
    check(bool(analysis) and analysis[0].startswith('分析：各单元增分|4级 密评总分 69.680（69.6798）') and
          '[ ] 4.4    0.2500   1.0  +3.3570    73.0368  应用与数据安全_4.重要数据传输机密性' in rows,
          '分析 shows what each unit costs the total')
    # Two units ticked: the total quillon-score.exe --explain --assume gives for them.
    ticked = [i for i, row in enumerate(rows) if row[4:8] in ('4.4 ', '7.4 ')]
    for row in ticked:
        probe('popup-tick', str(row))
    assumed = wine(TOOL, '--explain', '--assume', '4.4,7.4', '--sample', '4').stdout.decode('utf-8').splitlines()[-1]
    check(len(ticked) == 2 and wait_for(lambda: '|' + assumed + '\n' in '\n'.join(popups())),
          'ticking 4.4 and 7.4 shows the total --assume gives: ' + assumed)
    check('quillon-score' not in '\n'.join(popups()), 'and no word of the tool')
    if SCREENSHOT:
        x('xdotool', 'search', '--name', '分析', 'windowactivate', '--sync')
        time.sleep(1.0)
        x('import', '-window', 'root', SCREENSHOT.replace('.png', '-what-if.png'))
    probe('popup-ok')
    check(wait_for(lambda: popups() == []), 'and OK closes it')
    exported = os.path.join(work, 'tables.csv')
    probe('command', '32783')
    check(wait_for(lambda: len(popups()) == 1), '导出表格 asks where')
    probe('open', windows_path(exported))
    check(wait_for(lambda: os.path.exists(exported)), 'the tables are written')
    with open(exported, 'rb') as f:
        tables = f.read().decode('utf-8')
    check(tables.startswith('\ufeff') and '4,42.7710,26.9088,69.6798,69.680' in tables, 'with the report\'s figures')
    workbook = os.path.join(work, 'tables.xlsx')
    probe('command', '32786')
    check(wait_for(lambda: len(popups()) == 1), '导出工作簿 asks where')
    probe('open', windows_path(workbook))
    check(wait_for(lambda: os.path.exists(workbook)), 'the workbook is written, through a temporary folder with a Chinese name')
    with zipfile.ZipFile(workbook) as book:
        check(b'<v>69.6798</v>' in book.read('xl/worksheets/sheet3.xml'), 'with the report\'s total as a number')
    check(os.listdir(temporary) == [], 'and nothing is left in the temporary folder')
    document = os.path.join(work, 'tables.docx')
    probe('command', '32788')
    check(wait_for(lambda: len(popups()) == 1), '导出 Word 表格 asks where')
    probe('open', windows_path(document))
    check(wait_for(lambda: os.path.exists(document)), 'the document is written')
    totals = [cell.text for cell in docx.Document(document).tables[0].rows[1].cells]
    check(totals == ['4', '42.7710', '26.9088', '69.6798', '69.680'], 'with the report\'s figures in its first table')
    # 与脚本文件比较: sample 3 from a file before the box's sample 4; the tool's text, and its tables.
    before = os.path.join(work, 'before.txt')
    after = os.path.join(work, 'after.txt')
    for path, script in ((before, sample3), (after, text(1000))):
        with open(path, 'wb') as f:
            f.write(script.encode('utf-8'))
    probe('command', '32787')
    check(wait_for(lambda: len(popups()) == 1), '与脚本文件比较 asks for a file')
    probe('open', windows_path(before))
    compared = wait_for(lambda: '\n'.join(popups()) if any(p.startswith('分析：与脚本文件比较|') for p in popups()) else '')
    if SCREENSHOT:
        time.sleep(1.0)
        x('import', '-window', 'root', SCREENSHOT.replace('.png', '-compare.png'))
    # Past the lines naming the two scripts (the box is named as no file); popups() skips blank lines.
    tools = wine(TOOL, '--compare', windows_path(before), windows_path(after)).stdout.decode('utf-8')
    body = '\n'.join(line for line in tools.splitlines()[3:] if line)
    check(body in compared and '整改后：脚本框中的脚本  4级 密评总分 69.680（69.6798）' in compared,
          'the comparison is the text quillon-score.exe --compare prints')
    compared_csv = os.path.join(work, 'compared.csv')
    probe('popup-button', '导出表格(CSV)...')
    check(wait_for(lambda: any(p.startswith('导出表格|') for p in popups())), 'its 导出表格 asks where')
    probe('open', windows_path(compared_csv))
    check(wait_for(lambda: os.path.exists(compared_csv)), 'the comparison\'s tables are written')
    with open(compared_csv, 'rb') as f:
        check('\r\n4,2,应用与数据安全_2.访问控制信息完整性,0.337500,1.000000,+0.662500,部分符合,符合\r\n' in f.read().decode('utf-8'),
              'with the comparison\'s figures')
    probe('popup-ok')
    check(wait_for(lambda: popups() == []), 'and OK closes it')
    probe('command', '32774')
    check(wait_for(lambda: text(1001) == 'NULL' and text(1000).startswith(NOTICE_START)),
          '权利声明 brings back the notice and NULL')

    # Real-time mode off: edits wait for the compute button; on again scores at once.
    probe('command', '32775')
    wait_for(lambda: state()['sample'] == '1')
    before = text(1001)
    probe('click', '1003')
    check(wait_for(lambda: state()['realtime'] == '0' and state()['compute'] == '1'), 'unchecked: the compute button is enabled')
    check(text(1001) == before, 'and the report stays')
    click_into(1000)
    x('xdotool', 'type', '--delay', '40', 'mpecho typed\n')
    check(wait_for(lambda: text(1000).startswith('mpecho typed\r\n')), 'typed with real-time mode off ...')
    check(text(1001) == before, '... changes nothing in the report')
    probe('click', '1002')
    check(wait_for(lambda: text(1001) != before), 'the compute button scores')
    check(text(1001) == tool_report(text(1000)), 'the report is the tool\'s')
    probe('click', '1003')
    check(wait_for(lambda: state()['realtime'] == '1' and state()['compute'] == '0'), 'checked again: the button is disabled')

    # A drop loads its first file only; a folder changes nothing.
    first = os.path.join(work, 'first 脚本.txt')
    with open(first, 'wb') as f:
        f.write('mpinit=2\r\n@@1 1 1\r\n'.encode('gbk'))
    second = os.path.join(work, 'second.txt')
    with open(second, 'w') as f:
        f.write('mpinit=4\n')
    probe('drop', windows_path(first), windows_path(second))
    check(wait_for(lambda: text(1000) == 'mpinit=2\r\n@@1 1 1\r\n'), 'a drop of two files loads the first (GBK, Chinese name)')
    check(text(1001) == tool_report(text(1000)), 'and scores it')
    check(text(1009) == '', 'a whole report is not said to be cut')
    # A report cut at its limit is said under the buttons, however far down the cut is.
    long_script = os.path.join(work, 'long.txt')
    with open(long_script, 'w', encoding='utf-8') as f:
        f.write(''.join('@@9 1\n' if i % 10 == 9 else f'mpecho 第{i}行的备注 abcdefghij\n' for i in range(100000)))
    probe('drop', windows_path(long_script))
    check(wait_for(lambda: text(1009).startswith('报告已达上限 1048575 字节'), 60), 'a cut report is said')
    probe('drop', windows_path(first))
    check(wait_for(lambda: text(1009) == ''), 'and no longer once the report is whole')
    probe('drop', windows_path(work))
    check(text(1000) == 'mpinit=2\r\n@@1 1 1\r\n', 'a dropped folder changes nothing')
    binary = os.path.join(work, 'program.exe')
    with open(binary, 'wb') as f:
        f.write(b'MZ\x90\x00\x03\x00\x00\x00' * 64)
    probe('post-drop', windows_path(binary))
    refusal = wait_for(lambda: popups())
    check(bool(refusal) and '不是文本文件' in refusal[0], 'a dropped program is refused with a message')
    probe('popup-ok')
    check(wait_for(lambda: popups() == []) and text(1000) == 'mpinit=2\r\n@@1 1 1\r\n', 'and the script stays')

    # The open-file dialog: cancelled, nothing; a file chosen, loaded and scored.
    probe('command', '32771')
    check(wait_for(lambda: len(popups()) == 1), '读入脚本 opens the open-file dialog')
    probe('popup-cancel')
    check(wait_for(lambda: popups() == []) and text(1000) == 'mpinit=2\r\n@@1 1 1\r\n', 'cancelled, it changes nothing')
    probe('click', '1004')
    check(wait_for(lambda: len(popups()) == 1), 'the load button opens it too')
    probe('open', windows_path(second))
    check(wait_for(lambda: text(1000) == 'mpinit=4\r\n'), 'the chosen file is loaded')
    check(wait_for(lambda: text(1001) == tool_report('mpinit=4\n')), 'and scored')

    # The keyboard: Alt+F opens 文件; Ctrl+O the open-file dialog, scripts listed first.
    x('xdotool', 'search', '--name', 'Quillon-', 'windowactivate', '--sync', 'key', 'alt+f')
    check(wait_for(lambda: probe('menu-open').returncode == 0, 10), 'Alt+F opens the 文件 menu')
    x('xdotool', 'key', 'Escape', 'Escape')
    check(wait_for(lambda: probe('menu-open').returncode != 0, 10), 'and Esc closes it')
    click_into(1000)
    x('xdotool', 'key', 'ctrl+o')
    check(wait_for(lambda: len(popups()) == 1), 'Ctrl+O opens the open-file dialog')
    types = [line.split(' ', 1)[1] for line in probe('popup-combos').stdout.decode('utf-8').splitlines()
             if line.startswith('1136 ')]  # the dialog's list of file types
    check(types == ['脚本文件 (*.txt;*.qs)', '所有文件 (*.*)'], 'with the filters for scripts and all files: %r' % types)
    probe('popup-cancel')
    check(wait_for(lambda: popups() == []) and text(1000) == 'mpinit=4\r\n', 'cancelled, it changes nothing')

    # The about box from the system menu; OK closes it.
    probe('syscommand', '16')
    about = wait_for(lambda: popups())
    check(bool(about) and about[0].startswith('关于 Quillon0701|') and '基于脚本编码方法的算分器' in about[0],
          'the system menu\'s about entry shows the about box')
    version = wine(TOOL, '--version').stdout.decode().split()[-1]
    check(bool(about) and '|基于脚本编码方法的算分器|版本 %s|' % version in about[0], 'with the version after its title text')
    probe('popup-ok')
    check(wait_for(lambda: popups() == []), 'its OK button closes it')

    # The close button, Esc and Alt+F4 leave the window open.
    x('wmctrl', '-c', '基于脚本编码方法的Quillon-')
    x('xdotool', 'search', '--name', 'Quillon-', 'windowactivate', '--sync', 'key', 'Escape')
    x('xdotool', 'search', '--name', 'Quillon-', 'windowactivate', '--sync', 'key', 'alt+F4')
    time.sleep(1.0)
    check(probe('alive').returncode == 0 and window.poll() is None, 'the close button, Esc and Alt+F4 leave it open')
    check(text(1000) == 'mpinit=4\r\n', 'with its script')

    if SCREENSHOT:  # the 文件 menu: without configured addresses the two web entries are grey
        left, top, width, height = (int(v) for v in probe('rect', '0').stdout.decode().split())
        x('xdotool', 'mousemove', str(left + 18), str(top + 31), 'click', '1')
        time.sleep(1.0)
        frame = '%dx%d+%d+%d' % (width + 8, height + 28, max(0, left - 4), max(0, top - 24))
        x('import', '-window', 'root', '-crop', frame, '+repage', SCREENSHOT.replace('.png', '-file-menu.png'))
        x('xdotool', 'key', 'Escape')
        time.sleep(0.5)

    # A link the system cannot open is told: no help2.htm in the working folder or beside the program.
    probe('command', '32779')
    failed = '\n'.join(wait_for(lambda: popups()))  # a message's lines are lines here too
    check('打不开帮助页' in failed and 'help2.htm' in failed, '打开帮助 without the page says so: ' + repr(failed))
    probe('popup-ok')
    check(wait_for(lambda: popups() == []), 'and OK closes the message')

    # Edits that no file holds: 退出 asks; 取消 keeps the window, 保存 saves (here through Save As,
    # the script having come from a file) and then ends.
    click_into(1000)
    x('xdotool', 'type', '--delay', '40', 'mpout\n')
    check(wait_for(lambda: text(1000) == 'mpout\r\nmpinit=4\r\n'), 'the loaded script edited')
    probe('command', '32773')
    question = '\n'.join(wait_for(lambda: popups()))
    check('脚本有未保存的修改' in question and all('|' + words in question for words in ('保存', '不保存', '取消')),
          '退出 with edits asks whether to save them: ' + repr(question))
    if SCREENSHOT:
        time.sleep(1.0)
        left, top, width, height = (int(v) for v in probe('rect', '0').stdout.decode().split())
        frame = '%dx%d+%d+%d' % (width + 8, height + 28, max(0, left - 4), max(0, top - 24))
        x('import', '-window', 'root', '-crop', frame, '+repage', SCREENSHOT.replace('.png', '-exit-question.png'))
    probe('popup-button', '取消')
    check(wait_for(lambda: popups() == []), '取消 closes the question')
    check(window.poll() is None and text(1000) == 'mpout\r\nmpinit=4\r\n', 'and keeps the window with its script')
    probe('command', '32773')
    wait_for(lambda: popups())
    probe('popup-button', '保存')
    check(wait_for(lambda: len(popups()) == 1 and '打不开' not in popups()[0]), '保存 asks where, the script not saved yet')
    saved = os.path.join(work, 'saved.txt')
    probe('open', windows_path(saved))
    try:
        code = window.wait(timeout=20)
    except subprocess.TimeoutExpired:
        code = None
    check(code == 0, 'saved, 退出 ends the program')
    check(os.path.exists(saved) and open(saved, 'rb').read() == b'mpout\r\nmpinit=4\r\n', 'with the script in the file')
finally:
    if window is not None and window.poll() is None:
        window.kill()
    subprocess.run(['wineserver', '-k'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    manager.terminate()
    xserver.terminate()
    shutil.rmtree(work, ignore_errors=True)

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
