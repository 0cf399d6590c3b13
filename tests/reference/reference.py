#!/usr/bin/env python3
"""A second, independent reading of the scoring rules, in Python, used only by the tests.

It takes a script (UTF-8 text) and returns the report (UTF-8 text), written straight from the
rules without sharing any code with the C++ library, so that the differential test can
compare the two on many generated scripts.
"""
import math
import re

NAMES = ["物理和环境", "网路和设备", "设备和计算", "应用和数据",
         "管理制度  ", "人员管理  ", "建设运行  ", "应急处置  "]
COUNTS = [3, 5, 6, 8, 6, 5, 5, 3]
LAYER_WEIGHTS = [10, 20, 10, 30, 8, 8, 8, 6]
W = {
    1: [[0.7, 0.4, -8], [0.7, 0.4, 0.7, 0.4, -8], [0.7, -8, 0.4, -8, 0.4, -8],
        [0.7, 0.4, -8, 0.7, 0.7, 0.7, 0.7, -8], [1, 0.7, -8, -8, -8, -8],
        [0.7, -8, -8, -8, 0.7], [1, 1, 0.7, 1, -8], [1, -8, -8]],
    2: [[0.7, 0.4, -8], [0.7, 0.4, 0.7, 0.4, -8], [0.7, -8, 0.4, -8, 0.4, -8],
        [0.7, 0.4, -8, 0.7, 0.7, 0.7, 0.7, -8], [1, 0.7, 0.7, -8, -8, -8],
        [0.7, 1, 0.7, -8, 0.7], [1, 1, 0.7, 1, -8], [1, -8, -8]],
    3: [[1, 0.7, 0.7], [1, 0.7, 1, 0.4, 0.4], [1, 1, 0.4, 0.4, 0.4, 0.7],
        [1, 0.4, 0.4, 1, 1, 0.7, 0.7, 1], [1, 0.7, 0.7, 0.7, 0.7, 0.7],
        [0.7, 1, 0.7, 0.7, 0.7], [1, 1, 0.7, 1, 0.7], [1, 0.7, 0.7]],
    4: [[1, 0.7, 0.7], [1, 1, 1, 0.7, 0.7], [1, 1, 0.7, 0.7, 0.7, 1],
        [1, 0.7, 0.7, 1, 1, 1, 1, 1], [1, 0.7, 0.7, 0.7, 0.7, 0.7],
        [0.7, 1, 0.7, 0.7, 0.7], [1, 1, 0.7, 1, 0.7], [1, 0.7, 0.7]],
}
NO_OBJECT = 1307117.3166
CAP = 1048575


def char_len(c):
    """The bytes a character takes in GBK: 2 for a double-byte code, else 1 ("?" or the euro's 0x80)."""
    try:
        return len(c.encode('gbk')) if c != '\u20ac' else 1
    except UnicodeEncodeError:
        return 1


def gbk_len(text):
    return len(text) if text.isascii() else sum(char_len(c) for c in text)


def gbk_prefix(text, limit):
    """The longest prefix of text that takes at most limit GBK bytes."""
    if len(text) <= limit and text.isascii():
        return text
    size = 0
    for i, c in enumerate(text):
        size += char_len(c)
        if size > limit:
            return text[:i]
    return text

DECIMAL = re.compile(r'[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?')


def read_decimal(text):
    m = DECIMAL.match(text)
    if not m:
        return None
    v = float(m.group(0))
    return v if math.isfinite(v) else None


def read_hex(line, default):
    words = line.split(' ')
    rest = line.lstrip(' ')
    if not rest:
        return default
    rest = rest[len(rest.split(' ')[0]):].lstrip(' ')
    m = re.match(r'([+-]?)(0[xX])?([0-9a-fA-F]*)', rest)
    if not m.group(2) and not m.group(3):
        return default
    v = int(m.group(3), 16) if m.group(3) else 0
    if m.group(1) == '-':
        v = -v
    v %= 1 << 32
    return v - (1 << 32) if v >= 1 << 31 else v


def trunc32(t):
    if not (-2147483648.0 <= t <= 2147483647.0):
        return None
    return int(t)


def round_to(v, scale, step):
    t = trunc32(v * scale + 0.5)
    return v if t is None else float(t) * step


def pad(name, width):
    return name + ' ' * (width - len(name.encode('gbk')))


def f(v, width, prec):
    return '%*.*f' % (width, prec, v)


