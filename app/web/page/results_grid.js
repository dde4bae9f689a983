// The win/loss table as a grid: a table with one row and one column per character, the row the
// character and the column its opponent, as the report has it. Each cell shows the report's mark
// and the colour of a win or a loss; the diagonal is empty. The grid is one stop of the Tab key:
// the arrow keys, Page Up and Down, Home and End move within it, Return or Space opens the
// match of a cell or the character of a header, and so does a click.
import { kLoss, kWin } from './result_files.js';
import { words } from './words.js';

const kPageRows = 10;
const kMarks = { [kWin]: '○', [kLoss]: '×' };
const kClasses = { [kWin]: 'win', [kLoss]: 'loss', 0: 'own' };

// The rows are laid out as rows of cells of fixed widths (style.css), each row drawn only while
// in view, so the elements keep their table's roles explicitly.
function header(scope, character) {
  const cell = document.createElement('th');
  cell.scope = scope;
  cell.setAttribute('role', scope === 'col' ? 'columnheader' : 'rowheader');
  const number = document.createElement('span');
  number.className = 'number';
  number.textContent = character.number;
  const name = document.createElement('span');
  name.className = 'name';
  name.textContent = character.name;
  cell.append(number, name);
  return cell;
}

function headerRow(characters) {
  const row = document.createElement('tr');
  row.setAttribute('role', 'row');
  const corner = document.createElement('td');
  corner.className = 'corner';
  corner.setAttribute('role', 'gridcell');
  row.append(corner, ...characters.map((character) => header('col', character)));
  const head = document.createElement('thead');
  head.append(row);
  return head;
}

// A cell of each kind, copied into its places.
function cellTemplates() {
  const templates = {};
  for (const [mark, label] of [[kWin, words.win], [kLoss, words.loss], [0, null]]) {
    const cell = document.createElement('td');
    cell.className = kClasses[mark];
    cell.setAttribute('role', 'gridcell');
    if (label) {
      cell.textContent = kMarks[mark];
      cell.setAttribute('aria-label', label);
    }
    templates[mark] = cell;
  }
  return templates;
}

function bodyRows(model) {
  const body = document.createElement('tbody');
  const templates = cellTemplates();
  const count = model.characters.length;
  const cells = new Array(count);
  model.characters.forEach((character, i) => {
    const row = document.createElement('tr');
    row.setAttribute('role', 'row');
    for (let j = 0; j < count; ++j) cells[j] = templates[model.mark(i, j)].cloneNode(true);
    row.append(header('row', character), ...cells);
    body.append(row);
  });
  return body;
}

// Draws the grid of a model in place of the one before, labelled by the element labelId names.
// actions: match(i, j) when a cell is chosen, character(k) when a header is, point(element,
// text) when the pointer or the focus comes to a cell (text null when it leaves), to show the
// full names.
export function drawGrid(box, labelId, model, actions) {
  const count = model.characters.length;
  const table = document.createElement('table');
  table.id = 'Grid';
  table.className = 'grid';
  table.setAttribute('role', 'grid');
  table.setAttribute('aria-labelledby', labelId);
  table.append(headerRow(model.characters), bodyRows(model));
  table.style.setProperty('--count', count);
  box.replaceChildren(table);
  let current = null;
  let open = [];

  const cellAt = (row, column) => table.rows[row]?.cells[column] ?? null;
  const place = (cell) => [cell.parentElement.rowIndex, cell.cellIndex];

  function moveTo(cell, focus = true) {
    if (!cell || cell.classList.contains('corner')) return;
    if (current && current !== cell) current.removeAttribute('tabindex');
    current = cell;
    cell.tabIndex = 0;
    if (focus) cell.focus();
  }

  // What a cell stands for: a match (a mark of another character), a character (a header), or
  // nothing (the diagonal).
  function choose(cell) {
    const [row, column] = place(cell);
    if (row === 0) actions.character(column - 1);
    else if (column === 0) actions.character(row - 1);
    else if (row !== column) actions.match(row - 1, column - 1);
  }

  function describe(cell) {
    const [row, column] = place(cell);
    const character = (k) => `${model.characters[k].number} ${model.characters[k].name}`;
    if (row === 0) return character(column - 1);
    if (column === 0) return character(row - 1);
    return words.pairing(character(row - 1), character(column - 1));
  }

  const keyMoves = {
    ArrowUp: ([row, column], event) => [event.ctrlKey ? 0 : row - 1, column],
    ArrowDown: ([row, column], event) => [event.ctrlKey ? count : row + 1, column],
    ArrowLeft: ([row, column], event) => [row, event.ctrlKey ? 0 : column - 1],
    ArrowRight: ([row, column], event) => [row, event.ctrlKey ? count : column + 1],
    PageUp: ([row, column]) => [Math.max(1, row - kPageRows), column],
    PageDown: ([row, column]) => [Math.min(count, row + kPageRows), column],
    Home: ([row, column], event) => (event.ctrlKey ? [1, 1] : [row, 1]),
    End: ([row, column], event) => (event.ctrlKey ? [count, count] : [row, count]),
  };

  table.addEventListener('keydown', (event) => {
    const cell = event.target.closest('td, th');
    if (!cell) return;
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      choose(cell);
      return;
    }
    const move = keyMoves[event.key];
    if (!move) return;
    event.preventDefault();
    const [row, column] = move(place(cell), event);
    moveTo(cellAt(Math.min(Math.max(row, 0), count), Math.min(Math.max(column, 0), count)));
  });
  table.addEventListener('click', (event) => {
    const cell = event.target.closest('td, th');
    if (!cell || cell.classList.contains('corner')) return;
    moveTo(cell);
    choose(cell);
  });
  for (const [type, leaving] of [['mouseover', false], ['focusin', false], ['mouseleave', true], ['focusout', true]]) {
    table.addEventListener(type, (event) => {
      const cell = leaving ? null : event.target.closest?.('td, th');
      actions.point(cell, cell && !cell.classList.contains('corner') ? describe(cell) : null);
    });
  }

  // The first match, or the only character, takes the Tab key's stop.
  moveTo(cellAt(Math.min(1, count), Math.min(2, count)), false);

  return {
    // Marks the open match's cell (and its twin across the diagonal) and moves the stop there.
    showOpen(i, j) {
      for (const cell of open) cell.classList.remove('open');
      open = [cellAt(i + 1, j + 1), cellAt(j + 1, i + 1)];
      for (const cell of open) cell.classList.add('open');
      if (current !== open[0]) moveTo(open[0], false);
    },
    // Marks the chosen character's headers.
    showChosen(k) {
      for (const cell of table.querySelectorAll('th.chosen')) cell.classList.remove('chosen');
      cellAt(0, k + 1)?.classList.add('chosen');
      cellAt(k + 1, 0)?.classList.add('chosen');
    },
  };
}
