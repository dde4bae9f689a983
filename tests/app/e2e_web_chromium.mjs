// The page in Debian's Chromium, headless, driven by playwright-core: the window's size and
// colour; runs of the sample, a hundred characters saved as Shift_JIS and as UTF-8, and a roster
// that fails, through the downloads and through a folder (a folder of the origin-private file
// system stands in for the folder picker, which automation cannot click); the files compared
// byte for byte with core_run's, the boxes in order; a run with the network off; and no request
// from the page once its own files are loaded.
import { chromium } from 'playwright-core';
import { readFileSync } from 'node:fs';
import {
  asRosterFile,
  checkCase,
  fail,
  kFileNames,
  kRosterName,
  launchChromium,
  parseArguments,
  prepareRosters,
  sameBytes,
  serveSite,
} from './web_e2e_support.mjs';

const options = parseArguments();
const rosters = prepareRosters(options);
const site = await serveSite(options.site);
const browser = await launchChromium(chromium);
const context = await browser.newContext({ acceptDownloads: true, locale: 'en-US' });
const page = await context.newPage();
const foreign = [];
context.on('request', (request) => {
  if (!request.url().startsWith(site.url) && !/^(blob|data):/.test(request.url())) foreign.push(request.url());
});
const pageErrors = [];
page.on('pageerror', (error) => pageErrors.push(error.message));

async function load() {
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
}

// Answers the boxes as they come, alternately with Return and Escape, and returns their texts.
async function answerBoxes(count) {
  const texts = [];
  for (let index = 0; index < count; ++index) {
    const box = page.locator('dialog[open]');
    await box.waitFor();
    const shown = await box.evaluate((dialog) => ({
      text: dialog.querySelector('.text').textContent,
      buttons: [...dialog.querySelectorAll('button')].map((button) => button.textContent),
      modal: dialog.matches(':modal'),
      focused: document.activeElement?.textContent,
    }));
    if (shown.buttons.join() !== 'OK' || !shown.modal || shown.focused !== 'OK') fail(`box not modal with one focused OK: ${JSON.stringify(shown)}`);
    texts.push(shown.text);
    await page.keyboard.press(index % 2 === 0 ? 'Enter' : 'Escape');
    await page.waitForFunction((count) => document.querySelectorAll('dialog').length === count, count - index - 1).catch(async () =>
      fail(`after ${JSON.stringify(texts)} came ${JSON.stringify(await page.locator('dialog').allTextContents())}`),
    );
  }
  return texts;
}

function sameBoxes(what, got, roster) {
  if (got.join('\n') !== roster.expected.boxes.join('\n')) fail(`${what}: boxes ${JSON.stringify(got)}, core_run showed ${JSON.stringify(roster.expected.boxes)}`);
}

// A click on the run button through the downloads: two clicks at once make one run.
async function runWithDownloads(roster) {
  const downloads = [];
  const onDownload = (download) => downloads.push(download);
  page.on('download', onDownload);
  await page.evaluate(() => {
    const button = document.getElementById('Button1');
    button.click();
    button.click();
  });
  const boxes = await answerBoxes(roster.expected.boxes.length);
  page.off('download', onDownload);
  sameBoxes(roster.name, boxes, roster);
  const wanted = Object.keys(roster.expected.files);
  if (downloads.map((download) => download.suggestedFilename()).join() !== wanted.join()) {
    fail(`${roster.name}: downloads ${downloads.map((download) => download.suggestedFilename())}, not ${wanted}`);
  }
  for (const download of downloads) {
    sameBytes(`${roster.name} ${download.suggestedFilename()}`, readFileSync(await download.path()), roster.expected.files[download.suggestedFilename()]);
  }
}

// The folder of the origin-private file system that the folder picker hands over: the roster
// put there (or none), the files read back.
async function putRoster(roster) {
  await page.evaluate(
    async ([rosterName, bytes, fileNames]) => {
      const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('work', { create: true });
      for (const name of [rosterName, ...fileNames]) await folder.removeEntry(name).catch(() => {});
      if (bytes === null) return;
      const writable = await (await folder.getFileHandle(rosterName, { create: true })).createWritable();
      await writable.write(new Uint8Array(bytes));
      await writable.close();
    },
    [kRosterName, roster ? [...roster.bytes] : null, kFileNames],
  );
}

