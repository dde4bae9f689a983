// What the page's end-to-end tests share: the command line, the rosters with the files and boxes
// that core_run gives for each, what core_run's files say (for the results view), a static server
// of the site on this machine that counts every request it answers, and Chromium's start.
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
// generated characters saved as Shift_JIS and as UTF-8, and one whose third line is bad; and, for
// each count given, that many generated characters saved as Shift_JIS ("sjis3" for 3).
export function prepareRosters(options, counts = []) {
  const folder = mkdtempSync(join(tmpdir(), 'pelmora-web-rosters-'));
  const [node, ...nodeArguments] = options.node;
  const generated = (file, count = '100', ...flags) => {
    execFileSync(node, [...nodeArguments, options['write-roster'], count, file, ...flags]);
    return readFileSync(file);
  };
  const sample = readFileSync(options.sample);
  const rosters = {
    sample,
    sjis100: generated(join(folder, 'sjis100.txt')),
    utf8100: generated(join(folder, 'utf8100.txt'), '100', '--utf-8'),
    failing: Buffer.concat([sample.subarray(0, sample.indexOf(10, sample.indexOf(10) + 1) + 1), Buffer.from('■■■炸斬■霧楽イ空勇者\r\n', 'utf8')]),
  };
  for (const count of counts) rosters[`sjis${count}`] = generated(join(folder, `generated${count}.txt`), String(count));
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

// What core_run's two files say, read line by line in the encoding the test knows they are in:
// the ranking's lines, the table's marks row by row, the names, and each match's lines.
export function readExpected(files, encoding) {
  const decode = (name) => new TextDecoder(encoding).decode(files[name]).split('\r\n').slice(0, -1);
  const report = decode(kFileNames[0]);
  const log = decode(kFileNames[1]);
  const table = report.indexOf('勝敗表：');
  const ranking = report.indexOf('勝数順：');
  const count = table - 2;
  const names = report.slice(1, count + 1).map((line) => line.slice(line.indexOf(' ') + 1, line.lastIndexOf('：HP')).trimEnd());
  const marks = report.slice(table + 2, table + 2 + count).map((row) => row.split(' ').slice(1, -1));
  const openings = [];
  log.forEach((line, index) => {
    if (line === '='.repeat(60) && log[index + 2] === '='.repeat(60)) openings.push(index);
  });
  const matches = new Map();
  let k = 0;
  for (let i = 0; i < count; ++i) {
    for (let j = i + 1; j < count; ++j, ++k) matches.set(`${i},${j}`, log.slice(openings[k], openings[k + 1] ?? log.length));
  }
  return {
    count,
    names,
    marks,
    ranking: report.slice(ranking + 1, ranking + 1 + count),
    matchLines: (i, j) => matches.get(`${Math.min(i, j)},${Math.max(i, j)}`),
  };
}

// What the results view shows, read in the page: the ranking's rows, the grid's headers, marks and
// roles.
export function collectView() {
  const parts = (cell) => [...cell.children].map((part) => part.textContent);
  return {
    ranking: [...document.querySelectorAll('#Ranking li')].map((item) => ({
      name: item.querySelector('button.name').textContent,
      skills: item.querySelector('.skills').textContent,
      record: item.querySelector('.record').textContent,
    })),
    columns: [...document.querySelectorAll('#Grid thead th')].map(parts),
    rows: [...document.querySelectorAll('#Grid tbody tr')].map((row) => ({
      header: parts(row.querySelector('th')),
      marks: [...row.querySelectorAll('td')].map((cell) => cell.textContent),
      roles: [...row.children].map((cell) => cell.getAttribute('role')).join(),
    })),
  };
}

// The lines of the match the view shows.
export function collectMatch() {
  return [...document.querySelectorAll('#MatchLog .line')].map((line) => line.textContent);
}

// The view against core_run's files: each ranking row is its line of the report's ranking (the
// name as the row shows it, padding, the marks and letters, the wins) with the losses the table
// gives, each header names its character, each cell holds the table's mark (the diagonal none).
export function compareView(what, shown, expected) {
  if (shown.ranking.length !== expected.count) fail(`${what}: ${shown.ranking.length} ranking rows for ${expected.count} characters`);
  shown.ranking.forEach((row, p) => {
    const line = expected.ranking[p];
    const [, wins, losses] = /^(\d+) wins?, (\d+) loss(?:es)?$/.exec(row.record) ?? [];
    const rest = line.slice(row.name.length).replace(/^ */, '');
    if (!line.startsWith(row.name) || rest !== `：${row.skills}：${wins?.padStart(2)}勝` || Number(losses) !== expected.count - 1 - Number(wins)) {
      fail(`${what}: ranking row ${p + 1} ${JSON.stringify(row)} is not the report's ${JSON.stringify(line)}`);
    }
  });
  const names = expected.names.map((character, k) => [String(k + 1).padStart(2, '0'), character]);
  if (JSON.stringify(shown.columns) !== JSON.stringify(names)) fail(`${what}: column headers ${JSON.stringify(shown.columns.slice(0, 3))}…`);
  if (shown.rows.length !== expected.count) fail(`${what}: ${shown.rows.length} rows in the grid`);
  shown.rows.forEach((row, i) => {
    const marks = expected.marks[i].map((mark) => (mark === '－' ? '' : mark));
    if (JSON.stringify(row.header) !== JSON.stringify(names[i]) || row.marks.join() !== marks.join()) {
      fail(`${what}: grid row ${i + 1} ${JSON.stringify(row.header)} ${row.marks.join('')}, not ${marks.join('')}`);
    }
    if (row.roles !== ['rowheader', ...marks.map(() => 'gridcell')].join()) fail(`${what}: grid row ${i + 1} has the roles ${row.roles}`);
  });
}

export function compareMatch(what, i, j, lines, want) {
  if (lines.length === want.length && lines.every((line, k) => line === want[k])) return;
  const differs = lines.findIndex((line, index) => line !== want[index]);
  const k = differs < 0 ? Math.min(lines.length, want.length) : differs;
  fail(`${what}: match ${i + 1} vs ${j + 1}: line ${k + 1} ${JSON.stringify(lines[k])}, the log has ${JSON.stringify(want[k])}`);
}

// Debian's Chromium, headless; where it fails to start, says so in its own words and tries once
// more.
export async function launchChromium(chromium) {
  const settings = { executablePath: process.env.PELMORA_CHROMIUM ?? '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] };
  try {
    return await chromium.launch(settings);
  } catch (error) {
    console.log(`Chromium did not start, starting it again: ${error.message}`);
    return chromium.launch(settings);
  }
}
