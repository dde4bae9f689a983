// The benchmark's processes on Windows: the program started again for each case, in the same
// working directory and writing to the same console, and the peak working set.
#include "bench/bench_process.h"

#include <windows.h>

#include <psapi.h>

#include <cstring>
#include <string>

namespace pelmora::bench {

namespace {

std::wstring OwnProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

bool MeasureInOwnProcess(TMeasureCase, int k, int repetitions) {
  std::wstring program = OwnProgram();
  std::wstring option(kOneCaseOption, kOneCaseOption + std::char_traits<char>::length(kOneCaseOption));
  std::wstring commandLine =
      L"\"" + program + L"\" " + option + L" " + std::to_wstring(k) + L" " + std::to_wstring(repetitions);
  // The child's lines go where this program's go, console, pipe or file.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  if (program.empty() || !::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                           nullptr, nullptr, &startup, &child))
    return false;
  DWORD exitCode = 1;
  bool finished = ::WaitForSingleObject(child.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                  ::GetExitCodeProcess(child.hProcess, &exitCode);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  return finished && exitCode == 0;
}

// The whole process is held, so that the threads it starts meanwhile are held with it.
THeldToProcessor::THeldToProcessor() : before_(sizeof(DWORD_PTR)) {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system)) return;
  DWORD_PTR one = DWORD_PTR{1} << ::GetCurrentProcessorNumber();
  held_ = ::SetProcessAffinityMask(::GetCurrentProcess(), one) != 0;
  std::memcpy(before_.data(), &process, sizeof process);
}

THeldToProcessor::~THeldToProcessor() {
  DWORD_PTR before = 0;
  std::memcpy(&before, before_.data(), sizeof before);
  if (held_) ::SetProcessAffinityMask(::GetCurrentProcess(), before);
}

long PeakRssKb() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

std::FILE* OpenForWriting(const std::filesystem::path& name) { return ::_wfopen(name.c_str(), L"wb"); }

}  // namespace pelmora::bench
