// The one error type of the output files: the operating system's code and a short message.
#pragma once

#include <stdexcept>
#include <string>

namespace pelmora {

class TIoError : public std::runtime_error {
 public:
  explicit TIoError(int code);

  int Code() const { return code_; }

 private:
  int code_;
};

// "File not found", "Invalid filename", "Too many open files", "File access denied" or
// "I/O error N", for an error code of the system (errno on Linux, GetLastError on Windows).
std::string IoErrorMessage(int code);

}  // namespace pelmora
