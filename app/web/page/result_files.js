// The two files of one run read back into what the results view shows: the characters in roster
// order with their wins and losses, the ranking in the report's order, the win/loss table's marks,
// and where each match stands in the battle log. Every value is what the files say; nothing is
// played or formatted again. The pair is checked to be one run's (the report whole, the log's
// matches those of the report's roster, each complete, each won by the character the table
// says) before anything is shown: a pair that fails throws a TResultsError.
const kLineEnd = '\r\n';
const kRosterHeading = 'キャラクターリスト：';
const kTableHeading = '勝敗表：';
const kRankingHeading = '勝数順：';
const kWinMark = '○';
const kLossMark = '×';
const kOwnMark = '－';
const kWinsMark = '勝';
const kColon = '：';
const kSkillAreaWidth = 10;
// The ranking's ten marks and letters: every stamina mark "■" first, then the skills' letters.
const kSkillArea = /^■*[炸斬イ報霧楽空]*$/;
const kMaxCharacters = 100;
const kLogHeadLength = 64 * 1024;
const kMatchRuleLength = 60;
const kTurnRuleLength = 30;
const kMatchRule = '='.repeat(kMatchRuleLength);
const kTurnRule = '='.repeat(kTurnRuleLength);
const kFirstTurn = `${kTurnRule}${kLineEnd}Turn 1${kLineEnd}${kTurnRule}${kLineEnd}`;
const kRollOff = 'HPが同値なのでダイスロール';
const kVictory = 'の勝利';
// The roster list's line after the padded name: "：HP", hit points, "／", maximum, then the skills.
const kSummaryTail = /：HP[ \d]\d／[ \d]\d(?:、(?:炸撃|斬撃|イ剣|報復|霧壁|楽園|空圧))*$/;
// The ranking's line after the padded name: "：", ten marks and letters, "：", the wins, "勝".
const kRankingTailLength = 1 + kSkillAreaWidth + 1 + 2 + 1;

// The cells of the table, by the marks of the report.
export const kWin = 1;
export const kLoss = 2;

// Why a pair cannot be shown: reason is one of 'report' (no whole result report), 'encodings'
// (the two files are written in different encodings), 'cut' (the log stops within or before
// match detail.match of detail.total), 'other' (the log's match detail.match is not the
// report's), 'winner' (its winner is not the table's), 'extra' (the log goes on after its last
// match).
export class TResultsError extends Error {
  constructor(reason, detail = {}) {
    super(`${reason} ${JSON.stringify(detail)}`);
    this.name = 'TResultsError';
    this.reason = reason;
    this.detail = detail;
  }
}

// The program's rule for a roster's encoding, used for its files too: text that is well-formed
// UTF-8 and holds anything beyond ASCII is UTF-8, anything else Shift_JIS.
export function decodeFile(bytes) {
  try {
    const text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    if (/[^\x00-\x7f]/.test(text)) return { encoding: 'utf-8', text };
  } catch {}
  return { encoding: 'shift_jis', text: new TextDecoder('shift_jis').decode(bytes) };
}

// Whether the bytes begin as a result report does, in either encoding.
export function looksLikeReport(bytes) {
  const start = bytes.subarray(0, 64);
  return ['utf-8', 'shift_jis'].some((encoding) => new TextDecoder(encoding).decode(start).startsWith(kRosterHeading));
}

// A number as the report writes roster numbers and the table's wins: two digits, zero-filled.
function zeroFilled(value) {
  return String(value).padStart(2, '0');
}

// The roster number as both files write it ("100" for the hundredth).
export function rosterNumber(position) {
  return zeroFilled(position + 1);
}

function notReport() {
  return new TResultsError('report');
}

// The report's lines; each ends with CR LF, the last one too.
function reportLines(text) {
  if (!text.endsWith(kLineEnd)) throw notReport();
  const lines = text.slice(0, -kLineEnd.length).split(kLineEnd);
  if (lines.some((line) => /[\r\n]/.test(line))) throw notReport();
  return lines;
}

