// The WebAssembly build against quillon-score on the golden scripts and on numbers at the
// edges of formatting and parsing, where the two builds use different number code.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const tool = process.env.QUILLON_SCORE ?? join(root, 'build/default/cli/quillon-score');
const page = process.env.QUILLON_PAGE_DIR ?? join(root, 'build/web/page');  // where make web puts it
const QuillonModule = createRequire(import.meta.url)(join(page, 'quillon.js'));
const quillon = await QuillonModule();
const native = (script) => execFileSync(tool, ['-'], { input: script }).toString('utf8');

test('golden scripts give the same report', () => {
  const folder = join(root, 'tests/golden');
  for (const name of readdirSync(folder).filter((file) => file.endsWith('.qs'))) {
    const script = new TextDecoder('gbk').decode(readFileSync(join(folder, name)));
    assert.equal(quillon.scoreScript(script), native(script), name);
  }
});

test('numbers at the edges give the same report', () => {
  const scripts = [
    '@@1 1e308 4.9e-324 2.2250738585072014e-308\nmpout 100',
    '$$ 1e300 1e300\n$$1.1 1e308 1e308\n$$ -1e-308 0.1234565 0.00005\nmpout 0',
    '@@5 214748.36475 0.99995 0.49995 1.00005 0.000049999 123456.654321\nmpout 30100',
    '@@2 0.1 0.2 0.30000000000000004 1e-7 5e-5\n$$ 0.7*1.5 max(0.33333,0.3)\nmpout 0\nmpout',
    '@@1 +.5e1 1.e-2 0x10\n@@3 1e400 inf nan -0\nmpout 100',
  ];
  for (const script of scripts) assert.equal(quillon.scoreScript(script), native(script), script);
});

test('files are read by the same decoder as the tool', () => {
  const nativeBytes = (bytes) => execFileSync(tool, ['-'], { input: bytes }).toString('utf8');
  const echo = (bytes) => Buffer.concat([Buffer.from('mpecho '), Buffer.from(bytes), Buffer.from('\r\nmpout 0')]);
  const utf16 = Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from('mpecho 某三级\r\n@@1 0 0 0\r\nmpout', 'utf16le')]);
  const files = [
    echo([0x81, 0x30, 0x81, 0x30, 0xa2, 0xe3, 0xaa, 0xa1, 0xa8, 0xbf, 0xfe, 0x50, 0x80, 0xd6, 0xd0]),
    echo([0x94, 0x39, 0xfc, 0x36, 0xff, 0x81, 0x20]),
    utf16,
    Buffer.from('mpecho 中文 €\r\nmpout'),
  ];
  for (const bytes of files) {
    const decoded = quillon.decodeScript(new Uint8Array(bytes));
    assert.equal(decoded.binary, false);
    assert.equal(quillon.scoreScript(decoded.text), nativeBytes(bytes), bytes.toString('hex'));
  }
  assert.equal(quillon.decodeScript(new Uint8Array(utf16)).encoding, 'UTF-16LE');
  assert.equal(quillon.decodeScript(new Uint8Array(readFileSync('/bin/ls'))).binary, true);
});

test('the model exports what the tool writes, under the registry\'s names and types', () => {
  const model = new quillon.FrontEnd();
  model.start();
  model.sampleChosen(3);
  const formats = quillon.exportFormats();
  assert.deepEqual(formats.map(({ name, menu }) => `${name} ${menu}`),
    ['csv 导出表格(CSV)', 'html 导出网页(HTML)', 'xlsx 导出工作簿(XLSX)', 'docx 导出 Word 表格(DOCX)']);
  const types = { csv: 'text/csv;charset=utf-8', html: 'text/html;charset=utf-8',
    xlsx: 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet',
    docx: 'application/vnd.openxmlformats-officedocument.wordprocessingml.document' };
  for (const { name } of formats) {
    const file = model.exportTables(name);
    assert.equal(file.name, `密评得分.${name}`);
    assert.ok(file.type && file.type === (types[name] ?? file.type), name);
    if (name !== 'xlsx') {  // the workbook holds the time it was made; the document the same bytes
      assert.deepEqual(Buffer.from(file.file), execFileSync(tool, ['--sample', '4', '--format', name]), name);
    }
  }
  assert.equal(model.exportTables('pdf').message, '没有这种导出格式：pdf');
  model.delete();
});
