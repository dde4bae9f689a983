// Output files over the system's files: opening against a second writer, the line writer's
// blocks going out whole or failing with the system's code, and the torn line cut off.
#include "tournament/output_files.h"

#include <memory>
#include <string_view>

#include "common/cp932_to_utf8.h"
#include "roster/roster_loader.h"
#include "tournament/io_error.h"

namespace pelmora {

TOutputFile ResultFile;
TOutputFile BattleLogFile;

TOutputFile::~TOutputFile() { Abandon(); }

// Emptying a regular file frees all it held; a device or a pipe has nothing to empty.
void TOutputFile::Open(const std::filesystem::path& fileName, TTextEncoding encoding) {
  if (IsOpen()) Abandon();
  DiscardBuffer();
  encoding_ = encoding;
  TOsFile file = kNoFile;
  if (int code = OpenOutputFile(fileName, file); code != 0) throw TIoError(code);
  if (int code = IsRegularFile(file) ? CutFileAt(file, 0) : 0; code != 0) {
    CloseFile(file);
    throw TIoError(code);
  }
  file_ = file;
}

void TOutputFile::Close() {
  if (file_ == kNoFile) return;
  try {
    Flush();
  } catch (...) {
    Abandon();
    throw;
  }
  TOsFile file = file_;
  file_ = kNoFile;
  if (int code = CloseFile(file); code != 0) throw TIoError(code);
}

void TOutputFile::Abandon() {
  DiscardBuffer();
  if (file_ != kNoFile) CloseFile(file_);
  file_ = kNoFile;
}

// A file of a roster saved as UTF-8 takes each block's UTF-8 form. A line feed is never part of a
// Shift_JIS or a UTF-8 character, so a block of whole lines converts on its own.
void TOutputFile::WriteOut(const char* bytes, std::size_t size) {
  if (file_ == kNoFile) throw TIoError(kFileNotOpenError);
  if (encoding_ == TTextEncoding::ShiftJis) {
    WriteWhole(bytes, size);
    return;
  }
  std::size_t room = Cp932ToUtf8Room(size);
  if (room > convertedCapacity_) {
    converted_.reset(new char[room]);
    convertedCapacity_ = room;
  }
  char* end = Cp932ToUtf8(bytes, size, converted_.get());
  WriteWhole(converted_.get(), static_cast<std::size_t>(end - converted_.get()));
}

void TOutputFile::WriteWhole(const char* bytes, std::size_t size) {
  std::size_t taken = 0;
  while (taken < size) {
    std::size_t written = 0;
    if (int code = WriteFileSome(file_, bytes + taken, size - taken, written); code != 0) {
      CutTornLine(std::string_view(bytes, taken));
      throw TIoError(code);
    }
    taken += written;
  }
}

// A full disk takes part of a block and refuses the rest, which may end inside a line. The
// bytes handed out start at a line's start, and a line feed is never part of a Shift_JIS
// character, so the last line feed that was taken ends the last whole line. What the file cannot
// give back (a device, a pipe) stays as it was taken; the refusal is reported either way.
void TOutputFile::CutTornLine(std::string_view taken) {
  std::size_t lineEnd = taken.rfind('\n');
  auto torn = static_cast<std::int64_t>(taken.size() - (lineEnd == std::string_view::npos ? 0 : lineEnd + 1));
  std::int64_t end = FilePosition(file_);  // just past the bytes taken
  if (torn == 0 || end < torn || !IsRegularFile(file_)) return;
  CutFileAt(file_, end - torn);
}

void OpenOutputs() {
  ResultFile.Open(kResultFileName, RosterEncoding);
  BattleLogFile.Open(kBattleLogFileName, RosterEncoding);
}

void CloseOutputs() {
  ResultFile.Close();
  BattleLogFile.Close();
}

void AbandonOutputs() {
  ResultFile.Abandon();
  BattleLogFile.Abandon();
}

}  // namespace pelmora
