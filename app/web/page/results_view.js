// The results below the window, drawn from a model that result_files.js read from the two files:
// the ranking with a bar of each character's wins, the win/loss table as a grid, a character with
// its row of results and its matches, a search by name, and one match's lines of the battle log.
// Or, instead of all of them, the one message that says why two files cannot be shown. Its
// timings are the page's performance entries: the mark "pelmora-results-shown" (and the event of
// that name on the document) once a view is painted, the measure "pelmora-match" from the choice
// of a match to its lines painted.
import { fitColumns, lineElement } from './columns.js';
import { drawGrid } from './results_grid.js';
import { kWin } from './result_files.js';
import { pageLanguage, words } from './words.js';

const element = (id) => document.getElementById(id);
const view = element('ResultsView');
const message = element('ResultsMessage');
const tooltip = element('ResultsTooltip');

let model = null;
let grid = null;

function nameOf(k) {
  return `${model.characters[k].number} ${model.characters[k].name}`;
}

function markOf(mark) {
  const shown = document.createElement('span');
  shown.className = mark === kWin ? 'mark win' : 'mark loss';
  shown.textContent = mark === kWin ? '○' : '×';
  shown.setAttribute('aria-hidden', 'true');
  return shown;
}

function nameButton(k, className = 'name') {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = className;
  button.textContent = nameOf(k);
  button.addEventListener('click', () => chooseCharacter(k));
  return button;
}

// The full text of whatever the pointer or the focus is on, where the element shows it cut. It
// is placed at the next frame, so that a click or a key never waits for the page's layout.
let pointed = null;
function point(target, text) {
  const shown = target && text !== null && !(target.matches('button.name') && target.scrollWidth <= target.clientWidth);
  if (!shown) {
    pointed = null;
    tooltip.hidden = true;
    return;
  }
  if (!pointed) requestAnimationFrame(placeTooltip);
  pointed = { target, text };
}

function placeTooltip() {
  if (!pointed) return;
  const { target, text } = pointed;
  pointed = null;
  tooltip.textContent = text;
  tooltip.hidden = false;
  const box = target.getBoundingClientRect();
  const width = tooltip.offsetWidth;
  tooltip.style.left = `${Math.max(4, Math.min(box.left, document.documentElement.clientWidth - width - 4)) + window.scrollX}px`;
  tooltip.style.top = `${box.bottom + 4 + window.scrollY}px`;
}

function drawRanking() {
  const list = element('Ranking');
  const most = Math.max(1, model.characters.length - 1);
  list.replaceChildren(
    ...model.ranking.map((k) => {
      const character = model.characters[k];
      const item = document.createElement('li');
      const skills = document.createElement('span');
      skills.className = 'skills';
      skills.textContent = character.skillArea;
      const bar = document.createElement('span');
      bar.className = 'bar';
      bar.setAttribute('aria-hidden', 'true');
      const wins = document.createElement('span');
      wins.className = 'wins';
      wins.style.width = `${(100 * character.wins) / most}%`;
      bar.append(wins);
      const record = document.createElement('span');
      record.className = 'record';
      record.textContent = words.record(character.wins, character.losses);
      item.append(nameButton(k), skills, bar, record);
      return item;
    }),
  );
}

function showMatch(i, j) {
  performance.mark('pelmora-match-open');
  const number = model.matchNumber(i, j);
  const log = element('MatchLog');
  element('MatchHeading').textContent = words.match(number + 1, model.matchCount, pageLanguage);
  const lines = document.createElement('div');
  lines.className = 'lines';
  lines.append(...model.matchLines(i, j).map(lineElement));
  log.replaceChildren(lines);
  log.scrollTo(0, 0);
  log.hidden = false;
  element('MatchPlaceholder').hidden = true;
  grid.showOpen(i, j);
  afterPaint(() => performance.measure('pelmora-match', 'pelmora-match-open'));
}

function chooseCharacter(k) {
  const character = model.characters[k];
  element('CharacterName').textContent = nameOf(k);
  element('CharacterRecord').textContent = words.record(character.wins, character.losses);
  const list = element('CharacterMatches');
  list.replaceChildren(
    ...model.characters.flatMap((opponent, j) => {
      if (j === k) return [];
      const item = document.createElement('li');
      const button = document.createElement('button');
      button.type = 'button';
      const mark = model.mark(k, j);
      const result = document.createElement('span');
      result.className = 'result';
      result.textContent = mark === kWin ? words.win : words.loss;
      const name = document.createElement('span');
      name.className = 'opponent';
      name.textContent = ` ${nameOf(j)} `;
      button.append(markOf(mark), name, result);
      button.addEventListener('click', () => showMatch(k, j));
      item.append(button);
      return [item];
    }),
  );
  element('Character').hidden = false;
  grid.showChosen(k);
}

function find(query) {
  const list = element('Found');
  const count = element('FoundCount');
  const wanted = query.normalize('NFKC').toLowerCase().trim();
  if (wanted === '') {
    list.replaceChildren();
    count.textContent = '';
    return;
  }
  const found = model.characters.flatMap((character, k) => (character.name.normalize('NFKC').toLowerCase().includes(wanted) ? [k] : []));
  list.replaceChildren(
    ...found.map((k) => {
      const item = document.createElement('li');
      item.append(nameButton(k));
      return item;
    }),
  );
  count.textContent = words.found(found.length);
}

// Runs after the browser has painted what was drawn.
function afterPaint(then) {
  requestAnimationFrame(() => setTimeout(then, 0));
}

// Shows the view of a model, replacing what was shown before; source says where it comes from.
export function showResults(newModel, source) {
  performance.mark('pelmora-results-draw');
  model = newModel;
  message.hidden = true;
  element('ResultsFrom').textContent = source;
  drawRanking();
  grid = drawGrid(element('GridBox'), 'TableHeading', model, { match: showMatch, character: chooseCharacter, point });
  element('GridHelp').textContent = model.matchCount > 0 ? words.gridHelp : words.noMatches;
  element('Character').hidden = true;
  element('FindCharacter').value = '';
  find('');
  element('MatchHeading').textContent = words.matchHeading;
  element('MatchLog').replaceChildren();
  element('MatchLog').hidden = true;
  element('MatchPlaceholder').hidden = false;
  view.hidden = false;
  afterPaint(() => {
    performance.mark('pelmora-results-shown');
    document.dispatchEvent(new CustomEvent('pelmora-results-shown'));
  });
}

// Shows why files cannot be shown, and no view.
export function showResultsMessage(text) {
  model = null;
  view.hidden = true;
  tooltip.hidden = true;
  message.textContent = text;
  message.hidden = false;
}

function wireView() {
  element('FindCharacter').addEventListener('input', (event) => find(event.target.value));
  element('FindCharacter').addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    element('Found').querySelector('button')?.click();
  });
  for (const list of [element('Ranking'), element('Found')]) {
    list.addEventListener('mouseover', (event) => point(event.target.closest('button.name'), event.target.textContent));
    list.addEventListener('focusin', (event) => point(event.target.closest('button.name'), event.target.textContent));
    list.addEventListener('mouseleave', () => point(null, null));
    list.addEventListener('focusout', () => point(null, null));
  }
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') tooltip.hidden = true;
  });
  element('RankingHeading').textContent = words.ranking;
  element('TableHeading').textContent = words.table;
  element('CharacterHeading').textContent = words.characters;
  element('FindLabel').textContent = words.find;
  element('MatchPlaceholder').textContent = words.noMatch;
  element('MatchLog').setAttribute('aria-label', words.log);
  fitColumns(element('MatchLog'));
}

wireView();
