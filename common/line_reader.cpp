// The line reader: a small state machine over the file's bytes, read in blocks.
#include "common/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <new>

namespace pelmora {

namespace {

constexpr std::size_t kReadBlockSize = 64 * 1024;
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfFileMark = '\x1A';  // Ctrl-Z

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
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

bool ReadAll(std::FILE* file, TLineCollector& collector) {
  auto block = std::make_unique<char[]>(kReadBlockSize);
  while (!collector.AtEndOfFileMark()) {
    std::size_t got = std::fread(block.get(), 1, kReadBlockSize, file);
    if (!collector.Feed(block.get(), got)) return false;
    if (got < kReadBlockSize) {
      if (std::ferror(file)) return false;
      break;
    }
  }
  collector.Finish();
  return true;
}

// Opens the file for reading only when it is a regular file. A named pipe would block the open
// (and the window with it) until some writer came, and a device such as /dev/zero never ends;
// neither is a roster. The open does not wait, and the file reads normally afterwards.
std::FILE* OpenRegularFile(const std::filesystem::path& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info;
  int flags = ::fcntl(fd, F_GETFL);
  std::FILE* file = nullptr;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
    file = ::fdopen(fd, "rb");
  }
  if (file == nullptr) ::close(fd);
  return file;
}

}  // namespace

bool ReadLinesFile(const std::filesystem::path& fileName, std::span<std::string> lines, int& count) {
  std::unique_ptr<std::FILE, TFileCloser> file(OpenRegularFile(fileName));
  if (!file) return false;
  TLineCollector collector(lines);
  bool ok;
  try {
    ok = ReadAll(file.get(), collector);
  } catch (const std::bad_alloc&) {
    ok = false;  // a line too long to hold in memory is a file that cannot be read
  }
  count = static_cast<int>(collector.Count());
  return ok;
}

}  // namespace pelmora
