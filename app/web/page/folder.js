// The folder the user works in, where the browser can open one (the File System Access API): the
// roster is read there at every run and both files are written into it, as the desktop program
// does in its working directory. Its handle is kept in IndexedDB, so a return visit asks only for
// the browser's permission.
const kDatabase = 'pelmora-simulator';
const kStore = 'folders';
const kKey = 'working-folder';

export const canOpenFolders = typeof window.showDirectoryPicker === 'function';

function openDatabase() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(kDatabase, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(kStore);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function inStore(mode, action) {
  const database = await openDatabase();
  try {
    return await new Promise((resolve, reject) => {
      const request = action(database.transaction(kStore, mode).objectStore(kStore));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  } finally {
    database.close();
  }
}

// The folder chosen on an earlier visit, or null.
export async function rememberedFolder() {
  try {
    return (await inStore('readonly', (store) => store.get(kKey))) ?? null;
  } catch {
    return null;
  }
}

// Lets the user choose a folder and remembers it. Rejects when the user cancels.
export async function chooseFolder() {
  const folder = await window.showDirectoryPicker({ id: 'pelmora-simulator', mode: 'readwrite' });
  await inStore('readwrite', (store) => store.put(folder, kKey));
  return folder;
}

export async function forgetFolder() {
  await inStore('readwrite', (store) => store.delete(kKey));
}

// Asks for the browser's permission to read and write the folder where it is not granted yet
// (on a return visit); the click on the run button is the gesture the request needs.
async function mayWrite(folder) {
  if (typeof folder.queryPermission !== 'function') return true;
  const options = { mode: 'readwrite' };
  if ((await folder.queryPermission(options)) === 'granted') return true;
  return (await folder.requestPermission(options)) === 'granted';
}

// The roster file's bytes, or null when it cannot be read (missing, unreadable, no permission).
export async function readRoster(folder, rosterName) {
  try {
    if (!(await mayWrite(folder))) return null;
    const file = await (await folder.getFileHandle(rosterName)).getFile();
    return new Uint8Array(await file.arrayBuffer());
  } catch {
    return null;
  }
}

// Writes each file into the folder, replacing what is there; rejects with the browser's error.
export async function writeFiles(folder, files) {
  for (const { name, bytes } of files) {
    const writable = await (await folder.getFileHandle(name, { create: true })).createWritable();
    try {
      await writable.write(bytes);
      await writable.close();
    } catch (error) {
      await writable.abort().catch(() => {});
      throw error;
    }
  }
}
