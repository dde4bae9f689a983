// Open file handles and the working set on Windows. The handles come from the system's table of
// every process's handles, which Wine keeps too (its GetProcessHandleCount always says 0).
#include "tests/support/process_usage.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pelmora::testing {

namespace {

constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

// One row of the system's handle table.
struct THandleEntry {
  USHORT ProcessId;
  USHORT CreatorBackTraceIndex;
  UCHAR ObjectType;
  UCHAR Attributes;
  USHORT Handle;
  PVOID Object;
  ACCESS_MASK GrantedAccess;
};

struct THandleTable {
  ULONG Count;
  THandleEntry Entries[1];
};

}  // namespace

// Only handles of files count: the threads' library makes an event for a lock the first time
// two threads meet at it, and keeps it.
std::ptrdiff_t OpenDescriptorCount() {
  // A file of its own, open while the table is read, tells which type the table gives files.
  HANDLE probe = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "NUL cannot be opened: error " << ::GetLastError();
    return 0;
  }
  std::vector<char> buffer(1 << 20);
  NTSTATUS status;
  while ((status = ::NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
         kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  ::CloseHandle(probe);
  if (status != 0) {
    ADD_FAILURE() << "the system's handle table cannot be read: status " << status;
    return 0;
  }
  const auto* table = reinterpret_cast<const THandleTable*>(buffer.data());
  const auto self = static_cast<USHORT>(::GetCurrentProcessId());
  const auto probeValue = static_cast<USHORT>(reinterpret_cast<std::uintptr_t>(probe));
  const THandleEntry* probeEntry = nullptr;
  for (ULONG k = 0; k < table->Count; ++k) {
    if (table->Entries[k].ProcessId == self && table->Entries[k].Handle == probeValue)
      probeEntry = &table->Entries[k];
  }
  if (probeEntry == nullptr) {
    ADD_FAILURE() << "the handle table lacks a file just opened";
    return 0;
  }
  std::ptrdiff_t count = 0;
  for (ULONG k = 0; k < table->Count; ++k)
    count += table->Entries[k].ProcessId == self && table->Entries[k].ObjectType == probeEntry->ObjectType;
  return count - 1;  // the probe
}

long ResidentKilobytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
    ADD_FAILURE() << "no memory counters: error " << ::GetLastError();
    return 0;
  }
  return static_cast<long>(counters.WorkingSetSize / 1024);
}

}  // namespace pelmora::testing
