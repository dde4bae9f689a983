// The core's files on Linux and other POSIX systems: descriptors, an advisory lock against a
// second writer and errno codes; and the processors the process may run on.
#include "common/os_file.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pelmora {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file

int Descriptor(TOsFile file) { return static_cast<int>(file); }

// Clears O_NONBLOCK, which only the open needed.
bool MakeBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

const int kFileNotOpenError = EBADF;

TFileErrorKind FileErrorKindOf(int code) {
  switch (code) {
    case ENOENT:
      return TFileErrorKind::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return TFileErrorKind::InvalidName;
    case EMFILE:
    case ENFILE:
      return TFileErrorKind::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
      return TFileErrorKind::AccessDenied;
    default:
      return TFileErrorKind::Other;
  }
}

// A named pipe would block the open (and the window with it) until some writer came, and a
// device such as /dev/zero never ends; neither is a roster. The open does not wait, and the file
// reads normally afterwards.
bool OpenFileForReading(const std::filesystem::path& name, TOsFile& file) {
  int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !MakeBlocking(fd)) {
    ::close(fd);
    return false;
  }
  file = fd;
  return true;
}

bool ReadFileSome(TOsFile file, char* bytes, std::size_t size, std::size_t& got) {
  for (;;) {
    ssize_t n = ::read(Descriptor(file), bytes, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return true;
    }
    if (errno != EINTR) return false;
  }
}

// The open does not wait: a named pipe that nobody reads fails at once (ENXIO) instead of
// freezing the run; the descriptor writes normally once it is open. The lock comes first and the
// truncation afterwards, so a file that another run is writing is left whole.
int OpenOutputFile(const std::filesystem::path& name, TOsFile& file) {
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, kNewFileMode);
  if (fd < 0) return errno;
  if (!MakeBlocking(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int code = errno;
    ::close(fd);
    return code;
  }
  file = fd;
  return 0;
}

int WriteFileSome(TOsFile file, const char* bytes, std::size_t size, std::size_t& written) {
  for (;;) {
    ssize_t n = ::write(Descriptor(file), bytes, size);
    if (n >= 0) {
      written = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR) return errno;
  }
}

std::int64_t FilePosition(TOsFile file) { return ::lseek(Descriptor(file), 0, SEEK_CUR); }

bool IsRegularFile(TOsFile file) {
  struct stat info;
  return ::fstat(Descriptor(file), &info) == 0 && S_ISREG(info.st_mode);
}

int CutFileAt(TOsFile file, std::int64_t length) {
  return ::ftruncate(Descriptor(file), length) == 0 && ::lseek(Descriptor(file), length, SEEK_SET) == length
             ? 0
             : errno;
}

int CloseFile(TOsFile file) { return ::close(Descriptor(file)) == 0 ? 0 : errno; }

// A process held to some processors (taskset, a container's share) counts only those, where
// the system keeps such a set (Linux).
int ProcessorsAvailable() {
#if defined(__linux__)
  cpu_set_t allowed;
  if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) return CPU_COUNT(&allowed);
#endif
  long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(online) : 1;
}

}  // namespace pelmora