class Run:
    def __init__(self):
        self.out = []
        self.size = 0
        self.full = False
        self.level = 0
        self.weights = None
        self.scores = [[0.0] * 8 for _ in range(8)]
        self.layer = [-1.0] * 8
        self.tallies = {}

    def append(self, text):
        if self.full or not text:
            return
        cut = gbk_prefix(text, CAP - self.size)
        self.out.append(cut)
        self.size += gbk_len(cut)
        self.full = len(cut) < len(text)

    def w(self, k, j):
        row = self.weights[k]
        return row[j] if j < len(row) else 0.0

    def select(self, n):
        self.level = n
        self.weights = W[n]

    def tally(self, k):
        ws = wsum = 0.0
        cnt = 0
        flag = False
        ne = 0
        for j in range(COUNTS[k]):
            w, s = self.w(k, j), self.scores[k][j]
            if w <= 0.39:
                continue
            if s > -0.5:
                wsum += w
                cnt += 1
                ws += s * w
                if s > 1307117.2166:
                    flag = True
            if -5.01 <= s <= -4.99:
                ne += 1
        self.layer[k] = -3.0 if flag else (ws / wsum if cnt else -1.0)
        return ne

    def init_level(self, line, x):
        if line[:7] == 'mpinit=' and len(line) > 7 and line[7] in '1234':
            self.select(int(line[7]))
        if x in (1, 2):
            for k in range(8):
                for j in range(8):
                    w = self.w(k, j)
                    self.scores[k][j] = w if x == 1 else (-5.0 if w > 0.39 else -8.0)
                self.tally(k)
        self.tallies = {}

    def report(self, line, flags):
        if line[5:6] in ('1', '2', '3', '4') and len(line) > 5:
            self.append('特别提示：mpout 被强行指定密评级别喽\r\n')
            self.select(int(line[5]))
        if flags & 0x10000:
            for k in range(8):
                for j in range(8):
                    s = self.scores[k][j]
                    if -0.5 < s <= 1307117.2166:
                        self.scores[k][j] = round_to(s, 10000.0, 0.0001)
        not_entered = sum(self.tally(k) for k in range(8))
        if flags & 0x20000:
            for k in range(8):
                if -0.5 < self.layer[k] <= 1307117.2166:
                    self.layer[k] = round_to(self.layer[k], 10000.0, 0.0001)
        tw = tws = mw = mws = 0.0
        for k in range(8):
            if self.layer[k] > -0.5:
                if k < 4:
                    tws += self.layer[k] * LAYER_WEIGHTS[k]
                    tw += LAYER_WEIGHTS[k]
                else:
                    mws += self.layer[k] * LAYER_WEIGHTS[k]
                    mw += LAYER_WEIGHTS[k]
        total = (70 * (tws / tw) if tw > 0 else 0.0) + (30 * (mws / mw) if mw > 0 else 0.0)
        non = part = comp = 0
        for k in range(8):
            for j in range(COUNTS[k]):
                if self.w(k, j) > 0.39:
                    s = self.scores[k][j]
                    if -0.0001 < s < 0.0001:
                        non += 1
                    elif 0.0001 <= s < 0.99999:
                        part += 1
                    elif 0.99999 <= s < 1.0001:
                        comp += 1
        text = ''
        for k in range(8):
            text += '@@%d%s %s # ' % (k + 1, pad(NAMES[k], 12), f(self.layer[k], 8, 6))
            for j in range(COUNTS[k]):
                s = self.scores[k][j]
                if -8.01 < s < -7.99:
                    text += '2级不评  ' if self.level == 2 else '1级不评  '
                elif -5.01 < s < -4.99:
                    text += '没输入   '
                elif -1.01 < s < -0.99:
                    text += '不适用   '
                else:
                    text += f(s, 8, 6) + ' '
            text += '\r\n'
        r = round_to(total, 100.0, 0.01)
        text += '%d级 密评总分=%s %s 注意2位有效数字\r\n' % (self.level, f(r, 8, 3), f(total, 8, 4))
        text += '不符合=%3d 部分符合=%3d 符合=%6d  不适用=暂不统计  %s(%s) +%s(%s) \r\n' % (
            non, part, comp, f(tws, 8, 4), f(tw, 8, 4), f(mws, 8, 4), f(mw, 8, 4))
        if not_entered:
            text += "'没输入'的单元数为%2d个\r\n" % not_entered
        if flags & 0x100:
            text += '《商用密码应用安全性评估报告》表 5-2 整体测评结果的得分\r\n'
            text += '层面           单元序号->   单元得分 层面得分\r\n'
            for k in range(8):
                for j in range(COUNTS[k]):
                    s = self.scores[k][j]
                    text += '@@%d%s  %2d->' % (k + 1, pad(NAMES[k], 16), j + 1)
                    text += ('  ' + f(s, 8, 5)) if s >= -0.0001 else '   \\    '
                    text += (' ' + f(self.layer[k], 8, 5) + ' ') if j == 0 else ' ' * 8
                    text += '\r\n'
            text += '*** 密评总分=%s \r\n' % f(r, 8, 3)
        self.append(text)


