// Open handles and the working set on Windows. The handle count comes from the system's table of
// every process's handles, which Wine keeps too (its GetProcessHandleCount always says 0).
#include "tests/support/process_usage.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <gtest/gtest.h>

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

std::ptrdiff_t OpenDescriptorCount() {
  std::vector<char> buffer(1 << 20);
  NTSTATUS status;
  while ((status = ::NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
         kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) {
    ADD_FAILURE() << "the system's handle table cannot be read: status " << status;
    return 0;
  }
  const auto* table = reinterpret_cast<const THandleTable*>(buffer.data());
  const auto self = static_cast<USHORT>(::GetCurrentProcessId());
  std::ptrdiff_t count = 0;
  for (ULONG k = 0; k < table->Count; ++k) count += table->Entries[k].ProcessId == self;
  return count;
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