async function folderFiles() {
  const files = await page.evaluate(async (fileNames) => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('work', { create: true });
    const found = {};
    for (const name of fileNames) {
      try {
        const file = await (await folder.getFileHandle(name)).getFile();
        found[name] = await new Promise((resolve, reject) => {
          const reader = new FileReader();
          reader.onload = () => resolve(reader.result.slice(reader.result.indexOf(',') + 1));
          reader.onerror = () => reject(reader.error);
          reader.readAsDataURL(file);
        });
      } catch {}
    }
    return found;
  }, kFileNames);
  return Object.fromEntries(Object.entries(files).map(([name, base64]) => [name, Buffer.from(base64, 'base64')]));
}

async function runInFolder(roster) {
  await page.click('#Button1');
  sameBoxes(`${roster.name} in the folder`, await answerBoxes(roster.expected.boxes.length), roster);
  const files = await folderFiles();
  if (Object.keys(files).join() !== Object.keys(roster.expected.files).join()) fail(`${roster.name}: the folder holds ${Object.keys(files)}`);
  for (const [name, bytes] of Object.entries(files)) sameBytes(`${roster.name} ${name} in the folder`, bytes, roster.expected.files[name]);
}

try {
  for (const roster of Object.values(rosters.cases)) checkCase(roster);
  await load();

  // The window as the desktop shows it.
  const window = await page.evaluate(() => {
    const panel = document.getElementById('PageMain').getBoundingClientRect();
    const button = document.getElementById('Button1').getBoundingClientRect();
    return {
      title: document.title,
      caption: document.querySelector('.caption').textContent,
      panel: [panel.width, panel.height],
      colour: getComputedStyle(document.getElementById('PageMain')).backgroundColor,
      button: [button.left - panel.left, button.top - panel.top, button.width, button.height],
      label: document.getElementById('Button1').textContent,
    };
  });
  const want = { title: 'Pelmora Simulator', caption: 'Pelmora Simulator', panel: [500, 300], colour: 'rgb(68, 68, 68)', button: [210, 125, 80, 50], label: '実行' };
  if (JSON.stringify(window) !== JSON.stringify(want)) fail(`window ${JSON.stringify(window)}, not ${JSON.stringify(want)}`);

  // Once the service worker holds the site, nothing more is fetched.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const loaded = site.requests.length;

  // The first visit runs the sample; then the file picked, then the roster that fails.
  await runWithDownloads(rosters.cases.sample);
  for (const name of ['sjis100', 'utf8100', 'failing']) {
    await page.setInputFiles('#ChooseFile', asRosterFile(rosters.cases[name], rosters.folder));
    await runWithDownloads(rosters.cases[name]);
  }

  // The folder: chosen once, read and written at every click.
  await page.evaluate(() => {
    window.showDirectoryPicker = async () => (await navigator.storage.getDirectory()).getDirectoryHandle('work', { create: true });
  });
  await page.click('#ChooseFolder');
  await page.waitForFunction(() => document.getElementById('SourceLine').textContent.includes('work'));
  for (const name of ['sample', 'sjis100', 'utf8100', 'failing']) {
    await putRoster(rosters.cases[name]);
    await runInFolder(rosters.cases[name]);
  }
  await putRoster(null);
  await runInFolder({ name: 'missing', expected: rosters.missing });
  // The browser itself may look for a new version of the service worker; the page asks for nothing.
  const later = site.requests.slice(loaded).filter((path) => path !== '/sw.js');
  if (later.length) fail(`requests after the page loaded: ${later}`);

  // With the network off, the page comes back from the service worker with its folder.
  await context.setOffline(true);
  await load();
  if (!(await page.textContent('#SourceLine')).includes('work')) fail('the folder was not remembered');
  await putRoster(rosters.cases.sjis100);
  await runInFolder(rosters.cases.sjis100);
  await context.setOffline(false);

  if (foreign.length) fail(`requests beyond the site: ${foreign}`);
  if (pageErrors.length) fail(`errors in the page: ${pageErrors}`);
  console.log(`Chromium ${browser.version()}: every run gave core_run's files and boxes`);
} finally {
  await browser.close();
  await site.close();
  rosters.remove();
}