// A name field padded with half-width spaces; the name itself may end in spaces too, which only
// the battle log's match lines tell apart from the padding.
function withoutPadding(field) {
  return field.replace(/ +$/, '');
}

// The roster list: one line per character, "NN name：HP…", up to its empty line.
function readRosterList(lines) {
  if (lines[0] !== kRosterHeading) throw notReport();
  const fields = [];
  for (let line = 1; line < lines.length && lines[line] !== ''; ++line) {
    const text = lines[line];
    const number = `${rosterNumber(fields.length)} `;
    const tail = kSummaryTail.exec(text);
    if (!text.startsWith(number) || !tail || fields.length === kMaxCharacters) throw notReport();
    fields.push(text.slice(number.length, tail.index));
  }
  return fields;
}

// The win/loss table: the header row of numbers, then each character's row of marks and wins.
function readTable(lines, start, count) {
  let header = '  ';
  for (let k = 0; k < count; ++k) header += ` ${rosterNumber(k)}`;
  if (lines[start] !== kTableHeading || lines[start + 1] !== `${header} ${kWinsMark}`) throw notReport();
  const marks = new Uint8Array(count * count);
  const wins = [];
  for (let i = 0; i < count; ++i) {
    const row = lines[start + 2 + i] ?? '';
    const number = rosterNumber(i);
    let won = 0;
    for (let j = 0; j < count; ++j) {
      const at = number.length + 2 * j;
      const mark = row[at + 1];
      if (row[at] !== ' ' || (i === j) !== (mark === kOwnMark) || (i !== j && mark !== kWinMark && mark !== kLossMark)) throw notReport();
      if (mark === kWinMark) ++won;
      marks[i * count + j] = mark === kWinMark ? kWin : mark === kLossMark ? kLoss : 0;
    }
    if (!row.startsWith(number) || row.slice(number.length + 2 * count) !== ` ${zeroFilled(won)}`) throw notReport();
    wins.push(won);
  }
  for (let i = 0; i < count; ++i) {
    for (let j = 0; j < i; ++j) {
      if (marks[i * count + j] + marks[j * count + i] !== kWin + kLoss) throw notReport();
    }
  }
  if (lines[start + 2 + count] !== '') throw notReport();
  return { marks, wins };
}

// The order the ranking has: by wins, the program's exchange sort.
function rankOrder(wins) {
  const order = wins.map((_, k) => k);
  for (let a = 0; a < order.length - 1; ++a) {
    for (let b = a + 1; b < order.length; ++b) {
      if (wins[order[a]] >= wins[order[b]]) continue;
      const exchanged = order[a];
      order[a] = order[b];
      order[b] = exchanged;
    }
  }
  return order;
}

// The ranking: "NN name：marks and letters： W勝" for each character, then the file's end.
function readRanking(lines, start, count, wins) {
  if (lines[start] !== kRankingHeading || lines.length !== start + count + 2 || lines[start + count + 1] !== '') throw notReport();
  const order = [];
  const fields = [];
  const skillAreas = [];
  for (let p = 0; p < count; ++p) {
    const text = lines[start + 1 + p];
    const numberMatch = /^(\d{2,3}) /.exec(text);
    const k = numberMatch ? Number(numberMatch[1]) - 1 : -1;
    if (k < 0 || k >= count || fields[k] !== undefined || numberMatch[1] !== rosterNumber(k)) throw notReport();
    const tail = text.slice(-kRankingTailLength);
    const skillArea = tail.slice(1, 1 + kSkillAreaWidth);
    const expectedTail = `${kColon}${skillArea}${kColon}${String(wins[k]).padStart(2, ' ')}${kWinsMark}`;
    if (text.length < numberMatch[0].length + kRankingTailLength || tail !== expectedTail || !kSkillArea.test(skillArea)) {
      throw notReport();
    }
    order.push(k);
    fields[k] = text.slice(numberMatch[0].length, -kRankingTailLength);
    skillAreas[k] = skillArea;
  }
  if (order.join() !== rankOrder(wins).join()) throw notReport();
  return { order, fields, skillAreas };
}

