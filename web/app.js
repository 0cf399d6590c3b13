// The page: a view of the front ends' model. The model and the library run in a worker (the
// WebAssembly build of the same code as the desktop window); this file moves the page's events
// there and shows what comes back. Page-only matters live here: menus, the marks' drawing,
// downloads, keeping the script across a reload.
'use strict';

const BUSY_AFTER_MS = 100;
const LARGE_PASTE = 16384;  // characters
const STORED_SCRIPT = 'quillon.script';
// The same order as the desktop window's; the first whose Chinese characters measure two ASCII
// cells is used.
const FONTS = ['SimSun', 'NSimSun', 'Noto Sans Mono CJK SC', 'WenQuanYi Zen Hei Mono', 'AR PL UMing CN'];

const $ = (id) => document.getElementById(id);

// The worker, one call at a time. Edits waiting behind a call coalesce: only the newest text is
// scored, and the answer to an edit that a newer edit follows is not shown.
class Scorer {
  constructor(onAnswer) {
    const source = new Blob([self.QUILLON_WORKER_SOURCE], { type: 'text/javascript' });
    this.worker = new Worker(URL.createObjectURL(source));
    this.worker.onmessage = ({ data }) => this.answered(data);
    this.onAnswer = onAnswer;
    this.queue = [];
    this.inFlight = null;
    this.nextId = 1;
    this.busyTimer = 0;
  }

  // Resolves with the worker's answer.
  request(call, ...args) {
    return new Promise((resolve) => this.enqueue({ call, args, resolve }));
  }

  send(call, ...args) { this.enqueue({ call, args }); }

  enqueue(item) {
    const last = this.queue[this.queue.length - 1];
    if ((item.call === 'edited' || item.call === 'marksFor') && last?.call === item.call) this.queue.pop();
    this.queue.push({ ...item, id: this.nextId++ });
    this.pump();
  }

  pump() {
    document.body.dataset.pending = String(this.queue.length + (this.inFlight ? 1 : 0));
    if (this.inFlight || this.queue.length === 0) return;
    this.inFlight = this.queue.shift();
    const { id, call, args } = this.inFlight;
    this.worker.postMessage({ id, call, args });
    if (!this.busyTimer) this.busyTimer = setTimeout(() => document.body.classList.add('busy'), BUSY_AFTER_MS);
  }

  answered(data) {
    const item = this.inFlight;
    this.inFlight = null;
    // Marks answer for the text last scored: stale once a newer text waits.
    const stale = (item.call === 'edited' || item.call === 'marksFor') && this.queue.some((next) => next.call === 'edited');
    if (this.queue.length === 0) {
      clearTimeout(this.busyTimer);
      this.busyTimer = 0;
      document.body.classList.remove('busy');
    }
    if (item.resolve) item.resolve(data);
    else this.onAnswer(data.update, stale, data.ms);
    this.pump();
  }
}

// The UTF-16 index of the character drawn at `cell` of a row, in a font whose Chinese characters
// are two cells wide; null past the row's end.
function ColumnAtCell(text, cell) {
  let used = 0;
  for (let i = 0; i < text.length; ++i) {
    const code = text.codePointAt(i);
    used += code < 0x80 ? 1 : 2;
    if (used > cell) return i;
    if (code > 0xffff) ++i;
  }
  return null;
}

