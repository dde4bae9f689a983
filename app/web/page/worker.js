// The worker that holds the core's WebAssembly module and answers the page, one request at a
// time: the names of the files, a run, the text of an error box.
importScripts('pelmora.js');

const ready = PelmoraModule();

function names(core) {
  return {
    roster: core.UTF8ToString(core._PelmoraRosterFileName()),
    files: [0, 1].map((file) => core.UTF8ToString(core._PelmoraFileName(file))),
  };
}

function copyOut(core, pointer, size) {
  return core.HEAPU8.slice(pointer, pointer + size).buffer;
}

function run(core, roster) {
  let pointer = 0;
  let size = -1;
  if (roster) {
    size = roster.byteLength;
    pointer = core._malloc(Math.max(size, 1));
    core.HEAPU8.set(new Uint8Array(roster), pointer);
  }
  const start = performance.now();
  const count = core._PelmoraRun(pointer, size);
  const runMs = performance.now() - start;
  if (pointer) core._free(pointer);
  const boxes = [];
  for (let index = 0; index < count; ++index) {
    boxes.push({ text: core.UTF8ToString(core._PelmoraBoxText(index)), error: core._PelmoraBoxIsError(index) !== 0 });
  }
  let files = null;
  if (core._PelmoraFilesWritten()) {
    const fileNames = names(core).files;
    files = fileNames.map((name, file) => ({
      name,
      bytes: copyOut(core, core._PelmoraFileBytes(file), core._PelmoraFileSize(file)),
    }));
    core._PelmoraReleaseFiles();
  }
  return { boxes, files, runMs };
}

function errorBoxText(core, message) {
  const size = core.lengthBytesUTF8(message) + 1;
  const pointer = core._malloc(size);
  core.stringToUTF8(message, pointer, size);
  const text = core.UTF8ToString(core._PelmoraErrorBoxText(pointer));
  core._free(pointer);
  return { text };
}

self.addEventListener('message', async ({ data }) => {
  const { id } = data;
  try {
    const core = await ready;
    if (data.kind === 'names') {
      self.postMessage({ id, ...names(core) });
    } else if (data.kind === 'run') {
      const answer = run(core, data.roster);
      const transfer = answer.files ? answer.files.map((file) => file.bytes) : [];
      self.postMessage({ id, ...answer }, transfer);
    } else if (data.kind === 'errorBoxText') {
      self.postMessage({ id, ...errorBoxText(core, data.message) });
    }
  } catch (error) {
    self.postMessage({ id, failure: String(error?.message ?? error) });
  }
});
