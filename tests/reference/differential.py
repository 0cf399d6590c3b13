#!/usr/bin/env python3
"""Differential test: generated scripts scored by quillon-score (GBK output) and by the Python
reading of the rules must give the same bytes. Usage: differential.py TOOL [COUNT] [SEED]"""
import os
import random
import shlex
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import reference  # noqa: E402
from tool_run import run_tool  # noqa: E402

NUMBERS = ['0', '1', '0.5', '0.25', '.5', '5.', '0.3333', '0.6667', '1e-1', '2', '0.99999',
           '0.00004', '0.99996', '1.0001', '-0.05', '-0.5', '+0.7', '0x1', '1e400', 'inf',
           'nan', '0.123456789', '1307117.3166', '214748.3647', '0.5abc', '1e', '-0', '3e-5']
CODES = ['VVV', 'VVX', 'VXV', 'VXX', 'XXX', 'X--', '\\--', '---', 'vvx', 'Vxx', 'xvv', 'x---',
         'vvvx', 'vxxx', 'MAX(1,2)', 'max(1.0*0.5,0.6)', 'max(0.5', 'max(vvx,vxx)', 'max(1,1)',
         'maX(0.2,0.3)', 'max(,)', '/', '-', '备注', '廣VX', 'VV', 'a' * 70 + 'VVX']
SUFFIXES = ['', '', '', '*1.2', '*12', '*1.5', '*15', '*0.5', '*5', '*0.2', '*2', '*0.25',
            '*1.2*0.5', '*3', '*']
REMARKS = ['测试向量： 2级 密评总分=  64.230', '某三级练习', 'Velmar例题 = 62.29', '', '   ',
           '注释 mpout', 'MPOUT', ' mpout', 'mpinit=5', 'mpinit=0 1', 'mpinit=', '😀 表情']


def token(rng):
    if rng.random() < 0.35:
        return rng.choice(NUMBERS) + rng.choice(SUFFIXES)
    return rng.choice(CODES) + rng.choice(SUFFIXES)


def layer_word(rng):
    r = rng.random()
    if r < 0.6:
        return rng.choice(NUMBERS)
    if r < 0.8:
        return rng.choice(['-', '/', '\\', '*', '-0.5', '/x', '*1'])
    return rng.choice(['abc', 'VVX', '中文', '0.' + '1' * rng.randint(1, 250)])


def chinese(rng, n):
    return ''.join(rng.choice('中文备注测评密码€😀a') for _ in range(n))


def edge_line(rng):
    """Lines at the limits, counted in GBK bytes: a cut falls on or beside a character."""
    r = rng.random()
    if r < 0.4:
        return 'mpecho' + chinese(rng, rng.randint(990, 1000)) + 'x' * rng.randint(0, 3)
    if r < 0.7:
        return '$$1.%d ' % rng.randint(1, 3) + ' '.join(
            chinese(rng, rng.randint(28, 32)) + rng.choice(['VVX', 'vvv', 'XXX', '0.5'])
            for _ in range(rng.randint(1, 4)))
    return '@@1 0.' + '1' * rng.randint(0, 3) + chinese(rng, rng.randint(95, 100)) + ' 0.5'


def line(rng):
    r = rng.random()
    if r < 0.05:
        return edge_line(rng)
    if r < 0.07:
        level = rng.choice('12344')
        arg = rng.choice(['', ' 1', '  1', ' 2', ' 0', ' 10', ' a', ' -1', ' zz', ' 0x', ' 0x2',
                          ' +2', ' 100000001'])
        return 'mpinit=' + level + rng.choice(['', 'abc']) + arg
    if r < 0.35:
        layer = rng.choice('123456780 9')
        words = [layer_word(rng) for _ in range(rng.randint(0, 10))]
        sep = rng.choice([' ', '  ', '   '])
        return '@@' + layer + rng.choice(['', '##8#', '1']) + sep + sep.join(words)
    if r < 0.65:
        address = rng.choice(['%d.%d' % (rng.randint(0, 9), rng.randint(0, 9)), '4.2x', '42',
                              '10.1', '4.', '4.-1', '+.1', '4.02', '4.99999999999',
                              '%d.%d' % (rng.randint(1, 8), rng.randint(1, 8))])
        objects = [token(rng) for _ in range(rng.randint(0, 18))]
        return '$$' + address + ' ' + ' '.join(objects)
    if r < 0.75:
        return '$$ ' + ' '.join(token(rng) for _ in range(rng.randint(0, 18)))
    if r < 0.87:
        return 'mpout' + rng.choice(['', '', '1', '2', '3', '4', '5']) + rng.choice(
            ['', ' 100', ' 0', ' 10000', ' 20000', ' 30100', '  30000', ' 1', ' fff', ' -1'])
    if r < 0.92:
        return rng.choice(['mpecho', 'mpec', 'mpecho  输出注释1：  下面是 5.4 调整', 'mpecx 😀'])
    return rng.choice(REMARKS)


def script(rng):
    ends = rng.choice([['\r\n'], ['\n'], ['\r'], ['\r\n', '\n', '\r', '\n\r']])
    text = ''
    for _ in range(rng.randint(0, 30)):
        text += line(rng).replace(' ', '\t', 1 if rng.random() < 0.03 else 0)
        text += rng.choice(ends)
    return text


def score(tool, path):
    """The tool's report of the script at path, or None when the tool failed."""
    done = run_tool(tool, ['--output-encoding', 'gbk', path], path)
    return done.stdout if done.returncode == 0 else None


def main():
    tool = shlex.split(sys.argv[1])  # a path, or a command such as "wine quillon-score.exe"
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 20261208
    rng = random.Random(seed)
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        for i in range(count):
            text = script(rng)
            path = os.path.join(folder, 'script.txt')
            with open(path, 'wb') as f:
                f.write(text.encode('utf-8'))
            got = score(tool, path)
            # GBK writes the euro sign as its single byte 0x80, which Python's codec lacks.
            want = b'\x80'.join(part.encode('gbk', errors='replace')
                                 for part in reference.score_script(text).split('\u20ac'))
            if got is None or got != want:
                failures += 1
                kept = 'differential_failure_%d.txt' % i
                with open(kept, 'wb') as f:
                    f.write(text.encode('utf-8'))
                print('script %d differs; kept as %s' % (i, os.path.abspath(kept)))
                if failures >= 5:
                    break
    print('differential: %d passed, %d failed' % (count - failures, failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
