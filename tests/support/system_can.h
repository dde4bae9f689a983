// What the system under the tests can do. A case that needs what a system has not (WebAssembly
// under Node has no child processes, no threads without shared memory, no locks between writers
// and no CP932 converter) is skipped there, for that reason, and runs everywhere else.
#pragma once

namespace pelmora::testing {

// Whether a thread can be started.
bool CanStartThreads();

// Whether standard error can be captured, as GoogleTest does by redirecting its descriptor.
bool CanCaptureStandardError();

// Whether a writer that holds a file shuts a second writer out (a lock or a sharing mode).
bool LocksOutSecondWriter();

// Whether a child process can be started (POSIX systems).
bool CanStartChildProcesses();

// Whether the system converts between CP932 and UTF-8 (iconv, or Windows' code pages).
bool HasCp932Converter();

// The reason given where a case is skipped.
inline constexpr const char* kNoThreads = "this system starts no thread";
inline constexpr const char* kNoStandardErrorCapture = "standard error cannot be captured here";
inline constexpr const char* kNoWriterLocks = "this system does not shut a second writer out";
inline constexpr const char* kNoChildProcesses = "this system starts no child process";
inline constexpr const char* kNoCp932Converter = "this system has no CP932 converter";

}  // namespace pelmora::testing
