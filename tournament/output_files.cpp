// Output files over POSIX descriptors: advisory locking, truncation and error codes.
#include "tournament/output_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "roster/roster_loader.h"
#include "tournament/io_error.h"

namespace pelmora {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file

}  // namespace

TOutputFile ResultFile;
TOutputFile BattleLogFile;

TOutputFile::~TOutputFile() { Abandon(); }

void TOutputFile::Open(const std::filesystem::path& fileName, TTextEncoding encoding) {
  Abandon();
  // The open does not wait: a named pipe that nobody reads fails at once (ENXIO) instead of
  // freezing the run; the descriptor writes normally once it is open.
  int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, kNewFileMode);
  if (fd < 0) throw TIoError(errno);
  // Lock first and truncate afterwards, so a file that another run is writing is left whole.
  struct stat info;
  int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      ::fstat(fd, &info) != 0 || (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)) {
    int code = errno;
    ::close(fd);
    throw TIoError(code);
  }
  fd_ = fd;
  DiscardBuffer();
  SetEncoding(encoding);
}

void TOutputFile::Close() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    Abandon();
    throw;
  }
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw TIoError(errno);
}

void TOutputFile::Abandon() {
  DiscardBuffer();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TOutputFile::WriteOut(const char* bytes, std::size_t size) {
  if (fd_ < 0) throw TIoError(EBADF);
  std::size_t taken = 0;
  while (taken < size) {
    ssize_t written = ::write(fd_, bytes + taken, size - taken);
    if (written >= 0) {
      taken += static_cast<std::size_t>(written);
    } else if (errno != EINTR) {
      int code = errno;
      CutTornLine(std::string_view(bytes, taken));
      throw TIoError(code);
    }
  }
}

// A full disk takes part of a block and refuses the rest, which may end inside a line. The
// bytes handed out start at a line's start, and a line feed is never part of a Shift_JIS
// character, so the last line feed that was taken ends the last whole line. What the file cannot
// give back (a device, a pipe) stays as it was taken; the refusal is reported either way.
void TOutputFile::CutTornLine(std::string_view taken) {
  std::size_t lineEnd = taken.rfind('\n');
  auto torn = static_cast<off_t>(taken.size() - (lineEnd == std::string_view::npos ? 0 : lineEnd + 1));
  struct stat info;
  off_t end = ::lseek(fd_, 0, SEEK_CUR);  // just past the bytes taken
  if (torn == 0 || end < torn || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return;
  if (::ftruncate(fd_, end - torn) == 0) ::lseek(fd_, end - torn, SEEK_SET);
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
