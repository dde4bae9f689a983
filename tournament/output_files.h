// The two output files of a run, the result report and the battle log.
#pragma once

#include <cstdint>
#include <memory>
#include <filesystem>
#include <string_view>

#include "common/line_writer.h"
#include "common/os_file.h"

namespace pelmora {

// A text file written through the line writer. Opening shuts a second writer out before the file
// is truncated, so two writers cannot interleave lines; readers may look at it meanwhile.
// Every failure throws TIoError, and a write that the system refuses part-way leaves the file
// ending on its last whole line.
class TOutputFile : public TLineWriter {
 public:
  ~TOutputFile() override;

  // Creates or empties the file, which receives its lines in the encoding given. Throws when it
  // cannot open or empty it, leaving the file closed.
  void Open(const std::filesystem::path& fileName, TTextEncoding encoding = TTextEncoding::ShiftJis);

  // Writes out what is buffered, then closes; the file is closed afterwards even on failure.
  void Close();

  // Closes without writing out what is buffered: the run stopped at an error.
  void Abandon();

  bool IsOpen() const { return file_ != kNoFile; }

 protected:
  void WriteOut(const char* bytes, std::size_t size) override;

 private:
  // Writes the bytes in full, or cuts off what a refusal tore and throws.
  void WriteWhole(const char* bytes, std::size_t size);

  // Cuts off the beginning of a line that a refused write left in the file.
  void CutTornLine(std::string_view taken);

  TOsFile file_ = kNoFile;
  TTextEncoding encoding_ = TTextEncoding::ShiftJis;
  // The UTF-8 form of a block, kept between blocks so that its room is made once.
  std::unique_ptr<char[]> converted_;
  std::size_t convertedCapacity_ = 0;
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
