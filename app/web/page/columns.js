// Lines of the files laid out as the program counts their widths: a character that Shift_JIS
// writes in one byte (ASCII, half-width katakana) takes one column, every other character two.
// Each run of characters stands in a cell of its columns' width, so the log's indentation and
// padded names line up in any font: the column is as wide as the font's widest half-width glyph
// or half its widest full-width one, measured in the browser that shows them.
const kHalfWidthProbes = ['M', 'W', 'm', 'w', '@', '0', '=', 'ｱ', 'ﾞ'];
const kFullWidthProbes = ['■', '＞', '・', '漢', '鬱', 'ア', '：', 'Ｗ'];
// Layout counts in 64ths of a pixel: a column of whole 64ths makes two columns exactly one
// double-width cell.
const kLayoutUnit = 64;

// The columns one character takes.
export function columnsOf(character) {
  const code = character.codePointAt(0);
  if (code < 0x80) return 1;
  // Half-width katakana and their marks.
  if (code >= 0xff61 && code <= 0xff9f) return 1;
  // A byte of Shift_JIS that is no character decodes as U+FFFD, and 0x80 as U+0080: one column each.
  if (code === 0xfffd || code === 0x80) return 1;
  return 2;
}

// Sets the width of a column for the lines inside element, in its font.
export function fitColumns(element) {
  const style = getComputedStyle(element);
  const context = document.createElement('canvas').getContext('2d');
  context.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
  const widest = (probes) => Math.max(...probes.map((probe) => context.measureText(probe).width));
  const column = Math.max(widest(kHalfWidthProbes), widest(kFullWidthProbes) / 2);
  element.style.setProperty('--column', `${Math.ceil(column * kLayoutUnit) / kLayoutUnit}px`);
}

// One line as an element: a cell for each run of characters of one width, as wide as their
// columns. No glyph is wider than its columns, so every run ends where the program's count says
// and the next one starts there; the text is the line's own, so it reads and copies as it is
// written. A cell a run rather than a character keeps a long match quick to draw.
export function lineElement(text) {
  const line = document.createElement('div');
  line.className = 'line';
  let columns = 0;
  let run = '';
  let runColumns = 0;
  let runWidth = 0;
  const endRun = () => {
    if (!run) return;
    const cell = document.createElement('span');
    cell.textContent = run;
    cell.style.width = `calc(${runColumns} * var(--column))`;
    line.append(cell);
    run = '';
    runColumns = 0;
  };
  for (const character of text) {
    const width = columnsOf(character);
    if (width !== runWidth) endRun();
    runWidth = width;
    run += character;
    runColumns += width;
    columns += width;
  }
  endRun();
  line.style.setProperty('--columns', columns);
  return line;
}
