#!/usr/bin/env python3
"""Reads back what Explorer and Windows read from the programs: the version information (Properties →
Details), the application manifest and the icon, straight from each .exe's resources.
Usage: resources_test.py VERSION PROGRAM.exe... [--installer SETUP.exe]"""
import os
import struct
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_desktop import check, failures  # noqa: E402

RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24
WINDOWS_10_AND_11 = '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'
def resources(path):
    """{type: [bytes of each resource of that type]} from a PE file's resource directory."""
    data = open(path, 'rb').read()
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    sections, optional_size = struct.unpack_from('<H12xH', data, pe + 6)
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from('<H', data, optional)[0] == 0x20b else 96)
    rsrc_rva = struct.unpack_from('<I', data, directories + 2 * 8)[0]
    table = []
    for i in range(sections):
        size, rva, raw_size, raw = struct.unpack_from('<IIII', data, optional + optional_size + i * 40 + 8)
        table.append((rva, max(size, raw_size), raw))

    def at(rva):
        for start, size, raw in table:
            if start <= rva < start + size:
                return rva - start + raw
        raise ValueError('RVA %#x outside every section' % rva)

    base = at(rsrc_rva)

    def entries(offset):
        named, numbered = struct.unpack_from('<HH', data, base + offset + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from('<II', data, base + offset + 16 + i * 8)
            yield name & 0x7fffffff, bool(target & 0x80000000), target & 0x7fffffff

    found = {}

    def leaves(offset):
        for _, is_directory, target in entries(offset):
            if is_directory:
                yield from leaves(target)
            else:
                rva, size = struct.unpack_from('<II', data, base + target)
                yield data[at(rva):at(rva) + size]

    for kind, _, target in entries(0):
        found[kind] = list(leaves(target))
    return found


def version_info(block):
    """The fixed part's file and product versions, and the strings of every StringTable."""
    strings = {}

    def node(offset):
        length, value_length, kind = struct.unpack_from('<HHH', block, offset)
        end = block.index(b'\0\0', offset + 6)
        while (end - offset - 6) % 2:
            end = block.index(b'\0\0', end + 1)
        key = block[offset + 6:end].decode('utf-16-le')
        value = (end + 2 + 3) & ~3
        size = value_length * 2 if kind == 1 else value_length
        return length, key, value, size, kind

    length, key, value, size, _ = node(0)
    fixed = struct.unpack_from('<13I', block, value)
    versions = ['%d.%d.%d.%d' % (fixed[hi] >> 16, fixed[hi] & 0xffff, fixed[hi + 1] >> 16, fixed[hi + 1] & 0xffff)
                for hi in (2, 4)]

    def walk(offset, stop):
        while offset < stop:
            length, key, value, size, kind = node(offset)
            if length == 0:
                break
            if kind == 1 and size:
                strings[key] = block[value:value + size].decode('utf-16-le').rstrip('\0')
            else:
                walk((value + size + 3) & ~3, offset + length)
            offset = (offset + length + 3) & ~3

    walk((value + size + 3) & ~3, length)
    return versions, strings


def manifest_of(found):
    text = found.get(RT_MANIFEST, [b''])[0]
    return ET.fromstring(text.decode('utf-8').lstrip('\ufeff')) if text else None


def find_text(root, name):
    return [element.text.strip() for element in root.iter() if element.tag.endswith('}' + name) and element.text]


args = sys.argv[1:]
installer = None
if '--installer' in args:
    installer = args[args.index('--installer') + 1]
    del args[args.index('--installer'):args.index('--installer') + 2]
version, programs = args[0], args[1:]
quad = version + '.0' * (3 - version.count('.'))

for program in programs + ([installer] if installer else []):
    name = os.path.basename(program)
    found = resources(program)
    versions, strings = version_info(found[RT_VERSION][0]) if RT_VERSION in found else (['', ''], {})
    check(versions == [quad, quad], '%s: FileVersion and ProductVersion %s in the fixed part' % (name, quad))
    check(strings.get('FileVersion') == version and strings.get('ProductVersion') == version,
          '%s: the strings say version %s' % (name, version))
    check(all(strings.get(key) for key in ('CompanyName', 'ProductName', 'FileDescription', 'LegalCopyright')),
          '%s: company, product, description and copyright: %s' % (name, strings))
    check(len(found.get(RT_GROUP_ICON, [])) == 1, '%s: an icon' % name)
    root = manifest_of(found)
    if not check(root is not None, '%s: an application manifest' % name):
        continue
    check(root.find('.//{*}compatibility//{*}supportedOS[@Id="%s"]' % WINDOWS_10_AND_11) is not None,
          '%s: supports Windows 10 and 11' % name)
    levels = [e.get('level') for e in root.iter() if e.tag.endswith('}requestedExecutionLevel')]
    check(levels in ([], ['asInvoker']), '%s: asks for no administrator rights: %s' % (name, levels))
    if program == installer:
        continue
    check(strings.get('OriginalFilename') == name, '%s: its original file name' % name)
    check(root.find('{*}assemblyIdentity').get('version') == quad, '%s: the manifest\'s version %s' % (name, quad))
    controls = [e for e in root.iter() if e.tag.endswith('}assemblyIdentity') and e.get('name') == 'Microsoft.Windows.Common-Controls']
    check(len(controls) == 1 and controls[0].get('version') == '6.0.0.0', '%s: common controls 6' % name)
    awareness = find_text(root, 'dpiAwareness')
    check(len(awareness) == 1 and [v.strip() for v in awareness[0].split(',')][0] == 'PerMonitorV2' and
          find_text(root, 'dpiAware') == ['true/pm'],
          '%s: per-monitor DPI awareness, v2 first: %s %s' % (name, awareness, find_text(root, 'dpiAware')))

print('%d failed' % len(failures) if failures else 'all passed')
sys.exit(1 if failures else 0)
