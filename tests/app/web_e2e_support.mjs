// What the page's end-to-end tests share: the command line, the rosters with the files and boxes
// that core_run gives for each, and a static server of the site on this machine that counts every
// request it answers.
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';

export const kRosterName = 'キャラクター.txt';
export const kFileNames = ['pelm_result.txt', 'pelm_battle.txt'];

// --site DIR --node NODE|ARG... --core-run JS --write-roster JS --sample FILE
export function parseArguments(argv = process.argv.slice(2)) {
  const options = {};
  for (let index = 0; index < argv.length; index += 2) options[argv[index].slice(2)] = argv[index + 1];
  options.node = options.node.split('|');
  return options;
}

export function fail(message) {
  throw new Error(message);
}

// core_run in a folder of its own: the files it writes and the boxes it shows (on standard error).
function coreRun(options, rosterBytes) {
  const work = mkdtempSync(join(tmpdir(), 'pelmora-web-expected-'));
  try {
    if (rosterBytes) writeFileSync(join(work, kRosterName), rosterBytes);
    const [node, ...nodeArguments] = options.node;
    const run = spawnSync(node, [...nodeArguments, options['core-run']], { cwd: work, stdio: ['ignore', 'ignore', 'pipe'] });
    if (run.status !== 0) fail(`core_run: status ${run.status}, ${run.stderr}`);
    const files = {};
    for (const name of kFileNames) {
      try {
        files[name] = readFileSync(join(work, name));
      } catch {}
    }
    return { boxes: run.stderr.toString('utf8').split('\n').filter((line) => line !== ''), files };
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
}

// The rosters the tests run, each with what core_run makes of it: the sample, a hundred
// generated characters saved as Shift_JIS and as UTF-8, and one whose third line is bad.
export function prepareRosters(options) {
  const folder = mkdtempSync(join(tmpdir(), 'pelmora-web-rosters-'));
  const [node, ...nodeArguments] = options.node;
  const generated = (file, ...flags) => {
    execFileSync(node, [...nodeArguments, options['write-roster'], '100', file, ...flags]);
    return readFileSync(file);
  };
  const sample = readFileSync(options.sample);
  const rosters = {
    sample,
    sjis100: generated(join(folder, 'sjis100.txt')),
    utf8100: generated(join(folder, 'utf8100.txt'), '--utf-8'),
    failing: Buffer.concat([sample.subarray(0, sample.indexOf(10, sample.indexOf(10) + 1) + 1), Buffer.from('■■■炸斬■霧楽イ空勇者\r\n', 'utf8')]),
  };
  const cases = {};
  for (const [name, bytes] of Object.entries(rosters)) {
    const path = join(folder, `${name}.txt`);
    writeFileSync(path, bytes);
    cases[name] = { name, bytes, path, expected: coreRun(options, bytes) };
  }
  const missing = coreRun(options, null);
  return { folder, cases, missing, remove: () => rmSync(folder, { recursive: true, force: true }) };
}

export function checkCase(roster) {
  const { expected } = roster;
  const wrote = Object.keys(expected.files).length;
  if (roster.name === 'failing') {
    if (wrote !== 0 || expected.boxes.length !== 2) fail(`core_run on the failing roster: ${wrote} files, boxes ${expected.boxes}`);
  } else if (wrote !== 2 || expected.boxes.length !== 1) {
    fail(`core_run on ${roster.name}: ${wrote} files, boxes ${expected.boxes}`);
  }
}

export function sameBytes(what, got, want) {
  if (!Buffer.from(got).equals(Buffer.from(want))) {
    fail(`${what}: ${got.length} bytes differ from core_run's ${want.length}`);
  }
}

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain',
};

// Serves the site on 127.0.0.1 at a port the system picks; requests lists every path asked for.
export async function serveSite(site) {
  const requests = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    requests.push(path);
    const file = normalize(join(site, path.endsWith('/') ? `${path}index.html` : path));
    try {
      if (!file.startsWith(normalize(site))) throw new Error('outside the site');
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream', 'Cache-Control': 'no-cache' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  return { url, requests, close: () => new Promise((resolve) => server.close(resolve)) };
}

// Copies a roster to a file named as the program reads it, in a folder of its own.
export function asRosterFile(roster, folder) {
  const path = join(folder, roster.name);
  execFileSync('mkdir', ['-p', path]);
  copyFileSync(roster.path, join(path, kRosterName));
  return join(path, kRosterName);
}
