#!/usr/bin/env python3
"""quillon.exe at each scale Windows offers (LogPixels 96, 120, 144, 192) on a 1600 x 1000
screen, and at 100 % on a 1366 x 768 one: the window whole within the work area, its controls
within the window, apart from each other, each button's words whole.
Usage: scale_test.py WINDOW_EXE PROBE_EXE [SCREENSHOT_AT_150.png]"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_desktop import (FONT_REPLACEMENTS, boot_prefix, check, failures, import_registry,  # noqa: E402
                          start_display, windows_path)

WINDOW, PROBE = (os.path.abspath(path) for path in sys.argv[1:3])
SCREENSHOT = sys.argv[3] if len(sys.argv) > 3 else None
GROUP_BOX, FRAMED = -1, (1002, 1003)  # the group box and the two controls it frames

def probe(*args):
    return subprocess.run(['wine', PROBE, *args], capture_output=True, timeout=60)


def numbers(*args):
    return [int(v) for v in probe(*args).stdout.decode().split()]


def inside(inner, outer):
    return (inner[0] >= outer[0] and inner[1] >= outer[1] and inner[0] + inner[2] <= outer[0] + outer[2] and
            inner[1] + inner[3] <= outer[1] + outer[3])


def apart(a, b):
    return a[0] + a[2] <= b[0] or b[0] + b[2] <= a[0] or a[1] + a[3] <= b[1] or b[1] + b[3] <= a[1]


def layout():
    """id -> (kind, [left, top, width, height], [ideal width, ideal height])"""
    controls = {}
    for line in probe('layout').stdout.decode().splitlines():
        fields = line.split()
        controls[int(fields[0])] = (fields[1], [int(v) for v in fields[2:6]], [int(v) for v in fields[6:8]])
    return controls


def examine(screen, dpi):
    name = '%s at %d %%' % (screen, dpi * 100 // 96)
    window, client, area = numbers('rect', '0'), numbers('client'), numbers('workarea')
    check(len(window) == 4 and inside(window, area), '%s: the window %s within the work area %s' % (name, window, area))
    controls = layout()
    check(set(controls) >= {1000, 1001, 1002, 1003, 1004, 1005, 1006, GROUP_BOX}, name + ': every control shown')
    for id_, (kind, place, ideal) in controls.items():
        check(inside(place, client), '%s: control %d %s within the window' % (name, id_, place))
        if kind.lower() == 'button' and ideal[0] > 0:
            check(ideal[0] <= place[2] and ideal[1] <= place[3],
                  '%s: the words of %d whole: need %s, have %s' % (name, id_, ideal, place[2:]))
    ids = sorted(controls)
    for i, a in enumerate(ids):
        for b in ids[i + 1:]:
            if GROUP_BOX in (a, b) and ({a, b} - {GROUP_BOX}) <= set(FRAMED):
                check(inside(controls[a if b == GROUP_BOX else b][1], controls[GROUP_BOX][1]),
                      '%s: %d inside the group box' % (name, a if b == GROUP_BOX else b))
            else:
                check(apart(controls[a][1], controls[b][1]), '%s: %d and %d apart' % (name, a, b))
    return window


def run_screen(screen, scales):
    """A display of that size with a Wine of its own; the scales one after another, each window
    a new process, which reads the scale as it starts."""
    work = tempfile.mkdtemp(prefix='quillon-scale-test-')
    xserver, display = start_display(screen)
    os.environ['DISPLAY'] = display
    manager = None
    try:
        boot_prefix(work)
        manager = subprocess.Popen(['openbox'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        import_registry(work, FONT_REPLACEMENTS)
        for dpi in scales:
            import_registry(work, ['[HKEY_CURRENT_USER\\Control Panel\\Desktop]', '"LogPixels"=dword:%08x' % dpi])
            # The small screen's window is started as Explorer's "open with" starts it, with a file.
            opened = os.path.join(work, '打开 的脚本.txt') if screen != '1600x1000' else None
            if opened:
                with open(opened, 'wb') as f:
                    f.write('mpinit=4 1\r\n@@1 1 0.5 1\r\n'.encode('utf-8'))
            window = subprocess.Popen(['wine', WINDOW] + ([windows_path(opened)] if opened else []), cwd=work,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                deadline = time.time() + 120
                while probe('alive').returncode != 0 and time.time() < deadline:
                    time.sleep(0.3)
                time.sleep(1.0)
                if check(probe('alive').returncode == 0, '%s at %d dpi: the window opens' % (screen, dpi)):
                    frame = examine(screen, dpi)
                    if opened:
                        check(probe('text', '1000').stdout.decode('utf-8') == 'mpinit=4 1\r\n@@1 1 0.5 1\r\n',
                              '%s: the file named on the command line is loaded' % screen)
                    if SCREENSHOT and dpi == 144:
                        subprocess.run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % tuple(frame[2:] + frame[:2]),
                                        '+repage', SCREENSHOT], capture_output=True, timeout=60)
            finally:
                probe('command', '32773')  # 退出; nothing was edited
                try:
                    window.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    window.kill()
    finally:
        subprocess.run(['wineserver', '-k'], capture_output=True, timeout=60)
        if manager is not None:
            manager.terminate()
        xserver.terminate()
        shutil.rmtree(work, ignore_errors=True)


run_screen('1600x1000', [96, 120, 144, 192])
run_screen('1366x768', [96])

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