// The result report: its three sections, each checked line by line.
function readReport(text) {
  const lines = reportLines(text);
  const rosterFields = readRosterList(lines);
  const count = rosterFields.length;
  const { marks, wins } = readTable(lines, count + 2, count);
  const ranking = readRanking(lines, 2 * count + 5, count, wins);
  const characters = rosterFields.map((field, k) => {
    if (withoutPadding(field) !== withoutPadding(ranking.fields[k])) throw notReport();
    return {
      number: rosterNumber(k),
      name: field,
      skillArea: ranking.skillAreas[k],
      wins: wins[k],
      losses: count - 1 - wins[k],
    };
  });
  return { characters, marks, ranking: ranking.order, rosterFields, rankingFields: ranking.fields };
}

// The position of the match of i and j (i < j) in the round robin's order.
export function matchNumber(count, i, j) {
  return i * count - (i * (i + 1)) / 2 + (j - i - 1);
}

function matchLine(characters, i, j) {
  return `${rosterNumber(i)} ${characters[i].name} vs ${rosterNumber(j)} ${characters[j].name}`;
}

// A name that ends in spaces is told from its padding by the first match line that holds it:
// "NN name vs MM name", where the first name is followed by " vs " and the second ends the line.
function settleNames(line, i, j, characters, settled) {
  const nameI = withoutPadding(characters[i].name);
  const nameJ = withoutPadding(characters[j].name);
  const first = `${rosterNumber(i)} ${nameI}`;
  const second = `vs ${rosterNumber(j)} ${nameJ}`;
  if (!line.startsWith(first)) return;
  let at = first.length;
  while (line[at] === ' ') ++at;
  const rest = line.slice(at + second.length);
  if (at === first.length || !line.startsWith(second, at) || !/^ *$/.test(rest)) return;
  // The last space before "vs" is the line's own.
  const names = [[i, nameI + ' '.repeat(at - first.length - 1)], [j, nameJ + rest]];
  for (const [k, name] of names) {
    if (settled[k]) continue;
    characters[k].name = name;
    settled[k] = true;
  }
}

// The battle log is read as bytes: its rules, line ends and "Turn 1" are ASCII, the same bytes in
// either encoding, so the matches are found without decoding twelve megabytes; only each match's
// own line and its result are decoded to be checked.
const kEquals = 0x3d;
const kCarriageReturn = 0x0d;
const kLineFeed = 0x0a;
const kMatchStart = new TextEncoder().encode(`${kMatchRule}${kLineEnd}`);
const kMatchBody = new TextEncoder().encode(`${kMatchRule}${kLineEnd}${kFirstTurn}`);
const kResultHeading = '結果';
// From the end of a match: the empty line, the winner's line, the roll-off's four lines and the
// result's three heading lines.
const kResultLines = 9;

// How the bytes from at compare with part: null when they hold it, 'cut' when they end while
// they hold its beginning, 'other' when they differ.
function compareAt(bytes, at, part) {
  for (let k = 0; k < part.length; ++k) {
    if (at + k >= bytes.length) return 'cut';
    if (bytes[at + k] !== part[k]) return 'other';
  }
  return null;
}

// Whether the run of "=" around at is a whole line of that many "=": LF (or the start) before
// it, CR LF after it. Returns the line's start, or -1.
function ruleLineAround(bytes, at, length) {
  let first = at;
  while (first > 0 && bytes[first - 1] === kEquals) --first;
  let last = at;
  while (last < bytes.length && bytes[last] === kEquals) ++last;
  const whole = last - first === length && (first === 0 || bytes[first - 1] === kLineFeed);
  return whole && bytes[last] === kCarriageReturn && bytes[last + 1] === kLineFeed ? first : -1;
}

// The start of the next line of sixty "=" from position on, or -1. Any such line holds one of
// every sixtieth byte, so the search looks at those alone until it meets an "=".
function nextMatchRule(bytes, from) {
  for (let at = from + kMatchRuleLength - 1; at < bytes.length; at += kMatchRuleLength) {
    if (bytes[at] !== kEquals) continue;
    const line = ruleLineAround(bytes, at, kMatchRuleLength);
    if (line >= from) return line;
    // Past this run of "=", whatever its length.
    while (at + 1 < bytes.length && bytes[at + 1] === kEquals) ++at;
    at -= kMatchRuleLength - 1;
  }
  return -1;
}

