// The core's one door to the operating system: the roster is read and both output files are
// written through these calls, and the count of processors decides whether a second thread
// writes them. One file per system implements them (os_file_posix.cpp, os_file_windows.cpp) and
// alone knows the system's calls, its names of files and its error codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace pelmora {

// An open file of the system (a descriptor or a handle); kNoFile when none is open.
using TOsFile = std::intptr_t;
inline constexpr TOsFile kNoFile = -1;

// The system's code of a call on a file that is not open.
extern const int kFileNotOpenError;

// What the core tells apart among the system's error codes; every other code is shown as it is.
enum class TFileErrorKind { NotFound, InvalidName, TooManyOpenFiles, AccessDenied, Other };

TFileErrorKind FileErrorKindOf(int code);

// Opens a regular file for reading. A folder, a device or a named pipe is a file that cannot be
// read, and the open never waits for one. False when the file cannot be opened.
bool OpenFileForReading(const std::filesystem::path& name, TOsFile& file);

// Reads what comes next, at most size bytes; got is 0 at the end of the file. False on an error.
bool ReadFileSome(TOsFile file, char* bytes, std::size_t size, std::size_t& got);

// Creates the file or opens it as it is, to be written from its start. Readers may open it
// meanwhile; a second writer may not, and it is refused, so a file that another writer holds is
// left whole. Returns 0 or the system's code, leaving no file open.
int OpenOutputFile(const std::filesystem::path& name, TOsFile& file);

// Writes some of the bytes, at least one; returns 0 or the system's code of the refusal.
int WriteFileSome(TOsFile file, const char* bytes, std::size_t size, std::size_t& written);

// Where the next write goes; -1 when the file has no position.
std::int64_t FilePosition(TOsFile file);

// Whether the file is a regular file on a disk (not a folder, a device or a pipe).
bool IsRegularFile(TOsFile file);

// Cuts the file at length bytes and puts the next write there; returns 0 or the system's code.
int CutFileAt(TOsFile file, std::int64_t length);

// Closes the file; returns 0 or the system's code. The file is closed either way.
int CloseFile(TOsFile file);

// How many processors the system lets this process run on: whether a second thread can take the
// files' writing off the run, or would only take turns with it.
int ProcessorsAvailable();

}  // namespace pelmora
