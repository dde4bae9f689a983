// The core's run in a Web Worker, so that the page never freezes: the roster's bytes go in; the
// boxes' texts and the two files' bytes come back, untouched. The worker starts with the page, so
// its module is fetched while the page loads.
const worker = new Worker('worker.js');
const pending = new Map();
let nextId = 1;
let broken = null;

worker.addEventListener('message', ({ data }) => {
  const request = pending.get(data.id);
  pending.delete(data.id);
  if (data.failure) request.reject(new Error(data.failure));
  else request.resolve(data);
});
worker.addEventListener('error', (event) => {
  event.preventDefault();
  broken = new Error(event.message || 'The WebAssembly module could not be loaded');
  for (const request of pending.values()) request.reject(broken);
  pending.clear();
});

function ask(request, transfer = []) {
  if (broken) return Promise.reject(broken);
  return new Promise((resolve, reject) => {
    const id = nextId++;
    pending.set(id, { resolve, reject });
    worker.postMessage({ id, ...request }, transfer);
  });
}

// The names the core uses: { roster, files: [result report, battle log] }.
export const fileNames = ask({ kind: 'names' });

// Runs the run button's command on the roster's bytes (null: there is no roster file). Resolves
// to { boxes: [{ text, error }], files: [{ name, bytes }] or null when the run wrote none }.
export function runRoster(rosterBytes) {
  const roster = rosterBytes ? rosterBytes.slice().buffer : null;
  return ask({ kind: 'run', roster }, roster ? [roster] : []);
}

// The error box's text for an error the page met itself, by the program's own rule.
export async function errorBoxText(message) {
  return (await ask({ kind: 'errorBoxText', message })).text;
}
