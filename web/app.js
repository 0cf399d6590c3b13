// The page's behaviour: the desktop window's, where a page can have it. Scoring is the
// WebAssembly build of the same library (quillon.js).
'use strict';

// Link targets; placeholders until the maker's addresses are configured.
const HOME_PAGE = 'https://quillon.invalid/';
const DONATION_PICTURE = 'https://quillon.invalid/wxm-skm.jpg';
const HELP_PAGE = 'help2.htm';
const MAX_SCRIPT_BYTES = 16777215;

const $ = (id) => document.getElementById(id);
const withLf = (text) => text.replace(/\r\n?/g, '\n');

class Page {
  constructor(quillon) {
    this.quillon = quillon;
    this.texts = quillon.builtInTexts();
    this.script = $('script');
    this.report = $('report');
    this.realtime = $('realtime');
    this.compute = $('compute');
    this.samples = $('samples');
  }

  start() {
    this.texts.forEach((sample, index) => this.samples.add(new Option(sample.label, String(index))));
    this.samples.selectedIndex = 0;
    this.realtime.checked = true;
    this.compute.disabled = true;
    this.script.value = withLf(this.texts[0].text);
    this.report.value = 'NULL';
    this.connect();
    this.script.focus();
    document.body.dataset.ready = 'yes';
  }

  connect() {
    this.script.addEventListener('input', () => { if (this.realtime.checked) this.runScript(); });
    this.script.addEventListener('scroll', () => this.syncMarks());
    this.script.addEventListener('mousemove', (event) => this.showLineTooltip(event));
    this.compute.addEventListener('click', () => this.runScript());
    this.realtime.addEventListener('change', () => {
      this.compute.disabled = this.realtime.checked;
      if (this.realtime.checked) this.runScript();
    });
    this.samples.addEventListener('change', () => this.selectSample());
    document.querySelectorAll('[data-sample]').forEach((item) => item.addEventListener('click', () => {
      this.samples.selectedIndex = Number(item.dataset.sample);
      this.selectSample();
      this.closeMenus();
    }));
    $('load').addEventListener('click', () => $('file').click());
    $('menuLoad').addEventListener('click', () => { this.closeMenus(); $('file').click(); });
    $('file').addEventListener('change', (event) => {
      const [file] = event.target.files;
      event.target.value = '';
      if (file) this.loadFile(file);
    });
    $('menuHome').addEventListener('click', () => { this.closeMenus(); window.open(HOME_PAGE, '_blank', 'noopener'); });
    $('menuHelp').addEventListener('click', () => { this.closeMenus(); window.open(HELP_PAGE, '_blank', 'noopener'); });
    $('menuDonate').addEventListener('click', () => { this.closeMenus(); window.open(DONATION_PICTURE, '_blank', 'noopener'); });
    $('menuAbout').addEventListener('click', () => { this.closeMenus(); $('about').showModal(); });
    $('copy').addEventListener('click', () => this.copyReport());
    for (const type of ['dragenter', 'dragover']) {
      document.addEventListener(type, (event) => {
        event.preventDefault();
        document.body.classList.add('dragging');
      });
    }
    document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      document.body.classList.remove('dragging');
      const [file] = event.dataTransfer.files;  // only the first file of a drop is loaded
      if (file) this.loadFile(file);
    });
  }

  closeMenus() {
    document.querySelectorAll('nav details').forEach((menu) => { menu.open = false; });
  }

  runScript() {
    const run = this.quillon.checkScript(this.script.value);
    this.report.value = withLf(run.report);
    this.showProblems(run.problems);
  }

  // Lines with problems are tinted behind the script, their messages listed under it and
  // shown as the tooltip of the line under the mouse.
  showProblems(problems) {
    this.problems = new Map();
    for (const p of problems) {
      const text = `警告[${p.code}]: ${p.message}`;
      this.problems.set(p.row, this.problems.has(p.row) ? `${this.problems.get(p.row)}\n${text}` : text);
    }
    const marks = $('marks');
    marks.replaceChildren();
    const style = getComputedStyle(this.script);
    const lineHeight = parseFloat(style.lineHeight);
    const top = parseFloat(style.paddingTop);
    for (const row of this.problems.keys()) {
      const mark = document.createElement('div');
      mark.dataset.row = String(row);
      mark.style.top = `${top + row * lineHeight}px`;
      mark.style.height = `${lineHeight}px`;
      marks.append(mark);
    }
    this.syncMarks();
    // Rows as the script box shows them (blank lines included).
    $('problems').textContent = problems.map((p) => `第${p.row + 1}行 警告[${p.code}]: ${p.message}`).join('\n');
    $('problems').style.whiteSpace = 'pre';
  }

  syncMarks() {
    $('marks').style.transform = `translate(${-this.script.scrollLeft}px, ${-this.script.scrollTop}px)`;
  }

  showLineTooltip(event) {
    if (!this.problems) return;
    const style = getComputedStyle(this.script);
    const box = this.script.getBoundingClientRect();
    const y = event.clientY - box.top - parseFloat(style.paddingTop) + this.script.scrollTop;
    const row = Math.floor(y / parseFloat(style.lineHeight));
    this.script.title = this.problems.get(row) ?? '';
  }

  selectSample() {
    const sample = this.texts[this.samples.selectedIndex];
    if (!sample) return;
    this.script.value = withLf(sample.text);
    if (sample.scored) {
      this.runScript();
    } else {
      this.report.value = 'NULL';
      this.showProblems([]);
    }
  }

  async loadFile(file) {
    if (file.size > MAX_SCRIPT_BYTES) {
      window.alert(`脚本文件太大，未读入：${file.name}\n脚本最多 16,777,215 字节。`);
      return;
    }
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch {
      return;  // a folder or an unreadable file changes nothing
    }
    // The library's decoder, as the desktop reads files; the script ends at its first NUL.
    const decoded = this.quillon.decodeScript(bytes);
    if (decoded.binary) {
      window.alert(`不是文本文件（开头 8 KiB 内有 NUL 字节），未读入：${file.name}`);
      return;
    }
    const nul = decoded.text.indexOf('\0');
    this.script.value = withLf(nul >= 0 ? decoded.text.slice(0, nul) : decoded.text);
    this.runScript();
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

QuillonModule().then((quillon) => new Page(quillon).start());
