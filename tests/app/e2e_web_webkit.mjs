// The page in WebKitGTK's MiniBrowser (Safari's engine), through WebKitWebDriver on an X server of
// its own: the window's size and colour, the sample and a hundred characters saved as Shift_JIS
// run through a picked file, the boxes answered with Return. WebKitGTK keeps its downloads out of
// the test's reach, so the files are read through the page: the bytes that each run hands to the
// downloads, as its "pelmora-run" event carries them, compared with core_run's. After each run the
// results view shows the report's ranking and marks, and a match opened by a click its lines of
// the battle log; PELMORA_E2E_SCREENSHOTS=DIR keeps a screenshot of the view in DIR (for three
// characters too), at the scale GDK_SCALE gives.
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';
import { Builder, By, Key, until } from 'selenium-webdriver';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  asRosterFile,
  checkCase,
  collectMatch,
  collectView,
  compareMatch,
  compareView,
  fail,
  parseArguments,
  prepareRosters,
  readExpected,
  sameBytes,
  serveSite,
} from './web_e2e_support.mjs';

const kMiniBrowser = process.env.PELMORA_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const kDriver = process.env.PELMORA_WEBKIT_DRIVER ?? 'WebKitWebDriver';

const options = parseArguments();
const screenshots = process.env.PELMORA_E2E_SCREENSHOTS;
const rosters = prepareRosters(options, screenshots ? [3] : []);
const site = await serveSite(options.site);
const children = [];

function start(command, args, extra = {}) {
  const child = spawn(command, args, { stdio: ['ignore', 'ignore', 'pipe'], ...extra });
  children.push(child);
  return child;
}

// An X server of its own, on the first free display.
async function startXServer() {
  const xvfb = start('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], {
    stdio: ['ignore', 'ignore', 'pipe', 'pipe'],
  });
  const display = await new Promise((resolve, reject) => {
    let text = '';
    xvfb.stdio[3].on('data', (data) => {
      text += data;
      if (text.includes('\n')) resolve(`:${text.trim()}`);
    });
    xvfb.on('exit', (code) => reject(new Error(`Xvfb ended with ${code}`)));
  });
  return display;
}

async function freePort() {
  const server = createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

// The driver and the browser; where either fails to start, says so in its words and tries again.
async function startSession(display) {
  for (let attempt = 1; ; ++attempt) {
    const port = await freePort();
    const driverProcess = start(kDriver, [`--port=${port}`, '--host=127.0.0.1'], { env: { ...process.env, DISPLAY: display } });
    let driverSaid = '';
    driverProcess.stderr.on('data', (data) => (driverSaid += data));
    await new Promise((resolve) => setTimeout(resolve, 500));
    try {
      const capabilities = {
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: kMiniBrowser, args: ['--automation'] },
      };
      return await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities(capabilities).build();
    } catch (error) {
      driverProcess.kill();
      if (attempt === 2) throw error;
      console.log(`WebKitGTK did not start, starting it again: ${error.message} ${driverSaid}`);
    }
  }
}

let driver = null;

