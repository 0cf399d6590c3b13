// The page's scorer: the WebAssembly library and the front ends' model, off the page's thread.
// Each message names a call of the model and its arguments; the answer is the model's update
// and the milliseconds the call took.
'use strict';

const encoder = new TextEncoder();
const ready = QuillonModule().then((quillon) => {
  const model = new quillon.FrontEnd();
  const texts = quillon.builtInTexts();
  const labels = texts.map((sample) => sample.label);
  const captions = texts.map((sample) => sample.menuCaption);
  return { model, labels, captions, exports: quillon.exportFormats(), maxScriptBytes: quillon.maxScriptBytes };
});

self.onmessage = async ({ data }) => {
  const { model, labels, captions, exports, maxScriptBytes } = await ready;
  const { id, call, args } = data;
  if (call === 'hello') {
    self.postMessage({ id, labels, captions, exports, maxScriptBytes });
    return;
  }
  const started = performance.now();
  // Texts go in as UTF-8 bytes: the browser's encoder is many times faster than converting a
  // string character by character.
  const update = model[call](...args.map((arg) => (typeof arg === 'string' ? encoder.encode(arg) : arg)));
  self.postMessage({ id, update, ms: performance.now() - started });
};