// Menus of buttons: one open at a time, closed by Escape, by a click elsewhere and by choosing;
// the arrow keys move within a menu and to its neighbours.
class MenuBar {
  constructor(nav) {
    this.buttons = [...nav.querySelectorAll('.menu > button')];
    this.hoverOpened = -Infinity;
    for (const button of this.buttons) {
      // A click closes the open menu, unless the pointer just opened it by moving onto it.
      button.addEventListener('click', () => {
        if (this.isOpen(button) && performance.now() - this.hoverOpened > 500) this.close();
        else this.open(button);
      });
      button.addEventListener('mouseenter', () => {
        if (!this.current || this.current === button) return;
        this.open(button);
        this.hoverOpened = performance.now();
      });
      button.addEventListener('keydown', (event) => {
        if (event.key === 'ArrowDown') { event.preventDefault(); this.open(button, 0); }
        if (event.key === 'ArrowUp') { event.preventDefault(); this.open(button, -1); }
      });
      this.list(button).addEventListener('keydown', (event) => this.key(event));
      this.list(button).addEventListener('click', (event) => { if (event.target.matches('[role="menuitem"]')) this.close(); });
    }
    document.addEventListener('pointerdown', (event) => { if (this.current && !nav.contains(event.target)) this.close(); });
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && this.current) { const button = this.current; this.close(); button.focus(); }
    });
  }

  list(button) { return $(button.getAttribute('aria-controls')); }
  items(button) { return [...this.list(button).querySelectorAll('[role="menuitem"]')]; }
  isOpen(button) { return this.current === button; }

  open(button, focusIndex) {
    if (this.current !== button) this.close();
    this.current = button;
    button.setAttribute('aria-expanded', 'true');
    this.list(button).hidden = false;
    if (focusIndex !== undefined) this.items(button).at(focusIndex)?.focus();
  }

  close() {
    if (!this.current) return;
    this.current.setAttribute('aria-expanded', 'false');
    this.list(this.current).hidden = true;
    this.current = null;
  }

  key(event) {
    const items = this.items(this.current);
    const at = items.indexOf(document.activeElement);
    const step = { ArrowDown: 1, ArrowUp: -1 }[event.key];
    if (step) {
      event.preventDefault();
      items[(at + step + items.length) % items.length].focus();
    } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
      event.preventDefault();
      const index = this.buttons.indexOf(this.current);
      const next = this.buttons[(index + (event.key === 'ArrowRight' ? 1 : -1) + this.buttons.length) % this.buttons.length];
      this.open(next, 0);
    } else if (event.key === 'Home' || event.key === 'End') {
      event.preventDefault();
      items.at(event.key === 'Home' ? 0 : -1).focus();
    }
  }
}

// The first font of the list that is installed and whose Chinese characters are two cells.
function pickFont() {
  const context = document.createElement('canvas').getContext('2d');
  const width = (font, text) => { context.font = `13px ${font}`; return context.measureText(text).width; };
  const probe = 'mmmmmmmmmmlli中文';
  for (const family of FONTS) {
    const installed = ['monospace', 'serif', 'sans-serif'].some((fallback) =>
      width(`"${family}", ${fallback}`, probe) !== width(fallback, probe));
    if (!installed) continue;
    const font = `"${family}", monospace`;
    const cell = width(font, 'M');
    if (Math.abs(width(font, 'i') - cell) < 0.01 && Math.abs(width(font, '中') - 2 * cell) < 0.01) {
      document.documentElement.style.setProperty('--cjk-mono', font);
      return family;
    }
  }
  return null;
}

class Page {
  constructor() {
    this.script = $('script');
    this.report = $('report');
    this.realtime = $('realtime');
    this.compute = $('compute');
    this.samples = $('samples');
    this.marks = [];
    this.modified = false;
    this.undoPoint = null;
    this.scorer = new Scorer((update, stale, ms) => {
      window.lastRunMs = ms;  // for the page's timing test
      this.apply(update, stale);
    });
  }

  async start() {
    document.body.dataset.font = pickFont() ?? '';
    new MenuBar(document.querySelector('nav'));
    const { labels, captions, exports, maxScriptBytes } = await this.scorer.request('hello');
    this.maxScriptBytes = maxScriptBytes;  // the model's limit: a larger file is not read
    labels.forEach((label, index) => this.samples.add(new Option(label, String(index))));
    this.addSampleItems(captions);
    this.addExportItems(exports);
    this.measure();
    this.connect();
    this.apply((await this.scorer.request('start')).update);
    this.undoPoint = null;  // the notice is where the box starts
    const stored = this.storedScript();
    if (stored !== null && stored !== this.script.value) {  // the script of before the reload
      this.replaceScript(stored);
      this.scorer.send('edited', stored);
    }
    this.script.focus();
    this.script.setSelectionRange(0, 0);
    document.body.dataset.ready = 'yes';
  }