function isRule(bytes, [start, stop], length) {
  if (stop - start !== length) return false;
  for (let at = start; at < stop; ++at) if (bytes[at] !== kEquals) return false;
  return true;
}

// The last lines of the match whose lines run from body to end, as [start, stop) with stop at
// the line's CR, the last one first.
function lastLines(bytes, body, end, count) {
  const lines = [];
  for (let stop = end - kLineEnd.length; lines.length < count && stop >= body; ) {
    if (bytes[stop] !== kCarriageReturn || bytes[stop + 1] !== kLineFeed) break;
    const start = stop === body ? body : bytes.lastIndexOf(kLineFeed, stop - 1) + 1;
    if (start < body) break;
    lines.push([start, stop]);
    stop = start - kLineEnd.length;
  }
  return lines;
}

// The text of the log's lines, [start, stop). The fixed lines ("結果", the roll-off's heading)
// recur in every match, so each is decoded once and then known by its bytes.
function lineTexts(bytes, decode) {
  const known = new Map();
  return {
    of: ([start, stop]) => decode(bytes.subarray(start, stop)),
    is([start, stop], text) {
      const seen = known.get(text);
      if (seen) return seen.length === stop - start && compareAt(bytes, start, seen) === null;
      const same = decode(bytes.subarray(start, stop)) === text;
      if (same) known.set(text, bytes.slice(start, stop));
      return same;
    },
  };
}

// The winner's line of a match whose result is whole, or null: "=" × 30, "結果", "=" × 30, on
// equal hit points the roll-off's heading, its two lines and an empty line, then the winner's
// line and an empty line.
function winnerLineOf(bytes, texts, body, end) {
  const lines = lastLines(bytes, body, end, kResultLines);
  const isEmpty = (line) => line !== undefined && line[0] === line[1];
  if (!isEmpty(lines[0]) || lines.length < 5) return null;
  let heading = 2;
  if (isEmpty(lines[2])) {
    const [, , , second, first, rollOff] = lines;
    if (!rollOff || isEmpty(second) || isEmpty(first) || !texts.is(rollOff, kRollOff)) return null;
    heading = 6;
  }
  const rules = [lines[heading], lines[heading + 2]];
  if (rules.some((rule) => !rule || !isRule(bytes, rule, kTurnRuleLength)) || !texts.is(lines[heading + 1], kResultHeading)) return null;
  return texts.of(lines[1]);
}

// Whether the last match is whole before end, with more lines after it.
function endsEarly(bytes, texts, body, end, victory) {
  for (let at = bytes.indexOf(kLineFeed, body) + 1; at > 0 && at < end; at = bytes.indexOf(kLineFeed, at) + 1) {
    if (winnerLineOf(bytes, texts, body, at) === victory) return true;
  }
  return false;
}

