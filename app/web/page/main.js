// The page: a click on the run button reads the roster (from the chosen folder, or the picked or
// dropped file, or the sample), runs it in the worker, puts both files where the user finds them
// (into the folder, or the downloads) and shows the run's boxes. After every run that wrote its
// files, the event "pelmora-run" on the document carries them: event.detail.files is
// [{ name, bytes }] for the result report and the battle log, their bytes as the run wrote them.
// Below the window, the results view shows the files of the last run, or of a run of the desktop
// program whose two files were picked or dropped. The marks "pelmora-run-start" and
// "pelmora-run-end" time the run, the measure "pelmora-results" the way from its end to its view.
import { onRunClick, showBox, showBoxes } from './window.js';
import { errorBoxText, fileNames, runRoster } from './run_client.js';
import { canOpenFolders, chooseFolder, forgetFolder, readRoster as readFolderRoster, rememberedFolder, writeFiles } from './folder.js';
import { chosenName, loadSample, readRoster as readFileRoster, sample, useFile } from './roster_file.js';
import { download, downloadAll } from './downloads.js';
import { pageLanguage, words } from './words.js';
import { areResultFiles, openResultFiles, showRunResults, useFileNames } from './result_source.js';

let folder = null;
let names = null;

function nextPaint() {
  return new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
}

function reasonOf(error) {
  return String(error?.message || error?.name || error);
}

function showSource() {
  const roster = names.roster;
  const line = document.getElementById('SourceLine');
  const note = document.getElementById('SourceNote');
  if (folder) {
    line.textContent = words.folder(folder.name);
    note.textContent = words.folderNote(roster);
  } else if (chosenName()) {
    line.textContent = words.file(chosenName());
    note.textContent = words.fileNote;
  } else {
    line.textContent = words.sample(roster);
    note.textContent = words.sampleNote;
  }
}

async function run() {
  performance.mark('pelmora-run-start');
  const roster = folder ? await readFolderRoster(folder, names.roster) : await readFileRoster();
  const { boxes, files } = await runRoster(roster);
  performance.mark('pelmora-run-end');
  if (files) {
    try {
      if (folder) {
        await writeFiles(folder, files);
        showRunResults(files);
      } else {
        // The view first: the downloads' copies of a large battle log would hold it back, and
        // they cannot fail.
        showRunResults(files);
        await nextPaint();
        downloadAll(files);
      }
    } catch (error) {
      // The run's own closing box would say the files were written: only the error is shown.
      await showBox(await errorBoxText(reasonOf(error)), true);
      return;
    }
    document.dispatchEvent(new CustomEvent('pelmora-run', { detail: { files } }));
  }
  await showBoxes(boxes);
}

function showResultsSource() {
  document.getElementById('ResultsHeading').textContent = words.results;
  document.getElementById('ResultsNote').textContent = words.resultsNote(...names.files);
  document.getElementById('Results').hidden = false;
}

async function useChosenFile(file) {
  if (!file) return;
  useFile(file);
  if (folder) {
    folder = null;
    await forgetFolder().catch(() => {});
  }
  showSource();
}

function wireChoices() {
  const chooseFolderButton = document.getElementById('ChooseFolder');
  if (canOpenFolders) {
    chooseFolderButton.hidden = false;
    chooseFolderButton.textContent = words.chooseFolder;
    chooseFolderButton.addEventListener('click', async () => {
      try {
        folder = await chooseFolder();
        showSource();
      } catch (error) {
        if (error?.name !== 'AbortError') await showBox(await errorBoxText(reasonOf(error)), true);
      }
    });
  }
  const fileInput = document.getElementById('ChooseFile');
  document.getElementById('ChooseFileText').textContent = words.chooseFile(names.roster);
  fileInput.addEventListener('change', () => useChosenFile(fileInput.files[0]));
  const saveSample = document.getElementById('SaveSample');
  saveSample.textContent = words.saveSample;
  saveSample.addEventListener('click', () => download(names.roster, sample()));
  const resultsInput = document.getElementById('ChooseResults');
  document.getElementById('ChooseResultsText').textContent = words.openResults(...names.files);
  resultsInput.addEventListener('change', async () => {
    await openResultFiles(resultsInput.files);
    resultsInput.value = '';
  });
  // A roster file dropped anywhere on the page, or the two files of a run: on the results, or
  // more than one file anywhere.
  const forResults = (event, files) => event.target.closest?.('#Results') || areResultFiles(files);
  document.addEventListener('dragover', (event) => {
    if (!event.dataTransfer?.types.includes('Files')) return;
    event.preventDefault();
    const onResults = Boolean(event.target.closest?.('#Results'));
    document.body.classList.toggle('dropping', !onResults);
    document.body.classList.toggle('dropping-results', onResults);
  });
  const endDrop = () => document.body.classList.remove('dropping', 'dropping-results');
  document.addEventListener('dragleave', endDrop);
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    endDrop();
    const files = [...(event.dataTransfer?.files ?? [])];
    if (files.length === 0) return;
    if (forResults(event, files)) openResultFiles(files);
    else useChosenFile(files[0]);
  });
}

async function start() {
  document.documentElement.lang = pageLanguage;
  try {
    [names] = await Promise.all([fileNames, loadSample()]);
    if (canOpenFolders) folder = await rememberedFolder();
  } catch (error) {
    await showBox(await errorBoxText(reasonOf(error)).catch(() => reasonOf(error)), true);
    return;
  }
  useFileNames(names);
  wireChoices();
  showSource();
  showResultsSource();
  onRunClick(run);
  document.getElementById('RosterSource').hidden = false;
  document.body.dataset.ready = 'true';
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}

start();