  connect() {
    this.script.addEventListener('input', () => this.edited());
    this.script.addEventListener('keydown', (event) => this.undoReplacement(event));
    this.script.addEventListener('paste', (event) => this.paste(event));
    this.script.addEventListener('scroll', () => this.drawMarks());
    this.script.addEventListener('mousemove', (event) => this.showLineTooltip(event));
    new ResizeObserver(() => { this.measure(); this.drawMarks(); }).observe(this.script);
    this.compute.addEventListener('click', () => this.scorer.send('computeClicked', this.script.value));
    this.realtime.addEventListener('change', () => this.scorer.send('realTimeClicked', this.realtime.checked, this.script.value));
    this.samples.addEventListener('change', () => this.scorer.send('sampleChosen', this.samples.selectedIndex));
    // A closed list does not change with the arrow keys: they open it, as in the window.
    this.samples.addEventListener('keydown', (event) => {
      if (!['ArrowUp', 'ArrowDown', 'PageUp', 'PageDown', 'Home', 'End'].includes(event.key)) return;
      event.preventDefault();
      try { this.samples.showPicker(); } catch { /* not offered: the list stays as it is */ }
    });
    $('load').addEventListener('click', () => $('file').click());
    $('menuLoad').addEventListener('click', () => $('file').click());
    $('file').addEventListener('change', (event) => {
      const [file] = event.target.files;
      event.target.value = '';
      if (file) this.loadFile(file);
    });
    $('menuSave').addEventListener('click', () => this.save());
    $('menuAnalysis').addEventListener('click', () => this.showAnalysis());
    $('menuCompare').addEventListener('click', () => $('compareFile').click());
    $('compareFile').addEventListener('change', (event) => {
      const [file] = event.target.files;
      event.target.value = '';
      if (file) this.compareWithFile(file);
    });
    $('save').addEventListener('click', () => this.save());
    $('menuHome').addEventListener('click', () => this.scorer.send('link', 'homePage'));
    $('menuHelp').addEventListener('click', () => this.scorer.send('link', 'help'));
    $('menuDonate').addEventListener('click', () => this.scorer.send('link', 'donationPicture'));
    $('menuAbout').addEventListener('click', () => $('about').showModal());
    $('copy').addEventListener('click', () => this.copyReport());
    document.addEventListener('keydown', (event) => {
      if (event.key === 'F2' && (document.activeElement === document.body || document.activeElement === null)) {
        event.preventDefault();
        this.scorer.send('f2Pressed', false);
      }
      if (event.key === 's' && (event.ctrlKey || event.metaKey)) {
        event.preventDefault();
        this.save();
      }
    });
    // Only drags that carry files are the page's; text dragged inside the script box is the box's.
    const carriesFiles = (event) => [...(event.dataTransfer?.types ?? [])].includes('Files');
    for (const type of ['dragenter', 'dragover']) {
      document.addEventListener(type, (event) => {
        if (!carriesFiles(event)) return;
        event.preventDefault();
        document.body.classList.add('dragging');
      });
    }
    document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    document.addEventListener('drop', (event) => {
      document.body.classList.remove('dragging');
      if (!carriesFiles(event)) return;
      event.preventDefault();
      const [file] = event.dataTransfer.files;  // only the first file of a drop is loaded
      if (file) this.loadFile(file);
    });
    window.addEventListener('beforeunload', (event) => {
      if (!this.modified) return;
      event.preventDefault();
      event.returnValue = '脚本有未保存的修改';  // any text: browsers show their own
    });
  }

  // The 测试向量 menu: the model's built-in texts, in its order.
  addSampleItems(captions) {
    captions.forEach((caption, index) => {
      const item = document.createElement('button');
      item.setAttribute('role', 'menuitem');
      item.dataset.sample = String(index);
      item.textContent = caption;
      item.addEventListener('click', () => this.scorer.send('sampleChosen', index));
      $('sampleMenu').append(item);
    });
  }

