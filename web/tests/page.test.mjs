// The page in headless Chromium: the window's behaviour, file loading, and reports identical
// to quillon-score's.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync, mkdirSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const dist = process.env.QUILLON_PAGE_DIR ?? join(root, 'build/web/page');  // where make web puts it
const tool = process.env.QUILLON_SCORE ?? join(root, 'build/default/cli/quillon-score');
const pageUrl = pathToFileURL(join(dist, 'index.html')).href;
const withLf = (text) => text.replace(/\r\n?/g, '\n');
const cli = (args, input) => withLf(execFileSync(tool, args, { input }).toString('utf8'));

// Every sheet's cells as JSON, read by Debian's openpyxl.
const workbookCells = (path) => execFileSync('/usr/bin/python3', ['-c', `
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
print(json.dumps({sheet.title: [list(row) for row in sheet.iter_rows(values_only=True)] for sheet in book}, ensure_ascii=False))
`, path]).toString('utf8');

let browser;
let page;

before(async () => {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--no-first-run', '--disable-sync', '--disable-quic'],
  });
});

after(async () => { await browser?.close(); });

async function openPage(url = pageUrl, viewport = { width: 1280, height: 820 }) {
  page = await browser.newPage({ viewport });
  await page.goto(url);
  await page.waitForSelector('body[data-ready="yes"]');
  await idle();
  return page;
}

// The worker has answered every call the page made.
const idle = () => page.waitForFunction(() => document.body.dataset.pending === '0');
const value = async (selector) => { await idle(); return page.$eval(selector, (element) => element.value); };
const chooseFromMenu = async (menu, item) => { await page.click(menu); await page.click(item); };

test('start-up state', async () => {
  await openPage();
  const notice = await page.evaluate(() => document.getElementById('script').value);
  assert.match(notice, /^ {6}\*\*\*\* 权利声明 \*\*\*\* {2}\n/);
  assert.equal(await value('#report'), 'NULL');
  assert.equal(await page.isChecked('#realtime'), true);
  assert.equal(await page.isDisabled('#compute'), true);
  assert.equal(await page.$eval('#samples', (select) => select.options[select.selectedIndex].textContent), '1. 权利声明 ');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'script');
  // A font whose Chinese characters measure two ASCII cells, so the report's columns align.
  assert.notEqual(await page.evaluate(() => document.body.dataset.font), '');
  await page.close();
});

test('typing in real-time mode rescores at once', async () => {
  await openPage();
  await page.fill('#script', '');
  await page.type('#script', 'mpinit=4\n@@1 0.5 1 0.5\nmpout');
  assert.equal(await value('#report'), cli(['-'], 'mpinit=4\n@@1 0.5 1 0.5\nmpout'));
  await page.type('#script', '\nmpecho 中文');
  assert.match(await value('#report'), /\nmpecho 中文\n/);
  await page.close();
});

test('with real-time off only the compute button scores', async () => {
  await openPage();
  await page.click('#realtime');
  await idle();  // the model answers from the worker
  assert.equal(await page.isDisabled('#compute'), false);
  await page.type('#script', 'x');
  assert.equal(await value('#report'), 'NULL');
  await page.click('#compute');
  assert.equal(await value('#report'), cli(['-'], await value('#script')));
  await page.fill('#script', 'mpinit=2\nmpout');
  assert.notEqual(await value('#report'), cli(['-'], 'mpinit=2\nmpout'));
  await page.click('#realtime');
  await idle();
  assert.equal(await page.isDisabled('#compute'), true);
  assert.equal(await value('#report'), cli(['-'], 'mpinit=2\nmpout'));
  await page.close();
});

test('every sample from the list and the menu gives the report quillon-score gives', async () => {
  await openPage();
  await page.click('#realtime');  // samples score even with real-time off
  for (const n of [2, 3, 4, 5]) {
    await page.selectOption('#samples', String(n - 1));
    assert.equal(await value('#report'), cli(['--sample', String(n)]), `sample ${n} from the list`);
    await chooseFromMenu('#sampleMenuButton', `[data-sample="${n - 1}"]`);
    assert.equal(await value('#report'), cli(['--sample', String(n)]), `sample ${n} from the menu`);
  }
  await page.selectOption('#samples', '0');
  assert.equal(await value('#report'), 'NULL');
  await page.close();
});

