"""A virtual X display with a window manager and a Wine prefix of a test's own on it, for the
tests that drive quillon.exe under Wine; and their checks, said one per line."""
import os
import subprocess
import tempfile
import time

failures = []


def check(condition, what):
    print(('ok    ' if condition else 'FAIL  ') + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def wait_for(predicate, seconds=30.0):
    """The predicate's first true value, or its last value once the time is up."""
    deadline = time.time() + seconds
    while True:
        value = predicate()
        if value or time.time() > deadline:
            return value
        time.sleep(0.2)


# 宋体 where Wine has no SimSun: a font whose Chinese characters are two ASCII cells wide; Wine's
# interface fonts fall back to SimSun for Chinese, so the menus read too.
FONT_REPLACEMENTS = ['[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]',
                     '"SimSun"="WenQuanYi Zen Hei Mono"', '"宋体"="WenQuanYi Zen Hei Mono"', '']


def start_display(screen='1600x1000'):
    """Xvfb on a free display number: the server and ':N'."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', screen + 'x24', '-nolisten', 'tcp'],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b''
    while not number.endswith(b'\n'):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    return server, ':' + number.decode().strip()


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def boot_prefix(work):
    """A Wine prefix under `work`, set in os.environ for every later wine call; its server up."""
    os.environ.update(WINEPREFIX=os.path.join(work, 'wine'), WINEARCH='win64', WINEDEBUG='-all')
    os.makedirs(os.environ['WINEPREFIX'])  # the server needs its folder, which wineboot then fills
    subprocess.run(['wineserver', '-p'], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    subprocess.run(['wineboot', '-i'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)


def import_registry(work, lines):
    """REGEDIT4 lines into the prefix."""
    with tempfile.NamedTemporaryFile('wb', suffix='.reg', delete=False, dir=work) as f:
        f.write(b'\xff\xfe' + '\r\n'.join(['REGEDIT4', ''] + lines + ['']).encode('utf-16-le'))
    subprocess.run(['wine', 'regedit', '/S', windows_path(f.name)], capture_output=True, timeout=60)