  // The model's export formats, in its order, before 链接官网: menuExportCsv and so on.
  addExportItems(formats) {
    for (const { name, menu } of formats) {
      const item = document.createElement('button');
      item.setAttribute('role', 'menuitem');
      item.id = `menuExport${name[0].toUpperCase()}${name.slice(1)}`;
      item.textContent = menu;
      item.addEventListener('click', () => this.exportTables(name));
      $('menuHome').before(item);
      // The comparison dialog's buttons: the same formats, of its tables.
      const button = document.createElement('button');
      button.type = 'button';
      button.id = `compareExport${name[0].toUpperCase()}${name.slice(1)}`;
      button.textContent = menu;
      button.addEventListener('click', () => this.exportTables(name, 'exportComparison'));
      $('comparisonExports').append(button);
    }
  }

  apply(update, stale = false) {
    const { state } = update;
    this.markedRows = { first: state.markedFirst, end: state.markedEnd };  // before the marks are drawn
    this.marksNotice = state.marksNotice;
    if (update.report !== undefined) this.marksAsked = null;  // a new run: rows may be asked again
    if (update.script !== undefined) this.replaceScript(update.script);
    if (!stale) {
      if (update.report !== undefined) {
        this.report.value = update.report;
        window.editToReportMs = performance.now() - this.editedAt;  // for the page's timing test
      }
      if (update.marks !== undefined) this.showMarks(update.marks);
    }
    this.realtime.checked = state.realTime;
    this.compute.disabled = !state.computeEnabled;
    this.samples.selectedIndex = state.sampleIndex;
    this.modified = state.modified;
    document.body.dataset.modified = String(state.modified);
    $('reportNotice').textContent = state.reportNotice;
    $('reportNotice').hidden = state.reportNotice === '';
    if (update.message !== undefined) window.alert(update.message);
    if (update.link !== undefined) window.open(update.link, '_blank', 'noopener');
  }

  // From the program, not an edit. The browser's own undo cannot hold it (its editing
  // commands take time with the square of the text), so the page keeps the text it replaced
  // and Ctrl+Z brings it back.
  replaceScript(text) {
    this.undoPoint = { before: this.script.value, after: text };
    this.script.value = text;
    this.script.setSelectionRange(0, 0);
    this.script.scrollTop = 0;
    this.script.scrollLeft = 0;
    this.storeScript();
  }

  // Ctrl+Z on the text a replacement or a large paste left: the text before it, as an edit.
  undoReplacement(event) {
    const undo = (event.ctrlKey || event.metaKey) && !event.shiftKey && event.key.toLowerCase() === 'z';
    if (!undo || !this.undoPoint || this.script.value !== this.undoPoint.after) return;
    event.preventDefault();
    const { before } = this.undoPoint;
    this.undoPoint = { before: this.undoPoint.after, after: before };  // a second Ctrl+Z redoes it
    this.script.value = before;
    this.edited();
  }

  // A large paste is put in place directly (the browser's paste takes time with the square of
  // the text); Ctrl+Z takes it back as it takes back a replacement.
  paste(event) {
    const text = event.clipboardData?.getData('text/plain') ?? '';
    if (text.length < LARGE_PASTE) return;
    event.preventDefault();
    const { selectionStart, selectionEnd, value } = this.script;
    this.script.setRangeText(text.replace(/\r\n?/g, '\n'), selectionStart, selectionEnd, 'end');
    this.undoPoint = { before: value, after: this.script.value };
    this.edited();
  }

  edited() {
    this.editedAt = performance.now();
    this.scorer.send('edited', this.script.value);
    this.storeScript();
  }

  storedScript() {
    try { return sessionStorage.getItem(STORED_SCRIPT); } catch { return null; }
  }

