// The line reader: a small state machine over the file's bytes, read in blocks.
#include "common/line_reader.h"

#include <memory>
#include <new>

#include "common/os_file.h"

namespace pelmora {

namespace {

constexpr std::size_t kReadBlockSize = 64 * 1024;
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfFileMark = '\x1A';  // Ctrl-Z

// Closes the file on every way out of the read.
class TReadFile {
 public:
  explicit TReadFile(TOsFile file) : file_(file) {}
  ~TReadFile() { CloseFile(file_); }
  TReadFile(const TReadFile&) = delete;
  TReadFile& operator=(const TReadFile&) = delete;

  TOsFile Get() const { return file_; }

 private:
  TOsFile file_;
};

// Collects lines from successive blocks. A CR either precedes the LF that ends the line or stands
// alone and is dropped, so it never reaches the text; lineStarted remembers that bytes of the
// current line have been seen, so a final line without a line end is still a line.
class TLineCollector {
 public:
  explicit TLineCollector(std::span<std::string> lines) : lines_(lines) {}

  // Returns false when a line arrives for which the table has no slot.
  bool Feed(const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size && !endOfFile_; ++i) {
      char byte = bytes[i];
      if (!lineStarted_) {
        if (byte == kEndOfFileMark) {
          endOfFile_ = true;
          break;
        }
        if (count_ >= lines_.size()) return false;
        lines_[count_].clear();
        lineStarted_ = true;
      }
      if (byte == kLineFeed) {
        ++count_;
        lineStarted_ = false;
      } else if (byte != kCarriageReturn) {
        lines_[count_].push_back(byte);
      }
    }
    return true;
  }

  void Finish() {
    if (lineStarted_) ++count_;
    lineStarted_ = false;
  }

  bool AtEndOfFileMark() const { return endOfFile_; }
  std::size_t Count() const { return count_; }

 private:
  std::span<std::string> lines_;
  std::size_t count_ = 0;
  bool lineStarted_ = false;
  bool endOfFile_ = false;
};

bool ReadAll(TOsFile file, TLineCollector& collector) {
  auto block = std::make_unique<char[]>(kReadBlockSize);
  while (!collector.AtEndOfFileMark()) {
    std::size_t got = 0;
    if (!ReadFileSome(file, block.get(), kReadBlockSize, got)) return false;
    if (got == 0) break;
    if (!collector.Feed(block.get(), got)) return false;
  }
  collector.Finish();
  return true;
}

}  // namespace

bool ReadLinesFile(const std::filesystem::path& fileName, std::span<std::string> lines, int& count) {
  TOsFile opened = kNoFile;
  if (!OpenFileForReading(fileName, opened)) return false;
  TReadFile file(opened);
  TLineCollector collector(lines);
  bool ok;
  try {
    ok = ReadAll(file.Get(), collector);
  } catch (const std::bad_alloc&) {
    ok = false;  // a line too long to hold in memory is a file that cannot be read
  }
  count = static_cast<int>(collector.Count());
  return ok;
}

}  // namespace pelmora