// The battle log: the matches of every pair i < j in order, each "=" × 60, its match line,
// "=" × 60, its turns from "Turn 1" and its result. Returns where each match starts. decode
// turns a piece of the log into text.
function indexLog(bytes, decode, characters, marks) {
  const count = characters.length;
  const total = (count * (count - 1)) / 2;
  const starts = new Int32Array(total + 1);
  const settled = characters.map(() => count < 2);
  const texts = lineTexts(bytes, decode);
  let position = 0;
  let k = 0;
  for (let i = 0; i < count; ++i) {
    for (let j = i + 1; j < count; ++j, ++k) {
      const fault = (reason) => new TResultsError(reason, { match: k + 1, total });
      // Past the first match, the search for the next one has found this line of "=" whole.
      const opening = position >= bytes.length ? 'cut' : k === 0 ? compareAt(bytes, position, kMatchStart) : null;
      if (opening) throw fault(opening);
      const lineStart = position + kMatchStart.length;
      const lineEnd = bytes.indexOf(kCarriageReturn, lineStart);
      if (lineEnd < 0) throw fault('cut');
      const line = texts.of([lineStart, lineEnd]);
      if (!settled[i] || !settled[j]) settleNames(line, i, j, characters, settled);
      if (line !== matchLine(characters, i, j)) throw fault('other');
      const body = lineEnd + kLineEnd.length;
      const firstTurn = compareAt(bytes, body, kMatchBody);
      if (firstTurn) throw fault(firstTurn);
      const next = nextMatchRule(bytes, body + kMatchBody.length);
      const end = next < 0 ? bytes.length : next;
      const won = winnerLineOf(bytes, texts, body, end);
      const [winner, loser] = marks[i * count + j] === kWin ? [i, j] : [j, i];
      const victory = `${characters[winner].name}${kVictory}`;
      if (won !== victory) {
        if (won === `${characters[loser].name}${kVictory}`) throw fault('winner');
        if (k + 1 === total && endsEarly(bytes, texts, body, end, victory)) throw new TResultsError('extra');
        throw fault(next < 0 ? 'cut' : 'other');
      }
      starts[k] = position;
      position = end;
    }
  }
  if (position !== bytes.length) throw new TResultsError('extra');
  starts[total] = bytes.length;
  return starts;
}

// The log's encoding by the same rule, from its lines up to the end of its first match or so:
// every match holds text beyond ASCII ("結果"), and every piece checked later is decoded strictly.
function logEncoding(bytes) {
  const head = bytes.subarray(0, Math.max(0, bytes.lastIndexOf(kLineFeed, kLogHeadLength) + 1));
  return decodeFile(head).encoding;
}

// Text of the encoding, or the error that the pair's encodings differ.
function strictDecoding(encoding) {
  const decoder = new TextDecoder(encoding, { fatal: true });
  return (bytes) => {
    try {
      return decoder.decode(bytes);
    } catch {
      throw new TResultsError('encodings');
    }
  };
}

// The bytes after a UTF-8 byte-order mark, which the reading of a roster allows too.
function withoutByteOrderMark(bytes, encoding) {
  const mark = [0xef, 0xbb, 0xbf];
  return encoding === 'utf-8' && mark.every((byte, k) => bytes[k] === byte) ? bytes.subarray(mark.length) : bytes;
}

// The names the report pads must be the names the battle log's match lines settled.
function checkNames(report) {
  report.characters.forEach((character, k) => {
    const { name } = character;
    const inRanking = `${rosterNumber(k)} ${report.rankingFields[k]}`;
    if (!report.rosterFields[k].startsWith(name) || !inRanking.startsWith(`${rosterNumber(k)} ${name}`)) throw notReport();
  });
}

// Reads a run's result report and battle log, given as their bytes, into the view's model.
export function readResults(reportBytes, logFileBytes) {
  const report = decodeFile(reportBytes);
  const { characters, marks, ranking, ...fields } = readReport(report.text);
  const logBytes = withoutByteOrderMark(logFileBytes, report.encoding);
  if (logBytes.length > 0 && logEncoding(logBytes) !== report.encoding) throw new TResultsError('encodings');
  const starts = indexLog(logBytes, strictDecoding(report.encoding), characters, marks);
  checkNames({ characters, ...fields });
  const count = characters.length;
  const decoder = new TextDecoder(report.encoding);
  return {
    encoding: report.encoding,
    characters,
    ranking,
    matchCount: starts.length - 1,
    // The mark of i against j: kWin, kLoss, or 0 on the diagonal.
    mark: (i, j) => marks[i * count + j],
    matchNumber: (i, j) => matchNumber(count, Math.min(i, j), Math.max(i, j)),
    // The lines of the match of i and j, exactly as the log holds them, its last empty line too.
    matchLines(i, j) {
      const k = matchNumber(count, Math.min(i, j), Math.max(i, j));
      return decoder.decode(logBytes.subarray(starts[k], starts[k + 1] - kLineEnd.length)).split(kLineEnd);
    },
  };
}
