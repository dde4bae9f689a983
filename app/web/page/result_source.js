// Where the results view's two files come from: the run just made, or the two files of a run of
// the desktop program, picked or dropped. Either way the view is read from their bytes alone;
// files that are not one run's pair give one message and no view.
import { looksLikeReport, readResults, TResultsError } from './result_files.js';
import { showResults, showResultsMessage } from './results_view.js';
import { pageLanguage, words } from './words.js';

let names = null;

// The names the core gives its files: { files: [result report, battle log] }.
export function useFileNames(fileNames) {
  names = fileNames;
}

function reasonText(error) {
  if (!(error instanceof TResultsError)) return words.unreadable(String(error?.message || error));
  const report = names.files[0];
  const { match, total } = error.detail;
  const reasons = {
    report: () => words.noReport(report),
    encodings: () => words.encodings,
    cut: () => words.cut(match, total, pageLanguage),
    other: () => words.otherMatch(match, pageLanguage),
    winner: () => words.otherWinner(match, pageLanguage),
    extra: () => words.extra,
  };
  return reasons[error.reason]();
}

function show(reportBytes, logBytes, source) {
  let model;
  try {
    performance.mark('pelmora-results-read');
    model = readResults(reportBytes, logBytes);
    performance.measure('pelmora-results-reading', 'pelmora-results-read');
  } catch (error) {
    showResultsMessage(words.notAPair(reasonText(error)));
    return false;
  }
  showResults(model, source);
  return true;
}

// The files of the run just made, as the core wrote them: [{ name, bytes }] in the core's order.
export function showRunResults(files) {
  const shown = show(new Uint8Array(files[0].bytes), new Uint8Array(files[1].bytes), words.fromRun);
  if (shown) {
    const measure = () => performance.measure('pelmora-results', 'pelmora-run-end', 'pelmora-results-shown');
    document.addEventListener('pelmora-results-shown', measure, { once: true });
  }
  return shown;
}

// Whether files dropped on the page are results rather than a roster: more than one, or one
// named as a file the run writes.
export function areResultFiles(files) {
  return files.length > 1 || (files.length === 1 && names.files.includes(files[0].name));
}

// Two files picked or dropped: the report is the one that begins as a report does, whatever its
// name (a browser may have renamed a download); the other is the battle log.
export async function openResultFiles(fileList) {
  const files = [...fileList];
  if (files.length !== 2) {
    showResultsMessage(words.notAPair(words.needBoth(...names.files)));
    return false;
  }
  let contents;
  try {
    contents = await Promise.all(files.map(async (file) => new Uint8Array(await file.arrayBuffer())));
  } catch (error) {
    showResultsMessage(words.notAPair(reasonText(error)));
    return false;
  }
  const reports = contents.map(looksLikeReport);
  if (reports[0] === reports[1]) {
    showResultsMessage(words.notAPair(reasonText(new TResultsError('report'))));
    return false;
  }
  const [report, log] = reports[0] ? [0, 1] : [1, 0];
  return show(contents[report], contents[log], words.fromFiles(files[report].name, files[log].name));
}