def objects(text):
    """Scores, the tallies and the counted object list of a unit's object text."""
    tokens = [t for t in text.split(' ') if t][:16]
    comp = part = non = na = 0
    total = 0.0
    listed = []
    for raw in tokens:
        tok = gbk_prefix(raw, 63)
        tok = tok.replace('V', 'v').replace('X', 'x')
        if tok[:4] == 'max(':
            if ',' in tok and ')' in tok:
                body = tok[4:].replace(',', ' ').replace(')', ' ').split()
                vals = []
                for i in range(2):
                    a = body[i] if i < len(body) else ''
                    v = read_decimal(a)
                    v = -1.0 if v is None else v
                    if '*0.5' in a:
                        v *= 0.5
                    vals.append(v)
                big = vals[1] if vals[1] > vals[0] else vals[0]
            else:
                big = -3.0
            if big >= -0.000001:
                part += 1
                total += big
                listed.append(big)
            continue
        if '---' in tok:
            na += 1
            continue
        s = -2.0
        for code, v in (('xxx', 0.0), ('\\--', 0.0), ('x--', 0.0), ('vxx', 0.25),
                        ('vvx', 0.5), ('vxv', 0.5), ('vvv', 1.0)):
            if code in tok:
                s = v
        wt = 1.0
        if '*12' in tok or '*1.2' in tok:
            wt = 1.2
        if '*15' in tok or '*1.5' in tok:
            wt = 1.5
        if '*2' in tok or '*0.2' in tok:
            wt *= 0.2
        if '*5' in tok or '*0.5' in tok:
            wt *= 0.5
        if s < -1.9:
            v = read_decimal(tok.split('*')[0])
            if v is not None:
                s = v
        if s < 0.999:
            s *= wt
        if s < -0.1:
            break
        if s > 0.99:
            comp += 1
        elif s < 0.01:
            non += 1
        elif 0.01 < s < 0.99:
            part += 1
        total += s
        listed.append(s)
    n = len(listed)
    if n:
        mean = total / n
        rounded = round_to(mean, 10000.0, 0.0001)
    else:
        mean = rounded = NO_OBJECT
    line = '单元得分= %.5f (符合,部分符合,不符合,不适用)=(%2d %2d %2d %2d %s)=>%2d+若干不适用#' % (
        mean, comp, part, non, na, f(rounded, 8, 5), n)
    line += ''.join('%4.3f ' % s for s in listed)
    return rounded, line


def layer_line(run, line):
    if line[:2] != '@@' or len(line) < 3 or line[2] not in '12345678':
        return
    k = int(line[2]) - 1
    words = [w for w in line.split(' ') if w][1:9]
    for i in range(COUNTS[k]):
        word = gbk_prefix(words[i], 199) if i < len(words) else ''
        if word[:1] == '*' or word == '':
            continue
        if word[0] in '-\\/':
            run.scores[k][i] = -1.0
        elif run.w(k, i) > 0.39:
            v = read_decimal(word)
            if v is not None:
                run.scores[k][i] = v
    run.tally(k)


def unit_line(run, line):
    cmd = line.split(' ')[0]
    L = U = -1
    if len(cmd) > 4 and line[3] == '.':
        m = re.match(r'([+-]?\d+)', line[2:])
        if m:
            L = int(m.group(1))
            rest = line[2 + len(m.group(1)):]
            if rest[:1] == '.':
                m2 = re.match(r'([+-]?\d+)', rest[1:])
                if m2:
                    U = int(m2.group(1))
        if not 1 <= L <= 8:
            L = U = -2
        elif not 1 <= U <= 8:
            L = U = -3
    if L <= 0 or U <= 0:
        return
    if not run.w(L - 1, U - 1) > 0.399:
        return
    score, _ = objects(line[len(cmd):])
    run.scores[L - 1][U - 1] = score


def split_lines(text):
    lines = []
    pos = 0
    while pos < len(text):
        end = pos + 1
        while end < len(text) and text[end] not in '\r\n':
            end += 1
        collected = ''.join(c for c in text[pos:end] if ord(c) >= 32)
        lines.append(gbk_prefix(collected, 1999))
        pos = end + 1
    return lines


def score_script(text):
    text = gbk_prefix(text.split('\0')[0], 16777215)
    run = Run()
    run.init_level('mpinit=3 1', 1)
    reports = 0
    for line in split_lines(text):
        if line[:7] == 'mpinit=' and len(line) > 7 and line[7] in '1234':
            x = read_hex(line, 1)
            run.init_level(line, x)
            run.append('mpinit=%d %x 处理完毕\r\n' % (run.level, x % (1 << 32)))
        elif line[:3] == '$$ ':
            run.append(objects(line[3:])[1] + '\r\n')
        elif line[:2] == '$$':
            unit_line(run, line)
        elif line[:2] == '@@':
            layer_line(run, line)
        elif line[:5] == 'mpout':
            run.report(line, read_hex(line, 0x30000) % (1 << 32))
            reports += 1
        elif line[:4] == 'mpec':
            run.append(line + '\r\n')
    if reports == 0:
        run.report('mpout ', 0x30100)
        run.append('没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ')
    return ''.join(run.out)


if __name__ == '__main__':
    import sys
    sys.stdout.buffer.write(score_script(sys.stdin.buffer.read().decode('utf-8')).encode('utf-8'))
