// The two output files of a run, the result report and the battle log.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "common/line_writer.h"
#include "common/os_file.h"

namespace pelmora {

// A text file written through the line writer. Opening shuts a second writer out before the file
// is truncated, so two writers cannot interleave lines; readers may look at it meanwhile.
// Every failure throws TIoError, and a write that the system refuses part-way leaves the file
// ending on its last whole line. The system takes a block while the next one is built, so a
// refusal may be thrown from a later call than the one that handed the block on.
class TOutputFile : public TLineWriter {
 public:
  ~TOutputFile() override;

  // Creates or empties the file, which receives its lines in the encoding given. Throws when it
  // cannot open it, leaving the file closed; a failure to empty it is thrown by a later call.
  void Open(const std::filesystem::path& fileName, TTextEncoding encoding = TTextEncoding::ShiftJis);

  // Writes out what is buffered, then closes; the file is closed afterwards even on failure.
  void Close();

  // Closes without writing out what is buffered, once the block handed on last is taken or
  // refused: the run stopped at an error.
  void Abandon();

  bool IsOpen() const { return file_ != kNoFile; }

 protected:
  void WriteOut(const char* bytes, std::size_t size, bool linesFollow) override;

 private:
  // Whether the system takes every block of this file behind the run, not only those handed on
  // while the thread is busy.
  bool WritesBehind() const { return encoding_ == TTextEncoding::Utf8; }

  // Writes the bytes in full, or cuts off what a refusal tore and throws.
  void WriteWhole(const char* bytes, std::size_t size);

  // Cuts off the beginning of a line that a refused write left in the file.
  void CutTornLine(std::string_view taken);

  // Room for the UTF-8 form of the next block; the system may still be taking the blocks
  // handed on before it, each converted into a room of its own.
  char* NextConversionRoom(std::size_t cp932Size);

  TOsFile file_ = kNoFile;
  TTextEncoding encoding_ = TTextEncoding::ShiftJis;
  std::array<std::unique_ptr<char[]>, kBlocksInFlight + 1> rooms_;
  std::array<std::size_t, kBlocksInFlight + 1> roomCapacities_{};
  std::size_t nextRoom_ = 0;
};

extern TOutputFile ResultFile;
extern TOutputFile BattleLogFile;

// Both files are named relative to the working directory.
inline constexpr const char* kResultFileName = "pelm_result.txt";
inline constexpr const char* kBattleLogFileName = "pelm_battle.txt";

// Opens the result report, then the battle log, in the working directory, each to be written in
// the encoding the roster was saved in.
void OpenOutputs();

// Closes the result report, then the battle log, writing out what they hold.
void CloseOutputs();

// Closes whatever is still open without writing it out, after a run stopped at an error.
void AbandonOutputs();

}  // namespace pelmora