test('loading a GBK, a UTF-8 and a UTF-16 file', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'quillon-page-'));
  const script = 'mpinit=4\r\nmpecho 中文注释\r\n@@1 0.5 1 0.5\r\nmpout\r\n';
  const gbk = Buffer.from([...execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], { input: script })]);
  writeFileSync(join(folder, 'gbk.txt'), gbk);
  writeFileSync(join(folder, 'utf8.txt'), Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(script)]));
  writeFileSync(join(folder, 'utf16.txt'), Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(script, 'utf16le')]));
  await openPage();
  await page.click('#realtime');  // a load scores anyway
  for (const name of ['gbk.txt', 'utf8.txt', 'utf16.txt']) {
    await page.fill('#script', '');
    await page.setInputFiles('#file', join(folder, name));
    await page.waitForFunction(() => document.getElementById('script').value.length > 0);
    assert.equal(await value('#script'), withLf(script), name);
    assert.equal(await value('#report'), cli(['-'], script), name);
  }
  await page.close();
});

test('a dropped set of files loads the first; a file over the limit is refused', async () => {
  await openPage();
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    transfer.items.add(new File(['mpinit=1\nmpout\n'], 'a.txt'));
    transfer.items.add(new File(['mpinit=2\nmpout\n'], 'b.txt'));
    document.getElementById('report').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  });
  await page.waitForFunction(() => document.getElementById('script').value === 'mpinit=1\nmpout\n');
  assert.equal(await value('#report'), cli(['-'], 'mpinit=1\nmpout\n'));
  // A file over the model's limit is not read, and the model says so.
  const shown = new Promise((resolve) => page.once('dialog', async (dialog) => { await dialog.accept(); resolve(dialog.message()); }));
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(16777216)], 'big.txt'));
    document.getElementById('report').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  });
  assert.equal(await shown, '脚本文件太大，未读入：\nbig.txt\n脚本最多 16,777,215 字节。');
  assert.equal(await value('#script'), 'mpinit=1\nmpout\n');
  await page.close();
});

test('about box, copy button and links', async () => {
  await openPage();
  await chooseFromMenu('#aboutMenuButton', '#menuAbout');
  assert.equal(await page.textContent('#menuAbout'), '关于 Quillon0701...');
  assert.equal(await page.isVisible('#about'), true);
  await page.click('#about button');
  assert.equal(await page.isVisible('#about'), false);
  await page.click('#copy');
  await page.waitForFunction(() => document.getElementById('status').textContent === '报告已复制');
  // 分析 and the exports of the report's tables.
  await chooseFromMenu('#sampleMenuButton', '[data-sample="3"]');
  await idle();
  await chooseFromMenu('#analysisMenuButton', '#menuAnalysis');
  await page.waitForSelector('#analysis[open]');
  assert.match(await page.textContent('#analysisText'), /^4级 密评总分 69\.680（69\.6798）/);
  const rows = await page.$$eval('#analysisRows label', (labels) => labels.map((label) => label.textContent));
  assert.match(rows[0], /^4\.4 {4}0\.2500 {3}1\.0 {2}\+3\.3570 {4}73\.0368/);
  // Two units ticked: the total quillon-score --explain --assume gives for them, and no word of the tool.
  const assumed = cli(['--explain', '--assume', '4.4,7.4', '--sample', '4']).trimEnd().split('\n').pop();
  for (const unit of ['4.4', '7.4']) await page.check(`#analysisRows label:nth-child(${rows.findIndex((row) => row.startsWith(unit + ' ')) + 1}) input`);
  await page.waitForFunction((line) => document.getElementById('analysisWhatIf').textContent.startsWith(line + '\n'), assumed);
  assert.doesNotMatch(await page.textContent('#analysis'), /quillon-score/);
  await page.click('#analysis button');
  // The model's export formats in the file menu, in their order (a format added later comes after these).
  const fileItems = await page.$$eval('#fileMenu [role="menuitem"]', (items) => items.map((item) => item.textContent));
  assert.deepEqual([...fileItems.slice(0, 5), ...fileItems.slice(-3)],
    ['读入脚本', '保存脚本', '导出表格(CSV)', '导出网页(HTML)', '导出工作簿(XLSX)', '链接官网', '打开帮助', '用好,给咖啡赞助']);
  for (const [item, name] of [['#menuExportCsv', '密评得分.csv'], ['#menuExportHtml', '密评得分.html']]) {
    await page.click('#fileMenuButton');
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(item)]);
    assert.equal(download.suggestedFilename(), name);
    assert.match(await readFile(await download.path(), 'utf8'), /69\.680/);
  }
  // The page's workbook holds, cell for cell, what the tool's holds.
  await page.click('#fileMenuButton');
  const [book] = await Promise.all([page.waitForEvent('download'), page.click('#menuExportXlsx')]);
  assert.equal(book.suggestedFilename(), '密评得分.xlsx');
  const books = mkdtempSync(join(tmpdir(), 'quillon-book-'));
  const toolsBook = join(books, 'tool.xlsx');
  const pagesBook = join(books, 'page.xlsx');  // openpyxl goes by the name's suffix
  writeFileSync(toolsBook, execFileSync(tool, ['--sample', '4', '--format', 'xlsx']));
  await book.saveAs(pagesBook);
  const pagesCells = workbookCells(pagesBook);
  assert.match(pagesCells, /69\.6798/);
  assert.equal(pagesCells, workbookCells(toolsBook));
  await page.close();
});

