// The WebAssembly figure beside the native benchmark: the page's module (its Node build) runs the
// run button's command on the generated rosters of a hundred characters, saved as Shift_JIS and
// as UTF-8, and the best of the repetitions is reported as bench_run reports the native run.
//
//   node --no-experimental-fetch bench/bench_web.mjs BUILD [repetitions]
//
// BUILD is the web build's folder (build/web): its app/web/pelmora_node.js and its
// tests/app/write_roster.js, which writes the generated rosters.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';

const build = resolve(process.argv[2] ?? 'build/web');
const repetitions = Number(process.argv[3] ?? 15);
const core = await createRequire(import.meta.url)(join(build, 'app/web/pelmora_node.js'))();

function generated(flags) {
  const folder = mkdtempSync(join(tmpdir(), 'pelmora-bench-web-'));
  try {
    const file = join(folder, 'roster.txt');
    execFileSync(process.execPath, [...process.execArgv, join(build, 'tests/app/write_roster.js'), '100', file, ...flags]);
    return readFileSync(file);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// One run as the worker makes it: the roster in, the boxes and both files' bytes out.
function run(roster) {
  const pointer = core._malloc(roster.length);
  core.HEAPU8.set(roster, pointer);
  core._PelmoraRun(pointer, roster.length);
  core._free(pointer);
  if (!core._PelmoraFilesWritten()) throw new Error(core.UTF8ToString(core._PelmoraBoxText(0)));
  let bytes = 0;
  for (const file of [0, 1]) bytes += core.HEAPU8.slice(core._PelmoraFileBytes(file), core._PelmoraFileBytes(file) + core._PelmoraFileSize(file)).length;
  core._PelmoraReleaseFiles();
  return bytes;
}

for (const [label, flags] of [['', []], [' roster=utf-8', ['--utf-8']]]) {
  const roster = generated(flags);
  let best = Infinity;
  let bytes = 0;
  for (let repetition = 0; repetition < repetitions; ++repetition) {
    const start = performance.now();
    bytes = run(roster);
    best = Math.min(best, performance.now() - start);
  }
  console.log(`N=100${label} wasm_run_ms=${best.toFixed(3)} bytes=${bytes}`);
}
