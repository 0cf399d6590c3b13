#!/usr/bin/env python3
"""The Windows window under Wine on a 1 MiB script, beside quillon-score.exe under the same Wine:
the load of a dropped file, single keystrokes, and ten keys a second.
Usage: window_wine.py QUILLON_EXE PROBE_EXE TOOL_EXE MIX_PATH (a script from quillon-mix 1)"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'win32'))
from wine_desktop import FONT_REPLACEMENTS, boot_prefix, import_registry, start_display, windows_path  # noqa: E402

WINDOW, PROBE, TOOL, MIX = (os.path.abspath(path) for path in sys.argv[1:5])


def probe(*args):
    return subprocess.run(['wine', PROBE, *args], capture_output=True, timeout=600).stdout.decode().strip()


def tool_seconds(*args):
    """The fastest of seven runs of quillon-score.exe."""
    best = None
    for _ in range(7):
        start = time.monotonic()
        subprocess.run(['wine', TOOL, *args], capture_output=True, timeout=600)
        took = time.monotonic() - start
        best = took if best is None else min(best, took)
    return best


work = tempfile.mkdtemp(prefix='quillon-window-bench-')
xserver, display = start_display()
os.environ['DISPLAY'] = display
manager = None
window = None
try:
    boot_prefix(work)
    manager = subprocess.Popen(['openbox'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    import_registry(work, FONT_REPLACEMENTS)
    script = os.path.join(work, 'mix.txt')
    with open(MIX, 'rb') as f:
        text = f.read().replace(b'\r\n', b'\n').rstrip(b'\n') + b'\nmpecho '  # each key typed at the end changes the report
    with open(script, 'wb') as f:
        f.write(text)
    units = len(text.decode('utf-8').replace('\n', '\r\n').encode('utf-16-le')) // 2
    empty = os.path.join(work, 'empty.txt')
    open(empty, 'wb').close()
    startup = tool_seconds(windows_path(empty))
    run = tool_seconds(windows_path(script))
    print('quillon-score.exe on the script: %.0f ms (%.0f ms, less %.0f ms on an empty script)' %
          ((run - startup) * 1000, run * 1000, startup * 1000))
    window = subprocess.Popen(['wine', WINDOW], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 120
    while subprocess.run(['wine', PROBE, 'alive'], capture_output=True).returncode != 0 and time.time() < deadline:
        time.sleep(0.3)
    time.sleep(1.0)
    for turn in range(3):
        probe('command', '32774')  # the notice: the report box says NULL
        time.sleep(1.0)
        print('load', turn + 1, probe('time-drop', windows_path(script), str(units)))
    for turn in range(3):
        print('one key', turn + 1, probe('time-typing', '1', '0'))
    print('ten keys at ten a second', probe('time-typing', '10', '100'))
finally:
    if window is not None and window.poll() is None:
        window.kill()
    subprocess.run(['wineserver', '-k'], capture_output=True, timeout=60)
    if manager is not None:
        manager.terminate()
    xserver.terminate()
    shutil.rmtree(work, ignore_errors=True)