  storeScript() {
    clearTimeout(this.storeTimer);
    this.storeTimer = setTimeout(() => {
      // A script too large for the tab's storage is not kept across a reload: said, and the
      // older one stored is dropped so that a reload never brings back another text.
      let kept = true;
      try { sessionStorage.setItem(STORED_SCRIPT, this.script.value); } catch {
        kept = false;
        try { sessionStorage.removeItem(STORED_SCRIPT); } catch { /* storage unavailable */ }
      }
      $('storeNotice').hidden = kept;
    }, 300);
  }

  // The script box's rows and cells: the line height is a whole number of pixels, so row n
  // stands at n times it wherever it is.
  measure() {
    const style = getComputedStyle(this.script);
    this.lineHeight = parseFloat(style.lineHeight);
    this.padTop = parseFloat(style.paddingTop);
    this.padLeft = parseFloat(style.paddingLeft);
    const context = document.createElement('canvas').getContext('2d');
    context.font = `${style.fontSize} ${style.fontFamily}`;
    this.cell = context.measureText('M'.repeat(100)).width / 100;
  }

  // Lines with problems are tinted behind the script, the word a problem is about darker (notes
  // where the script departs from the official rules in blue); the
  // messages are listed under the boxes and shown as the tooltip of the line under the mouse.
  showMarks(marks) {
    this.marks = marks;
    this.messages = new Map();
    for (const mark of marks) {
      const text = this.messages.get(mark.row);
      this.messages.set(mark.row, text ? `${text}\n${mark.message}` : mark.message);
    }
    const listed = marks.map((mark) => `第${mark.row + 1}行 ${mark.message}`);
    $('problems').textContent = (this.marksNotice ? [this.marksNotice, ...listed] : listed).join('\n');
    this.drawMarks();
  }

  // Only the rows in view are drawn: a long script with many marks costs no more than a short one.
  drawMarks() {
    const layer = $('marks');
    const top = this.script.scrollTop;
    const first = Math.floor((top - this.padTop) / this.lineHeight) - 1;
    const last = Math.ceil((top + this.script.clientHeight) / this.lineHeight) + 1;
    this.askMarks(Math.max(0, first), last);
    let low = 0;
    let high = this.marks.length;
    while (low < high) {  // the first mark at or after the first row in view
      const middle = (low + high) >> 1;
      if (this.marks[middle].row < first) low = middle + 1; else high = middle;
    }
    const drawn = [];
    let lastRow = -1;
    for (let i = low; i < this.marks.length && this.marks[i].row <= last; ++i) {
      const mark = this.marks[i];
      const y = this.padTop + mark.row * this.lineHeight - top;
      if (mark.row !== lastRow) {
        const line = document.createElement('div');
        line.className = mark.note ? 'line note' : 'line';  // a row's problems come first
        line.dataset.row = String(mark.row);
        line.style.top = `${y}px`;
        line.style.height = `${this.lineHeight}px`;
        drawn.push(line);
        lastRow = mark.row;
      }
      if (mark.endCell > mark.beginCell) {
        const word = document.createElement('div');
        word.className = mark.note ? 'word note' : 'word';
        word.dataset.row = String(mark.row);
        word.style.top = `${y}px`;
        word.style.height = `${this.lineHeight}px`;
        word.style.left = `${this.padLeft + mark.beginCell * this.cell - this.script.scrollLeft}px`;
        word.style.width = `${(mark.endCell - mark.beginCell) * this.cell}px`;
        drawn.push(word);
      }
    }
    layer.replaceChildren(...drawn);
  }

  // Rows in view that the marks do not hold (a run lists a thousand problems) are asked of the
  // model, once for each view of rows.
  askMarks(first, last) {
    const rows = this.markedRows;
    if (!rows || (first >= rows.first && last < rows.end)) return;
    const asked = `${first} ${last}`;
    if (asked === this.marksAsked) return;
    this.marksAsked = asked;
    this.scorer.send('marksFor', first, last);
  }

