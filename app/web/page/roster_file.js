// The roster where no folder is used: the file the user picked or dropped, read again at every
// run, or the sample roster until then. The sample is fetched with the page's own files.
let chosenFile = null;
let sampleBytes = null;

export async function loadSample() {
  const response = await fetch('sample-roster.txt');
  if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
  sampleBytes = new Uint8Array(await response.arrayBuffer());
}

export function sample() {
  return sampleBytes;
}

export function useFile(file) {
  chosenFile = file;
}

// The chosen file's name, or null while the sample is in use.
export function chosenName() {
  return chosenFile ? chosenFile.name : null;
}

// The roster's bytes, or null when the chosen file can no longer be read.
export async function readRoster() {
  if (!chosenFile) return sampleBytes;
  try {
    return new Uint8Array(await chosenFile.arrayBuffer());
  } catch {
    return null;
  }
}