test('the page works from a static server too', async () => {
  const server = createServer(async (request, response) => {
    const name = new URL(request.url, 'http://localhost').pathname.slice(1) || 'index.html';
    try {
      const body = await readFile(join(dist, name));
      const type = name.endsWith('.html') ? 'text/html' : (name.endsWith('.png') ? 'image/png' : 'text/javascript');
      response.writeHead(200, { 'content-type': type });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((ready) => server.listen(0, '127.0.0.1', ready));
  try {
    await openPage(`http://127.0.0.1:${server.address().port}/index.html`);
    await page.selectOption('#samples', '3');
    assert.equal(await value('#report'), cli(['--sample', '4']));
    // The icon is there: no request of the page fails.
    const icon = await page.evaluate(async () => (await fetch(document.querySelector('link[rel=icon]').href)).status);
    assert.equal(icon, 200);
    await page.close();
  } finally {
    server.close();
  }
});

test('lines with problems are marked like in the window', async () => {
  await openPage();
  await page.fill('#script', 'mpinit=4\n\n@@9 1\n$$4.2 VVX / VVV\nmpout');
  await idle();
  const rows = await page.$$eval('#marks .line', (marks) => marks.map((mark) => mark.dataset.row));
  assert.deepEqual(rows, ['2', '3']);
  const words = await page.$$eval('#marks .word', (marks) => marks.map((mark) => mark.dataset.row));
  assert.deepEqual(words, ['2', '3']);
  const listed = await page.textContent('#problems');
  assert.match(listed, /警告\[Q201\]/);
  assert.match(listed, /警告\[Q304\]: 对象列表在“\/”处中断/);
  const box = await page.$eval('#script', (script) => {
    const rect = script.getBoundingClientRect();
    const style = getComputedStyle(script);
    return { x: rect.left + 40, y: rect.top + parseFloat(style.paddingTop) + 3.5 * parseFloat(style.lineHeight) };
  });
  await page.mouse.move(box.x, box.y);
  assert.match(await page.$eval('#script', (script) => script.title), /Q304/);
  // A note is tinted apart; over a unit line's command word the tip names the unit.
  await page.fill('#script', 'mpinit=4\n$$4.2 VVV*1.2');
  await idle();
  assert.deepEqual(await page.$$eval('#marks .line.note', (marks) => marks.map((mark) => mark.dataset.row)), ['1']);
  assert.match(await page.textContent('#problems'), /提示\[Q602\]/);
  const command = await page.$eval('#script', (script) => {
    const rect = script.getBoundingClientRect();
    const style = getComputedStyle(script);
    return { x: rect.left + parseFloat(style.paddingLeft) + 2, y: rect.top + parseFloat(style.paddingTop) + 1.5 * parseFloat(style.lineHeight) };
  });
  await page.mouse.move(command.x, command.y);
  await page.waitForFunction(() => document.getElementById('script').title.startsWith('4.2 应用与数据安全_2.访问控制信息完整性，4 级权重 0.7'));
  assert.match(await page.$eval('#script', (script) => script.title), /Q602/);
  // and what the line stored: VVV keeps 1 under *1.2.
  assert.match(await page.$eval('#script', (script) => script.title), /\n4\.2 ← 1 = \(1\) \/ 1\n/);
  await page.fill('#script', 'mpinit=4\nmpout');
  await idle();
  assert.equal(await page.$$eval('#marks div', (marks) => marks.length), 0);
  assert.equal(await page.textContent('#problems'), '');
  await page.close();
});

// A report cut at its limit is said whatever the account lists, the list says what it left out,
// and rows far past the thousandth problem are marked once they are in view.
test('a cut report is said, and rows past the listed problems are marked', async () => {
  await openPage();
  const rows = 20000;
  const script = Array.from({ length: rows }, (_, i) => (i % 5 === 4 ? '@@9 1' : `mpecho 第${i}行 ${'x'.repeat(70)}`)).join('\n');
  await page.evaluate((text) => {
    const box = document.getElementById('script');
    box.value = text;
    box.dispatchEvent(new Event('input'));
  }, script);
  await idle();
  assert.equal(await page.isVisible('#reportNotice'), true);
  assert.equal(await page.textContent('#reportNotice'), '报告已达上限 1048575 字节，在此截断，此后的输出都被丢弃');
  assert.match(await page.textContent('#problems'), /^另有 3001 个问题和提示未列出；此处列出第 1～5004 行的/);
  const tinted = () => page.$$eval('#marks .line', (marks) => marks.map((mark) => Number(mark.dataset.row)));
  for (const row of [15000, 19990]) {
    await page.$eval('#script', (box, at) => {
      box.scrollTop = at * parseFloat(getComputedStyle(box).lineHeight);
      box.dispatchEvent(new Event('scroll'));
    }, row);
    await idle();
    await page.waitForFunction((at) => [...document.querySelectorAll('#marks .line')].some((mark) => Number(mark.dataset.row) === at + 4), row);
    const marked = await tinted();
    assert.ok(marked.length >= 3 && marked.every((r) => r % 5 === 4), `rows ${marked} around ${row}`);
  }
  assert.match(await page.textContent('#problems'), /第19995行 警告\[Q201\]/);
  await page.fill('#script', 'mpout');
  await idle();
  assert.equal(await page.isVisible('#reportNotice'), false);
  assert.equal(await page.textContent('#problems'), '');
  await page.close();
});

test('tints stay on their row far down and across a sideways scroll', async () => {
  await openPage();
  const rows = 100000;
  await page.evaluate((n) => {
    const script = document.getElementById('script');
    script.value = `${'mpecho 一行很长的备注 '.repeat(30)}\n${'x\n'.repeat(n - 2)}@@9 1`;
    script.dispatchEvent(new Event('input'));
  }, rows);
  await idle();
  await page.$eval('#script', (script) => { script.scrollTop = script.scrollHeight; script.scrollLeft = 300; script.dispatchEvent(new Event('scroll')); });
  const placed = await page.evaluate(() => {
    const script = document.getElementById('script');
    const style = getComputedStyle(script);
    const line = document.querySelector('#marks .line');
    const word = document.querySelector('#marks .word');
    return { rowHeight: parseFloat(style.lineHeight), padding: parseFloat(style.paddingTop),
             scrollHeight: script.scrollHeight, scrollTop: script.scrollTop,
             lineTop: parseFloat(line.style.top), lineLeft: line.getBoundingClientRect().left,
             lineWidth: line.getBoundingClientRect().width, boxLeft: script.getBoundingClientRect().left,
             wordLeft: parseFloat(word.style.left) };
  });
  // The box lays out its rows at whole pixels: the last one stands where the tint is.
  assert.equal(placed.scrollHeight, Math.round(2 * placed.padding + rows * placed.rowHeight));
  assert.equal(placed.lineTop, placed.padding + (rows - 1) * placed.rowHeight - placed.scrollTop);
  assert.ok(placed.lineLeft <= placed.boxLeft + 1 && placed.lineWidth > 200, 'the line tint still spans the box');
  assert.ok(placed.wordLeft < 0, 'the word mark moved with the text');
  await page.close();
});

test('the notice is not warned about, and the footer stays put', async () => {
  for (const viewport of [{ width: 1280, height: 820 }, { width: 1366, height: 768 }, { width: 1920, height: 1080 }]) {
    await openPage(pageUrl, viewport);
    await page.focus('#script');
    await page.keyboard.press('Control+End');
    await page.keyboard.type('x');
    await idle();
    assert.equal(await page.textContent('#problems'), '', 'the notice\'s own help lines');
    const footerBefore = await page.$eval('footer', (footer) => footer.getBoundingClientRect().top);
    await page.fill('#script', '@@9\n'.repeat(200));
    await idle();
    const after = await page.evaluate(() => ({
      footer: document.querySelector('footer').getBoundingClientRect().top,
      compute: document.getElementById('compute').getBoundingClientRect().bottom,
      problems: document.getElementById('problems').scrollHeight > document.getElementById('problems').clientHeight,
    }));
    assert.equal(after.footer, footerBefore);
    assert.ok(after.compute <= viewport.height, `the compute button in view at ${viewport.width} x ${viewport.height}`);
    assert.ok(after.problems, 'the list scrolls in its own box');
    await page.close();
  }
});

test('menus: one at a time, Escape, a click elsewhere and the arrow keys', async () => {
  await openPage();
  const open = () => page.$$eval('[role="menu"]', (menus) => menus.filter((menu) => !menu.hidden).map((menu) => menu.id));
  await page.click('#fileMenuButton');
  assert.deepEqual(await open(), ['fileMenu']);
  await page.click('#sampleMenuButton');
  assert.deepEqual(await open(), ['sampleMenu']);
  await page.keyboard.press('Escape');
  assert.deepEqual(await open(), []);
  await page.click('#fileMenuButton');
  await page.mouse.click(600, 400);
  assert.deepEqual(await open(), []);
  await page.focus('#sampleMenuButton');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  assert.equal(await page.evaluate(() => document.activeElement.dataset.sample), '2');
  await page.keyboard.press('Enter');
  assert.deepEqual(await open(), []);
  assert.equal(await value('#report'), cli(['--sample', '3']));
  await page.focus('#sampleMenuButton');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowRight');
  assert.deepEqual(await open(), ['analysisMenu']);
  await page.keyboard.press('ArrowRight');
  assert.deepEqual(await open(), ['aboutMenu']);
  // Its words on one line, whatever the font's line height (Noto CJK's is nearly 1.5).
  const lines = await page.$eval('#menuAbout', (item) => {
    const words = document.createRange();
    words.selectNodeContents(item);
    return new Set([...words.getClientRects()].map((box) => Math.round(box.top))).size;
  });
  assert.equal(lines, 1);
  await page.close();
});

test('nothing is lost: undo after a sample, the sample list keys, reload and leaving, saving', async () => {
  await openPage();
  await page.fill('#script', 'mpinit=2\nmpout');
  await idle();
  await page.selectOption('#samples', '3');
  assert.equal(await value('#report'), cli(['--sample', '4']));
  await page.focus('#script');
  await page.keyboard.press('Control+z');
  assert.equal(await value('#script'), 'mpinit=2\nmpout');
  assert.equal(await value('#report'), cli(['-'], 'mpinit=2\nmpout'));
  await page.focus('#samples');
  await page.keyboard.press('ArrowDown');
  await idle();
  assert.equal(await value('#script'), 'mpinit=2\nmpout');
  // Saved as a download, with the line ends the desktop's files have.
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const saved = await readFile(await download.path(), 'utf8');
  assert.equal(saved, 'mpinit=2\r\nmpout');
  assert.equal(download.suggestedFilename(), '脚本.txt');
  // A reload keeps the script; leaving with unsaved edits asks first.
  await page.focus('#script');
  await page.keyboard.press('Control+End');
  await page.keyboard.type('\nmpecho 改');
  await page.waitForTimeout(400);
  await page.reload();
  await page.waitForSelector('body[data-ready="yes"]');
  assert.equal(await value('#script'), 'mpinit=2\nmpout\nmpecho 改');
  assert.equal(await value('#report'), cli(['-'], 'mpinit=2\nmpout\nmpecho 改'));
  // Leaving asks first while there are unsaved edits (the browser shows its own question).
  const leavingAsks = () => page.evaluate(() => {
    const leaving = new Event('beforeunload', { cancelable: true });
    window.dispatchEvent(leaving);
    return leaving.defaultPrevented;
  });
  assert.equal(await leavingAsks(), true);
  await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  await idle();
  assert.equal(await leavingAsks(), false);
  await page.close();
});

// A script too large for the tab's storage is said not to be kept; one that fits is kept again.
test('a script too large to keep across a reload is said', async () => {
  await openPage();
  await page.evaluate(() => {
    const box = document.getElementById('script');
    box.value = `mpecho ${'x'.repeat(1017)}\n`.repeat(8 * 1024);  // 8 MiB
    box.dispatchEvent(new Event('input'));
  });
  await page.waitForSelector('#storeNotice', { state: 'visible' });
  assert.match(await page.textContent('#storeNotice'), /刷新或关闭本页后脚本不会保留/);
  await page.fill('#script', 'mpinit=1\nmpout');
  await page.waitForSelector('#storeNotice', { state: 'hidden' });
  await page.reload();
  await page.waitForSelector('body[data-ready="yes"]');
  assert.equal(await value('#script'), 'mpinit=1\nmpout');
  await page.close();
});

// The mouse resting anywhere, below the last line too, never makes the page fail.
test('the tooltip below the last line', async () => {
  await openPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.fill('#script', '@@9 1\nmpout');
  await idle();
  const box = await page.$eval('#script', (script) => script.getBoundingClientRect().toJSON());
  for (const dy of [0, 20, 40]) {
    await page.mouse.move(box.left + 30, box.bottom - 30 - dy);
    await page.waitForTimeout(250);
  }
  assert.deepEqual(errors, []);
  await page.close();
});

// Every export downloads the tool's bytes exactly, the CSV's byte-order mark too, and a
// script saved with a leading mark keeps it.
test('exports and saves are the tool\'s bytes', async () => {
  await openPage();
  await page.selectOption('#samples', '3');
  await idle();
  for (const format of ['csv', 'html']) {
    const item = format === 'csv' ? '#menuExportCsv' : '#menuExportHtml';
    const [download] = await Promise.all([page.waitForEvent('download'), chooseFromMenu('#fileMenuButton', item)]);
    const bytes = await readFile(await download.path());
    assert.ok(bytes.equals(execFileSync(tool, ['--sample', '4', '--format', format])), format);
  }
  // 与脚本文件比较: sample 3 from a file before the box's sample 4; the tool's text and tables.
  const folder = mkdtempSync(join(tmpdir(), 'quillon-compare-'));
  writeFileSync(join(folder, 'after.qs'), await value('#script'));
  await page.selectOption('#samples', '2');
  await idle();
  writeFileSync(join(folder, 'before.qs'), await value('#script'));
  await page.selectOption('#samples', '3');
  await idle();
  const boxNamed = (text) => text.replace('整改后：after.qs', '整改后：脚本框中的脚本').replace(',after.qs,', ',脚本框中的脚本,');
  const compared = (format) => execFileSync(tool, ['--compare', 'before.qs', 'after.qs', '--format', format], { cwd: folder }).toString('utf8');
  await page.click('#analysisMenuButton');
  const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.click('#menuCompare')]);
  await chooser.setFiles(join(folder, 'before.qs'));
  await page.waitForSelector('#comparison[open]');
  assert.equal(await page.textContent('#comparisonText'), boxNamed(compared('text')));
  const [table] = await Promise.all([page.waitForEvent('download'), page.click('#compareExportCsv')]);
  assert.equal(table.suggestedFilename(), '整改前后比较.csv');
  assert.equal(await readFile(await table.path(), 'utf8'), boxNamed(compared('csv')));
  await page.click('#comparison button:text("确定")');
  await page.fill('#script', '\ufeffmpout');
  const [saved] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  assert.deepEqual([...(await readFile(await saved.path())).subarray(0, 3)], [0xef, 0xbb, 0xbf]);
  await page.close();
});

test('narrow screens, dark mode, F2 and drags of text', async () => {
  await openPage(pageUrl, { width: 390, height: 844 });
  const boxes = await page.evaluate(() => ({
    script: document.getElementById('script').getBoundingClientRect(),
    report: document.getElementById('report').getBoundingClientRect(),
  }));
  assert.ok(boxes.script.bottom <= boxes.report.top, 'the panes are stacked');
  assert.ok(boxes.script.width > 300);
  await page.emulateMedia({ colorScheme: 'dark' });
  const background = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
  assert.equal(background, 'rgb(30, 31, 34)');
  const messages = [];
  page.on('dialog', async (dialog) => { messages.push(dialog.message()); await dialog.accept(); });
  await page.focus('#script');
  await page.keyboard.press('F2');
  await page.evaluate(() => document.activeElement.blur());
  await page.keyboard.press('F2');
  await idle();
  await page.waitForTimeout(100);
  assert.deepEqual(messages, ['VK_F2']);
  const blocked = await page.evaluate(() => {
    const transfer = new DataTransfer();
    transfer.setData('text/plain', 'VVX');
    const drag = new DragEvent('dragover', { dataTransfer: transfer, bubbles: true, cancelable: true });
    document.getElementById('script').dispatchEvent(drag);
    return drag.defaultPrevented;
  });
  assert.equal(blocked, false, 'a text drag is the script box\'s');
  await page.close();
});

test('timing: a 1 MiB paste and keystrokes, against the native library', async () => {
  await openPage();
  const mix = join(mkdtempSync(join(tmpdir(), 'quillon-timing-')), 'mix-1MiB.txt');
  execFileSync(join(root, 'build/default/bench/quillon-mix'), ['1', mix]);
  const script = readFileSync(mix, 'utf8').replace(/\r\n/g, '\n');
  const { paste, before } = await page.evaluate((text) => {
    const box = document.getElementById('script');
    const notice = box.value;
    box.focus();
    box.setSelectionRange(100, 2000);
    const clipboard = new DataTransfer();
    clipboard.setData('text/plain', text);
    const started = performance.now();
    box.dispatchEvent(new ClipboardEvent('paste', { clipboardData: clipboard, bubbles: true, cancelable: true }));
    return { paste: performance.now() - started, before: notice };
  }, script);
  const pasted = before.slice(0, 100) + script + before.slice(2000);
  assert.equal(await value('#script'), pasted);
  assert.equal(await value('#report'), cli(['-'], pasted));
  await page.keyboard.press('Control+z');  // a large paste comes back out as a replacement does
  assert.equal(await value('#script'), before);
  await page.keyboard.press('Control+z');
  assert.equal(await value('#script'), pasted);
  await page.keyboard.press('Control+End');
  const keystrokes = [];
  for (let i = 0; i < 10; ++i) {
    const started = Date.now();
    await page.keyboard.press('1');
    await idle();
    keystrokes.push(Date.now() - started);
  }
  const worker = await page.evaluate(() => window.lastRunMs ?? null);
  const editToReport = await page.evaluate(() => window.editToReportMs ?? null);
  const native = Number(execFileSync(join(root, 'build/default/bench/quillon-time'), [mix]).toString());
  // A run that takes long shows that the page is busy; typing goes on meanwhile.
  const big = join(dirname(mix), 'mix-8MiB.txt');
  execFileSync(join(root, 'build/default/bench/quillon-mix'), ['8', big]);
  await page.setInputFiles('#file', big);
  await page.waitForFunction(() => document.body.classList.contains('busy'));
  await page.keyboard.type('x');
  await idle();
  assert.equal(await page.evaluate(() => document.body.classList.contains('busy')), false);
  const line = `page, 1 MiB: paste over a selection ${paste.toFixed(0)} ms; keystroke to report ${Math.min(...keystrokes)} to ${Math.max(...keystrokes)} ms, of which from the input event to the report ${editToReport?.toFixed(1)} ms (worker run ${worker?.toFixed(1)} ms); native library ${native.toFixed(1)} ms`;
  console.log(line);
  writeFileSync(join(root, 'build/page-timing.txt'), `${line}\n`);
  await page.close();
});

test('screenshot of the level-4 sample', async () => {
  await openPage();
  await page.selectOption('#samples', '3');
  mkdirSync(join(root, 'build'), { recursive: true });
  await page.screenshot({ path: join(root, 'build/quillon-page.png') });
  await page.close();
});

// The HTML export as a reader's browser shows it: nothing fetched, the eight bars drawn to
// scale, a row per layer and unit; its screenshot is build/quillon-export.png.
test('the HTML export in Chromium', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'quillon-export-'));
  const file = join(folder, '密评得分.html');
  writeFileSync(file, execFileSync(tool, ['--sample', '4', '--format', 'html']));
  const exported = await browser.newPage({ viewport: { width: 820, height: 900 } });
  const requests = [];
  exported.on('request', (request) => requests.push(request.url()));
  await exported.goto(pathToFileURL(file).href);
  assert.deepEqual(requests, [pathToFileURL(file).href]);
  const widths = await exported.$$eval('svg rect', (bars) => bars.map((bar) => bar.getBoundingClientRect().width));
  assert.equal(widths.length, 8);
  assert.ok(Math.abs(widths[0] / widths[4] - 0.6458) < 0.01, `layer 1 against layer 5: ${widths}`);
  assert.equal(await exported.$$eval('tr', (rows) => rows.length), 2 + 8 + 41);
  assert.match(await exported.textContent('body'), /69\.680/);
  await exported.screenshot({ path: join(root, 'build/quillon-export.png'), fullPage: true });
  await exported.close();
});