// The view of the run: its ranking and grid, and the match of the last character and the first.
async function checkResults(roster) {
  await driver.wait(async () => driver.executeScript(() => document.getElementById('ResultsView').hidden === false), 30000);
  const expected = readExpected(roster.expected.files, roster.name === 'sample' ? 'utf-8' : 'shift_jis');
  compareView(`the results of ${roster.name}`, await driver.executeScript(collectView), expected);
  const last = expected.count - 1;
  // WebKitWebDriver does not bring a cell below the window into view itself.
  const cell = await driver.findElement(By.css(`#Grid tbody tr:nth-child(${last + 1}) td:nth-of-type(1)`));
  await driver.executeAsyncScript((element, done) => {
    element.scrollIntoView({ block: 'center' });
    requestAnimationFrame(() => requestAnimationFrame(done));
  }, cell);
  await cell.click();
  await driver.wait(async () => (await driver.executeScript(collectMatch)).length > 0, 10000);
  compareMatch(`the results of ${roster.name}`, last, 0, await driver.executeScript(collectMatch), expected.matchLines(last, 0));
  if (!screenshots) return;
  await driver.executeScript(() => document.querySelector('#Ranking li:first-child button').click());
  await driver.executeScript(() => document.getElementById('Results').scrollIntoView());
  const scale = process.env.GDK_SCALE ?? '1';
  writeFileSync(join(screenshots, `webkit-results-${roster.name}-${scale}00.png`), Buffer.from(await driver.takeScreenshot(), 'base64'));
}
try {
  for (const roster of Object.values(rosters.cases)) checkCase(roster);
  const display = await startXServer();
  driver = await startSession(display);
  await driver.get(site.url);
  await driver.wait(until.elementLocated(By.css('body[data-ready="true"]')), 30000);

  const window = await driver.executeScript(() => {
    const panel = document.getElementById('PageMain').getBoundingClientRect();
    const button = document.getElementById('Button1').getBoundingClientRect();
    return JSON.stringify({
      title: document.title,
      panel: [panel.width, panel.height],
      colour: getComputedStyle(document.getElementById('PageMain')).backgroundColor,
      button: [button.left - panel.left, button.top - panel.top, button.width, button.height],
    });
  });
  const want = JSON.stringify({ title: 'Pelmora Simulator', panel: [500, 300], colour: 'rgb(68, 68, 68)', button: [210, 125, 80, 50] });
  if (window !== want) fail(`window ${window}, not ${want}`);

  // Every run's files, as the page hands them to the downloads.
  await driver.executeScript(() => {
    window.pelmoraRuns = [];
    document.addEventListener('pelmora-run', async (event) => {
      const files = {};
      for (const { name, bytes } of event.detail.files) {
        files[name] = await new Promise((resolve) => {
          const reader = new FileReader();
          reader.onload = () => resolve(reader.result.slice(reader.result.indexOf(',') + 1));
          reader.readAsDataURL(new Blob([bytes]));
        });
      }
      window.pelmoraRuns.push(files);
    });
  });

  for (const name of screenshots ? ['sample', 'sjis3', 'sjis100'] : ['sample', 'sjis100']) {
    const roster = rosters.cases[name];
    if (name !== 'sample') await driver.findElement(By.id('ChooseFile')).sendKeys(asRosterFile(roster, rosters.folder));
    const runsBefore = await driver.executeScript(() => window.pelmoraRuns.length);
    await driver.findElement(By.id('Button1')).click();
    const box = await driver.wait(until.elementLocated(By.css('dialog[open]')), 60000);
    const text = await box.findElement(By.css('.text')).getText();
    if (text !== roster.expected.boxes[0]) fail(`${name}: box ${JSON.stringify(text)}, core_run showed ${roster.expected.boxes}`);
    await driver.switchTo().activeElement().sendKeys(Key.RETURN);
    await driver.wait(async () => (await driver.findElements(By.css('dialog'))).length === 0, 10000);
    await driver.wait(async () => (await driver.executeScript(() => window.pelmoraRuns.length)) > runsBefore, 30000);
    const files = await driver.executeScript(() => window.pelmoraRuns[window.pelmoraRuns.length - 1]);
    if (Object.keys(files).sort().join() !== Object.keys(roster.expected.files).sort().join()) fail(`${name}: files ${Object.keys(files)}`);
    for (const [file, base64] of Object.entries(files)) sameBytes(`${name} ${file}`, Buffer.from(base64, 'base64'), roster.expected.files[file]);
    await checkResults(roster);
  }
  const version = (await driver.getCapabilities()).get('browserVersion');
  console.log(`WebKitGTK ${version}: the sample and a hundred characters gave core_run's files and boxes, and their results view`);
} finally {
  if (driver) await driver.quit().catch(() => {});
  for (const child of children) child.kill();
  await site.close();
  rosters.remove();
}
