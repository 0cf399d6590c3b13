#!/usr/bin/env python3
"""The installer as a user meets it, in a fresh Wine prefix on a virtual X display: clicked through
(the desktop icon unticked, a folder with a Chinese name and a blank, Quillon started from the last
page), then silently with /S; each time the installed files, shortcuts and registry entries are
checked, the installed quillon-score.exe scores sample 4, the uninstaller runs silently as Apps &
features would run it, and nothing of the installation is left.
Usage: installer_test.py SETUP.exe PROBE.exe TOOL.exe [SCREENSHOT_FOLDER]"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_desktop import check, failures, start_display, wait_for  # noqa: E402

SETUP, PROBE, TOOL = (os.path.abspath(path) for path in sys.argv[1:4])
SCREENSHOTS = sys.argv[4] if len(sys.argv) > 4 else None
TITLE = ' 安装'  # the installer's caption: "Quillon VERSION 安装"
WINDOW_TITLE = '基于脚本编码方法的Quillon-'
UNINSTALL_KEY = 'HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillon'
CLASSES = 'HKEY_CURRENT_USER\\Software\\Classes'
CHOSEN_PARENT = '测试 文件夹'  # C:\测试 文件夹, where an assessor keeps programs
PREFIX_SETTINGS = '\r\n'.join([
    'Windows Registry Editor Version 5.00', '', '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]',
    '"SimSun"="WenQuanYi Zen Hei"', '"宋体"="WenQuanYi Zen Hei"', '',
    # As on Windows, where the user's own list of programs for .txt holds Notepad's type: it stays.
    '[HKEY_CURRENT_USER\\Software\\Classes\\.txt\\OpenWithProgids]', '"txtfile"=hex(0):', ''])
SHIPPED = ['help2.htm', 'quillon-score.exe', 'quillon.exe', 'uninstall.exe']

def wine(*args, timeout=120):
    return subprocess.run(['wine', *args], capture_output=True, timeout=timeout)


def probe(*args):
    return wine(PROBE, *args)


def texts(title=TITLE):
    return probe('texts', title).stdout.decode('utf-8')


def unix_path(windows):
    return wine('winepath', '-u', windows).stdout.decode('utf-8').strip()


def registry(key):
    """The key exported by regedit (its subkeys too) as text; '' when there is no such key."""
    exported = os.path.join(work, 'export.reg')
    if os.path.exists(exported):
        os.remove(exported)
    wine('regedit', '/E', 'Z:' + exported.replace('/', '\\'), key)
    if not os.path.exists(exported):
        return ''
    with open(exported, 'rb') as f:
        return f.read().decode('utf-16')


def keys(exported):
    """{key: {value name: value}} of an export, the default value under '@'."""
    found, current = {}, None
    for line in exported.splitlines():
        if line.startswith('['):
            current = found.setdefault(line.strip('[]'), {})
        elif current is not None and '=' in line:
            name, data = line.split('=', 1)
            current[name.strip('"')] = data
    return found


def value(exported, name):
    for line in exported.splitlines():
        if line.startswith('"%s"=' % name):
            return line.split('=', 1)[1]
    return None


def left_behind():
    """Everything in the user's folders and the chosen folder's parent, and the registry keys the
    installer writes to, as one set to compare before and after."""
    found = set()
    for top in (users, chosen_parent):
        for folder, subfolders, files in os.walk(top):
            found.update(os.path.relpath(os.path.join(folder, name), top) for name in subfolders + files)
    for key in (UNINSTALL_KEY, CLASSES + '\\Applications\\quillon.exe', CLASSES + '\\Quillon.Script',
                CLASSES + '\\.txt', CLASSES + '\\.qs'):
        found.update(key + ': ' + line for line in registry(key).splitlines() if line.strip())
    return found


def shot(name):
    if SCREENSHOTS:
        time.sleep(1.0)
        window = subprocess.run(['xdotool', 'search', '--name', TITLE], env=x_env, capture_output=True).stdout.split()
        if window:
            subprocess.run(['import', '-frame', '-window', window[0], os.path.join(SCREENSHOTS, name)], env=x_env)


def next_page(words):
    probe('click', TITLE, '1')  # 下一步, then 安装, then 完成: the button under the same id
    return check(wait_for(lambda: words in texts()), 'the next page shows "%s"' % words)


def check_installed(folder, desktop_icon):
    """The files, shortcuts and registry entries of an installation into FOLDER (Windows path)."""
    where = unix_path(folder)
    check(sorted(os.listdir(where)) == SHIPPED if os.path.isdir(where) else False,
          'installed into %s: %s' % (folder, ', '.join(SHIPPED)))
    check(os.path.isfile(start_menu), 'a Start-menu entry')
    check(os.path.isfile(desktop) == desktop_icon, 'a desktop icon' if desktop_icon else 'no desktop icon')
    entry = registry(UNINSTALL_KEY)
    uninstaller = '\\"%s\\\\uninstall.exe\\"' % folder.replace('\\', '\\\\')
    expected = {'DisplayName': '"Quillon 密评算分器"', 'DisplayVersion': '"%s"' % version, 'Publisher': '"Quillon 开发组"',
                'DisplayIcon': '"%s\\\\quillon.exe,0"' % folder.replace('\\', '\\\\'),
                'UninstallString': '"%s"' % uninstaller, 'QuietUninstallString': '"%s /S"' % uninstaller,
                'NoModify': 'dword:00000001', 'NoRepair': 'dword:00000001'}
    seen = {name: value(entry, name) for name in expected}
    check(seen == expected, 'listed in Apps & features: %s' % seen)
    size = value(entry, 'EstimatedSize') or 'dword:0'
    check(int(size.split(':')[1], 16) * 1024 >= sum(os.path.getsize(os.path.join(where, f)) for f in SHIPPED[:3]),
          'with its size in KiB: %s' % size)
    command = '"\\"%s\\\\quillon.exe\\" \\"%%1\\""' % folder.replace('\\', '\\\\')
    application = keys(registry(CLASSES + '\\Applications\\quillon.exe'))
    opens = application.get(CLASSES + '\\Applications\\quillon.exe\\shell\\open\\command', {}).get('@')
    types = application.get(CLASSES + '\\Applications\\quillon.exe\\SupportedTypes', {})
    check(opens == command and types == {'.txt': '""', '.qs': '""'},
          'Quillon among the programs for .txt and .qs: %r %r' % (opens, types))
    for extension in ('.txt', '.qs'):
        own = registry(CLASSES + '\\' + extension)
        check('"Quillon.Script"=hex(0):' in own and '@=' not in own and ('"txtfile"' in own) == (extension == '.txt'),
              '%s: Quillon offered under 打开方式, no default of its own set' % extension)
    check(registry('HKEY_CLASSES_ROOT\\.txt') == txt_before, '.txt opens with what it opened with before')
    scored = wine(os.path.join(folder, 'quillon-score.exe'), '--sample', '4').stdout
    check(scored == wine(TOOL, '--sample', '4').stdout and '密评总分=  69.680  69.6798'.encode() in scored,
          'the installed quillon-score.exe scores sample 4 as the build\'s does')
    return entry


def uninstall(entry, folder):
    """The quiet uninstall command Apps & features would run; it copies itself away and returns."""
    command = (value(entry, 'QuietUninstallString') or '').strip('"').replace('\\"', '"').replace('\\\\', '\\')
    program = folder + '\\uninstall.exe'
    check(command == '"%s" /S' % program, 'the quiet uninstall command: ' + command)
    wine(program, '/S')
    check(wait_for(lambda: not os.path.exists(unix_path(folder)) and registry(UNINSTALL_KEY) == '', 60),
          'the silent uninstaller removes the folder and the entry')
    time.sleep(2.0)  # its copy in the temporary folder ends


work = tempfile.mkdtemp(prefix='quillon-installer-test-')
xserver, display = start_display()
x_env = dict(os.environ, DISPLAY=display)
# A fresh Wine of the test's own; its own home, so that the desktop and Start menu stay in the
# prefix, and no menu entries made on this machine's desktop.
os.environ.update(DISPLAY=display, WINEPREFIX=os.path.join(work, 'wine'), WINEARCH='win64', WINEDEBUG='-all',
                  HOME=work, WINEDLLOVERRIDES='winemenubuilder.exe=d')
os.makedirs(os.environ['WINEPREFIX'])
subprocess.run(['wineserver', '-p'], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
subprocess.run(['wineboot', '-i'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
manager = subprocess.Popen(['openbox'], env=x_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
setup = None
try:
    settings = os.path.join(work, 'settings.reg')
    with open(settings, 'wb') as f:
        f.write(b'\xff\xfe' + PREFIX_SETTINGS.encode('utf-16-le'))
    wine('regedit', '/S', 'Z:' + settings.replace('/', '\\'))
    version = wine(TOOL, '--version').stdout.decode().split()[-1]
    local = wine('cmd', '/c', 'echo %LOCALAPPDATA%').stdout.decode().strip()
    users = os.path.dirname(unix_path(os.path.dirname(os.path.dirname(local))))
    profile = os.path.dirname(unix_path(local))  # ...\AppData
    start_menu = os.path.join(profile, 'Roaming', 'Microsoft', 'Windows', 'Start Menu', 'Programs', 'Quillon.lnk')
    desktop = os.path.join(os.path.dirname(profile), 'Desktop', 'Quillon.lnk')
    chosen_parent = os.path.join(os.environ['WINEPREFIX'], 'drive_c', CHOSEN_PARENT)
    os.makedirs(chosen_parent)
    txt_before = registry('HKEY_CLASSES_ROOT\\.txt')
    check('"txtfile"=hex(0):' in registry(CLASSES + '\\.txt'), 'before: the user\'s list for .txt offers Notepad\'s type')
    before = left_behind()

    # Clicked through: welcome, components, folder, the files, finish.
    setup = subprocess.Popen(['wine', SETUP], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    check(wait_for(lambda: probe('alive', TITLE).returncode == 0, 60), 'the installer opens')
    welcome = wait_for(lambda: '欢迎使用' in texts() and texts())
    check(('Quillon %s 安装\n' % version) in welcome and '欢迎使用 Quillon %s 安装程序' % version in welcome and
          '此程序将引导你完成 Quillon %s 的安装' % version in welcome and '下一步(&N) >' in welcome,
          'its welcome page in Chinese: ' + repr(welcome))
    shot('installer-welcome.png')
    next_page('请勾选你想安装的组件')
    shot('installer-components.png')
    probe('tree-toggle', TITLE, '1')  # the desktop icon unticked (its entry is the second)
    next_page('安装程序将把 Quillon %s 安装到以下目录' % version)
    default_folder = local + '\\Programs\\Quillon'
    check('1019|Edit|%s\n' % default_folder in texts(), 'the folder proposed is ' + default_folder)
    chosen = 'C:\\%s\\Quillon' % CHOSEN_PARENT
    probe('set-text', TITLE, '1019', chosen)
    shot('installer-folder.png')
    next_page('运行 Quillon %s' % version)
    shot('installer-finish.png')
    probe('click', TITLE, '1')  # 完成, with Quillon ticked to start
    check(wait_for(lambda: setup.poll() is not None, 30), 'the installer ends')
    check(wait_for(lambda: probe('alive', WINDOW_TITLE).returncode == 0, 60), 'and the installed window starts')
    probe('click', WINDOW_TITLE, '1005')  # 退出
    check(wait_for(lambda: probe('alive', WINDOW_TITLE).returncode != 0), 'and ends with 退出')
    entry = check_installed(chosen, desktop_icon=False)
    uninstall(entry, chosen)
    check(left_behind() == before, 'nothing of it is left: ' + repr(sorted(left_behind() ^ before)))

    # Silent: the proposed folder, the desktop icon with it.
    wine(SETUP, '/S')
    entry = check_installed(default_folder, desktop_icon=True)
    uninstall(entry, default_folder)
    # %LOCALAPPDATA%\Programs is Windows' own folder for programs of one user: it stays.
    check(left_behind() - before <= {os.path.relpath(unix_path(local + '\\Programs'), users)} and before <= left_behind(),
          'nothing of it is left: ' + repr(sorted(left_behind() ^ before)))
finally:
    if setup is not None and setup.poll() is None:
        setup.kill()
    subprocess.run(['wineserver', '-k'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    manager.terminate()
    xserver.terminate()
    shutil.rmtree(work, ignore_errors=True)

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
