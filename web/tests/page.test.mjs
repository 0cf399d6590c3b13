// The page in headless Chromium: the window's behaviour, file loading, and reports identical
// to quillon-score's.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync, mkdirSync } from 'node:fs';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const dist = join(root, 'web/dist');
const tool = process.env.QUILLON_SCORE ?? join(root, 'build/default/cli/quillon-score');
const pageUrl = pathToFileURL(join(dist, 'index.html')).href;
const withLf = (text) => text.replace(/\r\n?/g, '\n');
const cli = (args, input) => withLf(execFileSync(tool, args, { input }).toString('utf8'));

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

async function openPage(url = pageUrl) {
  page = await browser.newPage({ viewport: { width: 1280, height: 820 } });
  await page.goto(url);
  await page.waitForSelector('body[data-ready="yes"]');
  return page;
}

const value = (selector) => page.$eval(selector, (element) => element.value);

test('start-up state', async () => {
  await openPage();
  const notice = await page.evaluate(() => document.getElementById('script').value);
  assert.match(notice, /^ {6}\*\*\*\* 权利声明 \*\*\*\* {2}\n/);
  assert.equal(await value('#report'), 'NULL');
  assert.equal(await page.isChecked('#realtime'), true);
  assert.equal(await page.isDisabled('#compute'), true);
  assert.equal(await page.$eval('#samples', (select) => select.options[select.selectedIndex].textContent), '1. 权利声明 ');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'script');
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
  assert.equal(await page.isDisabled('#compute'), false);
  await page.type('#script', 'x');
  assert.equal(await value('#report'), 'NULL');
  await page.click('#compute');
  assert.equal(await value('#report'), cli(['-'], await value('#script')));
  await page.fill('#script', 'mpinit=2\nmpout');
  assert.notEqual(await value('#report'), cli(['-'], 'mpinit=2\nmpout'));
  await page.click('#realtime');
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
    await page.click('#sampleMenu summary');
    await page.click(`[data-sample="${n - 1}"]`);
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

test('a dropped set of files loads the first', async () => {
  await openPage();
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    transfer.items.add(new File(['mpinit=1\nmpout\n'], 'a.txt'));
    transfer.items.add(new File(['mpinit=2\nmpout\n'], 'b.txt'));
    document.getElementById('report').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  });
  await page.waitForFunction(() => document.getElementById('script').value === 'mpinit=1\nmpout\n');
  assert.equal(await value('#report'), cli(['-'], 'mpinit=1\nmpout\n'));
  await page.close();
});

test('about box, copy button and links', async () => {
  await openPage();
  await page.click('#aboutMenu summary');
  await page.click('#menuAbout');
  assert.equal(await page.isVisible('#about'), true);
  await page.click('#about button');
  assert.equal(await page.isVisible('#about'), false);
  await page.click('#copy');
  await page.waitForFunction(() => document.getElementById('status').textContent === '报告已复制');
  await page.close();
});

test('the page works from a static server too', async () => {
  const server = createServer(async (request, response) => {
    const name = new URL(request.url, 'http://localhost').pathname.slice(1) || 'index.html';
    try {
      const body = await readFile(join(dist, name));
      response.writeHead(200, { 'content-type': name.endsWith('.html') ? 'text/html' : 'text/javascript' });
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
    await page.close();
  } finally {
    server.close();
  }
});

test('lines with problems are marked like in the window', async () => {
  await openPage();
  await page.fill('#script', 'mpinit=4\n\n@@9 1\n$$4.2 VVX / VVV\nmpout');
  const rows = await page.$$eval('#marks div', (marks) => marks.map((mark) => mark.dataset.row));
  assert.deepEqual(rows, ['2', '3']);
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
  await page.fill('#script', 'mpinit=4\nmpout');
  assert.equal(await page.$$eval('#marks div', (marks) => marks.length), 0);
  assert.equal(await page.textContent('#problems'), '');
  await page.close();
});

test('screenshot of the level-4 sample', async () => {
  await openPage();
  await page.selectOption('#samples', '3');
  mkdirSync(join(root, 'build'), { recursive: true });
  await page.screenshot({ path: join(root, 'build/quillon-page.png') });
  await page.close();
});
