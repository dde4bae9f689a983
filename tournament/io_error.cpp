// Messages of input/output errors.
#include "tournament/io_error.h"

#include <cerrno>

namespace pelmora {

TIoError::TIoError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

std::string IoErrorMessage(int code) {
  switch (code) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(code);
  }
}

}  // namespace pelmora
