// The results view in Debian's Chromium, headless, driven by playwright-core: after runs of the
// sample and of a hundred characters, and from core_run's files of a hundred characters saved as
// UTF-8 (picked) and as Shift_JIS (dropped), the ranking's rows are the report's ranking, every
// cell of the grid is the report's mark, and each match opened (by a click or the keyboard, from
// the grid or a character found by name) shows exactly its lines of the battle log. Pairs that
// are not one run's give the message and no view. An axe-core scan of the page with results
// shown finds nothing. The timings of the view and of opening a match are printed, as is the
// grid's scrolling; PELMORA_E2E_SCREENSHOTS=DIR keeps screenshots of the view in DIR.
import { chromium } from 'playwright-core';
import { mkdirSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import {
  asRosterFile,
  checkCase,
  collectMatch,
  collectView,
  compareMatch,
  compareView,
  fail,
  kFileNames,
  launchChromium,
  parseArguments,
  prepareRosters,
  readExpected,
  serveSite,
} from './web_e2e_support.mjs';

const options = parseArguments();
const rosters = prepareRosters(options, [3]);
const site = await serveSite(options.site);
const browser = await launchChromium(chromium);
const kEncodings = { sample: 'utf-8', sjis3: 'shift_jis', sjis100: 'shift_jis', utf8100: 'utf-8' };
const screenshots = process.env.PELMORA_E2E_SCREENSHOTS;
const timings = { results: [], reading: [], matches: [] };
const pageErrors = [];

async function openPage(settings = {}) {
  const context = await browser.newContext({ acceptDownloads: true, locale: 'en-US', viewport: { width: 1280, height: 900 }, ...settings });
  const page = await context.newPage();
  page.on('pageerror', (error) => pageErrors.push(error.message));
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  return page;
}

// Core_run's two files of a roster under their own names, in a folder of their own.
function resultFiles(name) {
  const folder = join(rosters.folder, `${name}-results`);
  mkdirSync(folder, { recursive: true });
  return kFileNames.map((file) => {
    writeFileSync(join(folder, file), rosters.cases[name].expected.files[file]);
    return join(folder, file);
  });
}

async function waitForView(page) {
  await page.waitForFunction(() => document.getElementById('ResultsView').hidden === false);
}

async function runRoster(page, name) {
  if (name !== 'sample') await page.setInputFiles('#ChooseFile', asRosterFile(rosters.cases[name], rosters.folder));
  await page.evaluate(() => document.getElementById('ResultsView').setAttribute('hidden', ''));
  await page.click('#Button1');
  await page.locator('dialog[open]').waitFor({ timeout: 60000 });
  await page.keyboard.press('Enter');
  await waitForView(page);
  await page.waitForFunction((count) => performance.getEntriesByName('pelmora-results').length === count, timings.results.length + 1);
  const [results, reading] = await page.evaluate(() =>
    ['pelmora-results', 'pelmora-results-reading'].map((name) => performance.getEntriesByName(name).at(-1).duration),
  );
  timings.results.push([name, results]);
  timings.reading.push([name, reading]);
}

// Two files given to the page at once through a file input of its own, dropped on target.
async function dropFiles(page, paths, target) {
  await page.evaluate(() => {
    const input = Object.assign(document.createElement('input'), { type: 'file', multiple: true, id: 'DropSource', hidden: true });
    document.body.append(input);
  });
  await page.setInputFiles('#DropSource', paths);
  await page.evaluate((selector) => {
    const input = document.getElementById('DropSource');
    const data = new DataTransfer();
    for (const file of input.files) data.items.add(file);
    input.remove();
    document.querySelector(selector).dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
  }, target);
}

// The ranking's rows against the report's ranking, and every cell against the table.
async function checkView(page, roster, name) {
  const expected = readExpected(rosters.cases[roster].expected.files, kEncodings[roster]);
  compareView(name, await page.evaluate(collectView), expected);
  return expected;
}

async function checkMatch(page, name, expected, i, j, open) {
  const before = await page.evaluate(() => performance.getEntriesByName('pelmora-match').length);
  await open();
  await page.waitForFunction((count) => performance.getEntriesByName('pelmora-match').length > count, before);
  timings.matches.push(await page.evaluate(() => performance.getEntriesByName('pelmora-match').at(-1).duration));
  compareMatch(name, i, j, await page.evaluate(collectMatch), expected.matchLines(i, j));
}

// Matches opened by a click on their cells: the first, the last and some between, some from
// below the diagonal.
async function checkMatches(page, name, expected) {
  const n = expected.count;
  const pairs = [[0, 1], [n - 2, n - 1], [n - 1, 0], [Math.floor(n / 2), Math.floor(n / 3)], [1, n - 1], [Math.floor(n / 3), Math.floor((2 * n) / 3)]];
  for (const [i, j] of pairs) {
    await checkMatch(page, name, expected, i, j, () => page.click(`#Grid tbody tr:nth-child(${i + 1}) td:nth-of-type(${j + 1})`));
  }
}

// The grid by keyboard, from wherever its one stop is: Control+Home goes to the first cell, Right
// twice and Return open the match of 01 and 03, Down and Return that of 02 and 03; Home, Left and
// Return on the row header open the character 02, whose list is its row of results, and one of
// its matches opens.
async function checkKeyboard(page, name, expected) {
  await page.focus('#Grid [tabindex="0"]');
  const keys = (...names) => async () => {
    for (const key of names) await page.keyboard.press(key);
  };
  await checkMatch(page, name, expected, 0, 2, keys('Control+Home', 'ArrowRight', 'ArrowRight', 'Enter'));
  await checkMatch(page, name, expected, 1, 2, keys('ArrowDown', 'Enter'));
  await keys('Home', 'ArrowLeft', 'Enter')();
  await checkCharacter(page, name, expected, 1);
}

async function checkCharacter(page, name, expected, k) {
  await page.waitForFunction((want) => document.getElementById('CharacterName').textContent === want, `${String(k + 1).padStart(2, '0')} ${expected.names[k]}`);
  const items = await page.evaluate(() => [...document.querySelectorAll('#CharacterMatches button')].map((button) => button.textContent));
  const want = expected.marks[k].flatMap((mark, j) => (j === k ? [] : [`${mark} ${String(j + 1).padStart(2, '0')} ${expected.names[j]} ${mark === '○' ? 'Win' : 'Loss'}`]));
  if (items.join('\n') !== want.join('\n')) fail(`${name}: character ${k + 1} lists ${JSON.stringify(items.slice(0, 3))}…, its row is ${JSON.stringify(want.slice(0, 3))}…`);
  const j = (k + expected.count - 1) % expected.count;
  await checkMatch(page, name, expected, k, j, () => page.click(`#CharacterMatches li:nth-child(${j < k ? j + 1 : j}) button`));
}

// The search finds every name that holds the text; choosing the first shows that character.
async function checkSearch(page, name, expected, text) {
  await page.fill('#FindCharacter', text);
  const found = await page.evaluate(() => [...document.querySelectorAll('#Found button')].map((button) => button.textContent));
  const want = expected.names.flatMap((character, k) => (character.toLowerCase().includes(text.toLowerCase()) ? [`${String(k + 1).padStart(2, '0')} ${character}`] : []));
  if (found.join() !== want.join() || want.length === 0) fail(`${name}: "${text}" found ${found}, not ${want}`);
  await page.press('#FindCharacter', 'Enter');
  await checkCharacter(page, name, expected, expected.names.indexOf(want[0].slice(want[0].indexOf(' ') + 1)));
}

async function checkAll(page, roster, name, searchText) {
  const expected = await checkView(page, roster, name);
  await checkMatches(page, name, expected);
  await checkKeyboard(page, name, expected);
  await checkSearch(page, name, expected, searchText);
}

// A pair that is not one run's: the message alone, no view.
async function checkRefused(page, what, give, wanted) {
  await give();
  await page.waitForFunction(() => !document.getElementById('ResultsMessage').hidden);
  const shown = await page.evaluate(() => ({
    message: document.getElementById('ResultsMessage').textContent,
    view: !document.getElementById('ResultsView').hidden,
    alerts: document.querySelectorAll('[role="alert"]:not([hidden])').length,
  }));
  if (shown.view || shown.alerts !== 1 || !shown.message.startsWith('These are not the two files of one run: ') || !shown.message.includes(wanted)) {
    fail(`${what}: ${JSON.stringify(shown)}`);
  }
}

// How the grid scrolls: frame times while it moves down and right a little each frame.
async function scrollFrames(page) {
  return page.evaluate(async () => {
    const box = document.querySelector('.grid-box');
    const frames = [];
    let last = await new Promise((resolve) => requestAnimationFrame(resolve));
    for (let frame = 0; frame < 120; ++frame) {
      box.scrollTop += 24;
      box.scrollLeft += 16;
      const now = await new Promise((resolve) => requestAnimationFrame(resolve));
      frames.push(now - last);
      last = now;
    }
    return frames.sort((a, b) => a - b);
  });
}

async function checkAccessibility(page) {
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core/axe.min.js') });
  const result = await page.evaluate(async () => {
    const { violations, passes } = await window.axe.run(document);
    return { passes: passes.length, violations: violations.map((violation) => `${violation.id}: ${violation.nodes.slice(0, 3).map((node) => node.target.join(' ')).join(', ')}`) };
  });
  if (result.violations.length) fail(`axe-core: ${result.violations.join('; ')}`);
  return result.passes;
}

// The view at 100 % and 200 % with a match and a character open, as the window shows it
// scrolled to each part (rows and lines out of the window are drawn only when scrolled to).
async function keepScreenshots() {
  for (const scale of [1, 2]) {
    const page = await openPage({ deviceScaleFactor: scale, viewport: { width: 1280 / scale, height: 900 / scale } });
    for (const name of ['sjis3', 'sample', 'sjis100']) {
      await page.setInputFiles('#ChooseResults', resultFiles(name));
      await waitForView(page);
      const count = readExpected(rosters.cases[name].expected.files, kEncodings[name]).count;
      await page.click(`#Grid tbody tr:nth-child(${count}) td:nth-of-type(1)`);
      await page.click('#Ranking li:first-child button');
      await page.mouse.move(0, 0);
      for (const part of ['ranking', 'table', 'match']) {
        await page.evaluate((selector) => {
          document.querySelector(selector).scrollIntoView();
          return new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
        }, `.${part}-part`);
        await page.screenshot({ path: join(screenshots, `results-${name}-${scale * 100}-${part}.png`) });
      }
    }
    await page.context().close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

try {
  for (const roster of Object.values(rosters.cases)) checkCase(roster);
  const page = await openPage();
  await runRoster(page, 'sample');
  await checkAll(page, 'sample', 'the sample run', 'Mk');
  await runRoster(page, 'sjis100');
  await checkAll(page, 'sjis100', 'the run of a hundred', 'dragon');
  const frames = await scrollFrames(page);

  // A desktop run's files: UTF-8 ones picked, Shift_JIS ones dropped on the window.
  await page.setInputFiles('#ChooseResults', resultFiles('utf8100'));
  await page.waitForFunction(() => document.getElementById('ResultsFrom').textContent.startsWith('From '));
  await checkAll(page, 'utf8100', 'the UTF-8 files', '竜');
  await page.evaluate(() => document.getElementById('ResultsView').setAttribute('hidden', ''));
  await dropFiles(page, resultFiles('sjis100'), '#FormMain');
  await waitForView(page);
  await checkAll(page, 'sjis100', 'the dropped Shift_JIS files', 'ｱﾙﾄ');

  // Files that are not one run's pair.
  const [report100] = resultFiles('utf8100');
  const [, sampleLog] = resultFiles('sample');
  const cutLog = join(rosters.folder, 'cut', kFileNames[1]);
  mkdirSync(join(rosters.folder, 'cut'), { recursive: true });
  const fullLog = rosters.cases.sjis100.expected.files[kFileNames[1]];
  writeFileSync(cutLog, fullLog.subarray(0, fullLog.lastIndexOf('====', fullLog.length / 2)));
  await checkRefused(page, 'a report with another run’s log', () => page.setInputFiles('#ChooseResults', [report100, sampleLog]), 'match 1 of the battle log');
  await page.setInputFiles('#ChooseResults', resultFiles('sjis100'));
  await waitForView(page);
  await checkRefused(page, 'a log cut short', () => dropFiles(page, [resultFiles('sjis100')[0], cutLog], '#Results'), 'the battle log stops at match');
  await checkRefused(page, 'one file alone', () => dropFiles(page, [report100], '#FormMain'), 'choose pelm_result.txt and pelm_battle.txt together');
  await page.context().close();

  // The page with results shown, a match and a character open, scanned by axe-core (injected,
  // so this context lets the page's policy pass it).
  const scanned = await openPage({ bypassCSP: true });
  await scanned.setInputFiles('#ChooseResults', resultFiles('sample'));
  await waitForView(scanned);
  await scanned.click('#Grid tbody tr:nth-child(2) td:nth-of-type(5)');
  await scanned.click('#Ranking li:first-child button');
  const passes = await checkAccessibility(scanned);
  await scanned.context().close();

  if (screenshots) await keepScreenshots();
  if (pageErrors.length) fail(`errors in the page: ${pageErrors}`);

  const ms = (value) => `${value.toFixed(1)} ms`;
  for (const [[name, results], [, reading]] of timings.results.map((entry, k) => [entry, timings.reading[k]])) {
    console.log(`timing: the view of the ${name} run shown ${ms(results)} after the run's end (the two files read in ${ms(reading)})`);
  }
  const matches = timings.matches;
  console.log(`timing: ${matches.length} matches opened in ${ms(Math.min(...matches))} to ${ms(Math.max(...matches))}, median ${ms(median(matches))}`);
  console.log(`timing: scrolling the grid of 9,900 cells, 120 frames: median ${ms(median(frames))}, slowest ${ms(frames.at(-1))}`);
  console.log(`Chromium ${browser.version()}: the results view matched core_run's files; axe-core passed ${passes} rules with no violation`);
} finally {
  await browser.close();
  await site.close();
  rosters.remove();
}
