// The WebAssembly figures beside the native benchmark: the page's module runs the run button's
// command on the generated rosters of a hundred characters, saved as Shift_JIS and as UTF-8, under
// Node (its Node build) and in the page's own worker in Debian's Chromium (the site served from
// this machine): the run itself, as the worker times it, and the page's wait from the request to
// the answer with both files' bytes. The best and the median of the repetitions are reported as
// bench_run reports the native run.
//
//   node bench/bench_web.mjs BUILD [repetitions]
//
// BUILD is the web build's folder (build/web): its app/web/pelmora_node.js, its site and its
// tests/app/write_roster.js, which writes the generated rosters. The Node build's glue needs Node's
// own fetch off and the browser's driver needs it on, so the Node figures come from a child
// process of this script (--node-only).
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';
import { fileURLToPath } from 'node:url';

const nodeOnly = process.argv[2] === '--node-only';
const [buildArgument, repetitionsArgument] = process.argv.slice(nodeOnly ? 3 : 2);
const build = resolve(buildArgument ?? 'build/web');
const repetitions = Number(repetitionsArgument ?? 15);

function generated(flags) {
  const folder = mkdtempSync(join(tmpdir(), 'pelmora-bench-web-'));
  try {
    const file = join(folder, 'roster.txt');
    execFileSync(process.execPath, ['--no-experimental-fetch', join(build, 'tests/app/write_roster.js'), '100', file, ...flags]);
    return readFileSync(file);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// One run as the worker makes it: the roster in, the boxes and both files' bytes out. Returns
// the time of the run itself and the bytes of both files.
function run(core, roster) {
  const pointer = core._malloc(roster.length);
  core.HEAPU8.set(roster, pointer);
  const start = performance.now();
  core._PelmoraRun(pointer, roster.length);
  const ms = performance.now() - start;
  core._free(pointer);
  if (!core._PelmoraFilesWritten()) throw new Error(core.UTF8ToString(core._PelmoraBoxText(0)));
  const bytes = core._PelmoraFileSize(0) + core._PelmoraFileSize(1);
  core._PelmoraReleaseFiles();
  return { ms, bytes };
}

function bestAndMedian(times) {
  const sorted = [...times].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  const median = sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
  return `${sorted[0].toFixed(3)}/${median.toFixed(3)}`;
}

// The same runs in the page's worker, as the page asks for them.
async function pageTimes(page, roster) {
  return page.evaluate(
    async ({ bytes, repetitions, kWarmUp }) => {
      const worker = new Worker('worker.js');
      let next = 1;
      const ask = (request, transfer = []) =>
        new Promise((resolve, reject) => {
          const id = next++;
          worker.onmessage = ({ data }) => (data.failure ? reject(new Error(data.failure)) : resolve(data));
          worker.postMessage({ id, ...request }, transfer);
        });
      await ask({ kind: 'names' });
      const times = [];
      const runs = [];
      for (let repetition = -kWarmUp; repetition < repetitions; ++repetition) {
        const copy = new Uint8Array(bytes).buffer;
        const start = performance.now();
        const answer = await ask({ kind: 'run', roster: copy }, [copy]);
        if (repetition >= 0) {
          times.push(performance.now() - start);
          runs.push(answer.runMs);
        }
        if (!answer.files) throw new Error(answer.boxes.map((box) => box.text).join(' / '));
      }
      worker.terminate();
      return { times, runs };
    },
    { bytes: [...roster], repetitions, kWarmUp },
  );
}

// The engines compile a module quickly first and optimise what runs often meanwhile: the first
// runs, not counted, let the optimised code take over.
const kWarmUp = 3;

const rosters = [['', generated([])], [' roster=utf-8', generated(['--utf-8'])]];

if (nodeOnly) {
  const core = await createRequire(import.meta.url)(join(build, 'app/web/pelmora_node.js'))();
  for (const [label, roster] of rosters) {
    const times = [];
    let bytes = 0;
    for (let repetition = -kWarmUp; repetition < repetitions; ++repetition) {
      const answer = run(core, roster);
      bytes = answer.bytes;
      if (repetition >= 0) times.push(answer.ms);
    }
    console.log(`N=100${label} node wasm_run_ms=${bestAndMedian(times)} bytes=${bytes}`);
  }
} else {
  execFileSync(process.execPath, ['--no-experimental-fetch', fileURLToPath(import.meta.url), '--node-only', build, String(repetitions)], {
    stdio: 'inherit',
  });
  const { chromium } = await import('playwright-core');
  const { serveSite } = await import('../tests/app/web_e2e_support.mjs');
  const site = await serveSite(join(build, 'site'));
  const browser = await chromium.launch({
    executablePath: process.env.PELMORA_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update', '--no-first-run'],
  });
  try {
    const page = await browser.newPage();
    await page.goto(site.url);
    await page.waitForSelector('body[data-ready="true"]');
    for (const [label, roster] of rosters) {
      const { times, runs } = await pageTimes(page, roster);
      console.log(`N=100${label} chromium wasm_run_ms=${bestAndMedian(runs)} answer_ms=${bestAndMedian(times)}`);
    }
  } finally {
    await browser.close();
    await site.close();
  }
}
