// The page's own words, those the desktop program has no need of: Japanese in a Japanese
// browser, English otherwise. The program's own texts come from the core and never change.
const japanese = (navigator.languages?.[0] ?? navigator.language ?? '').toLowerCase().startsWith('ja');

const english = {
  chooseFolder: 'Choose a folder…',
  chooseFile: (roster) => `Choose ${roster}…`,
  saveSample: 'Save the sample roster',
  sample: (roster) => `Roster: the sample ${roster}.`,
  file: (name) => `Roster: ${name}.`,
  folder: (name) => `Folder: ${name}.`,
  sampleNote: 'A run downloads both files. Pick or drop your own roster file, or save the sample to start from.',
  fileNote: 'Each run reads this file again and downloads both files.',
  folderNote: (roster) => `Each run reads ${roster} in this folder and writes both files into it.`,
};

const japaneseWords = {
  chooseFolder: 'フォルダーを選ぶ…',
  chooseFile: (roster) => `${roster}を選ぶ…`,
  saveSample: 'サンプルの名簿を保存',
  sample: (roster) => `名簿：サンプルの${roster}`,
  file: (name) => `名簿：${name}`,
  folder: (name) => `フォルダー：${name}`,
  sampleNote: '実行すると2つのファイルがダウンロードされます。自分の名簿ファイルを選ぶかここにドロップしてください。サンプルを保存して編集することもできます。',
  fileNote: '実行のたびにこのファイルを読み直し、2つのファイルをダウンロードします。',
  folderNote: (roster) => `実行のたびにこのフォルダーの${roster}を読み、2つのファイルをここに書き込みます。`,
};

export const words = japanese ? japaneseWords : english;
export const pageLanguage = japanese ? 'ja' : 'en';
