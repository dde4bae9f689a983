// Output files over the system's files: opening against a second writer, the line writer's
// blocks going out whole or failing with the system's code, and the torn line cut off.
#include "tournament/output_files.h"

#include <cstring>
#include <functional>
#include <memory>
#include <utility>

#include "common/cp932_to_utf8.h"
#include "common/write_behind.h"
#include "roster/roster_loader.h"
#include "tournament/io_error.h"

namespace pelmora {

namespace {

// The system takes the files' blocks one after another behind the run, in the order the run
// hands them on, while the run builds the next ones; a refused block stops every later one, so both
// files end exactly as they would had the run written each block itself. Closing a file ends
// the thread, so none is left between runs. Defined before the files, it outlives them.
//
// Emptying the last run's file, which frees all it held, always goes on behind the run. After
// that, files that take UTF-8 are written behind the run: converting a block costs about as much
// as building it, and sharing that pays for the hand-overs. A Shift_JIS block costs the system a
// tenth of that to take, about what waking the thread on another processor costs, so such a
// block goes behind the run only while the thread is still awake with the work before it, and
// the run writes it itself otherwise.
TWriteBehind FileWrites(TLineWriter::kBlocksInFlight);

// What the run converts before it looks again whether the system has taken the blocks before.
constexpr std::size_t kConversionPiece = 16 * 1024;

}  // namespace

TOutputFile ResultFile;
TOutputFile BattleLogFile;

TOutputFile::~TOutputFile() { Abandon(); }

// The file is opened once the file before has been emptied, as if each were opened and emptied
// in turn; emptying it goes on behind the run.
void TOutputFile::Open(const std::filesystem::path& fileName, TTextEncoding encoding) {
  if (IsOpen()) Abandon();
  DiscardBuffer();
  encoding_ = encoding;
  TOsFile file = kNoFile;
  FileWrites.Run([&] {
    if (int code = OpenOutputFile(fileName, file); code != 0) throw TIoError(code);
  });
  file_ = file;
  auto empty = [file] {
    if (int code = IsRegularFile(file) ? CutFileAt(file, 0) : 0; code != 0) throw TIoError(code);
  };
  FileWrites.Hand(empty);
}

void TOutputFile::Close() {
  if (file_ == kNoFile) return;
  try {
    Flush();
    FileWrites.End();
  } catch (...) {
    Abandon();
    throw;
  }
  TOsFile file = file_;
  file_ = kNoFile;
  if (int code = CloseFile(file); code != 0) throw TIoError(code);
}

void TOutputFile::Abandon() {
  FileWrites.EndQuietly();
  DiscardBuffer();
  if (file_ != kNoFile) CloseFile(file_);
  file_ = kNoFile;
}

// Blocks handed on while lines follow may be written behind the run; the last one, with nothing
// left to build meanwhile, is written by the run itself.
void TOutputFile::WriteOut(const char* bytes, std::size_t size, bool linesFollow) {
  if (file_ == kNoFile) throw TIoError(kFileNotOpenError);
  auto write = [this, linesFollow](std::function<void()> job) {
    linesFollow && (WritesBehind() || FileWrites.IsBusy()) ? FileWrites.Hand(std::move(job))
                                                           : FileWrites.Run(job);
  };
  if (encoding_ == TTextEncoding::ShiftJis) {
    write([this, bytes, size] { WriteWhole(bytes, size); });
    return;
  }
  // Converting a block costs about as much as writing it, so both sides convert: the run, a piece
  // at a time, while the system is still taking the block before, and the thread that writes the
  // block the rest. A line feed is never part of a Shift_JIS or a UTF-8 character, so a piece
  // that ends on a line end ends on a character's end, and the rest follows it in the room.
  char* room = NextConversionRoom(size);
  char* converted = room;
  std::size_t taken = 0;
  while (linesFollow && taken < size && FileWrites.IsBusy()) {
    std::size_t pieceEnd = size;
    if (size - taken > kConversionPiece) {
      const void* lineEnd =
          std::memchr(bytes + taken + kConversionPiece, '\n', size - taken - kConversionPiece);
      if (lineEnd != nullptr)
        pieceEnd = static_cast<std::size_t>(static_cast<const char*>(lineEnd) - bytes) + 1;
    }
    converted = Cp932ToUtf8(bytes + taken, pieceEnd - taken, converted);
    taken = pieceEnd;
  }
  write([this, bytes, size, room, converted, taken] {
    char* end = Cp932ToUtf8(bytes + taken, size - taken, converted);
    WriteWhole(room, static_cast<std::size_t>(end - room));
  });
}

char* TOutputFile::NextConversionRoom(std::size_t cp932Size) {
  nextRoom_ = (nextRoom_ + 1) % rooms_.size();
  std::size_t room = Cp932ToUtf8Room(cp932Size);
  if (room > roomCapacities_[nextRoom_]) {
    rooms_[nextRoom_].reset(new char[room]);
    roomCapacities_[nextRoom_] = room;
  }
  return rooms_[nextRoom_].get();
}

// Behind the run, the run leaves the file and the bytes alone until it has waited for this.
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
