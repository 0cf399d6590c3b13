// Writes worker-source.js: the worker (the library and worker.js) as one string that the page
// starts from a blob, since a page opened from a file may not start a worker from a file.
import { readFileSync, writeFileSync } from 'node:fs';

const [library, worker, out] = process.argv.slice(2);
const source = `${readFileSync(library, 'utf8')}\n${readFileSync(worker, 'utf8')}`;
writeFileSync(out, `// Generated from quillon.js and worker.js; do not edit.\nself.QUILLON_WORKER_SOURCE = ${JSON.stringify(source)};\n`);
