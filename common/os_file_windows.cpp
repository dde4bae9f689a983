// The core's files on Windows: handles opened by their UTF-16 names, a share mode that lets
// readers in and keeps a second writer out, and Windows' own error codes; and the processors the
// process may run on.
#include "common/os_file.h"

#include <windows.h>

#include <algorithm>

namespace pelmora {

namespace {

// One call moves at most this much, well inside a DWORD.
constexpr std::size_t kMaxBytesPerCall = std::size_t{1} << 30;

HANDLE Handle(TOsFile file) { return reinterpret_cast<HANDLE>(file); }
TOsFile FileOf(HANDLE handle) { return reinterpret_cast<TOsFile>(handle); }

// The wide name itself: never the ANSI calls, whose code page need not hold the roster's name.
HANDLE OpenHandle(const std::filesystem::path& name, DWORD access, DWORD sharing, DWORD disposition) {
  return ::CreateFileW(name.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

const int kFileNotOpenError = ERROR_INVALID_HANDLE;

TFileErrorKind FileErrorKindOf(int code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return TFileErrorKind::NotFound;
    case ERROR_PATH_NOT_FOUND:
      return TFileErrorKind::InvalidName;
    case ERROR_TOO_MANY_OPEN_FILES:
      return TFileErrorKind::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
      return TFileErrorKind::AccessDenied;
    default:
      return TFileErrorKind::Other;
  }
}

// A folder does not open without backup semantics, and a device or a pipe is no roster: only a
// file on a disk is read. Another program may have the roster open, even for writing.
bool OpenFileForReading(const std::filesystem::path& name, TOsFile& file) {
  HANDLE handle = OpenHandle(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (handle == INVALID_HANDLE_VALUE) return false;
  if (!IsRegularFile(FileOf(handle))) {
    ::CloseHandle(handle);
    return false;
  }
  file = FileOf(handle);
  return true;
}

bool ReadFileSome(TOsFile file, char* bytes, std::size_t size, std::size_t& got) {
  DWORD read = 0;
  if (!::ReadFile(Handle(file), bytes, static_cast<DWORD>(std::min(size, kMaxBytesPerCall)), &read, nullptr))
    return false;
  got = read;
  return true;
}

// Opened for writing and shared with readers only, so a second writer meets a sharing violation
// before anything is emptied; the file is emptied only once this handle holds it.
int OpenOutputFile(const std::filesystem::path& name, TOsFile& file) {
  HANDLE handle = OpenHandle(name, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
  file = FileOf(handle);
  return 0;
}

// The bytes go out as they are: the handle knows no text mode, so CR LF stays CR LF. A write
// that reported success but took nothing would have the caller ask again for ever, so it counts
// as a refusal.
int WriteFileSome(TOsFile file, const char* bytes, std::size_t size, std::size_t& written) {
  DWORD taken = 0;
  if (!::WriteFile(Handle(file), bytes, static_cast<DWORD>(std::min(size, kMaxBytesPerCall)), &taken,
                   nullptr))
    return static_cast<int>(::GetLastError());
  if (taken == 0) return ERROR_WRITE_FAULT;
  written = taken;
  return 0;
}

std::int64_t FilePosition(TOsFile file) {
  LARGE_INTEGER position{};
  if (!::SetFilePointerEx(Handle(file), LARGE_INTEGER{}, &position, FILE_CURRENT)) return -1;
  return position.QuadPart;
}

bool IsRegularFile(TOsFile file) {
  BY_HANDLE_FILE_INFORMATION info;
  return ::GetFileType(Handle(file)) == FILE_TYPE_DISK && ::GetFileInformationByHandle(Handle(file), &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int CutFileAt(TOsFile file, std::int64_t length) {
  LARGE_INTEGER position{};
  position.QuadPart = length;
  return ::SetFilePointerEx(Handle(file), position, nullptr, FILE_BEGIN) && ::SetEndOfFile(Handle(file))
             ? 0
             : static_cast<int>(::GetLastError());
}

int CloseFile(TOsFile file) { return ::CloseHandle(Handle(file)) ? 0 : static_cast<int>(::GetLastError()); }

// The processors of the process's affinity mask (its processor group, on a machine of more).
int ProcessorsAvailable() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) || process == 0) return 1;
  int count = 0;
  for (; process != 0; process &= process - 1) ++count;
  return count;
}

}  // namespace pelmora