  // The tooltip: what the word under the mouse sets (asked of the model once the mouse rests),
  // then the messages of its line.
  showLineTooltip(event) {
    const box = this.script.getBoundingClientRect();
    const y = event.clientY - box.top - this.padTop + this.script.scrollTop;
    const x = event.clientX - box.left - this.padLeft + this.script.scrollLeft;
    const row = Math.floor(y / this.lineHeight);
    const cell = Math.floor(x / this.cell);
    const messages = this.messages?.get(row) ?? '';
    if (row === this.tipRow && cell === this.tipCell) return;
    this.tipRow = row;
    this.tipCell = cell;
    this.script.title = messages;
    clearTimeout(this.tipTimer);
    this.tipTimer = setTimeout(async () => {
      const text = this.rowText(row);
      const column = text === null ? null : ColumnAtCell(text, cell);
      if (column === null) return;
      const { update: tip } = await this.scorer.request('wordTip', text, row, column);
      if (this.tipRow === row && this.tipCell === cell && tip) this.script.title = messages ? `${tip}\n${messages}` : tip;
    }, 150);
  }

  rowText(row) {
    const text = this.script.value;
    let at = 0;
    for (let i = 0; i < row; ++i) {
      at = text.indexOf('\n', at) + 1;
      if (at === 0) return null;
    }
    const end = text.indexOf('\n', at);
    return text.slice(at, end < 0 ? text.length : end);
  }

  // A chosen or dropped file as the model takes it: its status and bytes.
  async readFile(file) {
    if (file.size > this.maxScriptBytes) return ['tooLarge', new Uint8Array()];
    try {
      return ['read', new Uint8Array(await file.arrayBuffer())];
    } catch {
      return ['unreadable', new Uint8Array()];  // a folder or an unreadable file changes nothing
    }
  }

  async loadFile(file) {
    this.scorer.send('fileRead', file.name, ...(await this.readFile(file)));
  }

  // 与脚本文件比较: the file is "before", the script box "after"; the model's text.
  async compareWithFile(file) {
    const { update } = await this.scorer.request('compareWithFile', file.name, ...(await this.readFile(file)), this.script.value);
    if (update.message) window.alert(update.message);
    if (!update.text) return;
    $('comparisonText').textContent = update.text;
    $('comparison').showModal();
  }

  async save() {
    const { update } = await this.scorer.request('save', this.script.value);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([update.file], { type: 'text/plain;charset=utf-8' }));
    link.download = update.name.split(/[\\/]/).pop();
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    this.modified = update.state.modified;
  }

  // The report's tables (or, by exportComparison, the comparison's) as a download; a message while there are none.
  async exportTables(format, call = 'exportTables') {
    const { update } = await this.scorer.request(call, format);
    if (!update.file) {
      window.alert(update.message);
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([update.file], { type: update.type }));
    link.download = update.name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  // 分析: the model's text around a list of the units below 1; each tick asks for the text below.
  async showAnalysis() {
    const { update } = await this.scorer.request('analysis');
    $('analysisText').textContent = update.head;
    $('analysisColumns').textContent = update.columns;
    $('analysisUnits').hidden = update.units.length === 0;
    $('analysisRows').replaceChildren(...update.units.map((row, index) => {
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.value = String(index);
      box.addEventListener('change', () => this.showWhatIf());
      const label = document.createElement('label');
      label.append(box, row);
      return label;
    }));
    await this.showWhatIf();
    $('analysis').showModal();
  }

  async showWhatIf() {
    const ticked = [...document.querySelectorAll('#analysisRows input:checked')].map((box) => Number(box.value));
    const { update } = await this.scorer.request('whatIf', ticked);
    $('analysisWhatIf').textContent = update;
  }

  async copyReport() {
    try {
      await navigator.clipboard.writeText(this.report.value);
    } catch {
      this.report.select();
      document.execCommand('copy');
    }
    $('status').textContent = '报告已复制';
    setTimeout(() => { $('status').textContent = ''; }, 2000);
  }
}

new Page().start();
