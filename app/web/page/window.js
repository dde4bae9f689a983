// The window and its message boxes. The run button starts one command at a time: a click while a
// run is in progress does nothing. A box is a modal dialog with the text, no title and one OK
// button; Return and Escape close it.
const panel = document.getElementById('PageMain');
const runButton = document.getElementById('Button1');
let busy = false;

// Calls command at every click of the run button that comes while no run is in progress.
export function onRunClick(command) {
  runButton.addEventListener('click', async () => {
    if (busy) return;
    busy = true;
    panel.classList.add('busy');
    try {
      await command();
    } finally {
      busy = false;
      panel.classList.remove('busy');
    }
  });
}

export function isBusy() {
  return busy;
}

// Shows one box and resolves when the user has closed it.
export function showBox(text, isError = false) {
  const box = document.createElement('dialog');
  box.className = isError ? 'box error' : 'box';
  const textLine = document.createElement('p');
  textLine.className = 'text';
  textLine.textContent = text;
  const buttons = document.createElement('div');
  buttons.className = 'buttons';
  const ok = document.createElement('button');
  ok.type = 'button';
  ok.textContent = 'OK';
  ok.autofocus = true;
  buttons.append(ok);
  box.append(textLine, buttons);
  document.body.append(box);
  return new Promise((resolve) => {
    ok.addEventListener('click', () => box.close());
    box.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      event.preventDefault();
      box.close();
    });
    // Escape closes a modal dialog by itself.
    box.addEventListener('close', () => {
      box.remove();
      resolve();
    });
    box.showModal();
    ok.focus();
  });
}

// Shows the boxes one after another, in their order.
export async function showBoxes(boxes) {
  for (const box of boxes) await showBox(box.text, box.error);
}
