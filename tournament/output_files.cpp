// Output files over POSIX descriptors: advisory locking, truncation and error codes.
#include "tournament/output_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tournament/io_error.h"

namespace pelmora {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file

}  // namespace

TOutputFile ResultFile;
TOutputFile BattleLogFile;

TOutputFile::~TOutputFile() { Abandon(); }

void TOutputFile::Open(const std::filesystem::path& fileName) {
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
  while (size > 0) {
    ssize_t written = ::write(fd_, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw TIoError(errno);
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

void OpenOutputs() {
  ResultFile.Open(kResultFileName);
  BattleLogFile.Open(kBattleLogFileName);
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
